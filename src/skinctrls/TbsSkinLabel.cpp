#include "skinctrls/TbsSkinLabel.h"

#include "skin/TbsDataSkinControl.h"
#include "skinctrls/DefaultLook.h"

#include <QPainter>

namespace pixolo
{

TbsSkinLabel::TbsSkinLabel(QWidget *parent)
    : TbsSkinCustomControl(parent)
{
    resize(75, 21);
    SetSkinDataName(QStringLiteral("label"));
}

void TbsSkinLabel::SetUseSkinFontColor(bool value)
{
    if (m_useSkinFontColor != value) {
        m_useSkinFontColor = value;
        update();
    }
}

void TbsSkinLabel::SetBorderStyle(TbsSkinBorderStyle value)
{
    if (m_borderStyle == value) {
        return;
    }
    m_borderStyle = value;
    if (SkinIndex() == -1) {
        update();
        Realign();
    }
}

void TbsSkinLabel::SetAlignment(TAlignment value)
{
    if (m_alignment != value) {
        m_alignment = value;
        update();
    }
}

void TbsSkinLabel::SetAutoSize(bool value)
{
    if (m_autoSize == value) {
        return;
    }
    m_autoSize = value;
    m_skin.invalidate(); // a fixed-size skin turns it off again
    if (value) {
        fitWidth();
    }
}

void TbsSkinLabel::CaptionChanged()
{
    if (m_autoSize) {
        fitWidth();
    }
    update();
}

ControlFont TbsSkinLabel::textFont() const
{
    if (SkinIndex() == -1) {
        return DefaultFont();
    }
    ControlFont font = UseSkinFont() ? m_skinFont : DefaultFont();
    font.Color = m_useSkinFontColor ? m_skinFont.Color : DefaultFont().Color;
    return font;
}

void TbsSkinLabel::LoadSkinEntry()
{
    TbsSkinCustomControl::LoadSkinEntry();
    const auto *entry = dynamic_cast<const TbsDataSkinLabelControl *>(m_skin.entry());
    if (!entry) {
        return;
    }
    m_skinFont = entryFont(entry->fontname, entry->fontheight, entry->fontstyle, entry->fontcolor);
    if (m_resizeMode == srmFixed) {
        m_autoSize = false; // a fixed-size skin cannot grow with its text
    }
}

void TbsSkinLabel::CalcSkinSize(int &width, int &height)
{
    if (m_useSkinSize || m_resizeMode == srmBoth) {
        TbsSkinCustomControl::CalcSkinSize(width, height);
    } else {
        // Only the width follows the skin's points; the height stays as asked.
        const int dx = width - RectWidth(m_skinRect);
        m_newPoints = m_skinPoints;
        m_newPoints.RT = offsetPoint(m_skinPoints.RT, dx, 0);
        m_newPoints.ClRect.Right = m_skinPoints.ClRect.Right + dx;
    }
    if (m_autoSize && SkinIndex() != -1 && m_resizeMode != srmFixed) {
        const int missing = textExtent(textFont().toQFont(), Caption()).width() - RectWidth(m_newPoints.ClRect);
        if (missing > 0) {
            width += missing;
            m_newPoints.RT.X += missing;
            m_newPoints.ClRect.Right += missing;
        }
    }
}

void TbsSkinLabel::UpdateRegion()
{
    if (m_useSkinSize) {
        TbsSkinCustomControl::UpdateRegion();
    } else if (!mask().isEmpty()) {
        clearMask();
    }
}

int TbsSkinLabel::missingRoom() const
{
    const QFont font = textFont().toQFont();
    if (SkinIndex() == -1) {
        return textExtent(font, Caption()).width() + 4 - width();
    }
    if (m_resizeMode == srmFixed) {
        return 0;
    }
    return textExtent(font, Caption()).width() - RectWidth(clientRectFor(size()));
}

void TbsSkinLabel::fitWidth()
{
    if (Align() == alTop || Align() == alBottom || Align() == alClient) {
        return;
    }
    const int missing = missingRoom();
    if (missing != 0) {
        SetBounds(x(), y(), width() + missing, height());
    }
}

QRect TbsSkinLabel::drawDefaultText(QPainter &painter, const QRect &area)
{
    const QColor color = isEnabled() ? DefaultFont().color() : ColorToQColor(clGrayText);
    const QRect shown = drawAlignedText(painter, area, Caption(), m_alignment, DefaultFont().toQFont(), color);
    drawFocusMark(painter, shown, color);
    return shown;
}

QRect TbsSkinLabel::drawText(QPainter &painter, const QRect &area)
{
    const ControlFont font = textFont();
    const QRect shown = drawAlignedText(painter, area, Caption(), m_alignment, font.toQFont(), font.color());
    drawFocusMark(painter, shown, font.color());
    return shown;
}

void TbsSkinLabel::drawFocusMark(QPainter &painter, const QRect &shown, const QColor &color)
{
    if (hasFocus()) {
        // One pixel clear of the text, inside the label.
        drawFocusRect(painter, shown.adjusted(-2, -1, 2, 1).intersected(rect()), color);
    }
}

bool TbsSkinLabel::KeyDown(QKeyEvent *event)
{
    const int key = event->key();
    if (OnClick && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        Click();
        return true;
    }
    return false;
}

void TbsSkinLabel::focusInEvent(QFocusEvent *event)
{
    TbsSkinCustomControl::focusInEvent(event);
    update();
}

void TbsSkinLabel::focusOutEvent(QFocusEvent *event)
{
    TbsSkinCustomControl::focusOutEvent(event);
    update();
}

void TbsSkinLabel::drawSkinFrame(QImage &bitmap, QRect &textArea)
{
    if (m_useSkinSize || m_resizeMode == srmBoth) {
        TbsSkinCustomControl::DrawSkinImage(bitmap);
        textArea = toQRect(m_newPoints.ClRect);
        return;
    }
    // Built at the skin height, then stretched to the label's height; the text area grows with it.
    const SkinCorners &k = m_skinPoints;
    const QImage frame
        = CreateHSkinImage(k.LT.X, RectWidth(m_skinRect) - k.RT.X, m_picture, m_skinRect, width(), m_stretchEffect);
    bitmap = QImage(size(), QImage::Format_RGB32);
    bitmap.fill(Qt::black);
    stretch(bitmap, bitmap.rect(), frame, frame.rect());
    TRect area = m_newPoints.ClRect;
    area.Bottom += height() - RectHeight(m_skinRect);
    textArea = toQRect(area);
}

void TbsSkinLabel::DrawSkinImage(QImage &bitmap)
{
    QRect area;
    drawSkinFrame(bitmap, area);
    QPainter painter(&bitmap);
    drawText(painter, area);
}

void TbsSkinLabel::DrawDefaultImage(QImage &bitmap)
{
    TbsSkinCustomControl::DrawDefaultImage(bitmap);
    QPainter painter(&bitmap);
    drawBorderStyle(painter, rect(), m_borderStyle);
    drawDefaultText(painter, rectLTRB(3, 3, width() - 3, height() - 3));
}

TbsSkinStatusPanel::TbsSkinStatusPanel(QWidget *parent)
    : TbsSkinLabel(parent)
{
    resize(120, height());
    SetSkinDataName(QStringLiteral("statuspanel"));
}

void TbsSkinStatusPanel::SetGlyph(const TBitmap &value)
{
    m_glyph = value;
    m_glyph.cacheRgb32(); // converted for painting here, not at every paint
    update();
}

void TbsSkinStatusPanel::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 2);
    if (m_numGlyphs != value) {
        m_numGlyphs = value;
        update();
    }
}

