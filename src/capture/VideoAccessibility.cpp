#include "capture/VideoAccessibility.h"

#include "capture/TVideoWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace pixolo
{

namespace
{

QAccessibleInterface *videoFactory(const QString &, QObject *object)
{
    if (auto *window = qobject_cast<TVideoWindow *>(object)) {
        return new QAccessibleWidget(window, QAccessible::Graphic);
    }
    return nullptr;
}

} // namespace

void installVideoAccessibility()
{
    QAccessible::installFactory(videoFactory);
}

} // namespace pixolo
