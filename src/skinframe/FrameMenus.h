#pragma once

#include "skin/SkinTypes.h"

#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QMenu;

namespace pixolo
{

class TbsSkinForm;

// One entry of the system menu: its fixed name, its caption (with '&' marking the access key), a short-cut text
// and what it does. A separator has the caption "-" and no action.
struct SystemMenuItem {
    QString Name;
    QString Caption;
    QString ShortCut;
    std::function<void()> OnClick;
};

// Opens a popup menu of `items` below the screen rectangle `anchor` (a point is an empty rectangle) for `form` in
// place of the form's own skinned menu; true when a menu opened. The menu tells the form when it closes
// (SKIN_MSG_MENU_CLOSED). Without a hook the form's SkinMenu shows the items.
using TbsPopupMenuHook
    = std::function<bool(TbsSkinForm &form, const std::vector<SystemMenuItem> &items, const QRect &anchor)>;

// The form's menus: the system menu with the commands its window states allow, the popup menus the frame's
// buttons open through the form's SkinMenu, and the menu mode that lasts while one of them is open.
class FrameMenus final
{
public:
    explicit FrameMenus(TbsSkinForm &form)
        : m_form(form)
    {
    }

    bool MenuMode() const { return m_menuMode; }
    void BeginSkinMenu();
    void EndSkinMenu();
    // A message that closes menus arrived: the skinned menu closes, or the menu mode ends.
    void closeSkinMenus();
    // The window became active with no skinned menu open: a menu mode left over ends.
    void endStaleMenuMode();

    // Opens items below the screen rectangle anchor through the SkinMenu (or the menu hook when one is set); true
    // when a menu opened.
    bool ShowPopupMenu(const std::vector<SystemMenuItem> &items, const QRect &anchor);
    std::vector<SystemMenuItem> GetSystemMenuItems();
    void ShowSystemMenuAt(int X, int Y);
    void ShowSystemMenuUnder(const TRect &Rect);
    // Opens the system menu below the system-menu button (at the client area's corner without one); false when the
    // window has no system menu.
    bool showSystemMenuFromKeyboard();

    static void SetPopupMenuHook(TbsPopupMenuHook hook);

private:
    TbsSkinForm &m_form;
    bool m_menuMode = false;
    QPointer<QMenu> m_popupItems; // the items of the menu shown last through ShowPopupMenu
};

} // namespace pixolo
