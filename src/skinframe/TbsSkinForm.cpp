#include "skinframe/TbsSkinForm.h"

#include "skin/SkinGlyphs.h"
#include "skin/SkinMessage.h"
#include "skin/SkinPaint.h"
#include "skin/SkinPlatform.h"
#include "skin/SkinText.h"
#include "skin/TbsEffectBmp.h"
#include "skin/TbsResourceStrData.h"
#include "skin/TbsSkinData.h"
#include "skinframe/TbsSkinMenu.h"
#include "skinframe/WindowSystem.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QExposeEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include <stdexcept>

namespace pixolo
{

namespace
{

TbsPopupMenuHook &popupMenuHook()
{
    static TbsPopupMenuHook s_hook;
    return s_hook;
}

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

TPoint toTPoint(const QPointF &p)
{
    const QPoint q = p.toPoint();
    return { q.x(), q.y() };
}

template <class T> T *objectAs(const std::unique_ptr<TbsActiveSkinObject> &object)
{
    return dynamic_cast<T *>(object.get());
}

// The plain frame's buttons: names and commands.
struct StandardButton {
    const char *name;
    TbsStdCommand command;
};
constexpr StandardButton s_standardButtons[] = {
    { "closebutton", cmClose },
    { "maxbutton", cmMaximize },
    { "minbutton", cmMinimize },
    { "rollupbutton", cmRollUp },
    { "sysmenubutton", cmSysMenu },
    { "traybutton", cmMinimizeToTray },
};

// The order in which caption buttons are placed from the right (or left) edge of a button row.
// The window states only a window manager gives the form's window.
constexpr Qt::WindowStates s_managerStates = Qt::WindowMaximized | Qt::WindowFullScreen;
constexpr TbsStdCommand s_rowOrder[] = { cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray };

bool isCaptionButton(const TbsActiveSkinObject *object)
{
    return dynamic_cast<const TbsSkinStdButtonObject *>(object) || dynamic_cast<const TbsSkinAnimateObject *>(object);
}

QImage withTransparentKey(const QImage &image)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = result.pixel(0, result.height() - 1);
    for (int y = 0; y < result.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (row[x] == key) {
                row[x] = 0;
            }
        }
    }
    return result;
}

} // namespace

// The client area: holds the form's controls, painted with the skin's client background.
class TbsSkinForm::ClientArea final : public QWidget
{
public:
    ClientArea(TbsSkinForm &form, QWidget *parent)
        : QWidget(parent)
        , m_form(&form)
    {
        setObjectName(QStringLiteral("bsSkinFormClient"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (m_form) {
            m_form->PaintClientBackground(painter);
        } else {
            painter.fillRect(rect(), FrameColors::btnFace());
        }
    }

private:
    QPointer<TbsSkinForm> m_form; // the component may go before its window
};

// --- Creation -------------------------------------------------------------------------------------------------

TbsSkinForm::TbsSkinForm(QWidget *owner)
    : QObject(owner)
{
    if (!owner || !owner->isWindow()) {
        throw std::invalid_argument("a skinned frame needs a window as its owner");
    }
    m_form = owner;
    m_defCaptionFont = { QStringLiteral("Arial"), 14, fsBold, FrameColors::btnText() };
    m_defInActiveCaptionFont = { QStringLiteral("Arial"), 14, fsBold, FrameColors::btnShadow() };

    m_mouseTimer = new QTimer(this);
    m_mouseTimer->setInterval(50);
    connect(m_mouseTimer, &QTimer::timeout, this, &TbsSkinForm::MouseTimerTick);
    m_morphTimer = new QTimer(this);
    m_morphTimer->setInterval(25);
    connect(m_morphTimer, &QTimer::timeout, this, &TbsSkinForm::MorphTimerTick);
    m_animationTimer = new QTimer(this);
    m_animationTimer->setInterval(25);
    connect(m_animationTimer, &QTimer::timeout, this, &TbsSkinForm::AnimationTimerTick);

    attach();
}

TbsSkinForm::~TbsSkinForm() = default;

void TbsSkinForm::attach()
{
    // The window gives up its own frame: this component draws one instead.
    const bool visible = m_form->isVisible();
    m_form->setWindowFlag(Qt::FramelessWindowHint, true);
    m_form->setAutoFillBackground(false);
    m_form->setAttribute(Qt::WA_OpaquePaintEvent);
    m_form->setMouseTracking(true);
    m_formCursor = m_form->cursor();

    m_client = new ClientArea(*this, m_form);
    m_client->setCursor(m_formCursor); // the frame's sizing cursors stay on the frame
    m_client->lower();

    registerSkinWindow(m_form);
    m_form->installEventFilter(this);
    if (m_form->windowHandle()) {
        m_form->windowHandle()->installEventFilter(this);
    }

    m_skinMenu = new TbsSkinMenu(m_form, this);
    m_skinMenu->SetAlphaBlendValue(200);
    m_skinMenu->FormMenusSkinData = [this] { return m_menusSkinData ? m_menusSkinData.data() : m_skinData.data(); };
    m_skinMenu->FormBeginMenu = [this] { BeginSkinMenu(); };
    m_skinMenu->FormEndMenu = [this] { EndSkinMenu(); };

    auto *systemMenuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), m_form);
    systemMenuKey->setContext(Qt::WindowShortcut);
    connect(systemMenuKey, &QShortcut::activated, this, [this] { showSystemMenuFromKeyboard(); });

    m_frameWidth = m_form->width();
    m_frameHeight = m_form->height();
    layoutDefaultFrame();
    placeClient();
    updateSizeLimits();
    if (visible) {
        m_form->show();
    }
}

// --- Properties -----------------------------------------------------------------------------------------------

TbsSkinData *TbsSkinForm::SkinData() const
{
    return m_skinData.data();
}

TbsSkinData *TbsSkinForm::MenusSkinData() const
{
    return m_menusSkinData.data();
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData *value)
{
    m_menusSkinData = value;
}

void TbsSkinForm::SetSkinData(TbsSkinData *value)
{
    if (m_skinData) {
        disconnect(m_skinData, nullptr, this, nullptr);
    }
    m_skinData = value;
    if (value) {
        connect(value, &TbsSkinData::aboutToChange, this, &TbsSkinForm::skinAboutToChange);
        connect(value, &TbsSkinData::changed, this, &TbsSkinForm::skinChanged);
        connect(value, &TbsSkinData::stringsChanged, this, &TbsSkinForm::skinStringsChanged);
    }
    ApplySkinToFrame();
}

void TbsSkinForm::SetBorderIcons(TbsBorderIcons value)
{
    m_borderIcons = value;
    // A skin in use keeps its own objects (the plain buttons would be drawn over the skinned frame).
    if (m_skinInUse) {
        RebuildObjects();
    } else {
        createStandardButtons();
    }
    ApplyBorderIcons();
    m_form->update();
}

void TbsSkinForm::SetHideCaptionButtons(bool value)
{
    if (m_hideCaptionButtons == value) {
        return;
    }
    m_hideCaptionButtons = value;
    // The border-icon rule only disables, so showing the buttons again starts from fresh objects.
    if (m_skinInUse) {
        RebuildObjects();
    } else if (!m_objects.empty()) {
        createStandardButtons();
    }
    ApplyBorderIcons();
    m_form->update();
}

void TbsSkinForm::SetShowIcon(bool value)
{
    if (m_showIcon == value) {
        return;
    }
    m_showIcon = value;
    m_form->update();
}

void TbsSkinForm::SetDefCaptionFont(const FrameFont &value)
{
    m_defCaptionFont = value;
    if (!m_skinInUse) {
        m_form->update();
    }
}

void TbsSkinForm::SetDefInActiveCaptionFont(const FrameFont &value)
{
    m_defInActiveCaptionFont = value;
    if (!m_skinInUse) {
        m_form->update();
    }
}

void TbsSkinForm::SetAlphaBlend(bool value)
{
    m_alphaBlend = value;
    SetWindowAlpha(m_form, value ? m_alphaBlendValue : 255);
}

void TbsSkinForm::SetAlphaBlendValue(int value)
{
    m_alphaBlendValue = std::clamp(value, 0, 255);
    if (m_alphaBlend) {
        SetWindowAlpha(m_form, m_alphaBlendValue);
    }
}

void TbsSkinForm::SetLogoBitMap(const QImage &value)
{
    m_logo = value;
    m_client->update();
}

void TbsSkinForm::SetLogoBitMapTransparent(bool value)
{
    m_logoTransparent = value;
    m_client->update();
}

