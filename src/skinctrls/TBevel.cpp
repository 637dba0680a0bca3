#include "skinctrls/TBevel.h"

#include "skin/SystemColors.h"
#include "skinctrls/DefaultLook.h"

#include <QPainter>

namespace pixolo
{

TBevel::TBevel(QWidget *parent)
    : ControlBase<QWidget>(parent)
{
    setWindowless(true);
    resize(50, 50);
}

void TBevel::SetShape(TBevelShape value)
{
    if (m_shape != value) {
        m_shape = value;
        update();
    }
}

void TBevel::SetStyle(TBevelStyle value)
{
    if (m_style != value) {
        m_style = value;
        update();
    }
}

void TBevel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor shadow = ColorToQColor(clBtnShadow);
    const QColor highlight = ColorToQColor(clBtnHighlight);
    // Lowered: shadow above and left of highlight; raised: the reverse.
    const QColor first = m_style == bsLowered ? shadow : highlight;
    const QColor second = m_style == bsLowered ? highlight : shadow;
    const int w = width();
    const int h = height();
    switch (m_shape) {
    case bsBox:
        drawFrame3D(painter, rect(), first, second);
        break;
    case bsFrame:
        // Etched: the second colour one pixel in and to the right and below, the first colour over it.
        drawOutline(painter, rectLTRB(1, 1, w, h), second);
        drawOutline(painter, rectLTRB(0, 0, w - 1, h - 1), first);
        break;
    case bsTopLine:
        painter.fillRect(0, 0, w, 1, first);
        painter.fillRect(0, 1, w, 1, second);
        break;
    case bsBottomLine:
        painter.fillRect(0, h - 2, w, 1, first);
        painter.fillRect(0, h - 1, w, 1, second);
        break;
    case bsLeftLine:
        painter.fillRect(0, 0, 1, h, first);
        painter.fillRect(1, 0, 1, h, second);
        break;
    case bsRightLine:
        painter.fillRect(w - 2, 0, 1, h, first);
        painter.fillRect(w - 1, 0, 1, h, second);
        break;
    case bsSpacer:
        break;
    }
}

} // namespace pixolo
