#include "skinctrls/TbsSkinButton.h"

#include "skinctrls/DefaultLook.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QTimer>

namespace pixolo {

namespace {

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
    update();
}

void SkinButtonControl::MouseEnter()
{
    if (takesHover()) {
        setHot(true);
        if (m_down && m_groupIndex == 0 && m_repeatMode && m_pressed) {
            startRepeat();
        }
    }
    TbsSkinCustomControl::MouseEnter();
}

void SkinButtonControl::MouseLeave()
{
    if (!keepsHotOnLeave()) {
        setHot(false);
    }
    if (m_down && m_groupIndex == 0 && m_repeatMode) {
        stopRepeat();
    }
    TbsSkinCustomControl::MouseLeave();
}

void SkinButtonControl::pressButton()
{
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
    const QColor text = isEnabled() ? DefaultFont().color() : ColorToQColor(clBtnShadow);
    drawGlyphAndCaption(painter, rect(), DefaultFont().toQFont(), text, active, down);
}

TbsSkinButton::TbsSkinButton(QWidget *parent)
    : SkinButtonControl(parent)
{
    resize(75, 25);
    SetSkinDataName(QStringLiteral("button"));
    setFocusPolicy(Qt::StrongFocus);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
    watchWindow();
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

bool TbsSkinButton::KeyUp(QKeyEvent *event)
{
    if (!m_canFocused || event->key() != Qt::Key_Space) {
        return false;
    }
    if (!event->isAutoRepeat() && m_spaceDown) {
        m_spaceDown = false;
        SetDown(false);
        Click();
    }
    return true;
}

void TbsSkinButton::focusInEvent(QFocusEvent *event)
{
    SkinButtonControl::focusInEvent(event);
    update();
}

void TbsSkinButton::focusOutEvent(QFocusEvent *event)
{
    SkinButtonControl::focusOutEvent(event);
    stopRepeat();
    m_spaceDown = false;
    if (GroupIndex() == 0) {
        SetDown(false);
    }
    update();
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

void TbsSkinSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    trackPointer(event->position().toPoint());
    if (!fireMouse(OnMouseUp, event)) {
        return;
    }
    SkinButtonControl::mouseReleaseEvent(event);
}

} // namespace pixolo
