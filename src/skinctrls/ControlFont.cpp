#include "skinctrls/ControlFont.h"

#include "skin/SkinText.h"

namespace pixolo
{

QFont ControlFont::toQFont() const
{
    QFont font = skinFont(Name, Height);
    font.setBold((Style & fsBold) != 0);
    font.setItalic((Style & fsItalic) != 0);
    font.setUnderline((Style & fsUnderline) != 0);
    font.setStrikeOut((Style & fsStrikeOut) != 0);
    return font;
}

ControlFont defaultFormFont()
{
    return ControlFont { QStringLiteral("MS Sans Serif"), -11, 0, clWindowText };
}

} // namespace pixolo
