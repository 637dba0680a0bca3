#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace pixolo::WindowPlacement
{

QPoint fit(QPoint wanted, QSize size, const std::vector<Screen> &screens, int primary)
{
    if (screens.empty()) {
        return wanted;
    }
    const auto holder = std::find_if(
        screens.begin(), screens.end(), [&](const Screen &screen) { return screen.geometry.contains(wanted); });
    const Screen &screen
        = holder != screens.end() ? *holder : screens[size_t(std::clamp(primary, 0, int(screens.size()) - 1))];
    const QRect area = screen.available.isValid() ? screen.available : screen.geometry;
    // Right and bottom first, then left and top: a window larger than the area keeps its top left inside it.
    const int x = std::max(std::min(wanted.x(), area.left() + area.width() - size.width()), area.left());
    const int y = std::max(std::min(wanted.y(), area.top() + area.height() - size.height()), area.top());
    return { x, y };
}

QPoint fitOnScreens(QPoint wanted, QSize size)
{
    std::vector<Screen> screens;
    int primary = 0;
    const QList<QScreen *> all = QGuiApplication::screens();
    for (QScreen *screen : all) {
        if (screen == QGuiApplication::primaryScreen()) {
            primary = int(screens.size());
        }
        screens.push_back({ screen->geometry(), screen->availableGeometry() });
    }
    return fit(wanted, size, screens, primary);
}

} // namespace pixolo::WindowPlacement
