// The window states the frame gives its window on its own, without a window manager: maximising to the work area
// and back, the restore command of a window rolled up while maximised, the order of the caption double click's
// rules and the placement at the first show.
#include "skinframe/TbsSkinForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace pixolo
{
namespace
{

// A window with the plain frame (no skin needed for the states), shown and active; not the application's main
// form unless it is made so, so that minimising moves only this window.
struct PlainWindow {
    explicit PlainWindow(TbsBorderIcons icons)
        : window(std::make_unique<QWidget>())
    {
        form = new TbsSkinForm(window.get());
        form->SetBorderIcons(icons);
        form->resizeForClient(QSize(300, 200));
        window->move(40, 50);
    }

    void show()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    std::unique_ptr<QWidget> window;
    TbsSkinForm *form = nullptr;
};

class FrameWindowStatesTest : public testing::Test
{
protected:
    void SetUp() override { TbsSkinForm::SetApplicationMainForm(m_mainForm.get()); }
    void TearDown() override { TbsSkinForm::SetApplicationMainForm(nullptr); }

    // Stands for the program's main window, never shown: the windows under test are secondary ones.
    std::unique_ptr<QWidget> m_mainForm = std::make_unique<QWidget>();
};

TEST_F(FrameWindowStatesTest, MaximisingFillsTheWorkAreaLessAPixelForAHiddenBarAndRestoringPutsTheBoundsBack)
{
    PlainWindow w(biSystemMenu | biMaximize | biRollUp);
    w.show();
    const QRect normal = w.window->geometry();
    const QScreen *screen = w.window->screen();
    // The offscreen screen has no panels: its work area is the whole screen, where a hidden bar must stay reachable.
    ASSERT_EQ(screen->availableGeometry(), screen->geometry());
    ASSERT_EQ(screen->geometry().topLeft(), QPoint(0, 0));

    w.form->SetSkinWindowState(wsMaximized);
    EXPECT_EQ(w.form->SkinWindowState(), wsMaximized);
    EXPECT_EQ(w.window->geometry(), screen->geometry().adjusted(1, 1, -1, -1));
    EXPECT_EQ(w.form->RestoreBounds(), normal);

    w.form->SetSkinWindowState(wsNormal);
    EXPECT_EQ(w.form->SkinWindowState(), wsNormal);
    EXPECT_EQ(w.window->geometry(), normal);
    EXPECT_TRUE(w.form->RestoreBounds().isEmpty());
}

TEST_F(FrameWindowStatesTest, RestoreRollsDownAWindowRolledUpWhileMaximisedBeforeItLeavesTheMaximisedState)
{
    PlainWindow w(biSystemMenu | biMaximize | biRollUp);
    w.show();
    const QRect normal = w.window->geometry();
    w.form->SetSkinWindowState(wsMaximized);
    const QRect maximised = w.window->geometry();

    w.form->SetRollUpState(true);
    ASSERT_TRUE(w.form->RollUpState());
    EXPECT_EQ(w.window->height(), w.form->layout().GetMinHeight());

    w.form->states().restore();
    EXPECT_FALSE(w.form->RollUpState());
    EXPECT_EQ(w.form->SkinWindowState(), wsMaximized);
    EXPECT_EQ(w.window->geometry(), maximised);

    w.form->states().restore();
    EXPECT_EQ(w.form->SkinWindowState(), wsNormal);
    EXPECT_EQ(w.window->geometry(), normal);
}

TEST_F(FrameWindowStatesTest, AWindowRolledUpBeforeItWasMaximisedRollsDownOnlyOnceItIsNormalAgain)
{
    // Rolled up in the normal state, then maximised: the window is rolled up but not "while maximised", so rolling
    // it down is refused until it is normal again.
    PlainWindow w(biSystemMenu | biMaximize | biRollUp);
    w.show();
    w.form->SetRollUpState(true);
    w.form->SetSkinWindowState(wsMaximized);
    w.form->SetRollUpState(false);
    EXPECT_TRUE(w.form->RollUpState());

    w.form->states().restore();
    EXPECT_EQ(w.form->SkinWindowState(), wsNormal);
    EXPECT_TRUE(w.form->RollUpState());
    w.form->states().restore();
    EXPECT_FALSE(w.form->RollUpState());
}

TEST_F(FrameWindowStatesTest, CaptionDoubleClickTakesTheFirstRuleThatApplies)
{
    PlainWindow w(biSystemMenu | biMinimize | biMaximize | biRollUp);
    w.show();
    FrameWindowStates &states = w.form->states();

    states.CaptionDoubleClick(); // normal with a maximise button: maximised
    EXPECT_EQ(w.form->SkinWindowState(), wsMaximized);
    states.CaptionDoubleClick(); // maximised: normal again
    EXPECT_EQ(w.form->SkinWindowState(), wsNormal);

    w.form->SetSkinWindowState(wsMinimized); // a secondary window: into a slot at the bottom
    ASSERT_EQ(w.form->SkinWindowState(), wsMinimized);
    states.CaptionDoubleClick(); // minimised: normal
    EXPECT_EQ(w.form->SkinWindowState(), wsNormal);

    w.form->SetBorderIcons(biSystemMenu | biRollUp);
    states.CaptionDoubleClick(); // no maximise button: rolls up and down
    EXPECT_TRUE(w.form->RollUpState());
    states.CaptionDoubleClick();
    EXPECT_FALSE(w.form->RollUpState());
    EXPECT_EQ(w.form->SkinWindowState(), wsNormal);

    w.form->SetBorderIcons(biSystemMenu | biMaximize | biRollUp);
    w.form->SetBorderStyle(bsSingle);
    states.CaptionDoubleClick(); // a window that cannot be sized only rolls up
    EXPECT_TRUE(w.form->RollUpState());
    EXPECT_EQ(w.form->SkinWindowState(), wsNormal);
}

TEST_F(FrameWindowStatesTest, FirstShowCentresTheWindowOnItsScreenOnlyWhenAskedTo)
{
    PlainWindow centred(biSystemMenu | biRollUp);
    centred.form->SetPositionInMonitor(bspScreenCenter);
    centred.show();
    const QRect screen = centred.window->screen()->geometry();
    const QSize size = centred.window->size();
    EXPECT_EQ(centred.window->pos(),
        QPoint(screen.left() + screen.width() / 2 - size.width() / 2,
            screen.top() + screen.height() / 2 - size.height() / 2));

    // Placed once: a later move stays where it was put.
    centred.window->move(10, 10);
    centred.window->hide();
    centred.window->show();
    EXPECT_EQ(centred.window->pos(), QPoint(10, 10));

    PlainWindow placed(biSystemMenu | biRollUp);
    placed.show();
    EXPECT_EQ(placed.window->pos(), QPoint(40, 50));
}

} // namespace
} // namespace pixolo
