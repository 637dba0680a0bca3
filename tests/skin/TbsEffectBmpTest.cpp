#include "skin/TbsEffectBmp.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace pixolo;

namespace
{

TbsEffectBmp makeBitmap(int width, int height, const std::function<BgrPixel(int, int)> &pixel)
{
    TbsEffectBmp bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.SetPixel(x, y, pixel(x, y));
        }
    }
    return bitmap;
}

TbsEffectBmp grey(int width, int height, uchar value)
{
    return makeBitmap(width, height, [value](int, int) { return BgrPixel { value, value, value }; });
}

// Column x of a one-row image holds blue = base + x (and green, red fixed), so a column tells its origin.
TbsEffectBmp columns(int width, uchar base)
{
    return makeBitmap(width, 1, [base](int x, int) { return BgrPixel { uchar(base + x), 7, 9 }; });
}

// The blue channel along the first row (or the first column).
std::vector<int> blueRow(const TbsEffectBmp &bitmap)
{
    std::vector<int> values;
    for (int x = 0; x < bitmap.Width(); ++x) {
        values.push_back(bitmap.Pixel(x, 0).Blue);
    }
    return values;
}

std::vector<int> blueColumn(const TbsEffectBmp &bitmap)
{
    std::vector<int> values;
    for (int y = 0; y < bitmap.Height(); ++y) {
        values.push_back(bitmap.Pixel(0, y).Blue);
    }
    return values;
}

bool sameImage(const TbsEffectBmp &a, const TbsEffectBmp &b)
{
    return a.Image() == b.Image();
}

} // namespace

// --- morphs -------------------------------------------------------------------------------------------------------

TEST(Blend, StartMiddleEndAndClamping)
{
    const TbsEffectBmp self = makeBitmap(3, 1, [](int x, int) { return BgrPixel { uchar(1 + 2 * x), 10, 200 }; });
    const TbsEffectBmp other = makeBitmap(3, 1, [](int x, int) { return BgrPixel { uchar(2 + 2 * x), 30, 0 }; });

    TbsEffectBmp start = self;
    start.Blend(other, 0);
    EXPECT_TRUE(sameImage(start, self));

    TbsEffectBmp middle = self;
    middle.Blend(other, 0.5);
    // Halves round to even: 1.5 → 2, 3.5 → 4, 5.5 → 6; 20 and 100 are exact.
    EXPECT_EQ(middle.Pixel(0, 0), (BgrPixel { 2, 20, 100 }));
    EXPECT_EQ(middle.Pixel(1, 0), (BgrPixel { 4, 20, 100 }));
    EXPECT_EQ(middle.Pixel(2, 0), (BgrPixel { 6, 20, 100 }));

    TbsEffectBmp end = self;
    end.Blend(other, 1);
    EXPECT_TRUE(sameImage(end, other));
    TbsEffectBmp beyond = self;
    beyond.Blend(other, 2);
    EXPECT_TRUE(sameImage(beyond, other)) << "K is clamped to 1";
    TbsEffectBmp below = self;
    below.Blend(other, -1);
    EXPECT_TRUE(sameImage(below, self));
}

TEST(Blend, HalfwayRoundsHalvesToEven)
{
    TbsEffectBmp self = grey(1, 1, 2);
    self.Blend(grey(1, 1, 3), 0.5); // 2.5 → 2
    EXPECT_EQ(self.Pixel(0, 0).Blue, 2);
}

TEST(Gradient, CentredBandOfOtherFadesOutward)
{
    const TbsEffectBmp self = grey(10, 1, 255);
    const TbsEffectBmp other = grey(10, 1, 0);
    TbsEffectBmp start = self;
    start.Gradient(other, 0); // no band; 5 fading columns a side from the centre
    EXPECT_EQ(blueRow(start), (std::vector<int> { 204, 153, 102, 51, 0, 0, 51, 102, 153, 204 }));
    TbsEffectBmp middle = self;
    middle.Gradient(other, 0.4); // band of 4 at columns 3 … 6, steps of 1/3
    EXPECT_EQ(blueRow(middle), (std::vector<int> { 170, 85, 0, 0, 0, 0, 0, 0, 85, 170 }));
    TbsEffectBmp end = self;
    end.Gradient(other, 1);
    EXPECT_TRUE(sameImage(end, other));
}

TEST(Gradient, RunsAlongRowsWhenTallerThanWide)
{
    TbsEffectBmp tall = grey(1, 10, 255);
    tall.Gradient(grey(1, 10, 0), 0.4);
    EXPECT_EQ(blueColumn(tall), (std::vector<int> { 170, 85, 0, 0, 0, 0, 0, 0, 85, 170 }));
}

