#include "app/PubFun.h"
#include "app/GlobalVariant.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "ProcessLimits.h"

using namespace pixolo;

namespace
{

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class SettingsTest : public testing::Test
{
protected:
    QString ini() const { return dir.filePath(QStringLiteral("Pixolo.ini")); }
    QTemporaryDir dir;
};

} // namespace

TEST(DelayTest, WaitsAtLeastTheTimeAndHandlesEventsMeanwhile)
{
    bool fired = false;
    QTimer::singleShot(20, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    Delay(300);
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 300);
    EXPECT_LT(elapsed, 1300); // returns promptly although no event came after the timer
    EXPECT_TRUE(fired);
}

TEST(DelayTest, NestedWaitsEachKeepTheirOwnDeadline)
{
    qint64 innerEnded = -1;
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(10, [&] {
        Delay(400); // runs inside the outer wait, as a second snapshot would
        innerEnded = clock.elapsed();
    });
    Delay(100);
    // The outer wait cannot end before the inner one has returned, but must not be stretched further.
    EXPECT_GE(innerEnded, 410);
    EXPECT_LT(clock.elapsed(), innerEnded + 1000);
}

TEST(DelayTest, QuittingTheApplicationEndsTheWaitAtOnce)
{
    // Closing the main window during a delayed snapshot quits the application: the wait must not hold the program
    // for the rest of its time.
    qint64 waited = -1;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(100, [] { QCoreApplication::quit(); });
        QElapsedTimer clock;
        clock.start();
        Delay(5000);
        waited = clock.elapsed();
    });
    QCoreApplication::exec();
    EXPECT_GE(waited, 100);
    EXPECT_LT(waited, 1000);
    // The application can wait again afterwards: the quit belonged to that run only.
    QElapsedTimer clock;
    clock.start();
    Delay(200);
    EXPECT_GE(clock.elapsed(), 200);
}

TEST(DelayTest, ZeroReturnsAtOnce)
{
    QElapsedTimer clock;
    clock.start();
    Delay(0);
    EXPECT_LT(clock.elapsed(), 500);
}

TEST_F(SettingsTest, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(IniReadString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QString()), QString());
    IniWriteString(ini(), QStringLiteral("Other"), QStringLiteral("PhotoPath"), QStringLiteral("/x/"));
    EXPECT_EQ(IniReadString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("d")),
        QStringLiteral("d"));
    IniWriteString(ini(), QStringLiteral("Setup"), QStringLiteral("Other"), QStringLiteral("/y/"));
    EXPECT_EQ(IniReadString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("d")),
        QStringLiteral("d"));
}

TEST_F(SettingsTest, FirstWriteCreatesFileSectionAndKeyEvenForAnEmptyValue)
{
    EXPECT_TRUE(IniWriteString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QString()));
    EXPECT_EQ(readAll(ini()), QByteArray("[Setup]\nPhotoPath=\n"));
    EXPECT_EQ(
        IniReadString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("d")), QString());
}

TEST_F(SettingsTest, ValuesAreStoredAsGivenAndSeenAtOnce)
{
    // A typed path without a final separator stays without one; Chinese text survives.
    IniWriteString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/home/用户/照片"));
    EXPECT_EQ(IniReadString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QString()),
        QStringLiteral("/home/用户/照片"));
    IniWriteString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/tmp/"));
    EXPECT_EQ(
        IniReadString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QString()), QStringLiteral("/tmp/"));
}

TEST_F(SettingsTest, LongValuesComeBackWholeAndASaveKeepsThem)
{
    // A folder of 3,000 characters (below a parent that exists) must not come back as its parent.
    const QString longValue = QStringLiteral("/tmp/") + QString(2995, QLatin1Char('a')) + QLatin1Char('/');
    IniWriteString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), longValue);
    const QString read = IniReadString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QString());
    EXPECT_EQ(read, longValue);
    IniWriteString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), read);
    EXPECT_EQ(IniReadString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QString()), longValue);
    const QString chinese(2100, QChar(0x7167)); // 照
    IniWriteString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), chinese);
    EXPECT_EQ(IniReadString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QString()), chinese);
}

TEST_F(SettingsTest, ASettingsFileThatCannotBeReadGivesTheSystemsReason)
{
    EXPECT_EQ(IniReadProblem(ini()), QString()); // missing: the defaults, nothing to say
    IniWriteString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/p/"));
    EXPECT_EQ(IniReadProblem(ini()), QString());
    // A folder where the file should be cannot be read, whoever runs the test.
    const QString folder = dir.filePath(QStringLiteral("folder.ini"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_FALSE(IniReadProblem(folder).isEmpty());
    EXPECT_EQ(IniReadString(folder, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("d")),
        QStringLiteral("d"));
}

TEST_F(SettingsTest, RefusedWriteRaisesAndNamesTheFile)
{
    // A folder that cannot exist: its parent is a plain file.
    QFile blocker(dir.filePath(QStringLiteral("plain-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = dir.filePath(QStringLiteral("plain-file/Pixolo.ini"));
    try {
        IniWriteString(path, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/x/"));
        FAIL() << "no error";
    } catch (const EIniWriteError &error) {
        EXPECT_EQ(QString::fromUtf8(error.what()),
            QStringLiteral("Unable to write to ") + path + QStringLiteral(". Not a directory"));
    }
}

TEST_F(SettingsTest, WriteThatFailsHalfwayLeavesTheOldFileWhole)
{
    IniWriteString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/old/"));
    const QByteArray before = readAll(ini());

    bool raised = false;
    {
        const test::FileSizeLimit limit(64);
        ASSERT_TRUE(limit.set());
        try {
            IniWriteString(ini(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QString(500, QLatin1Char('n')));
        } catch (const EIniWriteError &) {
            raised = true;
        }
    }

    EXPECT_TRUE(raised);
    EXPECT_EQ(readAll(ini()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("Pixolo.ini") })
        << "a temporary file was left behind";
}

TEST(GlobalVariantTest, ProgramFolderKeepsOneFinalSeparator)
{
    EXPECT_EQ(appPathOf(QStringLiteral("/pixolo")), QStringLiteral("/"));
    EXPECT_EQ(appPathOf(QStringLiteral("/opt/pixolo/pixolo")), QStringLiteral("/opt/pixolo/"));
    EXPECT_EQ(appPathOf(QStringLiteral("/home/用户/照片 工具/pixolo")), QStringLiteral("/home/用户/照片 工具/"));
}
