#pragma once

#include "skinframe/FrameDrag.h"
#include "skinframe/FrameGeometry.h"
#include "skinframe/SkinFrameTypes.h"
#include "skinframe/TbsActiveSkinObject.h"

#include <QCursor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QKeyEvent;
class QMenu;
class QMouseEvent;
class QPainter;
class QTimer;
class QWidget;

namespace pixolo
{

class TbsSkinData;
class TbsSkinMenu;

// One entry of the system menu: its fixed name, its caption (with '&' marking the access key), a short-cut text
// and what it does. A separator has the caption "-" and no action.
struct SystemMenuItem {
    QString Name;
    QString Caption;
    QString ShortCut;
    std::function<void()> OnClick;
};

// Opens a popup menu of `items` below the screen rectangle `anchor` (a point is an empty rectangle) for `form` in
// place of the form's own skinned menu; true when a menu opened. The menu tells the form when it closes
// (SKIN_MSG_MENU_CLOSED). Without a hook the form's SkinMenu shows the items.
using TbsPopupMenuHook
    = std::function<bool(TbsSkinForm &form, const std::vector<SystemMenuItem> &items, const QRect &anchor)>;

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
// It is an event filter on its window (the owner): it handles the frame's paint, mouse, activation, size and
// skin messages there and lets everything else through. The window's controls live in ClientWidget(), which it
// keeps at the frame's client rectangle and paints with the skin's client background. While the store is missing
// or Empty it draws a plain frame without skin.
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
    // The menus' properties, kept in the SkinMenu: item height and font without skin (heights below 1 are ignored),
    // the skin's item font, the item limit of one popup (negative values are ignored), translucency.
    int DefMenuItemHeight() const;
    void SetDefMenuItemHeight(int value);
    const QFont &DefMenuItemFont() const;
    void SetDefMenuItemFont(const QFont &value);
    bool UseSkinFontInMenu() const;
    void SetUseSkinFontInMenu(bool value);
    int MaxMenuItemsInWindow() const;
    void SetMaxMenuItemsInWindow(int value);
    bool MenusAlphaBlend() const;
    void SetMenusAlphaBlend(bool value);
    bool MenusAlphaBlendAnimation() const;
    void SetMenusAlphaBlendAnimation(bool value);
    int MenusAlphaBlendValue() const;
    void SetMenusAlphaBlendValue(int value);
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
    TWindowState SkinWindowState() const { return m_windowState; }
    bool RollUpState() const { return m_rollUpState; }
    // The last activation state the window reported.
    bool NCActive() const { return m_ncActive; }
    // A store is assigned and holds a skin: the skinned frame is drawn (else the plain one).
    bool SkinInUse() const { return m_skinInUse; }
    const std::vector<std::unique_ptr<TbsActiveSkinObject>> &ObjectList() const { return m_objects; }
    int HotObjectIndex() const { return m_hot; }
    int PressedObjectIndex() const { return m_pressed; }
    bool MenuMode() const { return m_menuMode; }
    // The engine of the window's skinned menus (the system menu, the frame buttons' menus, the popup menus and
    // control menus of the window).
    TbsSkinMenu *SkinMenu() const { return m_skinMenu; }
    const TbsFrameGeometry &FrameGeometry() const { return m_geometry; }
    // The window's shape for its present size; none without a mask.
    const std::optional<FrameMask> &WindowShape() const { return m_mask; }
    bool MouseTimerActive() const;

    // --- Operations ---------------------------------------------------------------------------------------------
    void RepaintObject(TbsActiveSkinObject *Object);
    bool IsFormActive() const;
    void UpdateActivation(bool Animate);
    void ResetObjectStates();
    void UpdateHotObject(int X, int Y, bool Track);
    void ApplySkinToFrame();
    void RebuildObjects();
    void FreeObjects();
    void BeginSkinMenu();
    void EndSkinMenu();

    void UpdateFrame(bool Relayout);
    void LayoutObjects();
    void UpdateWindowRegion(bool Full);
    // Paint the whole frame (not the client area) onto Canvas, in window coordinates.
    void PaintSkinFrame(QPainter &Canvas);
    void PaintDefaultFrame(QPainter &Canvas);
    // Paints the client area's background; Canvas's origin is the client area's top-left corner.
    void PaintClientBackground(QPainter &Canvas);
    // The frame as the window shows it, W × H, the client area left black: for tests and measurements.
    QImage frameImage();
    int SkinHitTest(TPoint P) const;
    int DefaultHitTest(TPoint P) const;
    // SkinHitTest with a skin in use, else DefaultHitTest.
    int HitTest(TPoint P) const;
    int GetMinWidth() const;
    int GetMinHeight() const;
    int GetMaxWidth() const;
    int GetMaxHeight() const;
    void NudgeWidth();
    TPoint ScreenToWindow(const QPoint &global) const;

    void SetSkinWindowState(TWindowState State);
    void SetRollUpState(bool Value);
    void CaptionDoubleClick();
    std::vector<SystemMenuItem> GetSystemMenuItems();
    void ShowSystemMenuAt(int X, int Y);
    void ShowSystemMenuUnder(const TRect &Rect);
    // Opens the system menu below the system-menu button (at the client area's corner without one); false when the
    // window has no system menu.
    bool showSystemMenuFromKeyboard();
    void ApplyBorderIcons();
    void LoadObjectHints();
    void rememberNormalSize();
    void PlaceInMonitor();
    void FadeIn();
    // No tray icon exists in this program: both do nothing but are the commands' place.
    void MinimizeToTray();
    void RestoreFromTray();

