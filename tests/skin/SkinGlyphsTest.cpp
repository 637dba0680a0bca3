#include "skin/SkinGlyphs.h"

#include "../support/Images.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

constexpr QRgb s_ink = 0xFF000080;

QStringList drawn(int width, int height, const std::function<void(QPainter &)> &draw)
{
    QImage canvas = filledImage(width, height, qRgb(255, 255, 255));
    {
        QPainter painter(&canvas);
        draw(painter);
    }
    return inkRows(canvas, s_ink);
}

using Glyph = void (*)(QPainter &, int, int, const QColor &);

QStringList glyph(Glyph draw, int width, int height, QPoint at = {})
{
    return drawn(width, height, [&](QPainter &painter) { draw(painter, at.x(), at.y(), QColor(s_ink)); });
}

} // namespace

TEST(Glyphs, CloseIsTwoDoubleDiagonalsWithoutEndPoints)
{
    EXPECT_EQ(glyph(DrawCloseGlyph, 11, 10),
        rowsOf({
            "...........",
            ".##.....##.",
            "..##...##..",
            "...##.##...",
            "....###....",
            "....###....",
            "...##.##...",
            "..##...##..",
            ".##.....##.",
            "...........",
        }));
}

TEST(Glyphs, MinimizeAndMaximize)
{
    EXPECT_EQ(glyph(DrawMinimizeGlyph, 10, 10).mid(7), rowsOf({ "..........", ".########.", ".########." }));
    EXPECT_EQ(glyph(DrawMaximizeGlyph, 11, 10),
        rowsOf({
            "###########",
            "###########",
            "#.........#",
            "#.........#",
            "#.........#",
            "#.........#",
            "#.........#",
            "#.........#",
            "#.........#",
            "###########",
        }));
}

TEST(Glyphs, RestoreIsTwoOverlappingWindows)
{
    EXPECT_EQ(glyph(DrawRestoreGlyph, 10, 10),
        rowsOf({
            "..########",
            "..########",
            "..#......#",
            "..#......#",
            "#######..#",
            "##########",
            "#.....#...",
            "#.....#...",
            "#.....#...",
            "#######...",
        }));
}

TEST(Glyphs, RollUpAndDownAreTriangles)
{
    EXPECT_EQ(glyph(DrawRollUpGlyph, 10, 7).mid(2),
        rowsOf({ "..........", "....##....", "...####...", "..######..", ".########." }));
    EXPECT_EQ(glyph(DrawRollDownGlyph, 10, 7).mid(2),
        rowsOf({ ".########.", "..######..", "...####...", "....##....", ".........." }));
}

TEST(Glyphs, CheckMarkIsThreeStackedPolylines)
{
    EXPECT_EQ(glyph(DrawCheckGlyph, 7, 8),
        rowsOf({
            ".......",
            "......#",
            ".....##",
            "#...###",
            "##.###.",
            "#####..",
            ".###...",
            "..#....",
        }));
}

TEST(Glyphs, FilledSquaresAndSysMenuBar)
{
    EXPECT_EQ(glyph(DrawRadioGlyph, 8, 8, QPoint(1, 1)).mid(0, 8),
        rowsOf({ "........", ".######.", ".######.", ".######.", ".######.", ".######.", ".######.", "........" }));
    EXPECT_EQ(glyph(DrawMinimizeToTrayGlyph, 8, 8),
        rowsOf({ "........", "........", "..#####.", "..#####.", "..#####.", "..#####.", "..#####.", "........" }));
    EXPECT_EQ(glyph(DrawSysMenuGlyph, 10, 7).mid(3, 3), rowsOf({ ".########.", ".#......#.", ".########." }));
}

