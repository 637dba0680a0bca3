#include "skinctrls/TbsSkinPanel.h"

#include "skin/SkinText.h"
#include "skin/TbsDataSkinControl.h"
#include "skin/TbsSkinData.h"
#include "skinctrls/DefaultLook.h"
#include "skinctrls/SkinLook.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace pixolo
{

void drawBorderStyle(QPainter &painter, const QRect &rect, TbsSkinBorderStyle style)
{
    const QColor shadow = ColorToQColor(clBtnShadow);
    const QColor highlight = ColorToQColor(clBtnHighlight);
    switch (style) {
    case bvFrame:
        drawOutline(painter, rect, shadow);
        break;
    case bvRaised:
        drawFrame3D(painter, rect, highlight, shadow);
        break;
    case bvLowered:
        drawFrame3D(painter, rect, shadow, highlight);
        break;
    case bvNone:
        break;
    }
}

TbsSkinPanel::TbsSkinPanel(QWidget *parent)
    : TbsSkinCustomControl(parent)
{
    resize(150, 150);
    SetSkinDataName(QStringLiteral("panel"));
    m_tiledBackground = true;
}

void TbsSkinPanel::defaultLookChanged()
{
    if (SkinIndex() == -1) {
        update();
        Realign();
    }
}

void TbsSkinPanel::SetBorderStyle(TbsSkinBorderStyle value)
{
    if (m_borderStyle == value) {
        return;
    }
    m_borderStyle = value;
    defaultLookChanged();
}

void TbsSkinPanel::SetCaptionMode(bool value)
{
    if (m_captionMode == value) {
        return;
    }
    m_captionMode = value;
    update();
    Realign();
}

void TbsSkinPanel::SetDefaultCaptionHeight(int value)
{
    if (m_defaultCaptionHeight == value) {
        return;
    }
    m_defaultCaptionHeight = value;
    defaultLookChanged();
}

void TbsSkinPanel::SetDefaultAlignment(TAlignment value)
{
    if (m_defaultAlignment == value) {
        return;
    }
    m_defaultAlignment = value;
    if (SkinIndex() == -1) {
        update();
    }
}

void TbsSkinPanel::SetCheckedMode(bool value)
{
    if (m_checkedMode == value) {
        return;
    }
    m_checkedMode = value;
    update();
}

void TbsSkinPanel::SetChecked(bool value)
{
    m_checked = value;
    if (m_checkedMode) {
        update();
        if (m_autoEnabledControls) {
            for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                child->setEnabled(value);
            }
        }
    }
    fire(OnChecked);
}

void TbsSkinPanel::SetRollUpMode(bool value)
{
    if (m_rollUpMode == value) {
        return;
    }
    m_rollUpMode = value;
    if (SkinIndex() == -1) {
        update();
    }
}

void TbsSkinPanel::SetRollUpState(bool value)
{
    if (m_rollUpState == value) {
        return;
    }
    if (!m_rollUpMode) {
        m_rollUpState = false;
        return;
    }
    m_rollUpState = value;
    if (value && m_realHeight == -1) {
        // Constraints would keep the panel from its caption height; they come back when it rolls down.
        m_savedMinimumSize = minimumSize();
        m_savedMaximumSize = maximumSize();
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_realHeight = height(); // from here on docking is held back
        m_rolledUpChildren.clear();
        for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!child->isHidden()) {
                m_rolledUpChildren.emplace_back(child);
                child->hide();
            }
        }
        SetBounds(x(), y(), width(), rolledUpHeight());
    } else if (!value && m_realHeight != -1) {
        SetBounds(x(), y(), width(), m_realHeight);
        m_realHeight = -1;
        setMinimumSize(m_savedMinimumSize);
        setMaximumSize(m_savedMaximumSize);
        for (const QPointer<QWidget> &child : m_rolledUpChildren) {
            if (child) {
                child->show();
            }
        }
        m_rolledUpChildren.clear();
        Realign();
    }
    realignParent();
    fire(OnChangeRollUpState);
}

void TbsSkinPanel::SetGlyph(const TBitmap &value)
{
    m_glyph = value;
    m_glyph.cacheRgb32(); // converted for painting here, not at every paint
    update();
}

void TbsSkinPanel::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 2);
    if (m_numGlyphs != value) {
        m_numGlyphs = value;
        update();
    }
}

