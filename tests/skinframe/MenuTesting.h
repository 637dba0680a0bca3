#pragma once

// Helpers of the menu and hint tests: a window with a menu engine the way a skinned form sets one up, and menus of
// plain actions. Pixolo's skin in a store comes from the frame tests' helpers.
#include "FrameTesting.h"
#include "skin/SkinMessage.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"
#include "skinframe/TbsSkinMenu.h"
#include "skinframe/TbsSkinPopupWindow.h"
#include "storedskin/StoredSkin.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <memory>

namespace pixolo::test
{

// Counts the menu notices a control or window receives.
class NoticeCounter final : public QObject
{
public:
    int closed = 0;
    int commands = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == SkinMessageEvent::eventType()) {
            const int msg = static_cast<SkinMessageEvent *>(event)->Msg();
            closed += msg == SKIN_MSG_MENU_CLOSED ? 1 : 0;
            commands += msg == SKIN_MSG_MENU_COMMAND ? 1 : 0;
            return true;
        }
        return QObject::event(event);
    }
};

// A window with its menu engine, as a skinned form gives one to its window; the work area is the test screen's.
struct MenuWindow {
    MenuWindow()
        : form(std::make_unique<QWidget>())
    {
        form->resize(200, 100);
        store = pixoloStore(form.get());
        menu = new TbsSkinMenu(form.get(), form.get());
        menu->FormMenusSkinData = [this] { return store; };
        menu->SetWorkAreaOverride({ 0, 0, 800, 600 });
    }

    std::unique_ptr<QWidget> form;
    TbsSkinData *store = nullptr;
    TbsSkinMenu *menu = nullptr;
};

inline QAction *addItem(QMenu &menu, const QString &caption, bool enabled = true)
{
    QAction *action = menu.addAction(caption);
    action->setEnabled(enabled);
    return action;
}

inline QPoint itemCentre(const TbsSkinMenuItem &item)
{
    return QPoint((item.ItemRect.Left + item.ItemRect.Right) / 2, (item.ItemRect.Top + item.ItemRect.Bottom) / 2);
}

inline void hoverItem(TbsSkinPopupWindow *popup, const TbsSkinMenuItem &item)
{
    hover(popup, itemCentre(item));
}

inline void clickItem(TbsSkinPopupWindow *popup, const TbsSkinMenuItem &item)
{
    click(popup, itemCentre(item));
}

inline void key(TbsSkinPopupWindow *popup, Qt::Key k)
{
    QTest::keyClick(popup, k);
}

} // namespace pixolo::test
