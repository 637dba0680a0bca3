// The skinned looks, pixel for pixel: every control type of Pixolo's windows, at the sizes the windows give it and
// in each of its states, against what the skin's builders make of its entry (text areas left out); the resize
// modes, rectangle mapping and shapes with a skin of the test's own.
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinCheckRadioBox.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinLabel.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include "../support/Images.h"
#include "ControlTesting.h"
#include "SkinTesting.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

// Controls made on a form, bound to its store, and the skin loaded after them: they hear of it through the form.
class PixoloLookTest : public testing::Test
{
protected:
    template <class Control> Control *make(const char *name, QRect bounds)
    {
        auto *control = new Control(m_skin.form.get());
        control->SetSkinDataName(QString::fromLatin1(name));
        control->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
        control->SetSkinData(m_skin.store);
        return control;
    }

    // The picture of entry `name` with `rect` cut out of it.
    QImage piece(const char *name, const TRect &rect) const
    {
        const auto &entry = m_skin.entry(QString::fromLatin1(name));
        return m_skin.store->ActivePicture(entry.pictureindex)->toRgb32().copy(toQRect(rect));
    }

    // `background` with `overlay` drawn at `at`, the overlay's bottom-left colour left out.
    static QImage withTransparentOverlay(QImage background, const QImage &overlay, QPoint at)
    {
        background = background.convertToFormat(QImage::Format_RGB32);
        const QRgb key = overlay.pixel(0, overlay.height() - 1);
        for (int y = 0; y < overlay.height(); ++y) {
            for (int x = 0; x < overlay.width(); ++x) {
                if (overlay.pixel(x, y) != key) {
                    background.setPixel(at + QPoint(x, y), overlay.pixel(x, y));
                }
            }
        }
        return background;
    }

    SkinnedForm m_skin;
};

TEST_F(PixoloLookTest, EdgeStripsShowOnlyTheTiledInnerTexture)
{
    auto *bottom = make<TbsSkinPanel>("panel", { 0, 426, 729, 11 });
    auto *side = make<TbsSkinPanel>("panel", { 0, 11, 11, 415 });
    bottom->SetBorderStyle(bvNone);
    side->SetBorderStyle(bvNone);
    m_skin.load();
    const auto &entry = m_skin.entryAs<TbsDataSkinPanelControl>(QStringLiteral("panel"));
    const QImage inner = piece("panel", offsetRect(entry.clientrect, entry.skinrect.Left, entry.skinrect.Top));
    for (TbsSkinPanel *panel : { bottom, side }) {
        const QImage image = panel->paintImage();
        ASSERT_EQ(image.size(), panel->size());
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, inner.pixel(x % inner.width(), y % inner.height()) & 0xFFFFFF)
                    << x << "," << y;
            }
        }
    }
}

TEST_F(PixoloLookTest, FramedPanelsAreTheFourCornerImageAtEachSize)
{
    std::vector<TbsSkinPanel *> panels;
    for (const QRect &bounds : { QRect(11, 11, 707, 415), QRect(22, 12, 326, 246), QRect(11, 121, 412, 152) }) {
        panels.push_back(make<TbsSkinPanel>("panel", bounds));
    }
    m_skin.load();
    const TRect skinrect = m_skin.entry(QStringLiteral("panel")).skinrect;
    for (TbsSkinPanel *panel : panels) {
        EXPECT_TRUE(sameOutside(
            panel->paintImage(), builtSkinImage(*m_skin.store, QStringLiteral("panel"), skinrect, panel->size())))
            << panel->width() << "x" << panel->height();
    }
}