TEST(Gradient, NoFadingColumnsLeftDividesByNothing)
{
    // K = 0.9 of 10 leaves one column: (10 − 9) div 2 = 0 fading steps.
    TbsEffectBmp almost = grey(10, 1, 255);
    almost.Gradient(grey(10, 1, 0), 0.9);
    EXPECT_EQ(blueRow(almost), std::vector<int>(10, 0));
}

TEST(LeftGradient, StartMiddleEnd)
{
    const TbsEffectBmp self = grey(10, 1, 255);
    const TbsEffectBmp other = grey(10, 1, 0);
    TbsEffectBmp start = self;
    start.LeftGradient(other, 0); // a is at least 1
    EXPECT_EQ(blueRow(start), (std::vector<int> { 0, 255, 255, 255, 255, 255, 255, 255, 255, 255 }));
    TbsEffectBmp middle = self;
    middle.LeftGradient(other, 0.5);
    EXPECT_EQ(blueRow(middle), (std::vector<int> { 0, 51, 102, 153, 204, 255, 255, 255, 255, 255 }));
    TbsEffectBmp end = self;
    end.LeftGradient(other, 1); // a is at most 9: steps of 1/9
    EXPECT_EQ(blueRow(end), (std::vector<int> { 0, 28, 57, 85, 113, 142, 170, 198, 227, 255 }));
}

TEST(RightGradient, StartMiddleEnd)
{
    const TbsEffectBmp self = grey(10, 1, 255);
    const TbsEffectBmp other = grey(10, 1, 0);
    TbsEffectBmp start = self;
    start.RightGradient(other, 0);
    EXPECT_EQ(blueRow(start), (std::vector<int> { 255, 255, 255, 255, 255, 255, 255, 255, 255, 0 }));
    TbsEffectBmp middle = self;
    middle.RightGradient(other, 0.5);
    EXPECT_EQ(blueRow(middle), (std::vector<int> { 255, 255, 255, 255, 255, 204, 153, 102, 51, 0 }));
    TbsEffectBmp end = self;
    end.RightGradient(other, 1); // steps of 1/10; 229.5 → 230, 178.5 → 178, 127.5 → 128
    EXPECT_EQ(blueRow(end), (std::vector<int> { 230, 204, 178, 153, 128, 102, 76, 51, 26, 0 }));
}

TEST(LeftSlide, StartMiddleEnd)
{
    const TbsEffectBmp self = columns(10, 0);
    const TbsEffectBmp other = columns(10, 100);
    TbsEffectBmp start = self;
    start.LeftSlide(other, 0); // at least one column moves
    EXPECT_EQ(blueRow(start), (std::vector<int> { 109, 1, 2, 3, 4, 5, 6, 7, 8, 9 }));
    TbsEffectBmp middle = self;
    middle.LeftSlide(other, 0.5);
    EXPECT_EQ(blueRow(middle), (std::vector<int> { 105, 106, 107, 108, 109, 5, 6, 7, 8, 9 }));
    TbsEffectBmp end = self;
    end.LeftSlide(other, 1);
    EXPECT_EQ(blueRow(end), (std::vector<int> { 101, 102, 103, 104, 105, 106, 107, 108, 109, 9 }));
}

TEST(RightSlide, StartMiddleEnd)
{
    const TbsEffectBmp self = columns(10, 0);
    const TbsEffectBmp other = columns(10, 100);
    TbsEffectBmp start = self;
    start.RightSlide(other, 0);
    EXPECT_EQ(blueRow(start), (std::vector<int> { 0, 1, 2, 3, 4, 5, 6, 7, 8, 100 }));
    TbsEffectBmp middle = self;
    middle.RightSlide(other, 0.5);
    EXPECT_EQ(blueRow(middle), (std::vector<int> { 0, 1, 2, 3, 4, 100, 101, 102, 103, 104 }));
    TbsEffectBmp end = self;
    end.RightSlide(other, 1);
    EXPECT_EQ(blueRow(end), (std::vector<int> { 0, 100, 101, 102, 103, 104, 105, 106, 107, 108 }));
}

TEST(Push, StartMiddleEnd)
{
    const TbsEffectBmp self = columns(10, 0);
    const TbsEffectBmp other = columns(10, 100);
    TbsEffectBmp start = self;
    start.Push(other, 0); // self shifts right by one, Other's last column enters
    EXPECT_EQ(blueRow(start), (std::vector<int> { 109, 0, 1, 2, 3, 4, 5, 6, 7, 8 }));
    TbsEffectBmp middle = self;
    middle.Push(other, 0.5);
    EXPECT_EQ(blueRow(middle), (std::vector<int> { 104, 105, 106, 107, 108, 109, 0, 1, 2, 3 }));
    TbsEffectBmp end = self;
    end.Push(other, 1);
    EXPECT_TRUE(sameImage(end, other));
}

