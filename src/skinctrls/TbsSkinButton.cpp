#include "skinctrls/TbsSkinButton.h"

#include "skin/SkinGlyphs.h"
#include "skin/TbsDataSkinControl.h"
#include "skin/TbsSkinData.h"
#include "skinctrls/DefaultLook.h"
#include "skinctrls/SkinLook.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QTimer>

namespace pixolo
{

namespace
{

// Fill colours of the default look (0x00BBGGRR).
constexpr TColor s_downFace = 11899781;
constexpr TColor s_hotFace = 13811126;

} // namespace

GlyphCaptionLayout layoutGlyphAndCaption(
    const QRect &area, QSize glyph, QSize text, TButtonLayout layout, int margin, int spacing, bool pressed)
{
    const int gw = glyph.width();
    const int gh = glyph.height();
    const int tw = text.width();
    const int th = text.height();
    const int cx = area.left() + area.width() / 2;
    const int cy = area.top() + area.height() / 2;
    GlyphCaptionLayout at;
    if (margin == -1) {
        const int hw = (tw + gw + spacing) / 2;
        const int hh = (th + gh + spacing) / 2;
        switch (layout) {
        case blGlyphLeft:
            at = { QPoint(cx - hw, cy - gh / 2), QPoint(cx + hw - tw, cy - th / 2) };
            break;
        case blGlyphRight:
            at = { QPoint(cx + hw - gw, cy - gh / 2), QPoint(cx - hw, cy - th / 2) };
            break;
        case blGlyphTop:
            at = { QPoint(cx - gw / 2, cy - hh), QPoint(cx - tw / 2, cy + hh - th) };
            break;
        case blGlyphBottom:
            at = { QPoint(cx - gw / 2, cy + hh - gh), QPoint(cx - tw / 2, cy - hh) };
            break;
        }
    } else {
        const int right = area.left() + area.width();
        const int bottom = area.top() + area.height();
        switch (layout) {
        case blGlyphLeft:
            at.glyph = QPoint(area.left() + margin, cy - gh / 2);
            at.text = QPoint(at.glyph.x() + gw + spacing, cy - th / 2);
            break;
        case blGlyphRight:
            at.glyph = QPoint(right - gw - margin, cy - gh / 2);
            at.text = QPoint(at.glyph.x() - spacing - tw, cy - th / 2);
            break;
        case blGlyphTop:
            at.glyph = QPoint(cx - gw / 2, area.top() + margin);
            at.text = QPoint(cx - tw / 2, at.glyph.y() + gh + spacing);
            break;
        case blGlyphBottom:
            at.glyph = QPoint(cx - gw / 2, bottom - gh - margin);
            at.text = QPoint(cx - tw / 2, at.glyph.y() - spacing - th);
            break;
        }
    }
    if (pressed) {
        at.glyph += QPoint(1, 1);
        at.text += QPoint(1, 1);
    }
    return at;
}

SkinButtonControl::SkinButtonControl(QWidget *parent)
    : TbsSkinCustomControl(parent)
{
    // Buttons fire their clicks by their own rules, not the framework's.
    m_clickEvents = false;
}

void SkinButtonControl::SetGlyph(const TBitmap &value)
{
    m_glyph = value;
    m_glyph.cacheRgb32(); // converted for painting here, not at every paint
    update();
}

void SkinButtonControl::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 4);
    if (m_numGlyphs != value) {
        m_numGlyphs = value;
        update();
    }
}

void SkinButtonControl::SetLayout(TButtonLayout value)
{
    if (m_layout != value) {
        m_layout = value;
        update();
    }
}

void SkinButtonControl::SetMargin(int value)
{
    if (value >= -1 && m_margin != value) {
        m_margin = value;
        update();
    }
}

void SkinButtonControl::SetSpacing(int value)
{
    if (m_spacing != value) {
        m_spacing = value;
        update();
    }
}

void SkinButtonControl::SetUseSkinFontColor(bool value)
{
    if (m_useSkinFontColor != value) {
        m_useSkinFontColor = value;
        update();
    }
}

