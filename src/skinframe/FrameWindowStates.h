#pragma once

#include "skinframe/FrameDrag.h"
#include "skinframe/SkinFrameTypes.h"

#include <QPoint>
#include <QRect>
#include <QSize>

class QEvent;
class QWidget;

namespace pixolo
{

class TbsSkinForm;

// The window states the frame gives its window: minimised (every skinned window with the application's main form,
// else into a free slot at the bottom of the work area), maximised to the work area (or the monitor), restored,
// rolled up to its caption; the placement at the first show, the fade-in, the magnetic edges of a move the frame
// carries out itself, and the window manager's own states, which the frame takes back.
class FrameWindowStates final
{
public:
    explicit FrameWindowStates(TbsSkinForm &form)
        : m_form(form)
    {
    }

    TWindowState SkinWindowState() const { return m_windowState; }
    bool RollUpState() const { return m_rollUpState; }
    // The window's size and position before it was minimised or maximised by the frame; empty when none.
    QRect RestoreBounds() const { return m_restoreBounds; }

    void SetSkinWindowState(TWindowState State);
    void SetRollUpState(bool Value);
    // The restore command: rolls down what was rolled up in that state, else back to the normal state.
    void restore();
    void CaptionDoubleClick();
    void PlaceInMonitor();
    void FadeIn();
    // No tray icon exists in this program: both do nothing but are the commands' place.
    void MinimizeToTray();
    void RestoreFromTray();

    // The window is shown: the first show places it and the fade-in is prepared.
    void windowShown();
    // The window took a size: kept as the one to go back to unless a window manager gave it.
    void rememberNormalSize();
    void windowStateChanged(QEvent *event);
    // The native window was exposed or hidden: a window the frame unmapped itself comes back when mapped again.
    void windowExposed();

    // Magnetic edges of a move the frame carries out: the move starts at the cursor point `anchor`; each
    // position is snapped to the work area's edges within MagneticSize.
    void beginMove(const QPoint &anchor);
    QPoint snapMove(QPoint proposed, const QPoint &cursor);
    void clearMagnetic() { m_magneticState.clear(); }

    // The application's main form: minimising it minimises every skinned window of the program. By default the
    // first skinned window made.
    static void SetApplicationMainForm(QWidget *form);
    static QWidget *ApplicationMainForm();

private:
    bool isApplicationMainForm() const;
    QRect freeMinimizedSlot() const;
    static void minimizeApplication();
    static void restoreApplication();

    TbsSkinForm &m_form;
    TWindowState m_windowState = wsNormal;
    bool m_rollUpState = false;
    bool m_rollUpWhileMaximized = false;
    int m_heightBeforeRollUp = 0;
    QSize m_normalSize; // the window's last size not given by a window manager's maximising
    QRect m_restoreBounds;
    bool m_firstShow = true;
    MagneticState m_magneticState;
    // Set while the windows of the program are iconified by the frame without a window manager's help.
    bool m_withdrawn = false;
    bool m_withdrawnSeenHidden = false;
};

} // namespace pixolo
