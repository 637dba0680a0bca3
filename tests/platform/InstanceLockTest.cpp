#include "platform/InstanceLock.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace pixolo;

TEST(InstanceLockTest, OnlyOneHolderAtATimeAndReleasedWithIt)
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
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

TEST(InstanceLockTest, WithoutRuntimeFolderTheLockIsPerUserInTmp)
{
    qputenv("XDG_RUNTIME_DIR", "/nonexistent-runtime-folder");
    const QString path = InstanceLock::lockPath(QStringLiteral("Pixolo"));
    EXPECT_TRUE(path.startsWith(QStringLiteral("/tmp/Pixolo-")));
    EXPECT_TRUE(path.endsWith(QStringLiteral(".lock")));
}
