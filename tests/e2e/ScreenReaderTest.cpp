// The whole program as a screen reader sees it: a session bus and an accessibility bus of the test's own, the
// program's accessibility tree read over the bus by a small script, and keys given as a person gives them.
#include "DesktopSession.h"
#include "RunCommand.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <optional>
#include <vector>

namespace
{

constexpr QPoint kClientOrigin(15, 33);
constexpr QPoint kContent(11, 11);
const QRect kPathEdit = QRect(92, 272, 157, 22).translated(kContent);
const QString kLauncher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
const QString kDump = QStringLiteral(PIXOLO_SOURCE_DIR "/tests/e2e/atspi_dump.py");
// The Debian package of the accessibility client is for the system's interpreter, whatever else is on the path.
const QString kPython = QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                          : QStringLiteral("python3");

// One object of the tree, as the script prints it.
struct Node {
    int depth = 0;
    QString role;
    QString name;
    QStringList states;
    QString text;
    QStringList actions;
};

std::vector<Node> parse(const QString &dump)
{
    std::vector<Node> nodes;
    for (const QString &line : dump.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() < 6) {
            continue;
        }
        nodes.push_back({ f[0].toInt(), f[1], f[2], f[3].split(QLatin1Char(','), Qt::SkipEmptyParts), f[4],
            f[5].split(QLatin1Char(','), Qt::SkipEmptyParts) });
    }
    return nodes;
}

std::optional<Node> find(const std::vector<Node> &nodes, const QString &role, const QString &name)
{
    for (const Node &node : nodes) {
        if (node.role == role && node.name == name) {
            return node;
        }
    }
    return std::nullopt;
}

void stop(QProcess &process)
{
    pixolo::test::stopProcess(process);
}

class ScreenReaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.ok()) << "Xvfb did not start";
        ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty());
        ASSERT_TRUE(QFile::exists(kLauncher)) << "at-spi2-core is not installed";
        int status = -1;
        session.run(kPython, { QStringLiteral("-c"), QStringLiteral("import pyatspi") }, 20000, &status);
        ASSERT_EQ(status, 0) << "python3-pyatspi is not installed";

        // A session bus of the test's own; the accessibility bus's launcher joins it, and the program and the
        // script find the accessibility bus through it.
        ASSERT_TRUE(session.startSessionBus()) << "the session bus did not start";
        session.setEnv(QStringLiteral("AT_SPI_BUS_ADDRESS"), QString()); // none inherited from the machine
        session.setEnv(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        session.setEnv(QStringLiteral("QT_ACCESSIBILITY"), QStringLiteral("1"));

        QProcessEnvironment env = session.environment();
        env.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
        m_launcher.setProcessEnvironment(env);
        m_launcher.setProcessChannelMode(QProcess::MergedChannels);
        m_launcher.setStandardOutputFile(session.tempPath() + QStringLiteral("/at-spi-bus-launcher.log"));
        m_launcher.start(kLauncher, { QStringLiteral("--launch-immediately"), QStringLiteral("--a11y=1") });
        ASSERT_TRUE(m_launcher.waitForStarted(5000));
        // The launcher owns its name on the session bus once the accessibility bus runs.
        ASSERT_TRUE(DesktopSession::waitUntil(
            [&] {
                int code = -1;
                const QString owner = session.run(QStringLiteral("dbus-send"),
                    { QStringLiteral("--session"), QStringLiteral("--print-reply"),
                        QStringLiteral("--dest=org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                        QStringLiteral("org.a11y.Bus.GetAddress") },
                    3000, &code);
                return code == 0 && owner.contains(QStringLiteral("unix:"));
            },
            10000))
            << "the accessibility bus did not start";

        QFile ini(session.iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Setup]\nPhotoPath=/tmp/pixolo-photos/\n");
        ini.close();
        program = session.startProgram();
        window = session.waitForMainWindow(program);
        ASSERT_FALSE(window.isEmpty());
        origin = session.windowGeometry(window).topLeft() + kClientOrigin;
    }

    void TearDown() override
    {
        if (program) {
            program->kill();
            program->waitForFinished(5000);
        }
        stop(m_launcher);
    }

    QString dump()
    {
        QProcessEnvironment env = session.environment();
        env.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
        QProcess script;
        script.setProcessEnvironment(env);
        script.start(kPython, { kDump, QString::number(program->processId()) });
        if (!script.waitForFinished(20000)) {
            script.kill();
            script.waitForFinished(1000);
        }
        return QString::fromUtf8(script.readAllStandardOutput());
    }

    // Reads the tree until `holds` is true of it (the bridge announces objects as they come); the last tree read.
    std::vector<Node> treeWhere(const std::function<bool(const std::vector<Node> &)> &holds, int timeoutMs = 20000)
    {
        std::vector<Node> nodes;
        DesktopSession::waitUntil(
            [&] {
                m_lastDump = dump();
                nodes = parse(m_lastDump);
                return holds(nodes);
            },
            timeoutMs);
        return nodes;
    }

    DesktopSession session;
    QProcess m_launcher;
    QProcess *program = nullptr;
    QString window;
    QPoint origin;
    QString m_lastDump;
};

TEST_F(ScreenReaderTest, TheTreeNamesTheControlsAndTheCheckBoxReadsCheckedAfterSpace)
{
    auto nodes = treeWhere([](const std::vector<Node> &n) {
        return find(n, QStringLiteral("push button"), QStringLiteral("拍照(F8)")).has_value();
    });
    ASSERT_TRUE(find(nodes, QStringLiteral("push button"), QStringLiteral("拍照(F8)"))) << m_lastDump.toStdString();
    std::cout << "--- the accessibility tree at start:\n" << m_lastDump.toStdString() << std::endl;

    const auto snapshot = find(nodes, QStringLiteral("push button"), QStringLiteral("拍照(F8)"));
    EXPECT_TRUE(snapshot->actions.contains(QStringLiteral("Press"))) << snapshot->actions.join(',').toStdString();
    for (const QString &name : { QStringLiteral("浏览"), QStringLiteral("关闭"), QStringLiteral("关于") }) {
        EXPECT_TRUE(find(nodes, QStringLiteral("push button"), name)) << name.toStdString();
    }
    const auto edit = find(nodes, QStringLiteral("text"), QStringLiteral("照片存储路径"));
    ASSERT_TRUE(edit) << m_lastDump.toStdString();
    EXPECT_EQ(edit->text, QStringLiteral("/tmp/pixolo-photos/"));
    EXPECT_TRUE(edit->states.contains(QStringLiteral("editable")));
    EXPECT_TRUE(find(nodes, QStringLiteral("label"), QStringLiteral("照片存储路径:")));
    // The caption buttons of the skinned frame.
    for (const QString &name : { QStringLiteral("Minimize"), QStringLiteral("Roll Up"), QStringLiteral("Close"),
             QStringLiteral("System menu") }) {
        const auto button = find(nodes, QStringLiteral("push button"), name);
        ASSERT_TRUE(button) << name.toStdString() << "\n" << m_lastDump.toStdString();
        EXPECT_TRUE(button->actions.contains(QStringLiteral("Press")));
    }
    const auto box = find(nodes, QStringLiteral("check box"), QStringLiteral("延时"));
    ASSERT_TRUE(box) << m_lastDump.toStdString();
    EXPECT_FALSE(box->states.contains(QStringLiteral("checked")));

    // Into the edit with a click, then Tab along the folder button and the buttons to the box, and Space.
    session.mouseTo(origin + kPathEdit.center());
    session.run(QStringLiteral("xdotool"), { QStringLiteral("click"), QStringLiteral("1") });
    session.keyTo(window, QStringLiteral("Tab Tab Tab Tab Tab Tab"));
    nodes = treeWhere([](const std::vector<Node> &n) {
        const auto b = find(n, QStringLiteral("check box"), QStringLiteral("延时"));
        return b && b->states.contains(QStringLiteral("focused"));
    });
    ASSERT_TRUE(find(nodes, QStringLiteral("check box"), QStringLiteral("延时"))->states.contains("focused"))
        << m_lastDump.toStdString();
    session.keyTo(window, QStringLiteral("space"));
    nodes = treeWhere([](const std::vector<Node> &n) {
        const auto b = find(n, QStringLiteral("check box"), QStringLiteral("延时"));
        return b && b->states.contains(QStringLiteral("checked"));
    });
    EXPECT_TRUE(find(nodes, QStringLiteral("check box"), QStringLiteral("延时"))->states.contains("checked"))
        << m_lastDump.toStdString();
}

} // namespace
