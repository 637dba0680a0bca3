#pragma once

#include "skin/SkinTypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

class QPainter;
class QRandomGenerator;

namespace pixolo
{

// One pixel of a TbsEffectBmp, in its byte order.
struct BgrPixel {
    uchar Blue = 0;
    uchar Green = 0;
    uchar Red = 0;

    friend bool operator==(const BgrPixel &, const BgrPixel &) = default;
};

// A 24-bit top-down pixel buffer for state transitions (morphs) and the inactive look of a frame (effects).
// Every computed channel is rounded to the nearest integer, halves to even, and clamped to 0 … 255. A morph
// mixes this image (the one shown so far) with Other (the one to reach) at progress K, and does nothing when the
// two differ in size.
class TbsEffectBmp final
{
public:
    TbsEffectBmp(int width, int height); // contents black
    explicit TbsEffectBmp(const QImage &source);

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    qsizetype Size() const { return m_image.sizeInBytes(); }

    // Pixel and row access; reads outside the image give black and writes outside it are ignored.
    BgrPixel Pixel(int x, int y) const;
    void SetPixel(int x, int y, BgrPixel pixel);
    QByteArray Row(int y) const; // Width() × 3 bytes
    void SetRow(int y, QByteArrayView bytes); // takes at most Width() × 3 bytes
    uchar *ScanLine(int y) { return m_image.scanLine(y); }
    const uchar *ScanLine(int y) const { return m_image.constScanLine(y); }

    // Draws the whole image unscaled with its top-left corner at (X, Y).
    void Draw(QPainter &Canvas, int X, int Y) const;
    // The pixels as an RGB32 image.
    QImage Image() const;

    // Morphs.
    void Blend(const TbsEffectBmp &Other, double K);
    void Gradient(const TbsEffectBmp &Other, double K);
    void LeftGradient(const TbsEffectBmp &Other, double K);
    void RightGradient(const TbsEffectBmp &Other, double K);
    void Push(const TbsEffectBmp &Other, double K);
    void LeftSlide(const TbsEffectBmp &Other, double K);
    void RightSlide(const TbsEffectBmp &Other, double K);

    // Effects on this image alone.
    void Brightness(double K);
    void Darkness(double K);
    void Grayscale();
    void Noise(int Amount);
    void Noise(int Amount, QRandomGenerator &random);
    void SplitBlur(int Amount);
    void Invert();

    // The morph of a skin's morph kind, and the inactive effect of a frame with the strengths the frame uses
    // (brightness 0.5, darkness 0.3, noise 50, split blur 1).
    void morph(TMorphKind kind, const TbsEffectBmp &Other, double K);
    void applyInactiveEffect(TbsInActiveEffect effect);

    // Other becomes this image upside down (and takes its size).
    void FlipTo(TbsEffectBmp &Other) const;

private:
    bool sameSize(const TbsEffectBmp &other) const;
    // Mixes column (or row) `line` of this image with Other's at a self weight of selfParts / parts (at most 1):
    // weight · self + (1 − weight) · other, computed exactly so that halves really are halves.
    void mixLine(const TbsEffectBmp &Other, bool columns, int line, int selfParts, int parts);
    // Copies column `from` of `source` into column `to` of this image.
    void copyColumn(const TbsEffectBmp &source, int from, int to);
    template <typename F> void forEachPixel(F &&f);

    QImage m_image; // Format_BGR888
};

} // namespace pixolo
