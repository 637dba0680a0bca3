#include "skin/SkinPaint.h"

#include "../support/Images.h"

#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <tuple>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

constexpr QRgb s_magenta = 0xFFFF00FF;

} // namespace

// --- stretch() and tile() -------------------------------------------------------------------------------------

using StretchTest = testing::TestWithParam<std::pair<QSize, QSize>>; // source, target
TEST_P(StretchTest, SamplesNearestSourcePixel) // odd ratios are where off-by-ones hide
{
    const auto [from, to] = GetParam();
    const QImage picture = coordinateImage(20, 20);
    QImage dest = filledImage(to.width() + 2, to.height() + 2, s_magenta);
    stretch(dest, QRect(QPoint(1, 1), to), picture, QRect(QPoint(2, 3), from));
    for (int y = 0; y < dest.height(); ++y) {
        for (int x = 0; x < dest.width(); ++x) {
            const bool inside = x >= 1 && y >= 1 && x <= to.width() && y <= to.height();
            if (!inside) {
                EXPECT_EQ(dest.pixel(x, y), s_magenta) << x << "," << y;
                continue;
            }
            const QPoint want(
                2 + nearest(x - 1, to.width(), from.width()), 3 + nearest(y - 1, to.height(), from.height()));
            ASSERT_EQ(sourceOf(dest.pixel(x, y)), want) << x << "," << y;
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Sizes, StretchTest,
    testing::Values(std::pair(QSize(3, 2), QSize(7, 5)), std::pair(QSize(5, 5), QSize(2, 3)),
        std::pair(QSize(4, 1), QSize(9, 1)), std::pair(QSize(1, 1), QSize(3, 3)), std::pair(QSize(7, 3), QSize(7, 3)),
        std::pair(QSize(11, 4), QSize(28, 4))));

using TileTest = testing::TestWithParam<std::pair<QSize, QSize>>; // tile, target
TEST_P(TileTest, RepeatsFromTheTargetCornerAndCutsTheLastTiles)
{
    const auto [cellSize, to] = GetParam();
    const QSize cell = cellSize; // a lambda may not name a structured binding (clang 14)
    const QImage picture = coordinateImage(12, 12);
    QImage dest = filledImage(to.width() + 3, to.height() + 1, s_magenta);
    tile(dest, QRect(QPoint(3, 1), to), picture, QRect(QPoint(4, 5), cell));
    EXPECT_TRUE(mapsTo(dest.copy(QRect(QPoint(3, 1), to)),
        [&](int x, int y) { return QPoint(4 + x % cell.width(), 5 + y % cell.height()); }));
    EXPECT_EQ(dest.pixel(2, 1), s_magenta);
    EXPECT_EQ(dest.pixel(3, 0), s_magenta);
}
INSTANTIATE_TEST_SUITE_P(Sizes, TileTest,
    testing::Values(std::pair(QSize(3, 2), QSize(7, 5)), std::pair(QSize(4, 4), QSize(2, 1)),
        std::pair(QSize(5, 3), QSize(10, 6)), std::pair(QSize(1, 1), QSize(3, 2))));

TEST(SkinPaintClipping, NeverReadsOutsideThePicture)
{
    const QImage picture = coordinateImage(4, 4);
    QImage dest = filledImage(4, 4, s_magenta);
    stretch(dest, QRect(0, 0, 4, 4), picture, QRect(2, 2, 4, 4)); // half the source lies outside
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            if (x < 2 && y < 2) {
                EXPECT_EQ(sourceOf(dest.pixel(x, y)), QPoint(2 + x, 2 + y));
            } else {
                EXPECT_EQ(dest.pixel(x, y), s_magenta) << "target pixel without source must stay: " << x << "," << y;
            }
        }
    }
}

TEST(SkinPaintClipping, NeverWritesOutsideTheDestination)
{
    const QImage picture = coordinateImage(8, 8);
    QImage dest = filledImage(3, 3, s_magenta);
    stretch(dest, QRect(-2, -1, 6, 6), picture, QRect(0, 0, 6, 6));
    EXPECT_TRUE(mapsTo(dest, [](int x, int y) { return QPoint(x + 2, y + 1); }));
    tile(dest, QRect(-3, 0, 10, 3), picture, QRect(0, 0, 4, 3)); // keeps the phase of tiles it skips
    EXPECT_TRUE(mapsTo(dest, [](int x, int y) { return QPoint((x + 3) % 4, y); }));
}