void SkinButtonControl::SetRepeatInterval(int value)
{
    m_repeatInterval = std::max(value, 1);
    if (m_repeatTimer) {
        m_repeatTimer->setInterval(m_repeatInterval);
    }
}

void SkinButtonControl::SetDown(bool value)
{
    if (m_down == value) {
        return;
    }
    m_down = value;
    QAccessible::State changed;
    changed.pressed = true;
    changed.checked = m_groupIndex != 0;
    notifyStateChanged(this, changed);
    if (morphActive()) {
        // Down shows the down look at once; coming up fades back from the active look.
        m_morphFactor = 1;
        if (value) {
            stopMorph();
        } else {
            startMorph();
        }
    }
    update();
    if (value && m_groupIndex != 0 && !m_allowAllUp) {
        releaseGroup();
    }
}

void SkinButtonControl::releaseGroup()
{
    QWidget *parent = parentWidget();
    if (!parent) {
        return;
    }
    for (QObject *child : parent->children()) {
        auto *sibling = qobject_cast<SkinButtonControl *>(child);
        if (sibling && sibling != this && sibling->metaObject() == metaObject() && sibling->m_groupIndex == m_groupIndex
            && sibling->m_down) {
            sibling->SetDown(false);
        }
    }
}

bool SkinButtonControl::drawnDown() const
{
    return m_down && (m_hot || m_groupIndex != 0);
}

void SkinButtonControl::setHot(bool value)
{
    if (m_hot != value) {
        m_hot = value;
        if (morphActive() && !m_morphTimer.exists()) {
            m_morphFactor = value || focusedLook() ? 1 : 0; // a look set from outside shows at once
        }
        update();
    }
}

void SkinButtonControl::startRepeat()
{
    if (!m_repeatTimer) {
        m_repeatTimer = new QTimer(this);
        connect(m_repeatTimer, &QTimer::timeout, this, [this] { Click(); });
    }
    m_repeatTimer->start(m_repeatInterval);
}

void SkinButtonControl::stopRepeat()
{
    if (m_repeatTimer) {
        m_repeatTimer->stop();
    }
}

void SkinButtonControl::EnabledChanged()
{
    m_hot = false;
    stopMorph();
    m_morphFactor = 0;
    update();
}

void SkinButtonControl::MouseEnter()
{
    if (takesHover()) {
        m_hot = true;
        lookChanged(true);
        if (m_down && m_groupIndex == 0 && m_repeatMode && m_pressed) {
            startRepeat();
        }
    }
    TbsSkinCustomControl::MouseEnter();
}

void SkinButtonControl::MouseLeave()
{
    if (!keepsHotOnLeave()) {
        m_hot = false;
        lookChanged(false);
    }
    if (m_down && m_groupIndex == 0 && m_repeatMode) {
        stopRepeat();
    }
    TbsSkinCustomControl::MouseLeave();
}

void SkinButtonControl::lookChanged(bool forward)
{
    const bool shows = m_groupIndex != 0 ? !m_down : hoverShows();
    if (!shows) {
        update();
        return;
    }
    if (m_down) {
        if (morphActive()) {
            m_morphFactor = 1;
        }
        update();
        return;
    }
    startAnimation(forward);
    startMorph();
}

bool SkinButtonControl::morphActive() const
{
    return m_morphing && m_skin.effects() && skinLook();
}

void SkinButtonControl::startMorph()
{
    if (!morphActive()) {
        stopMorph();
        m_morphFactor = m_hot || focusedLook() ? 1 : 0;
        update();
        return;
    }
    m_morphTimer.start(this, MorphTimer::Interval, [this] { morphStep(); });
}

void SkinButtonControl::stopMorph()
{
    m_morphTimer.stop();
}

void SkinButtonControl::morphStep()
{
    const MorphTimer::Stepped next = MorphTimer::step(m_morphFactor, m_hot || focusedLook(), morphActive());
    m_morphFactor = next.factor;
    if (next.over) {
        stopMorph();
    }
    update();
}

