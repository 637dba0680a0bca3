#include "skin/SkinMessage.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace pixolo
{

namespace
{

QList<QPointer<QWidget>> &registry()
{
    static QList<QPointer<QWidget>> s_windows;
    return s_windows;
}

} // namespace

QEvent::Type SkinMessageEvent::eventType()
{
    static const auto s_type = QEvent::Type(QEvent::registerEventType());
    return s_type;
}

qintptr sendSkinMessage(QObject *receiver, int msg, void *wParam, qintptr lParam)
{
    if (!receiver) {
        return 0;
    }
    SkinMessageEvent event(msg, wParam, lParam);
    QCoreApplication::sendEvent(receiver, &event);
    return event.Result();
}

void registerSkinWindow(QWidget *window)
{
    auto &windows = registry();
    windows.removeIf([](const QPointer<QWidget> &w) { return w.isNull(); });
    if (window && !windows.contains(window)) {
        windows.append(window);
    }
}

QList<QWidget *> skinWindows()
{
    QList<QWidget *> windows;
    for (const QPointer<QWidget> &w : registry()) {
        if (w) {
            windows.append(w.data());
        }
    }
    return windows;
}

} // namespace pixolo
