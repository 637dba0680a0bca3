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
    // Whole, however long: a cut folder would send photos to a parent folder, and a later save would keep the cut.
    return PrivateProfile::readString(fileName, section, key).value_or(defaultValue);
}

QString IniReadProblem(const QString &fileName)
{
    QString problem;
    PrivateProfile::readString(fileName, QString(), QString(), &problem);
    return problem;
}

bool IniWriteString(const QString &fileName, const QString &section, const QString &key, const QString &value)
{
    QString problem;
    if (!PrivateProfile::writeString(fileName, section, key, value, &problem)) {
        throw EIniWriteError(
            (QStringLiteral("Unable to write to ") + fileName + QStringLiteral(". ") + problem).toStdString());
    }
    return true;
}

} // namespace pixolo
