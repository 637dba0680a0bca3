#include "skin/SkinRegion.h"

#include "skin/TbsFBitmap.h"

#include "../support/Images.h"

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

// The same shape built pixel by pixel with Qt's own region arithmetic.
QRegion referenceRegion(const QImage &mask, QPoint offset = {})
{
    QRegion region;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if ((mask.pixel(x, y) & 0xFFFFFF) == 0) {
                region += QRect(offset.x() + x, offset.y() + y, 1, 1);
            }
        }
    }
    return region;
}

// Regions of the same shape may hold different rectangle lists; compare the covered pixels.
::testing::AssertionResult sameShape(const QRegion &a, const QRegion &b)
{
    const QRegion difference = a.xored(b);
    if (difference.isEmpty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "shapes differ within " << difference.boundingRect().x() << ","
                                         << difference.boundingRect().y() << " " << difference.boundingRect().width()
                                         << "x" << difference.boundingRect().height();
}

} // namespace

TEST(RegionData, BlackWhiteBlackRowGivesTwoRectangles)
{
    const std::vector<QRect> runs = CreateRegionData(picture({ "#.#" }), 0, 0);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], QRect(0, 0, 1, 1));
    EXPECT_EQ(runs[1], QRect(2, 0, 1, 1));
}

TEST(RegionData, RunsAreMaximalPerRowAndOffset)
{
    const std::vector<QRect> runs = CreateRegionData(picture({ "..###.##", "########" }), 10, 20);
    const std::vector<QRect> expected { QRect(12, 20, 3, 1), QRect(16, 20, 2, 1), QRect(10, 21, 8, 1) };
    EXPECT_EQ(runs, expected);
}

TEST(RegionData, OnlyPureBlackIsInside)
{
    QImage mask = filledImage(4, 1, qRgb(0, 0, 0));
    mask.setPixel(1, 0, qRgb(0, 0, 1));
    mask.setPixel(2, 0, qRgb(1, 0, 0));
    const std::vector<QRect> runs = CreateRegionData(mask, 0, 0);
    const std::vector<QRect> expected { QRect(0, 0, 1, 1), QRect(3, 0, 1, 1) };
    EXPECT_EQ(runs, expected);
}

TEST(RegionData, HasNoCapOnTheRectangleCount)
{
    // Alternating columns: 101 runs a row, 10100 in all.
    QImage mask = filledImage(201, 100, qRgb(255, 255, 255));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 201; x += 2) {
            mask.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    EXPECT_EQ(CreateRegionData(mask, 0, 0).size(), 10100u);
    const std::optional<QRegion> region = CreateRgnFromMask(mask);
    ASSERT_TRUE(region);
    EXPECT_EQ(region->rectCount(), 101); // equal rows joined into one band
    EXPECT_TRUE(region->contains(QPoint(200, 99)));
    EXPECT_FALSE(region->contains(QPoint(199, 99)));
}

TEST(RgnFromMask, EqualsTheShapeBuiltPixelByPixel)
{
    const QImage mask = picture({
        "..####..",
        ".######.",
        "########",
        "########",
        "###..###",
        "###..###",
        ".######.",
    });
    const std::optional<QRegion> region = CreateRgnFromMask(mask);
    ASSERT_TRUE(region);
    EXPECT_TRUE(sameShape(*region, referenceRegion(mask)));
    EXPECT_TRUE(sameShape(regionFromRuns(CreateRegionData(mask, 3, 4)), referenceRegion(mask, QPoint(3, 4))));
    EXPECT_EQ(region->rectCount(), 6) << "equal rows share one band";
}

TEST(RgnFromMask, ReadsOneBitMasks)
{
    QImage mono(5, 2, QImage::Format_Mono);
    mono.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    mono.fill(1);
    mono.setPixel(1, 0, 0);
    mono.setPixel(2, 0, 0);
    mono.setPixel(4, 1, 0);
    const std::optional<QRegion> region = CreateRgnFromMask(mono);
    ASSERT_TRUE(region);
    EXPECT_TRUE(sameShape(*region, QRegion(1, 0, 2, 1) + QRegion(4, 1, 1, 1)));
}

TEST(RgnFromMask, EmptyMaskGivesNoRegionAndWhiteMaskAnEmptyOne)
{
    EXPECT_FALSE(CreateRgnFromMask(QImage()));
    EXPECT_TRUE(CreateRegionData(QImage(), 0, 0).empty());
    const std::optional<QRegion> white = CreateRgnFromMask(filledImage(3, 3, qRgb(255, 255, 255)));
    ASSERT_TRUE(white);
    EXPECT_TRUE(white->isEmpty());
}

