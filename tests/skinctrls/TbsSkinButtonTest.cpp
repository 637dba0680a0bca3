#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinEdit.h"

#include "../support/Images.h"
#include "ControlTesting.h"

#include <QDialog>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

struct LayoutCase {
    const char *name;
    QRect area;
    QSize glyph;
    QSize text;
    TButtonLayout layout;
    int margin;
    int spacing;
    bool pressed;
    QPoint glyphAt;
    QPoint textAt;
};

class GlyphCaptionLayoutTest : public testing::TestWithParam<LayoutCase>
{
};

TEST_P(GlyphCaptionLayoutTest, PlacesGlyphAndText)
{
    const LayoutCase &c = GetParam();
    const GlyphCaptionLayout at
        = layoutGlyphAndCaption(c.area, c.glyph, c.text, c.layout, c.margin, c.spacing, c.pressed);
    EXPECT_EQ(at.glyph, c.glyphAt);
    EXPECT_EQ(at.text, c.textAt);
}

// CX, CY are the area's centre; HW = (tw + gw + spacing) div 2, HH = (th + gh + spacing) div 2.
INSTANTIATE_TEST_SUITE_P(Layouts, GlyphCaptionLayoutTest,
    testing::Values(
        // The folder tool button: no caption, a 16-pixel glyph, spacing 1: the glyph at CX - 8.
        LayoutCase { "ToolButton", QRect(0, 0, 25, 25), QSize(16, 16), QSize(0, 0), blGlyphLeft, -1, 1, false,
            QPoint(4, 4), QPoint(20, 12) },
        LayoutCase { "Left", QRect(0, 0, 75, 25), QSize(16, 16), QSize(30, 13), blGlyphLeft, -1, 4, false,
            QPoint(12, 4), QPoint(32, 6) },
        LayoutCase { "Right", QRect(0, 0, 75, 25), QSize(16, 16), QSize(30, 13), blGlyphRight, -1, 4, false,
            QPoint(46, 4), QPoint(12, 6) },
        LayoutCase { "Top", QRect(0, 0, 75, 50), QSize(16, 16), QSize(30, 13), blGlyphTop, -1, 3, false, QPoint(29, 9),
            QPoint(22, 28) },
        LayoutCase { "Bottom", QRect(0, 0, 75, 50), QSize(16, 16), QSize(30, 13), blGlyphBottom, -1, 3, false,
            QPoint(29, 25), QPoint(22, 9) },
        LayoutCase { "MarginLeft", QRect(10, 0, 75, 25), QSize(16, 16), QSize(30, 13), blGlyphLeft, 2, 4, false,
            QPoint(12, 4), QPoint(32, 6) },
        LayoutCase { "MarginRight", QRect(0, 0, 75, 25), QSize(16, 16), QSize(30, 13), blGlyphRight, 2, 4, false,
            QPoint(57, 4), QPoint(23, 6) },
        LayoutCase { "MarginTop", QRect(0, 0, 75, 50), QSize(16, 16), QSize(30, 13), blGlyphTop, 5, 3, false,
            QPoint(29, 5), QPoint(22, 24) },
        LayoutCase { "MarginBottom", QRect(0, 0, 75, 50), QSize(16, 16), QSize(30, 13), blGlyphBottom, 5, 3, false,
            QPoint(29, 29), QPoint(22, 13) },
        LayoutCase { "Pressed", QRect(0, 0, 25, 25), QSize(16, 16), QSize(0, 0), blGlyphLeft, -1, 1, true, QPoint(5, 5),
            QPoint(21, 13) },
        // A caption wider than the button starts left of it: the halves truncate toward zero.
        LayoutCase { "Overflow", QRect(0, 0, 10, 10), QSize(0, 0), QSize(31, 9), blGlyphLeft, -1, 0, false,
            QPoint(-10, 5), QPoint(-11, 1) }),
    [](const testing::TestParamInfo<LayoutCase> &info) { return std::string(info.param.name); });