void TbsSkinForm::SetBorderStyle(TFormBorderStyle value)
{
    if (m_borderStyle == value) {
        return;
    }
    m_borderStyle = value;
    NudgeWidth();
}

void TbsSkinForm::SetPopupMenuHook(TbsPopupMenuHook hook)
{
    popupMenuHook() = std::move(hook);
}

void TbsSkinForm::SetApplicationMainForm(QWidget *form)
{
    explicitMainForm() = form;
}

QWidget *TbsSkinForm::ApplicationMainForm()
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

bool TbsSkinForm::isApplicationMainForm() const
{
    return ApplicationMainForm() == m_form;
}

bool TbsSkinForm::MouseTimerActive() const
{
    return m_mouseTimer->isActive();
}

// --- Skin application -------------------------------------------------------------------------------------------

void TbsSkinForm::ApplySkinToFrame()
{
    m_hot = -1;
    m_previousHot = -1;
    m_pressed = -1;
    m_skinInUse = m_skinData && !m_skinData->Empty();
    m_stripCache = {};
    if (m_skinInUse) {
        m_formPicture = m_skinData->Picture.toRgb32();
        RebuildObjects();
        ApplyBorderIcons();
    } else {
        m_formPicture = QImage();
        FreeObjects();
        UpdateWindowRegion(true);
    }

    updateSizeLimits();
    const int minWidth = GetMinWidth();
    const int minHeight = GetMinHeight();
    const QSize size = m_form->size();
    if (size.width() < minWidth && size.height() < minHeight) {
        resizeForm(QSize(minWidth, minHeight));
    } else if (size.height() < minHeight) {
        resizeForm(QSize(size.width(), minHeight));
    } else if (size.width() < minWidth) {
        resizeForm(QSize(minWidth, size.height()));
    } else {
        NudgeWidth();
    }
    if ((m_rollUpState || m_windowState == wsMinimized) && m_form->height() != minHeight) {
        resizeForm(QSize(m_form->width(), minHeight));
    }
    if (m_windowState == wsMinimized && m_form->width() != minWidth) {
        resizeForm(QSize(minWidth, m_form->height()));
    }

    m_frameWidth = m_form->width();
    m_frameHeight = m_form->height();
    if (m_skinInUse) {
        UpdateFrame(true);
    } else {
        layoutDefaultFrame();
        placeClient();
    }
    m_form->update();
    m_client->update();
    UpdateActivation(true);
    m_mouseTimer->start();
    if (OnChangeSkinData) {
        OnChangeSkinData();
    }
    if (m_clientWidth > 0 || m_clientHeight > 0) {
        const QSize client = m_client->size();
        resizeForClient(QSize(
            m_clientWidth > 0 ? m_clientWidth : client.width(), m_clientHeight > 0 ? m_clientHeight : client.height()));
    }
}

void TbsSkinForm::RebuildObjects()
{
    FreeObjects();
    if (!m_skinData) {
        return;
    }
    for (const auto &entry : m_skinData->ObjectList) {
        if (auto object = CreateFrameObject(*this, *entry)) {
            m_objects.push_back(std::move(object));
        }
    }
}

void TbsSkinForm::FreeObjects()
{
    m_objects.clear();
    // Nothing may point into the empty list: a reload that fails leaves it empty until the next skin.
    m_hot = -1;
    m_previousHot = -1;
    m_pressed = -1;
}

void TbsSkinForm::createStandardButtons()
{
    FreeObjects();
    for (const StandardButton &b : s_standardButtons) {
        m_objects.push_back(std::make_unique<TbsSkinStdButtonObject>(*this, QString::fromLatin1(b.name), b.command));
    }
}

void TbsSkinForm::ApplyBorderIcons()
{
    if (m_objects.empty()) {
        return;
    }
    for (const auto &object : m_objects) {
        const bool animated = dynamic_cast<TbsSkinAnimateObject *>(object.get()) != nullptr;
        if (!isCaptionButton(object.get())) {
            continue;
        }
        if (m_hideCaptionButtons) {
            object->ObjectEnabled = false;
            object->ObjectVisible = !object->skinrectinapicture;
            continue;
        }
        if (animated && !static_cast<TbsSkinAnimateObject *>(object.get())->buttonstyle) {
            continue;
        }
        const TbsStdCommand command = commandOf(object.get());
        TbsBorderIcon icon = biSystemMenu;
        switch (command) {
        case cmDefault: {
            bool visible = false;
            if (OnActivateCustomObject) {
                OnActivateCustomObject(object->IDName, visible);
            }
            object->ObjectVisible = visible;
            continue;
        }
        case cmClose:
            continue; // never disabled
        case cmMinimizeToTray:
            icon = biMinimizeToTray;
            break;
        case cmRollUp:
            icon = biRollUp;
            break;
        case cmMaximize:
            icon = biMaximize;
            break;
        case cmMinimize:
            icon = biMinimize;
            break;
        case cmSysMenu:
            icon = biSystemMenu;
            break;
        }
        if (!(m_borderIcons & icon)) {
            object->ObjectEnabled = false;
            object->ObjectVisible = !object->skinrectinapicture;
        }
    }
    LoadObjectHints();
}

void TbsSkinForm::LoadObjectHints()
{
    if (!m_useDefaultObjectHint || !m_skinData) {
        return;
    }
    struct DefaultHint {
        TbsStdCommand command;
        const char *key;
        const char *text;
    };
    static constexpr DefaultHint s_hints[] = {
        { cmClose, "CLOSEBUTTON_HINT", "Close" },
        { cmMaximize, "MAXBUTTON_HINT", "Maximize" },
        { cmMinimize, "MINBUTTON_HINT", "Minimize" },
        { cmSysMenu, "MENUBUTTON_HINT", "System menu" },
        { cmRollUp, "ROLLUPBUTTON_HINT", "Roll Up" },
        { cmMinimizeToTray, "TRAYBUTTON_HINT", "Minimize to Tray" },
    };
    const TbsResourceStrData *strings = m_skinData->ResourceStrData();
    for (const auto &object : m_objects) {
        if (!isCaptionButton(object.get())) {
            continue;
        }
        const TbsStdCommand command = commandOf(object.get());
        for (const DefaultHint &h : s_hints) {
            if (h.command == command) {
                object->Hint
                    = strings ? strings->GetResourceString(QString::fromLatin1(h.key)) : QString::fromLatin1(h.text);
            }
        }
    }
}

// --- Geometry ---------------------------------------------------------------------------------------------------

FrameSizeRules TbsSkinForm::sizeRules() const
{
    FrameSizeRules rules;
    rules.Skin = m_skinInUse ? m_skinData.data() : nullptr;
    rules.MinWidth = m_minWidth;
    rules.MinHeight = m_minHeight;
    rules.MaxWidth = m_maxWidth;
    rules.MaxHeight = m_maxHeight;
    rules.RolledUp = m_rollUpState;
    rules.Minimized = m_windowState == wsMinimized;
    rules.DefaultCaptionHeight = defaultMetrics().CaptionHeight;
    rules.WorkArea = GetMonitorWorkArea(m_form, !m_maximizeOnFullScreen);
    return rules;
}

int TbsSkinForm::GetMinWidth() const
{
    return sizeRules().GetMinWidth();
}

int TbsSkinForm::GetMinHeight() const
{
    return sizeRules().GetMinHeight();
}

int TbsSkinForm::GetMaxWidth() const
{
    return sizeRules().GetMaxWidth();
}

int TbsSkinForm::GetMaxHeight() const
{
    return sizeRules().GetMaxHeight();
}

void TbsSkinForm::updateSizeLimits()
{
    m_form->setMinimumSize(GetMinWidth(), GetMinHeight());
    // Rolled up, the window is its caption: nothing may make it higher until it is rolled down.
    m_form->setMaximumHeight(m_rollUpState ? GetMinHeight() : QWIDGETSIZE_MAX);
}

void TbsSkinForm::NudgeWidth()
{
    if (m_skinInUse) {
        UpdateFrame(true);
    } else {
        layoutDefaultFrame();
        placeClient();
    }
    m_form->update();
}

void TbsSkinForm::UpdateFrame(bool Relayout)
{
    if (!m_skinInUse) {
        return;
    }
    const int W = m_frameWidth > 0 ? m_frameWidth : m_form->width();
    const int H = m_frameHeight > 0 ? m_frameHeight : m_form->height();
    m_geometry = CalcFrameGeometry(*m_skinData, W, H);
    if (Relayout) {
        LayoutObjects();
    }
    UpdateWindowRegion(Relayout);
    placeClient();
    m_form->update();
}

