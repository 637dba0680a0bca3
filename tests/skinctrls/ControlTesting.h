#pragma once

// Helpers of the control tests: images of what a control paints, and the shared pointer input.
#include "skin/SystemColors.h"

#include "PointerInput.h"

#include <QImage>
#include <QWidget>

namespace pixolo::test
{

// What the widget paints over a background of `background` (children included).
inline QImage rendered(QWidget *widget, QRgb background = qRgb(1, 2, 3))
{
    QImage image(widget->size(), QImage::Format_RGB32);
    image.fill(background);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

inline QRgb rgb(TColor color)
{
    return ColorToQColor(color).rgb();
}

} // namespace pixolo::test
