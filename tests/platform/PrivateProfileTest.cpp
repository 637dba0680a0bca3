#include "platform/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace pixolo;

namespace
{

class PrivateProfileTest : public testing::Test
{
protected:
    QString path() const { return dir.filePath(QStringLiteral("settings.ini")); }

    void writeFile(const QByteArray &data)
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    QByteArray fileData() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

constexpr uid_t kNobody = 65534;

// Runs `body` as the unprivileged user "nobody" in a child process when the tests run as root (root may write
// anywhere, so permissions would not count), or here otherwise; true when the body returned true.
bool runUnprivileged(const std::function<bool()> &body)
{
    if (::geteuid() != 0) {
        return body();
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(2);
        }
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct stat statOf(const QString &path)
{
    struct stat info {
    };
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

void chmodOf(const QString &path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

const QString kSetup = QStringLiteral("Setup");
const QString kPhotoPath = QStringLiteral("PhotoPath");

} // namespace

TEST_F(PrivateProfileTest, NamesMatchWithoutRegardToCaseAndFirstMatchWins)
{
    writeFile(
        "[other]\nphotopath=no\n[SETUP]\n  PHOTOPATH = /first/  \nPhotoPath=/second/\n[setup]\nPhotoPath=/third/\n");
    EXPECT_EQ(PrivateProfile::readString(path(), QStringLiteral("Setup"), QStringLiteral("PhotoPath")),
        QStringLiteral("/first/"));
    EXPECT_EQ(PrivateProfile::readString(path(), QStringLiteral("setup"), QStringLiteral("missing")), std::nullopt);
    EXPECT_EQ(PrivateProfile::readString(path(), QStringLiteral("nosuch"), QStringLiteral("PhotoPath")), std::nullopt);
}

TEST_F(PrivateProfileTest, CommentsAndLinesWithoutEqualsAreNotKeys)
{
    writeFile("[Setup]\n;PhotoPath=/commented/\n#PhotoPath=/hash/\nPhotoPath\nPhotoPath=/real/\n");
    EXPECT_EQ(PrivateProfile::readString(path(), QStringLiteral("Setup"), QStringLiteral("PhotoPath")),
        QStringLiteral("/real/"));
}

TEST_F(PrivateProfileTest, WriteChangesOnlyTheValueAndKeepsEveryOtherByte)
{
    const QByteArray before = "; my settings\r\n\r\n[Window]\r\nLeft=10\r\n\r\n[setup]\r\nphotoPATH=/old/\r\n"
                              "Other = kept  \r\n\r\n[Tail]\r\nx=1";
    writeFile(before);
    ASSERT_TRUE(PrivateProfile::writeString(
        path(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/new/")));
    QByteArray expected = before;
    expected.replace("photoPATH=/old/", "photoPATH=/new/");
    EXPECT_EQ(fileData(), expected);
}

TEST_F(PrivateProfileTest, MissingKeyGoesAtTheEndOfItsSectionInTheFilesLineEnding)
{
    writeFile("[Setup]\r\nA=1\r\n\r\n[Next]\r\nB=2\r\n");
    ASSERT_TRUE(PrivateProfile::writeString(
        path(), QStringLiteral("setup"), QStringLiteral("PhotoPath"), QStringLiteral("/p/")));
    EXPECT_EQ(fileData(), QByteArray("[Setup]\r\nA=1\r\nPhotoPath=/p/\r\n\r\n[Next]\r\nB=2\r\n"));
}

TEST_F(PrivateProfileTest, MissingSectionIsAppendedAfterALastLineWithoutEnding)
{
    writeFile("[Other]\nA=1");
    ASSERT_TRUE(PrivateProfile::writeString(
        path(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/p/")));
    EXPECT_EQ(fileData(), QByteArray("[Other]\nA=1\n[Setup]\nPhotoPath=/p/\n"));
}

TEST_F(PrivateProfileTest, LineBreaksInAValueCannotSplitTheFile)
{
    ASSERT_TRUE(PrivateProfile::writeString(
        path(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/a\r\n[Evil]\nb/")));
    EXPECT_EQ(fileData(), QByteArray("[Setup]\nPhotoPath=/a[Evil]b/\n"));
    EXPECT_EQ(PrivateProfile::readString(path(), QStringLiteral("Evil"), QStringLiteral("b")), std::nullopt);
}

TEST_F(PrivateProfileTest, ReadOnlyFileIsRefusedAndKept)
{
    writeFile("[Setup]\nPhotoPath=/old/\n");
    chmodOf(path(), 0444);
    chmodOf(dir.path(), 0777); // the folder would take a new file: the file's own mode must still count
    const bool written = runUnprivileged(
        [this] { return PrivateProfile::writeString(path(), kSetup, kPhotoPath, QStringLiteral("/new/")); });
    chmodOf(dir.path(), 0755);
    EXPECT_FALSE(written);
    EXPECT_EQ(fileData(), QByteArray("[Setup]\nPhotoPath=/old/\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("settings.ini") });
}

TEST_F(PrivateProfileTest, LeadingByteOrderMarkIsSkippedOnReadingAndKeptOnWriting)
{
    writeFile("\xEF\xBB\xBF[Setup]\r\nPhotoPath=/照片/\r\n");
    EXPECT_EQ(PrivateProfile::readString(path(), kSetup, kPhotoPath), QStringLiteral("/照片/"));
    ASSERT_TRUE(PrivateProfile::writeString(path(), kSetup, kPhotoPath, QStringLiteral("/新/")));
    EXPECT_EQ(fileData(), QByteArray("\xEF\xBB\xBF[Setup]\r\nPhotoPath=/新/\r\n")); // one section, mark kept
}

TEST_F(PrivateProfileTest, ChineseWindowsEncodingIsReadAndOtherLinesKeepTheirBytes)
{
    // "/home/用户/照片/" and a comment "注释", as an editor saving in GB 18030 writes them.
    const QByteArray comment = "; \xD7\xA2\xCA\xCD";
    const QByteArray other = "Other=\xD3\xC3\xBB\xA7";
    writeFile(comment + "\r\n[Setup]\r\nPhotoPath=/home/\xD3\xC3\xBB\xA7/\xD5\xD5\xC6\xAC/\r\n" + other + "\r\n");
    EXPECT_EQ(PrivateProfile::readString(path(), kSetup, kPhotoPath), QStringLiteral("/home/用户/照片/"));
    EXPECT_EQ(PrivateProfile::readString(path(), kSetup, QStringLiteral("Other")), QStringLiteral("用户"));

    ASSERT_TRUE(PrivateProfile::writeString(path(), kSetup, kPhotoPath, QStringLiteral("/home/用户/新/")));
    EXPECT_EQ(fileData(), comment + "\r\n[Setup]\r\nPhotoPath=/home/用户/新/\r\n" + other + "\r\n");
    // The written line is UTF-8 and the others stay as they were: both read right.
    EXPECT_EQ(PrivateProfile::readString(path(), kSetup, kPhotoPath), QStringLiteral("/home/用户/新/"));
    EXPECT_EQ(PrivateProfile::readString(path(), kSetup, QStringLiteral("Other")), QStringLiteral("用户"));
}

TEST_F(PrivateProfileTest, WritableFileInAFolderThatIsNotIsRewrittenInPlace)
{
    // A shared install: the folder belongs to someone else, the settings file may be written by all.
    writeFile("[Setup]\nPhotoPath=/old/\n; kept\n");
    chmodOf(path(), 0666);
    const ino_t inode = statOf(path()).st_ino;
    chmodOf(dir.path(), 0555);
    const bool written = runUnprivileged([this] {
        return PrivateProfile::writeString(path(), kSetup, kPhotoPath, QStringLiteral("/a/longer/new/path/"));
    });
    chmodOf(dir.path(), 0755);
    EXPECT_TRUE(written);
    EXPECT_EQ(fileData(), QByteArray("[Setup]\nPhotoPath=/a/longer/new/path/\n; kept\n"));
    EXPECT_EQ(statOf(path()).st_ino, inode);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("settings.ini") });

    // Shorter again: the rest of the old text is cut off.
    chmodOf(dir.path(), 0555);
    const bool shorter = runUnprivileged(
        [this] { return PrivateProfile::writeString(path(), kSetup, kPhotoPath, QStringLiteral("/")); });
    chmodOf(dir.path(), 0755);
    EXPECT_TRUE(shorter);
    EXPECT_EQ(fileData(), QByteArray("[Setup]\nPhotoPath=/\n; kept\n"));
}

TEST_F(PrivateProfileTest, ALinkStaysALinkAndItsFileKeepsItsModeAndOwner)
{
    QDir(dir.path()).mkpath(QStringLiteral("real"));
    const QString real = dir.filePath(QStringLiteral("real/settings.ini"));
    {
        QFile file(real);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Setup]\nPhotoPath=/old/\n");
    }
    chmodOf(real, 0640);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(real).constData(), kNobody, kNobody), 0);
    }
    ASSERT_EQ(::symlink("real/settings.ini", QFile::encodeName(path()).constData()), 0);

    ASSERT_TRUE(PrivateProfile::writeString(path(), kSetup, kPhotoPath, QStringLiteral("/new/")));
    EXPECT_TRUE(S_ISLNK(statOf(path()).st_mode));
    EXPECT_EQ(QFile::symLinkTarget(path()), real);
    EXPECT_EQ(fileData(), QByteArray("[Setup]\nPhotoPath=/new/\n"));
    const struct stat info = statOf(real);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (::geteuid() == 0) {
        EXPECT_EQ(info.st_uid, kNobody);
        EXPECT_EQ(info.st_gid, kNobody);
    }
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("real"))).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(PrivateProfileTest, ALinkToAFileNotMadeYetMakesThatFile)
{
    ASSERT_EQ(::symlink("made-later.ini", QFile::encodeName(path()).constData()), 0);
    ASSERT_TRUE(PrivateProfile::writeString(path(), kSetup, kPhotoPath, QStringLiteral("/p/")));
    EXPECT_TRUE(S_ISLNK(statOf(path()).st_mode));
    EXPECT_EQ(fileData(), QByteArray("[Setup]\nPhotoPath=/p/\n"));
}

TEST_F(PrivateProfileTest, AnotherUsersWritableFileKeepsItsOwner)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can make a file of another user for the test";
    }
    // The folder lets everyone make files, but a replaced file would change hands: it is rewritten in place.
    writeFile("[Setup]\nPhotoPath=/old/\n");
    chmodOf(path(), 0666);
    chmodOf(dir.path(), 0777);
    const bool written = runUnprivileged(
        [this] { return PrivateProfile::writeString(path(), kSetup, kPhotoPath, QStringLiteral("/n/")); });
    chmodOf(dir.path(), 0755);
    EXPECT_TRUE(written);
    EXPECT_EQ(fileData(), QByteArray("[Setup]\nPhotoPath=/n/\n"));
    EXPECT_EQ(statOf(path()).st_uid, 0u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("settings.ini") });
}