void SkinButtonControl::startAnimation(bool forward)
{
    if (!m_skin.effects() || !skinLook() || IsNullRect(m_animateSkinRect) || m_frameCount < 1) {
        return;
    }
    m_animateForward = forward;
    m_animateFrame = forward ? 1 : m_frameCount;
    if (!m_animateTimer) {
        m_animateTimer = new QTimer(this);
        connect(m_animateTimer, &QTimer::timeout, this, [this] { animationStep(); });
    }
    m_animateTimer->start(std::max(m_animateInterval, 1));
    update();
}

void SkinButtonControl::stopAnimation()
{
    if (m_animateTimer) {
        m_animateTimer->stop();
        m_animateTimer->deleteLater();
        m_animateTimer = nullptr;
        m_animateFrame = 0;
        update();
    }
}

void SkinButtonControl::animationStep()
{
    m_animateFrame += m_animateForward ? 1 : -1;
    if (m_animateFrame > m_frameCount || m_animateFrame <= 0) {
        stopAnimation();
        return;
    }
    update();
}

void SkinButtonControl::ApplySkin()
{
    stopMorph();
    stopAnimation();
    TbsSkinCustomControl::ApplySkin();
    m_morphFactor = m_hot || focusedLook() ? 1 : 0;
}

void SkinButtonControl::LoadSkinEntry()
{
    TbsSkinCustomControl::LoadSkinEntry();
    const auto *entry = dynamic_cast<const TbsDataSkinButtonControl *>(m_skin.entry());
    if (!entry) {
        m_morphing = false;
        m_animateSkinRect = {};
        m_frameCount = 0;
        return;
    }
    m_skinFont = entryFont(entry->fontname, entry->fontheight, entry->fontstyle, entry->fontcolor);
    m_activeFontColor = entry->activefontcolor;
    m_downFontColor = entry->downfontcolor;
    m_disabledFontColor = entry->disabledfontcolor;
    m_activeSkinRect = IsNullRect(entry->activeskinrect) ? entry->skinrect : entry->activeskinrect;
    m_downSkinRect = IsNullRect(entry->downskinrect) ? m_activeSkinRect : entry->downskinrect;
    m_disabledSkinRect = entry->disabledskinrect;
    m_morphing = entry->morphing;
    m_morphKind = entry->morphkind;
    m_animateSkinRect = entry->animateskinrect;
    m_frameCount = entry->framecount;
    m_animateInterval = entry->animateinterval;
    m_showFocus = entry->showfocus;
    if (!m_useSkinSize) {
        m_maskPicture = QImage(); // a button that does not take the skin's size has no shape of its own
    }
}

void SkinButtonControl::PaintBitmap(QImage &bitmap)
{
    if (!skinLook()) {
        DrawDefaultImage(bitmap);
        return;
    }
    int w = width();
    int h = height();
    CalcSkinSize(w, h);
    // A running animation shows its cell in place of the image it runs toward (forward) or from (backward).
    const TRect cell
        = m_animateTimer ? animationCell(m_animateSkinRect, m_skinRect, m_frameCount, m_animateFrame) : TRect();
    const TRect normal = !IsNullRect(cell) && !m_animateForward ? cell : m_skinRect;
    const TRect active = !IsNullRect(cell) && m_animateForward ? cell : m_activeSkinRect;
    switch (skinState()) {
    case SkinState::Morph: {
        QImage from;
        QImage to;
        drawState(from, normal, false, false);
        drawState(to, active, true, false);
        bitmap = morphed(from, to, m_morphKind, m_morphFactor);
        break;
    }
    case SkinState::Normal:
        drawState(bitmap, normal, false, false);
        break;
    case SkinState::Active:
        drawState(bitmap, active, true, false);
        break;
    case SkinState::Down:
        drawState(bitmap, m_downSkinRect, true, true);
        break;
    case SkinState::Disabled:
        drawState(bitmap, m_disabledSkinRect, false, false);
        break;
    case SkinState::Bare: {
        // Glyph and caption straight on the parent, in the skin's button colours.
        const TbsSkinData *store = SkinData();
        const TColor color = !isEnabled() ? store->SkinColors.cbtnshadow
            : m_useSkinFontColor          ? store->SkinColors.cbtntext
                                          : DefaultFont().Color;
        QPainter painter(&bitmap);
        const ControlFont font = UseSkinFont() ? m_skinFont : DefaultFont();
        drawGlyphAndCaption(
            painter, toQRect(m_newPoints.ClRect), font.toQFont(), ColorToQColor(color), drawnActive(), drawnDown());
        break;
    }
    }
}

