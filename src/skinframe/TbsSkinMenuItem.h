#pragma once

#include "skin/TbsDataSkinObject.h"

#include <QPointer>
#include <QString>

class QAction;
class QMenu;

namespace pixolo
{

class TbsSkinPopupWindow;

// One shown item of a skinned popup: the framework's menu item (a QAction: caption with '&', short-cut, enabled,
// check mark, radio group, icon, submenu, command) and its state in the popup.
class TbsSkinMenuItem final
{
public:
    TbsSkinMenuItem(TbsSkinPopupWindow *window, QAction *action);

    QAction *Action() const { return m_action; }
    TbsSkinPopupWindow *Window() const { return m_window; }
    // A separator ("-" or the framework's separator).
    bool IsSeparator() const;
    bool Enabled() const;
    // The item's children (its submenu), or none.
    QMenu *Children() const;
    bool HasChildren() const;
    QString Caption() const;
    // The short-cut as text ("Alt+F4"), empty without one.
    QString ShortCutText() const;
    // The caption's access character ('&' followed by it), lower case; a null character without one.
    QChar Accelerator() const;

    // Highlights the item; ByKey: by the keyboard (an item with children then does not open its submenu).
    void Activate(bool ByKey);
    void Deactivate();
    // Runs the item: opens its submenu, or runs its command after every level is closed.
    void Click();
    // Shows the item up again after its submenu closed.
    void SetUp();
    // Redraws the item, through the effect timer when morphs or animations are in effect.
    void Redraw();

    TRect ItemRect;
    bool Visible = true;
    bool Active = false;
    bool Down = false;
    bool Waiting = false;
    double MorphFactor = 0;
    int AnimationFrame = 0;

private:
    TbsSkinPopupWindow *m_window;
    QPointer<QAction> m_action;
};

} // namespace pixolo
