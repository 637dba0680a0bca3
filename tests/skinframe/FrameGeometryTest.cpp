// The frame's geometry, shape, hit test, size limits and drags, computed without any window.
#include "FrameTesting.h"

#include "skin/SkinPreview.h"
#include "skinframe/FrameDrag.h"
#include "skinframe/FrameGeometry.h"

#include <gtest/gtest.h>

#include <tuple>

namespace pixolo
{
namespace
{

using test::pixoloStore;

class FrameGeometryTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(store->Empty()); }

    const TbsDataSkinObject &entry(const char *name) const
    {
        const int index = store->FindObjectIndex(QString::fromLatin1(name));
        EXPECT_GE(index, 0) << name;
        return *store->ObjectList[size_t(index)];
    }

    QObject owner;
    TbsSkinData *store = pixoloStore(&owner);
};

TEST_F(FrameGeometryTest, BothWindowsGetTheirClientAreaInsideA28By56Frame)
{
    const TbsFrameGeometry main = CalcFrameGeometry(*store, 757, 523);
    EXPECT_EQ(main.NewClRect, (TRect { 15, 33, 744, 500 })); // 729 × 467
    EXPECT_EQ(main.NewMaskRect, (TRect { 5, 6, 751, 517 }));
    EXPECT_EQ(main.NewRTPoint, (TPoint { 680, 34 }));
    EXPECT_EQ(main.NewLBPoint, (TPoint { 20, 493 }));
    EXPECT_EQ(main.NewRBPoint, (TPoint { 722, 493 }));
    EXPECT_EQ(main.NewHitTestRBPoint, (TPoint { 741, 507 }));

    const TbsFrameGeometry about = CalcFrameGeometry(*store, 462, 372);
    EXPECT_EQ(about.NewClRect, (TRect { 15, 33, 449, 349 })); // 434 × 316
}

TEST_F(FrameGeometryTest, RolledUpClientAreaIsEmptyNotInsideOut)
{
    const TbsFrameGeometry g = CalcFrameGeometry(*store, 757, 40);
    EXPECT_LT(g.NewClRect.Bottom, g.NewClRect.Top);
    EXPECT_EQ(g.clientArea(), (TRect { 15, 33, 744, 33 }));
}

// (width, height) of windows of odd sizes: the caption spanning the top corners grows by DX, a button in the
// top-right corner moves by DX, one in the top-left stays.
class FrameStretchTest : public FrameGeometryTest, public testing::WithParamInterface<std::pair<int, int>>
{
};

TEST_P(FrameStretchTest, CaptionGrowsAndRightButtonsMoveWithTheWidth)
{
    const auto [W, H] = GetParam();
    const TbsFrameGeometry g = CalcFrameGeometry(*store, W, H);
    const int DX = W - 176;
    EXPECT_EQ(g.DX, DX);
    EXPECT_EQ(g.DY, H - 147);

    const TRect caption = entry("caption1").skinrect;
    EXPECT_EQ(StretchFrameRect(*store, g, caption),
        (TRect { caption.Left, caption.Top, caption.Right + DX, caption.Bottom }));
    for (const char *name : { "rollupbutton", "closebutton", "minbutton", "maxbutton" }) {
        const TRect r = entry(name).skinrect;
        EXPECT_EQ(StretchFrameRect(*store, g, r), offsetRect(r, DX, 0)) << name;
    }
    EXPECT_EQ(StretchFrameRect(*store, g, entry("sysmenubutton").skinrect), entry("sysmenubutton").skinrect);
    EXPECT_EQ(g.NewClRect.Right - g.NewClRect.Left, W - 28);
}

INSTANTIATE_TEST_SUITE_P(OddSizes, FrameStretchTest,
    testing::Values(std::pair(176, 147), std::pair(177, 56), std::pair(1001, 333), std::pair(200, 1000)));