void TbsSkinPanel::SetSpacing(int value)
{
    if (m_spacing != value) {
        m_spacing = value;
        update();
    }
}

int TbsSkinPanel::rolledUpHeight() const
{
    if (!skinLook()) {
        return m_defaultCaptionHeight + 1;
    }
    return height() - RectHeight(clientRectFor(size()));
}

void TbsSkinPanel::ApplySkin()
{
    TbsSkinCustomControl::ApplySkin();
    if (m_realHeight != -1) {
        // Rolled up: the rolled height of the new skin, from the height the panel had when it rolled up.
        const int rolled = m_realHeight - (skinLook() ? RectHeight(clientRectFor(QSize(width(), m_realHeight))) : 0);
        SetBounds(x(), y(), width(), skinLook() ? rolled : m_defaultCaptionHeight + 1);
        realignParent();
    } else {
        Realign();
    }
}

void TbsSkinPanel::Realign(QWidget *first)
{
    if (m_realHeight != -1) {
        return; // rolled up: the children are hidden and keep their places
    }
    TbsSkinCustomControl::Realign(first);
}

void TbsSkinPanel::CaptionChanged()
{
    if (m_captionMode) {
        update();
    }
}

void TbsSkinPanel::AdjustClientRect(QRect &rect) const
{
    if (skinLook()) {
        // The whole area when a picture backs it or the panel is a borderless tiled strip; else inside the frame.
        const bool whole
            = m_bgPictureIndex != -1 || (m_borderStyle == bvNone && !m_captionMode && m_resizeMode == srmBoth);
        if (!whole) {
            rect = toQRect(clientRectFor(rect.size()));
        }
        return;
    }
    if (m_borderStyle != bvNone) {
        rect.adjust(1, 1, -1, -1);
    }
    if (m_captionMode) {
        rect.setTop(rect.top() + m_defaultCaptionHeight);
    }
}

QRect TbsSkinPanel::defaultCaptionRect() const
{
    QRect caption(0, 0, width(), m_defaultCaptionHeight);
    if (m_borderStyle != bvFrame) {
        caption.adjust(1, 1, -1, -1);
    }
    return caption;
}

int TbsSkinPanel::glyphIndex() const
{
    return !isEnabled() && m_numGlyphs == 2 ? 2 : 1;
}

QRect TbsSkinPanel::CaptionRect() const
{
    if (!skinLook()) {
        return rectLTRB(1, 1, width() - 1, m_defaultCaptionHeight);
    }
    return toQRect(m_resizeMode == srmFixed || m_resizeMode == srmNone ? m_captionRect : MapSkinRect(m_captionRect));
}

void TbsSkinPanel::LoadSkinEntry()
{
    TbsSkinCustomControl::LoadSkinEntry();
    const auto *entry = dynamic_cast<const TbsDataSkinPanelControl *>(m_skin.entry());
    if (!entry) {
        m_bgPictureIndex = -1;
        m_bgPicture = QImage();
        return;
    }
    m_bgPicture = m_skin.picture(entry->bgpictureindex);
    // A background index that names no picture is no background.
    m_bgPictureIndex = m_bgPicture.isNull() ? -1 : entry->bgpictureindex;
    m_captionRect = entry->captionrect;
    m_alignment = entry->alignment;
    m_skinFont = entryFont(entry->fontname, entry->fontheight, entry->fontstyle, entry->fontcolor);
    m_checkImageRect = entry->checkimagerect;
    m_uncheckImageRect = entry->uncheckimagerect;
    m_markFrameRect = entry->markframerect;
    m_frameRect = entry->framerect;
    m_frameTextRect = entry->frametextrect;
    m_frameLeftOffset = entry->frameleftoffset;
    m_frameRightOffset = entry->framerightoffset;
}

void TbsSkinPanel::tileClientPiece(QImage &bitmap)
{
    const QRect piece = toQRect(offsetRect(m_skinPoints.ClRect, m_skinRect.Left, m_skinRect.Top));
    tile(bitmap, bitmap.rect(), m_picture, piece);
}

void TbsSkinPanel::PaintBitmap(QImage &bitmap)
{
    if (skinLook() && m_borderStyle == bvNone && m_resizeMode == srmBoth && !m_captionMode && m_tiledBackground) {
        tileClientPiece(bitmap);
        return;
    }
    if (skinLook() && m_bgPictureIndex != -1) {
        tile(bitmap, bitmap.rect(), m_bgPicture, m_bgPicture.rect());
        return;
    }
    TbsSkinCustomControl::PaintBitmap(bitmap);
}

