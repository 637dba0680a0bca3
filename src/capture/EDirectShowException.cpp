#include "capture/EDirectShowException.h"

namespace pixolo
{

namespace
{

struct ErrorText {
    DSErrorCode code;
    const char *text;
};

constexpr ErrorText errorTexts[] = {
    { E_POINTER, "Invalid pointer." },
    { E_FAIL, "Unspecified error." },
    { E_UNEXPECTED, "Catastrophic failure." },
    { E_FILE_NOT_FOUND, "The system cannot find the file specified." },
    { E_ACCESSDENIED, "Access is denied." },
    { E_OUTOFMEMORY, "Not enough storage is available to complete this operation." },
    { E_INVALIDARG, "The parameter is incorrect." },
    { E_NO_ACCEPTABLE_TYPES, "There is no common media type between these pins." },
    { E_ALREADY_CONNECTED, "The operation cannot be performed because the pins are already connected." },
    { E_NOT_IN_GRAPH, "Cannot perform the requested function on an object that is not in the filter graph." },
    { E_NOT_FOUND, "An object or name was not found." },
    { E_CANNOT_CONNECT, "No combination of intermediate filters could be found to make the connection." },
    { E_CANNOT_RENDER, "No combination of filters could be found to render the stream." },
    { E_TIMEOUT, "A time-out has expired." },
    { E_READ_FAILED, "The source could not be read." },
    { E_UNSUPPORTED_STREAM, "Cannot play back the file. The format is not supported." },
    { E_DEVICE_LOST, "The capture device was removed or stopped responding." },
};

} // namespace

QString AMGetErrorText(DSErrorCode code)
{
    for (const ErrorText &entry : errorTexts) {
        if (entry.code == code) {
            return QString::fromLatin1(entry.text).left(255);
        }
    }
    return {};
}

EDirectShowException::EDirectShowException(DSErrorCode errorCode)
    : std::runtime_error(messageFor(errorCode))
    , m_errorCode(errorCode)
{
}

std::string EDirectShowException::messageFor(DSErrorCode errorCode)
{
    return (AMGetErrorText(errorCode) + QStringLiteral(" ($%1).").arg(std::uint32_t(errorCode), 0, 16).toUpper())
        .toStdString();
}

} // namespace pixolo
