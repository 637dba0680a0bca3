#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/DefaultLook.h"
#include "skinctrls/TbsSkinLabel.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include "skin/SkinGlyphs.h"
#include "skin/TbsSkinData.h"

#include "../support/Images.h"
#include "ControlTesting.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

struct BorderCase {
    TbsSkinBorderStyle style;
    QStringList shadow; // '#' = button shadow
    QStringList highlight; // '#' = button highlight
};

class PanelBorderTest : public testing::TestWithParam<BorderCase>
{
};

// The one-pixel edge of the default look, pixel for pixel: the bottom-left corner belongs to the bottom edge and
// the top-right corner to the right edge.
TEST_P(PanelBorderTest, DrawsTheEdgeInsideAButtonFacePlate)
{
    TbsSkinPanel panel;
    panel.resize(6, 4);
    panel.SetBorderStyle(GetParam().style);
    const QImage image = rendered(&panel);
    EXPECT_EQ(inkRows(image, rgb(clBtnShadow)), GetParam().shadow);
    EXPECT_EQ(inkRows(image, rgb(clBtnHighlight)), GetParam().highlight);
    EXPECT_EQ(image.pixel(2, 2), rgb(clBtnFace));
}

INSTANTIATE_TEST_SUITE_P(Styles, PanelBorderTest,
    testing::Values(BorderCase { bvFrame, rowsOf({ "######", "#....#", "#....#", "######" }),
                        rowsOf({ "......", "......", "......", "......" }) },
        BorderCase { bvRaised, rowsOf({ ".....#", ".....#", ".....#", "######" }),
            rowsOf({ "#####.", "#.....", "#.....", "......" }) },
        BorderCase { bvLowered, rowsOf({ "#####.", "#.....", "#.....", "......" }),
            rowsOf({ ".....#", ".....#", ".....#", "######" }) },
        BorderCase { bvNone, rowsOf({ "......", "......", "......", "......" }),
            rowsOf({ "......", "......", "......", "......" }) }));

class PanelCaptionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_panel.resize(120, 60);
        m_panel.SetCaptionMode(true);
        m_panel.SetCheckedMode(true);
        m_child = new TbsSkinPanel(&m_panel);
        m_child->SetBounds(60, 40, 10, 10);
        m_panel.OnChecked = [this](QObject *sender) {
            EXPECT_EQ(sender, &m_panel);
            ++m_checkedEvents;
        };
    }

    TbsSkinPanel m_panel;
    TbsSkinPanel *m_child = nullptr;
    int m_checkedEvents = 0;
};

TEST_F(PanelCaptionTest, CaptionBarHasADoubleRaisedEdge)
{
    const QImage image = rendered(&m_panel);
    // bvFrame: the bar starts at the panel's own edge and is DefaultCaptionHeight (22) high.
    EXPECT_EQ(image.pixel(10, 0), rgb(cl3DLight));
    EXPECT_EQ(image.pixel(10, 21), rgb(cl3DDkShadow));
    EXPECT_EQ(image.pixel(10, 1), rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(10, 20), rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(119, 10), rgb(cl3DDkShadow));
}

TEST_F(PanelCaptionTest, CheckFrameAndMarkFollowChecked)
{
    // The 14 x 14 frame at x 5, centred in the bar; the mark 4 pixels in and 3 down.
    QImage mark(14, 14, QImage::Format_RGB32);
    mark.fill(rgb(clBtnFace));
    {
        QPainter painter(&mark);
        DrawCheckGlyph(painter, 4, 3, ColorToQColor(clBtnText));
    }
    const QRect frame(5, 4, 14, 14);
    QImage unchecked = rendered(&m_panel).copy(frame);
    EXPECT_EQ(inkRows(unchecked, rgb(clBtnShadow))[0], QStringLiteral("##############"));
    EXPECT_EQ(inkRows(unchecked.copy(1, 1, 12, 12), rgb(clBtnText)).join(QString()).count(QLatin1Char('#')), 0);

    m_panel.SetChecked(true);
    QImage checked = rendered(&m_panel).copy(frame);
    EXPECT_EQ(inkRows(checked.copy(1, 1, 12, 12), rgb(clBtnText)), inkRows(mark.copy(1, 1, 12, 12), rgb(clBtnText)));
}