TEST(SkinPaintClipping, EmptyOrReversedRectanglesDrawNothing)
{
    const QImage picture = coordinateImage(8, 8);
    const QImage before = filledImage(6, 6, s_magenta);
    QImage dest = before;
    tile(dest, QRect(0, 0, 6, 6), picture, QRect(2, 2, 0, 3)); // zero-width tile
    tile(dest, QRect(0, 0, 6, 6), picture, QRect(2, 2, 3, 0));
    tile(dest, toQRect({ 5, 0, 1, 6 }), picture, QRect(0, 0, 2, 2)); // reversed range: no mirrored tile
    stretch(dest, toQRect({ 4, 4, 1, 1 }), picture, QRect(0, 0, 3, 3));
    stretch(dest, QRect(0, 0, 3, 3), picture, toQRect({ 3, 3, 0, 0 }));
    stretch(dest, QRect(0, 0, 3, 3), QImage(), QRect(0, 0, 3, 3));
    EXPECT_EQ(dest, before);
}

TEST(SkinPaintClipping, ConvertsOtherFormats)
{
    const QImage indexed = coordinateImage(6, 6).convertToFormat(QImage::Format_Indexed8);
    QImage dest = filledImage(3, 3, s_magenta);
    stretch(dest, QRect(0, 0, 3, 3), indexed, QRect(1, 1, 3, 3));
    QImage packed = filledImage(4, 4, s_magenta).convertToFormat(QImage::Format_BGR888);
    tile(packed, QRect(0, 0, 4, 4), indexed, QRect(1, 1, 3, 3));
    EXPECT_EQ(packed.format(), QImage::Format_RGB32) << "24-bit destinations become 32-bit";
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(dest.pixel(x, y), indexed.pixel(x + 1, y + 1));
            EXPECT_EQ(packed.pixel(x, y), indexed.pixel(x + 1, y + 1));
        }
    }
    EXPECT_EQ(packed.pixel(3, 3), indexed.pixel(1, 1));
}

TEST(SkinPaintPainter, DrawsThroughAPainterWhereTheImageFormsDraw)
{
    const QImage picture = coordinateImage(10, 10);
    QImage direct = filledImage(12, 12, s_magenta);
    tile(direct, QRect(2, 1, 9, 7), picture, QRect(1, 1, 4, 3));
    stretch(direct, QRect(0, 8, 12, 4), picture, QRect(0, 0, 5, 5));

    QImage painted = filledImage(12, 12, s_magenta);
    {
        QPainter painter(&painted);
        tile(painter, QRect(2, 1, 9, 7), picture, QRect(1, 1, 4, 3));
        stretch(painter, QRect(0, 8, 12, 4), picture, QRect(0, 0, 5, 5));
    }
    EXPECT_EQ(painted, direct);
}

// --- the three-part builders ----------------------------------------------------------------------------------

// The stored skin's [button]: skin rectangle 0,1,66,22, left-top X 10, right-top point 52,11, no bottom points.
class ButtonImageTest : public testing::Test
{
protected:
    const QImage m_picture = coordinateImage(66, 23);
    const TRect m_skin { 0, 1, 66, 22 };
    const int m_lo = 10;
    const int m_ro = 66 - 52;
};

TEST_F(ButtonImageTest, WidthHundredCopiesEndsAndTilesTheMiddle)
{
    const QImage image = CreateHSkinImage(m_lo, m_ro, m_picture, m_skin, 100, false);
    ASSERT_EQ(image.size(), QSize(100, 21));
    EXPECT_TRUE(mapsTo(image, [](int x, int y) {
        if (x < 10) {
            return QPoint(x, y + 1); // left 10 copied
        }
        if (x >= 86) {
            return QPoint(x - 34, y + 1); // right 14 copied
        }
        return QPoint(10 + (x - 10) % 42, y + 1); // 76 columns: one tile of 42, one of 34
    }));
    EXPECT_EQ(sourceOf(image.pixel(85, 0)), QPoint(43, 1)); // the cut tile ends at the middle's 34th column
}

