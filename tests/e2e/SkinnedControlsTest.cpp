// The main window's controls as the screen shows them, against the skin's own images: at rest, under the pointer,
// walked with Tab and ticked with space.
#include "DesktopSession.h"

#include "../skinctrls/SkinTesting.h"

#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <vector>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

// Where the client area lies in the main window: the screenshot checks below are all relative to it.
constexpr QPoint kClientOrigin(15, 33);
constexpr QSize kClientSize(729, 467);

// Places in the client area with the skin's sizes: the 11-pixel edge strips, the content panel above the status bar
// (24 pixels, the skin's height), the two framed boxes and the row of controls in the content panel at (11, 11).
constexpr QPoint kContent(11, 11);
const QRect kTopStrip(0, 0, 729, 11);
const QRect kLeftStrip(0, 11, 11, 421);
const QRect kRightStrip(718, 11, 11, 421);
const QRect kBottomStrip(0, 432, 729, 11);
const QRect kContentPanel(11, 11, 707, 421);
const QRect kStatusBar(0, 443, 729, 24);
const QRect kPreviewBox = QRect(22, 12, 326, 246).translated(kContent);
const QRect kPictureBox = QRect(360, 12, 326, 246).translated(kContent);
const QRect kPathEdit = QRect(92, 272, 157, 22).translated(kContent);
const QRect kFolderButton = QRect(256, 272, 25, 25).translated(kContent);
const QRect kBrowseButton = QRect(286, 272, 60, 21).translated(kContent);
const QRect kSnapshotButton = QRect(446, 272, 75, 21).translated(kContent);
const QRect kCloseButton = QRect(531, 272, 75, 21).translated(kContent);
const QRect kAboutButton = QRect(617, 272, 75, 21).translated(kContent);
const QRect kDelayBox = QRect(376, 275, 60, 22).translated(kContent);

class SkinnedControlsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.ok()) << "Xvfb did not start";
        skin.load();
        ASSERT_FALSE(skin.store->Empty());
        QFile ini(session.iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Setup]\nPhotoPath=/tmp/\n");
        ini.close();
        program = session.startProgram();
        window = session.waitForMainWindow(program);
        ASSERT_FALSE(window.isEmpty());
        origin = session.windowGeometry(window).topLeft() + kClientOrigin;
        park();
    }

    // The pointer away from every control.
    void park() { session.mouseTo(QPoint(0, 0)); }
    void pointAt(const QRect &place) { session.mouseTo(origin + place.center()); }
    void key(const QString &name) { session.keyTo(window, name); }
    QImage clientArea() { return session.screenshot().copy(QRect(origin, kClientSize)); }

    // The skin's image of `entry` in the state `state` at the control's size.
    QImage built(const char *entry, const TRect &state, QSize size)
    {
        return builtSkinImage(*skin.store, QString::fromLatin1(entry), state, size);
    }

    const TbsDataSkinButtonControl &button()
    {
        return skin.entryAs<TbsDataSkinButtonControl>(QStringLiteral("button"));
    }
    const TbsDataSkinCheckRadioControl &checkBox()
    {
        return skin.entryAs<TbsDataSkinCheckRadioControl>(QStringLiteral("checkbox"));
    }

    // A push button at `place` shows `state`; its text area is left out.
    testing::AssertionResult buttonShows(const QImage &shot, const QRect &place, const TRect &state)
    {
        const QRect text(3, 2, place.width() - 6, 17);
        return sameOutside(shot.copy(place), built("button", state, place.size()), { text });
    }

    // The check box shows its background `background` with the check image `mark` at (3, 4); the text area is
    // left out.
    testing::AssertionResult boxShows(const QImage &shot, const TRect &background, const TRect &mark)
    {
        QImage expected = built("checkbox", background, kDelayBox.size()).convertToFormat(QImage::Format_RGB32);
        const QImage picture = skin.store->ActivePicture(checkBox().pictureindex)->toRgb32();
        const QImage image = picture.copy(toQRect(mark));
        const QRgb key = image.pixel(0, image.height() - 1);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != key) {
                    expected.setPixel(3 + x, 4 + y, image.pixel(x, y));
                }
            }
        }
        return sameOutside(shot.copy(kDelayBox), expected, { QRect(21, 0, 37, 22) });
    }

    bool editShows(const QImage &shot, const TRect &state)
    {
        return sameOutside(shot.copy(kPathEdit), built("edit", state, kPathEdit.size()), { QRect(4, 3, 149, 16) });
    }

    // Waits until a fresh screenshot satisfies `check`; the last one is left in `shot`.
    bool waitForShot(const std::function<bool(const QImage &)> &check)
    {
        return DesktopSession::waitUntil([&] { return check(shot = clientArea()); }, 5000);
    }

    SkinnedForm skin;
    DesktopSession session;
    QProcess *program = nullptr;
    QString window;
    QPoint origin;
    QImage shot;
};

