#include "skin/ControlMenu.h"

#include <utility>

namespace pixolo
{

namespace
{

ControlMenuHandler &handler()
{
    static ControlMenuHandler s_handler;
    return s_handler;
}

} // namespace

void setControlMenuHandler(ControlMenuHandler value)
{
    handler() = std::move(value);
}

bool popupControlMenu(QWidget *control, QMenu *items, const QPoint &at)
{
    // A copy: the handler may install another one while it runs.
    const ControlMenuHandler current = handler();
    return current && control && items && current(control, items, at);
}

} // namespace pixolo