void TbsSkinForm::LayoutObjects()
{
    if (!m_skinInUse) {
        return;
    }
    const TbsSkinData &store = *m_skinData;
    for (const auto &object : m_objects) {
        if (!object->skinrectinapicture) {
            object->ObjectRect = StretchFrameRect(store, m_geometry, object->skinrect);
        }
    }

    // The button row: only where the skin gives a buttons or a caption rectangle.
    TRect area;
    bool inCaption = false;
    if (!IsNullRect(store.buttonsrect)) {
        area = m_geometry.NewButtonsRect;
    } else if (!IsNullRect(store.captionrect)) {
        area = m_geometry.NewCaptionRect;
        inCaption = true;
    } else {
        return;
    }
    const auto takesPart
        = [](const TbsActiveSkinObject *o) { return o->ObjectVisible && o->skinrectinapicture && isCaptionButton(o); };
    const auto sizeOf = [this](const TbsActiveSkinObject *o) {
        if (commandOf(o) == cmSysMenu && m_showIcon) {
            const int s = smallIconSize();
            return QSize(s, s);
        }
        return toQRect(o->skinrect).size();
    };
    std::vector<TbsActiveSkinObject *> row;
    for (const TbsStdCommand command : s_rowOrder) {
        for (const auto &object : m_objects) {
            if (takesPart(object.get()) && commandOf(object.get()) == command) {
                row.push_back(object.get());
                break;
            }
        }
    }
    TbsActiveSkinObject *systemMenu = nullptr;
    TbsActiveSkinObject *caption = nullptr;
    for (const auto &object : m_objects) {
        if (takesPart(object.get()) && commandOf(object.get()) == cmDefault) {
            row.push_back(object.get());
        }
        if (!systemMenu && takesPart(object.get()) && commandOf(object.get()) == cmSysMenu) {
            systemMenu = object.get();
        }
        if (!caption && dynamic_cast<TbsSkinCaptionObject *>(object.get())) {
            caption = object.get();
        }
    }
    const int offset = m_geometry.ButtonsOffset;
    const int top = area.Top;
    if (!m_geometry.ButtonsInLeft) {
        int X = area.Right;
        for (TbsActiveSkinObject *o : row) {
            const QSize s = sizeOf(o);
            o->ObjectRect = { X - s.width(), top, X, top + s.height() };
            X -= offset + s.width();
        }
        if (inCaption && caption) {
            caption->ObjectRect.Right = X + offset;
        }
        X = m_geometry.NewCaptionRect.Left;
        if (systemMenu) {
            const QSize s = sizeOf(systemMenu);
            const TRect &c = m_geometry.NewCaptionRect;
            const int y = c.Top + RectHeight(c) / 2 - s.height() / 2;
            systemMenu->ObjectRect = { X, y, X + s.width(), y + s.height() };
            X += offset + s.width();
        }
        if (caption && !IsNullRect(store.captionrect)) {
            caption->ObjectRect.Left = X - offset;
        }
    } else {
        int X = area.Left;
        if (inCaption && systemMenu) {
            row.push_back(systemMenu);
        }
        for (TbsActiveSkinObject *o : row) {
            const QSize s = sizeOf(o);
            o->ObjectRect = { X, top, X + s.width(), top + s.height() };
            X += offset + s.width();
        }
        if (inCaption && caption) {
            caption->ObjectRect.Left = X + offset;
        }
    }
}

void TbsSkinForm::layoutDefaultFrame()
{
    if (m_skinInUse) {
        return;
    }
    const DefaultFrameMetrics metrics = defaultMetrics();
    const int W = m_frameWidth > 0 ? m_frameWidth : m_form->width();
    const int size = metrics.ButtonSize;
    m_defaultCaption = { 3, 3, W - 3, metrics.CaptionHeight };
    int X = W - 3;
    for (const TbsStdCommand command : s_rowOrder) {
        for (const auto &object : m_objects) {
            if (object->ObjectVisible && commandOf(object.get()) == command && isCaptionButton(object.get())) {
                object->ObjectRect = { X - size, 4, X, 4 + size };
                X -= size;
                break;
            }
        }
    }
    m_defaultCaption.Right = X;
    X = 3;
    for (const auto &object : m_objects) {
        if (object->ObjectVisible && commandOf(object.get()) == cmSysMenu && isCaptionButton(object.get())) {
            const int w = m_showIcon ? smallIconSize() : size;
            object->ObjectRect = { X, 4, X + w, 4 + (m_showIcon ? w : size) };
            m_defaultCaption.Left = X + w;
            break;
        }
    }
}

TRect TbsSkinForm::clientRect() const
{
    if (m_skinInUse) {
        return m_geometry.clientArea();
    }
    return defaultClientRect(defaultMetrics(), m_frameWidth, m_frameHeight);
}

void TbsSkinForm::placeClient()
{
    const TRect r = m_borderStyle == bsNone ? TRect { 0, 0, m_frameWidth, m_frameHeight } : clientRect();
    if (m_rollUpState || IsNullRect(r) || r.Right <= r.Left || r.Bottom <= r.Top) {
        // Rolled up, or no room: the client is hidden at the size it had. Squeezing it would lay its aligned
        // controls out anew in no space, and they would not all come back where they were.
        m_client->hide();
        return;
    }
    m_client->setGeometry(toQRect(r));
    m_client->show();
}

void TbsSkinForm::UpdateWindowRegion(bool Full)
{
    if (m_borderStyle == bsNone || !m_skinInUse || !m_skinData || m_skinData->MaskPicture.Empty()) {
        m_mask.reset();
        m_form->clearMask();
        return;
    }
    if (Full) {
        m_mask = FrameMask::build(*m_skinData, m_geometry);
        if (m_mask) {
            m_form->setMask(m_mask->region());
        }
        return;
    }
    if (const std::optional<QRegion> whole = FrameMask::wholeMaskRegion(*m_skinData)) {
        m_form->setMask(*whole);
    }
}

void TbsSkinForm::resizeForClient(QSize client)
{
    if (m_skinInUse) {
        const TbsSkinData &store = *m_skinData;
        resizeForm(QSize(client.width() + store.Picture.Width() - RectWidth(store.clientrect),
            client.height() + store.Picture.Height() - RectHeight(store.clientrect)));
    } else {
        const DefaultFrameMetrics metrics = defaultMetrics();
        resizeForm(
            QSize(client.width() + 2 * metrics.Border, client.height() + metrics.CaptionHeight + 2 * metrics.Border));
    }
}

void TbsSkinForm::resizeForm(QSize size)
{
    m_form->resize(size);
    // A hidden window gets its resize event only when shown: the frame follows at once all the same.
    if (!m_form->isVisible() && (m_frameWidth != m_form->width() || m_frameHeight != m_form->height())) {
        handleResize();
    }
}

// --- Hit testing ------------------------------------------------------------------------------------------------

FrameHitState TbsSkinForm::hitState() const
{
    FrameHitState state;
    state.Width = m_frameWidth;
    state.Height = m_frameHeight;
    state.Sizeable = isSizeable(m_borderStyle);
    state.Maximized = m_windowState == wsMaximized;
    state.Minimized = m_windowState == wsMinimized;
    state.RolledUp = m_rollUpState;
    state.ObjectHot = m_hot != -1;
    state.SizingLoop = m_sizing || m_drag.active();
    state.BorderWidth = m_skinInUse ? m_skinData->borderwidth : 0;
    for (const auto &object : m_objects) {
        if (dynamic_cast<TbsSkinCaptionObject *>(object.get())) {
            state.CaptionRects.push_back(object->ObjectRect);
        }
    }
    return state;
}

int TbsSkinForm::SkinHitTest(TPoint P) const
{
    return pixolo::SkinHitTest(m_geometry, m_mask ? &*m_mask : nullptr, hitState(), P);
}

int TbsSkinForm::DefaultHitTest(TPoint P) const
{
    return pixolo::DefaultHitTest(m_defaultCaption, defaultMetrics().CaptionHeight, hitState(), P);
}

int TbsSkinForm::HitTest(TPoint P) const
{
    if (m_borderStyle == bsNone) {
        return HTCLIENT;
    }
    return m_skinInUse ? SkinHitTest(P) : DefaultHitTest(P);
}

TPoint TbsSkinForm::ScreenToWindow(const QPoint &global) const
{
    const QPoint p = m_form->mapFromGlobal(global);
    return { p.x(), p.y() };
}

// --- Painting ---------------------------------------------------------------------------------------------------