void TbsSkinPanel::DrawSkinImage(QImage &bitmap)
{
    if (m_borderStyle == bvNone && m_resizeMode == srmBoth && !m_captionMode) {
        tileClientPiece(bitmap); // a borderless bar that does not tile as a background (the status bar's case)
        return;
    }
    TbsSkinCustomControl::DrawSkinImage(bitmap);
    if (!Caption().isEmpty() && !IsNullRect(m_captionRect)) {
        drawSkinCaption(bitmap);
    }
}

TbsSkinPanel::CaptionLine TbsSkinPanel::captionLine(const QRect &area, TAlignment alignment, const QFont &font) const
{
    CaptionLine line;
    line.glyph = m_glyph.Empty() ? QImage() : m_glyph.toRgb32();
    line.shift = line.glyph.isNull() ? 0 : glyphCellWidth(line.glyph, m_numGlyphs) + m_spacing;
    line.text = textExtent(font, Caption());
    line.total = line.text.width() + line.shift;
    line.left = area.left();
    if (alignment == taRightJustify) {
        line.left = area.left() + area.width() - line.total;
    } else if (alignment == taCenter) {
        line.left = area.left() + area.width() / 2 - line.total / 2;
    }
    return line;
}

void TbsSkinPanel::drawSkinCaption(QImage &bitmap)
{
    const QRect caption = CaptionRect();
    QRect area = caption;
    if (m_rollUpMode) {
        area.setWidth(area.width() - 12);
    }
    QPainter painter(&bitmap);
    painter.setClipRect(caption);
    const int middle = area.top() + area.height() / 2;
    if (m_checkedMode) {
        const TRect &mark = m_checked ? m_checkImageRect : m_uncheckImageRect;
        drawSkinPiece(painter, QPoint(area.left(), middle - RectHeight(mark) / 2), m_picture, mark);
        area.setLeft(area.left() + RectWidth(mark) + 2);
    }
    const ControlFont font = UseSkinFont() ? m_skinFont : DefaultFont();
    const QFont qfont = font.toQFont();
    const QColor color = ColorToQColor(m_skinFont.Color);
    const CaptionLine line = captionLine(area, m_alignment, qfont);
    const QImage &glyph = line.glyph;
    const int shift = line.shift;
    const QSize text = line.text;
    const int left = line.left;
    if (m_rollUpMode) {
        const QRect marker(caption.left() + caption.width() - 10, caption.top(), 10, caption.height());
        if (!IsNullRect(m_markFrameRect)) {
            stretch(
                painter, QRect(marker.topLeft(), toQRect(m_markFrameRect).size()), m_picture, toQRect(m_markFrameRect));
        }
        DrawArrowGlyph(painter, toTRect(marker), color, m_rollUpState ? adDown : adUp);
    }
    int textLeft = left + shift;
    int glyphLeft = left;
    if (!IsNullRect(m_frameRect)) {
        // A plate behind the text, as wide as the text plus the frame's own margins.
        const int margins = RectWidth(m_frameRect) - RectWidth(m_frameTextRect);
        int plateLeft = textLeft;
        if (m_alignment != taLeftJustify) {
            plateLeft -= margins;
            glyphLeft -= margins;
        }
        const QImage plate = CreateHSkinImage(
            m_frameLeftOffset, m_frameRightOffset, m_picture, m_frameRect, text.width() + margins, false);
        stretch(painter, QRect(QPoint(plateLeft, caption.top()), plate.size()), plate, plate.rect());
        textLeft = plateLeft + m_frameTextRect.Left;
    }
    if (!glyph.isNull()) {
        DrawGlyphFrame(painter, glyphLeft, middle - glyph.height() / 2, glyphIndex(), m_numGlyphs, glyph);
    }
    painter.setClipRect(area);
    painter.setFont(qfont);
    painter.setPen(color);
    painter.drawText(QRect(textLeft, middle - text.height() / 2, text.width(), text.height()),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine, Caption());
}

void TbsSkinPanel::DrawDefaultImage(QImage &bitmap)
{
    TbsSkinCustomControl::DrawDefaultImage(bitmap);
    QPainter painter(&bitmap);
    drawBorderStyle(painter, rect(), m_borderStyle);
    if (m_captionMode) {
        drawDefaultCaption(painter);
    }
}

