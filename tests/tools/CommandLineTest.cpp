// The command lines of the program and its tools, as a shell runs them: help and version on standard output with
// status 0 and no display needed, options before or after the command, errors on standard error with a non-zero
// status.
#include "ToolRun.h"

#include "platform/InstanceLock.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

const QString kVersion = QStringLiteral(PIXOLO_VERSION);

TEST(CommandLineTest, ProgramPrintsHelpAndVersionWithoutADisplayAndOpensNothing)
{
    for (const QStringList &args : { QStringList { QStringLiteral("--help") }, QStringList { QStringLiteral("-h") },
             QStringList { QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("--help") } }) {
        const ToolRun run = ToolRun::headless(QStringLiteral("pixolo"), args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage: pixolo"))) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("--version")));
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString(); // no window system was started, nor complained
    }
    const ToolRun version = ToolRun::headless(QStringLiteral("pixolo"), { QStringLiteral("--version") });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("pixolo (Pixolo) %1\n").arg(kVersion));
    EXPECT_TRUE(version.err.isEmpty());
}

TEST(CommandLineTest, ProgramWithoutADisplaySaysSoAndEndsWithStatusOne)
{
    // Before, the window system aborted the program: a core dump and a message about plugins.
    const ToolRun run = ToolRun::headless(QStringLiteral("pixolo"), {});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString(); // -1 would be a signal
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("pixolo: no display"))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("plugin"))) << run.err.toStdString();
}

TEST(CommandLineTest, ProgramIgnoresUnknownOptionsAndStartsAsUsual)
{
    // Another copy holds the single-instance lock, so a start that goes on as usual ends at the "already running"
    // message, which the program also writes to standard error.
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const pixolo::InstanceLock other(QStringLiteral("Pixolo"));
    ASSERT_EQ(other.result(), pixolo::InstanceLock::Acquired);
    qputenv("XDG_RUNTIME_DIR", oldRuntime); // the lock is held; the program is given the same folder below
    const QString said = ToolRun::stderrUntil(QStringLiteral("pixolo"),
        { QStringLiteral("--no-such-option"), QStringLiteral("stray"), QStringLiteral("-x") },
        QStringLiteral("系统已经运行!"), 20000, runtime.path());
    EXPECT_TRUE(said.contains(QStringLiteral("系统已经运行!"))) << said.toStdString();
}

TEST(CommandLineTest, ToolsPrintHelpAndVersionOnStandardOutputWithOptionsAnywhere)
{
    for (const QString &tool : { QStringLiteral("pixolo-scramble"), QStringLiteral("pixolo-skinpack") }) {
        for (const QStringList &args : { QStringList { QStringLiteral("--help") }, QStringList { QStringLiteral("-h") },
                 QStringList { QStringLiteral("encode"), QStringLiteral("--help") },
                 QStringList { QStringLiteral("describe"), QStringLiteral("x"), QStringLiteral("--help") } }) {
            const ToolRun run = ToolRun::headless(tool, args);
            EXPECT_EQ(run.exitCode, 0) << tool.toStdString() << ' ' << args.join(' ').toStdString();
            EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage: "))) << run.out.toStdString();
            EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        }
        const ToolRun version = ToolRun::headless(tool, { QStringLiteral("--version") });
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.out, QStringLiteral("%1 (Pixolo) %2\n").arg(tool, kVersion));
    }
}

TEST(CommandLineTest, ScrambleTakesItsOptionsBeforeOrAfterTheCommand)
{
    const QString text = QStringLiteral("快拍宝 Pixolo");
    const ToolRun encoded = ToolRun::headless(QStringLiteral("pixolo-scramble"),
        { QStringLiteral("encode"), text, QStringLiteral("--key"), QStringLiteral("k3y"), QStringLiteral("--v1") });
    ASSERT_EQ(encoded.exitCode, 0) << encoded.err.toStdString();
    const QString hex = encoded.out.trimmed();
    EXPECT_EQ(hex.size(), (text.toUtf8().size() + 1) * 2);
    const ToolRun decoded = ToolRun::headless(QStringLiteral("pixolo-scramble"),
        { QStringLiteral("--v1"), QStringLiteral("--key=k3y"), QStringLiteral("decode"), hex });
    ASSERT_EQ(decoded.exitCode, 0) << decoded.err.toStdString();
    EXPECT_EQ(decoded.out, text + QLatin1Char('\n'));
    // Without the key the same digits say something else.
    const ToolRun unkeyed = ToolRun::headless(
        QStringLiteral("pixolo-scramble"), { QStringLiteral("--v1"), QStringLiteral("decode"), hex });
    EXPECT_NE(unkeyed.out, decoded.out);
}

TEST(CommandLineTest, ToolErrorsGoToStandardErrorWithANonZeroStatus)
{
    struct Case {
        QString tool;
        QStringList args;
        int status;
    };
    const QString missing = QDir::temp().filePath(QStringLiteral("pixolo-no-such-skin.skin"));
    const Case cases[] = {
        { QStringLiteral("pixolo-scramble"), {}, 2 },
        { QStringLiteral("pixolo-scramble"), { QStringLiteral("shuffle"), QStringLiteral("x") }, 2 },
        { QStringLiteral("pixolo-scramble"),
            { QStringLiteral("--bogus"), QStringLiteral("encode"), QStringLiteral("x") }, 2 },
        { QStringLiteral("pixolo-scramble"), { QStringLiteral("decode"), QStringLiteral("0G12") }, 1 },
        { QStringLiteral("pixolo-skinpack"), {}, 2 },
        { QStringLiteral("pixolo-skinpack"), { QStringLiteral("unpack"), QStringLiteral("x") }, 2 },
        { QStringLiteral("pixolo-skinpack"), { QStringLiteral("describe") }, 2 },
        { QStringLiteral("pixolo-skinpack"), { QStringLiteral("describe"), missing }, 1 },
    };
    for (const Case &c : cases) {
        const ToolRun run = ToolRun::headless(c.tool, c.args);
        const std::string what = c.tool.toStdString() + ' ' + c.args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, c.status) << what;
        EXPECT_TRUE(run.out.isEmpty()) << what << ": " << run.out.toStdString();
        EXPECT_TRUE(run.err.startsWith(c.tool)) << what << ": " << run.err.toStdString();
    }
    const ToolRun noFile
        = ToolRun::headless(QStringLiteral("pixolo-skinpack"), { QStringLiteral("describe"), missing });
    EXPECT_TRUE(noFile.err.contains(missing)) << noFile.err.toStdString(); // says which file
}

} // namespace
