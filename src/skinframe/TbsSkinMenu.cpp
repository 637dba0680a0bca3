#include "skinframe/TbsSkinMenu.h"

#include "skin/SkinMessage.h"
#include "skin/SkinPlatform.h"
#include "skin/SkinText.h"
#include "skin/TbsSkinData.h"
#include "skinframe/TbsSkinPopupMenu.h"
#include "skinframe/TbsSkinPopupWindow.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

#include <algorithm>

namespace pixolo
{

namespace
{

// How long the pointer rests on an item with children before its submenu opens.
constexpr int s_submenuDelayMs = 500;

} // namespace

TbsSkinMenu::TbsSkinMenu(QWidget *Form, QObject *parent)
    : QObject(parent)
    , m_form(Form)
    , m_defaultItemFont(skinFont(QStringLiteral("Arial"), 14))
{
    m_waitTimer = new QTimer(this);
    m_waitTimer->setInterval(s_submenuDelayMs);
    m_waitTimer->setSingleShot(true);
    connect(m_waitTimer, &QTimer::timeout, this, &TbsSkinMenu::WaitTimerTick);
    // Controls of a window with skinned menus show their own context menus through them.
    TbsSkinPopupMenu::InstallControlMenuHandler();
}

TbsSkinMenu::~TbsSkinMenu()
{
    // The levels are children of the form, which may outlive the engine.
    for (const QPointer<TbsSkinPopupWindow> &popup : m_popups) {
        if (popup) {
            popup->markClosing();
            popup->hide();
            popup->deleteLater();
        }
    }
}

void TbsSkinMenu::SetDefaultItemHeight(int value)
{
    if (value >= 1) {
        m_defaultItemHeight = value;
    }
}

void TbsSkinMenu::SetMaxMenuItemsInWindow(int value)
{
    if (value >= 0) {
        m_maxMenuItemsInWindow = value;
    }
}

void TbsSkinMenu::SetAlphaBlendValue(int value)
{
    m_alphaBlendValue = std::clamp(value, 0, 255);
}

TbsSkinData *TbsSkinMenu::SkinData() const
{
    return m_skinData.data();
}

std::vector<TbsSkinPopupWindow *> TbsSkinMenu::Popups() const
{
    std::vector<TbsSkinPopupWindow *> popups;
    for (const QPointer<TbsSkinPopupWindow> &popup : m_popups) {
        if (popup) {
            popups.push_back(popup.data());
        }
    }
    return popups;
}

TbsSkinPopupWindow *TbsSkinMenu::TopPopup() const
{
    for (auto popup = m_popups.rbegin(); popup != m_popups.rend(); ++popup) {
        if (*popup) {
            return popup->data();
        }
    }
    return nullptr;
}

int TbsSkinMenu::LevelOf(const TbsSkinPopupWindow *window) const
{
    for (size_t i = 0; i < m_popups.size(); ++i) {
        if (m_popups[i] == window) {
            return int(i);
        }
    }
    return -1;
}

TbsSkinMenuItem *TbsSkinMenu::WaitItem() const
{
    return m_waitWindow && LevelOf(m_waitWindow) != -1 ? m_waitItem : nullptr;
}

bool TbsSkinMenu::WaitTimerActive() const
{
    return m_waitTimer->isActive();
}

void TbsSkinMenu::CancelWaitItem()
{
    m_waitTimer->stop();
    m_waitWindow = nullptr;
    m_waitItem = nullptr;
}

void TbsSkinMenu::OpenMenu(
    QObject *Control, TbsSkinData *SkinData, int StartIndex, const TRect &Anchor, QMenu *Item, bool PopupUpward)
{
    m_first = !m_visible;
    // The levels of a menu still open go first; its control and close handler are told of that now, so that the
    // new menu's control is not told of the old one's end.
    CloseLevels(0);
    m_popupControl = Control;
    m_workArea = m_workAreaOverride ? *m_workAreaOverride : GetMonitorWorkArea(m_form, true);
    m_skinData = SkinData;
    if (!Item || StartIndex < 0) {
        return;
    }
    int children = 0;
    for (QAction *action : Item->actions()) {
        children += action->isVisible() ? 1 : 0;
    }
    if (StartIndex >= children) {
        return;
    }
    m_visible = true;
    m_anchor = Anchor;
    OpenLevel(Anchor, Item, StartIndex, false, PopupUpward);
    m_first = false;
}

void TbsSkinMenu::OpenLevel(const TRect &Anchor, QMenu *Item, int StartIndex, bool IsSubmenu, bool PopupUpward)
{
    auto *window = new TbsSkinPopupWindow(this, m_form);
    m_popups.emplace_back(window);
    window->ShowAt(Anchor, Item, IsSubmenu, PopupUpward, StartIndex);
}

void TbsSkinMenu::CloseLevels(int Level)
{
    Level = std::max(Level, 0);
    while (int(m_popups.size()) > Level) {
        const QPointer<TbsSkinPopupWindow> popup = m_popups.back();
        m_popups.pop_back();
        if (popup) {
            if (popup == m_waitWindow) {
                m_waitTimer->stop();
                m_waitWindow = nullptr;
                m_waitItem = nullptr;
            }
            // Freed later: the level may be the one whose handler is running now.
            popup->markClosing();
            popup->hide();
            popup->deleteLater();
        }
    }
    if (Level != 0) {
        return;
    }
    const bool wasVisible = m_visible;
    m_visible = false;
    m_waitTimer->stop();
    m_doneControl = m_popupControl;
    const QPointer<QObject> control = m_popupControl;
    m_popupControl = nullptr;
    if (control) {
        notifyClosed(control);
    }
    const std::function<void()> handler = std::move(m_onMenuClose);
    m_onMenuClose = nullptr;
    if (wasVisible && handler) {
        handler();
    }
}

void TbsSkinMenu::CloseAll()
{
    const QPointer<TbsSkinMenu> self(this);
    CloseLevels(0);
    if (!self) {
        return;
    }
    m_waitTimer->stop();
    m_waitWindow = nullptr;
    m_waitItem = nullptr;
    if (m_form) {
        notifyClosed(m_form);
    }
    if (!self) {
        return;
    }
    const QPointer<QObject> control = m_popupControl;
    m_popupControl = nullptr;
    if (control) {
        notifyClosed(control);
    }
}

void TbsSkinMenu::notifyClosed(QObject *receiver)
{
    sendSkinMessage(receiver, SKIN_MSG_MENU_CLOSED, nullptr, 0);
}

void TbsSkinMenu::ItemAction(TbsSkinPopupWindow *Window, TbsSkinMenuItem *Item, bool ByKey, bool Execute)
{
    const int level = LevelOf(Window);
    if (level == -1 || !Item) {
        return;
    }
    if (!Item->HasChildren()) {
        if (!Execute) {
            CloseLevels(level + 1);
            return;
        }
        // Everything the command needs is taken now: CloseAll frees the levels and their items.
        const QPointer<QAction> action = Item->Action();
        const QPointer<TbsSkinMenu> self(this);
        m_waitTimer->stop();
        CloseAll();
        if (action) {
            action->trigger(); // may close the window, and with it this engine
        }
        if (!self) {
            return;
        }
        const QPointer<QObject> done = m_doneControl;
        m_doneControl = nullptr;
        if (done) {
            sendSkinMessage(done, SKIN_MSG_MENU_COMMAND, nullptr, 0);
        }
        return;
    }
    if (!Execute && !ByKey) {
        CloseLevels(level + 1);
        m_waitWindow = Window;
        m_waitItem = Item;
        m_waitTimer->start();
        return;
    }
    if (!Execute) {
        // Children highlighted by the keyboard open only on Enter or the right arrow.
        CloseLevels(level + 1);
        return;
    }
    m_waitTimer->stop();
    m_waitWindow = nullptr;
    m_waitItem = nullptr;
    CloseLevels(level + 1);
    QMenu *children = Item->Children();
    Item->Down = true;
    Item->Redraw();
    const QPoint origin = Window->mapToGlobal(QPoint(0, 0));
    const TRect anchor = offsetRect(Item->ItemRect, origin.x(), origin.y());
    OpenLevel(anchor, children, 0, true, false);
}

void TbsSkinMenu::WaitTimerTick()
{
    TbsSkinMenuItem *item = WaitItem();
    TbsSkinPopupWindow *window = m_waitWindow;
    m_waitWindow = nullptr;
    m_waitItem = nullptr;
    if (item && window && item->Active && item->Enabled()) {
        ItemAction(window, item, false, true);
    }
}

} // namespace pixolo
