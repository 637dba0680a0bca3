#include "skinctrls/ControlFont.h"

#include "skin/SkinText.h"

namespace pixolo
{

QFont ControlFont::toQFont() const
{
    return skinFont(Name, Height, Style);
}

ControlFont defaultFormFont()
{
    return ControlFont { QStringLiteral("MS Sans Serif"), -11, 0, clWindowText };
}

} // namespace pixolo
