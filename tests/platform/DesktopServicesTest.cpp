#include "platform/DesktopServices.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace pixolo;

namespace
{

// A PATH holding only the given xdg-open script (none for an empty script), for the life of the object.
class FakeOpener
{
public:
    explicit FakeOpener(const QByteArray &script)
        : m_path(qgetenv("PATH"))
    {
        if (!script.isEmpty()) {
            QFile opener(m_bin.filePath(QStringLiteral("xdg-open")));
            opener.open(QIODevice::WriteOnly);
            opener.write("#!/bin/sh\n" + script);
            opener.close();
            opener.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(m_bin.path()));
    }
    ~FakeOpener() { qputenv("PATH", m_path); }
    FakeOpener(const FakeOpener &) = delete;
    FakeOpener &operator=(const FakeOpener &) = delete;

    QString marker() const { return m_bin.filePath(QStringLiteral("opened")); }

private:
    QTemporaryDir m_bin;
    QByteArray m_path;
};

// Opens the folder and runs the event loop until the failure is told or `until` holds, at most five seconds.
std::optional<QString> open(const QString &folder, const std::function<bool()> &until = {})
{
    std::optional<QString> problem;
    DesktopServices::openFolder(folder, [&](const QString &text) { problem = text; });
    QElapsedTimer waited;
    waited.start();
    while (!problem && !(until && until()) && !waited.hasExpired(5000)) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    // A failure would arrive right after the opener ends.
    QElapsedTimer settle;
    settle.start();
    while (!problem && !settle.hasExpired(500)) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return problem;
}

} // namespace

TEST(DesktopServicesTest, AFolderNoFileManagerCanOpenIsToldWithTheReason)
{
    {
        const FakeOpener opener("echo \"xdg-open: no method available for opening '$1'\" >&2\nexit 3\n");
        EXPECT_EQ(open(QStringLiteral("/srv/photos/")),
            QStringLiteral("Cannot open the folder \"/srv/photos/\": no file manager is set up to open folders "
                           "(xdg-open: no method available for opening '/srv/photos/')."));
    }
    {
        const FakeOpener none("");
        EXPECT_EQ(open(QStringLiteral("/srv/photos/")),
            QStringLiteral("Cannot open the folder \"/srv/photos/\": no program to open folders is installed "
                           "(xdg-open, from xdg-utils)."));
    }
    {
        const FakeOpener missing("echo \"xdg-open: file '$1' does not exist\" >&2\nexit 2\n");
        EXPECT_EQ(open(QStringLiteral("/gone/")),
            QStringLiteral("Cannot open the folder \"/gone/\": xdg-open: file '/gone/' does not exist."));
    }
}

TEST(DesktopServicesTest, AFolderTheFileManagerOpensIsNotComplainedAbout)
{
    const FakeOpener opener("echo \"$1\" > \"${0%/*}/opened\"\nexit 0\n");
    EXPECT_EQ(open(QStringLiteral("/srv/photos/"), [&] { return QFile::exists(opener.marker()); }), std::nullopt);
    QFile marker(opener.marker());
    ASSERT_TRUE(marker.open(QIODevice::ReadOnly));
    EXPECT_EQ(marker.readAll(), QByteArray("/srv/photos/\n"));
}
