#include "app/GlobalVariant.h"

namespace pixolo {

TGlobalVariant rcGlobalVariant;

QString appPathOf(const QString &executablePath)
{
    return executablePath.left(executablePath.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace pixolo
