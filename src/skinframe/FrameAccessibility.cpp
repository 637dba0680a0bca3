#include "skinframe/FrameAccessibility.h"

#include "skin/SkinText.h"
#include "skinframe/TbsActiveSkinObject.h"
#include "skinframe/TbsSkinForm.h"
#include "skinframe/TbsSkinPopupWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QByteArrayView>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <map>
#include <vector>

namespace pixolo
{

namespace
{

TbsSkinForm *skinFormOf(const QWidget *window)
{
    return window->findChild<TbsSkinForm *>(QString(), Qt::FindDirectChildrenOnly);
}

bool isCaption(const TbsActiveSkinObject *object)
{
    return dynamic_cast<const TbsSkinCaptionObject *>(object) != nullptr;
}

bool isButton(const TbsActiveSkinObject *object)
{
    return dynamic_cast<const TbsSkinButtonObject *>(object) || dynamic_cast<const TbsSkinAnimateObject *>(object);
}

// A caption button's name when its hint says nothing.
QString commandName(TbsStdCommand command)
{
    switch (command) {
    case cmClose:
        return QStringLiteral("Close");
    case cmMaximize:
        return QStringLiteral("Maximize");
    case cmMinimize:
        return QStringLiteral("Minimize");
    case cmSysMenu:
        return QStringLiteral("System menu");
    case cmRollUp:
        return QStringLiteral("Roll Up");
    case cmMinimizeToTray:
        return QStringLiteral("Minimize to Tray");
    default:
        return {};
    }
}

// The frame objects a screen reader is shown, in the frame's order: the caption and the buttons that show.
std::vector<TbsActiveSkinObject *> shownObjects(const TbsSkinForm *form)
{
    std::vector<TbsActiveSkinObject *> shown;
    if (!form) {
        return shown;
    }
    for (const auto &object : form->ObjectList()) {
        if (object->ObjectVisible && (isCaption(object.get()) || isButton(object.get()))) {
            shown.push_back(object.get());
        }
    }
    return shown;
}

// A frame object as a child of its window's interface. The object is read afresh at every question: the form may
// rebuild its objects (a new skin), after which an interface of an object that went is no longer valid.
class FrameObjectAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    FrameObjectAccessible(TbsSkinForm *form, TbsActiveSkinObject *object)
        : m_form(form)
        , m_object(object)
    {
    }

    const TbsActiveSkinObject *frameObject() const { return m_object; }

