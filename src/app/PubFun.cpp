#include "app/PubFun.h"

#include "platform/PrivateProfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace pixolo
{

namespace
{

constexpr qsizetype kMaxValueLength = 2047;

} // namespace

void Delay(std::uint32_t milliseconds)
{
    QElapsedTimer clock; // monotonic: no wrap-around can stretch the wait
    clock.start();
    const qint64 end = qint64(milliseconds);
    // A loop of our own, so that the application's quit ends the wait too: quitting stops every running event loop
    // of the thread, and a loop started while the application quits returns at once. The program then goes away
    // promptly instead of sitting out the rest of the wait after its window has gone.
    constexpr int deadlineReached = 1;
    QEventLoop loop;
    QTimer waker; // each nested Delay has its own
    waker.setSingleShot(true);
    waker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&waker, &QTimer::timeout, &loop, [&loop] { loop.exit(deadlineReached); });
    for (qint64 left = end - clock.elapsed(); left > 0; left = end - clock.elapsed()) {
        waker.start(int(std::min<qint64>(left, INT_MAX)));
        if (loop.exec() != deadlineReached) {
            return; // the application is quitting
        }
    }
}

QString IniReadString(const QString &fileName, const QString &section, const QString &key, const QString &defaultValue)
{
    QString value = PrivateProfile::readString(fileName, section, key).value_or(defaultValue);
    if (value.size() > kMaxValueLength) {
        // Cut by characters, never inside a surrogate pair.
        qsizetype cut = kMaxValueLength;
        if (value.at(cut - 1).isHighSurrogate()) {
            --cut;
        }
        value.truncate(cut);
    }
    return value;
}

bool IniWriteString(const QString &fileName, const QString &section, const QString &key, const QString &value)
{
    if (!PrivateProfile::writeString(fileName, section, key, value)) {
        throw EIniWriteError(QStringLiteral("Unable to write to %1").arg(fileName).toStdString());
    }
    return true;
}

} // namespace pixolo
