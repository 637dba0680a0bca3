#pragma once

#include <QStringList>

namespace pixolo
{

// The picture files of the skin, in the order of the description's [PICTURES] list.
constexpr const char *s_frameFile = "frame.bmp";
constexpr const char *s_maskFile = "mask.bmp";
constexpr const char *s_pictureFiles[] = { "controls.bmp", "menuitem.bmp", "popup.bmp", "captionbuttons.bmp",
    "popupmask.bmp", "panels.bmp", "extras.bmp", "hint.bmp" };

// The skin.ini of Pixolo's skin, as lines.
QStringList skinDescription();

} // namespace pixolo