const SkinBorderImages &TbsSkinForm::frameStrips(const QImage &source, bool inactive)
{
    const QSize size(m_frameWidth, m_frameHeight);
    const qint64 key = source.cacheKey() * 2 + (inactive ? 1 : 0);
    if (m_stripCache.size != size || m_stripCache.picture != key) {
        const TbsSkinData &store = *m_skinData;
        const SkinCorners old { store.lefttoppoint, store.righttoppoint, store.leftbottompoint, store.rightbottompoint,
            store.clientrect };
        const SkinCorners now { m_geometry.NewLTPoint, m_geometry.NewRTPoint, m_geometry.NewLBPoint,
            m_geometry.NewRBPoint, m_geometry.NewClRect };
        m_stripCache.strips = CreateStretchSkinBorderImages(old, now, source, { 0, 0, source.width(), source.height() },
            size.width(), size.height(), store.leftstretch, store.topstretch, store.rightstretch, store.bottomstretch);
        m_stripCache.size = size;
        m_stripCache.picture = key;
    }
    return m_stripCache.strips;
}

void TbsSkinForm::PaintSkinFrame(QPainter &Canvas)
{
    if (!m_skinInUse) {
        return;
    }
    const int W = m_frameWidth;
    const int H = m_frameHeight;
    if (W < GetMinWidth() || H < GetMinHeight()) {
        return;
    }
    const TbsSkinData &store = *m_skinData;
    m_geometry = CalcFrameGeometry(store, W, H);
    LayoutObjects();

    const bool active = IsFormActive();
    const bool inactivePicture = !active && !store.InActivePicture.Empty();
    if (inactivePicture && m_inactivePicture.isNull()) {
        m_inactivePicture = store.InActivePicture.toRgb32();
    }
    const SkinBorderImages &strips = frameStrips(inactivePicture ? m_inactivePicture : m_formPicture, inactivePicture);
    QImage top = strips.TopImage;
    QImage bottom = strips.BottomImage;
    QImage left = strips.LeftImage;
    QImage right = strips.RightImage;

    // Objects go into the strip they lie in; those reaching below the client's top into the bottom strip.
    const int clientTop = m_geometry.NewClRect.Top;
    const int clientBottom = m_geometry.NewClRect.Bottom;
    for (const auto &object : m_objects) {
        if (!object->ObjectVisible) {
            continue;
        }
        const bool lower = object->ObjectRect.Bottom > clientTop;
        QImage &piece = lower ? bottom : top;
        if (piece.isNull()) {
            continue;
        }
        QPainter painter(&piece);
        if (lower) {
            painter.translate(0, -clientBottom);
        }
        object->Draw(painter, false);
    }

    if (!active && store.autorenderinginactiveimage) {
        for (QImage *piece : { &top, &left, &right, &bottom }) {
            if (!piece->isNull()) {
                TbsEffectBmp effect(*piece);
                effect.applyInactiveEffect(store.inactiveeffect);
                *piece = effect.Image();
            }
        }
    }
    const int topHeight = top.height();
    Canvas.drawImage(0, 0, top);
    Canvas.drawImage(0, topHeight, left);
    Canvas.drawImage(W - right.width(), topHeight, right);
    Canvas.drawImage(0, H - bottom.height(), bottom);
}

void TbsSkinForm::PaintDefaultFrame(QPainter &Canvas)
{
    if (m_objects.empty() && !m_skinInUse) {
        createStandardButtons();
        ApplyBorderIcons();
    }
    layoutDefaultFrame();
    const DefaultFrameMetrics metrics = defaultMetrics();
    const int W = m_frameWidth;
    const int H = m_frameHeight;
    const int captionHeight = metrics.CaptionHeight;
    if (W - 6 <= 0 || captionHeight <= 0) {
        return;
    }

    QImage caption(W - 6, captionHeight, QImage::Format_RGB32);
    caption.fill(FrameColors::btnFace());
    QPainter p(&caption);
    const TRect &c = m_defaultCaption;
    if (captionHeight - 4 > 1) {
        for (int i = 0; i < captionHeight - 5; ++i) {
            const QColor color = i % 2 == 0 ? FrameColors::btnHighlight() : FrameColors::btnShadow();
            drawLineExclusive(p, QPoint(c.Left - 1, 2 + i), QPoint(c.Right - 6, 2 + i), color);
        }
    }
    QString text = CaptionText();
    if (!text.isEmpty()) {
        const FrameFont &font = IsFormActive() ? m_defCaptionFont : m_defInActiveCaptionFont;
        p.setFont(font.toQFont());
        const QFontMetrics fm = p.fontMetrics();
        const TRect area = offsetRect(c, -3, -3);
        CorrectTextToWidth(fm, text, RectWidth(area));
        const int textWidth = SkinTextWidth(fm, text);
        const int textHeight = SkinTextHeight(fm, text);
        const int left = area.Left + RectWidth(area) / 2 - (textWidth + 5) / 2;
        const int top = captionHeight / 2 - textHeight / 2;
        const QRect textRect(left, top, textWidth, textHeight);
        p.fillRect(textRect.adjusted(-2, -2, 2, 2), FrameColors::btnFace());
        p.setPen(font.Color);
        QRect drawn = textRect;
        const int rtl = m_form->layoutDirection() == Qt::RightToLeft ? Qt::TextForceRightToLeft : 0;
        DrawSkinText(p, text, drawn, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | rtl);
    }
    layoutDefaultFrame();
    p.translate(-3, -3);
    for (const auto &object : m_objects) {
        if (object->ObjectVisible) {
            object->Draw(p, true);
        }
    }
    p.end();

    Canvas.drawImage(3, 3, caption);
    DrawFrame3D(Canvas, { 0, 0, W, H }, FrameColors::light3D(), FrameColors::darkShadow3D());
    DrawFrame3D(Canvas, { 1, 1, W - 1, H - 1 }, FrameColors::btnHighlight(), FrameColors::btnShadow());
    DrawFrame3D(Canvas, { 2, 2, W - 2, H - 2 }, FrameColors::btnFace(), FrameColors::btnFace());
}

void TbsSkinForm::PaintClientBackground(QPainter &Canvas)
{
    const QRect area(QPoint(0, 0), m_client->size());
    bool logo = true;
    if (!m_skinInUse) {
        Canvas.fillRect(area, FrameColors::btnFace());
    } else if (const TBitmap *background = m_skinData->ActivePicture(m_skinData->bgpictureindex);
               background && m_skinData->bgpictureindex >= 0) {
        if (m_background.isNull()) {
            m_background = background->toRgb32();
        }
        tile(Canvas, area, m_background, m_background.rect());
    } else if (IsNullRect(m_skinData->clientrect)) {
        Canvas.fillRect(area, FrameColors::btnFace());
        logo = false;
    } else if (!area.isEmpty()) {
        tile(Canvas, area, m_formPicture, toQRect(m_skinData->clientrect));
    }
    if (logo && !m_logo.isNull()) {
        const int x = std::max(0, area.width() / 2 - m_logo.width() / 2);
        const int y = std::max(0, area.height() / 2 - m_logo.height() / 2);
        Canvas.drawImage(x, y, m_logoTransparent ? withTransparentKey(m_logo) : m_logo);
    }
}

QImage TbsSkinForm::frameImage()
{
    QImage image(qMax(1, m_frameWidth), qMax(1, m_frameHeight), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    if (m_skinInUse) {
        PaintSkinFrame(painter);
    } else {
        PaintDefaultFrame(painter);
    }
    return image;
}

void TbsSkinForm::paintFrame(QPainter &painter, const QRegion &region)
{
    QRegion frame = region;
    if (m_client->isVisible()) {
        frame -= m_client->geometry();
    }
    if (frame.isEmpty()) {
        return;
    }
    painter.setClipRegion(frame);
    if (m_skinInUse) {
        PaintSkinFrame(painter);
    } else {
        PaintDefaultFrame(painter);
    }
}

void TbsSkinForm::RepaintObject(TbsActiveSkinObject *Object)
{
    if (!Object || m_borderStyle == bsNone || !m_form->isVisible()) {
        return;
    }
    // Drawn at once, as the frame would draw it: the frame paints every object over its strips.
    m_form->repaint(toQRect(Object->ObjectRect));
}

QString TbsSkinForm::CaptionText() const
{
    return m_form->windowTitle();
}

int TbsSkinForm::smallIconSize() const
{
    return m_form->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, m_form);
}

QImage TbsSkinForm::SmallIcon()
{
    if (m_smallIcon.isNull()) {
        QIcon icon = m_form->windowIcon();
        if (icon.isNull()) {
            icon = m_form->style()->standardIcon(QStyle::SP_TitleBarMenuButton, nullptr, m_form);
        }
        const int size = smallIconSize();
        m_smallIcon = icon.pixmap(size, size).toImage();
    }
    return m_smallIcon;
}

