#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>

class QPainter;
class QRect;

namespace pixolo
{

class TbsSkinMenuItem;
class TbsSkinPopupWindow;

// The desktop colours of the menus' plain look, from the application palette.
QColor plainMenuColor(QPalette::ColorRole role);

// Draws one item of a popup level at its rectangle's size: in the skin's menu-item look (its normal, highlighted,
// morphed or animated background, its font and colours) or in the plain look, then the caption, the short-cut, the
// submenu arrow and the item's glyph, icon or check mark.
class MenuItemPainter final
{
public:
    explicit MenuItemPainter(const TbsSkinPopupWindow &window)
        : m_window(window)
    {
    }

    QImage itemImage(const TbsSkinMenuItem &Item) const;

private:
    void drawSkinnedItem(QImage &image, const TbsSkinMenuItem &item) const;
    void drawPlainItem(QImage &image, const TbsSkinMenuItem &item) const;
    QImage itemBackground(const TbsSkinMenuItem &item, bool highlighted, int frame) const;
    void drawItemContent(QPainter &painter, const TbsSkinMenuItem &item, const QRect &textRect, const QColor &color,
        int glyphColumn, int rightMargin) const;

    const TbsSkinPopupWindow &m_window;
};

} // namespace pixolo
