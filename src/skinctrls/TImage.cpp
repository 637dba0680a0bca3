#include "skinctrls/TImage.h"

#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

namespace pixolo
{

TImage::TImage(QWidget *parent)
    : ControlBase<QWidget>(parent)
{
    setWindowless(true);
    resize(105, 105);
}

void TImage::SetPicture(const TBitmap &value)
{
    m_picture = value; // shares the pixels
    m_shown = QImage();
    update();
}

void TImage::SetStretch(bool value)
{
    if (m_stretch != value) {
        m_stretch = value;
        m_shown = QImage();
        update();
    }
}

void TImage::SetCenter(bool value)
{
    if (m_center != value) {
        m_center = value;
        m_shown = QImage();
        update();
    }
}

QRect TImage::DestRect() const
{
    if (m_picture.Empty()) {
        return QRect();
    }
    if (m_stretch) {
        return rect();
    }
    QRect dest(0, 0, m_picture.Width(), m_picture.Height());
    if (m_center) {
        dest.moveTo((width() - dest.width()) / 2, (height() - dest.height()) / 2);
    }
    return dest;
}

const QImage &TImage::shown()
{
    if (!m_shown.isNull() || m_picture.Empty()) {
        return m_shown;
    }
    if (m_stretch || m_center) {
        m_shown = m_picture.toRgb32();
        return m_shown;
    }
    // At its natural size from the top-left corner only that corner can show: a large picture (a camera frame) is
    // converted for painting no further than the control reaches.
    const QImage &full = m_picture.image();
    const int w = std::min(full.width(), width());
    const int h = std::min(full.height(), height());
    if (w <= 0 || h <= 0) {
        return m_shown;
    }
    QImage corner(full.constBits(), w, h, full.bytesPerLine(), full.format()); // no copy of the pixels
    corner.setColorTable(full.colorTable());
    m_shown = corner.convertToFormat(QImage::Format_RGB32);
    return m_shown;
}

void TImage::resizeEvent(QResizeEvent *event)
{
    ControlBase<QWidget>::resizeEvent(event);
    m_shown = QImage(); // a larger control may show more of the picture
}

void TImage::paintEvent(QPaintEvent *)
{
    const QImage &picture = shown();
    if (picture.isNull()) {
        return;
    }
    QPainter painter(this);
    // Nearest neighbour when stretched, so pixels stay pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect dest = DestRect();
    if (m_stretch || m_center) {
        painter.drawImage(dest, picture);
    } else {
        painter.drawImage(dest.topLeft(), picture); // the corner as it is, clipped by the control
    }
}

} // namespace pixolo