// --- Activation and the mouse ----------------------------------------------------------------------------------

bool TbsSkinForm::IsFormActive() const
{
    return m_form->isActiveWindow() || m_clickActivation;
}

void TbsSkinForm::UpdateActivation(bool Animate)
{
    const bool active = IsFormActive();
    for (const auto &object : m_objects) {
        auto *caption = dynamic_cast<TbsSkinCaptionObject *>(object.get());
        if (!caption || caption->ActiveState == active) {
            continue;
        }
        caption->ActiveState = active;
        if (Animate) {
            if (caption->AnimationInEffect()) {
                caption->AnimationTime = 25;
                caption->AnimationFrame = active ? 1 : (caption->inactiveanimation ? caption->framecount : 0);
                StartAnimationTimer();
            }
            m_form->update();
            if (caption->MorphingInEffect()) {
                StartMorphTimer();
            }
        } else if (caption->MorphingInEffect()) {
            caption->MorphFactor = active ? 1 : 0;
        }
        break;
    }
    if (active) {
        if (OnActivate) {
            OnActivate();
        }
    } else if (OnDeActivate) {
        OnDeActivate();
    }
}

void TbsSkinForm::ResetObjectStates()
{
    for (const auto &object : m_objects) {
        if (auto *animate = dynamic_cast<TbsSkinAnimateObject *>(object.get())) {
            animate->MouseOver = false;
            animate->ActiveState = false;
            animate->CurrentFrame = 1;
        } else if (!dynamic_cast<TbsSkinCaptionObject *>(object.get())) {
            object->ActiveState = false;
            object->MouseOver = false;
            object->MorphFactor = 0;
        }
    }
}

void TbsSkinForm::UpdateHotObject(int X, int Y, bool Track)
{
    if (m_objects.empty() || !IsFormActive()) {
        return;
    }
    m_previousHot = m_hot;
    int found = -1;
    for (size_t i = 0; i < m_objects.size(); ++i) {
        const auto &o = m_objects[i];
        if (o->ObjectEnabled && o->ObjectVisible && pointInRect(o->ObjectRect, { X, Y })) {
            found = int(i);
            break;
        }
    }
    int hot = Track && found >= 0 ? found : -1;
    if (m_pressed != -1 && m_pressed != hot) {
        hot = -1;
    }
    if (hot >= int(m_objects.size())) {
        hot = -1;
    }
    m_hot = hot;
    if (m_hot == m_previousHot) {
        return;
    }
    const auto usable = [this](int index) {
        return index >= 0 && index < int(m_objects.size()) && m_objects[size_t(index)]->ObjectEnabled
            && m_objects[size_t(index)]->ObjectVisible;
    };
    const int previous = m_previousHot;
    if (usable(previous)) {
        m_objects[size_t(previous)]->MouseLeave();
    }
    if (usable(hot) && m_hot == hot) {
        m_objects[size_t(hot)]->MouseEnter();
    }
}

void TbsSkinForm::pressObject(Qt::MouseButton button, int X, int Y)
{
    if (m_hot < 0 || m_hot >= int(m_objects.size())) {
        return;
    }
    m_pressed = m_hot;
    m_objects[size_t(m_pressed)]->MouseDown(X, Y, button);
}

void TbsSkinForm::releaseObject(Qt::MouseButton button, int X, int Y)
{
    if (m_pressed < 0 || m_pressed >= int(m_objects.size())) {
        m_pressed = -1;
        return;
    }
    const QPointer<TbsSkinForm> self(this);
    TbsActiveSkinObject *object = m_objects[size_t(m_pressed)].get();
    object->MouseUp(X, Y, button); // a command may close, resize or reskin the window
    if (self) {
        m_pressed = -1;
    }
}

void TbsSkinForm::trackPoint(TPoint P)
{
    if (!pointInRect(clientRect(), P) || !m_client->isVisible()) {
        UpdateHotObject(P.X, P.Y, true);
    } else if (m_hot != -1) {
        UpdateHotObject(-1, -1, true);
    }
}

void TbsSkinForm::MouseTimerTick()
{
    if (!IsFormActive()) {
        return;
    }
    if (m_sizing || m_drag.active()) {
        m_mouseTimer->stop();
        return;
    }
    trackPoint(ScreenToWindow(QCursor::pos()));
}

void TbsSkinForm::MorphTimerTick()
{
    bool stepped = false;
    for (const auto &object : m_objects) {
        if (object->MorphingInEffect() && object->NeedsMorphStep()) {
            object->MorphStep();
            stepped = true;
        }
    }
    if (!stepped) {
        m_morphTimer->stop();
    }
}

void TbsSkinForm::AnimationTimerTick()
{
    bool ran = false;
    for (const auto &object : m_objects) {
        if (auto *animate = dynamic_cast<TbsSkinAnimateObject *>(object.get())) {
            if (animate->ActiveState && (!animate->Pressed || IsNullRect(animate->downskinrect))) {
                animate->AnimationStep();
                ran = true;
            }
        } else if (auto *caption = dynamic_cast<TbsSkinCaptionObject *>(object.get())) {
            ran = caption->AnimationStep() || ran;
        }
    }
    if (!ran) {
        m_animationTimer->stop();
    }
}

void TbsSkinForm::StartMorphTimer()
{
    if (!m_morphTimer->isActive()) {
        m_morphTimer->start();
    }
}

void TbsSkinForm::StartAnimationTimer()
{
    if (!m_animationTimer->isActive()) {
        m_animationTimer->start();
    }
}

// --- Menus ------------------------------------------------------------------------------------------------------

void TbsSkinForm::BeginSkinMenu()
{
    if (m_menuMode) {
        return;
    }
    m_menuMode = true;
    if (OnSkinMenuOpen) {
        OnSkinMenuOpen();
    }
}

void TbsSkinForm::EndSkinMenu()
{
    m_menuMode = false;
    // The press that opened the menu ended in the menu, which took its release: the form holds no pressed object,
    // or the next press on another button of the frame would be taken for that one's release.
    if (m_pressed >= 0 && m_pressed < int(m_objects.size())) {
        if (auto *button = dynamic_cast<TbsSkinButtonObject *>(m_objects[size_t(m_pressed)].get());
            button && !button->hasPopupItem()) {
            button->SetPressed(false);
        }
    }
    m_pressed = -1;
    for (const auto &object : m_objects) {
        if (auto *button = dynamic_cast<TbsSkinButtonObject *>(object.get());
            button && button->Pressed && button->hasPopupItem()) {
            button->PopupItem.reset();
            button->SetPressed(false);
            break;
        }
        if (auto *animate = dynamic_cast<TbsSkinAnimateObject *>(object.get());
            animate && animate->PopupItem && animate->MenuShown) {
            animate->ActiveState = true;
            animate->CurrentFrame = animate->countframes;
            animate->Pressed = false;
            animate->MenuShown = false;
            animate->Forward = false;
            StartAnimationTimer();
            break;
        }
    }
    if (OnSkinMenuClose) {
        OnSkinMenuClose();
    }
}

