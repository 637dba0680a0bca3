#include "skinctrls/TBevel.h"
#include "skin/SkinGlyphs.h"
#include "skinctrls/DefaultLook.h"
#include "skinctrls/TImage.h"

#include "../support/Images.h"
#include "ControlTesting.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

// The plain look's edges are drawn in runs; they must be the skin layer's line-drawn edges pixel for pixel, odd and
// one-pixel sizes included.
class FrameRunsTest : public testing::TestWithParam<QRect>
{
};

TEST_P(FrameRunsTest, SameAsTheLineDrawnEdge)
{
    const QRect rect = GetParam();
    const auto draw = [&](bool runs) {
        QImage image(12, 9, QImage::Format_RGB32);
        image.fill(qRgb(255, 255, 255));
        QPainter painter(&image);
        if (runs) {
            drawFrame3D(painter, rect, QColor(255, 0, 0), QColor(0, 0, 255));
        } else {
            DrawFrame3D(painter, toTRect(rect), QColor(255, 0, 0), QColor(0, 0, 255));
        }
        return image;
    };
    EXPECT_EQ(draw(true), draw(false));
}

INSTANTIATE_TEST_SUITE_P(Sizes, FrameRunsTest,
    testing::Values(QRect(1, 1, 6, 4), QRect(0, 0, 12, 9), QRect(2, 3, 1, 5), QRect(2, 3, 5, 1), QRect(4, 4, 1, 1),
        QRect(3, 2, 7, 6)));

struct BevelCase {
    TBevelShape shape;
    TBevelStyle style;
    QStringList shadow; // '#' = button shadow
    QStringList highlight; // '#' = button highlight
};

class BevelTest : public testing::TestWithParam<BevelCase>
{
};

TEST_P(BevelTest, DrawsItsShapeInShadowAndHighlight)
{
    TBevel bevel;
    bevel.resize(6, 5);
    bevel.SetShape(GetParam().shape);
    bevel.SetStyle(GetParam().style);
    const QImage image = rendered(&bevel);
    EXPECT_EQ(inkRows(image, rgb(clBtnShadow)), GetParam().shadow);
    EXPECT_EQ(inkRows(image, rgb(clBtnHighlight)), GetParam().highlight);
}

INSTANTIATE_TEST_SUITE_P(Shapes, BevelTest,
    testing::Values(
        // The main window's bevels: an etched frame, shadow outside top-left, highlight inside and bottom-right.
        BevelCase { bsFrame, bsLowered, rowsOf({ "#####.", "#...#.", "#...#.", "#####.", "......" }),
            rowsOf({ "......", ".###.#", ".#...#", ".....#", ".#####" }) },
        BevelCase { bsFrame, bsRaised, rowsOf({ "......", ".###.#", ".#...#", ".....#", ".#####" }),
            rowsOf({ "#####.", "#...#.", "#...#.", "#####.", "......" }) },
        BevelCase { bsBox, bsLowered, rowsOf({ "#####.", "#.....", "#.....", "#.....", "......" }),
            rowsOf({ ".....#", ".....#", ".....#", ".....#", "######" }) },
        BevelCase { bsTopLine, bsLowered, rowsOf({ "######", "......", "......", "......", "......" }),
            rowsOf({ "......", "######", "......", "......", "......" }) },
        BevelCase { bsRightLine, bsRaised, rowsOf({ ".....#", ".....#", ".....#", ".....#", ".....#" }),
            rowsOf({ "....#.", "....#.", "....#.", "....#.", "....#." }) },
        BevelCase { bsSpacer, bsLowered, rowsOf({ "......", "......", "......", "......", "......" }),
            rowsOf({ "......", "......", "......", "......", "......" }) }));

TEST(BevelTest, IsWindowlessAndTransparent)
{
    TBevel bevel;
    bevel.resize(10, 10);
    bevel.SetShape(bsFrame);
    const QRgb background = qRgb(1, 2, 3);
    EXPECT_EQ(rendered(&bevel, background).pixel(5, 5), background);
    EXPECT_EQ(bevel.focusPolicy(), Qt::NoFocus);
}

class ImageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_image.resize(4, 3);
        m_picture = coordinateImage(6, 2);
    }

    TImage m_image;
    QImage m_picture;
};

TEST_F(ImageTest, ShowsThePictureFromTheTopLeftClipped)
{
    const QRgb background = qRgb(1, 2, 3);
    TBitmap bitmap(m_picture);
    bitmap.SetPixelFormat(pf24bit);
    m_image.SetPicture(bitmap);
    bitmap.SetSize(1, 1); // the control keeps its own copy
    const QImage shown = rendered(&m_image, background);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(sourceOf(shown.pixel(x, y)), QPoint(x, y));
        }
    }
    EXPECT_EQ(shown.pixel(0, 2), background);
    EXPECT_EQ(m_image.Picture().Width(), 6);
}

TEST_F(ImageTest, CentresOrStretchesWhenAsked)
{
    m_image.resize(8, 6);
    m_image.SetPicture(TBitmap(m_picture));
    m_image.SetCenter(true);
    EXPECT_EQ(m_image.DestRect(), QRect(1, 2, 6, 2));
    EXPECT_EQ(sourceOf(rendered(&m_image).pixel(1, 2)), QPoint(0, 0));
    m_image.SetStretch(true);
    EXPECT_EQ(m_image.DestRect(), QRect(0, 0, 8, 6));
    EXPECT_EQ(sourceOf(rendered(&m_image).pixel(7, 5)), QPoint(5, 1));
}

TEST_F(ImageTest, EmptyPictureShowsTheParent)
{
    const QRgb background = qRgb(1, 2, 3);
    m_image.SetPicture(TBitmap(m_picture));
    m_image.SetPicture(TBitmap());
    EXPECT_EQ(rendered(&m_image, background).pixel(0, 0), background);
    EXPECT_TRUE(m_image.DestRect().isNull());
}

} // namespace
