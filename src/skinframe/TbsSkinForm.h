#pragma once

#include "skinframe/FrameGeometry.h"
#include "skinframe/FrameLayout.h"
#include "skinframe/FrameMenus.h"
#include "skinframe/FrameObjectTracker.h"
#include "skinframe/FramePainter.h"
#include "skinframe/FrameWindowStates.h"
#include "skinframe/SkinFrameTypes.h"
#include "skinframe/TbsActiveSkinObject.h"
#include "skinframe/TbsSkinCaptionObject.h"

#include <QCursor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

class QKeyEvent;
class QPainter;
class QTimer;
class QWidget;

namespace pixolo
{

class FrameEventFilter;
class TbsSkinData;
class TbsSkinMenu;

using TbsObjectMouseEvent
    = std::function<void(const QString &IDName, int X, int Y, const TRect &ObjectRect, Qt::MouseButton Button)>;
using TbsObjectMouseMoveEvent = std::function<void(const QString &IDName, int X, int Y, const TRect &ObjectRect)>;
using TbsObjectEvent = std::function<void(const QString &IDName)>;
using TbsObjectPaintEvent = std::function<void(const QString &IDName, QPainter &Canvas, const TRect &ObjectRect)>;
using TbsActivateCustomObjectEvent = std::function<void(const QString &IDName, bool &ObjectVisible)>;
using TbsFormEvent = std::function<void()>;

// The skinned frame of a window: the window becomes frameless and this component draws its whole frame, caption
// and caption buttons from a skin store, shapes the window by the skin's mask, moves and sizes it by its frame and
// carries out the caption buttons' commands (minimise, roll-up, close, the window states).
//
// It filters the events of its window (the owner): it handles the frame's paint, mouse, activation, size and
// skin messages there and lets everything else through. The window's controls live in ClientWidget(), which it
// keeps at the frame's client rectangle and paints with the skin's client background. While the store is missing
// or Empty it draws a plain frame without skin.
//
// The component holds the properties, the skin in use and the frame objects built from it; the work is done by
// its parts: layout() (geometry, size limits, shape, hit test), painter(), states() (the window states), menus()
// (the system menu, popups and menu mode), tracker() (the objects under the mouse and the timers) and the event
// filter that hands the window's events to them.
class TbsSkinForm final : public QObject
{
    Q_OBJECT
public:
    // The owner must be a window (a top-level widget); anything else throws std::invalid_argument.
    explicit TbsSkinForm(QWidget *owner);
    ~TbsSkinForm() override;

    QWidget *Form() const { return m_form; }
    QWidget *ClientWidget() const { return m_client; }

    // --- Properties --------------------------------------------------------------------------------------------
    TbsSkinData *SkinData() const;
    // Applies the store's skin at once (or the plain frame while it is Empty).
    void SetSkinData(TbsSkinData *value);
    TbsSkinData *MenusSkinData() const;
    void SetMenusSkinData(TbsSkinData *value);
    TbsBorderIcons BorderIcons() const { return m_borderIcons; }
    // Replaces the objects by the plain frame's standard buttons, then applies the icons; the next skin
    // application builds the list from the skin again.
    void SetBorderIcons(TbsBorderIcons value);
    bool HideCaptionButtons() const { return m_hideCaptionButtons; }
    void SetHideCaptionButtons(bool value);
    bool ShowIcon() const { return m_showIcon; }
    void SetShowIcon(bool value);
    bool UseDefaultSysMenu() const { return m_useDefaultSysMenu; }
    void SetUseDefaultSysMenu(bool value) { m_useDefaultSysMenu = value; }
    const FrameFont &DefCaptionFont() const { return m_defCaptionFont; }
    void SetDefCaptionFont(const FrameFont &value);
    const FrameFont &DefInActiveCaptionFont() const { return m_defInActiveCaptionFont; }
    void SetDefInActiveCaptionFont(const FrameFont &value);
    bool AlphaBlend() const { return m_alphaBlend; }
    void SetAlphaBlend(bool value);
    bool AlphaBlendAnimation() const { return m_alphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool value) { m_alphaBlendAnimation = value; }
    int AlphaBlendValue() const { return m_alphaBlendValue; }
    void SetAlphaBlendValue(int value);
    int MinWidth() const { return m_minWidth; }
    void SetMinWidth(int value) { m_minWidth = value; }
    int MinHeight() const { return m_minHeight; }
    void SetMinHeight(int value) { m_minHeight = value; }
    int MaxWidth() const { return m_maxWidth; }
    void SetMaxWidth(int value) { m_maxWidth = value; }
    int MaxHeight() const { return m_maxHeight; }
    void SetMaxHeight(int value) { m_maxHeight = value; }
    int ClientWidth() const { return m_clientWidth; }
    void SetClientWidth(int value) { m_clientWidth = value; }
    int ClientHeight() const { return m_clientHeight; }
    void SetClientHeight(int value) { m_clientHeight = value; }
    bool Magnetic() const { return m_magnetic; }
    void SetMagnetic(bool value) { m_magnetic = value; }
    int MagneticSize() const { return m_magneticSize; }
    void SetMagneticSize(int value) { m_magneticSize = std::clamp(value, 0, 255); }
    TbsPositionInMonitor PositionInMonitor() const { return m_positionInMonitor; }
    void SetPositionInMonitor(TbsPositionInMonitor value) { m_positionInMonitor = value; }
    bool MaximizeOnFullScreen() const { return m_maximizeOnFullScreen; }
    void SetMaximizeOnFullScreen(bool value) { m_maximizeOnFullScreen = value; }
    bool UseFormCursorInNCArea() const { return m_useFormCursorInNCArea; }
    void SetUseFormCursorInNCArea(bool value) { m_useFormCursorInNCArea = value; }
    const QImage &LogoBitMap() const { return m_logo; }
    void SetLogoBitMap(const QImage &value);
    bool LogoBitMapTransparent() const { return m_logoTransparent; }
    void SetLogoBitMapTransparent(bool value);
    bool AlwaysMinimizeToTray() const { return m_alwaysMinimizeToTray; }
    void SetAlwaysMinimizeToTray(bool value) { m_alwaysMinimizeToTray = value; }
    // The menus' own properties (item height and font, the skin's font, the item limit, translucency) are those of
    // SkinMenu().
    bool UseDefaultObjectHint() const { return m_useDefaultObjectHint; }
    void SetUseDefaultObjectHint(bool value) { m_useDefaultObjectHint = value; }
    // The window's border: sizeable (the default) lets the frame size it; single, dialog and tool windows do not.
    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle value);

