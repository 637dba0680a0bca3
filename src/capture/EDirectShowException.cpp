#include "capture/EDirectShowException.h"

namespace pixolo
{

EDirectShowException::EDirectShowException(HRESULT errorCode)
    : std::runtime_error(messageFor(errorCode))
    , m_errorCode(errorCode)
{
}

std::string EDirectShowException::messageFor(HRESULT errorCode)
{
    return (AMGetErrorText(errorCode) + QStringLiteral(" ($%1).").arg(std::uint32_t(errorCode), 0, 16).toUpper())
        .toStdString();
}

HRESULT RaiseOnFailure(HRESULT hr)
{
    if (Failed(hr)) {
        throw EDirectShowException(hr);
    }
    return hr;
}

} // namespace pixolo
