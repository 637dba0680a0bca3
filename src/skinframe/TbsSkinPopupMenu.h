#pragma once

#include "skin/SkinGeometry.h"

#include <QMenu>
#include <QPointer>

#include <functional>

namespace pixolo
{

class TbsSkinData;
class TbsSkinMenu;

// A popup menu that shows itself through the skinned menu engine of the window it belongs to. Its items are the
// menu's own actions. Without a skinned form on that window nothing is shown.
class TbsSkinPopupMenu final : public QMenu
{
    Q_OBJECT
public:
    explicit TbsSkinPopupMenu(QWidget *parent = nullptr);
    ~TbsSkinPopupMenu() override;

    // The store the menu is drawn from; empty: the skinned form's menus store.
    TbsSkinData *SkinData() const;
    void SetSkinData(TbsSkinData *value);
    // Fires when the menu closes.
    std::function<void()> OnMenuClose;
    // The window the menu belongs to; none: the window of its parent.
    QWidget *Form() const { return m_form; }
    void SetForm(QWidget *value) { m_form = value; }
    // Where the menu last opened (screen coordinates).
    QPoint PopupPoint() const { return m_popupPoint; }

    // Opens the menu at the screen point (X, Y).
    void Popup(int X, int Y);
    // The same for Control, which is told when the menu closes and after a command ran; nothing without a store.
    // True when the menu opened.
    bool PopupForControl(QObject *Control, int X, int Y);
    // Opens the menu below (or, PopupUpward, above) the screen rectangle Anchor.
    void PopupAtRect(const TRect &Anchor, bool PopupUpward);

    // The engine of the skinned form of `form` (a window), or none.
    static TbsSkinMenu *FindSkinMenu(const QWidget *form);
    // Shows Items as the skinned menu of Control's window at the screen point At, for Control; false when that
    // window has no skinned menu or no store to draw it from.
    static bool ShowForControl(QWidget *Control, QMenu *Items, const QPoint &At);
    // Lets controls show their context menus through ShowForControl (see skin/ControlMenu.h).
    static void InstallControlMenuHandler();

private:
    TbsSkinMenu *findSkinMenu() const;
    bool open(QObject *control, const TRect &anchor, bool popupUpward, bool needStore);

    QPointer<TbsSkinData> m_skinData;
    QPointer<QWidget> m_form;
    QPoint m_popupPoint;
};

} // namespace pixolo
