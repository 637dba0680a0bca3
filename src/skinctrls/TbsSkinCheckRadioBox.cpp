#include "skinctrls/TbsSkinCheckRadioBox.h"

#include "skin/SkinGlyphs.h"
#include "skin/SkinText.h"
#include "skin/TbsDataSkinControl.h"
#include "skin/TbsSkinData.h"
#include "skinctrls/DefaultLook.h"
#include "skinctrls/SkinLook.h"

#include <QPainter>
#include <QTimer>

namespace pixolo
{

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
    const TCheckBoxState wasState = m_state;
    m_checked = value;
    if (value || m_state == cbChecked) {
        m_state = value ? cbChecked : cbUnchecked;
    }
    update();
    notifyCheckChange(wasState);
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

void TbsSkinCheckRadioBox::notifyCheckChange(TCheckBoxState before)
{
    if (before == m_state) {
        return;
    }
    QAccessible::State changed;
    changed.checked = (before == cbChecked) != (m_state == cbChecked);
    changed.checkStateMixed = (before == cbGrayed) != (m_state == cbGrayed);
    notifyStateChanged(this, changed);
}

void TbsSkinCheckRadioBox::SetState(TCheckBoxState value)
{
    const TCheckBoxState wasState = m_state;
    m_state = value;
    m_checked = value == cbChecked;
    update();
    notifyCheckChange(wasState);
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
    m_skin.invalidate(); // decides whether the entry's mask is taken
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
        if (m_flat) {
            update();
        } else {
            startMorph();
        }
    }
}