void TbsSkinPanel::drawDefaultCaption(QPainter &painter)
{
    const QRect bar = defaultCaptionRect();
    drawFrame3D(painter, bar, ColorToQColor(cl3DLight), ColorToQColor(cl3DDkShadow));
    drawFrame3D(painter, bar.adjusted(1, 1, -1, -1), ColorToQColor(clBtnHighlight), ColorToQColor(clBtnShadow));

    QRect area = bar.adjusted(2, 0, -2, 0);
    const ControlFont &font = DefaultFont();
    if (m_rollUpMode) {
        const QRect arrow = rectLTRB(
            area.left() + area.width() - 10, area.top(), area.left() + area.width(), area.top() + area.height());
        DrawArrowGlyph(painter, toTRect(arrow), font.color(), m_rollUpState ? adDown : adUp);
        area.setWidth(area.width() - 10);
    }
    if (m_checkedMode) {
        const int top = bar.top() + bar.height() / 2 - 7;
        drawOutline(painter, QRect(5, top, 14, 14), ColorToQColor(clBtnShadow));
        if (m_checked) {
            DrawCheckGlyph(painter, 9, top + 3, ColorToQColor(clBtnText));
        }
        area.setLeft(area.left() + 20);
    }

    const QFont qfont = font.toQFont();
    const CaptionLine line = captionLine(area, m_defaultAlignment, qfont);
    const QImage &glyph = line.glyph;
    const int shift = line.shift;
    const int total = line.total;
    const int left = line.left;
    painter.save();
    painter.setClipRect(area);
    if (!glyph.isNull()) {
        DrawGlyphFrame(
            painter, left, area.top() + area.height() / 2 - glyph.height() / 2, glyphIndex(), m_numGlyphs, glyph);
    }
    drawAlignedText(painter, rectLTRB(left + shift, area.top(), left + total, area.top() + area.height()), Caption(),
        taLeftJustify, qfont, font.color());
    painter.restore();
}

void TbsSkinPanel::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointer<TbsSkinPanel> self(this);
    TbsSkinCustomControl::mouseReleaseEvent(event);
    if (self.isNull() || !m_captionMode || event->button() != Qt::LeftButton) {
        return;
    }
    if (!CaptionRect().contains(event->position().toPoint())) {
        return;
    }
    if (m_checkedMode) {
        SetChecked(!m_checked);
        if (self.isNull()) {
            return;
        }
    }
    if (m_rollUpMode) {
        SetRollUpState(!m_rollUpState);
    }
}

TbsSkinStatusBar::TbsSkinStatusBar(QWidget *parent)
    : TbsSkinPanel(parent)
{
    SetSkinDataName(QStringLiteral("statusbar"));
    resize(width(), 21);
    SetBorderStyle(bvNone);
    m_tiledBackground = false;
    SetAlign(alBottom);
}

void TbsSkinStatusBar::SetSkinData(TbsSkinData *value)
{
    TbsSkinPanel::SetSkinData(value);
    for (TbsSkinControl *child : findChildren<TbsSkinControl *>(Qt::FindDirectChildrenOnly)) {
        child->SetSkinData(value);
    }
}

void TbsSkinStatusBar::SetSizeGrip(bool value)
{
    if (m_sizeGrip != value) {
        m_sizeGrip = value;
        gripChanged();
    }
}

void TbsSkinStatusBar::SetGripVisible(bool value)
{
    if (m_gripVisible != value) {
        m_gripVisible = value;
        gripChanged();
    }
}

void TbsSkinStatusBar::gripChanged()
{
    setMouseTracking(gripShown());
    if (!gripShown()) {
        unsetCursor();
    }
    update();
    Realign();
}

void TbsSkinStatusBar::LoadSkinEntry()
{
    TbsSkinPanel::LoadSkinEntry();
    const auto *entry = dynamic_cast<const TbsDataSkinPanelControl *>(m_skin.entry());
    m_gripperRect = entry ? entry->gripperrect : TRect();
    m_gripperTransparent = entry && entry->grippertransparent;
    m_gripperTransparentColor = entry ? entry->grippertransparentcolor : 0;
}