TEST_F(PanelCaptionTest, ClickInTheCaptionTogglesCheckedAndTheChildren)
{
    click(&m_panel, QPoint(40, 10));
    EXPECT_TRUE(m_panel.Checked());
    EXPECT_TRUE(m_child->isEnabled());
    click(&m_panel, QPoint(40, 10));
    EXPECT_FALSE(m_panel.Checked());
    EXPECT_FALSE(m_child->isEnabled());
    click(&m_panel, QPoint(40, 40)); // below the caption
    EXPECT_FALSE(m_panel.Checked());
    EXPECT_EQ(m_checkedEvents, 2);
}

TEST_F(PanelCaptionTest, CheckedOutsideCheckedModeFiresButLeavesTheChildren)
{
    m_panel.SetCheckedMode(false);
    m_panel.SetChecked(false);
    m_panel.SetChecked(false);
    EXPECT_EQ(m_checkedEvents, 2);
    EXPECT_TRUE(m_child->isEnabled());
}

class RollUpTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_form.resize(200, 300);
        m_panel = new TbsSkinPanel(&m_form);
        m_panel->SetBounds(0, 0, 200, 100);
        m_panel->SetAlign(alTop);
        m_panel->SetCaptionMode(true);
        m_rest = new TbsSkinPanel(&m_form);
        m_rest->SetAlign(alClient);
        m_shown = new TbsSkinPanel(m_panel);
        m_hidden = new TbsSkinPanel(m_panel);
        m_hidden->hide();
        m_panel->OnChangeRollUpState = [this](QObject *) { ++m_events; };
        m_form.show();
    }

    QWidget m_form;
    TbsSkinPanel *m_panel = nullptr;
    TbsSkinPanel *m_rest = nullptr;
    TbsSkinPanel *m_shown = nullptr;
    TbsSkinPanel *m_hidden = nullptr;
    int m_events = 0;
};

TEST_F(RollUpTest, DoesNothingOutsideRollUpMode)
{
    m_panel->SetRollUpState(true);
    EXPECT_FALSE(m_panel->RollUpState());
    EXPECT_EQ(m_panel->height(), 100);
    EXPECT_EQ(m_events, 0);
}

TEST_F(RollUpTest, RollsUpToTheCaptionAndBackWithTheChildren)
{
    m_panel->SetRollUpMode(true);
    m_panel->SetRollUpState(true);
    EXPECT_EQ(m_panel->height(), 23);
    EXPECT_EQ(m_panel->RealHeight(), 100);
    EXPECT_TRUE(m_shown->isHidden());
    EXPECT_EQ(m_rest->geometry(), QRect(0, 23, 200, 277)); // the siblings take the room

    m_panel->SetRollUpState(false);
    EXPECT_EQ(m_panel->height(), 100);
    EXPECT_EQ(m_panel->RealHeight(), -1);
    EXPECT_FALSE(m_shown->isHidden());
    EXPECT_TRUE(m_hidden->isHidden()); // hidden before, hidden after
    EXPECT_EQ(m_rest->geometry(), QRect(0, 100, 200, 200));
    EXPECT_EQ(m_events, 2);
}

TEST_F(RollUpTest, ReleaseInTheCaptionRollsUp)
{
    m_panel->SetRollUpMode(true);
    click(m_panel, QPoint(50, 10));
    EXPECT_TRUE(m_panel->RollUpState());
    click(m_panel, QPoint(50, 10));
    EXPECT_FALSE(m_panel->RollUpState());
}

TEST(StatusBarTest, StartsDockedAtTheBottomWithoutBorder)
{
    QWidget form;
    form.resize(300, 200);
    TbsSkinStatusBar bar(&form);
    EXPECT_EQ(bar.Align(), alBottom);
    EXPECT_EQ(bar.BorderStyle(), bvNone);
    EXPECT_EQ(bar.SkinDataName(), QStringLiteral("statusbar"));
    EXPECT_EQ(bar.geometry(), QRect(0, 179, 300, 21));
}

TEST(StatusBarTest, GripNarrowsTheClientAreaByItsHeight)
{
    TbsSkinStatusBar bar;
    bar.resize(200, 30);
    bar.SetBorderStyle(bvLowered);
    auto *panel = new TbsSkinStatusPanel(&bar);
    panel->SetBorderStyle(bvNone);
    panel->SetAlign(alClient);
    EXPECT_EQ(panel->geometry(), QRect(1, 1, 198, 28));
    EXPECT_TRUE(bar.GripRect().isEmpty());

    bar.SetSizeGrip(true);
    EXPECT_EQ(panel->geometry(), QRect(1, 1, 170, 28));
    EXPECT_EQ(bar.GripRect(), rectLTRB(173, 1, 199, 27));
    // The grip's first pair of lines: shadow next to the corner, highlight one pixel further out.
    const QImage image = rendered(&bar);
    EXPECT_EQ(image.pixel(197, 26), rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(198, 25), rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(196, 26), rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(198, 24), rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(198, 26), rgb(clBtnFace));

    bar.SetGripVisible(false);
    EXPECT_EQ(panel->geometry(), QRect(1, 1, 198, 28));
}

