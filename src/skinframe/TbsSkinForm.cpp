#include "skinframe/TbsSkinForm.h"

#include "skin/SkinGlyphs.h"
#include "skin/SkinMessage.h"
#include "skin/SkinPaint.h"
#include "skin/SkinPlatform.h"
#include "skin/TbsResourceStrData.h"
#include "skin/TbsSkinData.h"
#include "skinframe/FrameEventFilter.h"
#include "skinframe/TbsSkinMenu.h"
#include "skinframe/WindowSystem.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <stdexcept>

namespace pixolo
{

namespace
{

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
            m_form->painter().PaintClientBackground(painter);
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
    m_layout = std::make_unique<FrameLayout>(*this);
    m_painter = std::make_unique<FramePainter>(*this);
    m_states = std::make_unique<FrameWindowStates>(*this);
    m_menus = std::make_unique<FrameMenus>(*this);
    m_tracker = std::make_unique<FrameObjectTracker>(*this);

    m_mouseTimer = new QTimer(this);
    m_mouseTimer->setInterval(50);
    connect(m_mouseTimer, &QTimer::timeout, this, [this] { m_tracker->MouseTimerTick(); });
    m_morphTimer = new QTimer(this);
    m_morphTimer->setInterval(25);
    connect(m_morphTimer, &QTimer::timeout, this, [this] { m_tracker->MorphTimerTick(); });
    m_animationTimer = new QTimer(this);
    m_animationTimer->setInterval(25);
    connect(m_animationTimer, &QTimer::timeout, this, [this] { m_tracker->AnimationTimerTick(); });

    attach();
}

TbsSkinForm::~TbsSkinForm()
{
    // The menu engine is a child and goes after the parts: it must not call back into them.
    m_skinMenu->FormBeginMenu = nullptr;
    m_skinMenu->FormEndMenu = nullptr;
}

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
    // Installed last, the frame's event filter sees the window's events first; skin messages pass it.
    m_events = new FrameEventFilter(*this);
    m_form->installEventFilter(m_events);

    m_skinMenu = new TbsSkinMenu(m_form, this);
    m_skinMenu->SetAlphaBlendValue(200);
    m_skinMenu->FormMenusSkinData = [this] { return m_menusSkinData ? m_menusSkinData.data() : m_skinData.data(); };
    m_skinMenu->FormBeginMenu = [this] { m_menus->BeginSkinMenu(); };
    m_skinMenu->FormEndMenu = [this] { m_menus->EndSkinMenu(); };

    auto *systemMenuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), m_form);
    systemMenuKey->setContext(Qt::WindowShortcut);
    connect(systemMenuKey, &QShortcut::activated, this, [this] { m_menus->showSystemMenuFromKeyboard(); });

    m_layout->takeWindowSize();
    m_layout->layoutDefaultFrame();
    m_layout->placeClient();
    m_layout->updateSizeLimits();
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
    m_layout->NudgeWidth();
}

// --- Skin application -------------------------------------------------------------------------------------------

void TbsSkinForm::ApplySkinToFrame()
{
    m_tracker->forget();
    m_skinInUse = m_skinData && !m_skinData->Empty();
    m_stripCache = {};
    if (m_skinInUse) {
        m_formPicture = m_skinData->Picture.toRgb32();
        RebuildObjects();
        ApplyBorderIcons();
    } else {
        m_formPicture = QImage();
        FreeObjects();
        m_layout->UpdateWindowRegion(true);
    }

    FrameLayout &layout = *m_layout;
    layout.updateSizeLimits();
    const int minWidth = layout.GetMinWidth();
    const int minHeight = layout.GetMinHeight();
    const QSize size = m_form->size();
    if (size.width() < minWidth && size.height() < minHeight) {
        layout.resizeForm(QSize(minWidth, minHeight));
    } else if (size.height() < minHeight) {
        layout.resizeForm(QSize(size.width(), minHeight));
    } else if (size.width() < minWidth) {
        layout.resizeForm(QSize(minWidth, size.height()));
    } else {
        layout.NudgeWidth();
    }
    const bool minimized = SkinWindowState() == wsMinimized;
    if ((RollUpState() || minimized) && m_form->height() != minHeight) {
        layout.resizeForm(QSize(m_form->width(), minHeight));
    }
    if (minimized && m_form->width() != minWidth) {
        layout.resizeForm(QSize(minWidth, m_form->height()));
    }

    layout.takeWindowSize();
    if (m_skinInUse) {
        layout.UpdateFrame(true);
    } else {
        layout.layoutDefaultFrame();
        layout.placeClient();
    }
    m_form->update();
    m_client->update();
    m_tracker->UpdateActivation(true);
    m_mouseTimer->start();
    if (OnChangeSkinData) {
        OnChangeSkinData();
    }
    if (m_clientWidth > 0 || m_clientHeight > 0) {
        const QSize client = m_client->size();
        layout.resizeForClient(QSize(
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
    m_tracker->forget();
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

// --- The window and the mouse -----------------------------------------------------------------------------------

bool TbsSkinForm::IsFormActive() const
{
    return m_form->isActiveWindow() || m_events->clickActivation();
}

void TbsSkinForm::trackPoint(TPoint P)
{
    if (!pointInRect(m_layout->clientRect(), P) || !m_client->isVisible()) {
        m_tracker->UpdateHotObject(P.X, P.Y, true);
    } else if (m_tracker->HotObjectIndex() != -1) {
        m_tracker->UpdateHotObject(-1, -1, true);
    }
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

void TbsSkinForm::CloseForm()
{
    m_form->close();
}

QString TbsSkinForm::CaptionText() const
{
    return m_form->windowTitle();
}

// --- Events -----------------------------------------------------------------------------------------------------

bool TbsSkinForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_form->windowHandle()) {
        if (event->type() == QEvent::Expose) {
            m_states->windowExposed();
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
    case QEvent::Show:
        // The window may have a new native window: its exposures come here.
        if (m_form->windowHandle()) {
            m_form->windowHandle()->installEventFilter(this);
        }
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

} // namespace pixolo