TEST(SkinButtonLookTest, NormalHotAndDownFaces)
{
    TbsSkinButton button;
    button.resize(20, 10);
    QImage image = rendered(&button);
    EXPECT_EQ(image.pixel(0, 0), rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(19, 9), rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(5, 5), rgb(clBtnFace));

    enter(&button);
    image = rendered(&button);
    EXPECT_EQ(image.pixel(0, 0), rgb(clNavy));
    EXPECT_EQ(image.pixel(5, 5), rgb(13811126));

    press(&button, QPoint(5, 5));
    image = rendered(&button);
    EXPECT_EQ(image.pixel(19, 9), rgb(clNavy));
    EXPECT_EQ(image.pixel(5, 5), rgb(11899781));
}

TEST(SkinButtonLookTest, FlatAndTransparentToolButtons)
{
    TbsSkinSpeedButton tool;
    tool.resize(10, 10);
    const QRgb background = qRgb(1, 2, 3);
    tool.SetFlat(true); // also transparent: nothing but glyph and caption
    EXPECT_EQ(rendered(&tool, background).pixel(0, 0), background);
    EXPECT_EQ(rendered(&tool, background).pixel(5, 5), background);
    tool.SetTransparent(false); // flat and opaque: face, no edge
    EXPECT_EQ(rendered(&tool, background).pixel(0, 0), rgb(clBtnFace));
    enter(&tool); // hot: the full hot look even when flat
    EXPECT_EQ(rendered(&tool, background).pixel(0, 0), rgb(clNavy));
}

TEST(SkinButtonLookTest, DisabledCaptionIsButtonShadow)
{
    TbsSkinButton button;
    button.SetCaption(QStringLiteral("关闭"));
    const QRect text = inkBounds(rendered(&button).copy(1, 1, 73, 23), rgb(clBtnFace));
    ASSERT_TRUE(text.isValid());
    button.setEnabled(false);
    ControlFont font = button.DefaultFont();
    font.Color = clRed;
    button.SetDefaultFont(font); // the font colour does not matter while disabled
    const QImage image = rendered(&button).copy(1, 1, 73, 23);
    EXPECT_EQ(inkRows(image, qRgb(255, 0, 0)).join(QString()).count(QLatin1Char('#')), 0);
    EXPECT_EQ(inkBounds(image, rgb(clBtnFace)), text);
}

// A strip of `count` 4 x 4 cells; cell n is filled with colour n but for its white (transparent) bottom-left pixel.
TBitmap cells(int count)
{
    static const QRgb colours[] = { qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 255, 0), qRgb(255, 255, 0) };
    QImage strip(4 * count, 4, QImage::Format_RGB32);
    QPainter painter(&strip);
    for (int i = 0; i < count; ++i) {
        painter.fillRect(4 * i, 0, 4, 4, colours[i]);
    }
    painter.end();
    for (int i = 0; i < count; ++i) {
        strip.setPixel(4 * i, 3, qRgb(255, 255, 255));
    }
    return TBitmap(strip);
}

struct CellCase {
    int count;
    bool enabled;
    bool hot;
    bool down;
    QRgb shown;
};

class GlyphCellTest : public testing::TestWithParam<CellCase>
{
};

TEST_P(GlyphCellTest, ChoosesTheCellByTheLookDrawn)
{
    const CellCase &c = GetParam();
    TbsSkinSpeedButton tool;
    tool.SetGlyph(cells(c.count));
    tool.SetNumGlyphs(c.count);
    tool.setEnabled(c.enabled);
    if (c.hot) {
        enter(&tool);
    }
    if (c.down) {
        tool.SetDown(true);
    }
    // Centred: HW = (0 + 4 + 1) div 2 = 2, so the glyph starts at (12 - 2, 12 - 2); drawn down it moves by one.
    const QPoint at = c.down && c.hot ? QPoint(12, 12) : QPoint(11, 11);
    EXPECT_EQ(rendered(&tool).pixel(at), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Cells, GlyphCellTest,
    testing::Values(CellCase { 2, false, false, false, qRgb(0, 0, 255) }, // disabled: cell 2
        CellCase { 1, false, false, false, qRgb(255, 0, 0) }, // one cell only
        CellCase { 4, true, true, false, qRgb(255, 255, 0) }, // active: cell 4
        CellCase { 3, true, true, true, qRgb(0, 255, 0) }, // down: cell 3
        CellCase { 3, true, true, false, qRgb(255, 0, 0) }, // active, 3: cell 1
        CellCase { 4, true, false, false, qRgb(255, 0, 0) }));

class ButtonClickTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_form.resize(300, 100);
        m_button = new TbsSkinButton(&m_form);
        m_button->SetBounds(10, 10, 75, 25);
        m_button->OnClick = [this](QObject *sender) {
            EXPECT_EQ(sender, m_button);
            m_order += QStringLiteral("click ");
        };
        m_button->OnMouseUp
            = [this](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { m_order += QStringLiteral("up "); };
        m_form.show();
        m_form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
    }

    int clicks() const { return int(m_order.count(QStringLiteral("click"))); }

    QWidget m_form;
    TbsSkinButton *m_button = nullptr;
    QString m_order;
};

