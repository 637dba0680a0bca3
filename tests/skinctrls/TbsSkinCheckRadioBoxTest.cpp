#include "skinctrls/TbsSkinCheckRadioBox.h"

#include "skin/SkinGlyphs.h"

#include "../support/Images.h"
#include "ControlTesting.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

class CheckBoxTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_form.resize(200, 100);
        m_box = new TbsSkinCheckRadioBox(&m_form);
        m_box->SetFlat(false);
        m_box->SetDefaultWidth(60);
        m_box->SetDefaultHeight(22);
        m_box->SetCaption(QStringLiteral("延时"));
        m_box->SetCanFocused(true);
        m_box->OnClick = [this](QObject *sender) {
            EXPECT_EQ(sender, m_box);
            ++m_clicks;
        };
        m_form.show();
        m_form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
    }

    QWidget m_form;
    TbsSkinCheckRadioBox *m_box = nullptr;
    int m_clicks = 0;
};

TEST_F(CheckBoxTest, TakesItsDefaultSizeWithoutASkin)
{
    EXPECT_EQ(m_box->size(), QSize(60, 22));
    EXPECT_EQ(m_box->SkinDataName(), QStringLiteral("checkbox"));
    EXPECT_TRUE(m_box->TabStop());
}

TEST_F(CheckBoxTest, ClickTogglesAndFiresOnce)
{
    click(m_box);
    EXPECT_TRUE(m_box->Checked());
    EXPECT_EQ(m_box->State(), cbChecked);
    EXPECT_EQ(m_clicks, 1);
    EXPECT_TRUE(m_box->hasFocus());
    click(m_box);
    EXPECT_FALSE(m_box->Checked());
    EXPECT_EQ(m_clicks, 2);
}

TEST_F(CheckBoxTest, PressDragOffReleaseChangesNothing)
{
    press(m_box, QPoint(5, 5));
    drag(m_box, QPoint(150, 5));
    release(m_box, QPoint(150, 5));
    EXPECT_FALSE(m_box->Checked());
    EXPECT_EQ(m_clicks, 0);
}

TEST_F(CheckBoxTest, SpaceTogglesOnReleaseOnceWhenHeld)
{
    m_box->setFocus();
    QTest::keyPress(m_box, Qt::Key_Space);
    EXPECT_FALSE(m_box->Checked());
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    for (int i = 0; i < 3; ++i) {
        QApplication::sendEvent(m_box, &repeatRelease);
        QApplication::sendEvent(m_box, &repeatPress);
    }
    EXPECT_FALSE(m_box->Checked());
    QTest::keyRelease(m_box, Qt::Key_Space);
    EXPECT_TRUE(m_box->Checked());
    EXPECT_EQ(m_clicks, 1);
}

TEST_F(CheckBoxTest, DisabledBoxIgnoresMouseAndKeys)
{
    m_box->setEnabled(false);
    click(m_box);
    QTest::keyClick(m_box, Qt::Key_Space);
    EXPECT_FALSE(m_box->Checked());
    EXPECT_EQ(m_clicks, 0);
}

TEST_F(CheckBoxTest, AllowGrayedCyclesThroughTheThreeStates)
{
    m_box->SetAllowGrayed(true);
    QList<TCheckBoxState> states;
    for (int i = 0; i < 4; ++i) {
        click(m_box);
        states << m_box->State();
    }
    EXPECT_EQ(states, QList<TCheckBoxState>({ cbGrayed, cbChecked, cbUnchecked, cbGrayed }));
    EXPECT_EQ(m_clicks, 4);
}

TEST_F(CheckBoxTest, UncheckingAGrayedBoxLeavesItGrayed)
{
    m_box->SetState(cbGrayed);
    m_box->SetChecked(false);
    EXPECT_EQ(m_box->State(), cbGrayed);
    EXPECT_FALSE(m_box->Checked());
    m_box->SetChecked(true);
    EXPECT_EQ(m_box->State(), cbChecked);
}