TEST(SkinLabelTest, DefaultLookIsAFramedPlateWithTextInside)
{
    TbsSkinLabel label;
    label.SetCaption(QStringLiteral("Pixolo"));
    const QImage image = rendered(&label);
    EXPECT_EQ(image.size(), QSize(75, 21));
    EXPECT_EQ(image.pixel(0, 0), rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(74, 20), rgb(clBtnShadow));
    // The text stays inside (3, 3, width - 3, height - 3).
    const QRect ink = inkBounds(image.copy(1, 1, 73, 19), rgb(clBtnFace)).translated(1, 1);
    EXPECT_TRUE(rectLTRB(3, 3, 72, 18).contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width();
    EXPECT_FALSE(ink.isEmpty());
}

TEST(SkinLabelTest, AutoSizeFitsTheWidthUnlessDockedAcross)
{
    QWidget form;
    form.resize(400, 100);
    auto *label = new TbsSkinLabel(&form);
    label->SetCaption(QStringLiteral("A rather long label text"));
    const int textWidth = textExtent(label->DefaultFont().toQFont(), label->Caption()).width();
    label->SetAutoSize(true);
    EXPECT_EQ(label->width(), textWidth + 4);
    label->SetCaption(QStringLiteral("Short"));
    EXPECT_EQ(label->width(), textExtent(label->DefaultFont().toQFont(), QStringLiteral("Short")).width() + 4);

    auto *docked = new TbsSkinLabel(&form);
    docked->SetAlign(alTop);
    docked->SetCaption(QStringLiteral("A rather long label text"));
    docked->SetAutoSize(true);
    EXPECT_EQ(docked->width(), 400);
}

TEST(StatusPanelTest, DisabledPanelWithTwoCellsShowsTheSecondCell)
{
    // Cell 1 red, cell 2 blue, each 4 x 4, with a white bottom-left pixel (transparent).
    QImage strip(8, 4, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 0));
    QPainter(&strip).fillRect(4, 0, 4, 4, qRgb(0, 0, 255));
    strip.setPixel(0, 3, qRgb(255, 255, 255));
    strip.setPixel(4, 3, qRgb(255, 255, 255));

    TbsSkinStatusPanel panel;
    panel.resize(60, 20);
    panel.SetGlyph(TBitmap(strip));
    panel.SetNumGlyphs(2);
    EXPECT_EQ(rendered(&panel).pixel(4, 8), qRgb(255, 0, 0));
    panel.setEnabled(false);
    const QImage disabled = rendered(&panel);
    EXPECT_EQ(disabled.pixel(4, 8), qRgb(0, 0, 255));
    EXPECT_EQ(disabled.pixel(3, 11), rgb(clBtnFace)); // the transparent colour shows the plate
    panel.SetNumGlyphs(1); // one cell of the whole strip: its left part again
    EXPECT_EQ(rendered(&panel).pixel(4, 8), qRgb(255, 0, 0));
}

TEST(StdLabelTest, AutoSizeMeasuresTheTextAndAnEmptyTextAsABlank)
{
    TbsSkinStdLabel label;
    label.SetCaption(QStringLiteral("照片存储路径:"));
    const QFontMetrics metrics(label.textFont().toQFont());
    EXPECT_EQ(label.size(), metrics.boundingRect(QRect(), Qt::TextShowMnemonic, label.Caption()).size());
    label.SetCaption(QString());
    EXPECT_EQ(label.size(), metrics.boundingRect(QRect(), 0, QStringLiteral(" ")).size());
    EXPECT_GT(label.width(), 0);
}

TEST(StdLabelTest, RightAlignedAutoSizeKeepsTheRightEdge)
{
    TbsSkinStdLabel label;
    label.SetAutoSize(false);
    label.SetBounds(100, 10, 200, 20);
    label.SetAlignment(taRightJustify);
    label.SetCaption(QStringLiteral("x"));
    label.SetAutoSize(true);
    EXPECT_EQ(label.x() + label.width(), 300);
}

