// The program as a person meets it: started on a desktop, started twice, killed and started again.
#include "DesktopSession.h"

#include <QProcess>
#include <QRect>

#include <gtest/gtest.h>

#include <csignal>

namespace
{

const QString kTitle = QStringLiteral("快拍宝");
const QString kCaption = QStringLiteral("快拍宝 － 摄像头快照工具 Pixolo 工作室出品 https://pixolo.example.com/");

class StartupTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(session.ok()) << "Xvfb did not start"; }

    // The program's single mapped window, once it has exactly one.
    QString waitForOneWindow(QProcess *program)
    {
        QStringList windows;
        DesktopSession::waitUntil(
            [&] {
                windows = session.visibleWindows(program->processId());
                return windows.size() == 1 || program->state() == QProcess::NotRunning;
            },
            15000);
        return windows.size() == 1 ? windows.front() : QString();
    }

    DesktopSession session;
};

TEST_F(StartupTest, MainWindowOpensWithItsCaptionAtItsPlace)
{
    QProcess *program = session.startProgram();
    const QString window = waitForOneWindow(program);
    ASSERT_FALSE(window.isEmpty());
    EXPECT_EQ(session.windowName(window), kCaption);
    const QRect geometry = session.windowGeometry(window);
    EXPECT_EQ(geometry, QRect(226, 139, 757, 523)); // the 729 × 467 client area in its skinned frame
    EXPECT_EQ(program->state(), QProcess::Running);
}

TEST_F(StartupTest, SecondCopyOnlySaysSoAndLeavesTheFirstAlone)
{
    QProcess *first = session.startProgram();
    const QString mainWindow = waitForOneWindow(first);
    ASSERT_FALSE(mainWindow.isEmpty());

    QProcess *second = session.startProgram();
    const QString box = waitForOneWindow(second);
    ASSERT_FALSE(box.isEmpty());
    // Exactly one window: the message, captioned with the title; no main window of its own.
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return session.windowName(box) == kTitle; }, 5000))
        << session.windowName(box).toStdString();
    EXPECT_EQ(session.visibleWindows(second->processId()).size(), 1);

    session.run(QStringLiteral("xdotool"), { QStringLiteral("windowfocus"), QStringLiteral("--sync"), box });
    session.run(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("Return") });
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    const QString said = QString::fromUtf8(second->readAllStandardError());
    EXPECT_EQ(said.count(QStringLiteral("系统已经运行!")), 1) << said.toStdString();
    EXPECT_TRUE(said.contains(kTitle + QStringLiteral(": ") + kTitle + QStringLiteral("系统已经运行!")));

    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(session.visibleWindows(first->processId()), QStringList { mainWindow });
    EXPECT_EQ(session.windowName(mainWindow), kCaption);
}

TEST_F(StartupTest, KilledCopyDoesNotBlockTheNextOne)
{
    QProcess *first = session.startProgram();
    ASSERT_FALSE(waitForOneWindow(first).isEmpty());
    ::kill(pid_t(first->processId()), SIGKILL);
    ASSERT_TRUE(first->waitForFinished(5000));

    QProcess *next = session.startProgram();
    const QString window = waitForOneWindow(next);
    ASSERT_FALSE(window.isEmpty()) << "state " << next->state() << ", exit " << next->exitCode() << " status "
                                   << next->exitStatus() << ": " << next->readAllStandardError().toStdString();
    EXPECT_EQ(session.windowName(window), kCaption);
}

TEST_F(StartupTest, RunsFromAFolderNamedInChinese)
{
    session.installProgramInto(QStringLiteral("照片 工具/程序"));
    QProcess *program = session.startProgram();
    const QString window = waitForOneWindow(program);
    ASSERT_FALSE(window.isEmpty());
    EXPECT_EQ(session.windowName(window), kCaption);
}

} // namespace