TEST_F(ButtonClickTest, ClickFiresOnceOnReleaseAndTakesTheFocus)
{
    press(m_button, QPoint(5, 5));
    EXPECT_EQ(clicks(), 0);
    EXPECT_TRUE(m_button->Down());
    EXPECT_TRUE(m_button->hasFocus());
    release(m_button, QPoint(5, 5));
    EXPECT_EQ(m_order, QStringLiteral("click up "));
    EXPECT_FALSE(m_button->Down());
}

TEST_F(ButtonClickTest, DraggingOffCancelsAndDraggingBackRestores)
{
    press(m_button, QPoint(5, 5));
    drag(m_button, QPoint(200, 5));
    EXPECT_FALSE(m_button->drawnDown());
    release(m_button, QPoint(200, 5));
    EXPECT_EQ(clicks(), 0);
    EXPECT_FALSE(m_button->Down());

    press(m_button, QPoint(5, 5));
    drag(m_button, QPoint(200, 5));
    drag(m_button, QPoint(6, 6));
    EXPECT_TRUE(m_button->drawnDown());
    release(m_button, QPoint(6, 6));
    EXPECT_EQ(clicks(), 1);
}

TEST_F(ButtonClickTest, DisabledButtonFiresNothing)
{
    m_button->setEnabled(false);
    click(m_button);
    QTest::keyClick(m_button, Qt::Key_Space);
    m_button->setEnabled(true);
    EXPECT_EQ(clicks(), 0);
    EXPECT_FALSE(m_button->Down());
}

TEST_F(ButtonClickTest, SpaceClicksOnReleaseOnceHoweverLongItIsHeld)
{
    m_button->setFocus();
    QTest::keyPress(m_button, Qt::Key_Space);
    EXPECT_TRUE(m_button->Down());
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(m_button, &repeat);
    QApplication::sendEvent(m_button, &repeat);
    EXPECT_EQ(clicks(), 0);
    QTest::keyRelease(m_button, Qt::Key_Space);
    EXPECT_EQ(clicks(), 1);
    EXPECT_FALSE(m_button->Down());
}

TEST_F(ButtonClickTest, EnterOnTheFocusedButtonClicks)
{
    m_button->setFocus();
    QTest::keyClick(m_button, Qt::Key_Return);
    EXPECT_EQ(clicks(), 1);
}

TEST_F(ButtonClickTest, AButtonThatCannotTakeTheFocusIgnoresSpace)
{
    m_button->SetCanFocused(false);
    EXPECT_FALSE(m_button->TabStop());
    QTest::keyClick(m_button, Qt::Key_Space);
    EXPECT_EQ(clicks(), 0);
    click(m_button); // the mouse still works, without focus
    EXPECT_EQ(clicks(), 1);
    EXPECT_FALSE(m_button->hasFocus());
}

TEST_F(ButtonClickTest, LosingTheFocusLetsTheButtonUp)
{
    auto *other = new TbsSkinButton(&m_form);
    other->show();
    m_button->setFocus();
    QTest::keyPress(m_button, Qt::Key_Space);
    other->setFocus();
    EXPECT_FALSE(m_button->Down());
    QTest::keyRelease(other, Qt::Key_Space);
    EXPECT_EQ(clicks(), 0);
}