TEST_F(ButtonImageTest, StretchScalesTheMiddle)
{
    const QImage image = CreateHSkinImage(m_lo, m_ro, m_picture, m_skin, 100, true);
    EXPECT_TRUE(mapsTo(image, [](int x, int y) {
        if (x < 10) {
            return QPoint(x, y + 1);
        }
        if (x >= 86) {
            return QPoint(x - 34, y + 1);
        }
        return QPoint(10 + nearest(x - 10, 76, 42), y + 1);
    }));
}

TEST_F(ButtonImageTest, NarrowerThanBothEndsDrawsNoMiddle)
{
    // Width 20 < 10 + 14: the right end overlaps the left, and the middle range [10, 6) is reversed.
    const QImage image = CreateHSkinImage(m_lo, m_ro, m_picture, m_skin, 20, false);
    EXPECT_TRUE(mapsTo(image, [](int x, int y) { return x < 6 ? QPoint(x, y + 1) : QPoint(x + 46, y + 1); }));
}

TEST_F(ButtonImageTest, ZeroWidthMiddleDrawsNothingBetweenTheEnds)
{
    const QImage image = CreateHSkinImage(10, 14, m_picture, { 0, 1, 24, 22 }, 50, false);
    EXPECT_TRUE(mapsTo(image, [](int x, int y) {
        return x < 10 ? QPoint(x, y + 1) : x >= 36 ? QPoint(x - 26, y + 1) : s_leftBlack;
    }));
}

TEST_F(ButtonImageTest, EndsWiderThanTheSkinAreClampedToIt)
{
    const QImage image = CreateHSkinImage(-5, 80, m_picture, m_skin, 70, false);
    EXPECT_TRUE(mapsTo(image, [](int x, int y) { return x >= 4 ? QPoint(x - 4, y + 1) : s_leftBlack; }));
}

TEST_F(ButtonImageTest, EmptyPictureGivesASizedBlackImage)
{
    const QImage image = CreateHSkinImage(m_lo, m_ro, QImage(), m_skin, 100, false);
    EXPECT_EQ(image.size(), QSize(100, 21));
    EXPECT_TRUE(mapsTo(image, [](int, int) { return s_leftBlack; }));
    EXPECT_TRUE(CreateHSkinImage(m_lo, m_ro, m_picture, m_skin, 0, false).isNull());
}

TEST(VSkinImage, CopiesTopAndBottomAndTilesTheMiddleDown)
{
    const QImage picture = coordinateImage(7, 30);
    const QImage image = CreateVSkinImage(4, 6, picture, { 1, 2, 6, 27 }, 40, false);
    ASSERT_EQ(image.size(), QSize(5, 40));
    EXPECT_TRUE(mapsTo(image, [](int x, int y) {
        const int sy = y < 4 ? y : y >= 34 ? y - 15 : 4 + (y - 4) % 15;
        return QPoint(x + 1, sy + 2);
    }));
}

// --- the four-corner builder ----------------------------------------------------------------------------------

// A 30 × 24 skin at (2, 3) of its picture, shaped like the form's: corner points inside the client rectangle.
class SkinImageTest : public testing::Test
{
protected:
    const QImage m_picture = coordinateImage(35, 30);
    const TRect m_skin { 2, 3, 32, 27 };
    const SkinCorners m_old { { 9, 8 }, { 20, 8 }, { 9, 16 }, { 20, 16 }, { 5, 6, 24, 19 } };
    const int m_width = 47; // 17 wider
    const int m_height = 37; // 13 higher
    const SkinCorners m_new = m_old.grownBy(17, 13);

    // Where each pixel of the 47 × 37 image comes from, relative to the skin rectangle.
    static QPoint expected(int x, int y, bool client)
    {
        const auto across = [](int x) { return x < 9 ? x : x >= 37 ? x - 17 : 9 + (x - 9) % 11; };
        const auto down = [](int y) { return y < 8 ? y : y >= 29 ? y - 13 : 8 + (y - 8) % 8; };
        QPoint p;
        if (y < 6) {
            p = QPoint(across(x), y);
        } else if (y >= 32) {
            p = QPoint(across(x), y - 13);
        } else if (x < 5) {
            p = QPoint(x, down(y));
        } else if (x >= 41) {
            p = QPoint(x - 17, down(y));
        } else if (client) {
            p = QPoint(5 + (x - 5) % 19, 6 + (y - 6) % 13);
        } else {
            return s_leftBlack;
        }
        return p + QPoint(2, 3);
    }
};

