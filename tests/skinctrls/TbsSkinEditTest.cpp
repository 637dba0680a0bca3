#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/DefaultLook.h"
#include "skinctrls/TbsSkinButton.h"

#include "../support/Images.h"
#include "ControlTesting.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

class SkinEditTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_form.resize(300, 100);
        m_edit = new TbsSkinEdit(&m_form);
        m_edit->SetBounds(92, 10, 157, 18);
        m_other = new TbsSkinButton(&m_form);
        m_other->SetBounds(10, 50, 75, 25);
        m_form.show();
        m_form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
        m_other->setFocus();
        m_edit->OnEnter = [this](QObject *) { m_events << QStringLiteral("enter"); };
        m_edit->OnExit = [this](QObject *) { m_events << QStringLiteral("exit"); };
    }

    // The captions and enabled states of the edit's own context menu, opened from the keyboard.
    QStringList contextMenu()
    {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(-1, -1), QPoint(-1, -1));
        QApplication::sendEvent(m_edit, &event);
        QStringList items;
        QMenu *menu = m_edit->ContextMenu();
        if (!menu) {
            return items;
        }
        for (QAction *action : menu->actions()) {
            items << (action->isSeparator() ? QStringLiteral("-")
                                            : action->text() + (action->isEnabled() ? QString() : QStringLiteral("*")));
        }
        menu->close();
        return items;
    }

    QWidget m_form;
    TbsSkinEdit *m_edit = nullptr;
    TbsSkinButton *m_other = nullptr;
    QStringList m_events;
};

TEST_F(SkinEditTest, KeepsTheFormsSizeWithoutASkin)
{
    EXPECT_EQ(m_edit->geometry(), QRect(92, 10, 157, 18));
    EXPECT_EQ(m_edit->SkinDataName(), QStringLiteral("edit"));
    EXPECT_EQ(m_edit->DefaultFont(), (ControlFont { QStringLiteral("Arial"), 14, 0, clBlack }));
    EXPECT_EQ(m_edit->TextRect(), rectLTRB(2, 2, 155, 16));
}

TEST_F(SkinEditTest, WithoutSkinFontTheHeightFitsTheFont)
{
    m_edit->SetUseSkinFont(false);
    EXPECT_EQ(m_edit->height(), QFontMetrics(m_edit->font()).height() + 4);
    m_edit->SetDefaultFont(ControlFont { QStringLiteral("Arial"), -20, 0, clBlack });
    EXPECT_EQ(m_edit->height(), QFontMetrics(m_edit->font()).height() + 4);
    EXPECT_GT(m_edit->height(), 22);
}

TEST_F(SkinEditTest, DefaultLookIsTwoLinesAroundTheDefaultColour)
{
    m_edit->SetDefaultColor(clWhite);
    const QImage image = rendered(m_edit);
    EXPECT_EQ(image.pixel(0, 0), rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(156, 17), rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(1, 1), rgb(clBtnFace));
    EXPECT_EQ(image.pixel(155, 16), rgb(clBtnFace));
    EXPECT_EQ(image.pixel(100, 9), qRgb(255, 255, 255));
    m_edit->SetDefaultColor(clSilver);
    EXPECT_EQ(rendered(m_edit).pixel(100, 9), qRgb(192, 192, 192));
}

TEST_F(SkinEditTest, TabbingInSelectsAllAndEnterAndExitFireOnce)
{
    m_edit->SetText(QStringLiteral("/home/user/Pictures/"));
    QTest::keyClick(m_other, Qt::Key_Tab);
    ASSERT_TRUE(m_edit->hasFocus());
    EXPECT_EQ(m_edit->selectedText(), m_edit->Text());
    m_other->setFocus();
    EXPECT_EQ(m_events, QStringList({ QStringLiteral("enter"), QStringLiteral("exit") }));
}

TEST_F(SkinEditTest, LeavingTheWindowIsNoExit)
{
    m_edit->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    m_form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
    EXPECT_EQ(m_events, QStringList({ QStringLiteral("enter") }));
}

TEST_F(SkinEditTest, KeyDownCanSwallowAKeyAndKeyPressCanReplaceIt)
{
    m_edit->setFocus();
    m_edit->OnKeyDown = [](QObject *, int &key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_X) {
            key = 0;
        }
    };
    m_edit->OnKeyPress = [](QObject *, QChar &key) {
        if (key == QLatin1Char('a')) {
            key = QLatin1Char('b');
        }
    };
    QTest::keyClicks(m_edit, QStringLiteral("axc"));
    EXPECT_EQ(m_edit->Text(), QStringLiteral("bc"));
}