    bool isValid() const override
    {
        if (!m_form) {
            return false;
        }
        for (const auto &object : m_form->ObjectList()) {
            if (object.get() == m_object) {
                return true;
            }
        }
        return false;
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_form ? m_form->Form()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return m_form ? QAccessible::queryAccessibleInterface(m_form->Form()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid()) {
            return {};
        }
        if (isCaption(m_object)) {
            return t == QAccessible::Name ? m_form->CaptionText() : QString();
        }
        switch (t) {
        case QAccessible::Name:
            return m_object->Hint.isEmpty() ? commandName(commandOf(m_object)) : accessibleCaption(m_object->Hint);
        case QAccessible::Description:
            return m_object->Hint;
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override
    {
        if (!isValid()) {
            return {};
        }
        const QRect local = toQRect(m_object->ObjectRect);
        return QRect(m_form->Form()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override
    {
        return isCaption(m_object) ? QAccessible::TitleBar : QAccessible::Button;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.disabled = !m_object->ObjectEnabled;
        s.invisible = !m_object->ObjectVisible || !m_form->Form()->isVisible();
        s.hotTracked = m_object->MouseOver;
        if (const auto *button = dynamic_cast<const TbsSkinButtonObject *>(m_object)) {
            s.pressed = button->Pressed;
            s.hasPopup = commandOf(m_object) == cmSysMenu || button->hasPopupItem();
        } else if (const auto *animate = dynamic_cast<const TbsSkinAnimateObject *>(m_object)) {
            s.pressed = animate->Pressed;
            s.hasPopup = animate->PopupItem != nullptr;
        }
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    QStringList actionNames() const override
    {
        if (!isValid() || !isButton(m_object) || !m_object->ObjectEnabled) {
            return {};
        }
        return { pressAction() };
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &name) override
    {
        if (name != pressAction() || !actionNames().contains(name)) {
            return;
        }
        // What a click on the button does: the system menu or the button's menu opens, or its command runs.
        if (commandOf(m_object) == cmSysMenu) {
            m_form->menus().ShowSystemMenuUnder(m_object->ObjectRect);
        } else if (auto *standard = dynamic_cast<TbsSkinStdButtonObject *>(m_object)) {
            if (!standard->hasPopupItem() || !standard->ShowPopupItem()) {
                standard->ExecuteCommand();
            }
        } else if (auto *animate = dynamic_cast<TbsSkinAnimateObject *>(m_object)) {
            if (!animate->PopupItem || !animate->ShowPopupItem()) {
                animate->ExecuteCommand();
            }
        } else if (auto *button = dynamic_cast<TbsSkinButtonObject *>(m_object)) {
            button->ShowPopupItem();
        }
    }

private:
    QPointer<TbsSkinForm> m_form;
    TbsActiveSkinObject *m_object;
};

// A skinned window: its frame objects first, then its widgets.
class FrameWindowAccessible final : public QAccessibleWidget
{
public:
    explicit FrameWindowAccessible(QWidget *window)
        : QAccessibleWidget(window, QAccessible::Window)
    {
    }
    ~FrameWindowAccessible() override
    {
        for (const auto &[object, id] : m_children) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override { return int(objects().size()) + QAccessibleWidget::childCount(); }
    QAccessibleInterface *child(int index) const override
    {
        const auto shown = objects();
        if (index < 0) {
            return nullptr;
        }
        if (index < int(shown.size())) {
            return frameChild(shown[size_t(index)]);
        }
        return QAccessibleWidget::child(index - int(shown.size()));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto shown = objects();
        if (const auto *frame = dynamic_cast<const FrameObjectAccessible *>(child)) {
            for (size_t i = 0; i < shown.size(); ++i) {
                if (shown[i] == frame->frameObject()) {
                    return int(i);
                }
            }
            return -1;
        }
        const int index = QAccessibleWidget::indexOfChild(child);
        return index < 0 ? -1 : index + int(shown.size());
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (TbsActiveSkinObject *object : objects()) {
            QAccessibleInterface *frame = frameChild(object);
            if (frame->rect().contains(x, y)) {
                return frame;
            }
        }
        return QAccessibleWidget::childAt(x, y);
    }

private:
    std::vector<TbsActiveSkinObject *> objects() const { return shownObjects(skinFormOf(widget())); }

    // One interface per frame object for as long as the window's interface lives (a screen reader keeps them by
    // their identifier).
    QAccessibleInterface *frameChild(TbsActiveSkinObject *object) const
    {
        const auto known = m_children.find(object);
        if (known != m_children.end()) {
            if (QAccessibleInterface *frame = QAccessible::accessibleInterface(known->second)) {
                return frame;
            }
        }
        auto *frame = new FrameObjectAccessible(skinFormOf(widget()), object);
        m_children[object] = QAccessible::registerAccessibleInterface(frame);
        return frame;
    }

    mutable std::map<const TbsActiveSkinObject *, QAccessible::Id> m_children;
};

class PopupAccessible;

// An item of an open menu level, by its place in the level.
class MenuItemAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    MenuItemAccessible(TbsSkinPopupWindow *popup, int index)
        : m_popup(popup)
        , m_index(index)
    {
    }

    bool isValid() const override { return item() != nullptr; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_popup ? m_popup->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return m_popup ? QAccessible::queryAccessibleInterface(m_popup.data()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        const TbsSkinMenuItem *shown = item();
        if (!shown || shown->IsSeparator()) {
            return {};
        }
        switch (t) {
        case QAccessible::Name:
            return accessibleCaption(shown->Caption());
        case QAccessible::Accelerator:
            return shown->ShortCutText();
        case QAccessible::Description:
            return shown->Action() ? shown->Action()->toolTip() : QString();
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override
    {
        const TbsSkinMenuItem *shown = item();
        if (!shown) {
            return {};
        }
        const QRect local = toQRect(shown->ItemRect);
        return QRect(m_popup->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override
    {
        const TbsSkinMenuItem *shown = item();
        return shown && shown->IsSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        const TbsSkinMenuItem *shown = item();
        if (!shown) {
            s.invalid = true;
            return s;
        }
        s.invisible = !shown->Visible || !m_popup->isVisible();
        if (shown->IsSeparator()) {
            return s;
        }
        s.disabled = !shown->Enabled();
        s.focusable = s.selectable = !s.disabled;
        s.focused = s.selected = s.hotTracked = shown->Active;
        s.hasPopup = shown->HasChildren();
        if (const QAction *action = shown->Action(); action && action->isCheckable()) {
            s.checkable = true;
            s.checked = action->isChecked();
        }
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override
    {
        const TbsSkinMenuItem *shown = item();
        if (!shown || shown->IsSeparator() || !shown->Enabled()) {
            return {};
        }
        return { pressAction() };
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && actionNames().contains(name)) {
            item()->Click(); // the level may close and go: nothing of it is used after this
        }
    }

private:
    TbsSkinMenuItem *item() const
    {
        if (!m_popup || m_index >= int(m_popup->Items().size())) {
            return nullptr;
        }
        return m_popup->Items()[size_t(m_index)].get();
    }

    QPointer<TbsSkinPopupWindow> m_popup;
    int m_index;
};

// An open menu level: its items are its children.
class PopupAccessible final : public QAccessibleWidget
{
public:
    explicit PopupAccessible(TbsSkinPopupWindow *popup)
        : QAccessibleWidget(popup, QAccessible::PopupMenu)
    {
    }
    ~PopupAccessible() override
    {
        for (const QAccessible::Id id : m_items) {
            if (id != 0) {
                QAccessible::deleteAccessibleInterface(id);
            }
        }
    }

    int childCount() const override { return int(popup()->Items().size()); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        if (m_items.size() <= size_t(index)) {
            m_items.resize(size_t(index) + 1, 0);
        }
        QAccessible::Id &id = m_items[size_t(index)];
        if (QAccessibleInterface *known = id != 0 ? QAccessible::accessibleInterface(id) : nullptr) {
            return known;
        }
        auto *item = new MenuItemAccessible(popup(), index);
        id = QAccessible::registerAccessibleInterface(item);
        return item;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i] != 0 && QAccessible::accessibleInterface(m_items[i]) == child) {
                return int(i);
            }
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface *item = child(i);
            if (!item->state().invisible && item->rect().contains(x, y)) {
                return item;
            }
        }
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        const int active = popup()->ActiveIndex();
        return active >= 0 ? child(active) : nullptr;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && popup()->ParentItem()) {
            return accessibleCaption(popup()->ParentItem()->title());
        }
        return QAccessibleWidget::text(t);
    }

private:
    TbsSkinPopupWindow *popup() const { return static_cast<TbsSkinPopupWindow *>(widget()); }

    mutable std::vector<QAccessible::Id> m_items;
};

QAccessibleInterface *frameFactory(const QString &, QObject *object)
{
    if (!object || !object->isWidgetType()) {
        return nullptr;
    }
    if (auto *popup = qobject_cast<TbsSkinPopupWindow *>(object)) {
        return new PopupAccessible(popup);
    }
    auto *widget = static_cast<QWidget *>(object);
    const Qt::WindowType type = widget->windowType();
    if (!widget->isWindow() || type == Qt::Popup || type == Qt::ToolTip) {
        return nullptr;
    }
    // The program's own windows get the frame's interface from their first question on, before their frame is
    // made; another window gets it once it has a frame.
    if (QByteArrayView(object->metaObject()->className()).startsWith("pixolo::") || skinFormOf(widget)) {
        return new FrameWindowAccessible(widget);
    }
    return nullptr;
}

} // namespace

void installFrameAccessibility()
{
    QAccessible::installFactory(frameFactory);
}

} // namespace pixolo
