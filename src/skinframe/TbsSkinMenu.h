#pragma once

#include "skin/SkinGeometry.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QMenu;
class QTimer;

namespace pixolo
{

class TbsSkinData;
class TbsSkinMenuItem;
class TbsSkinPopupWindow;

// The popup engine of a skinned window: it opens each level of a menu as a TbsSkinPopupWindow, opens submenus
// (after 500 ms of hovering, or at once by click, Enter or the right arrow), closes levels and runs the chosen
// item's command. The items are the framework's (the actions of a QMenu); the engine only shows them.
//
// Every way a menu ends reaches CloseLevels(0): the control that asked for the menu gets SKIN_MSG_MENU_CLOSED
// and the one-shot close handler fires. A chosen item's command runs after every level is closed; the control then
// gets SKIN_MSG_MENU_COMMAND.
class TbsSkinMenu final : public QObject
{
    Q_OBJECT
public:
    // Form is the window the engine belongs to: it is told when a menu closes, and its monitor's work area holds
    // the popups. The popups are its children.
    explicit TbsSkinMenu(QWidget *Form, QObject *parent = nullptr);
    ~TbsSkinMenu() override;

    QWidget *Form() const { return m_form; }

    // Opens the children of Item from StartIndex as level 0 at the screen rectangle Anchor (a point is an empty
    // rectangle). Control, when given, is told when the menu closes and after a command ran. Nothing opens for an
    // item without children or a start index past them.
    void OpenMenu(
        QObject *Control, TbsSkinData *SkinData, int StartIndex, const TRect &Anchor, QMenu *Item, bool PopupUpward);
    void OpenLevel(const TRect &Anchor, QMenu *Item, int StartIndex, bool IsSubmenu, bool PopupUpward);
    // Closes the levels from the last down to Level; Level 0 ends the menu.
    void CloseLevels(int Level);
    void CloseAll();
    // What a highlighted (Execute false) or clicked (Execute true) item does; see TbsSkinMenuItem.
    void ItemAction(TbsSkinPopupWindow *Window, TbsSkinMenuItem *Item, bool ByKey, bool Execute);

    // --- Properties kept for the skinned form ------------------------------------------------------------------
    int DefaultItemHeight() const { return m_defaultItemHeight; }
    void SetDefaultItemHeight(int value);
    // Without a skin, or when the skin's fonts are off: the item font (Arial, height 14 by default).
    const QFont &DefaultItemFont() const { return m_defaultItemFont; }
    void SetDefaultItemFont(const QFont &value) { m_defaultItemFont = value; }
    bool UseSkinFont() const { return m_useSkinFont; }
    void SetUseSkinFont(bool value) { m_useSkinFont = value; }
    // At most this many items in one popup (the rest scroll); 0 = no limit. Negative values are ignored.
    int MaxMenuItemsInWindow() const { return m_maxMenuItemsInWindow; }
    void SetMaxMenuItemsInWindow(int value);
    bool AlphaBlend() const { return m_alphaBlend; }
    void SetAlphaBlend(bool value) { m_alphaBlend = value; }
    bool AlphaBlendAnimation() const { return m_alphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool value) { m_alphaBlendAnimation = value; }
    int AlphaBlendValue() const { return m_alphaBlendValue; }
    void SetAlphaBlendValue(int value);

    // --- State -------------------------------------------------------------------------------------------------
    // A menu is open.
    bool Visible() const { return m_visible; }
    // The menu being opened is the first since the engine was idle.
    bool First() const { return m_first; }
    // The open levels, level 0 first.
    std::vector<TbsSkinPopupWindow *> Popups() const;
    TbsSkinPopupWindow *TopPopup() const;
    int LevelOf(const TbsSkinPopupWindow *window) const;
    TbsSkinData *SkinData() const;
    // The work area of the form's monitor, taken when a menu opens (screen coordinates). Tests may set their own.
    const TRect &WorkArea() const { return m_workArea; }
    void SetWorkAreaOverride(const TRect &area) { m_workAreaOverride = area; }
    // The screen rectangle the open menu is anchored to.
    const TRect &Anchor() const { return m_anchor; }
    TbsSkinMenuItem *WaitItem() const;
    bool WaitTimerActive() const;
    // The wait item lost the highlight before its submenu opened.
    void CancelWaitItem();

    // Fired once when the menu closes, then cleared.
    void SetMenuCloseHandler(std::function<void()> handler) { m_onMenuClose = std::move(handler); }

    // What the skinned form that owns the engine offers the popup menus of its window (set by the form): the store
    // its menus are drawn from (its menus store, else its own), and the start and end of its menu mode.
    std::function<TbsSkinData *()> FormMenusSkinData;
    std::function<void()> FormBeginMenu;
    std::function<void()> FormEndMenu;

private:
    void WaitTimerTick();
    void notifyClosed(QObject *receiver);

    QPointer<QWidget> m_form;
    int m_defaultItemHeight = 20;
    QFont m_defaultItemFont;
    bool m_useSkinFont = true;
    int m_maxMenuItemsInWindow = 0;
    bool m_alphaBlend = false;
    bool m_alphaBlendAnimation = false;
    int m_alphaBlendValue = 150;

    std::vector<QPointer<TbsSkinPopupWindow>> m_popups;
    bool m_visible = false;
    bool m_first = false;
    QPointer<TbsSkinData> m_skinData;
    TRect m_workArea;
    TRect m_anchor;
    std::optional<TRect> m_workAreaOverride;
    QPointer<QObject> m_popupControl;
    QPointer<QObject> m_doneControl;
    QPointer<TbsSkinPopupWindow> m_waitWindow;
    TbsSkinMenuItem *m_waitItem = nullptr; // owned by m_waitWindow
    QTimer *m_waitTimer = nullptr;
    std::function<void()> m_onMenuClose;
};

} // namespace pixolo