TEST_F(SkinEditTest, EscapeIsOfferedToKeyPressAndNotInserted)
{
    m_edit->setFocus();
    QList<int> pressed;
    m_edit->OnKeyPress = [&pressed](QObject *, QChar &key) { pressed << key.unicode(); };
    QTest::keyClick(m_edit, Qt::Key_Escape);
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_EQ(pressed, QList<int>({ 27, 13 }));
    EXPECT_TRUE(m_edit->Text().isEmpty());
}

TEST_F(SkinEditTest, CharCaseAndMaxLengthShapeTypedText)
{
    m_edit->setFocus();
    m_edit->SetCharCase(ecUpperCase);
    m_edit->SetMaxLength(4);
    QTest::keyClicks(m_edit, QStringLiteral("abcdef"));
    EXPECT_EQ(m_edit->Text(), QStringLiteral("ABCD"));
    m_edit->SetMaxLength(0);
    QTest::keyClicks(m_edit, QStringLiteral("ef"));
    EXPECT_EQ(m_edit->Text(), QStringLiteral("ABCDEF"));
}

TEST_F(SkinEditTest, ReadOnlyRefusesEditingButCopies)
{
    m_edit->SetText(QStringLiteral("photos"));
    m_edit->SetReadOnly(true);
    m_edit->setFocus();
    m_edit->setSelection(0, 3);
    QTest::keyClicks(m_edit, QStringLiteral("x"));
    QTest::keyClick(m_edit, Qt::Key_Delete);
    m_edit->setSelection(0, 3);
    EXPECT_EQ(m_edit->Text(), QStringLiteral("photos"));
    EXPECT_EQ(contextMenu(),
        QStringList({ QStringLiteral("Undo*"), QStringLiteral("-"), QStringLiteral("Cut*"), QStringLiteral("Copy"),
            QStringLiteral("Paste*"), QStringLiteral("Delete*"), QStringLiteral("-"), QStringLiteral("Select All") }));
}

TEST_F(SkinEditTest, SelectAllIsOfferedOnlyWhenNotEverythingIsSelected)
{
    m_edit->SetText(QStringLiteral("photos"));
    m_edit->setFocus();
    m_edit->setCursorPosition(2);
    EXPECT_EQ(contextMenu().last(), QStringLiteral("Select All"));
    m_edit->selectAll();
    EXPECT_EQ(contextMenu().last(), QStringLiteral("Select All*"));
}

TEST_F(SkinEditTest, PasteIsOfferedWhileTheClipboardHoldsText)
{
    m_edit->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("/tmp/"));
    EXPECT_EQ(contextMenu().at(4), QStringLiteral("Paste"));
    QApplication::clipboard()->clear();
    EXPECT_EQ(contextMenu().at(4), QStringLiteral("Paste*"));
}

TEST_F(SkinEditTest, KeyboardMenuOpensAtTheMiddleOfTheEdit)
{
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(-1, -1), QPoint(-1, -1));
    QApplication::sendEvent(m_edit, &event);
    QMenu *menu = m_edit->ContextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), m_edit->mapToGlobal(m_edit->rect().center()));
    menu->close();
}

TEST_F(SkinEditTest, AnAssignedPopupMenuTakesThePlaceOfTheEditsOwn)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Open folder"));
    m_edit->SetPopupMenu(&menu);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), m_edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(m_edit, &event);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(m_edit->ContextMenu(), nullptr);
    menu.close();
}

TEST_F(SkinEditTest, ButtonModeFiresOnReleaseOverTheButton)
{
    int clicks = 0;
    m_edit->OnButtonClick = [&clicks](QObject *) { ++clicks; };
    m_edit->SetButtonMode(true);
    EXPECT_EQ(m_edit->ButtonRect(), rectLTRB(139, 0, 157, 18));
    EXPECT_EQ(m_edit->TextRect(), rectLTRB(2, 2, 137, 16));
    click(m_edit, QPoint(148, 9));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(m_edit->hasFocus());
    press(m_edit, QPoint(148, 9));
    EXPECT_TRUE(m_edit->ButtonPressed());
    release(m_edit, QPoint(20, 9));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(m_edit->ButtonPressed());
}

} // namespace
