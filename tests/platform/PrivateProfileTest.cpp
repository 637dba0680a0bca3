#include "platform/PrivateProfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace pixolo;

namespace {

class PrivateProfileTest : public testing::Test {
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

} // namespace

TEST_F(PrivateProfileTest, NamesMatchWithoutRegardToCaseAndFirstMatchWins)
{
    writeFile("[other]\nphotopath=no\n[SETUP]\n  PHOTOPATH = /first/  \nPhotoPath=/second/\n[setup]\nPhotoPath=/third/\n");
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
    ASSERT_TRUE(PrivateProfile::writeString(path(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"),
                                            QStringLiteral("/new/")));
    QByteArray expected = before;
    expected.replace("photoPATH=/old/", "photoPATH=/new/");
    EXPECT_EQ(fileData(), expected);
}

TEST_F(PrivateProfileTest, MissingKeyGoesAtTheEndOfItsSectionInTheFilesLineEnding)
{
    writeFile("[Setup]\r\nA=1\r\n\r\n[Next]\r\nB=2\r\n");
    ASSERT_TRUE(PrivateProfile::writeString(path(), QStringLiteral("setup"), QStringLiteral("PhotoPath"),
                                            QStringLiteral("/p/")));
    EXPECT_EQ(fileData(), QByteArray("[Setup]\r\nA=1\r\nPhotoPath=/p/\r\n\r\n[Next]\r\nB=2\r\n"));
}

TEST_F(PrivateProfileTest, MissingSectionIsAppendedAfterALastLineWithoutEnding)
{
    writeFile("[Other]\nA=1");
    ASSERT_TRUE(PrivateProfile::writeString(path(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"),
                                            QStringLiteral("/p/")));
    EXPECT_EQ(fileData(), QByteArray("[Other]\nA=1\n[Setup]\nPhotoPath=/p/\n"));
}

TEST_F(PrivateProfileTest, LineBreaksInAValueCannotSplitTheFile)
{
    ASSERT_TRUE(PrivateProfile::writeString(path(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"),
                                            QStringLiteral("/a\r\n[Evil]\nb/")));
    EXPECT_EQ(fileData(), QByteArray("[Setup]\nPhotoPath=/a[Evil]b/\n"));
    EXPECT_EQ(PrivateProfile::readString(path(), QStringLiteral("Evil"), QStringLiteral("b")), std::nullopt);
}

TEST_F(PrivateProfileTest, ReadOnlyFileIsRefusedAndKept)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "root may write any file; the refused write is covered by the file size limit test";
    }
    writeFile("[Setup]\nPhotoPath=/old/\n");
    QFile::setPermissions(path(), QFileDevice::ReadOwner);
    EXPECT_FALSE(PrivateProfile::writeString(path(), QStringLiteral("Setup"), QStringLiteral("PhotoPath"),
                                             QStringLiteral("/new/")));
    EXPECT_EQ(fileData(), QByteArray("[Setup]\nPhotoPath=/old/\n"));
}