TEST_F(SkinImageTest, CopiesCornersAndTilesEdgesAndClient)
{
    const QImage image = CreateSkinImage(m_old, m_new, m_picture, m_skin, m_width, m_height, true);
    ASSERT_EQ(image.size(), QSize(47, 37));
    EXPECT_TRUE(mapsTo(image, [](int x, int y) { return expected(x, y, true); }));
}

TEST_F(SkinImageTest, LeavesTheClientUndrawnWithoutDrawClient)
{
    const QImage image = CreateSkinImage(m_old, m_new, m_picture, m_skin, m_width, m_height, false);
    EXPECT_TRUE(mapsTo(image, [](int x, int y) { return expected(x, y, false); }));
}

TEST_F(SkinImageTest, StretchesOnlyTheFlaggedEdge)
{
    const QImage image
        = CreateStretchSkinImage(m_old, m_new, m_picture, m_skin, m_width, m_height, false, false, true, false, false);
    EXPECT_TRUE(mapsTo(image, [](int x, int y) {
        if (y < 6 && x >= 9 && x < 37) {
            return QPoint(9 + nearest(x - 9, 28, 11), y) + QPoint(2, 3);
        }
        return expected(x, y, false);
    }));
}

TEST_F(SkinImageTest, SameSizeReproducesTheSkin)
{
    const QImage image = CreateSkinImage(m_old, m_old, m_picture, m_skin, 30, 24, true);
    EXPECT_EQ(image, m_picture.copy(toQRect(m_skin)));
}

TEST_F(SkinImageTest, StopsWhenRightBottomSharesAnAxisWithLeftTop)
{
    SkinCorners flat = m_old;
    flat.RB.Y = flat.LT.Y;
    const QImage image = CreateSkinImage(flat, flat.grownBy(17, 13), m_picture, m_skin, m_width, m_height, true);
    EXPECT_EQ(image.size(), QSize(47, 37));
    EXPECT_TRUE(mapsTo(image, [](int, int) { return s_leftBlack; }));
}

TEST_F(SkinImageTest, ZeroLengthBandIsSkippedAndTheRestDrawn)
{
    SkinCorners odd = m_old;
    odd.RT.X = odd.LT.X; // top band of length 0, RB still apart from LT
    const SkinCorners grown = odd.grownBy(17, 13);
    const QImage image = CreateSkinImage(odd, grown, m_picture, m_skin, m_width, m_height, true);
    EXPECT_EQ(image.pixel(12, 2) & 0xFFFFFF, 0u) << "nothing tiled from an empty band";
    EXPECT_EQ(sourceOf(image.pixel(30, 2)), QPoint(30 - 17, 2) + QPoint(2, 3)); // corner c moved with RT
    EXPECT_EQ(sourceOf(image.pixel(20, 35)), QPoint(9 + 11 % 11, 22) + QPoint(2, 3)); // bottom band intact
}

TEST_F(SkinImageTest, SmallerThanTheCornersDrawsNoNegativeTiles)
{
    const SkinCorners shrunk = m_old.grownBy(-25, -20); // new RT left of LT, client inside out
    const QImage image = CreateSkinImage(m_old, shrunk, m_picture, m_skin, 5, 4, true);
    EXPECT_EQ(image.size(), QSize(5, 4));
    // Every corner piece lands partly on the 5 × 4 image; g, copied last, wins at the origin.
    EXPECT_EQ(sourceOf(image.pixel(0, 0)), QPoint(25, 20) + QPoint(2, 3));
    EXPECT_TRUE(CreateSkinImage(m_old, shrunk, m_picture, m_skin, -5, 4, true).isNull());
}

TEST_F(SkinImageTest, EmptyClientWithDrawClientDrawsNoClient)
{
    SkinCorners noClient = m_old;
    noClient.ClRect.Right = noClient.ClRect.Left;
    const QImage image = CreateSkinImage(noClient, noClient.grownBy(17, 13), m_picture, m_skin, 47, 37, true);
    EXPECT_EQ(image.pixel(20, 20) & 0xFFFFFF, 0u);
}

TEST_F(SkinImageTest, EmptyPictureGivesASizedBlackImage)
{
    const QImage image = CreateSkinImage(m_old, m_new, QImage(), m_skin, m_width, m_height, true);
    EXPECT_EQ(image.size(), QSize(47, 37));
    EXPECT_TRUE(mapsTo(image, [](int, int) { return s_leftBlack; }));
}