void SkinButtonControl::drawState(QImage &bitmap, const TRect &rect, bool active, bool down)
{
    QRect textArea;
    if (m_useSkinSize || m_resizeMode == srmBoth) {
        DrawSkinPicture(bitmap, m_picture, rect);
        textArea = toQRect(m_newPoints.ClRect);
    } else {
        // The state image stretched to the button: whole in mode 0, corners kept in modes 2 and 3.
        bitmap = QImage(size(), QImage::Format_RGB32);
        bitmap.fill(Qt::black);
        if (m_resizeMode == srmFixed) {
            stretch(bitmap, bitmap.rect(), m_picture, toQRect(rect));
        } else {
            CreateStretchNineImage(bitmap, m_picture, rect, m_skinPoints.ClRect);
        }
        TRect area = m_skinPoints.ClRect;
        area.Right += width() - RectWidth(m_skinRect);
        area.Bottom += height() - RectHeight(m_skinRect);
        textArea = toQRect(area);
    }
    if (bitmap.isNull()) {
        return;
    }
    const ControlFont font = UseSkinFont() ? m_skinFont : DefaultFont();
    TColor color = m_skinFont.Color;
    if (isEnabled() && !m_useSkinFontColor) {
        color = DefaultFont().Color;
    } else if (!isEnabled()) {
        color = m_disabledFontColor;
    } else if (down) {
        color = m_downFontColor;
    } else if (active) {
        color = m_activeFontColor;
    }
    QPainter painter(&bitmap);
    drawFocusMark(painter, textArea);
    drawGlyphAndCaption(painter, textArea, font.toQFont(), ColorToQColor(color), active, down);
}

void SkinButtonControl::pressButton()
{
    stopAnimation();
    m_pressed = true;
    if (!m_down) {
        setHot(true);
        SetDown(true);
        m_wentDownAtPress = false;
        if (m_repeatMode && m_groupIndex == 0) {
            startRepeat();
        } else if (m_groupIndex != 0) {
            Click(); // the click may delete the button: nothing after it
        }
    } else if (m_groupIndex != 0) {
        m_wentDownAtPress = true;
    }
}

void SkinButtonControl::releaseButton()
{
    m_pressed = false;
    if (m_groupIndex == 0) {
        const bool wasDown = m_down;
        stopRepeat();
        if (m_hot) {
            SetDown(false);
            if (wasDown) {
                Click();
            }
        } else {
            m_down = false; // the up look already shows: nothing to repaint
        }
    } else if (m_down && m_allowAllUp && m_wentDownAtPress && m_hot) {
        SetDown(false);
        Click();
    }
}

void SkinButtonControl::mousePressEvent(QMouseEvent *event)
{
    trackPointer(event->position().toPoint());
    if (!fireMouse(OnMouseDown, event)) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        pressButton();
    }
}

void SkinButtonControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void SkinButtonControl::mouseReleaseEvent(QMouseEvent *event)
{
    trackPointer(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        releaseButton();
    }
}

int SkinButtonControl::glyphIndex(bool active, bool down) const
{
    if (active && down && m_numGlyphs >= 3) {
        return 3;
    }
    if (active && m_numGlyphs >= 4) {
        return 4;
    }
    if (!isEnabled() && m_numGlyphs >= 2) {
        return 2;
    }
    return 1;
}

