#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace pixolo
{

// A framework error code: what a user reads at the end of a message ("… ($80070002).") and what the graph's error
// event carries. Only failures are made; inside capture a result is a value or an exception.
using DSErrorCode = std::int32_t;

constexpr DSErrorCode dsErrorCode(std::uint32_t code)
{
    return static_cast<DSErrorCode>(code);
}

// The codes this layer reports, under the framework's published names.
inline constexpr DSErrorCode E_POINTER = dsErrorCode(0x80004003);
inline constexpr DSErrorCode E_FAIL = dsErrorCode(0x80004005);
inline constexpr DSErrorCode E_UNEXPECTED = dsErrorCode(0x8000FFFF);
inline constexpr DSErrorCode E_FILE_NOT_FOUND = dsErrorCode(0x80070002);
inline constexpr DSErrorCode E_ACCESSDENIED = dsErrorCode(0x80070005);
inline constexpr DSErrorCode E_OUTOFMEMORY = dsErrorCode(0x8007000E);
inline constexpr DSErrorCode E_INVALIDARG = dsErrorCode(0x80070057);
inline constexpr DSErrorCode E_NO_ACCEPTABLE_TYPES = dsErrorCode(0x80040207);
inline constexpr DSErrorCode E_ALREADY_CONNECTED = dsErrorCode(0x8004020A);
inline constexpr DSErrorCode E_NOT_IN_GRAPH = dsErrorCode(0x8004020F);
inline constexpr DSErrorCode E_NOT_FOUND = dsErrorCode(0x80040216);
inline constexpr DSErrorCode E_CANNOT_CONNECT = dsErrorCode(0x80040217);
inline constexpr DSErrorCode E_CANNOT_RENDER = dsErrorCode(0x80040218);
inline constexpr DSErrorCode E_TIMEOUT = dsErrorCode(0x8004022E);
inline constexpr DSErrorCode E_READ_FAILED = dsErrorCode(0x8004023C);
inline constexpr DSErrorCode E_UNSUPPORTED_STREAM = dsErrorCode(0x80040265);
inline constexpr DSErrorCode E_DEVICE_LOST = dsErrorCode(0x8004027C);

// The framework's text of a code, at most 255 characters; empty for a code without one.
QString AMGetErrorText(DSErrorCode code);

// A failure of the media framework. The message is the framework's text for the code followed by " ($XXXXXXXX)."
// with the code in upper-case hexadecimal.
class EDirectShowException : public std::runtime_error
{
public:
    explicit EDirectShowException(DSErrorCode errorCode);

    DSErrorCode ErrorCode() const { return m_errorCode; }

    static std::string messageFor(DSErrorCode errorCode);

private:
    DSErrorCode m_errorCode;
};

// An error of the graph components themselves, with a message of their own.
class EDSGraphException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace pixolo
