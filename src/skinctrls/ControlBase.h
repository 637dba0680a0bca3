#pragma once

#include "skin/SkinTypes.h"
#include "skinctrls/ControlAccessibility.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcutEvent>
#include <QWidget>

#include <functional>

namespace pixolo
{

// Events are called with the sender first. A key handler may set the key to 0 (or the character to a null
// character) to swallow it.
using TNotifyEvent = std::function<void(QObject *sender)>;
using TKeyEvent = std::function<void(QObject *sender, int &key, Qt::KeyboardModifiers shift)>;
using TKeyPressEvent = std::function<void(QObject *sender, QChar &key)>;
using TMouseEvent
    = std::function<void(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(QObject *sender, Qt::KeyboardModifiers shift, int x, int y)>;

// How a control docks into its parent's client area.
enum TAlign : int { alNone, alTop, alBottom, alLeft, alRight, alClient };

class ControlCore;

// Places the aligned children of `parent` inside `area`, in the order the docking rules give: top, bottom, left,
// right, then client; within one kind by position (top-most first for top, bottom-most first for bottom, ...),
// then creation order. `first` (the control whose docking just changed) goes first within its kind.
void AlignControls(QWidget *parent, const QRect &area, QWidget *first = nullptr);

// A parent that keeps its own docking area (panels, status bars) implements this; any other parent docks its
// children into its whole rectangle and is watched for resizes.
class AlignContainer
{
public:
    virtual ~AlignContainer() = default;
    // Where docked children go, in the parent's coordinates.
    virtual QRect AlignRect() const = 0;
    // Docks the children again (the container may hold docking back, e.g. while rolled up).
    virtual void Realign(QWidget *first = nullptr) = 0;
};

// The framework part of every control that is not tied to the Qt base class: docking, tab order, hint.
class ControlCore
{
public:
    virtual ~ControlCore() = default;

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign value);
    int TabOrder() const { return m_tabOrder; }
    // Moves the control to position `value` among its parent's windowed controls; the others shift.
    void SetTabOrder(int value);
    const QString &Hint() const { return m_hint; }
    void SetHint(const QString &value);
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value);

    // Moves and sizes the control; controls with size rules of their own override this.
    virtual void SetBounds(int left, int top, int width, int height);

    virtual QWidget *widget() = 0;

protected:
    // Windowless controls (painted on their parent) have no tab order.
    bool m_windowless = false;
    // Tell the parent to dock its children again, if this control is docked; `first` goes first in its kind.
    void realignParent(QWidget *first = nullptr);

private:
    void updateToolTip();

    TAlign m_align = alNone;
    int m_tabOrder = -1;
    QString m_hint;
    bool m_showHint = false;
};