    // The framework form's close request.
    void CloseForm();
    // The text the caption shows.
    QString CaptionText() const;
    // The form picture of the skin in use, RGB32 (null without one).
    const QImage &FormPicture() const { return m_formPicture; }
    // The form's icon at the small-icon size, for a system-menu button that shows it.
    QImage SmallIcon();
    int smallIconSize() const;
    // The client rectangle of the frame in use, window coordinates (never inside out).
    TRect clientRect() const;
    // The caption rectangle of the plain frame.
    const TRect &defaultCaptionRect() const { return m_defaultCaption; }
    void StartMorphTimer();
    void StartAnimationTimer();
    // Opens items below the screen rectangle anchor through the SkinMenu (or the menu hook when one is set); true
    // when a menu opened.
    bool ShowPopupMenu(const std::vector<SystemMenuItem> &items, const QRect &anchor);

    // Sizes the window so that its client area is `client` with the frame in use.
    void resizeForClient(QSize client);
    // The window's size and position before it was minimised or maximised by the frame; empty when none.
    QRect RestoreBounds() const { return m_restoreBounds; }

    static void SetPopupMenuHook(TbsPopupMenuHook hook);
    // The application's main form: minimising it minimises every skinned window of the program. By default the
    // first skinned window made.
    static void SetApplicationMainForm(QWidget *form);
    static QWidget *ApplicationMainForm();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class ClientArea;

    void attach();
    bool handleSkinMessage(QEvent *event);
    bool handleMenuKey(QKeyEvent *event);
    bool handleMousePress(QMouseEvent *event);
    bool handleMouseDoubleClick(QMouseEvent *event);
    bool handleMouseMove(QMouseEvent *event);
    bool handleMouseRelease(QMouseEvent *event);
    bool releaseMouse(QMouseEvent *event);
    void handleResize();
    void resizeForm(QSize size);
    void handleShow();
    void handleActivation();
    // A message that closes menus arrived: the skinned menu closes, or the menu mode ends.
    void closeSkinMenus();
    void handleWindowStateChange(QEvent *event);
    void handleExpose();
    void paintFrame(QPainter &painter, const QRegion &region);
    void pressObject(Qt::MouseButton button, int X, int Y);
    void releaseObject(Qt::MouseButton button, int X, int Y);
    void MouseTimerTick();
    void MorphTimerTick();
    void AnimationTimerTick();
    // The same as the mouse timer's tick at a point: objects follow the mouse on the frame, not in the client.
    void trackPoint(TPoint P);
    // The notices of the form's store for its window: the frame lets go of the skin before a reload, takes the new
    // one after it, and takes the object hints again when the texts change. The controls hear their own store.
    void skinAboutToChange(QWidget *window);
    void skinChanged(QWidget *window);
    void skinStringsChanged(QWidget *window);
    void createStandardButtons();
    void layoutDefaultFrame();
    void placeClient();
    void updateSizeLimits();
    void updateCursor(int hitCode);
    void startSystemMoveOrDrag(const QPoint &global);
    void startSystemResizeOrDrag(int hitCode, const QPoint &global);
    void trackDrag(const QPoint &global);
    FrameHitState hitState() const;
    FrameSizeRules sizeRules() const;
    DefaultFrameMetrics defaultMetrics() const { return DefaultFrameMetrics::forStyle(m_borderStyle); }
    bool isApplicationMainForm() const;
    void minimizeApplication();
    void restoreApplication();
    QRect freeMinimizedSlot() const;
    const SkinBorderImages &frameStrips(const QImage &source, bool inactive);

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
    int m_hot = -1;
    int m_previousHot = -1;
    int m_pressed = -1;
    bool m_skinInUse = false;
    bool m_ncActive = false;
    TWindowState m_windowState = wsNormal;
    bool m_rollUpState = false;
    bool m_rollUpWhileMaximized = false;
    int m_heightBeforeRollUp = 0;
    QSize m_normalSize; // the window's last size not given by a window manager's maximising
    QRect m_restoreBounds;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    TbsFrameGeometry m_geometry;
    std::optional<FrameMask> m_mask;
    QImage m_formPicture;
    QImage m_inactivePicture;
    QImage m_background;
    QImage m_smallIcon;
    TRect m_defaultCaption;
    bool m_sizing = false;
    bool m_firstShow = true;
    bool m_menuMode = false;
    TbsSkinMenu *m_skinMenu = nullptr;
    QPointer<QMenu> m_popupItems; // the items of the menu shown last through ShowPopupMenu
    MagneticState m_magneticState;
    QTimer *m_mouseTimer = nullptr;
    QTimer *m_morphTimer = nullptr;
    QTimer *m_animationTimer = nullptr;
    QCursor m_formCursor;
    bool m_clickActivation = false; // a click on the frame is activating the window

    // A caption press that may become a move, and a move or size the frame carries out itself.
    bool m_captionPressed = false;
    QPoint m_pressGlobal;
    FrameDrag m_drag;

    // The frame strips for one size and picture, kept between paints.
    struct StripCache {
        QSize size;
        qint64 picture = 0;
        SkinBorderImages strips;
    } m_stripCache;

    // Set while the windows of the program are iconified by the frame without a window manager's help.
    bool m_withdrawn = false;
    bool m_withdrawnSeenHidden = false;
};

} // namespace pixolo
