#include "skinctrls/TbsSkinCheckRadioBox.h"

#include "skinctrls/DefaultLook.h"

#include <QPainter>

namespace pixolo {

TbsSkinCheckRadioBox::TbsSkinCheckRadioBox(QWidget *parent)
    : TbsSkinCustomControl(parent)
{
    resize(150, 25);
    SetSkinDataName(QStringLiteral("checkbox"));
    // Focusable by the mouse; TabStop is off at creation.
    setFocusPolicy(Qt::ClickFocus);
    m_clickEvents = false;
    SetFlat(true);
}

void TbsSkinCheckRadioBox::SetChecked(bool value)
{
    const bool wasChecked = m_checked;
    m_checked = value;
    if (value || m_state == cbChecked) {
        m_state = value ? cbChecked : cbUnchecked;
    }
    update();
    if (value && m_groupIndex != 0 && parentWidget()) {
        for (auto *sibling : parentWidget()->findChildren<TbsSkinCheckRadioBox *>(Qt::FindDirectChildrenOnly)) {
            if (sibling != this && sibling->m_groupIndex == m_groupIndex && sibling->m_checked) {
                sibling->SetChecked(false);
            }
        }
    }
    if (!m_radio || (value && !wasChecked)) {
        fire(OnClick);
    }
}

void TbsSkinCheckRadioBox::SetState(TCheckBoxState value)
{
    m_state = value;
    m_checked = value == cbChecked;
    update();
    fire(OnClick);
}

void TbsSkinCheckRadioBox::Toggle()
{
    if (!m_radio) {
        SetChecked(!m_checked);
    } else if (!m_checked) {
        SetChecked(true);
    }
}

void TbsSkinCheckRadioBox::SetAllowGrayed(bool value)
{
    m_allowGrayed = value;
    update();
}

void TbsSkinCheckRadioBox::SetRadio(bool value)
{
    m_radio = value;
    update();
}

void TbsSkinCheckRadioBox::SetFlat(bool value)
{
    m_flat = value;
    // A flat box lets the parent show through; a non-flat one paints every pixel.
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    update();
}

void TbsSkinCheckRadioBox::SetCanFocused(bool value)
{
    m_canFocused = value;
    setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
    if (!value && hasFocus()) {
        clearFocus();
    }
}

void TbsSkinCheckRadioBox::SetImages(const QList<QImage> &value)
{
    m_images = value;
    update();
}

void TbsSkinCheckRadioBox::SetImageIndex(int value)
{
    m_imageIndex = value;
    update();
}

void TbsSkinCheckRadioBox::setHot(bool value)
{
    if (m_hot != value) {
        m_hot = value;
        update();
    }
}

void TbsSkinCheckRadioBox::EnabledChanged()
{
    m_hot = false;
    update();
}

void TbsSkinCheckRadioBox::MouseEnter()
{
    setHot(true);
    TbsSkinCustomControl::MouseEnter();
}

void TbsSkinCheckRadioBox::MouseLeave()
{
    setHot(false);
    TbsSkinCustomControl::MouseLeave();
}

void TbsSkinCheckRadioBox::AcceleratorPressed()
{
    if (!m_canFocused || !isEnabled() || !isVisible()) {
        return;
    }
    setFocus(Qt::ShortcutFocusReason);
    Toggle();
}

bool TbsSkinCheckRadioBox::KeyDown(QKeyEvent *event)
{
    // Space acts on release; its press (and auto-repeat) is used up here.
    return m_canFocused && event->key() == Qt::Key_Space;
}

bool TbsSkinCheckRadioBox::KeyUp(QKeyEvent *event)
{
    if (!m_canFocused || event->key() != Qt::Key_Space) {
        return false;
    }
    if (!event->isAutoRepeat() && hasFocus()) {
        Toggle();
    }
    return true;
}

void TbsSkinCheckRadioBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_canFocused && window()->focusWidget() != this) {
        setFocus(Qt::MouseFocusReason);
        if (window()->focusWidget() != this) {
            return; // the focus went elsewhere: the press is dropped
        }
    }
    trackPointer(event->position().toPoint());
    setHot(true);
    fireMouse(OnMouseDown, event);
}

void TbsSkinCheckRadioBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void TbsSkinCheckRadioBox::mouseReleaseEvent(QMouseEvent *event)
{
    trackPointer(event->position().toPoint());
    if (!fireMouse(OnMouseUp, event)) {
        return;
    }
    if (event->button() != Qt::LeftButton || !m_hot) {
        return;
    }
    if (m_allowGrayed && !m_radio && m_state == cbUnchecked) {
        SetState(cbGrayed);
    } else {
        Toggle();
    }
}

void TbsSkinCheckRadioBox::focusInEvent(QFocusEvent *event)
{
    TbsSkinCustomControl::focusInEvent(event);
    update();
}

void TbsSkinCheckRadioBox::focusOutEvent(QFocusEvent *event)
{
    TbsSkinCustomControl::focusOutEvent(event);
    update();
}

void TbsSkinCheckRadioBox::drawDefaultMark(QPainter &painter)
{
    const int frameTop = height() / 2 - 7;
    drawOutline(painter, QRect(3, frameTop, 14, 14), ColorToQColor(m_hot ? clNavy : clBtnShadow));
    const QColor mark = ColorToQColor(isEnabled() ? clBlack : clBtnShadow);
    if (m_state == cbGrayed && !m_radio) {
        DrawCheckGlyph(painter, 7, height() / 2 - 4, ColorToQColor(clGrayText));
    } else if (m_state == cbChecked && m_radio) {
        DrawRadioGlyph(painter, 7, height() / 2 - 3, mark);
    } else if (m_state == cbChecked) {
        DrawCheckGlyph(painter, 7, height() / 2 - 4, mark);
    }
}

void TbsSkinCheckRadioBox::DrawDefaultImage(QImage &bitmap)
{
    QPainter painter(&bitmap);
    const QFont font = DefaultFont().toQFont();
    const QColor text = isEnabled() ? DefaultFont().color() : ColorToQColor(clBtnShadow);
    if (!m_flat) {
        painter.fillRect(rect(), ColorToQColor(clBtnFace));
        if (hasFocus() || m_hot) {
            drawOutline(painter, rect(), ColorToQColor(clBtnShadow));
        }
        drawDefaultMark(painter);
        drawAlignedText(painter, rectLTRB(19, 0, width(), height()), Caption(), taLeftJustify, font, text);
        return;
    }
    // Flat: the parent shows through; mark, caption and focus rectangle only.
    drawDefaultMark(painter);
    const QRect where
        = drawAlignedText(painter, rectLTRB(22, 0, width() - 2, height()), Caption(), taLeftJustify, font, text);
    if (hasFocus() && !Caption().isEmpty()) {
        const QRect focus = where.intersected(rectLTRB(22, 0, width() - 2, height())).adjusted(-2, -1, 3, 1);
        drawFocusRect(painter, focus, ColorToQColor(clBtnText));
    }
}

} // namespace pixolo
