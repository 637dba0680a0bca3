// What a screen reader learns of a skinned window's frame and of its skinned menus.
#include "skinframe/FrameAccessibility.h"

#include "skinframe/TbsSkinForm.h"
#include "skinframe/TbsSkinMenu.h"
#include "skinframe/TbsSkinPopupWindow.h"

#include "FrameTesting.h"
#include "MenuTesting.h"

#include "skin/AccessibilityEvents.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

std::vector<std::pair<QObject *, QAccessible::Event>> s_told;

void record(const QAccessibleEvent &event)
{
    s_told.emplace_back(event.object(), event.type());
}

class FrameAccessibilityTest : public testing::Test
{
protected:
    void SetUp() override
    {
        installFrameAccessibility();
        setAccessibilityWatcher(record);
        s_told.clear();
        m_window = std::make_unique<QWidget>();
        m_window->setWindowTitle(QStringLiteral("Pixolo － frame"));
        m_form = new TbsSkinForm(m_window.get());
        m_form->SetBorderIcons(biSystemMenu | biMinimize | biRollUp);
        m_form->SetSkinData(pixoloStore(m_window.get()));
        m_form->resizeForClient(QSize(400, 200));
        m_window->move(40, 30);
        m_window->show();
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        m_form->SkinMenu()->SetWorkAreaOverride({ 0, 0, 800, 600 });
    }
    void TearDown() override
    {
        if (m_form) {
            m_form->SkinMenu()->CloseAll();
        }
        m_window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setAccessibilityWatcher({});
    }

    QAccessibleInterface *windowInterface() const { return QAccessible::queryAccessibleInterface(m_window.get()); }

    // The window's children as role and name.
    std::vector<std::pair<QAccessible::Role, QString>> children() const
    {
        std::vector<std::pair<QAccessible::Role, QString>> list;
        QAccessibleInterface *window = windowInterface();
        for (int i = 0; i < window->childCount(); ++i) {
            QAccessibleInterface *child = window->child(i);
            list.emplace_back(child->role(), child->text(QAccessible::Name));
        }
        return list;
    }

    QAccessibleInterface *childNamed(const QString &name) const
    {
        QAccessibleInterface *window = windowInterface();
        for (int i = 0; i < window->childCount(); ++i) {
            if (window->child(i)->text(QAccessible::Name) == name) {
                return window->child(i);
            }
        }
        return nullptr;
    }

    TbsActiveSkinObject *object(const char *name) const
    {
        for (const auto &o : m_form->ObjectList()) {
            if (o->IDName == QLatin1String(name)) {
                return o.get();
            }
        }
        return nullptr;
    }

    std::unique_ptr<QWidget> m_window;
    QPointer<TbsSkinForm> m_form;
};

TEST_F(FrameAccessibilityTest, TheCaptionAndTheCaptionButtonsAreChildrenOfTheWindow)
{
    QAccessibleInterface *window = windowInterface();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    const auto list = children();
    ASSERT_GE(list.size(), 5u);
    EXPECT_EQ(list[0], std::pair(QAccessible::TitleBar, QStringLiteral("Pixolo － frame")));
    const auto has = [&](const QString &name) {
        return std::find(list.begin(), list.end(), std::pair(QAccessible::Button, name)) != list.end();
    };
    EXPECT_TRUE(has(QStringLiteral("System menu")));
    EXPECT_TRUE(has(QStringLiteral("Minimize")));
    EXPECT_TRUE(has(QStringLiteral("Roll Up")));
    EXPECT_TRUE(has(QStringLiteral("Close")));
    // The client area follows the frame's objects, and every child knows its place.
    EXPECT_EQ(window->child(window->childCount() - 1)->object(), m_form->ClientWidget());
    for (int i = 0; i < window->childCount(); ++i) {
        EXPECT_EQ(window->indexOfChild(window->child(i)), i);
        EXPECT_EQ(window->child(i)->parent(), window);
    }
}

TEST_F(FrameAccessibilityTest, AButtonLiesWhereItIsDrawnAndIsFoundThere)
{
    const TRect closeRect = object("closebutton")->ObjectRect;
    QAccessibleInterface *close = childNamed(QStringLiteral("Close"));
    ASSERT_NE(close, nullptr);
    const QRect expected(m_window->mapToGlobal(QPoint(closeRect.Left, closeRect.Top)), toQRect(closeRect).size());
    EXPECT_EQ(close->rect(), expected);
    EXPECT_EQ(windowInterface()->childAt(expected.center().x(), expected.center().y()), close);
    EXPECT_EQ(close->state().disabled, false);
    EXPECT_EQ(close->state().hasPopup, false);
    EXPECT_TRUE(childNamed(QStringLiteral("System menu"))->state().hasPopup);
}

TEST_F(FrameAccessibilityTest, PressingAButtonRunsItsCommand)
{
    QAccessibleInterface *rollUp = childNamed(QStringLiteral("Roll Up"));
    ASSERT_NE(rollUp, nullptr);
    ASSERT_NE(rollUp->actionInterface(), nullptr);
    ASSERT_EQ(rollUp->actionInterface()->actionNames(), QStringList { QAccessibleActionInterface::pressAction() });
    rollUp->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(m_form->RollUpState());
    rollUp->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(m_form->RollUpState());
    EXPECT_TRUE(childNamed(QStringLiteral("Pixolo － frame"))->actionInterface()->actionNames().isEmpty())
        << "the caption has nothing to press";
}

TEST_F(FrameAccessibilityTest, TheSystemMenuIsAPopupMenuOfMenuItemsThatFollowTheHighlight)
{
    childNamed(QStringLiteral("System menu"))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    TbsSkinPopupWindow *popup = m_form->SkinMenu()->TopPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_NE(std::find(s_told.begin(), s_told.end(),
                  std::pair<QObject *, QAccessible::Event>(popup, QAccessible::PopupMenuStart)),
        s_told.end());

    QAccessibleInterface *menu = QAccessible::queryAccessibleInterface(popup);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->role(), QAccessible::PopupMenu);
    ASSERT_EQ(menu->childCount(), 4);
    EXPECT_EQ(menu->child(0)->role(), QAccessible::MenuItem);
    EXPECT_EQ(menu->child(0)->text(QAccessible::Name), QStringLiteral("Minimize"));
    EXPECT_EQ(menu->child(1)->text(QAccessible::Name), QStringLiteral("RollUp"));
    EXPECT_EQ(menu->child(2)->role(), QAccessible::Separator);
    EXPECT_EQ(menu->child(3)->text(QAccessible::Name), QStringLiteral("Close"));
    EXPECT_EQ(menu->child(3)->text(QAccessible::Accelerator), QStringLiteral("Alt+F4"));
    EXPECT_EQ(menu->child(1)->parent(), menu);
    EXPECT_EQ(menu->indexOfChild(menu->child(3)), 3);

    // The first item is highlighted when the menu opens; Down moves the highlight, and the focus with it.
    EXPECT_TRUE(menu->child(0)->state().focused);
    s_told.clear();
    key(popup, Qt::Key_Down);
    EXPECT_TRUE(menu->child(1)->state().focused);
    EXPECT_FALSE(menu->child(0)->state().focused);
    EXPECT_EQ(menu->focusChild(), menu->child(1));
    EXPECT_NE(
        std::find(s_told.begin(), s_told.end(), std::pair<QObject *, QAccessible::Event>(popup, QAccessible::Focus)),
        s_told.end());

    // Pressing the item chooses it: the menu closes and the window rolls up.
    menu->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(m_form->SkinMenu()->Visible());
    EXPECT_TRUE(m_form->RollUpState());
}

} // namespace
