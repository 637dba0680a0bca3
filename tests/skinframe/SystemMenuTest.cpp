// The skinned system menu of a framed window: opened by the system-menu button, a right press on the caption and
// Alt+Space, its items in each window state, what they do, and how the window closes it.
#include "skinframe/TbsSkinForm.h"
#include "skinframe/TbsSkinMenu.h"
#include "skinframe/TbsSkinPopupWindow.h"

#include "FrameTesting.h"
#include "MenuTesting.h"

#include <QContextMenuEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

struct FramedWindow {
    explicit FramedWindow(TbsBorderIcons icons = biSystemMenu | biMinimize | biRollUp)
        : window(std::make_unique<QWidget>())
    {
        window->setWindowTitle(QStringLiteral("Pixolo menu test"));
        form = new TbsSkinForm(window.get());
        form->SetBorderIcons(icons);
        store = pixoloStore(window.get());
        form->SetSkinData(store);
        form->resizeForClient(QSize(400, 200));
        window->move(40, 30);
        window->show();
        window->activateWindow();
        active = QTest::qWaitForWindowActive(window.get());
        form->SkinMenu()->SetWorkAreaOverride({ 0, 0, 800, 600 });
    }
    ~FramedWindow()
    {
        if (form) {
            form->SkinMenu()->CloseAll();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    TbsActiveSkinObject *object(const char *name) const
    {
        for (const auto &o : form->ObjectList()) {
            if (o->IDName == QLatin1String(name)) {
                return o.get();
            }
        }
        return nullptr;
    }
    TbsSkinPopupWindow *popup() const { return form->SkinMenu()->TopPopup(); }
    QStringList captions() const
    {
        QStringList list;
        if (TbsSkinPopupWindow *p = popup()) {
            for (const auto &item : p->Items()) {
                list << (item->IsSeparator() ? QStringLiteral("-") : item->Caption());
            }
        }
        return list;
    }
    QPoint sysMenuButton() const { return centre(object("sysmenubutton")->ObjectRect); }

    std::unique_ptr<QWidget> window;
    QPointer<TbsSkinForm> form;
    TbsSkinData *store = nullptr;
    bool active = false;
};

TEST(SystemMenuTest, TheSystemMenuButtonOpensTheSkinnedMenuBelowItself)
{
    // Before the window: its handlers count into them until it goes.
    int opened = 0;
    int closed = 0;
    FramedWindow main;
    ASSERT_TRUE(main.active);
    main.form->OnSkinMenuOpen = [&] { ++opened; };
    main.form->OnSkinMenuClose = [&] { ++closed; };
    press(main.window.get(), main.sysMenuButton());
    ASSERT_NE(main.popup(), nullptr);
    const TRect button = main.object("sysmenubutton")->ObjectRect;
    EXPECT_EQ(main.popup()->pos(), main.window->mapToGlobal(QPoint(button.Left, button.Bottom)));
    EXPECT_EQ(main.captions(), (QStringList { "Mi&nimize", "Ro&llUp", "-", "&Close" }));
    EXPECT_EQ(main.popup()->Items()[3]->ShortCutText(), QStringLiteral("Alt+F4"));
    EXPECT_TRUE(main.popup()->HasPopupData()) << "drawn from the skin's popup picture";
    EXPECT_TRUE(main.form->MenuMode());
    EXPECT_EQ(opened, 1);
    // Asked again while open: the menu opens anew, the menu mode is entered once.
    main.form->ShowSystemMenuAt(300, 200);
    EXPECT_EQ(main.form->SkinMenu()->Popups().size(), 1u);
    EXPECT_EQ(main.popup()->pos(), QPoint(300, 200));
    EXPECT_EQ(opened, 1);

    key(main.popup(), Qt::Key_Escape);
    EXPECT_FALSE(main.form->SkinMenu()->Visible());
    EXPECT_FALSE(main.form->MenuMode());
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(dynamic_cast<TbsSkinButtonObject *>(main.object("sysmenubutton"))->Pressed)
        << "the button comes up with its menu closed";
}

TEST(SystemMenuTest, ARightPressOnTheCaptionOpensItAtThePointer)
{
    FramedWindow main;
    const QPoint onCaption(200, 18);
    press(main.window.get(), onCaption, Qt::RightButton);
    ASSERT_NE(main.popup(), nullptr);
    EXPECT_EQ(main.popup()->pos(), main.window->mapToGlobal(onCaption));
}

TEST(SystemMenuTest, AltSpaceOpensItBelowTheSystemMenuButton)
{
    FramedWindow main;
    ASSERT_TRUE(main.active);
    QTest::keyClick(main.window.get(), Qt::Key_Space, Qt::AltModifier);
    ASSERT_NE(main.popup(), nullptr);
    const TRect button = main.object("sysmenubutton")->ObjectRect;
    EXPECT_EQ(main.popup()->pos(), main.window->mapToGlobal(QPoint(button.Left, button.Bottom)));
}

// A control in the client area that takes the focus and, when it has one, answers a menu request itself.
class FocusTarget final : public QWidget
{
public:
    FocusTarget(QWidget *parent, bool ownMenu)
        : QWidget(parent)
        , m_ownMenu(ownMenu)
    {
        setFocusPolicy(Qt::StrongFocus);
        resize(40, 20);
    }
    int requests = 0;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        if (!m_ownMenu) {
            event->ignore();
            return;
        }
        ++requests;
        EXPECT_EQ(event->reason(), QContextMenuEvent::Keyboard);
        event->accept();
    }

private:
    bool m_ownMenu;
};

// Window managers that keep Alt+Space for themselves leave Shift+F10 and the menu key to the window.
TEST(SystemMenuTest, ShiftF10AndTheMenuKeyOpenItWhereTheFocusedControlHasNoMenu)
{
    for (const auto &[keyCode, modifiers] :
        { std::pair(Qt::Key_F10, Qt::ShiftModifier), std::pair(Qt::Key_Menu, Qt::NoModifier) }) {
        FramedWindow main;
        ASSERT_TRUE(main.active);
        auto *control = new FocusTarget(main.form->ClientWidget(), false);
        control->show();
        control->setFocus();
        QTest::keyClick(control, keyCode, modifiers);
        ASSERT_NE(main.popup(), nullptr) << keyCode;
        const TRect button = main.object("sysmenubutton")->ObjectRect;
        EXPECT_EQ(main.popup()->pos(), main.window->mapToGlobal(QPoint(button.Left, button.Bottom)));
        EXPECT_EQ(main.captions(), (QStringList { "Mi&nimize", "Ro&llUp", "-", "&Close" }));
    }
}

TEST(SystemMenuTest, ShiftF10GoesToAFocusedControlWithAMenuOfItsOwn)
{
    FramedWindow main;
    ASSERT_TRUE(main.active);
    auto *control = new FocusTarget(main.form->ClientWidget(), true);
    control->show();
    control->setFocus();
    QTest::keyClick(control, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(control->requests, 1);
    EXPECT_EQ(main.popup(), nullptr);
    // Plain F10 is no menu key.
    QTest::keyClick(control, Qt::Key_F10);
    EXPECT_EQ(control->requests, 1);
    EXPECT_EQ(main.popup(), nullptr);
}

TEST(SystemMenuTest, EveryItemDoesWhatItSaysInEachState)
{
    FramedWindow main;
    press(main.window.get(), main.sysMenuButton());
    ASSERT_NE(main.popup(), nullptr);
    key(main.popup(), Qt::Key_Down);
    key(main.popup(), Qt::Key_Return);
    EXPECT_TRUE(main.form->RollUpState());
    EXPECT_EQ(main.window->height(), 56);
    release(main.window.get(), main.sysMenuButton());

    press(main.window.get(), main.sysMenuButton());
    ASSERT_NE(main.popup(), nullptr);
    EXPECT_EQ(main.captions(), (QStringList { "Mi&nimize", "&Restore", "-", "&Close" }));
    QTest::keyClick(main.popup(), Qt::Key_R);
    EXPECT_FALSE(main.form->RollUpState());
    release(main.window.get(), main.sysMenuButton());

    press(main.window.get(), main.sysMenuButton());
    ASSERT_NE(main.popup(), nullptr);
    QTest::keyClick(main.popup(), Qt::Key_C);
    EXPECT_FALSE(main.window->isVisible());
}

TEST(SystemMenuTest, TheAboutWindowsMenuOffersRollUpAndClose)
{
    FramedWindow about(biSystemMenu | biRollUp);
    press(about.window.get(), about.sysMenuButton());
    EXPECT_EQ(about.captions(), (QStringList { "Ro&llUp", "-", "&Close" }));
}

TEST(SystemMenuTest, ADoubleClickOnTheSystemMenuButtonClosesTheWindow)
{
    FramedWindow main;
    press(main.window.get(), main.sysMenuButton());
    release(main.window.get(), main.sysMenuButton());
    TbsSkinPopupWindow *popup = main.popup();
    ASSERT_NE(popup, nullptr);
    // The second press comes to the open menu: on the button, it only closes the menu.
    const QPoint onButton = popup->mapFromGlobal(main.window->mapToGlobal(main.sysMenuButton()));
    sendMouse(popup, QEvent::MouseButtonPress, onButton, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(main.form->SkinMenu()->Visible());
    EXPECT_TRUE(main.window->isVisible());
    // Its double click goes on to the window.
    sendMouse(popup, QEvent::MouseButtonDblClick, onButton, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(main.window->isVisible());
}

TEST(SystemMenuTest, APressOnTheCaptionOutsideTheMenuClosesItAndReachesTheWindow)
{
    FramedWindow main;
    press(main.window.get(), main.sysMenuButton());
    release(main.window.get(), main.sysMenuButton());
    TbsSkinPopupWindow *popup = main.popup();
    ASSERT_NE(popup, nullptr);
    const QPoint onCaption = popup->mapFromGlobal(main.window->mapToGlobal(QPoint(200, 18)));
    sendMouse(popup, QEvent::MouseButtonPress, onCaption, Qt::RightButton, Qt::RightButton);
    ASSERT_NE(main.popup(), nullptr) << "the right press reached the caption and opened the menu there";
    EXPECT_EQ(main.popup()->pos(), main.window->mapToGlobal(QPoint(200, 18)));
}

TEST(SystemMenuTest, MovingOrResizingTheWindowClosesItsMenu)
{
    FramedWindow main;
    press(main.window.get(), main.sysMenuButton());
    ASSERT_TRUE(main.form->SkinMenu()->Visible());
    main.window->move(60, 50);
    EXPECT_FALSE(main.form->SkinMenu()->Visible());
    EXPECT_FALSE(main.form->MenuMode());
    release(main.window.get(), main.sysMenuButton());

    press(main.window.get(), main.sysMenuButton());
    ASSERT_TRUE(main.form->SkinMenu()->Visible());
    main.window->resize(main.window->width() + 20, main.window->height());
    EXPECT_FALSE(main.form->SkinMenu()->Visible());
}

} // namespace