void TbsSkinStatusBar::AdjustClientRect(QRect &rect) const
{
    TbsSkinPanel::AdjustClientRect(rect);
    if (gripShown()) {
        const bool skinGrip = skinLook() && !IsNullRect(m_gripperRect);
        rect.setWidth(rect.width() - (skinGrip ? RectWidth(m_gripperRect) : rect.height()));
    }
}

QRect TbsSkinStatusBar::GripRect() const
{
    if (!gripShown()) {
        return QRect();
    }
    const QRect client = AlignRect();
    const int right = client.left() + client.width();
    if (skinLook() && !IsNullRect(m_gripperRect)) {
        // The grip's bottom-left corner is the client area's bottom-right corner.
        const int bottom = client.top() + client.height();
        return rectLTRB(right, bottom - RectHeight(m_gripperRect), right + RectWidth(m_gripperRect), bottom);
    }
    return rectLTRB(right + 2, client.top(), right + client.height(), client.top() + client.height() - 2);
}

void TbsSkinStatusBar::DrawDefaultImage(QImage &bitmap)
{
    TbsSkinPanel::DrawDefaultImage(bitmap);
    drawGrip(bitmap, ColorToQColor(clBtnShadow), ColorToQColor(clBtnHighlight));
}

void TbsSkinStatusBar::DrawSkinImage(QImage &bitmap)
{
    TbsSkinPanel::DrawSkinImage(bitmap);
    if (const TbsSkinData *store = SkinData()) {
        drawGrip(bitmap, ColorToQColor(store->SkinColors.cbtnshadow), ColorToQColor(store->SkinColors.cbtnhighlight));
    }
}

void TbsSkinStatusBar::drawGrip(QImage &bitmap, const QColor &shadow, const QColor &highlight)
{
    const QRect grip = GripRect();
    if (grip.isEmpty()) {
        return;
    }
    QPainter painter(&bitmap);
    if (skinLook() && !IsNullRect(m_gripperRect)) {
        const QImage piece = m_picture.copy(toQRect(m_gripperRect)).convertToFormat(QImage::Format_RGB32);
        if (m_gripperTransparent) {
            // Only the pixels of another colour than the transparent one are drawn.
            const QImage shape
                = piece.createMaskFromColor(ColorToQColor(m_gripperTransparentColor).rgb(), Qt::MaskOutColor);
            painter.setClipRegion(QRegion(QBitmap::fromImage(shape)).translated(grip.topLeft()));
        }
        stretch(painter, QRect(grip.topLeft(), piece.size()), piece, piece.rect());
        return;
    }
    const int right = grip.left() + grip.width();
    const int bottom = grip.top() + grip.height();
    const int size = std::min(grip.width(), grip.height());
    // Diagonal pairs from the bottom edge up to the right edge, every 3 pixels from the corner outwards.
    for (int d = 1; d + 1 < size; d += 3) {
        drawLineExclusive(painter, QPoint(right - d - 1, bottom - 1), QPoint(right, bottom - d - 2), shadow);
        drawLineExclusive(painter, QPoint(right - d - 2, bottom - 1), QPoint(right, bottom - d - 3), highlight);
    }
}

void TbsSkinStatusBar::mousePressEvent(QMouseEvent *event)
{
    const QRect grip = GripRect();
    if (event->button() == Qt::LeftButton && grip.contains(event->position().toPoint())) {
        QWindow *handle = window()->windowHandle();
        if (handle && handle->startSystemResize(Qt::RightEdge | Qt::BottomEdge)) {
            return;
        }
        m_gripDragging = true;
        m_gripStart = event->globalPosition().toPoint();
        m_gripStartSize = window()->size();
        return;
    }
    TbsSkinPanel::mousePressEvent(event);
}

void TbsSkinStatusBar::mouseMoveEvent(QMouseEvent *event)
{
    if (m_gripDragging) {
        const QPoint moved = event->globalPosition().toPoint() - m_gripStart;
        window()->resize(m_gripStartSize.width() + moved.x(), m_gripStartSize.height() + moved.y());
        return;
    }
    if (gripShown()) {
        if (GripRect().contains(event->position().toPoint())) {
            setCursor(Qt::SizeFDiagCursor);
        } else {
            unsetCursor();
        }
    }
    TbsSkinPanel::mouseMoveEvent(event);
}

void TbsSkinStatusBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_gripDragging && event->button() == Qt::LeftButton) {
        m_gripDragging = false;
        return;
    }
    TbsSkinPanel::mouseReleaseEvent(event);
}

} // namespace pixolo