void SkinButtonControl::drawGlyphAndCaption(
    QPainter &painter, const QRect &area, const QFont &font, const QColor &color, bool active, bool down)
{
    const QImage glyph = m_glyph.Empty() ? QImage() : m_glyph.toRgb32();
    const QSize glyphSize = glyph.isNull() ? QSize(0, 0) : QSize(glyphCellWidth(glyph, m_numGlyphs), glyph.height());
    const QString caption = drawnCaption();
    const QSize textSize = caption.isEmpty() ? QSize(0, 0) : textExtent(font, caption);
    const GlyphCaptionLayout at = layoutGlyphAndCaption(area, glyphSize, textSize, m_layout, m_margin, m_spacing, down);
    if (!caption.isEmpty()) {
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(QRect(at.text, QSize(textSize.width() + 2, textSize.height())),
            Qt::AlignCenter | Qt::TextShowMnemonic, caption);
    }
    if (!glyph.isNull()) {
        DrawGlyphFrame(painter, at.glyph.x(), at.glyph.y(), glyphIndex(active, down), m_numGlyphs, glyph);
    }
}

void SkinButtonControl::DrawDefaultImage(QImage &bitmap)
{
    QPainter painter(&bitmap);
    const bool down = drawnDown();
    const bool active = down || drawnActive();
    if (down || active) {
        painter.fillRect(rect(), ColorToQColor(down ? s_downFace : s_hotFace));
        drawOutline(painter, rect(), ColorToQColor(clNavy));
    } else if (!transparentLook()) {
        painter.fillRect(rect(), ColorToQColor(clBtnFace));
        if (!flatLook()) {
            drawOutline(painter, rect(), ColorToQColor(clBtnShadow));
        }
    }
    drawFocusMark(painter, rect().adjusted(3, 3, -3, -3));
    const QColor text = isEnabled() ? DefaultFont().color() : ColorToQColor(clBtnShadow);
    drawGlyphAndCaption(painter, rect(), DefaultFont().toQFont(), text, active, down);
}

TbsSkinButton::TbsSkinButton(QWidget *parent)
    : SkinButtonControl(parent)
{
    resize(75, 25);
    SetSkinDataName(QStringLiteral("button"));
    setFocusPolicy(Qt::StrongFocus);
    m_focusWatch
        = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
    watchWindow();
}

TbsSkinButton::~TbsSkinButton()
{
    // A focused button gives its focus away while QWidget's destructor runs, after this one: the focus change must
    // not reach a button whose own part is gone (QObject drops the connection only later still).
    disconnect(m_focusWatch);
}

void TbsSkinButton::SetCanFocused(bool value)
{
    m_canFocused = value;
    setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
    if (!value && hasFocus()) {
        clearFocus();
    }
}

void TbsSkinButton::SetGroupIndex(int value)
{
    SkinButtonControl::SetGroupIndex(value);
    if (value != 0) {
        SetCanFocused(false);
    }
}

void TbsSkinButton::SetDefault(bool value)
{
    m_default = value;
    if (!m_canFocused) {
        return;
    }
    // Every push button of the window works out its Enter role again, as after a focus change.
    QWidget *focus = window()->focusWidget();
    for (TbsSkinButton *button : window()->findChildren<TbsSkinButton *>()) {
        button->focusChanged(focus);
    }
    if (window() == this) {
        focusChanged(focus);
    }
}

void TbsSkinButton::focusChanged(QWidget *now)
{
    // With no focused control (none yet, or the window inactive) the button's role comes from Default.
    if (now && now->window() != window()) {
        return;
    }
    const bool buttonFocused = qobject_cast<TbsSkinButton *>(now) != nullptr;
    m_dialogKey = buttonFocused ? now == this : m_default;
    if (m_default && m_canFocused) {
        // The default button looks hot while the focus is on a control that is not a push button.
        setHot(!buttonFocused || pointerInside());
    }
}