// Pixels much brighter than the button shadow: on black only the highlight copy of embossed text gives them.
int brightPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qGray(image.pixel(x, y)) > qGray(rgb(clBtnShadow)) + 40 ? 1 : 0;
        }
    }
    return count;
}

TEST(StdLabelTest, DisabledTextIsEmbossed)
{
    TbsSkinStdLabel label;
    label.SetCaption(QStringLiteral("Wide text"));
    // Room beyond the text: a label sized to its text cuts the highlight copy off where the ink reaches its edge.
    label.SetAutoSize(false);
    label.resize(80, 20);
    const QRgb black = qRgb(0, 0, 0);
    label.SetFont(ControlFont { QStringLiteral("Arial"), -11, 0, clWhite });
    label.SetUseSkinFont(false);
    const QRect enabled = inkBounds(rendered(&label, black), black);
    label.SetFont(ControlFont { QStringLiteral("Arial"), -11, 0, clBlack });
    EXPECT_EQ(brightPixels(rendered(&label, black)), 0);

    label.setEnabled(false);
    const QImage image = rendered(&label, black);
    EXPECT_GT(brightPixels(image), 0);
    // The highlight copy lies one pixel right and down of the text.
    const QRect embossed = inkBounds(image, black);
    EXPECT_EQ(embossed.topLeft(), enabled.topLeft());
    EXPECT_EQ(embossed.bottomRight(), enabled.bottomRight() + QPoint(1, 1));
}

TEST(StdLabelTest, IsTransparentUntilToldOtherwise)
{
    TbsSkinStdLabel label;
    label.SetAutoSize(false);
    label.resize(30, 10);
    const QRgb background = qRgb(1, 2, 3);
    EXPECT_EQ(rendered(&label, background).pixel(29, 9), background);
    label.SetTransparent(false);
    label.SetColor(clWhite);
    EXPECT_EQ(rendered(&label, background).pixel(29, 9), qRgb(255, 255, 255));
}

class SkinNoticeTest : public testing::Test
{
protected:
    TbsSkinData m_store;
    TbsSkinData m_otherStore;
};

TEST_F(SkinNoticeTest, WithoutAnEntryTheControlTakesItsDefaultSize)
{
    TbsSkinPanel panel;
    panel.SetDefaultWidth(60);
    EXPECT_EQ(panel.width(), 60);
    panel.SetDefaultHeight(0); // not above 0: left alone
    EXPECT_EQ(panel.height(), 150);
    panel.SetSkinData(&m_store); // empty store: nothing is applied yet
    EXPECT_EQ(panel.SkinData(), &m_store);
    EXPECT_EQ(panel.SkinIndex(), -1);
}

TEST_F(SkinNoticeTest, ChangeNoticeOfItsOwnStoreAppliesTheSkin)
{
    TbsSkinPanel panel;
    panel.SetSkinData(&m_store);
    panel.resize(10, 10);
    panel.SetDefaultHeight(22);
    panel.resize(10, 10);
    Q_EMIT m_otherStore.changed(&panel); // the panel is a window of its own here
    EXPECT_EQ(panel.size(), QSize(10, 10));
    QWidget elsewhere;
    Q_EMIT m_store.changed(&elsewhere); // meant for another window
    EXPECT_EQ(panel.size(), QSize(10, 10));
    Q_EMIT m_store.changed(&panel);
    EXPECT_EQ(panel.size(), QSize(10, 22));
}

TEST_F(SkinNoticeTest, StatusBarBindsItsPanelsToItsStore)
{
    TbsSkinStatusBar bar;
    auto *panel = new TbsSkinStatusPanel(&bar);
    auto *nested = new TbsSkinStatusPanel(panel);
    bar.SetSkinData(&m_store);
    EXPECT_EQ(panel->SkinData(), &m_store);
    EXPECT_EQ(nested->SkinData(), nullptr); // only the bar's own children
}

TEST_F(SkinNoticeTest, DestroyedStoreIsDropped)
{
    TbsSkinPanel panel;
    {
        TbsSkinData store;
        panel.SetSkinData(&store);
    }
    EXPECT_EQ(panel.SkinData(), nullptr);
    EXPECT_EQ(rendered(&panel).pixel(1, 1), rgb(clBtnFace));
}

} // namespace
