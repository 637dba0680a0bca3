#include "skinctrls/TbsSkinStdLabel.h"

#include "skin/TbsDataSkinControl.h"
#include "skin/TbsSkinData.h"

#include <QFontMetrics>
#include <QPainter>

namespace pixolo
{

TbsSkinStdLabel::TbsSkinStdLabel(QWidget *parent)
    : ControlBase<QWidget>(parent)
    , SkinBoundControl(QStringLiteral("stdlabel"))
{
    setWindowless(true);
    resize(65, 17);
}

void TbsSkinStdLabel::ApplySkin()
{
    LoadSkinEntry();
    adjustBounds();
    repaint();
}

ControlFont TbsSkinStdLabel::textFont() const
{
    const auto *entry = dynamic_cast<const TbsDataSkinStdLabelControl *>(m_skin.entry());
    if (!entry) {
        return m_useSkinFont ? m_defaultFont : m_font;
    }
    ControlFont font = m_font;
    if (m_useSkinFont) {
        font.Name = entry->fontname;
        font.Height = entry->fontheight;
        font.Style = entry->fontstyle;
    }
    if (m_useSkinColor) {
        font.Color = entry->fontcolor;
    }
    return font;
}

void TbsSkinStdLabel::changed()
{
    adjustBounds();
    update();
}

void TbsSkinStdLabel::SetUseSkinFont(bool value)
{
    if (m_useSkinFont != value) {
        m_useSkinFont = value;
        changed();
    }
}

void TbsSkinStdLabel::SetUseSkinColor(bool value)
{
    if (m_useSkinColor != value) {
        m_useSkinColor = value;
        update();
    }
}

void TbsSkinStdLabel::SetDefaultFont(const ControlFont &value)
{
    if (!(m_defaultFont == value)) {
        m_defaultFont = value;
        changed();
    }
}

void TbsSkinStdLabel::SetFont(const ControlFont &value)
{
    if (!(m_font == value)) {
        m_font = value;
        changed();
    }
}

void TbsSkinStdLabel::SetColor(TColor value)
{
    if (m_color != value) {
        m_color = value;
        update();
    }
}

void TbsSkinStdLabel::SetTransparent(bool value)
{
    if (m_transparent != value) {
        m_transparent = value;
        update();
    }
}

void TbsSkinStdLabel::SetAlignment(TAlignment value)
{
    if (m_alignment != value) {
        m_alignment = value;
        update();
    }
}

void TbsSkinStdLabel::SetLayout(TTextLayout value)
{
    if (m_layout != value) {
        m_layout = value;
        update();
    }
}

void TbsSkinStdLabel::SetWordWrap(bool value)
{
    if (m_wordWrap != value) {
        m_wordWrap = value;
        changed();
    }
}

void TbsSkinStdLabel::SetAutoSize(bool value)
{
    if (m_autoSize != value) {
        m_autoSize = value;
        changed();
    }
}

void TbsSkinStdLabel::SetShowAccelChar(bool value)
{
    if (m_showAccelChar != value) {
        m_showAccelChar = value;
        changed();
    }
}

void TbsSkinStdLabel::CaptionChanged()
{
    changed();
}

int TbsSkinStdLabel::textFlags() const
{
    int flags = m_alignment == taRightJustify ? Qt::AlignRight
        : m_alignment == taCenter             ? Qt::AlignHCenter
                                              : Qt::AlignLeft;
    flags |= Qt::AlignTop;
    if (m_wordWrap) {
        flags |= Qt::TextWordWrap;
    }
    if (m_showAccelChar) {
        flags |= Qt::TextShowMnemonic;
    }
    return flags;
}

QRect TbsSkinStdLabel::measureText() const
{
    QString text = Caption();
    if (text.isEmpty() || (m_showAccelChar && text == QStringLiteral("&"))) {
        text = QStringLiteral(" ");
    }
    const QFontMetrics metrics(textFont().toQFont());
    return metrics.boundingRect(
        QRect(0, 0, m_wordWrap ? width() : 0, 0), textFlags() & ~Qt::AlignHorizontal_Mask, text);
}

void TbsSkinStdLabel::adjustBounds()
{
    if (!m_autoSize) {
        return;
    }
    ensureSkinEntry();
    const QRect text = measureText();
    const int width = m_wordWrap ? this->width() : text.width();
    // A right-aligned label keeps its right edge.
    const int left = m_alignment == taRightJustify ? x() + this->width() - width : x();
    SetBounds(left, y(), width, text.height());
    realignParent();
}

void TbsSkinStdLabel::paintEvent(QPaintEvent *)
{
    ensureSkinEntry();
    QPainter painter(this);
    if (!m_transparent) {
        painter.fillRect(rect(), ColorToQColor(m_color));
    }
    const ControlFont font = textFont();
    painter.setFont(font.toQFont());
    const int textHeight = measureText().height();
    int top = 0;
    if (m_layout == tlCenter) {
        top = (height() - textHeight) / 2;
    } else if (m_layout == tlBottom) {
        top = height() - textHeight;
    }
    const QRect area(0, top, width(), textHeight);
    if (isEnabled()) {
        painter.setPen(font.color());
        painter.drawText(area, textFlags(), Caption());
        return;
    }
    // Disabled: embossed, a highlight copy one pixel down and right under the text in shadow colour (the skin's
    // colours with an entry).
    const TbsSkinData *store = SkinData();
    const bool skinned = store && m_skin.entry();
    painter.setPen(ColorToQColor(skinned ? store->SkinColors.cbtnhighlight : clBtnHighlight));
    painter.drawText(area.translated(1, 1), textFlags(), Caption());
    painter.setPen(ColorToQColor(skinned ? store->SkinColors.cbtnshadow : clBtnShadow));
    painter.drawText(area, textFlags(), Caption());
}

} // namespace pixolo