bool TbsSkinForm::ShowPopupMenu(const std::vector<SystemMenuItem> &items, const QRect &anchor)
{
    if (items.empty()) {
        return false;
    }
    if (popupMenuHook()) {
        BeginSkinMenu();
        if (!popupMenuHook()(*this, items, anchor)) {
            m_menuMode = false;
            return false;
        }
        return true;
    }
    // The items become framework menu items; their short-cuts are only shown, never grabbed.
    if (m_popupItems) {
        m_popupItems->deleteLater();
    }
    auto *menu = new QMenu(m_form);
    m_popupItems = menu;
    for (const SystemMenuItem &item : items) {
        if (item.Caption == QLatin1String("-")) {
            menu->addSeparator();
            continue;
        }
        QAction *action = menu->addAction(item.Caption);
        action->setObjectName(item.Name);
        if (!item.ShortCut.isEmpty()) {
            action->setShortcut(QKeySequence(item.ShortCut));
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        if (item.OnClick) {
            connect(action, &QAction::triggered, this, [run = item.OnClick] { run(); });
        }
    }
    BeginSkinMenu();
    m_skinMenu->OpenMenu(nullptr, m_skinMenu->FormMenusSkinData(), 0, toTRect(anchor), menu, false);
    if (!m_skinMenu->Visible()) {
        EndSkinMenu();
        return false;
    }
    return true;
}

void TbsSkinForm::closeSkinMenus()
{
    if (m_skinMenu->Visible()) {
        m_skinMenu->CloseAll();
    } else if (m_menuMode) {
        EndSkinMenu();
    }
}

int TbsSkinForm::DefMenuItemHeight() const
{
    return m_skinMenu->DefaultItemHeight();
}

void TbsSkinForm::SetDefMenuItemHeight(int value)
{
    m_skinMenu->SetDefaultItemHeight(value);
}

const QFont &TbsSkinForm::DefMenuItemFont() const
{
    return m_skinMenu->DefaultItemFont();
}

void TbsSkinForm::SetDefMenuItemFont(const QFont &value)
{
    m_skinMenu->SetDefaultItemFont(value);
}

bool TbsSkinForm::UseSkinFontInMenu() const
{
    return m_skinMenu->UseSkinFont();
}

void TbsSkinForm::SetUseSkinFontInMenu(bool value)
{
    m_skinMenu->SetUseSkinFont(value);
}

int TbsSkinForm::MaxMenuItemsInWindow() const
{
    return m_skinMenu->MaxMenuItemsInWindow();
}

void TbsSkinForm::SetMaxMenuItemsInWindow(int value)
{
    m_skinMenu->SetMaxMenuItemsInWindow(value);
}

bool TbsSkinForm::MenusAlphaBlend() const
{
    return m_skinMenu->AlphaBlend();
}

void TbsSkinForm::SetMenusAlphaBlend(bool value)
{
    m_skinMenu->SetAlphaBlend(value);
}

bool TbsSkinForm::MenusAlphaBlendAnimation() const
{
    return m_skinMenu->AlphaBlendAnimation();
}

void TbsSkinForm::SetMenusAlphaBlendAnimation(bool value)
{
    m_skinMenu->SetAlphaBlendAnimation(value);
}

int TbsSkinForm::MenusAlphaBlendValue() const
{
    return m_skinMenu->AlphaBlendValue();
}

void TbsSkinForm::SetMenusAlphaBlendValue(int value)
{
    m_skinMenu->SetAlphaBlendValue(value);
}

std::vector<SystemMenuItem> TbsSkinForm::GetSystemMenuItems()
{
    const TbsResourceStrData *strings = m_skinData ? m_skinData->ResourceStrData() : nullptr;
    const auto caption = [strings](const char *key, const char *text) {
        return strings ? strings->GetResourceString(QString::fromLatin1(key)) : QString::fromLatin1(text);
    };
    const QPointer<TbsSkinForm> self(this);
    const auto guarded = [self](auto action) {
        return [self, action] {
            if (self) {
                action(*self);
            }
        };
    };
    const bool minimized = m_windowState == wsMinimized;
    const bool maximized = m_windowState == wsMaximized;

    std::vector<SystemMenuItem> items;
    if ((m_borderIcons & biMinimize) && !minimized) {
        items.push_back({ QStringLiteral("SKF_MINITEM"), caption("MI_MINCAPTION", "Mi&nimize"), QString(),
            guarded([](TbsSkinForm &f) {
                if (f.m_alwaysMinimizeToTray) {
                    f.MinimizeToTray();
                } else {
                    f.SetSkinWindowState(wsMinimized);
                }
            }) });
    }
    if ((m_borderIcons & biMaximize) && !maximized) {
        items.push_back({ QStringLiteral("SKF_MAXITEM"), caption("MI_MAXCAPTION", "Ma&ximize"), QString(),
            guarded([](TbsSkinForm &f) { f.SetSkinWindowState(wsMaximized); }) });
    }
    if (m_windowState != wsNormal || m_rollUpState) {
        items.push_back({ QStringLiteral("SKF_RESTORE"), caption("MI_RESTORECAPTION", "&Restore"), QString(),
            guarded([](TbsSkinForm &f) {
                if (f.m_rollUpState && (f.m_rollUpWhileMaximized || f.m_windowState == wsNormal)) {
                    f.SetRollUpState(false);
                } else {
                    f.SetSkinWindowState(wsNormal);
                }
            }) });
    }
    if ((m_borderIcons & biRollUp) && !m_rollUpState && !minimized) {
        items.push_back({ QStringLiteral("SKF_ROLLUP"), caption("MI_ROLLUPCAPTION", "Ro&llUp"), QString(),
            guarded([](TbsSkinForm &f) { f.SetRollUpState(true); }) });
    }
    if (m_borderIcons & biMinimizeToTray) {
        items.push_back({ QStringLiteral("SKF_MINTOTRAY"), caption("MI_MINTOTRAYCAPTION", "Minimize to &Tray"),
            QString(), guarded([](TbsSkinForm &f) { f.MinimizeToTray(); }) });
    }
    if (!items.empty()) {
        items.push_back({ QString(), QStringLiteral("-"), QString(), {} });
    }
    items.push_back({ QStringLiteral("SKF_CLOSE"), caption("MI_CLOSECAPTION", "&Close"), QStringLiteral("Alt+F4"),
        guarded([](TbsSkinForm &f) { f.CloseForm(); }) });
    return items;
}

bool TbsSkinForm::showSystemMenuFromKeyboard()
{
    for (const auto &object : m_objects) {
        if (object->ObjectEnabled && object->ObjectVisible && isCaptionButton(object.get())
            && commandOf(object.get()) == cmSysMenu) {
            ShowSystemMenuUnder(object->ObjectRect);
            return true;
        }
    }
    // Without a system-menu button the menu opens at the client area's corner.
    if (m_borderIcons & biSystemMenu) {
        const QPoint at = m_form->mapToGlobal(toQRect(clientRect()).topLeft());
        ShowSystemMenuAt(at.x(), at.y());
        return true;
    }
    return false;
}

bool TbsSkinForm::handleMenuKey(QKeyEvent *event)
{
    // Shift+F10 and the menu key ask the focused control for its menu, as a right click would; the request comes
    // back to the window when no control has a menu. Where the window manager keeps Alt+Space for itself, this is
    // how the system menu is reached from the keyboard.
    const bool menuKey = event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier;
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (!menuKey && !shiftF10) {
        return false;
    }
    QWidget *target = QApplication::focusWidget();
    if (!target || target->window() != m_form) {
        target = m_form;
    }
    const QPoint local = target->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, local, target->mapToGlobal(local), event->modifiers());
    QApplication::sendEvent(target, &request);
    return true;
}

void TbsSkinForm::ShowSystemMenuAt(int X, int Y)
{
    ShowPopupMenu(GetSystemMenuItems(), QRect(X, Y, 0, 0));
}

void TbsSkinForm::ShowSystemMenuUnder(const TRect &Rect)
{
    ShowPopupMenu(GetSystemMenuItems(), toQRect(Rect).translated(m_form->mapToGlobal(QPoint(0, 0))));
}

// --- Window states and commands --------------------------------------------------------------------------------

void TbsSkinForm::CloseForm()
{
    m_form->close();
}

void TbsSkinForm::SetSkinWindowState(TWindowState State)
{
    if (State == m_windowState) {
        return;
    }
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
                m_restoreBounds = m_form->geometry();
            }
            updateSizeLimits();
            m_form->setGeometry(QRect(freeMinimizedSlot().topLeft(), QSize(GetMinWidth(), GetMinHeight())));
        }
        if (OnMinimize) {
            OnMinimize();
        }
        break;
    case wsMaximized: {
        if (m_restoreBounds.isEmpty()) {
            m_restoreBounds = m_form->geometry();
        }
        const TRect monitor = GetMonitorWorkArea(m_form, false);
        const TRect work = GetMonitorWorkArea(m_form, true);
        TRect target = m_maximizeOnFullScreen ? monitor : work;
        const TRect screen = GetScreenWorkArea(false);
        if (RectWidth(work) == RectWidth(monitor) && RectHeight(work) == RectHeight(monitor)
            && monitor == TRect { 0, 0, RectWidth(screen), RectHeight(screen) }) {
            target = { target.Left + 1, target.Top + 1, target.Right - 1, target.Bottom - 1 }; // an auto-hidden bar
        }
        updateSizeLimits();
        m_form->setGeometry(toQRect(target));
        if (OnMaximize) {
            OnMaximize();
        }
        break;
    }
    case wsNormal: {
        m_rollUpWhileMaximized = false;
        const QSize before = m_form->size();
        updateSizeLimits();
        if (!m_restoreBounds.isEmpty()) {
            if (m_firstShow) {
                m_firstShow = false;
                m_form->resize(m_restoreBounds.size());
                if (m_positionInMonitor == bspDefault) {
                    m_form->move(m_restoreBounds.topLeft());
                } else {
                    PlaceInMonitor();
                }
            } else {
                m_form->setGeometry(m_restoreBounds);
            }
        }
        m_mouseTimer->start();
        if (m_form->size() == before) {
            NudgeWidth();
        }
        m_form->update();
        m_restoreBounds = QRect();
        if (OnRestore) {
            OnRestore();
        }
        break;
    }
    }
}