TEST_F(CheckBoxTest, AcceleratorFocusesAndToggles)
{
    m_box->SetCaption(QStringLiteral("&Delay"));
    QTest::keyClick(&m_form, Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(m_box->Checked());
    EXPECT_TRUE(m_box->hasFocus());
}

TEST(RadioBoxTest, CheckingOneUnchecksTheGroupAndFiresOnlyForIt)
{
    QWidget parent;
    QList<int> clicked;
    std::vector<TbsSkinCheckRadioBox *> boxes;
    for (int i = 0; i < 3; ++i) {
        auto *box = new TbsSkinCheckRadioBox(&parent);
        box->SetRadio(true);
        box->SetGroupIndex(i < 2 ? 1 : 2);
        box->OnClick = [&clicked, i](QObject *) { clicked << i; };
        boxes.push_back(box);
    }
    boxes[0]->SetChecked(true);
    boxes[2]->SetChecked(true); // another group
    clicked.clear();
    click(boxes[1]);
    EXPECT_TRUE(boxes[1]->Checked());
    EXPECT_FALSE(boxes[0]->Checked());
    EXPECT_TRUE(boxes[2]->Checked());
    EXPECT_EQ(clicked, QList<int>({ 1 }));
    click(boxes[1]); // a checked radio box stays checked and fires nothing
    EXPECT_TRUE(boxes[1]->Checked());
    EXPECT_EQ(clicked, QList<int>({ 1 }));
}

// The look without a skin: a 14 x 14 frame at (3, height div 2 - 7) and the mark of the state inside it.
class CheckMarkTest : public testing::Test
{
protected:
    void SetUp() override { m_box.resize(60, 22); }

    // The mark drawn by the glyph routine alone, where the box draws it.
    QStringList expectedCheck(const QColor &color) const
    {
        QImage image(60, 22, QImage::Format_RGB32);
        image.fill(qRgb(1, 2, 3));
        QPainter painter(&image);
        DrawCheckGlyph(painter, 7, 22 / 2 - 4, color);
        painter.end();
        return inkRows(image.copy(4, 5, 12, 12), color.rgb());
    }
    QStringList markIn(const QImage &image, QRgb color) const { return inkRows(image.copy(4, 5, 12, 12), color); }

    TbsSkinCheckRadioBox m_box;
};

TEST_F(CheckMarkTest, FrameIsButtonShadowAndNavyWhenHot)
{
    const QImage image = rendered(&m_box);
    EXPECT_EQ(inkRows(image.copy(3, 4, 14, 14), rgb(clBtnShadow)).first(), QStringLiteral("##############"));
    EXPECT_EQ(inkRows(image.copy(3, 4, 14, 14), rgb(clBtnShadow)).last(), QStringLiteral("##############"));
    enter(&m_box);
    EXPECT_EQ(rendered(&m_box).pixel(3, 4), rgb(clNavy));
}

TEST_F(CheckMarkTest, CheckedBoxShowsTheThreeLineMark)
{
    EXPECT_EQ(markIn(rendered(&m_box), qRgb(0, 0, 0)).join(QString()).count(QLatin1Char('#')), 0);
    m_box.SetChecked(true);
    EXPECT_EQ(markIn(rendered(&m_box), qRgb(0, 0, 0)), expectedCheck(Qt::black));
    m_box.setEnabled(false);
    EXPECT_EQ(markIn(rendered(&m_box), rgb(clBtnShadow)), expectedCheck(ColorToQColor(clBtnShadow)));
}

TEST_F(CheckMarkTest, GrayedBoxShowsTheMarkInGreyText)
{
    m_box.SetState(cbGrayed);
    EXPECT_EQ(markIn(rendered(&m_box), rgb(clGrayText)), expectedCheck(ColorToQColor(clGrayText)));
}

TEST_F(CheckMarkTest, CheckedRadioBoxShowsASquare)
{
    m_box.SetRadio(true);
    m_box.SetChecked(true);
    const QImage image = rendered(&m_box);
    // A filled 6 x 6 square at (7, height div 2 - 3), and nothing else in black (the box has no caption).
    EXPECT_EQ(inkRows(image.copy(3, 4, 14, 14), qRgb(0, 0, 0)),
        rowsOf({ "..............", "..............", "..............", "..............", "....######....",
            "....######....", "....######....", "....######....", "....######....", "....######....", "..............",
            "..............", "..............", ".............." }));
    EXPECT_EQ(inkRows(image, qRgb(0, 0, 0)).join(QString()).count(QLatin1Char('#')), 36);
}

TEST_F(CheckMarkTest, FlatBoxLetsTheParentShowAndFramesTheFocusedCaption)
{
    QWidget form;
    auto *box = new TbsSkinCheckRadioBox(&form);
    box->resize(80, 22);
    box->SetCaption(QStringLiteral("Delay"));
    const QRgb background = qRgb(1, 2, 3);
    EXPECT_EQ(rendered(box, background).pixel(70, 1), background);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    box->setFocus();
    const QImage focused = rendered(box, background);
    const QRect dots = inkBounds(focused.copy(18, 0, 62, 22), background);
    // The focus rectangle surrounds the caption, which starts at x 22.
    EXPECT_EQ(dots.left() + 18, 20);
    EXPECT_EQ(focused.pixel(20, dots.top()), rgb(clBtnText));
}

} // namespace
