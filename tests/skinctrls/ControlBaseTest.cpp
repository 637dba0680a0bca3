#include "skinctrls/ControlBase.h"
#include "skin/SystemColors.h"
#include "skinctrls/TBevel.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinLabel.h"
#include "skinctrls/TbsSkinPanel.h"

#include "ControlTesting.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

class ColorMappingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = QApplication::palette();
        QPalette palette = m_saved;
        palette.setColor(QPalette::All, QPalette::Button, QColor(10, 20, 30));
        palette.setColor(QPalette::All, QPalette::Dark, QColor(40, 50, 60));
        palette.setColor(QPalette::All, QPalette::Light, QColor(70, 80, 90));
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(100, 110, 120));
        palette.setColor(QPalette::Active, QPalette::Text, QColor(1, 1, 1));
        QApplication::setPalette(palette);
    }
    void TearDown() override { QApplication::setPalette(m_saved); }

    QPalette m_saved;
};

TEST_F(ColorMappingTest, PlainColoursHoldRedInTheLowByte)
{
    EXPECT_EQ(ColorToQColor(0x00332211), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(ColorToQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(ColorToQColor(11899781), QColor(0x85, 0x93, 0xB5));
}

TEST_F(ColorMappingTest, SystemColoursFollowTheApplicationPalette)
{
    EXPECT_EQ(ColorToQColor(clBtnFace), QColor(10, 20, 30));
    EXPECT_EQ(ColorToQColor(clBtnShadow), QColor(40, 50, 60));
    EXPECT_EQ(ColorToQColor(clBtnHighlight), QColor(70, 80, 90));
    EXPECT_EQ(ColorToQColor(clGrayText), QColor(100, 110, 120));
    EXPECT_EQ(ColorToQColor(clWindowText), QColor(1, 1, 1));
}

TEST_F(ColorMappingTest, UnknownSystemIndexIsBlack)
{
    EXPECT_EQ(ColorToQColor(systemColor(31)), QColor(Qt::black));
    EXPECT_EQ(ColorToQColor(systemColor(0xFFFFFF)), QColor(Qt::black));
}

// The main window's frame of panels: four 11-pixel edge strips, the content panel between them, and the status
// bar below everything, whatever order the children were created in.
class DockingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_form.resize(729, 467);
        m_bottom = strip(alBottom, 729, 11);
        m_right = strip(alRight, 11, 415);
        m_left = strip(alLeft, 11, 415);
        m_top = strip(alTop, 729, 11);
        m_content = strip(alClient, 707, 415);
        m_statusBar = new TbsSkinStatusBar(&m_form);
        m_statusBar->SetBounds(0, 437, 729, 30);
    }

    TbsSkinPanel *strip(TAlign align, int width, int height)
    {
        auto *panel = new TbsSkinPanel(&m_form);
        panel->SetBorderStyle(bvNone);
        panel->SetBounds(0, 0, width, height);
        panel->SetAlign(align);
        return panel;
    }

    QWidget m_form;
    TbsSkinPanel *m_bottom = nullptr;
    TbsSkinPanel *m_right = nullptr;
    TbsSkinPanel *m_left = nullptr;
    TbsSkinPanel *m_top = nullptr;
    TbsSkinPanel *m_content = nullptr;
    TbsSkinStatusBar *m_statusBar = nullptr;
};

TEST_F(DockingTest, PlacesEdgeStripsContentAndStatusBar)
{
    EXPECT_EQ(m_statusBar->geometry(), QRect(0, 437, 729, 30));
    EXPECT_EQ(m_bottom->geometry(), QRect(0, 426, 729, 11));
    EXPECT_EQ(m_top->geometry(), QRect(0, 0, 729, 11));
    EXPECT_EQ(m_left->geometry(), QRect(0, 11, 11, 415));
    EXPECT_EQ(m_right->geometry(), QRect(718, 11, 11, 415));
    EXPECT_EQ(m_content->geometry(), QRect(11, 11, 707, 415));
}