TEST_F(ButtonClickTest, AcceleratorFocusesAndClicks)
{
    m_button->SetCaption(QStringLiteral("&Go"));
    QTest::keyClick(&m_form, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks(), 1);
    EXPECT_TRUE(m_button->hasFocus());
}

TEST_F(ButtonClickTest, RepeatModeFiresWhileHeldAndOnceMoreOnRelease)
{
    m_button->SetRepeatMode(true);
    m_button->SetRepeatInterval(10);
    press(m_button, QPoint(5, 5));
    EXPECT_EQ(clicks(), 0); // none at the press itself
    ASSERT_TRUE(QTest::qWaitFor([this] { return clicks() >= 2; }, 5000));
    drag(m_button, QPoint(200, 5)); // off the button: the clicks stop
    const int heldClicks = clicks();
    QCoreApplication::processEvents();
    release(m_button, QPoint(200, 5));
    EXPECT_EQ(clicks(), heldClicks);

    m_order.clear();
    press(m_button, QPoint(5, 5));
    ASSERT_TRUE(QTest::qWaitFor([this] { return clicks() >= 1; }, 5000));
    const int beforeRelease = clicks();
    release(m_button, QPoint(5, 5));
    EXPECT_EQ(clicks(), beforeRelease + 1);
}

class ButtonGroupTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            auto *button = new TbsSkinSpeedButton(&m_parent);
            button->SetGroupIndex(1);
            button->OnClick = [this, i](QObject *) { m_clicked << i; };
            m_buttons.push_back(button);
        }
        m_buttons[0]->SetDown(true);
    }

    QWidget m_parent;
    std::vector<TbsSkinSpeedButton *> m_buttons;
    QList<int> m_clicked;
};

TEST_F(ButtonGroupTest, PressingAnUpButtonLatchesItAndReleasesTheOthers)
{
    press(m_buttons[2], QPoint(5, 5));
    EXPECT_EQ(m_clicked, QList<int>({ 2 })); // fired at the press
    EXPECT_TRUE(m_buttons[2]->Down());
    EXPECT_FALSE(m_buttons[0]->Down());
    release(m_buttons[2], QPoint(5, 5));
    EXPECT_TRUE(m_buttons[2]->Down());
    EXPECT_EQ(m_clicked, QList<int>({ 2 }));
}

TEST_F(ButtonGroupTest, PressingTheDownButtonChangesNothing)
{
    click(m_buttons[0], QPoint(5, 5));
    EXPECT_TRUE(m_buttons[0]->Down());
    EXPECT_TRUE(m_clicked.isEmpty());
}

TEST_F(ButtonGroupTest, AllowAllUpLetsTheDownButtonUp)
{
    m_buttons[0]->SetAllowAllUp(true);
    click(m_buttons[0], QPoint(5, 5));
    EXPECT_FALSE(m_buttons[0]->Down());
    EXPECT_EQ(m_clicked, QList<int>({ 0 }));
}