TEST_F(PixoloLookTest, StatusBarAndItsPanelTakeTheSkinHeights)
{
    m_skin.form->resize(729, 467);
    auto *bar = make<TbsSkinStatusBar>("statusbar", { 0, 437, 729, 30 });
    bar->SetBorderStyle(bvLowered);
    auto *cell = new TbsSkinStatusPanel(bar);
    cell->SetSkinDataName(QStringLiteral("statuspanel"));
    cell->SetAlign(alClient);
    bar->SetSkinData(m_skin.store); // passes the store on to its panel
    m_skin.load();

    const TbsDataSkinControl &barEntry = m_skin.entry(QStringLiteral("statusbar"));
    EXPECT_EQ(bar->size(), QSize(729, RectHeight(barEntry.skinrect))); // 24, whatever the form asked
    EXPECT_TRUE(sameOutside(
        bar->paintImage(), builtSkinImage(*m_skin.store, QStringLiteral("statusbar"), barEntry.skinrect, bar->size())));

    // The panel fills the bar's skin client rectangle, which is as high as the panel's own skin.
    const TbsDataSkinControl &cellEntry = m_skin.entry(QStringLiteral("statuspanel"));
    const TRect client = m_skin.entryAs<TbsDataSkinPanelControl>(QStringLiteral("statusbar")).clientrect;
    EXPECT_EQ(cell->geometry(), QRect(client.Left, client.Top, 729 - 2 * client.Left, RectHeight(cellEntry.skinrect)));
    EXPECT_TRUE(sameOutside(cell->paintImage(),
        builtSkinImage(*m_skin.store, QStringLiteral("statuspanel"), cellEntry.skinrect, cell->size())));
}

TEST_F(PixoloLookTest, FramedLabelsDrawTheirSkinAroundTheText)
{
    auto *label = make<TbsSkinLabel>("label", { 25, 14, 368, 21 });
    label->SetCaption(QStringLiteral("版本 1.0 快拍宝"));
    m_skin.load();
    const auto &entry = m_skin.entryAs<TbsDataSkinLabelControl>(QStringLiteral("label"));
    EXPECT_EQ(label->size(), QSize(368, RectHeight(entry.skinrect)));
    TRect text = entry.clientrect;
    text.Right += 368 - RectWidth(entry.skinrect);
    const QImage image = label->paintImage();
    EXPECT_TRUE(sameOutside(image,
        builtSkinImage(*m_skin.store, QStringLiteral("label"), entry.skinrect, label->size()), { toQRect(text) }));
    // The text is there, in the skin's font colour.
    EXPECT_NE(inkBounds(image.copy(toQRect(text)), image.pixel(text.Left, text.Top)), QRect());
    EXPECT_EQ(label->textFont().Color, entry.fontcolor);
}

struct PushCase {
    int width;
    const char *caption;
};

class PushButtonLookTest : public PixoloLookTest, public testing::WithParamInterface<PushCase>
{
};

// Normal, hot, down, focused and disabled, each from its own state image; the text area is left out.
TEST_P(PushButtonLookTest, EachStateIsItsSkinImage)
{
    auto *button = make<TbsSkinButton>("button", { 10, 10, GetParam().width, 25 });
    button->SetCaption(QString::fromUtf8(GetParam().caption));
    auto *other = make<TbsSkinButton>("button", { 10, 40, 75, 25 });
    m_skin.form->show();
    QApplication::setActiveWindow(m_skin.form.get());
    m_skin.load();
    const auto &entry = m_skin.entryAs<TbsDataSkinButtonControl>(QStringLiteral("button"));
    ASSERT_EQ(button->size(), QSize(GetParam().width, RectHeight(entry.skinrect))); // the skin's height
    TRect text = entry.clientrect;
    text.Right += GetParam().width - RectWidth(entry.skinrect);
    const auto expect = [&](const TRect &state) {
        return sameOutside(button->paintImage(),
            builtSkinImage(*m_skin.store, QStringLiteral("button"), state, button->size()), { toQRect(text) });
    };
    other->setFocus();
    EXPECT_TRUE(expect(entry.skinrect));
    enter(button);
    EXPECT_TRUE(expect(entry.activeskinrect));
    other->setFocus();
    press(button, QPoint(5, 5));
    EXPECT_TRUE(expect(entry.downskinrect));
    release(button, QPoint(5, 5));
    leave(button);
    EXPECT_TRUE(button->hasFocus());
    EXPECT_TRUE(expect(entry.activeskinrect)); // focused: the active image
    button->setEnabled(false);
    EXPECT_TRUE(expect(entry.disabledskinrect));
}

INSTANTIATE_TEST_SUITE_P(MainWindowSizes, PushButtonLookTest,
    testing::Values(PushCase { 60, "浏览" }, PushCase { 75, "拍照(F8)" }, PushCase { 75, "" }),
    [](const testing::TestParamInfo<PushCase> &info) {
        return "Width" + std::to_string(info.param.width) + (*info.param.caption ? "Captioned" : "Empty");
    });