    // --- Events -------------------------------------------------------------------------------------------------
    TbsObjectMouseEvent OnMouseDownEvent;
    TbsObjectMouseEvent OnMouseUpEvent;
    TbsObjectMouseMoveEvent OnMouseMoveEvent;
    TbsObjectEvent OnMouseEnterEvent;
    TbsObjectEvent OnMouseLeaveEvent;
    TbsObjectPaintEvent OnPaintEvent;
    TbsActivateCustomObjectEvent OnActivateCustomObject;
    TbsFormEvent OnActivate;
    TbsFormEvent OnDeActivate;
    TbsFormEvent OnSkinMenuOpen;
    TbsFormEvent OnSkinMenuClose;
    TbsFormEvent OnChangeSkinData;
    TbsFormEvent OnChangeRollUpState;
    TbsFormEvent OnMinimize;
    TbsFormEvent OnMaximize;
    TbsFormEvent OnRestore;
    TbsFormEvent OnMinimizeToTray;
    TbsFormEvent OnRestoreFromTray;

    // --- State --------------------------------------------------------------------------------------------------
    TWindowState SkinWindowState() const { return m_states->SkinWindowState(); }
    bool RollUpState() const { return m_states->RollUpState(); }
    // The window's size and position before it was minimised or maximised by the frame; empty when none.
    QRect RestoreBounds() const { return m_states->RestoreBounds(); }
    // The last activation state the window reported.
    bool NCActive() const { return m_ncActive; }
    // A store is assigned and holds a skin: the skinned frame is drawn (else the plain one).
    bool SkinInUse() const { return m_skinInUse; }
    const std::vector<std::unique_ptr<TbsActiveSkinObject>> &ObjectList() const { return m_objects; }
    int HotObjectIndex() const { return m_tracker->HotObjectIndex(); }
    int PressedObjectIndex() const { return m_tracker->PressedObjectIndex(); }
    bool MenuMode() const { return m_menus->MenuMode(); }
    // The engine of the window's skinned menus (the system menu, the frame buttons' menus, the popup menus and
    // control menus of the window).
    TbsSkinMenu *SkinMenu() const { return m_skinMenu; }
    // The form picture of the skin in use, RGB32 (null without one).
    const QImage &FormPicture() const { return m_formPicture; }

    // --- Parts --------------------------------------------------------------------------------------------------
    FrameLayout &layout() const { return *m_layout; }
    FramePainter &painter() const { return *m_painter; }
    FrameWindowStates &states() const { return *m_states; }
    FrameMenus &menus() const { return *m_menus; }
    FrameObjectTracker &tracker() const { return *m_tracker; }
    FrameEventFilter &events() const { return *m_events; }

