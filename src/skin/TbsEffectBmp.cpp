#include "skin/TbsEffectBmp.h"

#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pixolo
{

namespace
{

// Round to nearest with halves to even (the default floating-point rounding mode), then clamp to a byte.
uchar channel(double value)
{
    return uchar(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

// numerator / denominator (both ≥ 0, denominator > 0) rounded halves to even; exact, unlike a double weight.
uchar rationalChannel(int numerator, int denominator)
{
    int quotient = numerator / denominator;
    const int twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 == 1)) {
        ++quotient;
    }
    return uchar(std::clamp(quotient, 0, 255));
}

int roundedInt(double value)
{
    const double r = std::nearbyint(value);
    // Keep far-out progress values from overflowing the conversion; every caller clamps afterwards.
    return int(std::clamp(r, -1.0e9, 1.0e9));
}

// Clamp into [low, high], where a range that is empty (high < low, a one-column image) collapses to low.
int clampRange(int value, int low, int high)
{
    return std::clamp(value, low, std::max(low, high));
}

} // namespace

template <typename F> void TbsEffectBmp::forEachPixel(F &&f)
{
    for (int y = 0; y < Height(); ++y) {
        uchar *p = m_image.scanLine(y);
        for (int x = 0; x < Width(); ++x, p += 3) {
            f(p);
        }
    }
}

TbsEffectBmp::TbsEffectBmp(int width, int height)
    : m_image(std::max(0, width), std::max(0, height), QImage::Format_BGR888)
{
    m_image.fill(Qt::black);
}

TbsEffectBmp::TbsEffectBmp(const QImage &source)
    : m_image(source.isNull() ? QImage() : source.convertToFormat(QImage::Format_BGR888))
{
}

BgrPixel TbsEffectBmp::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return {};
    }
    const uchar *p = ScanLine(y) + 3 * x;
    return { p[0], p[1], p[2] };
}

void TbsEffectBmp::SetPixel(int x, int y, BgrPixel pixel)
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return;
    }
    uchar *p = ScanLine(y) + 3 * x;
    p[0] = pixel.Blue;
    p[1] = pixel.Green;
    p[2] = pixel.Red;
}

QByteArray TbsEffectBmp::Row(int y) const
{
    if (y < 0 || y >= Height()) {
        return {};
    }
    return QByteArray(reinterpret_cast<const char *>(ScanLine(y)), qsizetype(Width()) * 3);
}

void TbsEffectBmp::SetRow(int y, QByteArrayView bytes)
{
    if (y < 0 || y >= Height()) {
        return;
    }
    std::memcpy(ScanLine(y), bytes.data(), size_t(std::min<qsizetype>(bytes.size(), qsizetype(Width()) * 3)));
}

void TbsEffectBmp::Draw(QPainter &Canvas, int X, int Y) const
{
    Canvas.drawImage(X, Y, m_image);
}

QImage TbsEffectBmp::Image() const
{
    return m_image.convertToFormat(QImage::Format_RGB32);
}

bool TbsEffectBmp::sameSize(const TbsEffectBmp &other) const
{
    return m_image.size() == other.m_image.size() && !m_image.isNull();
}

void TbsEffectBmp::mixLine(const TbsEffectBmp &Other, bool columns, int line, int selfParts, int parts)
{
    selfParts = std::min(selfParts, parts);
    const int count = columns ? Height() : Width();
    for (int i = 0; i < count; ++i) {
        const int x = columns ? line : i;
        const int y = columns ? i : line;
        uchar *p = ScanLine(y) + 3 * x;
        const uchar *o = Other.ScanLine(y) + 3 * x;
        for (int c = 0; c < 3; ++c) {
            p[c] = rationalChannel(selfParts * p[c] + (parts - selfParts) * o[c], parts);
        }
    }
}

void TbsEffectBmp::copyColumn(const TbsEffectBmp &source, int from, int to)
{
    for (int y = 0; y < Height(); ++y) {
        std::memcpy(ScanLine(y) + 3 * to, source.ScanLine(y) + 3 * from, 3);
    }
}

void TbsEffectBmp::Blend(const TbsEffectBmp &Other, double K)
{
    if (!sameSize(Other)) {
        return;
    }
    K = std::clamp(K, 0.0, 1.0);
    for (int y = 0; y < Height(); ++y) {
        uchar *p = ScanLine(y);
        const uchar *o = Other.ScanLine(y);
        for (int i = 0; i < Width() * 3; ++i) {
            p[i] = channel((1.0 - K) * p[i] + K * o[i]);
        }
    }
}

void TbsEffectBmp::Gradient(const TbsEffectBmp &Other, double K)
{
    if (!sameSize(Other)) {
        return;
    }
    // Along the longer side: a centred band takes Other, and the self weight rises outward from its edges.
    const bool columns = Width() >= Height();
    const int length = columns ? Width() : Height();
    const int a = std::clamp(roundedInt(length * K), 0, length);
    const int start = (length - a) / 2;
    // Self weight grows by 1 / fade per column. When (length − a) div 2 is 0 at most one column is left, next to
    // the band, where the weight is still 0: any non-zero divisor gives that.
    const int fade = std::max(1, (length - a) / 2);
    for (int line = start; line < start + a; ++line) {
        mixLine(Other, columns, line, 0, 1);
    }
    for (int line = start - 1; line >= 0; --line) {
        mixLine(Other, columns, line, start - 1 - line, fade);
    }
    for (int line = start + a; line < length; ++line) {
        mixLine(Other, columns, line, line - start - a, fade);
    }
}

