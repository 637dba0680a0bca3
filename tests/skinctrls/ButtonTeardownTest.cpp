// A push button that is destroyed while it has the focus: QWidget's destructor hands the focus on after the button's
// own destructor has run, and the application tells everybody of the change. The dying button must not hear of it
// (it did, and ran its focus handling on a half-destroyed object, which UndefinedBehaviorSanitizer reports as a member
// call on an object that is no TbsSkinButton any more); the other buttons still do.
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinEdit.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace pixolo;

TEST(ButtonTeardownTest, FocusedButtonDestroyedHearsNothingAndTheDefaultButtonTakesEnterAgain)
{
    QWidget form;
    form.resize(300, 100);
    auto *edit = new TbsSkinEdit(&form);
    auto *ok = new TbsSkinButton(&form);
    ok->SetBounds(100, 10, 75, 25);
    ok->SetDefault(true);
    auto *other = new TbsSkinButton(&form);
    other->SetBounds(200, 10, 75, 25);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    other->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }, 2000));
    EXPECT_FALSE(ok->DialogKeyFlag()); // Enter belongs to the focused button

    QPointer<TbsSkinButton> watched(other);
    delete other; // the focus leaves it during its own destruction
    EXPECT_FALSE(watched);
    // The focus change reached the buttons that remain: with no push button focused, Enter is the default's again.
    EXPECT_TRUE(ok->DialogKeyFlag());
    edit->setFocus();
    EXPECT_TRUE(ok->DialogKeyFlag());
}