TEST_F(FrameGeometryTest, StretchingRuleByCornerAreas)
{
    const TbsFrameGeometry g = CalcFrameGeometry(*store, 276, 197); // DX 100, DY 50
    struct Case {
        TRect in;
        TRect out;
    };
    const Case cases[] = {
        { { 2, 2, 40, 30 }, { 2, 2, 40, 30 } }, // inside the top-left corner
        { { 0, 120, 10, 130 }, { 0, 170, 10, 180 } }, // bottom-left: down
        { { 150, 120, 160, 130 }, { 250, 170, 260, 180 } }, // bottom-right: right and down
        { { 5, 5, 150, 120 }, { 5, 5, 250, 170 } }, // top-left to bottom-right: grows both ways
        { { 5, 5, 10, 120 }, { 5, 5, 10, 170 } }, // top-left to bottom-left: grows down
        { { 5, 120, 150, 140 }, { 5, 170, 250, 190 } }, // bottom-left to bottom-right: down and wider
        { { 150, 5, 160, 120 }, { 250, 5, 260, 170 } }, // top-right to bottom-right: right and higher
        { { 10, 40, 14, 100 }, { 10, 40, 14, 100 } }, // in no corner: stays
        // Flush with the picture's right edge: its own right edge is not inside the corner, so it stays.
        { { 160, 9, 176, 25 }, { 160, 9, 176, 25 } },
    };
    for (const Case &c : cases) {
        EXPECT_EQ(StretchFrameRect(*store, g, c.in), c.out) << testing::PrintToString(c.in);
    }
}

class FrameHitTestTest : public FrameGeometryTest
{
protected:
    int hit(int W, int H, TPoint P, bool sizeable = true, bool withMask = true)
    {
        // The geometry and the shape of a size are made once: a test probes many points of one window.
        if (!m_geometry || m_size != QSize(W, H)) {
            m_size = QSize(W, H);
            m_geometry = CalcFrameGeometry(*store, W, H);
            m_mask = FrameMask::build(*store, *m_geometry);
        }
        FrameHitState state = base;
        state.Width = W;
        state.Height = H;
        state.Sizeable = sizeable;
        state.BorderWidth = store->borderwidth;
        state.CaptionRects = { StretchFrameRect(*store, *m_geometry, entry("caption1").skinrect) };
        return SkinHitTest(*m_geometry, withMask ? &*m_mask : nullptr, state, P);
    }

    FrameHitState base;

private:
    QSize m_size;
    std::optional<TbsFrameGeometry> m_geometry;
    std::optional<FrameMask> m_mask;
};

TEST_F(FrameHitTestTest, MainWindowFrameTable)
{
    struct Case {
        TPoint p;
        int code;
    };
    const Case cases[] = {
        { { 2, 2 }, HTTOPLEFT },
        { { 3, 3 }, HTTOPLEFT }, // three pixels into the transparent corner: a probe is outside the shape
        { { 754, 2 }, HTTOPRIGHT },
        { { 2, 520 }, HTBOTTOMLEFT },
        { { 754, 520 }, HTBOTTOMRIGHT },
        { { 300, 2 }, HTTOP },
        { { 300, 520 }, HTBOTTOM },
        { { 2, 300 }, HTLEFT },
        { { 4, 300 }, HTLEFT },
        { { 754, 300 }, HTRIGHT },
        { { 6, 300 }, HTOBJECT }, // inside the mask's solid middle: frame, not edge
        { { 300, 18 }, HTCAPTION },
        { { 743, 17 }, HTOBJECT }, // the close button
        { { 16, 17 }, HTOBJECT }, // the system-menu button
        { { 400, 300 }, HTCLIENT },
        { { 15, 33 }, HTCLIENT },
        { { 743, 499 }, HTCLIENT },
        { { 744, 300 }, HTOBJECT },
    };
    for (const Case &c : cases) {
        EXPECT_EQ(hit(757, 523, c.p), c.code) << testing::PrintToString(c.p);
    }
}

TEST_F(FrameHitTestTest, WithoutMaskTheProbesMeetTheWindowEdge)
{
    EXPECT_EQ(hit(757, 523, { 2, 300 }, true, false), HTLEFT);
    EXPECT_EQ(hit(757, 523, { 6, 300 }, true, false), HTOBJECT); // every probe still inside the window
    EXPECT_EQ(hit(757, 523, { 752, 520 }, true, false), HTBOTTOMRIGHT);
}