TEST(Morphs, OneColumnImagesTakeOtherWithoutEmptyRanges)
{
    const TbsEffectBmp other = columns(1, 100);
    for (TMorphKind kind :
        { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush }) {
        for (double k : { 0.0, 0.5, 1.0 }) {
            TbsEffectBmp self = columns(1, 0);
            self.morph(kind, other, k);
            if (kind == mkDefault && k < 1) {
                continue; // a blend is partial before its end
            }
            EXPECT_EQ(self.Pixel(0, 0).Blue, 100) << "kind " << kind << " at " << k;
        }
    }
}

TEST(Morphs, DifferentSizesOrEmptyImagesChangeNothing)
{
    const TbsEffectBmp other = columns(9, 100);
    for (TMorphKind kind :
        { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush }) {
        TbsEffectBmp self = columns(10, 0);
        self.morph(kind, other, 0.5);
        EXPECT_TRUE(sameImage(self, columns(10, 0))) << "kind " << kind;
        TbsEffectBmp empty(0, 0);
        empty.morph(kind, TbsEffectBmp(0, 0), 0.5);
        EXPECT_EQ(empty.Width(), 0);
    }
}

// --- effects ------------------------------------------------------------------------------------------------------

class EffectTest : public testing::Test
{
protected:
    // One known pixel (blue 10, green 100, red 201) beside a white and a black one.
    TbsEffectBmp m_bitmap = makeBitmap(3, 1, [](int x, int) {
        return x == 0 ? BgrPixel { 10, 100, 201 } : x == 1 ? BgrPixel { 255, 255, 255 } : BgrPixel {};
    });
};

TEST_F(EffectTest, BrightnessMixesTowardsWhite)
{
    m_bitmap.Brightness(0.5); // 132.5 → 132 (even), 177.5 → 178, 228
    EXPECT_EQ(m_bitmap.Pixel(0, 0), (BgrPixel { 132, 178, 228 }));
    EXPECT_EQ(m_bitmap.Pixel(1, 0), (BgrPixel { 255, 255, 255 }));
    EXPECT_EQ(m_bitmap.Pixel(2, 0), (BgrPixel { 128, 128, 128 })); // 127.5 → 128
}

TEST_F(EffectTest, DarknessScalesTowardsBlack)
{
    m_bitmap.Darkness(0.3); // 7, 70, 140.7 → 141
    EXPECT_EQ(m_bitmap.Pixel(0, 0), (BgrPixel { 7, 70, 141 }));
    EXPECT_EQ(m_bitmap.Pixel(1, 0), (BgrPixel { 178, 178, 178 })); // 178.5 → 178
}

TEST_F(EffectTest, GrayscaleWeighsRedGreenBlue)
{
    m_bitmap.Grayscale(); // 0.3 · 201 + 0.59 · 100 + 0.11 · 10 = 120.4
    EXPECT_EQ(m_bitmap.Pixel(0, 0), (BgrPixel { 120, 120, 120 }));
    EXPECT_EQ(m_bitmap.Pixel(1, 0), (BgrPixel { 255, 255, 255 }));
}

TEST_F(EffectTest, InvertTwiceRestores)
{
    const TbsEffectBmp before = m_bitmap;
    m_bitmap.Invert();
    EXPECT_EQ(m_bitmap.Pixel(0, 0), (BgrPixel { 245, 155, 54 }));
    m_bitmap.Invert();
    EXPECT_TRUE(sameImage(m_bitmap, before));
}

TEST(SplitBlur, AveragesDiagonalNeighboursInPlace)
{
    // One row: the rows above and below are the row itself. The second pixel already sees the blurred first.
    TbsEffectBmp row = makeBitmap(3, 1, [](int x, int) {
        const uchar v = x == 0 ? 0 : x == 1 ? 100 : 201;
        return BgrPixel { v, v, v };
    });
    row.SplitBlur(1);
    EXPECT_EQ(blueRow(row), (std::vector<int> { 50, 125, 163 }));

    TbsEffectBmp dot = makeBitmap(3, 3, [](int x, int y) {
        const uchar v = x == 1 && y == 1 ? 255 : 0;
        return BgrPixel { v, v, v };
    });
    dot.SplitBlur(1);
    const int expected[3][3] = { { 63, 15, 67 }, { 19, 32, 20 }, { 12, 12, 16 } }; // each sees blurred ones
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(dot.Pixel(x, y).Red, expected[y][x]) << x << "," << y;
        }
    }
}

