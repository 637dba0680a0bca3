#include "capture/FailureReport.h"

#include "platform/MessageBox.h"

#include <QCoreApplication>

#include <atomic>

namespace pixolo
{

namespace
{

// A box for a callback's failure is on its way or open.
std::atomic<bool> s_callbackBoxPending { false };

QString describe(const char *where, const std::exception *error)
{
    return QStringLiteral("%1: %2").arg(
        QString::fromUtf8(where), error ? QString::fromUtf8(error->what()) : QStringLiteral("Unknown error"));
}

QString caption()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Pixolo") : name;
}

} // namespace

void reportCallbackFailure(const char *where, const std::exception *error) noexcept
{
    try {
        const QString text = describe(where, error);
        if (s_callbackBoxPending.exchange(true)) {
            MessageBox::report(text, caption());
            return;
        }
        QCoreApplication *app = QCoreApplication::instance();
        if (!app) {
            s_callbackBoxPending = false;
            MessageBox::report(text, caption());
            return;
        }
        // The box is shown on the application's thread; the next failure may show one once it is dismissed.
        QMetaObject::invokeMethod(
            app,
            [text] {
                MessageBox::show(text, caption(), MessageBox::Error);
                s_callbackBoxPending = false;
            },
            Qt::QueuedConnection);
    } catch (...) {
        s_callbackBoxPending = false;
    }
}

void reportTeardownFailure(const char *where, const std::exception *error) noexcept
{
    try {
        MessageBox::report(describe(where, error), caption());
    } catch (...) {
        // Nothing is left to tell it with.
    }
}

} // namespace pixolo
