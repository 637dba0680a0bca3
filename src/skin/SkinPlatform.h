#pragma once

#include "skin/SkinGeometry.h"

class QWidget;

namespace pixolo
{

// The platform questions the skin asks. Window opacity is always available here; the drop shadow of old
// systems is not.
bool IsWindowsXP();
bool IsWindows5x();

// Sets the window's constant opacity, Alpha 0 (clear) … 255 (opaque), clamped.
void SetWindowAlpha(QWidget *Window, int Alpha);

// The primary screen's work area (without panels and docks) when WorkArea, else its whole geometry.
TRect GetScreenWorkArea(bool WorkArea);
// The same for the screen nearest the window's centre; the primary screen without a window.
TRect GetMonitorWorkArea(const QWidget *Window, bool WorkArea);

} // namespace pixolo