TEST(Noise, ShiftsEachPixelByOneAmountWithinRange)
{
    TbsEffectBmp noisy = grey(8, 8, 128);
    QRandomGenerator random(42);
    noisy.Noise(50, random);
    bool changed = false;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const BgrPixel p = noisy.Pixel(x, y);
            EXPECT_EQ(p.Blue, p.Green);
            EXPECT_EQ(p.Green, p.Red);
            EXPECT_GE(p.Blue, 128 - 25);
            EXPECT_LE(p.Blue, 128 + 24);
            changed |= p.Blue != 128;
        }
    }
    EXPECT_TRUE(changed);

    TbsEffectBmp again = grey(8, 8, 128);
    QRandomGenerator same(42);
    again.Noise(50, same);
    EXPECT_TRUE(sameImage(again, noisy)) << "the random source decides everything";
}

TEST(Noise, ClampsAndIgnoresAmountsBelowTwo)
{
    TbsEffectBmp extremes = makeBitmap(2, 1, [](int x, int) { return x ? BgrPixel { 255, 255, 255 } : BgrPixel {}; });
    QRandomGenerator random(7);
    for (int i = 0; i < 20; ++i) {
        extremes.Noise(50, random); // values stay bytes; no wrap-around from 255 to 0
    }
    EXPECT_LE(extremes.Pixel(0, 0).Blue, 24 * 20);
    TbsEffectBmp flat = grey(2, 2, 9);
    flat.Noise(0);
    flat.Noise(-3);
    flat.Noise(1); // one value: r − 1 div 2 = 0
    EXPECT_TRUE(sameImage(flat, grey(2, 2, 9)));
}

TEST(InactiveEffect, UsesTheFrameStrengths)
{
    TbsEffectBmp viaKind = grey(2, 1, 100);
    viaKind.applyInactiveEffect(ieDarkness);
    TbsEffectBmp direct = grey(2, 1, 100);
    direct.Darkness(0.3);
    EXPECT_TRUE(sameImage(viaKind, direct));
    viaKind.applyInactiveEffect(ieBrightness);
    direct.Brightness(0.5);
    EXPECT_TRUE(sameImage(viaKind, direct));
}

// --- pixel access ---------------------------------------------------------------------------------------------

TEST(EffectBmpAccess, FlipToTurnsRowsUpsideDownIntoOther)
{
    const TbsEffectBmp source = makeBitmap(2, 3, [](int x, int y) { return BgrPixel { uchar(y), uchar(x), 0 }; });
    TbsEffectBmp target(1, 1);
    source.FlipTo(target);
    ASSERT_EQ(target.Width(), 2);
    ASSERT_EQ(target.Height(), 3);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(target.Pixel(1, y), (BgrPixel { uchar(2 - y), 1, 0 }));
    }
}

TEST(EffectBmpAccess, OutOfRangeReadsAreBlackAndWritesIgnored)
{
    TbsEffectBmp bitmap = grey(2, 2, 50);
    bitmap.SetPixel(2, 0, { 1, 2, 3 });
    bitmap.SetPixel(-1, 1, { 1, 2, 3 });
    bitmap.SetRow(5, QByteArray(6, 'x'));
    EXPECT_TRUE(sameImage(bitmap, grey(2, 2, 50)));
    EXPECT_EQ(bitmap.Pixel(0, 2), BgrPixel {});
    EXPECT_TRUE(bitmap.Row(-1).isEmpty());
}

TEST(EffectBmpAccess, RowsCopyOutAndInAsBgrBytes)
{
    TbsEffectBmp bitmap(3, 2);
    bitmap.SetRow(1, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b", 11)); // longer than a row
    EXPECT_EQ(bitmap.Pixel(2, 1), (BgrPixel { 7, 8, 9 }));
    EXPECT_EQ(bitmap.Row(1), QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9));
    EXPECT_EQ(bitmap.Image().pixel(2, 1), qRgb(9, 8, 7));
}

TEST(EffectBmpAccess, DrawsUnscaledAtThePoint)
{
    const TbsEffectBmp bitmap = makeBitmap(2, 2, [](int x, int y) { return BgrPixel { uchar(x), uchar(y), 200 }; });
    QImage canvas(5, 5, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        bitmap.Draw(painter, 2, 1);
    }
    EXPECT_EQ(canvas.pixel(3, 2), qRgb(200, 1, 1));
    EXPECT_EQ(canvas.pixel(4, 3), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(255, 255, 255));
}