TEST(Glyphs, ArrowsPointWhereAsked)
{
    const auto arrow = [](int dir) {
        return drawn(9, 9, [dir](QPainter &painter) { DrawArrowGlyph(painter, { 0, 0, 9, 9 }, QColor(s_ink), dir); });
    };
    EXPECT_EQ(arrow(adUp).mid(2, 4), rowsOf({ "....#....", "...###...", "..#####..", ".#######." }));
    EXPECT_EQ(arrow(adDown).mid(3, 4), rowsOf({ ".#######.", "..#####..", "...###...", "....#...." }));
    EXPECT_EQ(arrow(adLeft).mid(1, 7),
        rowsOf({ ".....#...", "....##...", "...###...", "..####...", "...###...", "....##...", ".....#..." }));
    EXPECT_EQ(arrow(adRight).mid(1, 7),
        rowsOf({ "...#.....", "...##....", "...###...", "...####..", "...###...", "...##....", "...#....." }));
    EXPECT_EQ(arrow(0), drawn(9, 9, [](QPainter &) {}));
}

TEST(Glyphs, Frame3DGivesCornersToTheRightColours)
{
    QImage canvas = filledImage(5, 4, qRgb(255, 255, 255));
    {
        QPainter painter(&canvas);
        DrawFrame3D(painter, { 0, 0, 4, 3 }, QColor(qRgb(255, 0, 0)), QColor(qRgb(0, 0, 255)));
    }
    EXPECT_EQ(inkRows(canvas, qRgb(255, 0, 0)), rowsOf({ "###..", "#....", ".....", "....." }));
    EXPECT_EQ(inkRows(canvas, qRgb(0, 0, 255)), rowsOf({ "...#.", "...#.", "####.", "....." }));
}

// --- glyph frames ---------------------------------------------------------------------------------------------

class GlyphFrameTest : public testing::Test
{
protected:
    static constexpr QRgb s_key = 0xFF010203;
    static constexpr QRgb s_background = 0xFFFF00FF;

    void SetUp() override
    {
        for (int x = 0; x < 40; ++x) {
            for (int y = 0; y < 3; ++y) {
                m_strip.setPixel(x, y, qRgb(x, 100 + y, 50));
            }
        }
        m_strip.setPixel(10, 2, s_key); // bottom-left of frame 2: its transparent colour
        m_strip.setPixel(15, 0, s_key);
    }

    QImage drawFrame(int index, int count, const QImage &strip) const
    {
        QImage canvas = filledImage(12, 3, s_background);
        QPainter painter(&canvas);
        DrawGlyphFrame(painter, 1, 0, index, count, strip);
        painter.end();
        return canvas;
    }

    QImage m_strip { 40, 3, QImage::Format_RGB32 };
};

TEST_F(GlyphFrameTest, IndexTwoOfFourDrawsColumnsTenToNineteen)
{
    const QImage canvas = drawFrame(2, 4, m_strip);
    for (int x = 1; x <= 10; ++x) {
        const int column = x + 9;
        for (int y = 0; y < 3; ++y) {
            const bool transparent = (column == 10 && y == 2) || (column == 15 && y == 0);
            EXPECT_EQ(canvas.pixel(x, y), transparent ? s_background : qRgb(column, 100 + y, 50)) << x << "," << y;
        }
    }
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(canvas.pixel(0, y), s_background);
        EXPECT_EQ(canvas.pixel(11, y), s_background);
    }
}

TEST_F(GlyphFrameTest, DegenerateStripsAndIndexesDrawNothing)
{
    const QImage untouched = filledImage(12, 3, s_background);
    EXPECT_EQ(drawFrame(1, 0, m_strip), untouched) << "frame count 0";
    EXPECT_EQ(drawFrame(1, -2, m_strip), untouched);
    EXPECT_EQ(drawFrame(0, 4, m_strip), untouched);
    EXPECT_EQ(drawFrame(5, 4, m_strip), untouched) << "past the last frame";
    EXPECT_EQ(drawFrame(1, 50, m_strip), untouched) << "frames narrower than a pixel";
    EXPECT_EQ(drawFrame(1, 1, QImage()), untouched);
}