    // --- Operations ---------------------------------------------------------------------------------------------
    bool IsFormActive() const;
    void UpdateHotObject(int X, int Y, bool Track) { m_tracker->UpdateHotObject(X, Y, Track); }
    void ApplySkinToFrame();
    void RebuildObjects();
    void FreeObjects();
    void ApplyBorderIcons();
    void LoadObjectHints();
    void EndSkinMenu() { m_menus->EndSkinMenu(); }
    // Paint the whole frame (not the client area) onto Canvas, in window coordinates.
    void PaintSkinFrame(QPainter &Canvas) { m_painter->PaintSkinFrame(Canvas); }
    void PaintDefaultFrame(QPainter &Canvas) { m_painter->PaintDefaultFrame(Canvas); }
    // The frame as the window shows it, W × H, the client area left black: for tests and measurements.
    QImage frameImage() { return m_painter->frameImage(); }
    // SkinHitTest with a skin in use, else DefaultHitTest.
    int HitTest(TPoint P) const { return m_layout->HitTest(P); }
    // Sizes the window so that its client area is `client` with the frame in use.
    void resizeForClient(QSize client) { m_layout->resizeForClient(client); }

    void SetSkinWindowState(TWindowState State) { m_states->SetSkinWindowState(State); }
    void SetRollUpState(bool Value) { m_states->SetRollUpState(Value); }
    std::vector<SystemMenuItem> GetSystemMenuItems() { return m_menus->GetSystemMenuItems(); }
    void ShowSystemMenuAt(int X, int Y) { m_menus->ShowSystemMenuAt(X, Y); }

    // The framework form's close request.
    void CloseForm();
    // The text the caption shows.
    QString CaptionText() const;

    static void SetPopupMenuHook(TbsPopupMenuHook hook) { FrameMenus::SetPopupMenuHook(std::move(hook)); }
    // The application's main form: minimising it minimises every skinned window of the program. By default the
    // first skinned window made.
    static void SetApplicationMainForm(QWidget *form) { FrameWindowStates::SetApplicationMainForm(form); }
    static QWidget *ApplicationMainForm() { return FrameWindowStates::ApplicationMainForm(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class ClientArea;
    // The parts work on the component's state.
    friend class FrameEventFilter;
    friend class FrameLayout;
    friend class FrameMenus;
    friend class FrameObjectTracker;
    friend class FramePainter;
    friend class FrameWindowStates;

    void attach();
    bool handleSkinMessage(QEvent *event);
    bool handleMenuKey(QKeyEvent *event);
    // The same as the mouse timer's tick at a point: objects follow the mouse on the frame, not in the client.
    void trackPoint(TPoint P);
    // The notices of the form's store for its window: the frame lets go of the skin before a reload, takes the new
    // one after it, and takes the object hints again when the texts change. The controls hear their own store.
    void skinAboutToChange(QWidget *window);
    void skinChanged(QWidget *window);
    void skinStringsChanged(QWidget *window);
    void createStandardButtons();
    // The cursor over the frame: the sizing arrows on the border, elsewhere the arrow or the form's own cursor.
    void updateCursor(int hitCode);

    QWidget *m_form = nullptr;
    QWidget *m_client = nullptr; // a ClientArea
    QPointer<TbsSkinData> m_skinData;
    QPointer<TbsSkinData> m_menusSkinData;
    TbsBorderIcons m_borderIcons = biSystemMenu | biMinimize | biMaximize | biRollUp;
    bool m_hideCaptionButtons = false;
    bool m_showIcon = false;
    bool m_useDefaultSysMenu = true;
    FrameFont m_defCaptionFont;
    FrameFont m_defInActiveCaptionFont;
    bool m_alphaBlend = false;
    bool m_alphaBlendAnimation = false;
    int m_alphaBlendValue = 200;
    int m_minWidth = 0;
    int m_minHeight = 0;
    int m_maxWidth = 0;
    int m_maxHeight = 0;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    bool m_magnetic = false;
    int m_magneticSize = 5;
    TbsPositionInMonitor m_positionInMonitor = bspDefault;
    bool m_maximizeOnFullScreen = false;
    bool m_useFormCursorInNCArea = false;
    QImage m_logo;
    bool m_logoTransparent = false;
    bool m_alwaysMinimizeToTray = false;
    bool m_useDefaultObjectHint = true;
    TFormBorderStyle m_borderStyle = bsSizeable;

    std::vector<std::unique_ptr<TbsActiveSkinObject>> m_objects;
    bool m_skinInUse = false;
    bool m_ncActive = false;
    QImage m_formPicture;
    QImage m_inactivePicture;
    QImage m_background;
    TbsSkinMenu *m_skinMenu = nullptr;
    QTimer *m_mouseTimer = nullptr;
    QTimer *m_morphTimer = nullptr;
    QTimer *m_animationTimer = nullptr;
    QCursor m_formCursor;

    // The frame strips for one size and picture, kept between paints.
    struct StripCache {
        QSize size;
        qint64 picture = 0;
        SkinBorderImages strips;
    } m_stripCache;

    std::unique_ptr<FrameLayout> m_layout;
    std::unique_ptr<FramePainter> m_painter;
    std::unique_ptr<FrameWindowStates> m_states;
    std::unique_ptr<FrameMenus> m_menus;
    std::unique_ptr<FrameObjectTracker> m_tracker;
    FrameEventFilter *m_events = nullptr; // a child, installed on the window after this component
};

} // namespace pixolo
