#include "skinframe/MenuItemPainter.h"

#include "skin/SkinGlyphs.h"
#include "skin/SkinText.h"
#include "skin/TbsEffectBmp.h"
#include "skinframe/SkinFrameTypes.h"
#include "skinframe/TbsSkinMenu.h"
#include "skinframe/TbsSkinPopupWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>

#include <algorithm>

namespace pixolo
{

namespace
{

// The plain look's highlight: a navy frame around a light blue fill (0x00BBGGRR).
constexpr int s_plainHighlightFrame = 8388608;
constexpr int s_plainHighlightFill = 13811126;
// Where caption and short-cut end short of the text rectangle's right edge, and the caption's glyph column
// without an image list.
constexpr int s_rightMargin = 16;
constexpr int s_skinGlyphColumn = 16;
constexpr int s_plainRightMargin = 19;

// The built-in glyphs of the system and tray menus' items, by the item's fixed name.
using GlyphRoutine = void (*)(QPainter &, int, int, const QColor &);
GlyphRoutine namedGlyph(const QString &name)
{
    if (name == QLatin1String("SKF_CLOSE") || name == QLatin1String("TRAY_SKF_CLOSE")) {
        return DrawCloseGlyph;
    }
    if (name == QLatin1String("SKF_MINITEM")) {
        return DrawMinimizeGlyph;
    }
    if (name == QLatin1String("SKF_MAXITEM")) {
        return DrawMaximizeGlyph;
    }
    if (name == QLatin1String("SKF_RESTORE") || name == QLatin1String("TRAY_SKF_RESTORE")) {
        return DrawRestoreGlyph;
    }
    if (name == QLatin1String("SKF_ROLLUP")) {
        return DrawRollUpGlyph;
    }
    if (name == QLatin1String("SKF_MINTOTRAY")) {
        return DrawMinimizeToTrayGlyph;
    }
    return nullptr;
}

} // namespace

QColor plainMenuColor(QPalette::ColorRole role)
{
    return QGuiApplication::palette().color(QPalette::Active, role);
}

QImage MenuItemPainter::itemImage(const TbsSkinMenuItem &Item) const
{
    const int w = RectWidth(Item.ItemRect);
    const int h = RectHeight(Item.ItemRect);
    if (w <= 0 || h <= 0) {
        return {};
    }
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    if (m_window.m_entry) {
        drawSkinnedItem(image, Item);
    } else {
        drawPlainItem(image, Item);
    }
    return image;
}

QImage MenuItemPainter::itemBackground(const TbsSkinMenuItem &item, bool highlighted, int frame) const
{
    const TbsDataSkinMenuItem &e = *m_window.m_entry;
    const int w = RectWidth(item.ItemRect);
    if (frame >= 1 && frame <= e.framecount) {
        // Frames are stacked downwards when the strip is taller than an item, else side by side.
        TRect cell = e.animateskinrect;
        if (RectHeight(e.animateskinrect) > RectHeight(e.skinrect)) {
            const int step = RectHeight(e.animateskinrect) / e.framecount;
            cell = { cell.Left, cell.Top + (frame - 1) * step, cell.Right, cell.Top + frame * step };
        } else {
            const int step = RectWidth(e.animateskinrect) / e.framecount;
            cell = { cell.Left + (frame - 1) * step, cell.Top, cell.Left + frame * step, cell.Bottom };
        }
        return CreateHSkinImage(e.itemleftoffset, e.itemrightoffset, m_window.m_itemPicture, cell, w, e.stretcheffect);
    }
    if (highlighted) {
        return CreateHSkinImage(
            e.itemleftoffset, e.itemrightoffset, m_window.m_itemPicture, e.activeskinrect, w, e.stretcheffect);
    }
    return CreateHSkinImage(
        e.itemleftoffset, e.itemrightoffset, m_window.m_itemPicture, e.skinrect, w, e.inactivestretcheffect);
}

void MenuItemPainter::drawSkinnedItem(QImage &image, const TbsSkinMenuItem &item) const
{
    const TbsDataSkinMenuItem &e = *m_window.m_entry;
    const int w = image.width();
    QPainter painter(&image);
    if (item.IsSeparator()) {
        const QImage divider = CreateHSkinImage(e.dividerleftoffset, e.dividerrightoffset, m_window.m_itemPicture,
            e.dividerrect, w, e.dividerstretcheffect);
        painter.drawImage(0, 0, divider);
        return;
    }
    const bool highlighted = item.Active || item.Down;
    QImage background;
    bool highlightedText = highlighted;
    if (m_window.animationInEffect() && item.AnimationFrame >= 1 && item.AnimationFrame <= e.framecount) {
        background = itemBackground(item, true, item.AnimationFrame);
        highlightedText = true;
    } else if (!m_window.morphInEffect() || item.MorphFactor == (highlighted ? 1.0 : 0.0)) {
        background = itemBackground(item, highlighted, 0);
    } else {
        const QImage normal = itemBackground(item, false, 0);
        const QImage active = itemBackground(item, true, 0);
        TbsEffectBmp mixed(normal);
        mixed.morph(e.morphkind, TbsEffectBmp(active), item.MorphFactor);
        background = mixed.Image();
    }
    if (!background.isNull()) {
        painter.drawImage(0, 0, background);
    }
    const QColor color = skinColor(highlightedText ? e.activefontcolor
            : item.Enabled()                       ? e.fontcolor
                                                   : e.unenabledfontcolor);
    const QFont font = m_window.m_menu->UseSkinFont() ? skinFont(e.fontname, e.fontheight, e.fontstyle)
                                                      : m_window.m_menu->DefaultItemFont();
    painter.setFont(font);
    const QRect text
        = toQRect({ e.textrect.Left, e.textrect.Top, w + e.textrect.Right - RectWidth(e.skinrect), e.textrect.Bottom });
    drawItemContent(painter, item, text, color, s_skinGlyphColumn, s_rightMargin);
}

void MenuItemPainter::drawPlainItem(QImage &image, const TbsSkinMenuItem &item) const
{
    const int w = image.width();
    const int h = image.height();
    const int glyphColumn = m_window.GlyphColumnWidth();
    QPainter painter(&image);
    const bool highlighted = (item.Active || item.Down) && !item.IsSeparator();
    QColor color;
    if (highlighted) {
        painter.fillRect(QRect(0, 0, w, h), skinColor(s_plainHighlightFill));
        painter.setPen(skinColor(s_plainHighlightFrame));
        painter.drawRect(QRect(0, 0, w - 1, h - 1));
        color = plainMenuColor(QPalette::Text);
    } else {
        painter.fillRect(QRect(0, 0, glyphColumn, h), plainMenuColor(QPalette::Button));
        painter.fillRect(QRect(glyphColumn, 0, w - glyphColumn, h), plainMenuColor(QPalette::Base));
        color = item.Enabled() ? plainMenuColor(QPalette::Text) : plainMenuColor(QPalette::Dark);
    }
    if (item.IsSeparator()) {
        painter.fillRect(QRect(glyphColumn, h / 2, w - glyphColumn, 1), plainMenuColor(QPalette::Dark));
        return;
    }
    painter.setFont(m_window.m_menu->DefaultItemFont());
    // The caption starts 2 pixels into the glyph column's right, the glyph 1 pixel further in than skinned.
    drawItemContent(painter, item, QRect(1, 0, w - 1 - s_plainRightMargin + s_rightMargin, h), color, glyphColumn + 1,
        s_rightMargin);
}

void MenuItemPainter::drawItemContent(QPainter &painter, const TbsSkinMenuItem &item, const QRect &textRect,
    const QColor &color, int glyphColumn, int rightMargin) const
{
    const int left = textRect.left();
    const int right = textRect.left() + textRect.width();
    const int middle = textRect.top() + textRect.height() / 2;
    painter.setPen(color);
    const int flags = Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine
        | (m_window.layoutDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft);
    const QRect caption(
        left + glyphColumn, textRect.top(), std::max(0, right - rightMargin - (left + glyphColumn)), textRect.height());
    painter.drawText(caption, flags, item.Caption());
    const QString shortCut = item.ShortCutText();
    if (!shortCut.isEmpty()) {
        painter.drawText(QRect(left, textRect.top(), std::max(0, right - rightMargin - left), textRect.height()),
            Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, shortCut);
    }
    if (item.HasChildren()) {
        DrawArrowGlyph(painter, { right - 7, middle - 4, right - 3, middle + 4 }, color, adRight);
    }
    const QAction *action = item.Action();
    if (!action) {
        return;
    }
    const int glyphLeft = left + 2;
    if (!action->icon().isNull()) {
        const QPixmap pixmap = action->icon().pixmap(16, 16, item.Enabled() ? QIcon::Normal : QIcon::Disabled);
        const int top = middle - pixmap.height() / 2;
        painter.drawPixmap(glyphLeft, top, pixmap);
        if (action->isChecked()) {
            painter.setPen(color);
            painter.drawRect(QRect(glyphLeft - 1, top - 1, pixmap.width() + 1, pixmap.height() + 1));
        }
        return;
    }
    if (GlyphRoutine glyph = namedGlyph(action->objectName())) {
        glyph(painter, glyphLeft, middle - 4, color);
        return;
    }
    if (!action->isCheckable() || !action->isChecked()) {
        return;
    }
    const QActionGroup *group = action->actionGroup();
    if (group && group->exclusionPolicy() != QActionGroup::ExclusionPolicy::None) {
        DrawRadioGlyph(painter, glyphLeft + 1, middle - 3, color);
    } else {
        DrawCheckGlyph(painter, glyphLeft, middle - 4, color);
    }
}

} // namespace pixolo