// A strip of two 16 x 16 cells: red with a blue mark, then grey; the bottom-left pixel of each is the transparent
// magenta.
QImage twoCellGlyph()
{
    QImage strip(32, 16, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 255));
    for (int y = 2; y < 14; ++y) {
        for (int x = 2; x < 14; ++x) {
            strip.setPixel(x, y, qRgb(200, 0, 0));
            strip.setPixel(16 + x, y, qRgb(128, 128, 128));
        }
    }
    strip.setPixel(5, 5, qRgb(0, 0, 255));
    return strip;
}

TEST_F(PixoloLookTest, ToolButtonStatesWithTheGlyphCellOfTheLook)
{
    auto *tool = make<TbsSkinSpeedButton>("toolbutton", { 256, 272, 25, 25 });
    tool->SetGlyph(TBitmap(twoCellGlyph()));
    tool->SetNumGlyphs(2);
    m_skin.load();
    const auto &entry = m_skin.entryAs<TbsDataSkinButtonControl>(QStringLiteral("toolbutton"));
    ASSERT_EQ(tool->size(), QSize(25, 25));
    // The glyph is centred in the client rectangle 2,2,23,23: at CX − 8 = 4 and CY − 8 = 4.
    const auto expect = [&](const TRect &state, int cell, QPoint offset) {
        const QImage skin = builtSkinImage(*m_skin.store, QStringLiteral("toolbutton"), state, tool->size());
        const QImage glyph = twoCellGlyph().copy((cell - 1) * 16, 0, 16, 16);
        return sameOutside(tool->paintImage(), withTransparentOverlay(skin, glyph, QPoint(4, 4) + offset));
    };
    EXPECT_TRUE(expect(entry.skinrect, 1, {}));
    enter(tool);
    EXPECT_TRUE(expect(entry.activeskinrect, 1, {}));
    press(tool, QPoint(10, 10));
    EXPECT_TRUE(expect(entry.downskinrect, 1, QPoint(1, 1))); // pressed: one pixel right and down
    release(tool, QPoint(10, 10));
    leave(tool);
    tool->setEnabled(false);
    EXPECT_TRUE(expect(entry.disabledskinrect, 2, {})); // disabled: the second cell
    tool->SetNumGlyphs(1);
    tool->SetGlyph(TBitmap(twoCellGlyph().copy(0, 0, 16, 16)));
    EXPECT_TRUE(expect(entry.disabledskinrect, 1, {})); // one cell only: that one
}

TEST_F(PixoloLookTest, CheckBoxKeepsItsWidthAndShowsTheStateImages)
{
    auto *box = make<TbsSkinCheckRadioBox>("checkbox", { 376, 275, 60, 22 });
    box->SetFlat(false);
    box->SetCanFocused(true);
    box->SetCaption(QStringLiteral("延时"));
    m_skin.load();
    const auto &entry = m_skin.entryAs<TbsDataSkinCheckRadioControl>(QStringLiteral("checkbox"));
    ASSERT_EQ(box->size(), QSize(60, RectHeight(entry.skinrect)));
    // The text area widens with the box (60 − 80); the check image, left of it, stays in its area.
    TRect text = entry.textarea;
    text.Right += 60 - RectWidth(entry.skinrect);
    EXPECT_EQ(box->TextRect(), toQRect(text));
    EXPECT_EQ(box->CheckImagePlace(), QRect(3, 4, 14, 14));
    const auto expect = [&](const TRect &background, const TRect &mark) {
        const QImage skin = builtSkinImage(*m_skin.store, QStringLiteral("checkbox"), background, box->size());
        return sameOutside(
            box->paintImage(), withTransparentOverlay(skin, piece("checkbox", mark), QPoint(3, 4)), { toQRect(text) });
    };
    EXPECT_TRUE(expect(entry.skinrect, entry.uncheckimagerect));
    box->SetChecked(true);
    EXPECT_TRUE(expect(entry.skinrect, entry.checkimagerect));
    enter(box);
    EXPECT_TRUE(expect(entry.activeskinrect, entry.activecheckimagerect));
    box->SetChecked(false);
    EXPECT_TRUE(expect(entry.activeskinrect, entry.activeuncheckimagerect));
    leave(box);
    box->setEnabled(false);
    EXPECT_TRUE(expect(entry.skinrect, entry.unenableduncheckimagerect));
}