void TbsEffectBmp::LeftGradient(const TbsEffectBmp &Other, double K)
{
    if (!sameSize(Other)) {
        return;
    }
    const int a = clampRange(roundedInt(Width() * K), 1, Width() - 1);
    for (int x = 0; x <= a && x < Width(); ++x) {
        mixLine(Other, true, x, x, a); // a ≥ 1
    }
}

void TbsEffectBmp::RightGradient(const TbsEffectBmp &Other, double K)
{
    if (!sameSize(Other)) {
        return;
    }
    const int a = clampRange(Width() - roundedInt(Width() * K), 0, Width() - 1);
    for (int x = Width() - 1; x >= a; --x) {
        mixLine(Other, true, x, Width() - 1 - x, Width() - a); // a ≤ Width() − 1, so the step is defined
    }
}

void TbsEffectBmp::LeftSlide(const TbsEffectBmp &Other, double K)
{
    if (!sameSize(Other)) {
        return;
    }
    // At least one column moves, even at K = 0.
    const int b = std::min(clampRange(roundedInt(Width() * K), 1, Width() - 1), Width());
    for (int x = 0; x < b; ++x) {
        copyColumn(Other, Width() - b + x, x);
    }
}

void TbsEffectBmp::RightSlide(const TbsEffectBmp &Other, double K)
{
    if (!sameSize(Other)) {
        return;
    }
    const int b = std::min(clampRange(roundedInt(Width() * K), 1, Width() - 1), Width());
    for (int x = 0; x < b; ++x) {
        copyColumn(Other, x, Width() - b + x);
    }
}

void TbsEffectBmp::Push(const TbsEffectBmp &Other, double K)
{
    if (!sameSize(Other)) {
        return;
    }
    const int a = clampRange(roundedInt(Width() * K), 0, Width() - 1);
    // Shift right by a + 1 in place: right to left, so every column is read before it is overwritten.
    for (int x = Width() - 1; x > a; --x) {
        copyColumn(*this, x - a - 1, x);
    }
    for (int x = 0; x <= a; ++x) {
        copyColumn(Other, Width() - a - 1 + x, x);
    }
}

void TbsEffectBmp::Brightness(double K)
{
    forEachPixel([K](uchar *p) {
        for (int c = 0; c < 3; ++c) {
            p[c] = channel((1.0 - K) * p[c] + K * 255.0);
        }
    });
}

void TbsEffectBmp::Darkness(double K)
{
    forEachPixel([K](uchar *p) {
        for (int c = 0; c < 3; ++c) {
            p[c] = channel((1.0 - K) * p[c]);
        }
    });
}

void TbsEffectBmp::Grayscale()
{
    forEachPixel([](uchar *p) {
        const uchar grey = channel(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
        p[0] = p[1] = p[2] = grey;
    });
}

void TbsEffectBmp::Noise(int Amount)
{
    Noise(Amount, *QRandomGenerator::global());
}

void TbsEffectBmp::Noise(int Amount, QRandomGenerator &random)
{
    if (Amount <= 0) {
        return;
    }
    forEachPixel([&random, Amount](uchar *p) {
        const int delta = int(random.bounded(Amount)) - Amount / 2;
        for (int c = 0; c < 3; ++c) {
            p[c] = uchar(std::clamp(p[c] + delta, 0, 255));
        }
    });
}

void TbsEffectBmp::SplitBlur(int Amount)
{
    // In place, so pixels above and to the left have already been blurred when they are read.
    for (int y = 0; y < Height(); ++y) {
        const int up = y - Amount >= 0 && y - Amount < Height() ? y - Amount : y;
        const int down = y + Amount >= 0 && y + Amount < Height() ? y + Amount : y;
        for (int x = 0; x < Width(); ++x) {
            const int left = x - Amount >= 0 && x - Amount < Width() ? x - Amount : x;
            const int right = x + Amount >= 0 && x + Amount < Width() ? x + Amount : x;
            const uchar *n[4] = { ScanLine(up) + 3 * left, ScanLine(up) + 3 * right, ScanLine(down) + 3 * left,
                ScanLine(down) + 3 * right };
            uchar *p = ScanLine(y) + 3 * x;
            for (int c = 0; c < 3; ++c) {
                p[c] = uchar((n[0][c] + n[1][c] + n[2][c] + n[3][c]) / 4);
            }
        }
    }
}

void TbsEffectBmp::Invert()
{
    forEachPixel([](uchar *p) {
        for (int c = 0; c < 3; ++c) {
            p[c] = uchar(255 - p[c]);
        }
    });
}

void TbsEffectBmp::morph(TMorphKind kind, const TbsEffectBmp &Other, double K)
{
    switch (kind) {
    case mkDefault:
        Blend(Other, K);
        break;
    case mkGradient:
        Gradient(Other, K);
        break;
    case mkLeftGradient:
        LeftGradient(Other, K);
        break;
    case mkRightGradient:
        RightGradient(Other, K);
        break;
    case mkLeftSlide:
        LeftSlide(Other, K);
        break;
    case mkRightSlide:
        RightSlide(Other, K);
        break;
    case mkPush:
        Push(Other, K);
        break;
    }
}

void TbsEffectBmp::applyInactiveEffect(TbsInActiveEffect effect)
{
    switch (effect) {
    case ieBrightness:
        Brightness(0.5);
        break;
    case ieDarkness:
        Darkness(0.3);
        break;
    case ieGrayscale:
        Grayscale();
        break;
    case ieNoise:
        Noise(50);
        break;
    case ieSplitBlur:
        SplitBlur(1);
        break;
    case ieInvert:
        Invert();
        break;
    }
}

void TbsEffectBmp::FlipTo(TbsEffectBmp &Other) const
{
    Other.m_image = m_image.mirrored(false, true);
}

} // namespace pixolo
