#pragma once

#include <QImage>

namespace pixolo
{

// Every picture of the skin, as drawn (RGB32; black-and-white for the masks).
struct SkinArt {
    QImage frame; // the form picture
    QImage mask; // the form mask: black inside the window's shape
    QImage controls; // picture 0
    QImage menuItems; // picture 1
    QImage popup; // picture 2
    QImage captionButtons; // picture 3: pressed caption buttons
    QImage popupMask; // picture 4
    QImage panels; // picture 5
    QImage extras; // picture 6
    QImage hint; // picture 7
};

SkinArt drawSkinArt();

} // namespace pixolo
