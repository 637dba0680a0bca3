#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace pixolo
{

// Where a window goes on the screens it may be shown on.
namespace WindowPlacement
{

struct Screen {
    QRect geometry; // the whole screen, in the desktop's coordinates (device-independent pixels)
    QRect available; // less the panels and docks
};

// The top left for a window of `size` that asks for `wanted`: `wanted` itself when the window fits there inside the
// available area of the screen holding that point; otherwise the window is moved (never resized) into that area, the
// least distance, and where it is larger than the area its top left stays inside, so that its caption can be reached.
// The primary screen (`primary`, an index into `screens`) serves when no screen holds the point; without screens
// `wanted` stands.
QPoint fit(QPoint wanted, QSize size, const std::vector<Screen> &screens, int primary);

// The same for the screens the application has now.
QPoint fitOnScreens(QPoint wanted, QSize size);

} // namespace WindowPlacement

} // namespace pixolo