// The framework's control over a Qt widget class: the published framework properties and events shared by the
// library's controls. Subclasses give controls their own click rules by turning `m_clickEvents` off.
template <class QtBase> class ControlBase : public QtBase, public ControlCore
{
public:
    using QtBase::QtBase;

    const QString &Caption() const { return m_caption; }
    void SetCaption(const QString &value)
    {
        if (m_caption == value) {
            return;
        }
        m_caption = value;
        updateAccelerator();
        CaptionChanged();
        notifyNameChanged(this);
    }
    bool Enabled() const { return this->isEnabled(); }
    void SetEnabled(bool value) { this->setEnabled(value); }
    bool Visible() const { return !this->isHidden(); }
    void SetVisible(bool value) { this->setVisible(value); }
    bool TabStop() const { return (this->focusPolicy() & Qt::TabFocus) != 0; }
    void SetTabStop(bool value)
    {
        if (value) {
            this->setFocusPolicy(Qt::FocusPolicy(this->focusPolicy() | Qt::TabFocus));
        } else {
            this->setFocusPolicy(Qt::FocusPolicy(this->focusPolicy() & ~Qt::TabFocus));
        }
    }
    int Left() const { return this->x(); }
    int Top() const { return this->y(); }
    int Width() const { return this->width(); }
    int Height() const { return this->height(); }
    void SetWidth(int value) { SetBounds(this->x(), this->y(), value, this->height()); }
    void SetHeight(int value) { SetBounds(this->x(), this->y(), this->width(), value); }

    // The menu shown on a right click (or the menu key); none by default.
    QMenu *PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu *value) { m_popupMenu = value; }

    QWidget *widget() override { return this; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // Runs the control's click action: fires OnClick. Buttons and boxes override it with their own routine.
    virtual void Click() { fire(OnClick); }

protected:
    // The caption changed (the accelerator is already updated).
    virtual void CaptionChanged() { this->update(); }
    // The enabled state changed.
    virtual void EnabledChanged() { this->update(); }
    // The pointer entered or left the control (also while a button is held, see trackHover()).
    virtual void MouseEnter() { fire(OnMouseEnter); }
    virtual void MouseLeave() { fire(OnMouseLeave); }
    // The caption's accelerator character was typed (Alt + character).
    virtual void AcceleratorPressed() { }

    // Calls an event with this control as sender; the event may delete the control, so callers return at once
    // when the result is false.
    bool fire(const TNotifyEvent &event)
    {
        if (!event) {
            return true;
        }
        const QPointer<QWidget> self(this);
        const TNotifyEvent copy = event; // the handler may replace the event while it runs
        copy(this);
        return !self.isNull();
    }
    bool fireMouse(const TMouseEvent &event, QMouseEvent *mouse)
    {
        if (!event) {
            return true;
        }
        const QPointer<QWidget> self(this);
        const TMouseEvent copy = event;
        const QPoint at = mouse->position().toPoint();
        copy(this, mouse->button(), mouse->modifiers(), at.x(), at.y());
        return !self.isNull();
    }
    // Fires OnKeyDown; false when the handler swallowed the key (or deleted the control).
    bool fireKeyDown(QKeyEvent *event) { return fireKey(OnKeyDown, event); }
    bool fireKeyUp(QKeyEvent *event) { return fireKey(OnKeyUp, event); }
    bool fireKey(const TKeyEvent &handler, QKeyEvent *event)
    {
        if (!handler) {
            return true;
        }
        const QPointer<QWidget> self(this);
        const TKeyEvent copy = handler;
        int key = event->key();
        copy(this, key, event->modifiers());
        return !self.isNull() && key != 0;
    }
    // Fires OnKeyPress with the event's character; false when swallowed. `key` receives a changed character.
    bool fireKeyPress(QChar &key)
    {
        if (!OnKeyPress) {
            return true;
        }
        const QPointer<QWidget> self(this);
        const TKeyPressEvent copy = OnKeyPress;
        copy(this, key);
        return !self.isNull() && !key.isNull();
    }

    // Whether the pointer is over the control, kept while a mouse button is held (Qt sends no enter and leave
    // events then) by comparing each move with the control's rectangle.
    bool pointerInside() const { return m_pointerInside; }
    // Brings the hover state up to date with a pointer position of a mouse event.
    void trackPointer(const QPoint &position) { setPointerInside(this->rect().contains(position)); }

    // A windowless control is painted over its parent: it takes no focus, has no tab order and paints only
    // what it draws.
    void setWindowless(bool windowless)
    {
        m_windowless = windowless;
        this->setAttribute(Qt::WA_OpaquePaintEvent, !windowless);
        if (windowless) {
            this->setFocusPolicy(Qt::NoFocus);
        }
    }

    // csClickEvents: a left press and release on the control runs Click().
    bool m_clickEvents = true;

    bool event(QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Shortcut:
            if (static_cast<QShortcutEvent *>(event)->shortcutId() == m_shortcutId && m_shortcutId != 0) {
                AcceleratorPressed();
                return true;
            }
            break;
        case QEvent::EnabledChange:
            EnabledChanged();
            break;
        case QEvent::ParentChange:
            realignParent();
            break;
        default:
            break;
        }
        return QtBase::event(event);
    }
    void enterEvent(QEnterEvent *event) override
    {
        QtBase::enterEvent(event);
        setPointerInside(true);
    }
    void leaveEvent(QEvent *event) override
    {
        QtBase::leaveEvent(event);
        setPointerInside(false);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        trackPointer(event->position().toPoint());
        if (event->button() == Qt::LeftButton) {
            m_clickPressed = true;
        }
        if (fireMouse(OnMouseDown, event)) {
            QtBase::mousePressEvent(event);
            event->accept(); // the control takes its clicks: they do not fall through to the parent
        }
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (event->buttons() != Qt::NoButton) {
            trackPointer(event->position().toPoint());
        }
        if (OnMouseMove) {
            const QPointer<QWidget> self(this);
            const TMouseMoveEvent copy = OnMouseMove;
            const QPoint at = event->position().toPoint();
            copy(this, event->modifiers(), at.x(), at.y());
            if (self.isNull()) {
                return;
            }
        }
        QtBase::mouseMoveEvent(event);
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        trackPointer(event->position().toPoint());
        const bool click = m_clickEvents && m_clickPressed && event->button() == Qt::LeftButton
            && this->rect().contains(event->position().toPoint());
        if (event->button() == Qt::LeftButton) {
            m_clickPressed = false;
        }
        if (click) {
            const QPointer<QWidget> self(this);
            Click();
            if (self.isNull()) {
                return;
            }
        }
        if (fireMouse(OnMouseUp, event)) {
            QtBase::mouseReleaseEvent(event);
            event->accept();
        }
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && m_clickEvents) {
            m_clickPressed = true;
            if (!fire(OnDblClick)) {
                return;
            }
        }
        QtBase::mouseDoubleClickEvent(event);
        event->accept();
    }
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        if (!m_popupMenu) {
            QtBase::contextMenuEvent(event);
            return;
        }
        m_popupMenu->popup(contextMenuPosition(event));
    }
    // Where a context menu opens: at the pointer, or at the middle of the control when asked from the keyboard.
    QPoint contextMenuPosition(const QContextMenuEvent *event) const
    {
        return event->reason() == QContextMenuEvent::Keyboard ? this->mapToGlobal(this->rect().center())
                                                              : event->globalPos();
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!fireKeyDown(event)) {
            event->accept();
            return;
        }
        if (KeyDown(event)) {
            event->accept();
            return;
        }
        const QChar typed = event->text().size() == 1 ? event->text().at(0) : QChar();
        QChar key = typed;
        if (!key.isNull() && !fireKeyPress(key)) {
            event->accept();
            return;
        }
        if (key == typed) {
            QtBase::keyPressEvent(event);
            return;
        }
        // The handler put another character in its place.
        QKeyEvent replaced(event->type(), event->key(), event->modifiers(), QString(key), event->isAutoRepeat());
        QtBase::keyPressEvent(&replaced);
        event->setAccepted(replaced.isAccepted());
    }
    void keyReleaseEvent(QKeyEvent *event) override
    {
        if (!fireKeyUp(event)) {
            event->accept();
            return;
        }
        if (KeyUp(event)) {
            event->accept();
            return;
        }
        QtBase::keyReleaseEvent(event);
    }
    // The control's own key handling after OnKeyDown / OnKeyUp; true when the key was used.
    virtual bool KeyDown(QKeyEvent *) { return false; }
    virtual bool KeyUp(QKeyEvent *) { return false; }
    // OnEnter and OnExit follow the window's focused control: a window losing and regaining activation, or a
    // popup opening over it, leaves its focused control where it is.
    void focusInEvent(QFocusEvent *event) override
    {
        QtBase::focusInEvent(event);
        const bool regained = m_focusParked && event->reason() == Qt::ActiveWindowFocusReason;
        m_focusParked = false;
        if (!regained) {
            fire(OnEnter);
        }
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QtBase::focusOutEvent(event);
        if (!isControlFocusChange(event->reason())) {
            m_focusParked = true;
            return;
        }
        fire(OnExit);
    }
    void resizeEvent(QResizeEvent *event) override
    {
        QtBase::resizeEvent(event);
        realignParent();
        fire(OnResize);
    }
    void moveEvent(QMoveEvent *event) override
    {
        QtBase::moveEvent(event);
        realignParent();
    }
    void showEvent(QShowEvent *event) override
    {
        QtBase::showEvent(event);
        if (!event->spontaneous()) {
            realignParent();
        }
    }
    void hideEvent(QHideEvent *event) override
    {
        QtBase::hideEvent(event);
        // Only a control hidden on its own frees its place; one hidden with its parent (or while the parent is
        // torn down) leaves the docking as it is.
        const QWidget *parent = this->parentWidget();
        if (!event->spontaneous() && parent && parent->isVisible()) {
            realignParent();
        }
    }

private:
protected:
    // Entering and leaving the window, or a popup opening, is no change of the focused control.
    static bool isControlFocusChange(Qt::FocusReason reason)
    {
        return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    }

private:
    void setPointerInside(bool inside)
    {
        if (m_pointerInside == inside) {
            return;
        }
        m_pointerInside = inside;
        if (inside) {
            MouseEnter();
        } else {
            MouseLeave();
        }
    }
    void updateAccelerator()
    {
        if (m_shortcutId != 0) {
            this->releaseShortcut(m_shortcutId);
            m_shortcutId = 0;
        }
        const QKeySequence sequence = QKeySequence::mnemonic(m_caption);
        if (!sequence.isEmpty()) {
            m_shortcutId = this->grabShortcut(sequence);
        }
    }

    QString m_caption;
    QPointer<QMenu> m_popupMenu;
    bool m_pointerInside = false;
    bool m_clickPressed = false;
    bool m_focusParked = false; // the focus left with the window's activation, not to another control
    int m_shortcutId = 0;
};

} // namespace pixolo
