#pragma once

#include "skinframe/FrameDrag.h"

#include <QObject>
#include <QPoint>

class QMouseEvent;

namespace pixolo
{

class TbsSkinForm;

// The event filter on the form's window that hands each of the frame's events to the part of the form that answers
// it: paint to the painter, mouse presses, moves and releases on the frame to the frame objects (or to a move or
// size of the window), size and state changes to the layout and the window states, menu keys and activation to
// the menus. Events of the client area pass on untouched. The form installs it after its own filter, so it sees
// each event first.
class FrameEventFilter final : public QObject
{
public:
    explicit FrameEventFilter(TbsSkinForm &form);

    // A move or size runs: the window manager's loop or the frame's own drag.
    bool sizingLoop() const { return m_sizing || m_drag.active(); }
    // A click on the frame is activating the window (the window system reports the activation only later).
    bool clickActivation() const { return m_clickActivation; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handleMousePress(QMouseEvent *event);
    bool handleMouseDoubleClick(QMouseEvent *event);
    bool handleMouseMove(QMouseEvent *event);
    bool handleMouseRelease(QMouseEvent *event);
    bool releaseMouse(QMouseEvent *event);
    void handleActivation();
    void startSystemMoveOrDrag(const QPoint &global);
    void startSystemResizeOrDrag(int hitCode, const QPoint &global);
    void trackDrag(const QPoint &global);

    TbsSkinForm &m_form;
    bool m_sizing = false;
    bool m_clickActivation = false;
    // A caption press that may become a move, and a move or size the frame carries out itself.
    bool m_captionPressed = false;
    QPoint m_pressGlobal;
    FrameDrag m_drag;
};

} // namespace pixolo
