// Where popup levels go and how their items are laid out, without windows.
#include "skinframe/MenuGeometry.h"

#include <gtest/gtest.h>

using namespace pixolo;

namespace
{

constexpr TRect s_work { 0, 0, 800, 600 };

PopupPlacement popup(TRect anchor, int w, int h)
{
    PopupPlacement p;
    p.Anchor = anchor;
    p.WorkArea = s_work;
    p.Width = w;
    p.Height = h;
    p.ItemsTop = 3;
    return p;
}

TPoint at(const PopupPlacement &p)
{
    return PlacePopup(p);
}

TEST(PlacePopupTest, OpensBelowItsAnchorWhereItFits)
{
    EXPECT_EQ(at(popup({ 100, 50, 116, 66 }, 120, 80)), (TPoint { 100, 66 }));
}

TEST(PlacePopupTest, NearTheRightEdgeItEndsAtTheEdge)
{
    EXPECT_EQ(at(popup({ 750, 50, 766, 66 }, 120, 80)), (TPoint { 680, 66 }));
}

TEST(PlacePopupTest, LeftOfTheWorkAreaItStartsAtItsLeftEdge)
{
    PopupPlacement p = popup({ 40, 50, 56, 66 }, 120, 80);
    p.WorkArea = { 100, 0, 900, 600 };
    EXPECT_EQ(at(p), (TPoint { 100, 66 }));
}

TEST(PlacePopupTest, NearTheBottomInTheLowerHalfItOpensAboveTheAnchor)
{
    EXPECT_EQ(at(popup({ 100, 560, 116, 576 }, 120, 80)), (TPoint { 100, 480 }));
}

TEST(PlacePopupTest, TooHighForBothSidesInTheUpperHalfItMovesUpBesideTheAnchor)
{
    // 500 high below an anchor at 250: it cannot fit below; the anchor is in the upper half.
    EXPECT_EQ(at(popup({ 100, 250, 116, 266 }, 120, 500)), (TPoint { 117, 100 }));
}

TEST(PlacePopupTest, TooHighForBothSidesInTheLowerHalfItStartsAtTheTopBesideTheAnchor)
{
    EXPECT_EQ(at(popup({ 700, 400, 716, 416 }, 120, 500)), (TPoint { 579, 0 }));
}

TEST(PlacePopupTest, UpwardOpensAboveAndBelowOnlyWhenThereIsNoRoomAbove)
{
    PopupPlacement p = popup({ 100, 300, 116, 316 }, 120, 80);
    p.PopupUpward = true;
    EXPECT_EQ(at(p), (TPoint { 100, 220 }));
    p.Anchor = { 100, 20, 116, 36 };
    EXPECT_EQ(at(p), (TPoint { 100, 36 }));
}

TEST(PlacePopupTest, SubmenusOpenBesideTheirItemWithTheFirstItemLevel)
{
    PopupPlacement p = popup({ 100, 200, 220, 222 }, 120, 80);
    p.IsSubmenu = true;
    EXPECT_EQ(at(p), (TPoint { 221, 197 }));
    // No room on the right: on the left of the item.
    p.Anchor = { 650, 200, 770, 222 };
    EXPECT_EQ(at(p), (TPoint { 529, 197 }));
    // No room below in the lower half: its bottom item level with the item.
    p.Anchor = { 100, 560, 220, 582 };
    EXPECT_EQ(at(p), (TPoint { 221, 505 }));
}

TEST(PlacePopupTest, APopupAsHighAsTheWorkAreaStartsAtItsTopBesideTheAnchor)
{
    PopupPlacement p = popup({ 100, 300, 116, 316 }, 120, 600);
    p.Scrolling = true;
    EXPECT_EQ(at(p), (TPoint { 117, 0 }));
    // Limited by the item count, a scrolling popup keeps its normal place.
    p.Height = 92;
    p.Limited = true;
    EXPECT_EQ(at(p), (TPoint { 100, 316 }));
}

TEST(LayoutMenuItemsTest, StacksItemsFromTheTopAndLeavesMarkerBandsWhenScrolling)
{
    const std::vector<int> heights { 22, 8, 22, 22, 22 };
    std::vector<TRect> rects;
    EXPECT_EQ(LayoutMenuItems(heights, { 3, 3, 97, 99 }, false, 0, rects), 5);
    EXPECT_EQ(rects[1], (TRect { 3, 25, 97, 33 }));
    EXPECT_EQ(rects[4], (TRect { 3, 77, 97, 99 }));

    // 66 pixels between the markers: the items from index 1 that fit are 8 + 22 + 22.
    EXPECT_EQ(LayoutMenuItems(heights, { 3, 3, 97, 89 }, true, 1, rects), 3);
    EXPECT_EQ(rects[0], TRect());
    EXPECT_EQ(rects[1], (TRect { 3, 13, 97, 21 }));
    EXPECT_EQ(rects[3], (TRect { 3, 43, 97, 65 }));
    EXPECT_EQ(rects[4], TRect());
}

TEST(LayoutMenuItemsTest, TheLastPageEndsWithTheLastItem)
{
    const std::vector<int> heights(5, 22);
    // 66 pixels between the markers hold three items.
    EXPECT_EQ(LastPageStart(heights, { 3, 3, 97, 89 }), 2);
    EXPECT_EQ(LastPageStart(heights, { 3, 3, 97, 300 }), 0);
}

TEST(NextMenuIndexTest, WrapsAroundAndSkipsItemsThatCannotBeChosen)
{
    const std::vector<bool> choosable { true, false, true, false };
    const auto ok = [&](int i) { return bool(choosable[size_t(i)]); };
    EXPECT_EQ(NextMenuIndex(4, 0, 1, ok), 2);
    EXPECT_EQ(NextMenuIndex(4, 2, 1, ok), 0) << "past the last choosable item down wraps to the first";
    EXPECT_EQ(NextMenuIndex(4, 0, -1, ok), 2) << "up from the first wraps to the last choosable";
    EXPECT_EQ(NextMenuIndex(4, -1, 1, ok), 0);
}

TEST(NextMenuIndexTest, EndsAfterOneRoundWhenNothingQualifies)
{
    int asked = 0;
    EXPECT_EQ(NextMenuIndex(5, 1, 1,
                  [&](int) {
                      ++asked;
                      return false;
                  }),
        -1);
    EXPECT_EQ(asked, 5);
    EXPECT_EQ(NextMenuIndex(0, -1, 1, [](int) { return true; }), -1);
}

} // namespace
