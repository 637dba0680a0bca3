#include "skinframe/FrameEventFilter.h"

#include "skin/SkinPlatform.h"
#include "skinframe/TbsSkinForm.h"
#include "skinframe/TbsSkinMenu.h"
#include "skinframe/WindowSystem.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace pixolo
{

namespace
{

TPoint toTPoint(const QPointF &p)
{
    const QPoint q = p.toPoint();
    return { q.x(), q.y() };
}

} // namespace

FrameEventFilter::FrameEventFilter(TbsSkinForm &form)
    : QObject(&form)
    , m_form(form)
{
}

bool FrameEventFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_form.Form()) {
        return false;
    }
    QWidget *form = m_form.Form();
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(form);
        m_form.painter().paintWindow(painter, static_cast<QPaintEvent *>(event)->region());
        return true;
    }
    case QEvent::MouseButtonPress:
        return handleMousePress(static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonDblClick:
        return handleMouseDoubleClick(static_cast<QMouseEvent *>(event));
    case QEvent::MouseMove:
        return handleMouseMove(static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonRelease:
        return handleMouseRelease(static_cast<QMouseEvent *>(event));
    case QEvent::Leave:
        if (m_form.PressedObjectIndex() == -1 && m_form.HotObjectIndex() != -1) {
            m_form.UpdateHotObject(-1, -1, true);
        }
        return false;
    case QEvent::Resize:
        m_form.menus().closeSkinMenus();
        m_form.states().rememberNormalSize();
        m_form.layout().windowResized();
        return false;
    case QEvent::Move:
        m_form.menus().closeSkinMenus();
        return false;
    case QEvent::KeyPress:
        return m_form.handleMenuKey(static_cast<QKeyEvent *>(event));
    case QEvent::ContextMenu:
        // A menu asked for from the keyboard that no control answered: the window's own, the system menu.
        if (static_cast<QContextMenuEvent *>(event)->reason() != QContextMenuEvent::Keyboard) {
            return false;
        }
        if (!m_form.SkinMenu()->Visible()) {
            m_form.menus().showSystemMenuFromKeyboard();
        }
        return true;
    case QEvent::FocusOut:
        // A popup of the window's own menu taking the keyboard closes nothing.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            m_form.menus().closeSkinMenus();
        }
        return false;
    case QEvent::ActivationChange:
        handleActivation();
        return false;
    case QEvent::WindowTitleChange:
        form->update();
        return false;
    case QEvent::Show:
        m_form.states().windowShown();
        m_form.layout().NudgeWidth();
        return false;
    case QEvent::Hide:
        if (m_form.AlphaBlend()) {
            SetWindowAlpha(form, 255);
        }
        return false;
    case QEvent::WindowStateChange:
        m_form.states().windowStateChanged(event);
        return false;
    default:
        return false;
    }
}

bool FrameEventFilter::handleMousePress(QMouseEvent *event)
{
    const TPoint P = toTPoint(event->position());
    const int code = m_form.HitTest(P);
    m_form.menus().closeSkinMenus();
    if (code == HTCLIENT) {
        return false;
    }
    QWidget *form = m_form.Form();
    if (!form->isActiveWindow()) {
        // A click on the frame activates the window, and the click already counts for the active window (the
        // window system reports the activation only later).
        form->activateWindow();
        m_clickActivation = true;
    }
    m_sizing = false;
    FrameObjectTracker &tracker = m_form.tracker();
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton) {
        tracker.UpdateHotObject(P.X, P.Y, true);
        tracker.pressObject(Qt::LeftButton, P.X, P.Y);
        if (code == HTCAPTION) {
            tracker.dropPressed();
            m_captionPressed = true;
            m_pressGlobal = global;
        } else if (isSizingHitCode(code)) {
            startSystemResizeOrDrag(code, global);
        }
    } else if (event->button() == Qt::RightButton) {
        tracker.UpdateHotObject(P.X, P.Y, true);
        tracker.pressObject(Qt::RightButton, P.X, P.Y);
        if (code == HTCAPTION) {
            tracker.dropPressed();
            m_form.menus().ShowSystemMenuAt(global.x(), global.y());
        }
    }
    return true;
}

bool FrameEventFilter::handleMouseDoubleClick(QMouseEvent *event)
{
    const TPoint P = toTPoint(event->position());
    const int code = m_form.HitTest(P);
    if (code == HTCLIENT) {
        return false;
    }
    m_captionPressed = false;
    const QPointer<TbsSkinForm> self(&m_form);
    FrameObjectTracker &tracker = m_form.tracker();
    if (event->button() == Qt::LeftButton) {
        tracker.UpdateHotObject(P.X, P.Y, true);
        tracker.pressObject(Qt::LeftButton, P.X, P.Y);
        if (TbsActiveSkinObject *hot = tracker.hotObject()) {
            hot->DblClick();
        }
        if (self && code == HTCAPTION) {
            m_form.states().CaptionDoubleClick();
            tracker.dropPressed();
        }
    } else if (event->button() == Qt::RightButton) {
        tracker.UpdateHotObject(P.X, P.Y, true);
        tracker.pressObject(Qt::RightButton, P.X, P.Y);
        if (code == HTCAPTION) {
            tracker.dropPressed();
        }
    }
    return true;
}