QRect TbsSkinForm::freeMinimizedSlot() const
{
    const TRect area = GetMonitorWorkArea(m_form, true);
    const int width = GetMinWidth();
    const int height = GetMinHeight();
    QWidget *mainForm = ApplicationMainForm();
    const auto taken = [&](int x, int y) {
        for (QWidget *window : skinWindows()) {
            const TbsSkinForm *other = skinFormOf(window);
            if (window == m_form || window == mainForm || !window->isVisible() || !other
                || other->m_windowState != wsMinimized) {
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

void TbsSkinForm::minimizeApplication()
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
                form->m_withdrawn = true;
                form->m_withdrawnSeenHidden = false;
                if (window->windowHandle()) {
                    window->windowHandle()->installEventFilter(form); // to see it mapped again
                }
            }
        }
    }
}

void TbsSkinForm::restoreApplication()
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
            form->m_withdrawn = false;
        }
        window->showNormal();
    }
    s_restoring = false;
}

void TbsSkinForm::SetRollUpState(bool Value)
{
    if (!(m_borderIcons & biRollUp) || m_windowState == wsMinimized) {
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
    if (Value) {
        m_heightBeforeRollUp = m_form->height();
        updateSizeLimits();
        resizeForm(QSize(m_form->width(), GetMinHeight()));
    } else {
        updateSizeLimits();
        resizeForm(QSize(m_form->width(), m_heightBeforeRollUp));
    }
    placeClient();
    m_form->update();
    if (OnChangeRollUpState) {
        OnChangeRollUpState();
    }
}

void TbsSkinForm::CaptionDoubleClick()
{
    const bool sizeable = isSizeable(m_borderStyle);
    if (sizeable && m_windowState == wsMinimized) {
        SetSkinWindowState(wsNormal);
    } else if (sizeable && m_windowState != wsMaximized && !m_rollUpState && (m_borderIcons & biMaximize)) {
        SetSkinWindowState(wsMaximized);
    } else if (sizeable && m_windowState == wsMaximized && !m_rollUpWhileMaximized) {
        SetSkinWindowState(wsNormal);
    } else {
        SetRollUpState(!m_rollUpState);
    }
}

void TbsSkinForm::PlaceInMonitor()
{
    const TRect reference = GetMonitorWorkArea(m_form, m_positionInMonitor == bspDesktopCenter);
    const QSize size = m_form->size();
    m_form->move(reference.Left + RectWidth(reference) / 2 - size.width() / 2,
        reference.Top + RectHeight(reference) / 2 - size.height() / 2);
}

void TbsSkinForm::FadeIn()
{
    const int target = (m_alphaBlend || !m_alphaBlendAnimation) ? m_alphaBlendValue : 255;
    if (m_alphaBlendAnimation) {
        // Steps of 5 up to the target. No events are handled in between: the window must not be able to go away
        // in the middle of its own fade.
        for (int alpha = 5;; alpha += 5) {
            SetWindowAlpha(m_form, std::min(alpha, target));
            if (alpha >= target) {
                break;
            }
        }
    } else if (target != 255) {
        SetWindowAlpha(m_form, target);
    }
    if (target == 255) {
        SetWindowAlpha(m_form, 255);
    }
}

void TbsSkinForm::MinimizeToTray()
{
    // This program has no notification-area icon; minimising to it does nothing.
}

void TbsSkinForm::RestoreFromTray()
{
}

// --- Events -----------------------------------------------------------------------------------------------------

bool TbsSkinForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_form->windowHandle()) {
        if (event->type() == QEvent::Expose) {
            handleExpose();
        }
        return false;
    }
    if (watched != m_form) {
        return false;
    }
    if (event->type() == SkinMessageEvent::eventType()) {
        return handleSkinMessage(event);
    }
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(m_form);
        paintFrame(painter, static_cast<QPaintEvent *>(event)->region());
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
        if (m_pressed == -1 && m_hot != -1) {
            UpdateHotObject(-1, -1, true);
        }
        return false;
    case QEvent::Resize:
        closeSkinMenus();
        rememberNormalSize();
        handleResize();
        return false;
    case QEvent::Move:
        closeSkinMenus();
        return false;
    case QEvent::KeyPress:
        return handleMenuKey(static_cast<QKeyEvent *>(event));
    case QEvent::ContextMenu:
        // A menu asked for from the keyboard that no control answered: the window's own, the system menu.
        if (static_cast<QContextMenuEvent *>(event)->reason() != QContextMenuEvent::Keyboard) {
            return false;
        }
        if (!m_skinMenu->Visible()) {
            showSystemMenuFromKeyboard();
        }
        return true;
    case QEvent::FocusOut:
        // A popup of the window's own menu taking the keyboard closes nothing.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            closeSkinMenus();
        }
        return false;
    case QEvent::ActivationChange:
        handleActivation();
        return false;
    case QEvent::WindowTitleChange:
        m_form->update();
        return false;
    case QEvent::Show:
        handleShow();
        return false;
    case QEvent::Hide:
        if (m_alphaBlend) {
            SetWindowAlpha(m_form, 255);
        }
        return false;
    case QEvent::WindowStateChange:
        handleWindowStateChange(event);
        return false;
    default:
        return false;
    }
}

void TbsSkinForm::skinAboutToChange(QWidget *window)
{
    if (window != m_form) {
        return;
    }
    m_skinInUse = false;
    m_mouseTimer->stop();
    m_morphTimer->stop();
    m_animationTimer->stop();
    FreeObjects();
    m_stripCache = {};
    m_formPicture = QImage();
    m_inactivePicture = QImage();
    m_background = QImage();
    // A reload that fails is followed by no change: the plain frame is laid out then.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_skinInUse) {
                ApplySkinToFrame();
            }
        },
        Qt::QueuedConnection);
}

void TbsSkinForm::skinChanged(QWidget *window)
{
    if (window != m_form) {
        return;
    }
    m_inactivePicture = QImage();
    m_background = QImage();
    ApplySkinToFrame();
}

void TbsSkinForm::skinStringsChanged(QWidget *window)
{
    if (window == m_form) {
        LoadObjectHints();
    }
}

bool TbsSkinForm::handleSkinMessage(QEvent *event)
{
    auto *message = static_cast<SkinMessageEvent *>(event);
    switch (message->Msg()) {
    case SKIN_MSG_MENU_CLOSED:
        EndSkinMenu();
        return false;
    case SKIN_MSG_PAINT_FRAME:
        if (message->LParam() != SKIN_PAINT_FRAME_PARAM) {
            return false;
        }
        if (message->WParam() && m_borderStyle != bsNone) {
            auto *painter = static_cast<QPainter *>(message->WParam());
            if (m_skinInUse) {
                PaintSkinFrame(*painter);
            } else {
                PaintDefaultFrame(*painter);
            }
        }
        message->SetResult(SKIN_PAINT_FRAME_PARAM);
        return true;
    default:
        return false;
    }
}

void TbsSkinForm::updateCursor(int hitCode)
{
    QCursor cursor(cursorForHitCode(hitCode));
    if (!isSizingHitCode(hitCode) && m_useFormCursorInNCArea) {
        cursor = m_formCursor;
    }
    if (m_form->cursor().shape() != cursor.shape() || cursor.shape() == Qt::BitmapCursor) {
        m_form->setCursor(cursor);
    }
}

bool TbsSkinForm::handleMousePress(QMouseEvent *event)
{
    const TPoint P = toTPoint(event->position());
    const int code = HitTest(P);
    closeSkinMenus();
    if (code == HTCLIENT) {
        return false;
    }
    if (!m_form->isActiveWindow()) {
        // A click on the frame activates the window, and the click already counts for the active window (the
        // window system reports the activation only later).
        m_form->activateWindow();
        m_clickActivation = true;
    }
    m_sizing = false;
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton) {
        UpdateHotObject(P.X, P.Y, true);
        pressObject(Qt::LeftButton, P.X, P.Y);
        if (code == HTCAPTION) {
            m_pressed = -1;
            m_captionPressed = true;
            m_pressGlobal = global;
        } else if (isSizingHitCode(code)) {
            startSystemResizeOrDrag(code, global);
        }
    } else if (event->button() == Qt::RightButton) {
        UpdateHotObject(P.X, P.Y, true);
        pressObject(Qt::RightButton, P.X, P.Y);
        if (code == HTCAPTION) {
            m_pressed = -1;
            ShowSystemMenuAt(global.x(), global.y());
        }
    }
    return true;
}

