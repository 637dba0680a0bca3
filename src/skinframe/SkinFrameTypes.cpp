#include "skinframe/SkinFrameTypes.h"

#include "skin/SkinText.h"

#include <QGuiApplication>
#include <QPalette>

namespace pixolo
{

QFont FrameFont::toQFont() const
{
    return skinFont(Name, Height, Style);
}

namespace
{

QColor paletteColor(QPalette::ColorRole role)
{
    return QGuiApplication::palette().color(QPalette::Active, role);
}

} // namespace

QColor FrameColors::btnFace()
{
    return paletteColor(QPalette::Button);
}

QColor FrameColors::btnText()
{
    return paletteColor(QPalette::ButtonText);
}

QColor FrameColors::btnShadow()
{
    return paletteColor(QPalette::Dark);
}

QColor FrameColors::btnHighlight()
{
    return paletteColor(QPalette::Light);
}

QColor FrameColors::light3D()
{
    return paletteColor(QPalette::Midlight);
}

QColor FrameColors::darkShadow3D()
{
    return paletteColor(QPalette::Shadow);
}

} // namespace pixolo
