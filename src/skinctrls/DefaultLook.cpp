#include "skinctrls/DefaultLook.h"

#include "skin/SkinText.h"

#include <QFontMetrics>
#include <QPainter>

namespace pixolo
{

void drawFrame3D(QPainter &painter, const QRect &rect, const QColor &topLeft, const QColor &bottomRight)
{
    // The pixels of the skin layer's DrawFrame3D, in four runs: the left column below the top-left corner and the
    // top row before the top-right corner in the first colour; the right column and the whole bottom row (with
    // both lower corners) in the second.
    if (rect.width() < 1 || rect.height() < 1) {
        return;
    }
    const int left = rect.left();
    const int top = rect.top();
    const int right = left + rect.width() - 1;
    const int bottom = top + rect.height() - 1;
    painter.fillRect(left, top + 1, 1, bottom - top, topLeft);
    painter.fillRect(left, top, right - left, 1, topLeft);
    painter.fillRect(right, top, 1, bottom - top, bottomRight);
    painter.fillRect(left, bottom, right - left + 1, 1, bottomRight);
}

void drawOutline(QPainter &painter, const QRect &rect, const QColor &color)
{
    drawFrame3D(painter, rect, color, color);
}

void drawFocusRect(QPainter &painter, const QRect &rect, const QColor &color)
{
    if (rect.width() < 1 || rect.height() < 1) {
        return;
    }
    int step = 0;
    const auto dot = [&](int x, int y) {
        if (step++ % 2 == 0) {
            painter.fillRect(x, y, 1, 1, color);
        }
    };
    const int right = rect.left() + rect.width() - 1;
    const int bottom = rect.top() + rect.height() - 1;
    if (right == rect.left() || bottom == rect.top()) {
        for (int y = rect.top(); y <= bottom; ++y) {
            for (int x = rect.left(); x <= right; ++x) {
                dot(x, y);
            }
        }
        return;
    }
    for (int x = rect.left(); x < right; ++x) {
        dot(x, rect.top());
    }
    for (int y = rect.top(); y < bottom; ++y) {
        dot(right, y);
    }
    for (int x = right; x > rect.left(); --x) {
        dot(x, bottom);
    }
    for (int y = bottom; y > rect.top(); --y) {
        dot(rect.left(), y);
    }
}

QSize textExtent(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    return QSize(SkinTextWidth(metrics, text), SkinTextHeight(metrics, text));
}

QRect drawAlignedText(QPainter &painter, const QRect &area, const QString &text, TAlignment alignment,
    const QFont &font, const QColor &color)
{
    const QSize extent = textExtent(font, text);
    int left = area.left();
    if (alignment == taRightJustify) {
        left = area.left() + area.width() - extent.width();
    } else if (alignment == taCenter) {
        left = area.left() + area.width() / 2 - extent.width() / 2;
    }
    const QRect where(left, area.top() + area.height() / 2 - extent.height() / 2, extent.width(), extent.height());
    if (text.isEmpty()) {
        return where;
    }
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(where, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine, text);
    painter.restore();
    return where;
}

int glyphCellWidth(const QImage &strip, int count)
{
    if (strip.isNull() || count < 1) {
        return 0;
    }
    return strip.width() / count;
}

} // namespace pixolo
