#include "skinctrls/TbsSkinLabel.h"

#include "skinctrls/DefaultLook.h"

#include <QPainter>

namespace pixolo {

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

int TbsSkinLabel::missingRoom() const
{
    return textExtent(textFont(), Caption()).width() + 4 - width();
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

void TbsSkinLabel::drawDefaultText(QPainter &painter, const QRect &area)
{
    const QColor color = isEnabled() ? DefaultFont().color() : ColorToQColor(clGrayText);
    drawAlignedText(painter, area, Caption(), m_alignment, textFont(), color);
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
