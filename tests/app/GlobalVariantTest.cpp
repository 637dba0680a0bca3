// Where the settings file lives: beside the program, or for an installed program the user's configuration folder.
#include "app/GlobalVariant.h"
#include "app/PubFun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ScopedEnv.h"

#include <optional>

using namespace pixolo;
using pixolo::test::ScopedEnv;

namespace
{

// A program folder and a configuration folder (not made yet) side by side.
class SettingsLocationTest : public testing::Test
{
protected:
    QString programDir() const { return root.filePath(QStringLiteral("program")) + QLatin1Char('/'); }
    QString configHome() const { return root.filePath(QStringLiteral("home/.config")); }
    void SetUp() override { ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("program"))); }

    static bool readOnly(const QString &) { return false; }
    static bool writable(const QString &) { return true; }

    QTemporaryDir root;
};

} // namespace

TEST_F(SettingsLocationTest, WritableProgramFolderKeepsTheFileBesideTheProgramAndMakesNoConfigFolder)
{
    EXPECT_EQ(settingsFileFor(programDir(), configHome(), writable), programDir() + QStringLiteral("Pixolo.ini"));
    // The process's own rights, as the program asks them: a fresh temporary folder is writable.
    EXPECT_EQ(settingsFileFor(programDir(), configHome()), programDir() + QStringLiteral("Pixolo.ini"));
    EXPECT_FALSE(QFileInfo::exists(configHome()));
}

TEST_F(SettingsLocationTest, ReadOnlyProgramFolderUsesTheUsersConfigFolderAndMakesIt)
{
    const QString file = settingsFileFor(programDir(), configHome(), readOnly);
    EXPECT_EQ(file, configHome() + QStringLiteral("/pixolo/Pixolo.ini"));
    EXPECT_TRUE(QFileInfo(configHome() + QStringLiteral("/pixolo")).isDir()); // with the missing ~/.config too

    // So the photo folder can be saved and is read back from there, and nothing lands beside the program.
    EXPECT_TRUE(IniWriteString(file, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/p/")));
    EXPECT_EQ(
        IniReadString(file, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QString()), QStringLiteral("/p/"));
    EXPECT_FALSE(QFileInfo::exists(programDir() + QStringLiteral("Pixolo.ini")));
}

TEST_F(SettingsLocationTest, SettingsFileBesideAReadOnlyProgramStillWins)
{
    QFile beside(programDir() + QStringLiteral("Pixolo.ini"));
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
    beside.write("[Setup]\nPhotoPath=/shared/\n");
    beside.close();
    EXPECT_EQ(settingsFileFor(programDir(), configHome(), readOnly), beside.fileName());
    EXPECT_FALSE(QFileInfo::exists(configHome()));
}

TEST_F(SettingsLocationTest, ConfigFolderThatCannotBeMadeStillNamesTheFileSoTheWriteErrorSaysWhere)
{
    // A file where the configuration folder should be: the folder cannot be made.
    QFile blocker(root.filePath(QStringLiteral("home")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString file = settingsFileFor(programDir(), configHome(), readOnly);
    EXPECT_EQ(file, configHome() + QStringLiteral("/pixolo/Pixolo.ini"));
    try {
        IniWriteString(file, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/p/"));
        FAIL() << "the write was not refused";
    } catch (const EIniWriteError &error) {
        EXPECT_EQ(QString::fromUtf8(error.what()),
            QStringLiteral("Unable to write to ") + file + QStringLiteral(". Not a directory"));
    }
}

TEST(UserConfigHomeTest, FollowsXdgConfigHomeOnlyWhenItIsAbsolute)
{
    const ScopedEnv home("HOME", QByteArray("/home/someone"));
    {
        const ScopedEnv config("XDG_CONFIG_HOME", QByteArray("/var/config/"));
        EXPECT_EQ(userConfigHome(), QStringLiteral("/var/config"));
    }
    {
        const ScopedEnv config("XDG_CONFIG_HOME", QByteArray("relative/config"));
        EXPECT_EQ(userConfigHome(), QStringLiteral("/home/someone/.config"));
    }
    {
        const ScopedEnv config("XDG_CONFIG_HOME", QByteArray());
        EXPECT_EQ(userConfigHome(), QStringLiteral("/home/someone/.config"));
    }
    {
        const ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(userConfigHome(), QStringLiteral("/home/someone/.config"));
    }
}
