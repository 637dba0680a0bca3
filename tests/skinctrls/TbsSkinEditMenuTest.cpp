// The edit's context menu as the skinned menu of its window shows it: what the edit hands over, where, and the
// notices it gets back.
#include "skin/ControlMenu.h"
#include "skin/SkinMessage.h"
#include "skinctrls/TbsSkinEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace pixolo;

namespace
{

class SkinEditMenuTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_form.resize(300, 100);
        m_edit = new TbsSkinEdit(&m_form);
        m_edit->SetBounds(92, 10, 157, 18);
        m_form.show();
        setControlMenuHandler([this](QWidget *control, QMenu *items, const QPoint &at) {
            m_control = control;
            m_items = items;
            m_at = at;
            return m_shows;
        });
    }
    void TearDown() override { setControlMenuHandler({}); }

    void openFromKeyboard()
    {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(-1, -1), QPoint(-1, -1));
        QApplication::sendEvent(m_edit, &event);
    }

    // The captions handed to the skinned menu, a '*' marking the disabled ones.
    QStringList handedItems() const
    {
        QStringList items;
        if (!m_items) {
            return items;
        }
        for (QAction *action : m_items->actions()) {
            items << (action->isSeparator() ? QStringLiteral("-")
                                            : action->text() + (action->isEnabled() ? QString() : QStringLiteral("*")));
        }
        return items;
    }

    QWidget m_form;
    TbsSkinEdit *m_edit = nullptr;
    bool m_shows = true;
    QWidget *m_control = nullptr;
    QPointer<QMenu> m_items;
    QPoint m_at;
};

TEST_F(SkinEditMenuTest, TheKeyboardsMenuKeyOpensTheSkinnedMenuAtTheEditsCentre)
{
    m_edit->SetText(QStringLiteral("/home/me/photos/"));
    m_edit->setCursorPosition(3);
    openFromKeyboard();
    EXPECT_EQ(m_control, m_edit);
    EXPECT_EQ(m_at, m_edit->mapToGlobal(m_edit->rect().center()));
    ASSERT_EQ(m_items, m_edit->ContextMenu());
    EXPECT_FALSE(m_items->isVisible()) << "the framework's menu stays closed while the skinned one shows the items";
}

TEST_F(SkinEditMenuTest, AMouseRequestOpensAtThePointerEvenLeftOfAndAboveThePrimaryScreen)
{
    // A screen left of the primary one has negative coordinates: they are a real pointer position, not a sign of
    // a keyboard request.
    const QPoint pointer(-300, -20);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), pointer);
    QApplication::sendEvent(m_edit, &event);
    EXPECT_EQ(m_at, pointer);
}

TEST_F(SkinEditMenuTest, AnEmptyEditOffersOnlyPasteWhileTheClipboardHoldsText)
{
    QApplication::clipboard()->setText(QStringLiteral("/tmp/"));
    openFromKeyboard();
    EXPECT_EQ(handedItems(),
        QStringList({ QStringLiteral("Undo*"), QStringLiteral("-"), QStringLiteral("Cut*"), QStringLiteral("Copy*"),
            QStringLiteral("Paste"), QStringLiteral("Delete*"), QStringLiteral("-"), QStringLiteral("Select All*") }));
    QApplication::clipboard()->clear();
}

TEST_F(SkinEditMenuTest, EverythingSelectedInAnEditableEditOffersAllButSelectAll)
{
    QApplication::clipboard()->setText(QStringLiteral("x"));
    m_edit->SetText(QStringLiteral("photos"));
    m_edit->setFocus();
    QTest::keyClicks(m_edit, QStringLiteral("!"));
    m_edit->selectAll();
    openFromKeyboard();
    EXPECT_EQ(handedItems(),
        QStringList({ QStringLiteral("Undo"), QStringLiteral("-"), QStringLiteral("Cut"), QStringLiteral("Copy"),
            QStringLiteral("Paste"), QStringLiteral("Delete"), QStringLiteral("-"), QStringLiteral("Select All*") }));
    QApplication::clipboard()->clear();
}

TEST_F(SkinEditMenuTest, ItemsActOnTheEditAndTheCommandNoticeFreesTheMenu)
{
    m_edit->SetText(QStringLiteral("photos"));
    m_edit->setCursorPosition(0);
    openFromKeyboard();
    ASSERT_TRUE(m_items);
    m_items->actions().last()->trigger(); // Select All
    EXPECT_EQ(m_edit->selectedText(), QStringLiteral("photos"));
    openFromKeyboard(); // the items' states follow the selection made
    ASSERT_TRUE(m_items);
    m_items->actions().at(3)->trigger(); // Copy
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("photos"));

    sendSkinMessage(m_edit, SKIN_MSG_MENU_COMMAND, nullptr, 0);
    EXPECT_EQ(m_edit->ContextMenu(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(m_items.isNull());
    QApplication::clipboard()->clear();
}

TEST_F(SkinEditMenuTest, WithoutASkinnedMenuTheFrameworksMenuOpens)
{
    m_shows = false;
    openFromKeyboard();
    ASSERT_NE(m_edit->ContextMenu(), nullptr);
    EXPECT_TRUE(m_edit->ContextMenu()->isVisible());
    m_edit->ContextMenu()->close();
}

TEST_F(SkinEditMenuTest, ANewMenuReplacesThePreviousOne)
{
    openFromKeyboard();
    const QPointer<QMenu> first = m_items;
    openFromKeyboard();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(m_items);
}

} // namespace
