#include "skinframe/TbsSkinPopupMenu.h"

#include "skin/ControlMenu.h"
#include "skin/TbsSkinData.h"
#include "skinframe/TbsSkinMenu.h"

namespace pixolo
{

namespace
{

// Opens Items as level 0 of the engine for Control with Store, ending a menu of the form that is still open and
// starting the form's menu mode. True when the menu opened.
bool openThrough(TbsSkinMenu *menu, QObject *control, TbsSkinData *store, const TRect &anchor, QMenu *items,
    bool popupUpward, const std::function<void()> &onClose)
{
    if (menu->Visible()) {
        menu->CloseLevels(0);
        if (menu->FormEndMenu) {
            menu->FormEndMenu();
        }
    }
    if (menu->FormBeginMenu) {
        menu->FormBeginMenu();
    }
    menu->OpenMenu(control, store, 0, anchor, items, popupUpward);
    if (!menu->Visible()) {
        // Nothing to show: the menu mode just begun ends again.
        if (menu->FormEndMenu) {
            menu->FormEndMenu();
        }
        return false;
    }
    menu->SetMenuCloseHandler(onClose);
    return true;
}

} // namespace

TbsSkinPopupMenu::TbsSkinPopupMenu(QWidget *parent)
    : QMenu(parent)
{
}

TbsSkinPopupMenu::~TbsSkinPopupMenu() = default;

TbsSkinData *TbsSkinPopupMenu::SkinData() const
{
    return m_skinData.data();
}

void TbsSkinPopupMenu::SetSkinData(TbsSkinData *value)
{
    m_skinData = value;
}

TbsSkinMenu *TbsSkinPopupMenu::FindSkinMenu(const QWidget *form)
{
    return form ? form->findChild<TbsSkinMenu *>() : nullptr;
}

TbsSkinMenu *TbsSkinPopupMenu::findSkinMenu() const
{
    // The window it belongs to, else its parent's window, else the window above that one.
    if (TbsSkinMenu *menu = FindSkinMenu(m_form)) {
        return menu;
    }
    const QWidget *owner = parentWidget();
    for (int depth = 0; owner && depth < 2; ++depth) {
        if (TbsSkinMenu *menu = FindSkinMenu(owner->window())) {
            return menu;
        }
        owner = owner->window()->parentWidget();
    }
    return nullptr;
}

bool TbsSkinPopupMenu::open(QObject *control, const TRect &anchor, bool popupUpward, bool needStore)
{
    Q_EMIT aboutToShow();
    TbsSkinMenu *menu = findSkinMenu();
    if (!menu) {
        return false;
    }
    TbsSkinData *store = m_skinData ? m_skinData.data() : menu->FormMenusSkinData ? menu->FormMenusSkinData() : nullptr;
    if (needStore && !store) {
        return false;
    }
    m_popupPoint = QPoint(anchor.Left, anchor.Bottom);
    const QPointer<TbsSkinPopupMenu> self(this);
    return openThrough(menu, control, store, anchor, this, popupUpward, [self] {
        if (self && self->OnMenuClose) {
            const std::function<void()> handler = self->OnMenuClose;
            handler();
        }
    });
}

void TbsSkinPopupMenu::Popup(int X, int Y)
{
    open(nullptr, { X, Y, X, Y }, false, false);
}

bool TbsSkinPopupMenu::PopupForControl(QObject *Control, int X, int Y)
{
    return open(Control, { X, Y, X, Y }, false, true);
}

void TbsSkinPopupMenu::PopupAtRect(const TRect &Anchor, bool PopupUpward)
{
    open(nullptr, Anchor, PopupUpward, false);
}

bool TbsSkinPopupMenu::ShowForControl(QWidget *Control, QMenu *Items, const QPoint &At)
{
    if (!Control || !Items) {
        return false;
    }
    TbsSkinMenu *menu = FindSkinMenu(Control->window());
    TbsSkinData *store = menu && menu->FormMenusSkinData ? menu->FormMenusSkinData() : nullptr;
    if (!store) {
        return false;
    }
    return openThrough(menu, Control, store, { At.x(), At.y(), At.x(), At.y() }, Items, false, {});
}

void TbsSkinPopupMenu::InstallControlMenuHandler()
{
    static bool s_installed = false;
    if (!s_installed) {
        s_installed = true;
        setControlMenuHandler(&TbsSkinPopupMenu::ShowForControl);
    }
}

} // namespace pixolo
