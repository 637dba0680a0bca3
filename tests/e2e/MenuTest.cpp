// The skinned menus as a person meets them on a bare X server: the system menu from its button and from Alt+Space,
// its items chosen with the keyboard, and the photo-folder edit's own menu copying the folder.
#include "DesktopSession.h"

#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"
#include "storedskin/StoredSkin.h"

#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

using namespace pixolo;

namespace
{

constexpr QRect kMainGeometry(226, 139, 757, 523);
constexpr QPoint kSysMenuButton(16, 17); // its skin rectangle is (8, 9, 24, 25) in the window
constexpr QPoint kBelowSysMenuButton(8, 25);
constexpr QPoint kMinimizeButton(709, 17);
// The photo-folder edit: client area (15, 33), content panel (11, 11), the edit at (92, 272), 157 × 22.
constexpr QPoint kPathEditCentre(15 + 11 + 92 + 78, 33 + 11 + 272 + 11);
constexpr char kFolder[] = "/tmp/";

class MenuTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.ok()) << "Xvfb did not start";
        QFile ini(session.iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QByteArray("[Setup]\nPhotoPath=") + kFolder + "\n");
        ini.close();
        program = session.startProgram();
        mainWindow = session.waitForMainWindow(program);
        ASSERT_FALSE(mainWindow.isEmpty());
        ASSERT_TRUE(DesktopSession::waitUntil([&] { return geometry(mainWindow) == kMainGeometry; }, 5000));
    }

    QRect geometry(const QString &window) { return session.windowGeometry(window); }
    void xdotool(const QStringList &args) { session.xdotool(args); }
    void key(const QString &name) { xdotool({ QStringLiteral("key"), name }); }
    void clickAt(QPoint screen, int button = 1) { session.clickAt(screen, button); }

    // Waits for a window of the program other than the main window: the popup.
    QString waitForPopup()
    {
        QString popup;
        DesktopSession::waitUntil(
            [&] {
                for (const QString &w : session.visibleWindows(program->processId())) {
                    if (w != mainWindow) {
                        popup = w;
                    }
                }
                return !popup.isEmpty();
            },
            5000);
        return popup;
    }

    bool waitForNoPopup()
    {
        return DesktopSession::waitUntil(
            [&] { return session.visibleWindows(program->processId()).size() <= 1; }, 5000);
    }

    QImage screenshot() { return session.screenshot(); }

    DesktopSession session;
    QProcess *program = nullptr;
    QString mainWindow;
};

TEST_F(MenuTest, TheSystemMenuButtonShowsTheSkinnedMenuAndItsCloseEndsTheProgram)
{
    clickAt(kMainGeometry.topLeft() + kSysMenuButton);
    const QString popup = waitForPopup();
    ASSERT_FALSE(popup.isEmpty()) << "no popup window appeared";
    const QRect shown = geometry(popup);
    EXPECT_EQ(shown.topLeft(), kMainGeometry.topLeft() + kBelowSysMenuButton);
    EXPECT_EQ(shown.height(), 3 * 22 + 8 + 6) << "three items, a separator and the popup picture's frame";

    // Drawn from the skin's popup picture: the top-left corner inside the popup's shape is the picture's own.
    TbsCompressedStoredSkin stored;
    stored.SetCompressedData(QByteArray(pixoloStoredSkin().data(), pixoloStoredSkin().size()));
    TbsSkinData store;
    store.SetCompressedStoredSkin(&stored);
    const QImage picture = store.ActivePicture(store.PopupWindow.windowpictureindex)->toRgb32();
    const QImage mask = store.ActivePicture(store.PopupWindow.maskpictureindex)->toRgb32();
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] {
            const QImage screen = screenshot();
            int compared = 0;
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 3; ++x) {
                    if ((mask.pixel(x, y) & 0xFFFFFF) != 0) {
                        continue; // outside the shape
                    }
                    if (screen.pixel(shown.topLeft() + QPoint(x, y)) != picture.pixel(x, y)) {
                        return false;
                    }
                    ++compared;
                }
            }
            return compared > 0;
        },
        5000))
        << "the popup's corner is not the skin's";

    // Minimize is highlighted; Down, Down skips the separator to Close.
    key(QStringLiteral("Down"));
    key(QStringLiteral("Down"));
    key(QStringLiteral("Return"));
    ASSERT_TRUE(program->waitForFinished(10000)) << "the program did not end";
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
}