SkinButtonControl::SkinState TbsSkinButton::skinState() const
{
    const double factor = MorphFactor();
    if (morphActive() && factor > 0 && factor < 1 && isEnabled()) {
        return SkinState::Morph;
    }
    if (!isEnabled() && !IsNullRect(m_disabledSkinRect)) {
        return SkinState::Disabled;
    }
    if (drawnDown()) {
        return SkinState::Down;
    }
    if (focusedLook() || Hot()) {
        return SkinState::Active;
    }
    if (morphActive() && factor == 1) {
        return SkinState::Active;
    }
    return SkinState::Normal;
}

void TbsSkinButton::drawFocusMark(QPainter &painter, const QRect &textArea)
{
    const TbsSkinData *store = SkinData();
    if (m_showFocus && focusedLook() && store) {
        drawFocusRect(painter, textArea, ColorToQColor(store->SkinColors.cbtnface));
    }
}

bool TbsSkinButton::keepsHotOnLeave() const
{
    return m_default && m_canFocused && m_dialogKey && !hasFocus();
}

bool TbsSkinButton::drawnDown() const
{
    return Down() && (GroupIndex() != 0 || Hot() || (hasFocus() && !Pressed()));
}

bool TbsSkinButton::drawnActive() const
{
    return Hot() || (m_canFocused && hasFocus());
}

bool TbsSkinButton::canTakeFocus() const
{
    return m_canFocused && isEnabled() && isVisible();
}

void TbsSkinButton::Click()
{
    if (m_canFocused) {
        if (auto *dialog = qobject_cast<QDialog *>(window())) {
            if (m_modalResult != 0 && dialog->isModal()) {
                dialog->done(m_modalResult);
            } else {
                dialog->setResult(m_modalResult);
            }
        }
    }
    SkinButtonControl::Click();
}

void TbsSkinButton::AcceleratorPressed()
{
    if (!canTakeFocus()) {
        return;
    }
    setFocus(Qt::ShortcutFocusReason);
    Click();
}

bool TbsSkinButton::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show) {
        watchWindow();
    }
    return SkinButtonControl::event(event);
}

void TbsSkinButton::watchWindow()
{
    QWidget *top = window();
    if (m_watchedWindow == top) {
        return;
    }
    if (m_watchedWindow) {
        m_watchedWindow->removeEventFilter(this);
    }
    m_watchedWindow = top != this ? top : nullptr;
    if (m_watchedWindow) {
        m_watchedWindow->installEventFilter(this);
    }
}

bool TbsSkinButton::eventFilter(QObject *watched, QEvent *event)
{
    // Keys no control of the window used reach the window: Enter and Escape are its dialog keys.
    if (watched != m_watchedWindow || event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && m_dialogKey && isEnabled()) {
        Click();
        return true;
    }
    if (key->key() == Qt::Key_Escape && m_cancel && canTakeFocus() && key->modifiers() == Qt::NoModifier) {
        Click();
        return true;
    }
    return false;
}

bool TbsSkinButton::KeyDown(QKeyEvent *event)
{
    if (!m_canFocused) {
        return false;
    }
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            stopAnimation();
            m_spaceDown = true;
            SetDown(true);
            if (RepeatMode()) {
                Click();
            }
        } else if (m_spaceDown && RepeatMode()) {
            Click();
        }
        return true;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Click();
        return true;
    }
    return false;
}

bool SkinButtonControl::releaseSpace(QKeyEvent *event, bool takesKeys, bool &armed)
{
    if (!takesKeys || event->key() != Qt::Key_Space) {
        return false;
    }
    if (!event->isAutoRepeat() && armed) {
        armed = false;
        SetDown(false);
        Click();
    }
    return true;
}

bool TbsSkinButton::KeyUp(QKeyEvent *event)
{
    return releaseSpace(event, m_canFocused, m_spaceDown);
}

void TbsSkinButton::focusInEvent(QFocusEvent *event)
{
    SkinButtonControl::focusInEvent(event);
    if (!Hot() || Down()) {
        startAnimation(true);
    }
    startMorph();
}

void TbsSkinButton::focusOutEvent(QFocusEvent *event)
{
    SkinButtonControl::focusOutEvent(event);
    stopRepeat();
    m_spaceDown = false;
    if (GroupIndex() == 0) {
        SetDown(false);
    }
    if (!Hot()) {
        startAnimation(false);
    }
    startMorph();
}