// --- nine-piece stretching -------------------------------------------------------------------------------------

class NineImageTest : public testing::Test
{
protected:
    const QImage m_picture = coordinateImage(12, 12);
    const TRect m_skin { 1, 1, 10, 10 }; // 9 × 9
    const TRect m_client { 3, 3, 6, 6 }; // 3-pixel corners and edges
};

TEST_F(NineImageTest, KeepsCornersAndScalesEdgesAndCentre)
{
    QImage dest(17, 13, QImage::Format_RGB32); // 8 wider, 4 higher
    dest.fill(s_magenta);
    CreateStretchNineImage(dest, m_picture, m_skin, m_client);
    EXPECT_TRUE(mapsTo(dest, [](int x, int y) {
        const int sx = x < 3 ? x : x >= 14 ? x - 8 : 3 + nearest(x - 3, 11, 3);
        const int sy = y < 3 ? y : y >= 10 ? y - 4 : 3 + nearest(y - 3, 7, 3);
        return QPoint(sx + 1, sy + 1);
    }));
}

TEST_F(NineImageTest, ShrinksEdgesAndCentre)
{
    QImage dest(7, 7, QImage::Format_RGB32);
    CreateStretchNineImage(dest, m_picture, m_skin, m_client);
    EXPECT_TRUE(mapsTo(dest, [](int x, int y) {
        const auto map = [](int v) { return v < 3 ? v : v >= 4 ? v + 2 : 3 + nearest(0, 1, 3); };
        return QPoint(map(x) + 1, map(y) + 1);
    }));
}

TEST_F(NineImageTest, SmallerThanTheCornersOverlapsThemInOrder)
{
    QImage dest(5, 5, QImage::Format_RGB32);
    CreateStretchNineImage(dest, m_picture, m_skin, m_client);
    EXPECT_EQ(sourceOf(dest.pixel(0, 0)), QPoint(1, 1)); // top-left, untouched by later corners
    EXPECT_EQ(sourceOf(dest.pixel(4, 4)), QPoint(9, 9)); // bottom-right
    QImage none;
    CreateStretchNineImage(none, m_picture, m_skin, m_client); // a destination without size stays so
    EXPECT_TRUE(none.isNull());
}

TEST_F(NineImageTest, DrawFramedPaintsTheNineImageAtTheTarget)
{
    QImage expectedImage(17, 13, QImage::Format_RGB32);
    CreateStretchNineImage(expectedImage, m_picture, m_skin, m_client);
    QImage canvas = filledImage(20, 15, s_magenta);
    {
        QPainter painter(&canvas);
        drawFramed(painter, QRect(2, 1, 17, 13), m_picture, m_skin, m_client);
    }
    EXPECT_EQ(canvas.copy(2, 1, 17, 13), expectedImage);
    EXPECT_EQ(canvas.pixel(1, 1), s_magenta);
    EXPECT_EQ(canvas.pixel(19, 14), s_magenta);
}

// --- border strips ---------------------------------------------------------------------------------------------

class BorderImagesTest : public testing::Test
{
protected:
    const QImage m_picture = coordinateImage(30, 24);
    const TRect m_skin { 0, 0, 30, 24 };
    const SkinCorners m_old { { 9, 8 }, { 20, 8 }, { 9, 16 }, { 20, 16 }, { 5, 6, 24, 19 } };
    const SkinCorners m_new = m_old.grownBy(17, 13);

    SkinBorderImages build(bool left, bool top, bool right, bool bottom) const
    {
        return CreateStretchSkinBorderImages(m_old, m_new, m_picture, m_skin, 47, 37, left, top, right, bottom);
    }
};

TEST_F(BorderImagesTest, StripsFrameTheClientArea)
{
    const SkinBorderImages strips = build(false, false, false, false);
    EXPECT_EQ(strips.TopImage.size(), QSize(47, 6));
    EXPECT_EQ(strips.BottomImage.size(), QSize(47, 5));
    EXPECT_EQ(strips.LeftImage.size(), QSize(5, 26));
    EXPECT_EQ(strips.RightImage.size(), QSize(6, 26));
}