TEST_F(PixoloLookTest, GrayedCheckBoxShowsTheCheckImageHalfwayToWhite)
{
    auto *box = make<TbsSkinCheckRadioBox>("checkbox", { 0, 0, 60, 22 });
    box->SetFlat(false);
    m_skin.load();
    const auto &entry = m_skin.entryAs<TbsDataSkinCheckRadioControl>(QStringLiteral("checkbox"));
    box->SetState(cbGrayed);
    const QImage mark = piece("checkbox", entry.checkimagerect);
    const QImage image = box->paintImage();
    int compared = 0;
    for (int y = 0; y < mark.height(); ++y) {
        for (int x = 0; x < mark.width(); ++x) {
            const QRgb m = mark.pixel(x, y);
            if (m == mark.pixel(0, mark.height() - 1)) {
                continue;
            }
            const auto half = [](int c) { return int(std::nearbyint((c + 255) / 2.0)); };
            EXPECT_EQ(
                image.pixel(3 + x, 4 + y) & 0xFFFFFF, qRgb(half(qRed(m)), half(qGreen(m)), half(qBlue(m))) & 0xFFFFFF);
            ++compared;
        }
    }
    EXPECT_GT(compared, 50);
}

TEST_F(PixoloLookTest, EditTakesTheSkinHeightAndItsActiveFrameWhenFocused)
{
    auto *edit = make<TbsSkinEdit>("edit", { 92, 272, 157, 18 });
    auto *other = make<TbsSkinButton>("button", { 10, 40, 75, 25 });
    edit->SetText(QStringLiteral("/tmp/"));
    m_skin.form->show();
    QApplication::setActiveWindow(m_skin.form.get());
    other->setFocus();
    m_skin.load();
    const auto &entry = m_skin.entryAs<TbsDataSkinEditControl>(QStringLiteral("edit"));
    ASSERT_EQ(edit->size(), QSize(157, RectHeight(entry.skinrect)));
    TRect text = entry.clientrect;
    text.Right += 157 - RectWidth(entry.skinrect);
    EXPECT_EQ(edit->TextRect(), toQRect(text));
    EXPECT_TRUE(sameOutside(rendered(edit),
        builtSkinImage(*m_skin.store, QStringLiteral("edit"), entry.skinrect, edit->size()), { toQRect(text) }));
    EXPECT_EQ(edit->Font().Color, entry.fontcolor);
    edit->setFocus();
    EXPECT_TRUE(sameOutside(rendered(edit),
        builtSkinImage(*m_skin.store, QStringLiteral("edit"), entry.activeskinrect, edit->size()), { toQRect(text) }));
    EXPECT_EQ(edit->Font().Color, entry.activefontcolor);
}

TEST_F(PixoloLookTest, StandardLabelTakesTheSkinsFontUnlessItHasItsOwn)
{
    auto *label = make<TbsSkinStdLabel>("stdlabel", { 16, 277, 75, 13 });
    label->SetCaption(QStringLiteral("照片存储路径:"));
    auto *heading = make<TbsSkinStdLabel>("stdlabel", { 28, 8, 69, 25 });
    heading->SetUseSkinFont(false);
    heading->SetUseSkinColor(false);
    heading->SetFont(ControlFont { QStringLiteral("MS Sans Serif"), -16, fsBold, clBlue });
    auto *line = make<TbsSkinStdLabel>("stdlabel", { 12, 32, 405, 16 });
    line->SetUseSkinFont(false);
    line->SetFont(ControlFont { QStringLiteral("MS Sans Serif"), -13, 0, clWindowText });
    m_skin.load();
    const auto &entry = m_skin.entryAs<TbsDataSkinStdLabelControl>(QStringLiteral("stdlabel"));
    EXPECT_EQ(label->textFont(), (ControlFont { entry.fontname, entry.fontheight, entry.fontstyle, entry.fontcolor }));
    EXPECT_EQ(heading->textFont().Color, clBlue);
    EXPECT_EQ(heading->textFont().Height, -16);
    EXPECT_EQ(line->textFont().Height, -13); // its own font, in the skin's colour
    EXPECT_EQ(line->textFont().Color, entry.fontcolor);
}

