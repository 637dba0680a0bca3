#pragma once

#include "capture/MediaFramework.h"

#include <stdexcept>

namespace pixolo
{

// A failed result of the media framework. The message is the framework's text for the code followed by
// " ($XXXXXXXX)." with the code in upper-case hexadecimal.
class EDirectShowException : public std::runtime_error
{
public:
    explicit EDirectShowException(HRESULT errorCode);

    HRESULT ErrorCode() const { return m_errorCode; }

    static std::string messageFor(HRESULT errorCode);

private:
    HRESULT m_errorCode;
};

// An error of the graph components themselves, with a message of their own.
class EDSGraphException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Returns a success code (S_OK, S_FALSE and the like) unchanged and raises EDirectShowException for a failure.
HRESULT RaiseOnFailure(HRESULT hr);

} // namespace pixolo