int TbsSkinStatusPanel::glyphShift() const
{
    return m_glyph.Empty() ? 0 : m_glyph.Width() / m_numGlyphs + 2;
}

int TbsSkinStatusPanel::missingRoom() const
{
    const int missing = TbsSkinLabel::missingRoom();
    return m_glyph.Empty() ? missing : missing + m_glyph.Width() / m_numGlyphs + 3;
}

void TbsSkinStatusPanel::DrawSkinImage(QImage &bitmap)
{
    TbsSkinCustomControl::DrawSkinImage(bitmap);
    QRect area = toQRect(m_newPoints.ClRect);
    QPainter painter(&bitmap);
    if (!m_glyph.Empty()) {
        const QImage glyph = m_glyph.toRgb32();
        DrawGlyphFrame(painter, area.left(), area.top() + area.height() / 2 - glyph.height() / 2, glyphIndex(),
            m_numGlyphs, glyph);
        area.setLeft(area.left() + glyphShift());
    }
    drawText(painter, area);
}

void TbsSkinStatusPanel::DrawDefaultImage(QImage &bitmap)
{
    // The label's plate and edge with an empty text area, then glyph and text.
    TbsSkinCustomControl::DrawDefaultImage(bitmap);
    QPainter painter(&bitmap);
    drawBorderStyle(painter, rect(), BorderStyle());
    int left = 3;
    if (!m_glyph.Empty()) {
        const QImage glyph = m_glyph.toRgb32();
        DrawGlyphFrame(painter, 3, height() / 2 - glyph.height() / 2, glyphIndex(), m_numGlyphs, glyph);
        left += glyphShift();
    }
    drawDefaultText(painter, rectLTRB(left, 3, width() - 3, height() - 3));
}

} // namespace pixolo
