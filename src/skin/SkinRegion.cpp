#include "skin/SkinRegion.h"

#include "skin/TbsFBitmap.h"

#include <QImage>

#include <algorithm>

namespace pixolo
{

std::vector<QRect> CreateRegionData(const QImage &Mask, int OffsetX, int OffsetY)
{
    std::vector<QRect> runs;
    if (Mask.isNull()) {
        return runs;
    }
    const TbsFBitmap bitmap(Mask);
    const int width = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uchar *row = bitmap.ScanLine(y);
        int x = 0;
        while (x < width) {
            const auto black = [row](int i) { return (row[3 * i] | row[3 * i + 1] | row[3 * i + 2]) == 0; };
            while (x < width && !black(x)) {
                ++x;
            }
            const int start = x;
            while (x < width && black(x)) {
                ++x;
            }
            if (x > start) {
                runs.emplace_back(OffsetX + start, OffsetY + y, x - start, 1);
            }
        }
    }
    return runs;
}

QRegion regionFromRuns(const std::vector<QRect> &runs)
{
    // QRegion::setRects takes the rectangles as they are: y-x sorted bands of equal height whose rectangles do
    // not touch side by side. Runs come sorted and maximal; joining consecutive rows with the same runs into one
    // band keeps a mask's rectangle count near its number of distinct rows instead of its pixel rows.
    QList<QRect> bands;
    bands.reserve(qsizetype(runs.size()));
    qsizetype previousBand = -1; // first rectangle of the band above the current row
    size_t i = 0;
    while (i < runs.size()) {
        const int y = runs[i].top();
        size_t end = i;
        while (end < runs.size() && runs[end].top() == y) {
            ++end;
        }
        const qsizetype count = qsizetype(end - i);
        bool joined = false;
        if (previousBand >= 0 && bands.size() - previousBand == count && bands[previousBand].bottom() + 1 == y) {
            joined = std::equal(runs.begin() + qsizetype(i), runs.begin() + qsizetype(end),
                bands.begin() + previousBand, [](const QRect &run, const QRect &band) {
                    return run.left() == band.left() && run.right() == band.right();
                });
        }
        if (joined) {
            for (qsizetype k = previousBand; k < bands.size(); ++k) {
                bands[k].setBottom(y);
            }
        } else {
            previousBand = bands.size();
            bands.append(QList<QRect>(runs.begin() + qsizetype(i), runs.begin() + qsizetype(end)));
        }
        i = end;
    }
    QRegion region;
    region.setRects(bands.constData(), int(bands.size()));
    return region;
}

std::optional<QRegion> CreateRgnFromMask(const QImage &Mask)
{
    if (Mask.isNull() || Mask.width() == 0 || Mask.height() == 0) {
        return std::nullopt;
    }
    return regionFromRuns(CreateRegionData(Mask, 0, 0));
}

std::optional<QRegion> CreateSkinRegion(
    const SkinCorners &Old, const SkinCorners &New, const QImage &Mask, int Width, int Height)
{
    if (New.RT.X < New.LT.X || New.LB.Y < New.LT.Y) {
        return std::nullopt;
    }
    const SkinBorderImages strips = CreateSkinBorderImages(Old, New, Mask, Width);
    if (IsNullRect(New.ClRect)) {
        return std::nullopt;
    }
    const TRect &n = New.ClRect;
    const auto part = [](const QImage &strip, int x, int y) {
        return strip.isNull() ? QRegion() : regionFromRuns(CreateRegionData(strip, x, y));
    };
    const QRegion sides = part(strips.LeftImage, 0, n.Top).united(part(strips.RightImage, n.Right, n.Top));
    const QRegion edges = part(strips.TopImage, 0, 0).united(part(strips.BottomImage, 0, n.Bottom));
    const QRegion shape = QRegion(toQRect(n)).united(sides.united(edges));
    return shape.intersected(QRect(0, 0, std::max(0, Width), std::max(0, Height)));
}

} // namespace pixolo