// The skin gives a user something to see for every state change: no two state pictures of a button, the tool
// button or the check box look the same.
TEST_F(PixoloLookTest, EveryStatePictureOfTheSkinLooksDifferent)
{
    m_skin.load();
    const auto distinct = [](const std::vector<QImage> &images) {
        for (size_t i = 0; i < images.size(); ++i) {
            for (size_t j = i + 1; j < images.size(); ++j) {
                if (images[i] == images[j]) {
                    return testing::AssertionFailure() << "states " << i << " and " << j << " look the same";
                }
            }
        }
        return testing::AssertionSuccess();
    };
    for (const char *name : { "button", "toolbutton" }) {
        const auto &entry = m_skin.entryAs<TbsDataSkinButtonControl>(QString::fromLatin1(name));
        std::vector<QImage> states;
        for (const TRect &state :
            { entry.skinrect, entry.activeskinrect, entry.downskinrect, entry.disabledskinrect }) {
            states.push_back(piece(name, state));
        }
        EXPECT_TRUE(distinct(states)) << name;
    }
    const auto &box = m_skin.entryAs<TbsDataSkinCheckRadioControl>(QStringLiteral("checkbox"));
    EXPECT_TRUE(distinct({ piece("checkbox", box.skinrect), piece("checkbox", box.activeskinrect) }));
    EXPECT_TRUE(distinct({ piece("checkbox", box.uncheckimagerect), piece("checkbox", box.checkimagerect),
        piece("checkbox", box.activeuncheckimagerect), piece("checkbox", box.activecheckimagerect),
        piece("checkbox", box.unenableduncheckimagerect), piece("checkbox", box.unenabledcheckimagerect) }));
    const auto &edit = m_skin.entryAs<TbsDataSkinEditControl>(QStringLiteral("edit"));
    EXPECT_TRUE(distinct({ piece("edit", edit.skinrect), piece("edit", edit.activeskinrect) }));
}

// A skin of the test's own: a picture of coordinate colours, entries of every resize mode and a shaped one.
class SyntheticSkinTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QImage mask = filledImage(10, 6, qRgb(0, 0, 0));
        mask.setPixel(0, 0, qRgb(255, 255, 255));
        mask.setPixel(9, 5, qRgb(255, 255, 255));
        QImage wideMask = filledImage(20, 10, qRgb(0, 0, 0));
        wideMask.setPixel(0, 0, qRgb(255, 255, 255));
        wideMask.setPixel(19, 9, qRgb(255, 255, 255));
        m_skin.useFolder("[VERSION]\r\nskinname=test\r\n"
                         "[PICTURES]\r\npicture=form.bmp\r\nmask=formmask.bmp\r\nactivepicturescount=3\r\n"
                         "0=controls.bmp\r\n1=mask.bmp\r\n2=widemask.bmp\r\n"
                         "[FORMINFO]\r\nlefttoppoint=9,8\r\nrighttoppoint=20,8\r\nleftbottompoint=9,16\r\n"
                         "rightbottompoint=20,16\r\nclientrect=5,6,24,19\r\nmaskrectarea=5,6,24,19\r\n"
                         "[SKINOBJECTS]\r\ncount=0\r\n"
                         "[SKINCONTROLS]\r\ncount=6\r\n0=fixed:panel\r\n1=both:panel\r\n2=width:panel\r\n"
                         "3=height:panel\r\n4=none:panel\r\n5=std:stdlabel\r\n"
                         "[fixed]\r\npictureindex=0\r\nmaskpictureindex=1\r\nskinrect=2,3,12,9\r\n"
                         "[both]\r\npictureindex=0\r\nskinrect=0,0,20,16\r\nlefttoppoint=4,3\r\nrighttoppoint=15,3\r\n"
                         "leftbottompoint=4,12\r\nrightbottompoint=15,12\r\nclientrect=4,3,15,12\r\n"
                         "[width]\r\npictureindex=0\r\nmaskpictureindex=2\r\nskinrect=0,20,20,30\r\n"
                         "lefttoppoint=5,4\r\nrighttoppoint=13,4\r\nclientrect=5,2,13,8\r\n"
                         "[height]\r\npictureindex=0\r\nskinrect=22,0,30,20\r\nleftbottompoint=3,14\r\n"
                         "lefttoppoint=3,5\r\nclientrect=2,5,6,14\r\n"
                         "[none]\r\npictureindex=0\r\nskinrect=5,5,5,9\r\nrightbottompoint=3,3\r\n"
                         "[std]\r\nfontname=Arial\r\n",
            { { QStringLiteral("form.bmp"), coordinateImage(30, 24) },
                { QStringLiteral("formmask.bmp"), filledImage(30, 24, qRgb(0, 0, 0)) },
                { QStringLiteral("controls.bmp"), coordinateImage(40, 40) }, { QStringLiteral("mask.bmp"), mask },
                { QStringLiteral("widemask.bmp"), wideMask } });
        m_skin.load();
        ASSERT_FALSE(m_skin.store->Empty());
    }

    TbsSkinCustomControl *control(const char *name, QSize size)
    {
        auto *c = new TbsSkinCustomControl(m_skin.form.get());
        c->SetSkinDataName(QString::fromLatin1(name));
        c->SetBounds(0, 0, size.width(), size.height());
        c->SetSkinData(m_skin.store);
        return c;
    }

    SkinnedForm m_skin;
};