TEST_F(MenuTest, RollUpFromTheSystemMenuRollsTheWindowUp)
{
    clickAt(kMainGeometry.topLeft() + kSysMenuButton);
    ASSERT_FALSE(waitForPopup().isEmpty());
    key(QStringLiteral("Down"));
    key(QStringLiteral("Return"));
    EXPECT_TRUE(waitForNoPopup());
    EXPECT_TRUE(DesktopSession::waitUntil(
        [&] { return geometry(mainWindow) == QRect(kMainGeometry.topLeft(), QSize(757, 56)); }, 5000))
        << "geometry " << geometry(mainWindow).height();
}

TEST_F(MenuTest, AltSpaceOpensTheSystemMenuBelowItsButtonAndEscClosesIt)
{
    xdotool({ QStringLiteral("windowfocus"), QStringLiteral("--sync"), mainWindow });
    key(QStringLiteral("alt+space"));
    const QString popup = waitForPopup();
    ASSERT_FALSE(popup.isEmpty()) << "Alt+Space opened no menu";
    EXPECT_EQ(geometry(popup).topLeft(), kMainGeometry.topLeft() + kBelowSysMenuButton);
    key(QStringLiteral("Escape"));
    EXPECT_TRUE(waitForNoPopup());
    EXPECT_EQ(program->state(), QProcess::Running);
}

// Where a window manager keeps Alt+Space, Shift+F10 and the menu key on a control without a menu of its own (the
// folder button, a Tab after the folder edit) open the system menu, once.
TEST_F(MenuTest, ShiftF10AndTheMenuKeyOpenTheSystemMenuFromAControlWithoutAMenu)
{
    clickAt(kMainGeometry.topLeft() + kPathEditCentre);
    key(QStringLiteral("Tab"));
    for (const QString &keys : { QStringLiteral("shift+F10"), QStringLiteral("Menu") }) {
        key(keys);
        const QString popup = waitForPopup();
        ASSERT_FALSE(popup.isEmpty()) << keys.toStdString() << " opened no menu";
        EXPECT_EQ(geometry(popup).topLeft(), kMainGeometry.topLeft() + kBelowSysMenuButton);
        EXPECT_EQ(session.visibleWindows(program->processId()).size(), 2) << "one menu";
        key(QStringLiteral("Escape"));
        ASSERT_TRUE(waitForNoPopup());
    }
    EXPECT_EQ(program->state(), QProcess::Running);
}

TEST_F(MenuTest, TheFolderEditsSkinnedMenuSelectsAndCopiesTheFolder)
{
    const QPoint edit = kMainGeometry.topLeft() + kPathEditCentre;
    clickAt(edit, 3);
    QString popup = waitForPopup();
    ASSERT_FALSE(popup.isEmpty()) << "the right click opened no menu";
    EXPECT_EQ(geometry(popup).topLeft(), edit) << "the menu opens at the pointer";
    // Nothing is selected and the clipboard is empty: Select All is the first item that can act.
    key(QStringLiteral("Return"));
    ASSERT_TRUE(waitForNoPopup());

    clickAt(edit, 3);
    ASSERT_FALSE(waitForPopup().isEmpty());
    // With all selected, Cut comes first and Copy after it.
    key(QStringLiteral("Down"));
    key(QStringLiteral("Return"));
    ASSERT_TRUE(waitForNoPopup());
    QString clipboard;
    EXPECT_TRUE(DesktopSession::waitUntil(
        [&] {
            clipboard = session.run(QStringLiteral("xclip"),
                { QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard") });
            return clipboard == QLatin1String(kFolder);
        },
        5000))
        << "clipboard: " << clipboard.toStdString();
}

TEST_F(MenuTest, AfterTheSystemMenuClosesTheNextCaptionButtonTakesItsFirstClick)
{
    // As a person does it: press and let go on the button (the menu takes the release), Esc, then one click on
    // minimise.
    session.mouseTo(kMainGeometry.topLeft() + kSysMenuButton);
    xdotool({ QStringLiteral("mousedown"), QStringLiteral("1") });
    ASSERT_FALSE(waitForPopup().isEmpty());
    xdotool({ QStringLiteral("mouseup"), QStringLiteral("1") });
    key(QStringLiteral("Escape"));
    ASSERT_TRUE(waitForNoPopup());
    ASSERT_EQ(program->state(), QProcess::Running);
    clickAt(kMainGeometry.topLeft() + kMinimizeButton);
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return session.visibleWindows(program->processId()).isEmpty(); }, 3000))
        << "the click on minimise was lost";
}

} // namespace