TEST(SpeedButtonTest, NeverTakesTheFocusAndReportsMouseUpFirst)
{
    QWidget form;
    auto *tool = new TbsSkinSpeedButton(&form);
    QString order;
    tool->OnClick = [&order](QObject *) { order += QStringLiteral("click "); };
    tool->OnMouseUp
        = [&order](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { order += QStringLiteral("up "); };
    form.show();
    click(tool, QPoint(5, 5));
    EXPECT_EQ(order, QStringLiteral("up click "));
    EXPECT_EQ(tool->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(tool->hasFocus());
}

TEST(SpeedButtonTest, ShowCaptionSwitchesBetweenTheTwoWidths)
{
    TbsSkinSpeedButton tool;
    tool.SetShowCaption(false); // no widths given: only a repaint
    EXPECT_EQ(tool.width(), 25);
    tool.SetWidthWithCaption(80);
    tool.SetWidthWithoutCaption(25);
    tool.SetShowCaption(true);
    EXPECT_EQ(tool.width(), 80);
    tool.SetShowCaption(false);
    EXPECT_EQ(tool.width(), 25);
}

TEST(SkinButtonPropertiesTest, MarginBelowMinusOneIsRefused)
{
    TbsSkinButton button;
    button.SetMargin(3);
    button.SetMargin(-2);
    EXPECT_EQ(button.Margin(), 3);
    button.SetMargin(-1);
    EXPECT_EQ(button.Margin(), -1);
}

TEST(SkinButtonPropertiesTest, GroupedPushButtonCannotTakeTheFocus)
{
    TbsSkinButton button;
    EXPECT_TRUE(button.CanFocused());
    button.SetGroupIndex(2);
    EXPECT_FALSE(button.CanFocused());
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
}

// A window with an edit and two push buttons, one the default (Enter) and one the cancel (Escape) button.
class DialogKeyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_form.resize(300, 100);
        m_edit = new TbsSkinEdit(&m_form);
        m_ok = new TbsSkinButton(&m_form);
        m_ok->SetBounds(100, 10, 75, 25);
        m_ok->SetDefault(true);
        m_ok->OnClick = [this](QObject *) { m_clicked << QStringLiteral("ok"); };
        m_cancel = new TbsSkinButton(&m_form);
        m_cancel->SetBounds(200, 10, 75, 25);
        m_cancel->SetCancel(true);
        m_cancel->OnClick = [this](QObject *) { m_clicked << QStringLiteral("cancel"); };
        m_form.show();
        m_form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
        m_edit->setFocus();
    }

    QWidget m_form;
    TbsSkinEdit *m_edit = nullptr;
    TbsSkinButton *m_ok = nullptr;
    TbsSkinButton *m_cancel = nullptr;
    QStringList m_clicked;
};

TEST_F(DialogKeyTest, EnterInTheEditReachesItsKeyDownThenTheDefaultButton)
{
    m_edit->OnKeyDown = [this](QObject *, int &key, Qt::KeyboardModifiers) {
        m_clicked << QStringLiteral("keydown %1").arg(key == Qt::Key_Return);
    };
    m_edit->SetText(QStringLiteral("abc"));
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_EQ(m_clicked, QStringList({ QStringLiteral("keydown 1"), QStringLiteral("ok") }));
    EXPECT_EQ(m_edit->Text(), QStringLiteral("abc")); // no line break
}

TEST_F(DialogKeyTest, EscapeClicksTheCancelButton)
{
    QTest::keyClick(m_edit, Qt::Key_Escape);
    EXPECT_EQ(m_clicked, QStringList({ QStringLiteral("cancel") }));
    QTest::keyClick(m_edit, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(m_clicked.size(), 1);
}

TEST_F(DialogKeyTest, EnterOnAnotherPushButtonIsThatButtonsClick)
{
    m_cancel->setFocus();
    EXPECT_FALSE(m_ok->DialogKeyFlag());
    EXPECT_TRUE(m_cancel->DialogKeyFlag());
    QTest::keyClick(m_cancel, Qt::Key_Return);
    EXPECT_EQ(m_clicked, QStringList({ QStringLiteral("cancel") }));
}

TEST_F(DialogKeyTest, DefaultButtonLooksHotWhileTheFocusIsElsewhere)
{
    EXPECT_TRUE(m_ok->Hot());
    EXPECT_EQ(rendered(m_ok).pixel(0, 0), rgb(clNavy));
    leave(m_ok); // the highlight is not the pointer's
    EXPECT_TRUE(m_ok->Hot());
    m_cancel->setFocus();
    EXPECT_FALSE(m_ok->Hot());
    m_edit->setFocus();
    EXPECT_TRUE(m_ok->Hot());
}

TEST(DefaultButtonTest, AnswersEnterBeforeAnyControlHasTheFocus)
{
    QWidget form;
    auto *button = new TbsSkinButton(&form);
    EXPECT_FALSE(button->DialogKeyFlag());
    button->SetDefault(true);
    EXPECT_TRUE(button->DialogKeyFlag());
    int clicks = 0;
    button->OnClick = [&clicks](QObject *) { ++clicks; };
    QTest::keyClick(&form, Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
}

TEST(ModalResultTest, ClickEndsAModalDialogWithTheButtonsResult)
{
    QDialog dialog;
    auto *button = new TbsSkinButton(&dialog);
    button->SetModalResult(QDialog::Accepted);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.open();
    button->Click();
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
