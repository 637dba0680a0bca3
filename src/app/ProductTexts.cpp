#include "app/ProductTexts.h"

#include "app/HexScramble.h"

namespace pixolo::ProductTexts
{

QString decode(const char *stored)
{
    return QString::fromStdString(HexScramble2(stored, false, {}));
}

} // namespace pixolo::ProductTexts
