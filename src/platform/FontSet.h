#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace pixolo
{

// The skin and the windows name their fonts by the names of another system ("Arial", "MS Sans Serif", "Bookman Old
// Style"). Left to fontconfig, such a name becomes whatever the machine prefers for it, and Chinese texts take the
// CJK font the locale prefers, so the same window would be laid out differently from one machine or locale to the
// next. Each name therefore stands for a family chosen here, and Chinese texts always come from one CJK family.
struct FontStandIn {
    const char *name; // as the skin or a window names it
    const char *family; // the family that draws its Latin texts
};

// Metric-compatible with "Arial" (the skin's font), so texts keep the widths the skin's layout was made for; the
// window fonts have no metric-compatible family, and take the closest of the same set.
inline constexpr std::array<FontStandIn, 3> kFontStandIns { {
    { "Arial", "Liberation Sans" },
    { "MS Sans Serif", "Liberation Sans" },
    { "Bookman Old Style", "Liberation Serif" },
} };

// Draws every Chinese text, whatever font names it.
inline constexpr const char kCjkFamily[] = "WenQuanYi Micro Hei";

// The families that draw texts in the font named `name`, in the order they are tried: its own stand-in, then the
// CJK family. Empty for a name without a stand-in (the case of the name does not matter).
QStringList fontFamiliesFor(const QString &name);

// Makes every stand-in name resolve to its families (Qt's font substitutions). Called once at start-up, before any
// font is resolved: Qt keeps the fonts it has already resolved.
void installFontSet();

} // namespace pixolo
