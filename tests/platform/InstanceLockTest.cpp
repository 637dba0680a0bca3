#include "platform/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ScopedEnv.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <optional>

using namespace pixolo;
using pixolo::test::ScopedEnv;

namespace
{

mode_t modeOf(const QString &path)
{
    struct stat info {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

uid_t ownerOf(const QString &path)
{
    struct stat info {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_uid : uid_t(-1);
}

} // namespace

TEST(InstanceLockTest, OnlyOneHolderAtATimeAndReleasedWithIt)
{
    QTemporaryDir runtime;
    const ScopedEnv env("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString name = QStringLiteral("PixoloLockTest");
    EXPECT_EQ(InstanceLock::lockPath(name), runtime.filePath(name + QStringLiteral(".lock")));

    auto first = std::make_unique<InstanceLock>(name);
    EXPECT_EQ(first->result(), InstanceLock::Acquired);
    {
        const InstanceLock second(name); // a second open of the file counts as another copy
        EXPECT_EQ(second.result(), InstanceLock::AlreadyRunning);
    }
    EXPECT_EQ(InstanceLock(QStringLiteral("OtherName")).result(), InstanceLock::Acquired);
    first.reset();
    EXPECT_EQ(InstanceLock(name).result(), InstanceLock::Acquired);
}

TEST(InstanceLockTest, WithoutAUsableRuntimeFolderTheLockIsInAPrivateFolderUnderTheCacheFolder)
{
    QTemporaryDir root;
    const ScopedEnv cache("XDG_CACHE_HOME", QFile::encodeName(root.filePath(QStringLiteral("cache"))));
    const QString expected = root.filePath(QStringLiteral("cache/pixolo/Pixolo.lock"));
    const QString folder = root.filePath(QStringLiteral("cache/pixolo"));

    // Open to others, a plain file, missing, unset: none is a private place.
    const QString shared = root.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0777), 0);
    const QString file = root.filePath(QStringLiteral("file"));
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    for (const std::optional<QByteArray> &runtime :
        { std::optional(QFile::encodeName(shared)), std::optional(QFile::encodeName(file)),
            std::optional(QByteArray("/nonexistent-runtime-folder")), std::optional<QByteArray>() }) {
        SCOPED_TRACE(runtime.value_or("(unset)").constData());
        const ScopedEnv env("XDG_RUNTIME_DIR", runtime);
        EXPECT_EQ(InstanceLock::lockPath(QStringLiteral("Pixolo")), expected);
        EXPECT_EQ(modeOf(folder), mode_t(0700));
    }

    // Both copies find the same place, so the second one knows of the first.
    const ScopedEnv env("XDG_RUNTIME_DIR", QFile::encodeName(shared));
    const InstanceLock first(QStringLiteral("Pixolo"));
    EXPECT_EQ(first.result(), InstanceLock::Acquired);
    EXPECT_EQ(first.path(), expected);
    EXPECT_EQ(InstanceLock(QStringLiteral("Pixolo")).result(), InstanceLock::AlreadyRunning);
    EXPECT_FALSE(QFile::exists(shared + QStringLiteral("/Pixolo.lock")));

    // A folder of ours that others could enter is made private again.
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
    EXPECT_EQ(InstanceLock::lockPath(QStringLiteral("Pixolo")), expected);
    EXPECT_EQ(modeOf(folder), mode_t(0700));
}

TEST(InstanceLockTest, ALockFileThatIsNotOursIsNotHonoured)
{
    QTemporaryDir runtime;
    const ScopedEnv env("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString path = runtime.filePath(QStringLiteral("Pixolo.lock"));

    // A link under the lock's name is replaced, and what it points at is left alone.
    const QString target = runtime.filePath(QStringLiteral("target"));
    ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()), 0);
    {
        const InstanceLock lock(QStringLiteral("Pixolo"));
        EXPECT_EQ(lock.result(), InstanceLock::Acquired);
        EXPECT_FALSE(QFileInfo(path).isSymLink());
        EXPECT_TRUE(QFileInfo(target).exists());
    }
    ASSERT_TRUE(QFile::remove(path));

    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can plant another user's file";
    }
    // Another user's file, open to all and locked by its owner: the copy starts anyway, with a lock of its own.
    ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
    const int planted = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(planted, 0);
    ASSERT_EQ(::flock(planted, LOCK_EX | LOCK_NB), 0);
    {
        const InstanceLock lock(QStringLiteral("Pixolo"));
        EXPECT_EQ(lock.result(), InstanceLock::Acquired);
        EXPECT_EQ(ownerOf(path), ::geteuid());
        EXPECT_EQ(InstanceLock(QStringLiteral("Pixolo")).result(), InstanceLock::AlreadyRunning);
    }
    ::close(planted);
}
