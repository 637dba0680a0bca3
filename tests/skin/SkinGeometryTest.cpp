#include "skin/SkinGeometry.h"

#include <gtest/gtest.h>

using namespace pixolo;

TEST(SkinGeometry, NullPointsAndRects)
{
    EXPECT_TRUE(IsNullPoint({ 0, 5 })) << "either coordinate zero";
    EXPECT_TRUE(IsNullPoint({ 5, 0 }));
    EXPECT_FALSE(IsNullPoint({ -1, 1 }));
    EXPECT_TRUE(IsNullRect(NullRect()));
    EXPECT_TRUE(IsNullRect({ 0, 0, 5, 0 }));
    EXPECT_TRUE(IsNullRect({ 5, 0, 2, 3 })) << "reversed";
    EXPECT_FALSE(IsNullRect({ 0, 0, 1, 1 }));
}

TEST(SkinGeometry, PointWithinRectIncludesAllEdges)
{
    const TRect r { 2, 3, 6, 8 };
    EXPECT_TRUE(PointWithinRect(r, { 6, 8 }));
    EXPECT_TRUE(PointWithinRect(r, { 2, 3 }));
    EXPECT_FALSE(PointWithinRect(r, { 7, 8 }));
    EXPECT_FALSE(PointWithinRect(r, { 2, 2 }));
}

TEST(SkinGeometry, RectWithinRectExcludesTheOuterRightAndBottom)
{
    const TRect topRight { 99, 0, 176, 34 }; // the form's top-right corner area
    EXPECT_TRUE(RectWithinRect({ 150, 5, 175, 33 }, topRight));
    EXPECT_FALSE(RectWithinRect({ 150, 5, 176, 20 }, topRight)) << "flush with the right edge";
    EXPECT_FALSE(RectWithinRect({ 150, 5, 160, 34 }, topRight)) << "flush with the bottom edge";
    EXPECT_FALSE(RectWithinRect({ 98, 5, 160, 20 }, topRight));
}

TEST(SkinGeometry, QtConversionsKeepExclusiveEdges)
{
    EXPECT_EQ(toQRect({ 1, 2, 4, 7 }), QRect(1, 2, 3, 5));
    EXPECT_EQ(toTRect(QRect(1, 2, 3, 5)), (TRect { 1, 2, 4, 7 }));
    EXPECT_TRUE(toQRect({ 5, 5, 2, 9 }).isEmpty()) << "a reversed rectangle has no pixels";
    EXPECT_EQ(RectWidth({ 5, 5, 2, 9 }), -3);
}
