#include "skin/SystemColors.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace pixolo
{

namespace
{

struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// System colour index -> the palette role that plays the same part on this desktop.
constexpr std::array<PaletteEntry, 31> s_systemColors = { {
    { QPalette::Active, QPalette::Midlight }, // scroll bar
    { QPalette::Active, QPalette::Dark }, // desktop background
    { QPalette::Active, QPalette::Highlight }, // active caption
    { QPalette::Inactive, QPalette::Mid }, // inactive caption
    { QPalette::Active, QPalette::Window }, // menu
    { QPalette::Active, QPalette::Base }, // window
    { QPalette::Active, QPalette::Shadow }, // window frame
    { QPalette::Active, QPalette::WindowText }, // menu text
    { QPalette::Active, QPalette::Text }, // window text
    { QPalette::Active, QPalette::HighlightedText }, // caption text
    { QPalette::Active, QPalette::Button }, // active border
    { QPalette::Inactive, QPalette::Button }, // inactive border
    { QPalette::Active, QPalette::Mid }, // application workspace
    { QPalette::Active, QPalette::Highlight }, // highlight
    { QPalette::Active, QPalette::HighlightedText }, // highlight text
    { QPalette::Active, QPalette::Button }, // button face
    { QPalette::Active, QPalette::Dark }, // button shadow
    { QPalette::Disabled, QPalette::Text }, // grey text
    { QPalette::Active, QPalette::ButtonText }, // button text
    { QPalette::Disabled, QPalette::WindowText }, // inactive caption text
    { QPalette::Active, QPalette::Light }, // button highlight
    { QPalette::Active, QPalette::Shadow }, // 3D dark shadow
    { QPalette::Active, QPalette::Midlight }, // 3D light
    { QPalette::Active, QPalette::ToolTipText }, // info text
    { QPalette::Active, QPalette::ToolTipBase }, // info background
    { QPalette::Active, QPalette::Button }, // (no colour of its own)
    { QPalette::Active, QPalette::Link }, // hot light
    { QPalette::Active, QPalette::Highlight }, // gradient active caption
    { QPalette::Inactive, QPalette::Mid }, // gradient inactive caption
    { QPalette::Active, QPalette::Highlight }, // menu highlight
    { QPalette::Active, QPalette::Window }, // menu bar
} };

} // namespace

QColor ColorToQColor(TColor color)
{
    const auto value = static_cast<std::uint32_t>(color);
    if ((value & 0xFF000000u) == 0xFF000000u) {
        const std::uint32_t index = value & 0x00FFFFFFu;
        if (index >= s_systemColors.size()) {
            return QColor(Qt::black);
        }
        const PaletteEntry entry = s_systemColors[index];
        return QGuiApplication::palette().color(entry.group, entry.role);
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace pixolo
