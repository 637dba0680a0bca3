#include "skin/SkinPlatform.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace pixolo
{

namespace
{

TRect screenArea(const QScreen *screen, bool WorkArea)
{
    if (!screen) {
        return NullRect();
    }
    return toTRect(WorkArea ? screen->availableGeometry() : screen->geometry());
}

} // namespace

bool IsWindowsXP()
{
    return false;
}

bool IsWindows5x()
{
    return true;
}

void SetWindowAlpha(QWidget *Window, int Alpha)
{
    if (Window) {
        Window->setWindowOpacity(std::clamp(Alpha, 0, 255) / 255.0);
    }
}

TRect GetScreenWorkArea(bool WorkArea)
{
    return screenArea(QGuiApplication::primaryScreen(), WorkArea);
}

TRect GetMonitorWorkArea(const QWidget *Window, bool WorkArea)
{
    const QScreen *screen = nullptr;
    if (Window) {
        screen = QGuiApplication::screenAt(Window->frameGeometry().center());
        if (!screen) {
            screen = Window->screen();
        }
    }
    return screen ? screenArea(screen, WorkArea) : GetScreenWorkArea(WorkArea);
}

} // namespace pixolo
