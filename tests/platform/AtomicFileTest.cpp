#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace pixolo;

namespace
{

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(AtomicFileTest, ReplaceKeepsThePermissionsAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    ASSERT_TRUE(AtomicFile::write(path, "first").ok);
    ::chmod(QFile::encodeName(path).constData(), 0640);
    ASSERT_TRUE(AtomicFile::write(path, "second").ok);
    EXPECT_EQ(contents(path), QByteArray("second"));
    struct stat info {
    };
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("a.txt") });
}

TEST(AtomicFileTest, NoReplaceKeepsAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(AtomicFile::write(path, "old", AtomicFile::NoReplace).ok);
    const AtomicFile::Result second = AtomicFile::write(path, "new", AtomicFile::NoReplace);
    EXPECT_FALSE(second.ok);
    EXPECT_EQ(second.error, EEXIST);
    EXPECT_EQ(contents(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(AtomicFileTest, MissingFolderFailsWithTheSystemsReason)
{
    QTemporaryDir dir;
    const AtomicFile::Result result = AtomicFile::write(dir.filePath(QStringLiteral("gone/x.jpg")), "data");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, ENOENT);
    EXPECT_FALSE(result.errorText().isEmpty());
}