TEST_F(SkinnedControlsTest, EveryControlOfTheMainWindowShowsItsSkin)
{
    const auto &panel = skin.entryAs<TbsDataSkinPanelControl>(QStringLiteral("panel"));
    const TRect inner = offsetRect(panel.clientrect, panel.skinrect.Left, panel.skinrect.Top);
    const QImage picture = skin.store->ActivePicture(panel.pictureindex)->toRgb32();
    const auto strip = [&](QSize size) {
        QImage image(size, QImage::Format_RGB32);
        tile(image, image.rect(), picture, toQRect(inner));
        return image;
    };
    ASSERT_TRUE(waitForShot([&](const QImage &s) {
        return sameOutside(s.copy(kSnapshotButton), built("button", button().skinrect, kSnapshotButton.size()),
            { QRect(3, 2, 69, 17) });
    }));
    for (const QRect &place : { kTopStrip, kLeftStrip, kRightStrip, kBottomStrip }) {
        EXPECT_TRUE(sameOutside(shot.copy(place), strip(place.size()))) << place.x() << "," << place.y();
    }
    // The content panel around its children (the preview and picture boxes, the two bevels, the label and the
    // row of controls are checked on their own).
    const QRect row = QRect(0, 253, 707, 60);
    EXPECT_TRUE(sameOutside(shot.copy(kContentPanel), built("panel", panel.skinrect, kContentPanel.size()),
        { kPreviewBox.translated(-kContent), kPictureBox.translated(-kContent), row }));
    for (const QRect &box : { kPreviewBox, kPictureBox }) {
        EXPECT_TRUE(sameOutside(shot.copy(box), built("panel", panel.skinrect, box.size()), { QRect(3, 3, 320, 240) }));
    }
    const auto &bar = skin.entry(QStringLiteral("statusbar"));
    const auto &cell = skin.entry(QStringLiteral("statuspanel"));
    EXPECT_TRUE(sameOutside(
        shot.copy(kStatusBar), built("statusbar", bar.skinrect, kStatusBar.size()), { QRect(3, 3, 723, 18) }));
    EXPECT_TRUE(sameOutside(shot.copy(QRect(3, 3, 723, 18).translated(kStatusBar.topLeft())),
        built("statuspanel", cell.skinrect, QSize(723, 18))));
    for (const QRect &place : { kBrowseButton, kSnapshotButton, kCloseButton, kAboutButton }) {
        EXPECT_TRUE(buttonShows(shot, place, button().skinrect)) << place.x();
    }
    const auto &tool = skin.entry(QStringLiteral("toolbutton"));
    EXPECT_TRUE(sameOutside(shot.copy(kFolderButton), built("toolbutton", tool.skinrect, kFolderButton.size()),
        { QRect(4, 4, 16, 16) })); // the glyph
    EXPECT_TRUE(editShows(shot, skin.entry(QStringLiteral("edit")).skinrect));
    EXPECT_TRUE(boxShows(shot, checkBox().skinrect, checkBox().uncheckimagerect));
}

TEST_F(SkinnedControlsTest, PointerOverTheSnapshotButtonShowsItsHotLook)
{
    ASSERT_TRUE(waitForShot([&](const QImage &s) { return buttonShows(s, kSnapshotButton, button().skinrect); }));
    pointAt(kSnapshotButton);
    EXPECT_TRUE(waitForShot([&](const QImage &s) { return buttonShows(s, kSnapshotButton, button().activeskinrect); }));
    EXPECT_TRUE(buttonShows(shot, kCloseButton, button().skinrect));
    park();
    EXPECT_TRUE(waitForShot([&](const QImage &s) { return buttonShows(s, kSnapshotButton, button().skinrect); }));
}

TEST_F(SkinnedControlsTest, TabWalksTheTabOrderWithTheFolderButtonAndSpaceTicksTheDelayBox)
{
    // Into the path edit with a click; then each Tab brings the next control's focused look.
    pointAt(kPathEdit);
    session.run(QStringLiteral("xdotool"), { QStringLiteral("click"), QStringLiteral("1") });
    park();
    const auto &edit = skin.entry(QStringLiteral("edit"));
    const TRect activeEdit = skin.entryAs<TbsDataSkinEditControl>(QStringLiteral("edit")).activeskinrect;
    ASSERT_TRUE(waitForShot([&](const QImage &s) { return editShows(s, activeEdit); }));
    // The folder button next: its active look with the focus mark, the edit back to normal.
    const auto &tool = skin.entry(QStringLiteral("toolbutton"));
    const QImage toolNormal = built("toolbutton", tool.skinrect, kFolderButton.size());
    key(QStringLiteral("Tab"));
    EXPECT_TRUE(waitForShot([&](const QImage &s) {
        return editShows(s, edit.skinrect) && !sameOutside(s.copy(kFolderButton), toolNormal, { QRect(4, 4, 16, 16) });
    })) << "the folder button shows the focus";
    const std::vector<QRect> buttons { kBrowseButton, kSnapshotButton, kCloseButton, kAboutButton };
    for (size_t i = 0; i < buttons.size(); ++i) {
        key(QStringLiteral("Tab"));
        EXPECT_TRUE(waitForShot([&](const QImage &s) {
            bool ok = buttonShows(s, buttons[i], button().activeskinrect) && editShows(s, edit.skinrect)
                && sameOutside(s.copy(kFolderButton), toolNormal, { QRect(4, 4, 16, 16) });
            for (size_t j = 0; j < buttons.size(); ++j) {
                ok = ok && (j == i || buttonShows(s, buttons[j], button().skinrect));
            }
            return ok;
        })) << "after Tab "
            << i + 1;
    }
    key(QStringLiteral("Tab"));
    EXPECT_TRUE(waitForShot([&](const QImage &s) {
        return boxShows(s, checkBox().activeskinrect, checkBox().uncheckimagerect)
            && buttonShows(s, kAboutButton, button().skinrect);
    }));
    key(QStringLiteral("space"));
    EXPECT_TRUE(waitForShot(
        [&](const QImage &s) { return boxShows(s, checkBox().activeskinrect, checkBox().checkimagerect); }));
    // On round: the preview (a tab stop of its own), then the path again.
    key(QStringLiteral("Tab"));
    EXPECT_TRUE(
        waitForShot([&](const QImage &s) { return boxShows(s, checkBox().skinrect, checkBox().checkimagerect); }));
    key(QStringLiteral("Tab"));
    EXPECT_TRUE(waitForShot([&](const QImage &s) { return editShows(s, activeEdit); }));
}

} // namespace