TEST_F(FrameHitTestTest, SingleBorderNeverSizes)
{
    for (int y = 0; y < 372; ++y) {
        for (int x = 0; x < 462; ++x) {
            if (x < 20 || x > 440 || y < 36 || y > 345) {
                ASSERT_FALSE(isSizingHitCode(hit(462, 372, { x, y }, false))) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(hit(462, 372, { 200, 18 }, false), HTCAPTION);
}

TEST_F(FrameHitTestTest, RolledUpOrMinimisedOnlyCaptionAndObjects)
{
    base.RolledUp = true;
    EXPECT_EQ(hit(757, 56, { 2, 2 }), HTOBJECT);
    EXPECT_EQ(hit(757, 56, { 300, 18 }), HTCAPTION);
    EXPECT_EQ(hit(757, 56, { 300, 54 }), HTOBJECT);
    base.RolledUp = false;
    base.Minimized = true;
    EXPECT_EQ(hit(176, 56, { 2, 30 }), HTOBJECT);
}

TEST_F(FrameHitTestTest, HotObjectKeepsTheFrameUntilAMoveOrSizeRuns)
{
    base.ObjectHot = true;
    EXPECT_EQ(hit(757, 523, { 2, 300 }), HTOBJECT);
    EXPECT_EQ(hit(757, 523, { 300, 18 }), HTCAPTION);
    EXPECT_EQ(hit(757, 523, { 400, 300 }), HTCLIENT);
    base.SizingLoop = true;
    EXPECT_EQ(hit(757, 523, { 2, 300 }), HTLEFT);
}

TEST_F(FrameHitTestTest, MaximisedDoesNotSize)
{
    base.Maximized = true;
    EXPECT_EQ(hit(757, 523, { 2, 300 }), HTOBJECT);
}

TEST(DefaultHitTestTest, PlainFrameMarginsCaptionAndClient)
{
    FrameHitState state;
    state.Width = 700;
    state.Height = 500;
    const TRect caption { 20, 3, 600, 19 };
    const auto hit = [&](int x, int y) { return DefaultHitTest(caption, 19, state, { x, y }); };
    EXPECT_EQ(hit(1, 1), HTTOPLEFT);
    EXPECT_EQ(hit(699, 2), HTTOPRIGHT);
    EXPECT_EQ(hit(2, 498), HTBOTTOMLEFT);
    EXPECT_EQ(hit(698, 499), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(1, 100), HTLEFT);
    EXPECT_EQ(hit(100, 1), HTTOP);
    EXPECT_EQ(hit(699, 100), HTRIGHT);
    EXPECT_EQ(hit(100, 499), HTBOTTOM);
    EXPECT_EQ(hit(100, 10), HTCAPTION);
    EXPECT_EQ(hit(10, 10), HTOBJECT); // the system-menu button's place
    EXPECT_EQ(hit(100, 100), HTCLIENT);
    EXPECT_EQ(hit(100, 20), HTOBJECT); // between the caption rectangle and the client area
    state.RolledUp = true;
    EXPECT_EQ(hit(1, 100), HTOBJECT);
    state.RolledUp = false;
    state.Sizeable = false;
    EXPECT_EQ(hit(699, 499), HTOBJECT);
}

TEST_F(FrameGeometryTest, MaskShapeMatchesTheSkinToolsShapeAtAnySize)
{
    for (const QSize size : { QSize(757, 523), QSize(462, 372), QSize(300, 200), QSize(176, 147) }) {
        const std::optional<FrameMask> mask
            = FrameMask::build(*store, CalcFrameGeometry(*store, size.width(), size.height()));
        ASSERT_TRUE(mask.has_value());
        const std::optional<QRegion> expected = formRegion(*store, size);
        ASSERT_TRUE(expected.has_value());
        EXPECT_EQ(mask->region(), *expected) << testing::PrintToString(size);
    }
}

TEST_F(FrameGeometryTest, ShapeHasRoundedCornersAndReadsNothingOutsideItsStrips)
{
    const std::optional<FrameMask> mask = FrameMask::build(*store, CalcFrameGeometry(*store, 757, 523));
    ASSERT_TRUE(mask.has_value());
    EXPECT_FALSE(mask->PointInShape({ 0, 0 }));
    EXPECT_FALSE(mask->PointInShape({ 3, 0 }));
    EXPECT_TRUE(mask->PointInShape({ 4, 0 }));
    EXPECT_FALSE(mask->PointInShape({ 756, 0 }));
    EXPECT_TRUE(mask->PointInShape({ 1, 3 }));
    EXPECT_TRUE(mask->PointInShape({ 300, 300 }));
    EXPECT_FALSE(mask->PointInShape({ 0, 522 }));
    EXPECT_TRUE(mask->PointInShape({ 300, 522 }));
    // Probes beyond the window on every side are outside, never a read past a strip.
    for (const TPoint p : { TPoint { -5, 300 }, TPoint { 762, 300 }, TPoint { 300, -5 }, TPoint { 300, 528 },
             TPoint { -5, -5 }, TPoint { 762, 528 }, TPoint { 2, 528 } }) {
        EXPECT_FALSE(mask->PointInShape(p)) << testing::PrintToString(p);
    }
    EXPECT_FALSE(mask->region().contains(QPoint(0, 0)));
    EXPECT_TRUE(mask->region().contains(QPoint(4, 0)));
}

TEST_F(FrameGeometryTest, RolledUpWindowKeepsItsShape)
{
    const std::optional<FrameMask> mask = FrameMask::build(*store, CalcFrameGeometry(*store, 757, 56));
    ASSERT_TRUE(mask.has_value());
    const QRegion &shape = mask->region();
    EXPECT_EQ(shape.boundingRect(), QRect(0, 0, 757, 56));
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(0, 55)));
    EXPECT_TRUE(shape.contains(QPoint(300, 55)));
    EXPECT_TRUE(shape.contains(QPoint(300, 30)));
}

TEST_F(FrameGeometryTest, SizeLimits)
{
    FrameSizeRules rules;
    rules.Skin = store;
    rules.WorkArea = { 0, 0, 1280, 1000 };
    EXPECT_EQ(rules.GetMinWidth(), 176);
    EXPECT_EQ(rules.GetMinHeight(), 56);
    EXPECT_EQ(rules.GetMaxWidth(), 1280);
    EXPECT_EQ(rules.GetMaxHeight(), 1000);

    rules.MinWidth = 100; // not more than the picture: the picture's width
    EXPECT_EQ(rules.GetMinWidth(), 176);
    rules.MinWidth = 300;
    EXPECT_EQ(rules.GetMinWidth(), 300);
    rules.Minimized = true;
    EXPECT_EQ(rules.GetMinWidth(), 176);
    rules.Minimized = false;

    rules.MinHeight = 100;
    EXPECT_EQ(rules.GetMinHeight(), 100);
    rules.RolledUp = true; // the rolled-up height is the frame's own, whatever the limit
    EXPECT_EQ(rules.GetMinHeight(), 56);

    rules.MaxWidth = 800;
    rules.MaxHeight = 2000;
    EXPECT_EQ(rules.GetMaxWidth(), 800);
    EXPECT_EQ(rules.GetMaxHeight(), 1000);

    FrameSizeRules plain;
    EXPECT_EQ(plain.GetMinWidth(), 120);
    EXPECT_EQ(plain.GetMinHeight(), 25);
    plain.DefaultCaptionHeight = DefaultFrameMetrics::forStyle(bsToolWindow).CaptionHeight;
    EXPECT_EQ(plain.GetMinHeight(), 21);
    plain.MinWidth = 50;
    EXPECT_EQ(plain.GetMinWidth(), 50);
}

TEST(FrameDragTest, SizingKeepsTheOppositeEdgeAndTheLimits)
{
    const QRect start(226, 139, 757, 523);
    const QSize minimum(176, 56);
    const QSize maximum(1280, 1024);
    EXPECT_EQ(resizedGeometry(Qt::RightEdge, start, QPoint(-1000, 7), minimum, maximum), QRect(226, 139, 176, 523));
    EXPECT_EQ(resizedGeometry(Qt::LeftEdge, start, QPoint(1000, 0), minimum, maximum), QRect(807, 139, 176, 523));
    EXPECT_EQ(resizedGeometry(Qt::LeftEdge, start, QPoint(-1000, 0), minimum, maximum), QRect(-297, 139, 1280, 523));
    EXPECT_EQ(resizedGeometry(Qt::TopEdge | Qt::LeftEdge, start, QPoint(10, 20), minimum, maximum),
        QRect(236, 159, 747, 503));
    EXPECT_EQ(resizedGeometry(Qt::BottomEdge, start, QPoint(0, -600), minimum, maximum), QRect(226, 139, 757, 56));

    FrameDrag drag;
    drag.beginMove(QPoint(500, 150), start);
    EXPECT_EQ(drag.geometryAt(QPoint(600, 200), minimum, maximum), start.translated(100, 50));
    drag.beginSize(Qt::BottomEdge | Qt::RightEdge, QPoint(980, 660), start);
    EXPECT_EQ(drag.geometryAt(QPoint(1000, 700), minimum, maximum), QRect(226, 139, 777, 563));
    drag.beginSize({}, QPoint(0, 0), start);
    EXPECT_FALSE(drag.active());
}

TEST(FrameDragTest, HitCodesGiveEdgesAndCursors)
{
    EXPECT_EQ(edgesForHitCode(HTTOPLEFT), Qt::TopEdge | Qt::LeftEdge);
    EXPECT_EQ(edgesForHitCode(HTBOTTOMRIGHT), Qt::BottomEdge | Qt::RightEdge);
    EXPECT_EQ(edgesForHitCode(HTRIGHT), Qt::Edges(Qt::RightEdge));
    EXPECT_EQ(edgesForHitCode(HTCAPTION), Qt::Edges());
    EXPECT_EQ(cursorForHitCode(HTTOPRIGHT), Qt::SizeBDiagCursor);
    EXPECT_EQ(cursorForHitCode(HTBOTTOM), Qt::SizeVerCursor);
    EXPECT_EQ(cursorForHitCode(HTOBJECT), Qt::ArrowCursor);
}

TEST(MagneticSnapTest, EdgeSticksUntilTheCursorMovesMoreThanTheSnapSize)
{
    MagneticState state;
    const QRect area(0, 0, 1280, 1000);
    const QSize window(400, 300);
    // Within 4 pixels of the left edge: the window jumps to it.
    EXPECT_EQ(MagneticSnap(state, area, 5, QPoint(3, 400), window, QPoint(503, 500)), QPoint(0, 400));
    // The cursor 2 pixels back: the window stays on the edge.
    EXPECT_EQ(MagneticSnap(state, area, 5, QPoint(1, 400), window, QPoint(501, 500)), QPoint(0, 400));
    // 7 pixels from where it stuck: the window follows the cursor again.
    EXPECT_EQ(MagneticSnap(state, area, 5, QPoint(-4, 400), window, QPoint(496, 500)), QPoint(-7, 400));
    EXPECT_EQ(MagneticSnap(state, area, 5, QPoint(100, 400), window, QPoint(600, 500)), QPoint(97, 400));
    EXPECT_EQ(MagneticSnap(state, area, 5, QPoint(150, 400), window, QPoint(650, 500)), QPoint(150, 400));
    // The right and bottom edges snap with the window's size.
    MagneticState other;
    EXPECT_EQ(MagneticSnap(other, area, 5, QPoint(882, 698), window, QPoint(0, 0)), QPoint(880, 700));
    // Exactly the snap size away is not near.
    MagneticState far;
    EXPECT_EQ(MagneticSnap(far, area, 5, QPoint(5, 5), window, QPoint(0, 0)), QPoint(5, 5));
}

} // namespace
} // namespace pixolo