bool FrameEventFilter::handleMouseMove(QMouseEvent *event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (m_drag.active()) {
        trackDrag(global);
        return true;
    }
    if (event->buttons() == Qt::NoButton) {
        m_sizing = false; // a move or size loop of the window manager has ended
    }
    if (m_captionPressed) {
        if (event->buttons() & Qt::LeftButton) {
            if ((global - m_pressGlobal).manhattanLength() >= QApplication::startDragDistance()) {
                m_captionPressed = false;
                startSystemMoveOrDrag(global);
            }
            return true;
        }
        m_captionPressed = false;
    }
    const TPoint P = toTPoint(event->position());
    const int code = m_form.HitTest(P);
    if (event->buttons() == Qt::NoButton) {
        m_form.updateCursor(code);
    }
    if (m_form.IsFormActive()) {
        m_form.trackPoint(P);
        if (!m_form.m_mouseTimer->isActive()) {
            m_form.m_mouseTimer->start();
        }
    }
    const FrameObjectTracker &tracker = m_form.tracker();
    if (tracker.PressedObjectIndex() == -1 && code != HTCLIENT) {
        if (TbsActiveSkinObject *hot = tracker.hotObject()) {
            hot->MouseMove(P.X, P.Y);
        }
    }
    return tracker.PressedObjectIndex() != -1;
}

bool FrameEventFilter::handleMouseRelease(QMouseEvent *event)
{
    const QPointer<TbsSkinForm> self(&m_form);
    const bool handled = releaseMouse(event);
    if (self) {
        m_clickActivation = false;
    }
    return handled;
}

bool FrameEventFilter::releaseMouse(QMouseEvent *event)
{
    if (m_drag.active()) {
        trackDrag(event->globalPosition().toPoint());
        m_drag.end();
        m_form.m_mouseTimer->start();
        m_form.Form()->update();
        return true;
    }
    m_captionPressed = false;
    const TPoint P = toTPoint(event->position());
    FrameObjectTracker &tracker = m_form.tracker();
    if (tracker.PressedObjectIndex() == -1) {
        return m_form.HitTest(P) != HTCLIENT;
    }
    // The object follows the mouse to where it was let go, as the mouse timer would have seen it.
    m_form.trackPoint(P);
    const bool caption = dynamic_cast<TbsSkinCaptionObject *>(tracker.pressedObject()) != nullptr;
    // A release after a press on an object reaches it at (-1, -1), the object holding the mouse; a caption does
    // not take the mouse and gets the point.
    tracker.releaseObject(event->button(), caption ? P.X : -1, caption ? P.Y : -1);
    return true;
}

void FrameEventFilter::handleActivation()
{
    QWidget *form = m_form.Form();
    m_form.m_ncActive = form->isActiveWindow();
    m_clickActivation = false;
    if (!m_form.m_ncActive) {
        m_form.menus().closeSkinMenus();
    } else {
        m_form.menus().endStaleMenuMode();
    }
    form->update();
    m_form.tracker().activationChanged();
}

void FrameEventFilter::startSystemMoveOrDrag(const QPoint &global)
{
    FrameObjectTracker &tracker = m_form.tracker();
    tracker.ResetObjectStates();
    m_form.m_mouseTimer->stop();
    tracker.forgetHotAndPressed();
    m_form.states().beginMove(global);
    if (m_form.SkinWindowState() == wsMaximized) {
        return; // a maximised window stays where it is
    }
    // The window manager moves the window when it can; with magnetic edges the frame moves it itself, since it
    // must see each position.
    QWidget *form = m_form.Form();
    QWindow *window = form->windowHandle();
    if (!m_form.Magnetic() && window
        && (startWindowManagerDrag(form, form->mapFromGlobal(m_pressGlobal)) || window->startSystemMove())) {
        m_sizing = true;
        return;
    }
    m_drag.beginMove(m_pressGlobal, form->geometry());
    trackDrag(global);
}

void FrameEventFilter::startSystemResizeOrDrag(int hitCode, const QPoint &global)
{
    FrameObjectTracker &tracker = m_form.tracker();
    tracker.ResetObjectStates();
    m_form.m_mouseTimer->stop();
    tracker.forgetHotAndPressed();
    const Qt::Edges edges = edgesForHitCode(hitCode);
    QWidget *form = m_form.Form();
    QWindow *window = form->windowHandle();
    if (window
        && (startWindowManagerDrag(form, form->mapFromGlobal(global), edges) || window->startSystemResize(edges))) {
        m_sizing = true;
        return;
    }
    m_drag.beginSize(edges, global, form->geometry());
}

void FrameEventFilter::trackDrag(const QPoint &global)
{
    const FrameLayout &layout = m_form.layout();
    QWidget *form = m_form.Form();
    const QRect target = m_drag.geometryAt(
        global, QSize(layout.GetMinWidth(), layout.GetMinHeight()), QSize(layout.GetMaxWidth(), layout.GetMaxHeight()));
    if (m_drag.kind() == FrameDrag::Move) {
        const QPoint at = m_form.states().snapMove(target.topLeft(), global);
        if (at != form->pos()) {
            form->move(at);
        }
        return;
    }
    if (target != form->geometry()) {
        form->setGeometry(target);
    }
}

} // namespace pixolo