bool TbsSkinForm::handleMouseDoubleClick(QMouseEvent *event)
{
    const TPoint P = toTPoint(event->position());
    const int code = HitTest(P);
    if (code == HTCLIENT) {
        return false;
    }
    m_captionPressed = false;
    const QPointer<TbsSkinForm> self(this);
    if (event->button() == Qt::LeftButton) {
        UpdateHotObject(P.X, P.Y, true);
        pressObject(Qt::LeftButton, P.X, P.Y);
        if (m_hot >= 0 && m_hot < int(m_objects.size())) {
            m_objects[size_t(m_hot)]->DblClick();
        }
        if (self && code == HTCAPTION) {
            CaptionDoubleClick();
            m_pressed = -1;
        }
    } else if (event->button() == Qt::RightButton) {
        UpdateHotObject(P.X, P.Y, true);
        pressObject(Qt::RightButton, P.X, P.Y);
        if (code == HTCAPTION) {
            m_pressed = -1;
        }
    }
    return true;
}

bool TbsSkinForm::handleMouseMove(QMouseEvent *event)
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
    const int code = HitTest(P);
    if (event->buttons() == Qt::NoButton) {
        updateCursor(code);
    }
    if (IsFormActive()) {
        trackPoint(P);
        if (!m_mouseTimer->isActive()) {
            m_mouseTimer->start();
        }
    }
    if (m_pressed == -1 && code != HTCLIENT && m_hot >= 0 && m_hot < int(m_objects.size())) {
        m_objects[size_t(m_hot)]->MouseMove(P.X, P.Y);
    }
    return m_pressed != -1;
}

bool TbsSkinForm::handleMouseRelease(QMouseEvent *event)
{
    const QPointer<TbsSkinForm> self(this);
    const bool handled = releaseMouse(event);
    if (self) {
        m_clickActivation = false;
    }
    return handled;
}

bool TbsSkinForm::releaseMouse(QMouseEvent *event)
{
    if (m_drag.active()) {
        trackDrag(event->globalPosition().toPoint());
        m_drag.end();
        m_mouseTimer->start();
        m_form->update();
        return true;
    }
    m_captionPressed = false;
    const TPoint P = toTPoint(event->position());
    if (m_pressed == -1) {
        return HitTest(P) != HTCLIENT;
    }
    // The object follows the mouse to where it was let go, as the mouse timer would have seen it.
    trackPoint(P);
    const bool caption = m_pressed >= 0 && m_pressed < int(m_objects.size())
        && dynamic_cast<TbsSkinCaptionObject *>(m_objects[size_t(m_pressed)].get());
    // A release after a press on an object reaches it at (-1, -1), the object holding the mouse; a caption does
    // not take the mouse and gets the point.
    releaseObject(event->button(), caption ? P.X : -1, caption ? P.Y : -1);
    return true;
}

void TbsSkinForm::startSystemMoveOrDrag(const QPoint &global)
{
    ResetObjectStates();
    m_mouseTimer->stop();
    m_hot = -1;
    m_pressed = -1;
    m_magneticState.clear();
    m_magneticState.anchor = global;
    if (m_windowState == wsMaximized) {
        return; // a maximised window stays where it is
    }
    // The window manager moves the window when it can; with magnetic edges the frame moves it itself, since it
    // must see each position.
    QWindow *window = m_form->windowHandle();
    if (!m_magnetic && window && window->startSystemMove()) {
        m_sizing = true;
        return;
    }
    m_drag.beginMove(m_pressGlobal, m_form->geometry());
    trackDrag(global);
}

void TbsSkinForm::startSystemResizeOrDrag(int hitCode, const QPoint &global)
{
    ResetObjectStates();
    m_mouseTimer->stop();
    m_hot = -1;
    m_pressed = -1;
    const Qt::Edges edges = edgesForHitCode(hitCode);
    QWindow *window = m_form->windowHandle();
    if (window && window->startSystemResize(edges)) {
        m_sizing = true;
        return;
    }
    m_drag.beginSize(edges, global, m_form->geometry());
}

void TbsSkinForm::trackDrag(const QPoint &global)
{
    QRect target
        = m_drag.geometryAt(global, QSize(GetMinWidth(), GetMinHeight()), QSize(GetMaxWidth(), GetMaxHeight()));
    if (m_drag.kind() == FrameDrag::Move) {
        QPoint at = target.topLeft();
        if (m_magnetic) {
            at = MagneticSnap(
                m_magneticState, toQRect(GetMonitorWorkArea(m_form, true)), m_magneticSize, at, m_form->size(), global);
        }
        if (at != m_form->pos()) {
            m_form->move(at);
        }
        return;
    }
    if (target != m_form->geometry()) {
        m_form->setGeometry(target);
    }
}

void TbsSkinForm::handleResize()
{
    m_magneticState.clear();
    m_frameWidth = m_form->width();
    m_frameHeight = m_form->height();
    if (m_skinInUse) {
        if (m_frameWidth >= GetMinWidth() && m_frameHeight >= GetMinHeight()) {
            UpdateFrame(true);
        } else {
            placeClient();
        }
    } else {
        layoutDefaultFrame();
        placeClient();
        m_form->update();
    }
}

void TbsSkinForm::handleShow()
{
    if (m_form->windowHandle()) {
        m_form->windowHandle()->installEventFilter(this);
    }
    if (m_firstShow) {
        if (m_positionInMonitor == bspDefault) {
            m_firstShow = false;
        } else if (m_windowState == wsNormal) {
            m_firstShow = false;
            PlaceInMonitor();
        }
    }
    if (IsWindows5x() && (m_alphaBlend || m_alphaBlendAnimation)) {
        SetWindowAlpha(m_form, 0);
        QTimer::singleShot(1, this, &TbsSkinForm::FadeIn);
    }
    NudgeWidth();
}

void TbsSkinForm::handleActivation()
{
    m_ncActive = m_form->isActiveWindow();
    m_clickActivation = false;
    if (!m_ncActive) {
        closeSkinMenus();
    } else if (m_menuMode && !m_skinMenu->Visible()) {
        EndSkinMenu();
    }
    m_form->update();
    // An activation that a click on the frame brought arrives after the press: the pressed object keeps its state.
    // Otherwise every object starts afresh, and the next mouse position makes one hot again.
    if (m_pressed == -1) {
        ResetObjectStates();
        m_hot = -1;
        m_previousHot = -1;
    }
    UpdateActivation(m_borderStyle != bsNone); // a window without border has no caption to animate
}

void TbsSkinForm::rememberNormalSize()
{
    // A manager's maximising may resize the window before it tells the new state: a size that fills the screen's
    // available area is taken for that and not remembered.
    const QScreen *screen = m_form->screen();
    if (!(m_form->windowState() & s_managerStates) && (!screen || m_form->size() != screen->availableSize())) {
        m_normalSize = m_form->size();
    }
}

void TbsSkinForm::handleWindowStateChange(QEvent *event)
{
    const auto *change = static_cast<QWindowStateChangeEvent *>(event);
    // The frame maximises a window by its own geometry and never asks the window system to: a maximised or full
    // screen state comes from the window manager (mutter maximises a window nearly as large as the screen when it
    // maps it). The window goes back to normal at the size it had, rather than keep a stretched frame that cannot
    // roll up; managers put back a size of their own choosing (mutter a smaller one), so the size is set again.
    if ((m_form->windowState() & s_managerStates) && !(change->oldState() & s_managerStates)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_form->setWindowState(m_form->windowState() & ~s_managerStates);
                if (m_normalSize.isValid()) {
                    resizeForm(m_normalSize);
                }
            },
            Qt::QueuedConnection);
    }
    if ((change->oldState() & Qt::WindowMinimized) && !m_form->isMinimized()) {
        m_withdrawn = false;
        if (OnRestore) {
            OnRestore();
        }
        if (isApplicationMainForm()) {
            restoreApplication();
        }
    }
}

void TbsSkinForm::handleExpose()
{
    if (!m_withdrawn || !m_form->windowHandle()) {
        return;
    }
    // The window was unmapped by the frame itself; once it has been seen hidden, being shown again means someone
    // (a task bar, a script) mapped it: the program comes back.
    if (!m_form->windowHandle()->isExposed()) {
        m_withdrawnSeenHidden = true;
    } else if (m_withdrawnSeenHidden) {
        m_withdrawn = false;
        restoreApplication();
    }
}

} // namespace pixolo