bool TbsSkinButton::takeFocusForPress()
{
    if (window()->focusWidget() != this) {
        setFocus(Qt::MouseFocusReason);
    }
    return window()->focusWidget() == this;
}

void TbsSkinButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_canFocused && !takeFocusForPress()) {
        return; // the focus went elsewhere (a handler moved it): the press is dropped
    }
    SkinButtonControl::mousePressEvent(event);
}

void TbsSkinButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void TbsSkinButton::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointer<TbsSkinButton> self(this);
    SkinButtonControl::mouseReleaseEvent(event);
    if (self && isVisible()) {
        fireMouse(OnMouseUp, event);
    }
}

TbsSkinSpeedButton::TbsSkinSpeedButton(QWidget *parent)
    : SkinButtonControl(parent)
{
    resize(25, 25);
    SetSkinDataName(QStringLiteral("toolbutton"));
    setWindowless(true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

SkinButtonControl::SkinState TbsSkinSpeedButton::skinState() const
{
    const double factor = MorphFactor();
    if (morphActive() && factor != 0 && factor != 1) {
        return SkinState::Morph;
    }
    if (Down() && (Hot() || GroupIndex() != 0 || m_spaceDown)) {
        return SkinState::Down;
    }
    if (Hot() || hasFocus() || (morphActive() && factor == 1)) {
        return SkinState::Active;
    }
    if (m_transparent) {
        return SkinState::Bare;
    }
    if (!isEnabled() && !IsNullRect(m_disabledSkinRect)) {
        return SkinState::Disabled;
    }
    return SkinState::Normal;
}

void TbsSkinSpeedButton::SetShowCaption(bool value)
{
    if (m_showCaption == value) {
        return;
    }
    m_showCaption = value;
    if (m_widthWithCaption > 0 && m_widthWithoutCaption > 0) {
        SetBounds(x(), y(), value ? m_widthWithCaption : m_widthWithoutCaption, height());
    } else {
        update();
    }
}

void TbsSkinSpeedButton::SetTransparent(bool value)
{
    m_transparent = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    update();
}

void TbsSkinSpeedButton::SetFlat(bool value)
{
    m_flat = value;
    SetTransparent(value);
}

void TbsSkinSpeedButton::AcceleratorPressed()
{
    if (isEnabled() && isVisible() && parentWidget() && parentWidget()->isVisible()) {
        Click();
    }
}

void TbsSkinSpeedButton::setTakesFocus(bool value)
{
    m_windowless = !value;
    setFocusPolicy(value ? Qt::TabFocus : Qt::NoFocus);
    update();
}

void TbsSkinSpeedButton::drawFocusMark(QPainter &painter, const QRect &textArea)
{
    if (hasFocus()) {
        drawFocusRect(painter, textArea, ColorToQColor(clBtnText));
    }
}

bool TbsSkinSpeedButton::KeyDown(QKeyEvent *event)
{
    if (!takesFocus() || !isEnabled()) {
        return false;
    }
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            m_spaceDown = true;
            SetDown(true);
        }
        return true;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Click();
        return true;
    }
    return false;
}

bool TbsSkinSpeedButton::KeyUp(QKeyEvent *event)
{
    return releaseSpace(event, takesFocus(), m_spaceDown);
}

void TbsSkinSpeedButton::focusInEvent(QFocusEvent *event)
{
    SkinButtonControl::focusInEvent(event);
    update();
}

void TbsSkinSpeedButton::focusOutEvent(QFocusEvent *event)
{
    SkinButtonControl::focusOutEvent(event);
    if (m_spaceDown) {
        m_spaceDown = false; // the press is given up with the focus, as a push button's is
        SetDown(false);
    }
    update();
}

void TbsSkinSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    trackPointer(event->position().toPoint());
    if (!fireMouse(OnMouseUp, event)) {
        return;
    }
    SkinButtonControl::mouseReleaseEvent(event);
}

} // namespace pixolo
