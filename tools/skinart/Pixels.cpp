#include "Pixels.h"

#include <QHash>

#include <algorithm>
#include <stdexcept>

namespace pixolo
{

QColor Ramp::at(int row, int rows) const
{
    if (rows <= 1) {
        return top;
    }
    const auto mix = [&](int a, int b) { return (a * (rows - 1 - row) + b * row + (rows - 1) / 2) / (rows - 1); };
    return QColor(mix(top.red(), bottom.red()), mix(top.green(), bottom.green()), mix(top.blue(), bottom.blue()));
}

QImage newPicture(int width, int height, QColor fill)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

namespace
{

void put(QImage &image, int x, int y, QColor colour)
{
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) {
        image.setPixel(x, y, colour.rgb());
    }
}

} // namespace

void fillRect(QImage &image, const TRect &r, QColor colour)
{
    fillRamp(image, r, { colour, colour });
}

void fillRamp(QImage &image, const TRect &r, const Ramp &ramp)
{
    for (int y = r.Top; y < r.Bottom; ++y) {
        hline(image, r.Left, r.Right, y, ramp.at(y - r.Top, RectHeight(r)));
    }
}

void hline(QImage &image, int x1, int x2, int y, QColor colour)
{
    for (int x = x1; x < x2; ++x) {
        put(image, x, y, colour);
    }
}

void vline(QImage &image, int x, int y1, int y2, QColor colour)
{
    for (int y = y1; y < y2; ++y) {
        put(image, x, y, colour);
    }
}

bool insideRounded(const TRect &r, int radius, int x, int y)
{
    if (x < r.Left || y < r.Top || x >= r.Right || y >= r.Bottom) {
        return false;
    }
    const double px = x + 0.5;
    const double py = y + 0.5;
    const double cx = std::clamp(px, double(r.Left + radius), double(r.Right - radius));
    const double cy = std::clamp(py, double(r.Top + radius), double(r.Bottom - radius));
    return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= double(radius) * radius;
}

void roundedBox(QImage &image, const TRect &r, int radius, const Ramp &fill, QColor border, QColor highlight)
{
    const auto edge = [&](int x, int y) {
        return !insideRounded(r, radius, x - 1, y) || !insideRounded(r, radius, x + 1, y)
            || !insideRounded(r, radius, x, y - 1) || !insideRounded(r, radius, x, y + 1);
    };
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            if (!insideRounded(r, radius, x, y)) {
                continue;
            }
            if (edge(x, y)) {
                put(image, x, y, border);
            } else if (highlight.isValid() && edge(x, y - 1)) {
                put(image, x, y, highlight);
            } else {
                put(image, x, y, fill.at(y - r.Top, RectHeight(r)));
            }
        }
    }
}

void pixelArt(QImage &image, int x, int y, std::initializer_list<const char *> rows, std::initializer_list<Ink> colours)
{
    int row = 0;
    for (const char *line : rows) {
        for (int col = 0; line[col] != '\0'; ++col) {
            for (const Ink &ink : colours) {
                if (ink.key == line[col]) {
                    put(image, x + col, y + row, ink.colour);
                }
            }
        }
        ++row;
    }
}

void copyRect(QImage &dest, int x, int y, const QImage &source, const TRect &r)
{
    for (int sy = r.Top; sy < r.Bottom; ++sy) {
        for (int sx = r.Left; sx < r.Right; ++sx) {
            put(dest, x + sx - r.Left, y + sy - r.Top, QColor(source.pixel(sx, sy)));
        }
    }
}

TBitmap bitmap24(const QImage &image)
{
    TBitmap bitmap;
    bitmap.setImage(image.convertToFormat(QImage::Format_BGR888), pf24bit);
    return bitmap;
}

TBitmap bitmap8(const QImage &image)
{
    QImage indexed(image.size(), QImage::Format_Indexed8);
    QList<QRgb> table;
    QHash<QRgb, int> index;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) | 0xFF000000u;
            auto it = index.find(c);
            if (it == index.end()) {
                if (table.size() == 256) {
                    throw std::runtime_error("an 8-bit picture uses more than 256 colours");
                }
                it = index.insert(c, int(table.size()));
                table.append(c);
            }
            indexed.scanLine(y)[x] = uchar(*it); // the colour table is only complete at the end
        }
    }
    indexed.setColorTable(table);
    TBitmap bitmap;
    bitmap.setImage(indexed, pf8bit);
    return bitmap;
}

TBitmap bitmap1(const QImage &inside)
{
    QImage mask(inside.size(), QImage::Format_Indexed8);
    mask.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    for (int y = 0; y < inside.height(); ++y) {
        for (int x = 0; x < inside.width(); ++x) {
            mask.scanLine(y)[x] = qGray(inside.pixel(x, y)) < 128 ? 0 : 1;
        }
    }
    TBitmap bitmap;
    bitmap.setImage(mask, pf1bit);
    return bitmap;
}

int skinColour(QColor colour)
{
    return colour.red() | colour.green() << 8 | colour.blue() << 16;
}

} // namespace pixolo