TEST_F(DockingTest, FollowsTheWindowsSize)
{
    m_form.show();
    m_form.resize(800, 500);
    EXPECT_EQ(m_statusBar->geometry(), QRect(0, 470, 800, 30));
    EXPECT_EQ(m_right->geometry(), QRect(789, 11, 11, 448));
    EXPECT_EQ(m_content->geometry(), QRect(11, 11, 778, 448));
}

TEST_F(DockingTest, HiddenControlsGiveUpTheirPlace)
{
    m_form.show();
    m_statusBar->hide();
    EXPECT_EQ(m_bottom->geometry(), QRect(0, 456, 729, 11));
    EXPECT_EQ(m_content->geometry(), QRect(11, 11, 707, 445));
}

TEST_F(DockingTest, FramedPanelDocksChildrenInsideItsEdge)
{
    auto *inner = new TbsSkinPanel(m_content);
    inner->SetAlign(alClient);
    m_content->SetBorderStyle(bvFrame);
    EXPECT_EQ(inner->geometry(), QRect(1, 1, 705, 413));
    m_content->SetBorderStyle(bvNone);
    EXPECT_EQ(inner->geometry(), QRect(0, 0, 707, 415));
    m_content->SetCaptionMode(true);
    EXPECT_EQ(inner->geometry(), QRect(0, 22, 707, 393));
}

// The next control that Tab reaches after `widget`.
QWidget *nextTabStop(QWidget *widget)
{
    QWidget *next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus)) {
        next = next->nextInFocusChain();
    }
    return next;
}

TEST(TabOrderTest, InsertingMovesTheOthersAlongAndChainsTheFocus)
{
    QWidget form;
    auto *a = new TbsSkinButton(&form);
    auto *b = new TbsSkinButton(&form);
    auto *c = new TbsSkinButton(&form);
    auto *tool = new TbsSkinSpeedButton(&form);
    c->SetTabOrder(0);
    EXPECT_EQ(c->TabOrder(), 0);
    EXPECT_EQ(a->TabOrder(), 1);
    EXPECT_EQ(b->TabOrder(), 2);
    EXPECT_EQ(nextTabStop(c), a);
    EXPECT_EQ(nextTabStop(a), b);
    EXPECT_EQ(nextTabStop(b), c);
    b->SetTabOrder(99); // past the end: last
    EXPECT_EQ(b->TabOrder(), 2);
    // A windowless control has no place in the order.
    tool->SetTabOrder(0);
    EXPECT_EQ(c->TabOrder(), 0);
    EXPECT_EQ(tool->focusPolicy(), Qt::NoFocus);
}

// A window that counts the clicks on its own area.
class ClickCountingForm : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

TEST(ControlClickTest, ClicksOnControlsDoNotReachTheWindow)
{
    ClickCountingForm form;
    auto *label = new TbsSkinLabel(&form);
    label->SetBounds(0, 0, 50, 20);
    auto *bevel = new TBevel(&form);
    bevel->SetBounds(0, 30, 50, 20);
    int labelClicks = 0;
    label->OnClick = [&labelClicks](QObject *) { ++labelClicks; };
    form.show();
    click(label);
    click(bevel);
    EXPECT_EQ(labelClicks, 1);
    EXPECT_EQ(form.presses, 0);
    press(&form, QPoint(100, 100));
    EXPECT_EQ(form.presses, 1);
}

TEST(ControlClickTest, ReleaseOffTheControlIsNoClick)
{
    TbsSkinLabel label;
    int clicks = 0;
    label.OnClick = [&clicks](QObject *) { ++clicks; };
    press(&label, QPoint(5, 5));
    release(&label, QPoint(200, 5));
    EXPECT_EQ(clicks, 0);
}

TEST(HintTest, ShownOnlyWithShowHint)
{
    TbsSkinButton button;
    button.SetHint(QStringLiteral("拍照快捷键F8"));
    EXPECT_TRUE(button.toolTip().isEmpty());
    button.SetShowHint(true);
    EXPECT_EQ(button.toolTip(), QStringLiteral("拍照快捷键F8"));
    button.SetShowHint(false);
    EXPECT_TRUE(button.toolTip().isEmpty());
    EXPECT_EQ(button.Hint(), QStringLiteral("拍照快捷键F8"));
}

} // namespace
