#include "skinframe/FrameMenus.h"

#include "skin/TbsResourceStrData.h"
#include "skin/TbsSkinData.h"
#include "skinframe/TbsSkinForm.h"
#include "skinframe/TbsSkinMenu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace pixolo
{

namespace
{

TbsPopupMenuHook &popupMenuHook()
{
    static TbsPopupMenuHook s_hook;
    return s_hook;
}

} // namespace

void FrameMenus::SetPopupMenuHook(TbsPopupMenuHook hook)
{
    popupMenuHook() = std::move(hook);
}

void FrameMenus::BeginSkinMenu()
{
    if (m_menuMode) {
        return;
    }
    m_menuMode = true;
    if (m_form.OnSkinMenuOpen) {
        m_form.OnSkinMenuOpen();
    }
}

void FrameMenus::EndSkinMenu()
{
    m_menuMode = false;
    // The press that opened the menu ended in the menu, which took its release: the form holds no pressed object,
    // or the next press on another button of the frame would be taken for that one's release.
    FrameObjectTracker &tracker = m_form.tracker();
    if (auto *button = dynamic_cast<TbsSkinButtonObject *>(tracker.pressedObject());
        button && !button->hasPopupItem()) {
        button->SetPressed(false);
    }
    tracker.dropPressed();
    for (const auto &object : m_form.ObjectList()) {
        if (auto *button = dynamic_cast<TbsSkinButtonObject *>(object.get());
            button && button->Pressed && button->hasPopupItem()) {
            button->PopupItem.reset();
            button->SetPressed(false);
            break;
        }
        if (auto *animate = dynamic_cast<TbsSkinAnimateObject *>(object.get());
            animate && animate->PopupItem && animate->MenuShown) {
            animate->ActiveState = true;
            animate->CurrentFrame = animate->countframes;
            animate->Pressed = false;
            animate->MenuShown = false;
            animate->Forward = false;
            tracker.StartAnimationTimer();
            break;
        }
    }
    if (m_form.OnSkinMenuClose) {
        m_form.OnSkinMenuClose();
    }
}

void FrameMenus::closeSkinMenus()
{
    if (m_form.SkinMenu()->Visible()) {
        m_form.SkinMenu()->CloseAll();
    } else if (m_menuMode) {
        EndSkinMenu();
    }
}

void FrameMenus::endStaleMenuMode()
{
    if (m_menuMode && !m_form.SkinMenu()->Visible()) {
        EndSkinMenu();
    }
}

bool FrameMenus::ShowPopupMenu(const std::vector<SystemMenuItem> &items, const QRect &anchor)
{
    if (items.empty()) {
        return false;
    }
    if (popupMenuHook()) {
        BeginSkinMenu();
        if (!popupMenuHook()(m_form, items, anchor)) {
            m_menuMode = false;
            return false;
        }
        return true;
    }
    // The items become framework menu items; their short-cuts are only shown, never grabbed.
    if (m_popupItems) {
        m_popupItems->deleteLater();
    }
    auto *menu = new QMenu(m_form.Form());
    m_popupItems = menu;
    for (const SystemMenuItem &item : items) {
        if (item.Caption == QLatin1String("-")) {
            menu->addSeparator();
            continue;
        }
        QAction *action = menu->addAction(item.Caption);
        action->setObjectName(item.Name);
        if (!item.ShortCut.isEmpty()) {
            action->setShortcut(QKeySequence(item.ShortCut));
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        if (item.OnClick) {
            QObject::connect(action, &QAction::triggered, &m_form, [run = item.OnClick] { run(); });
        }
    }
    BeginSkinMenu();
    TbsSkinMenu *skinMenu = m_form.SkinMenu();
    skinMenu->OpenMenu(nullptr, skinMenu->FormMenusSkinData(), 0, toTRect(anchor), menu, false);
    if (!skinMenu->Visible()) {
        EndSkinMenu();
        return false;
    }
    return true;
}

std::vector<SystemMenuItem> FrameMenus::GetSystemMenuItems()
{
    const TbsSkinData *store = m_form.SkinData();
    const TbsResourceStrData *strings = store ? store->ResourceStrData() : nullptr;
    const auto caption = [strings](const char *key, const char *text) {
        return strings ? strings->GetResourceString(QString::fromLatin1(key)) : QString::fromLatin1(text);
    };
    const QPointer<TbsSkinForm> self(&m_form);
    const auto guarded = [self](auto action) {
        return [self, action] {
            if (self) {
                action(*self);
            }
        };
    };
    const TbsBorderIcons icons = m_form.BorderIcons();
    const TWindowState state = m_form.SkinWindowState();
    const bool rolledUp = m_form.RollUpState();
    const bool minimized = state == wsMinimized;
    const bool maximized = state == wsMaximized;

    std::vector<SystemMenuItem> items;
    if ((icons & biMinimize) && !minimized) {
        items.push_back({ QStringLiteral("SKF_MINITEM"), caption("MI_MINCAPTION", "Mi&nimize"), QString(),
            guarded([](TbsSkinForm &f) {
                if (f.AlwaysMinimizeToTray()) {
                    f.states().MinimizeToTray();
                } else {
                    f.SetSkinWindowState(wsMinimized);
                }
            }) });
    }
    if ((icons & biMaximize) && !maximized) {
        items.push_back({ QStringLiteral("SKF_MAXITEM"), caption("MI_MAXCAPTION", "Ma&ximize"), QString(),
            guarded([](TbsSkinForm &f) { f.SetSkinWindowState(wsMaximized); }) });
    }
    if (state != wsNormal || rolledUp) {
        items.push_back({ QStringLiteral("SKF_RESTORE"), caption("MI_RESTORECAPTION", "&Restore"), QString(),
            guarded([](TbsSkinForm &f) { f.states().restore(); }) });
    }
    if ((icons & biRollUp) && !rolledUp && !minimized) {
        items.push_back({ QStringLiteral("SKF_ROLLUP"), caption("MI_ROLLUPCAPTION", "Ro&llUp"), QString(),
            guarded([](TbsSkinForm &f) { f.SetRollUpState(true); }) });
    }
    if (icons & biMinimizeToTray) {
        items.push_back({ QStringLiteral("SKF_MINTOTRAY"), caption("MI_MINTOTRAYCAPTION", "Minimize to &Tray"),
            QString(), guarded([](TbsSkinForm &f) { f.states().MinimizeToTray(); }) });
    }
    if (!items.empty()) {
        items.push_back({ QString(), QStringLiteral("-"), QString(), {} });
    }
    items.push_back({ QStringLiteral("SKF_CLOSE"), caption("MI_CLOSECAPTION", "&Close"), QStringLiteral("Alt+F4"),
        guarded([](TbsSkinForm &f) { f.CloseForm(); }) });
    return items;
}

bool FrameMenus::showSystemMenuFromKeyboard()
{
    for (const auto &object : m_form.ObjectList()) {
        if (object->ObjectEnabled && object->ObjectVisible && isCaptionButton(object.get())
            && commandOf(object.get()) == cmSysMenu) {
            ShowSystemMenuUnder(object->ObjectRect);
            return true;
        }
    }
    // Without a system-menu button the menu opens at the client area's corner.
    if (m_form.BorderIcons() & biSystemMenu) {
        const QPoint at = m_form.Form()->mapToGlobal(toQRect(m_form.layout().clientRect()).topLeft());
        ShowSystemMenuAt(at.x(), at.y());
        return true;
    }
    return false;
}

void FrameMenus::ShowSystemMenuAt(int X, int Y)
{
    ShowPopupMenu(GetSystemMenuItems(), QRect(X, Y, 0, 0));
}

void FrameMenus::ShowSystemMenuUnder(const TRect &Rect)
{
    ShowPopupMenu(GetSystemMenuItems(), toQRect(Rect).translated(m_form.Form()->mapToGlobal(QPoint(0, 0))));
}

} // namespace pixolo
