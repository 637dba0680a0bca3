#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QThread>

#include <cstdio>
#include <mutex>

namespace pixolo::MessageBox
{

namespace
{

std::mutex s_handlerLock; // the handler is replaced on the application's thread while others may report

Handler &handler()
{
    static Handler s_handler;
    return s_handler;
}

Handler currentHandler()
{
    const std::lock_guard lock(s_handlerLock);
    return handler();
}

QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Information:
        return QMessageBox::Information;
    case Warning:
        return QMessageBox::Warning;
    case Error:
        return QMessageBox::Critical;
    case NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}

void writeDown(const QString &text, const QString &caption)
{
    std::fprintf(stderr, "pixolo: %s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
    std::fflush(stderr);
}

// The application's thread, or none when there is no application object (tools, fuzzers).
bool elsewhere()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() != app->thread();
}

void handOver(const Message &message)
{
    if (const Handler recorder = currentHandler()) {
        recorder(message);
    }
}

} // namespace

void show(const QString &text, const QString &caption, Icon icon, QWidget *parent)
{
    if (elsewhere()) {
        // Widgets live on the application's thread only; the parent, if any, may be gone by then.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [text, caption, icon] { show(text, caption, icon); }, Qt::QueuedConnection);
        return;
    }
    writeDown(text, caption);
    if (const Handler recorder = currentHandler()) {
        recorder({ text, caption, icon, true });
        return;
    }
    QMessageBox box(qtIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void report(const QString &text, const QString &caption) noexcept
{
    try {
        writeDown(text, caption);
        const Message message { text, caption, Error, false };
        if (elsewhere()) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [message] { handOver(message); }, Qt::QueuedConnection);
        } else {
            handOver(message);
        }
    } catch (...) {
        // Out of memory while reporting: the report is lost, the caller goes on.
    }
}

void setHandler(Handler newHandler)
{
    const std::lock_guard lock(s_handlerLock);
    handler() = std::move(newHandler);
}

} // namespace pixolo::MessageBox
