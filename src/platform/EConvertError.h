#pragma once

#include <stdexcept>
#include <string>

namespace pixolo
{

// A text that should hold a number does not: "'%s' is not a valid integer value".
class EConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;

    static EConvertError notAnInteger(const std::string &text)
    {
        return EConvertError("'" + text + "' is not a valid integer value");
    }
};

} // namespace pixolo