TEST(FBitmap, RowsAreFourByteAlignedBgrTriples)
{
    QImage source = filledImage(5, 2, qRgb(10, 20, 30));
    const TbsFBitmap bitmap(source);
    EXPECT_EQ(bitmap.RowGap(), 1);
    EXPECT_EQ(bitmap.RowStride(), 16);
    EXPECT_EQ(bitmap.Size(), 32);
    EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), bitmap.RowStride());
    const uchar *pixel = bitmap.ScanLine(1) + 3 * 4;
    EXPECT_EQ(pixel[0], 30);
    EXPECT_EQ(pixel[1], 20);
    EXPECT_EQ(pixel[2], 10);
    EXPECT_FALSE(bitmap.isBlack(-1, 0)) << "outside the picture nothing is black";
    EXPECT_FALSE(bitmap.isBlack(5, 0));
}

// A 12 × 10 mask with two cut-away top corners and a notch, cut for a window 8 wider and 3 higher.
class SkinRegionTest : public testing::Test
{
protected:
    const QImage m_mask = picture({
        ".####.#####.",
        "############",
        "############",
        "############",
        "############",
        "############",
        "############",
        "############",
        "############",
        "###########.",
    });
    const SkinCorners m_old { { 4, 4 }, { 8, 4 }, { 4, 6 }, { 8, 6 }, { 2, 2, 10, 8 } };
};

TEST_F(SkinRegionTest, MaskStripsTileFromTheNewCornerPoints)
{
    const SkinBorderImages strips = CreateSkinBorderImages(m_old, m_old.grownBy(8, 3), m_mask, 20);
    // Top: corners at 0 and at new RT.X 16, the band [4, 8) tiled from new LT.X 4 with its outside pixel at 5.
    EXPECT_EQ(inkRows(strips.TopImage, qRgb(0, 0, 0)), rowsOf({ ".####.###.###.#####.", "####################" }));
    EXPECT_EQ(inkRows(strips.BottomImage, qRgb(0, 0, 0)), rowsOf({ "####################", "###################." }));
    EXPECT_EQ(strips.LeftImage.size(), QSize(2, 9));
    EXPECT_EQ(strips.RightImage.size(), QSize(2, 9));
}

TEST_F(SkinRegionTest, UnitesClientAndStripShapes)
{
    const std::optional<QRegion> region = CreateSkinRegion(m_old, m_old.grownBy(8, 3), m_mask, 20, 13);
    ASSERT_TRUE(region);
    // Corners stay at the ends, the notch of the tiled band [4, 8) recurs every 4 columns from x 4.
    QRegion expected = QRegion(0, 0, 20, 13) - QRegion(19, 12, 1, 1);
    for (int x : { 0, 5, 9, 13, 19 }) {
        expected -= QRegion(x, 0, 1, 1);
    }
    EXPECT_TRUE(sameShape(*region, expected));
}

TEST_F(SkinRegionTest, SameSizeGivesTheMaskShape)
{
    const std::optional<QRegion> region = CreateSkinRegion(m_old, m_old, m_mask, 12, 10);
    ASSERT_TRUE(region);
    EXPECT_TRUE(sameShape(*region, *CreateRgnFromMask(m_mask)));
}

TEST_F(SkinRegionTest, NoRegionWhenSmallerThanTheCornersOrWithoutClient)
{
    EXPECT_FALSE(CreateSkinRegion(m_old, m_old.grownBy(-5, 0), m_mask, 7, 10)); // new RT left of LT
    EXPECT_FALSE(CreateSkinRegion(m_old, m_old.grownBy(0, -3), m_mask, 12, 7)); // new LB above LT
    SkinCorners noClient = m_old;
    noClient.ClRect = { 2, 2, 2, 8 };
    EXPECT_FALSE(CreateSkinRegion(noClient, noClient, m_mask, 12, 10));
}

TEST_F(SkinRegionTest, ZeroLengthSideBandLeavesTheSideOutside)
{
    SkinCorners flat = m_old;
    flat.LB.Y = flat.LT.Y; // left band [4, 4): only the copied head and tail rows of the left strip
    const std::optional<QRegion> region = CreateSkinRegion(flat, flat.grownBy(0, 3), m_mask, 12, 13);
    ASSERT_TRUE(region);
    // The left strip covers window rows 2 … 10: the head (mask rows 2, 3) at its top, the tail (mask rows 4 … 7)
    // at its bottom, and nothing tiled between them, so window rows 4 … 6 stay outside.
    EXPECT_TRUE(region->contains(QPoint(0, 2)));
    EXPECT_FALSE(region->contains(QPoint(0, 5)));
    EXPECT_TRUE(region->contains(QPoint(2, 5))) << "the client is always inside";
}