TEST_F(BorderImagesTest, TiledStripsStartTheirTilesAtZero)
{
    const SkinBorderImages strips = build(false, false, false, false);
    const auto across = [](int x) { return x < 9 ? x : x >= 37 ? x - 17 : 9 + x % 11; };
    const auto down = [](int y) { return y < 2 ? y + 6 : y >= 23 ? y - 7 : 8 + y % 8; };
    EXPECT_TRUE(mapsTo(strips.TopImage, [&](int x, int y) { return QPoint(across(x), y); }));
    EXPECT_TRUE(mapsTo(strips.BottomImage, [&](int x, int y) { return QPoint(across(x), 19 + y); }));
    EXPECT_TRUE(mapsTo(strips.LeftImage, [&](int x, int y) { return QPoint(x, down(y)); }));
    EXPECT_TRUE(mapsTo(strips.RightImage, [&](int x, int y) { return QPoint(24 + x, down(y)); }));
}

TEST_F(BorderImagesTest, StretchedStripsScaleBetweenTheNewCornerPoints)
{
    const SkinBorderImages strips = build(true, true, false, false);
    EXPECT_TRUE(mapsTo(strips.TopImage, [](int x, int y) {
        return QPoint(x < 9 ? x : x >= 37 ? x - 17 : 9 + nearest(x - 9, 28, 11), y);
    }));
    EXPECT_TRUE(mapsTo(strips.LeftImage, [](int x, int y) {
        return QPoint(x, y < 2 ? y + 6 : y >= 23 ? y - 7 : 8 + nearest(y - 2, 21, 8));
    }));
}

TEST_F(BorderImagesTest, ProgramFormFrameAtMainWindowSize)
{
    // The form picture 176 × 147 with client 15,33,163,124 around a 729 × 467 client.
    const SkinCorners form { { 48, 35 }, { 99, 34 }, { 20, 117 }, { 141, 117 }, { 15, 33, 163, 124 } };
    const SkinBorderImages strips = CreateStretchSkinBorderImages(form, form.grownBy(757 - 176, 523 - 147),
        filledImage(176, 147, 0xFF336699), { 0, 0, 176, 147 }, 757, 523, false, false, false, false);
    EXPECT_EQ(strips.TopImage.size(), QSize(757, 33));
    EXPECT_EQ(strips.LeftImage.size(), QSize(15, 467));
    EXPECT_EQ(strips.RightImage.size(), QSize(13, 467));
    EXPECT_EQ(strips.BottomImage.size(), QSize(757, 23));
}

TEST_F(BorderImagesTest, StripsWithoutSizeOrBandAreNotBuilt)
{
    SkinCorners noTopBand = m_old;
    noTopBand.RT.X = noTopBand.LT.X;
    const SkinBorderImages strips = CreateStretchSkinBorderImages(
        noTopBand, noTopBand.grownBy(17, 13), m_picture, m_skin, 47, 32, false, false, false, false);
    EXPECT_TRUE(strips.TopImage.isNull());
    EXPECT_TRUE(strips.BottomImage.isNull()) << "height 32 leaves no room below the client";
    EXPECT_EQ(strips.LeftImage.size(), QSize(5, 26));
}

// --- parent image ----------------------------------------------------------------------------------------------

namespace
{

class ColourfulParent final : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        for (int y = 0; y < height(); ++y) {
            for (int x = 0; x < width(); ++x) {
                painter.fillRect(x, y, 1, 1, QColor::fromRgb(coordinateColour(x, y)));
            }
        }
    }
};

} // namespace

TEST(ParentImage, CopiesTheParentAreaBehindTheControl)
{
    ColourfulParent parent;
    parent.resize(30, 20);
    QWidget child(&parent);
    child.setGeometry(5, 4, 8, 6);
    QImage canvas = filledImage(8, 6, s_magenta);
    {
        QPainter painter(&canvas);
        DrawParentImage(&child, painter);
    }
    EXPECT_TRUE(mapsTo(canvas, [](int x, int y) { return QPoint(x + 5, y + 4); }));

    QWidget orphan;
    QImage untouched = filledImage(4, 4, s_magenta);
    {
        QPainter painter(&untouched);
        DrawParentImage(&orphan, painter);
        DrawParentImage(nullptr, painter);
    }
    EXPECT_EQ(untouched, filledImage(4, 4, s_magenta));
}