struct ResizeCase {
    const char *entry;
    int mode;
    QSize asked;
    QSize taken;
};

class ResizeModeTest : public SyntheticSkinTest, public testing::WithParamInterface<ResizeCase>
{
};

// The size each mode gives and the image drawn at it (the builders' image of the skin rectangle).
TEST_P(ResizeModeTest, TakesTheModesSizeAndDrawsTheSkinAtIt)
{
    const ResizeCase &c = GetParam();
    TbsSkinCustomControl *ctl = control(c.entry, c.asked);
    EXPECT_EQ(ctl->ResizeMode(), c.mode);
    EXPECT_EQ(ctl->size(), c.taken);
    const QImage image = ctl->paintImage();
    if (c.mode == srmNone) {
        EXPECT_EQ(inkBounds(image, 0), QRect()); // nothing drawn: the bitmap stays transparent
        return;
    }
    const TRect skinrect = m_skin.entry(QString::fromLatin1(c.entry)).skinrect;
    EXPECT_TRUE(sameOutside(image, builtSkinImage(*m_skin.store, QString::fromLatin1(c.entry), skinrect, c.taken)));
    // Asking again for another size keeps to the mode's rule.
    ctl->SetBounds(0, 0, c.asked.width() + 3, c.asked.height() + 2);
    const QSize again(c.mode == srmFixed || c.mode == srmHeight ? c.taken.width() : c.asked.width() + 3,
        c.mode == srmFixed || c.mode == srmWidth ? c.taken.height() : c.asked.height() + 2);
    EXPECT_EQ(ctl->size(), c.mode == srmNone ? c.asked + QSize(3, 2) : again);
}

INSTANTIATE_TEST_SUITE_P(Modes, ResizeModeTest,
    testing::Values(ResizeCase { "none", srmNone, QSize(17, 13), QSize(17, 13) },
        ResizeCase { "fixed", srmFixed, QSize(17, 13), QSize(10, 6) },
        ResizeCase { "both", srmBoth, QSize(33, 27), QSize(33, 27) },
        ResizeCase { "both", srmBoth, QSize(21, 17), QSize(21, 17) },
        ResizeCase { "width", srmWidth, QSize(31, 17), QSize(31, 10) },
        ResizeCase { "width", srmWidth, QSize(23, 3), QSize(23, 10) },
        ResizeCase { "height", srmHeight, QSize(13, 29), QSize(8, 29) },
        ResizeCase { "height", srmHeight, QSize(5, 21), QSize(8, 21) }),
    [](const testing::TestParamInfo<ResizeCase> &info) {
        return std::string(info.param.entry) + std::to_string(info.param.asked.width()) + "x"
            + std::to_string(info.param.asked.height());
    });

TEST_F(SyntheticSkinTest, FourCornerControlGrowsItsClientRectangleWithItsSize)
{
    TbsSkinCustomControl *ctl = control("both", QSize(33, 27));
    ctl->paintImage();
    EXPECT_EQ(ctl->NewPoints().ClRect, (TRect { 4, 3, 15 + 13, 12 + 11 }));
    EXPECT_EQ(ctl->NewPoints().RB, (TPoint { 15 + 13, 12 + 11 }));
    EXPECT_EQ(ctl->NewPoints().LT, (TPoint { 4, 3 }));
}

struct MapCase {
    const char *entry;
    QSize size;
    TRect in;
    TRect out;
};