void TbsSkinCheckRadioBox::EnabledChanged()
{
    m_hot = false;
    stopMorph();
    m_morphFactor = 0;
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

bool TbsSkinCheckRadioBox::morphActive() const
{
    return !m_flat && m_morphing && m_checkEntry && m_skin.effects() && skinLook();
}

void TbsSkinCheckRadioBox::startMorph()
{
    if (!morphActive()) {
        stopMorph();
        m_morphFactor = m_hot || hasFocus() ? 1 : 0;
        update();
        return;
    }
    m_morphTimer.start(this, MorphTimer::Interval, [this] { morphStep(); });
}

void TbsSkinCheckRadioBox::stopMorph()
{
    m_morphTimer.stop();
}

void TbsSkinCheckRadioBox::morphStep()
{
    const MorphTimer::Stepped next = MorphTimer::step(m_morphFactor, m_hot || hasFocus(), morphActive());
    m_morphFactor = next.factor;
    if (next.over) {
        stopMorph();
    }
    update();
}

void TbsSkinCheckRadioBox::ApplySkin()
{
    stopMorph();
    if (m_flat) {
        LoadSkinEntry(); // a flat box keeps its size: it only looks different
        update();
    } else {
        TbsSkinCustomControl::ApplySkin();
    }
    m_morphFactor = m_hot || hasFocus() ? 1 : 0;
}

void TbsSkinCheckRadioBox::LoadSkinEntry()
{
    TbsSkinCustomControl::LoadSkinEntry();
    const auto *entry = dynamic_cast<const TbsDataSkinCheckRadioControl *>(m_skin.entry());
    m_checkEntry = entry != nullptr;
    if (!entry) {
        return;
    }
    const auto either = [](const TRect &r, const TRect &fallback) { return IsNullRect(r) ? fallback : r; };
    m_skinFont = entryFont(entry->fontname, entry->fontheight, entry->fontstyle, entry->fontcolor);
    m_activeFontColor = entry->activefontcolor;
    m_unenabledFontColor = entry->unenabledfontcolor;
    m_frameFontColor = entry->framefontcolor;
    m_activeSkinRect = either(entry->activeskinrect, entry->skinrect);
    m_checkImageArea = entry->checkimagearea;
    m_textArea = entry->textarea;
    m_checkImageRect = entry->checkimagerect;
    m_uncheckImageRect = entry->uncheckimagerect;
    m_activeCheckImageRect = either(entry->activecheckimagerect, entry->checkimagerect);
    m_activeUncheckImageRect = either(entry->activeuncheckimagerect, entry->uncheckimagerect);
    m_unenabledCheckImageRect = either(entry->unenabledcheckimagerect, entry->checkimagerect);
    m_unenabledUncheckImageRect = either(entry->unenableduncheckimagerect, entry->uncheckimagerect);
    m_morphing = entry->morphing;
    m_morphKind = entry->morphkind;
    if (m_flat) {
        m_maskPicture = QImage(); // a flat box has no shape of its own
    }
}

void TbsSkinCheckRadioBox::CalcSkinSize(int &width, int &height)
{
    if (m_flat) {
        return; // a flat box neither resizes nor maps its areas
    }
    TbsSkinCustomControl::CalcSkinSize(width, height);
    const int dx = width - RectWidth(m_skinRect);
    m_textRect = m_textArea;
    m_textRect.Right += dx;
    // The check image sits on the right when the text area ends left of it: then it moves with the width.
    m_checkPlace = m_textArea.Right < m_checkImageArea.Right ? offsetRect(m_checkImageArea, dx, 0) : m_checkImageArea;
    const int imageWidth = RectWidth(m_checkImageRect);
    const int imageHeight = RectHeight(m_checkImageRect);
    const int left = m_checkPlace.Left + RectWidth(m_checkPlace) / 2 - imageWidth / 2;
    const int top = m_checkPlace.Top + RectHeight(m_checkPlace) / 2 - imageHeight / 2;
    m_checkPlace = { left, top, left + imageWidth, top + imageHeight };
}

QImage TbsSkinCheckRadioBox::checkImage() const
{
    const bool grayed = m_state == cbGrayed;
    const bool checked = m_state == cbChecked;
    TRect rect;
    if (!isEnabled()) {
        rect = grayed || checked ? m_unenabledCheckImageRect : m_unenabledUncheckImageRect;
    } else if (m_hot) {
        rect = grayed || checked ? m_activeCheckImageRect : m_activeUncheckImageRect;
    } else {
        rect = grayed || checked ? m_checkImageRect : m_uncheckImageRect;
    }
    const QRect source = toQRect(rect);
    if (source.isEmpty() || !m_picture.rect().contains(source)) {
        return {};
    }
    const QImage image = m_picture.copy(source);
    return grayed ? lightened(image) : image;
}

void TbsSkinCheckRadioBox::drawStateImage(QImage &bitmap, const TRect &rect, bool active)
{
    DrawSkinPicture(bitmap, m_picture, rect);
    if (bitmap.isNull()) {
        return;
    }
    QPainter painter(&bitmap);
    const QImage mark = checkImage();
    if (!mark.isNull()) {
        const int top = m_checkPlace.Top + RectHeight(m_checkPlace) / 2 - RectHeight(m_checkImageRect) / 2;
        DrawGlyphFrame(painter, m_checkPlace.Left, top, 1, 1, mark); // its bottom-left colour is transparent
    }
    ControlFont font = UseSkinFont() ? m_skinFont : DefaultFont();
    font.Color = !isEnabled() ? m_unenabledFontColor : active ? m_activeFontColor : m_skinFont.Color;
    painter.setFont(font.toQFont());
    painter.setPen(font.color());
    painter.setClipRect(toQRect(m_textRect));
    DrawSingleLineText(painter, Caption(), toQRect(m_textRect));
}

void TbsSkinCheckRadioBox::drawFlatSkin(QImage &bitmap)
{
    QPainter painter(&bitmap);
    const QImage mark = checkImage();
    const int markWidth = mark.isNull() ? RectWidth(m_checkImageRect) : mark.width();
    if (!mark.isNull()) {
        DrawGlyphFrame(painter, 3, height() / 2 - mark.height() / 2, 1, 1, mark);
    }
    const QFont font = (UseSkinFont() ? m_skinFont : DefaultFont()).toQFont();
    const QSize extent = textExtent(font, Caption());
    int left = markWidth + 7;
    QRect text(left, height() / 2 - extent.height() / 2, extent.width(), extent.height());
    const bool image = m_imageIndex >= 0 && m_imageIndex < m_images.size() && !m_images[m_imageIndex].isNull();
    QRect imageRect;
    if (image) {
        const QImage &picture = m_images[m_imageIndex];
        imageRect = QRect(QPoint(left, height() / 2 - picture.height() / 2), picture.size());
        painter.drawImage(imageRect.topLeft(), picture);
        text.translate(picture.width() + 5, 0);
    }
    text.setRight(std::min(text.right(), width() - 3));
    painter.save();
    painter.setFont(font);
    painter.setPen(ColorToQColor(isEnabled() ? m_frameFontColor : m_unenabledFontColor));
    painter.setClipRect(text);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine, Caption());
    painter.restore();
    if (hasFocus()) {
        const QRect focus = Caption().isEmpty() ? imageRect.adjusted(-1, -1, 1, 1) : text.adjusted(-2, -1, 3, 1);
        const TbsSkinData *store = SkinData();
        drawFocusRect(painter, focus, ColorToQColor(store ? store->SkinColors.cbtnface : clBtnFace));
    }
}

void TbsSkinCheckRadioBox::PaintBitmap(QImage &bitmap)
{
    if (!skinLook() || !m_checkEntry) {
        DrawDefaultImage(bitmap);
        return;
    }
    if (m_flat) {
        drawFlatSkin(bitmap);
        return;
    }
    int w = width();
    int h = height();
    CalcSkinSize(w, h);
    if (morphActive() && m_morphFactor > 0 && m_morphFactor < 1) {
        QImage from;
        QImage to;
        drawStateImage(from, m_skinRect, false);
        drawStateImage(to, m_activeSkinRect, true);
        bitmap = morphed(from, to, m_morphKind, m_morphFactor);
        return;
    }
    const bool active = m_hot || hasFocus();
    drawStateImage(bitmap, active ? m_activeSkinRect : m_skinRect, active);
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
    if (m_flat) {
        update();
    } else {
        startMorph();
    }
}

void TbsSkinCheckRadioBox::focusOutEvent(QFocusEvent *event)
{
    TbsSkinCustomControl::focusOutEvent(event);
    if (m_flat) {
        update();
    } else {
        startMorph();
    }
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
