#pragma once

#include "skin/SkinTypes.h"
#include "skin/SystemColors.h"

#include <QFont>
#include <QString>

namespace pixolo
{

// A font as controls keep it: a family name, a height, a style and a colour. A negative height is the character
// height (the pixel size of the em square); a positive height is the cell height (ascent plus descent).
struct ControlFont {
    QString Name = QStringLiteral("Arial");
    int Height = 14;
    TFontStyles Style = 0;
    TColor Color = clWindowText;

    bool operator==(const ControlFont &other) const = default;

    QFont toQFont() const;
    QColor color() const { return ColorToQColor(Color); }
};

// The framework's default font of a window: "MS Sans Serif", character height 11, window text colour.
ControlFont defaultFormFont();

} // namespace pixolo