class MapSkinRectTest : public SyntheticSkinTest, public testing::WithParamInterface<MapCase>
{
};

TEST_P(MapSkinRectTest, MovesOrWidensByTheAreasTheCornersLieIn)
{
    TbsSkinCustomControl *ctl = control(GetParam().entry, GetParam().size);
    EXPECT_EQ(ctl->MapSkinRect(GetParam().in), GetParam().out);
}

// "both": skin 20 x 16, corners LT 4,3 RT 15,3 LB 4,12 RB 15,12, at 33 x 27 (dx 13, dy 11). "width": LT 5,4 RT
// 13,4 at 31 wide (dx 11). "height": LT 3,5 LB 3,14 at 29 high (dy 9).
INSTANTIATE_TEST_SUITE_P(Areas, MapSkinRectTest,
    testing::Values(MapCase { "both", QSize(33, 27), { 1, 1, 3, 2 }, { 1, 1, 3, 2 } },
        MapCase { "both", QSize(33, 27), { 16, 1, 19, 2 }, { 29, 1, 32, 2 } },
        MapCase { "both", QSize(33, 27), { 1, 13, 3, 15 }, { 1, 24, 3, 26 } },
        MapCase { "both", QSize(33, 27), { 16, 13, 19, 15 }, { 29, 24, 32, 26 } },
        MapCase { "both", QSize(33, 27), { 2, 1, 18, 2 }, { 2, 1, 31, 2 } },
        MapCase { "both", QSize(33, 27), { 2, 1, 18, 14 }, { 2, 1, 31, 25 } },
        MapCase { "both", QSize(33, 27), { 2, 13, 18, 15 }, { 2, 24, 31, 26 } },
        MapCase { "both", QSize(33, 27), { 1, 1, 3, 14 }, { 1, 1, 3, 25 } },
        MapCase { "both", QSize(33, 27), { 16, 1, 19, 14 }, { 29, 1, 32, 25 } },
        MapCase { "width", QSize(31, 10), { 2, 1, 15, 5 }, { 2, 1, 26, 5 } },
        MapCase { "width", QSize(31, 10), { 14, 1, 18, 5 }, { 25, 1, 29, 5 } },
        MapCase { "width", QSize(31, 10), { 6, 1, 9, 5 }, { 6, 1, 9, 5 } },
        MapCase { "height", QSize(8, 29), { 1, 2, 4, 16 }, { 1, 2, 4, 25 } },
        MapCase { "height", QSize(8, 29), { 1, 15, 4, 18 }, { 1, 24, 4, 27 } },
        MapCase { "fixed", QSize(10, 6), { 1, 1, 4, 4 }, { 1, 1, 4, 4 } }));

TEST_F(SyntheticSkinTest, MaskPictureShapesTheControlAndGoesWithTheEntry)
{
    TbsSkinCustomControl *fixed = control("fixed", QSize(17, 13));
    QRegion expected(0, 0, 10, 6);
    expected -= QRegion(0, 0, 1, 1);
    expected -= QRegion(9, 5, 1, 1);
    EXPECT_EQ(fixed->mask(), expected);

    // In width the mask is cut like the picture: both white corners stay at the ends.
    TbsSkinCustomControl *wide = control("width", QSize(31, 10));
    QRegion wideShape(0, 0, 31, 10);
    wideShape -= QRegion(0, 0, 1, 1);
    wideShape -= QRegion(30, 9, 1, 1);
    EXPECT_EQ(wide->mask(), wideShape);

    fixed->SetSkinDataName(QStringLiteral("both")); // an entry without a mask: no shape
    fixed->ApplySkin();
    EXPECT_TRUE(fixed->mask().isEmpty());
}

TEST_F(SyntheticSkinTest, EntryWithoutGeometryOrPictureLeavesTheDefaultLook)
{
    TbsSkinPanel *panel = new TbsSkinPanel(m_skin.form.get());
    panel->SetSkinDataName(QStringLiteral("std")); // a standard label's entry: no picture, no points
    panel->SetSkinData(m_skin.store);
    EXPECT_NE(panel->SkinIndex(), -1);
    EXPECT_EQ(panel->size(), QSize(150, 150)); // its empty skin rectangle leaves the size alone
    EXPECT_EQ(panel->paintImage().pixel(5, 5), rgb(clBtnFace));
}

} // namespace
