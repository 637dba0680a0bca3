#include "skinctrls/TImage.h"

#include <QPainter>

namespace pixolo {

TImage::TImage(QWidget *parent)
    : ControlBase<QWidget>(parent)
{
    setWindowless(true);
    resize(105, 105);
}

void TImage::SetPicture(const TBitmap &value)
{
    m_picture = value;
    m_shown = value.Empty() ? QImage() : value.toRgb32();
    update();
}

void TImage::SetStretch(bool value)
{
    if (m_stretch != value) {
        m_stretch = value;
        update();
    }
}

void TImage::SetCenter(bool value)
{
    if (m_center != value) {
        m_center = value;
        update();
    }
}

QRect TImage::DestRect() const
{
    if (m_shown.isNull()) {
        return QRect();
    }
    if (m_stretch) {
        return rect();
    }
    QRect dest(QPoint(0, 0), m_shown.size());
    if (m_center) {
        dest.moveTo((width() - dest.width()) / 2, (height() - dest.height()) / 2);
    }
    return dest;
}

void TImage::paintEvent(QPaintEvent *)
{
    if (m_shown.isNull()) {
        return;
    }
    QPainter painter(this);
    // Nearest neighbour when stretched, so pixels stay pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(DestRect(), m_shown);
}

} // namespace pixolo
