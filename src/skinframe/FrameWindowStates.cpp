#include "skinframe/FrameWindowStates.h"

#include "skin/SkinMessage.h"
#include "skin/SkinPlatform.h"
#include "skinframe/TbsSkinForm.h"
#include "skinframe/WindowSystem.h"

#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include <algorithm>

namespace pixolo
{

namespace
{

// The window states only a window manager gives the form's window.
constexpr Qt::WindowStates s_managerStates = Qt::WindowMaximized | Qt::WindowFullScreen;

QPointer<QWidget> &explicitMainForm()
{
    static QPointer<QWidget> s_form;
    return s_form;
}

// The windows minimised together with the application's main form, to be restored with it.
QList<QPointer<QWidget>> &minimizedWithApplication()
{
    static QList<QPointer<QWidget>> s_windows;
    return s_windows;
}

TbsSkinForm *skinFormOf(QWidget *window)
{
    return window ? window->findChild<TbsSkinForm *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

} // namespace

void FrameWindowStates::SetApplicationMainForm(QWidget *form)
{
    explicitMainForm() = form;
}

QWidget *FrameWindowStates::ApplicationMainForm()
{
    if (explicitMainForm()) {
        return explicitMainForm().data();
    }
    const QList<QWidget *> windows = skinWindows();
    for (QWidget *window : windows) {
        if (skinFormOf(window)) {
            return window;
        }
    }
    return nullptr;
}

bool FrameWindowStates::isApplicationMainForm() const
{
    return ApplicationMainForm() == m_form.Form();
}

void FrameWindowStates::SetSkinWindowState(TWindowState State)
{
    if (State == m_windowState) {
        return;
    }
    QWidget *form = m_form.Form();
    FrameLayout &layout = m_form.layout();
    const bool mainForm = isApplicationMainForm();
    if (!(State == wsMinimized && mainForm)) {
        m_windowState = State;
    }
    switch (State) {
    case wsMinimized:
        if (mainForm) {
            minimizeApplication();
        } else {
            if (m_restoreBounds.isEmpty()) {
                m_restoreBounds = form->geometry();
            }
            layout.updateSizeLimits();
            form->setGeometry(QRect(freeMinimizedSlot().topLeft(), QSize(layout.GetMinWidth(), layout.GetMinHeight())));
        }
        if (m_form.OnMinimize) {
            m_form.OnMinimize();
        }
        break;
    case wsMaximized: {
        if (m_restoreBounds.isEmpty()) {
            m_restoreBounds = form->geometry();
        }
        const TRect monitor = GetMonitorWorkArea(form, false);
        const TRect work = GetMonitorWorkArea(form, true);
        TRect target = m_form.MaximizeOnFullScreen() ? monitor : work;
        const TRect screen = GetScreenWorkArea(false);
        if (RectWidth(work) == RectWidth(monitor) && RectHeight(work) == RectHeight(monitor)
            && monitor == TRect { 0, 0, RectWidth(screen), RectHeight(screen) }) {
            target = { target.Left + 1, target.Top + 1, target.Right - 1, target.Bottom - 1 }; // an auto-hidden bar
        }
        layout.updateSizeLimits();
        form->setGeometry(toQRect(target));
        if (m_form.OnMaximize) {
            m_form.OnMaximize();
        }
        break;
    }
    case wsNormal: {
        m_rollUpWhileMaximized = false;
        const QSize before = form->size();
        layout.updateSizeLimits();
        if (!m_restoreBounds.isEmpty()) {
            if (m_firstShow) {
                m_firstShow = false;
                form->resize(m_restoreBounds.size());
                if (m_form.PositionInMonitor() == bspDefault) {
                    form->move(m_restoreBounds.topLeft());
                } else {
                    PlaceInMonitor();
                }
            } else {
                form->setGeometry(m_restoreBounds);
            }
        }
        m_form.m_mouseTimer->start();
        if (form->size() == before) {
            layout.NudgeWidth();
        }
        form->update();
        m_restoreBounds = QRect();
        if (m_form.OnRestore) {
            m_form.OnRestore();
        }
        break;
    }
    }
}

QRect FrameWindowStates::freeMinimizedSlot() const
{
    QWidget *form = m_form.Form();
    const TRect area = GetMonitorWorkArea(form, true);
    const int width = m_form.layout().GetMinWidth();
    const int height = m_form.layout().GetMinHeight();
    QWidget *mainForm = ApplicationMainForm();
    const auto taken = [&](int x, int y) {
        for (QWidget *window : skinWindows()) {
            const TbsSkinForm *other = skinFormOf(window);
            if (window == form || window == mainForm || !window->isVisible() || !other
                || other->SkinWindowState() != wsMinimized) {
                continue;
            }
            if (window->x() == x && window->y() == y) {
                return true;
            }
        }
        return false;
    };
    int x = area.Left;
    int y = area.Bottom - height;
    while (taken(x, y)) {
        x += width;
        if (x + width > area.Right) {
            x = area.Left;
            y -= height;
            if (y < area.Top) {
                y = area.Bottom - height; // no room left: the first slot, whatever is there
                break;
            }
        }
    }
    return QRect(x, y, width, height);
}

void FrameWindowStates::minimizeApplication()
{
    auto &windows = minimizedWithApplication();
    windows.clear();
    const bool managed = windowManagerPresent();
    for (QWidget *window : skinWindows()) {
        if (!window->isVisible() || window->isMinimized()) {
            continue;
        }
        windows.append(window);
        window->showMinimized();
        if (!managed && withdrawWithoutWindowManager(window)) {
            if (TbsSkinForm *form = skinFormOf(window)) {
                FrameWindowStates &states = form->states();
                states.m_withdrawn = true;
                states.m_withdrawnSeenHidden = false;
                if (window->windowHandle()) {
                    window->windowHandle()->installEventFilter(form); // to see it mapped again
                }
            }
        }
    }
}

void FrameWindowStates::restoreApplication()
{
    static bool s_restoring = false;
    if (s_restoring) {
        return;
    }
    s_restoring = true;
    const QList<QPointer<QWidget>> windows = minimizedWithApplication();
    minimizedWithApplication().clear();
    for (const QPointer<QWidget> &window : windows) {
        if (!window) {
            continue;
        }
        if (TbsSkinForm *form = skinFormOf(window)) {
            form->states().m_withdrawn = false;
        }
        window->showNormal();
    }
    s_restoring = false;
}

void FrameWindowStates::SetRollUpState(bool Value)
{
    if (!(m_form.BorderIcons() & biRollUp) || m_windowState == wsMinimized) {
        return;
    }
    if (m_rollUpState && m_windowState == wsMaximized && !m_rollUpWhileMaximized) {
        return;
    }
    if (m_rollUpState == Value) {
        return; // rolling up twice would keep the rolled-up height as the one to go back to
    }
    if (m_windowState == wsMaximized) {
        m_rollUpWhileMaximized = Value;
    }
    m_rollUpState = Value;
    QWidget *form = m_form.Form();
    FrameLayout &layout = m_form.layout();
    if (Value) {
        m_heightBeforeRollUp = form->height();
        layout.updateSizeLimits();
        layout.resizeForm(QSize(form->width(), layout.GetMinHeight()));
    } else {
        layout.updateSizeLimits();
        layout.resizeForm(QSize(form->width(), m_heightBeforeRollUp));
    }
    layout.placeClient();
    form->update();
    if (m_form.OnChangeRollUpState) {
        m_form.OnChangeRollUpState();
    }
}

void FrameWindowStates::restore()
{
    if (m_rollUpState && (m_rollUpWhileMaximized || m_windowState == wsNormal)) {
        SetRollUpState(false);
    } else {
        SetSkinWindowState(wsNormal);
    }
}

void FrameWindowStates::CaptionDoubleClick()
{
    const bool sizeable = isSizeable(m_form.BorderStyle());
    if (sizeable && m_windowState == wsMinimized) {
        SetSkinWindowState(wsNormal);
    } else if (sizeable && m_windowState != wsMaximized && !m_rollUpState && (m_form.BorderIcons() & biMaximize)) {
        SetSkinWindowState(wsMaximized);
    } else if (sizeable && m_windowState == wsMaximized && !m_rollUpWhileMaximized) {
        SetSkinWindowState(wsNormal);
    } else {
        SetRollUpState(!m_rollUpState);
    }
}

void FrameWindowStates::PlaceInMonitor()
{
    QWidget *form = m_form.Form();
    const TRect reference = GetMonitorWorkArea(form, m_form.PositionInMonitor() == bspDesktopCenter);
    const QSize size = form->size();
    form->move(reference.Left + RectWidth(reference) / 2 - size.width() / 2,
        reference.Top + RectHeight(reference) / 2 - size.height() / 2);
}

void FrameWindowStates::FadeIn()
{
    QWidget *form = m_form.Form();
    const bool animation = m_form.AlphaBlendAnimation();
    const int target = (m_form.AlphaBlend() || !animation) ? m_form.AlphaBlendValue() : 255;
    if (animation) {
        // Steps of 5 up to the target. No events are handled in between: the window must not be able to go away
        // in the middle of its own fade.
        for (int alpha = 5;; alpha += 5) {
            SetWindowAlpha(form, std::min(alpha, target));
            if (alpha >= target) {
                break;
            }
        }
    } else if (target != 255) {
        SetWindowAlpha(form, target);
    }
    if (target == 255) {
        SetWindowAlpha(form, 255);
    }
}

void FrameWindowStates::MinimizeToTray()
{
    // This program has no notification-area icon; minimising to it does nothing.
}

void FrameWindowStates::RestoreFromTray()
{
}

void FrameWindowStates::windowShown()
{
    if (m_firstShow) {
        if (m_form.PositionInMonitor() == bspDefault) {
            m_firstShow = false;
        } else if (m_windowState == wsNormal) {
            m_firstShow = false;
            PlaceInMonitor();
        }
    }
    if (IsWindows5x() && (m_form.AlphaBlend() || m_form.AlphaBlendAnimation())) {
        SetWindowAlpha(m_form.Form(), 0);
        QTimer::singleShot(1, &m_form, [this] { FadeIn(); });
    }
}

void FrameWindowStates::rememberNormalSize()
{
    // A manager's maximising may resize the window before it tells the new state: a size that fills the screen's
    // available area is taken for that and not remembered.
    const QWidget *form = m_form.Form();
    const QScreen *screen = form->screen();
    if (!(form->windowState() & s_managerStates) && (!screen || form->size() != screen->availableSize())) {
        m_normalSize = form->size();
    }
}

void FrameWindowStates::windowStateChanged(QEvent *event)
{
    const auto *change = static_cast<QWindowStateChangeEvent *>(event);
    QWidget *form = m_form.Form();
    // The frame maximises a window by its own geometry and never asks the window system to: a maximised or full
    // screen state comes from the window manager (mutter maximises a window nearly as large as the screen when it
    // maps it). The window goes back to normal at the size it had, rather than keep a stretched frame that cannot
    // roll up; managers put back a size of their own choosing (mutter a smaller one), so the size is set again.
    if ((form->windowState() & s_managerStates) && !(change->oldState() & s_managerStates)) {
        QMetaObject::invokeMethod(
            &m_form,
            [this, form] {
                form->setWindowState(form->windowState() & ~s_managerStates);
                if (m_normalSize.isValid()) {
                    m_form.layout().resizeForm(m_normalSize);
                }
            },
            Qt::QueuedConnection);
    }
    if ((change->oldState() & Qt::WindowMinimized) && !form->isMinimized()) {
        m_withdrawn = false;
        if (m_form.OnRestore) {
            m_form.OnRestore();
        }
        if (isApplicationMainForm()) {
            restoreApplication();
        }
    }
}

void FrameWindowStates::windowExposed()
{
    QWindow *window = m_form.Form()->windowHandle();
    if (!m_withdrawn || !window) {
        return;
    }
    // The window was unmapped by the frame itself; once it has been seen hidden, being shown again means someone
    // (a task bar, a script) mapped it: the program comes back.
    if (!window->isExposed()) {
        m_withdrawnSeenHidden = true;
    } else if (m_withdrawnSeenHidden) {
        m_withdrawn = false;
        restoreApplication();
    }
}

void FrameWindowStates::beginMove(const QPoint &anchor)
{
    m_magneticState.clear();
    m_magneticState.anchor = anchor;
}

QPoint FrameWindowStates::snapMove(QPoint proposed, const QPoint &cursor)
{
    if (!m_form.Magnetic()) {
        return proposed;
    }
    QWidget *form = m_form.Form();
    return MagneticSnap(m_magneticState, toQRect(GetMonitorWorkArea(form, true)), m_form.MagneticSize(), proposed,
        form->size(), cursor);
}

} // namespace pixolo
