#include "skin/SkinText.h"

#include "../support/Images.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

// Text widths depend on the fonts installed, so these tests check layout rules, never exact widths.
class SkinTextTest : public testing::Test
{
protected:
    const QFont m_font = skinFont(QStringLiteral("Arial"), 14);
    const QFontMetrics m_metrics { m_font };
    const QString m_text = QStringLiteral("Pixolo snapshot");
};

TEST_F(SkinTextTest, TextThatFitsStaysAsItIs)
{
    QString text = m_text;
    CorrectTextToWidth(m_metrics, text, SkinTextWidth(m_metrics, m_text));
    EXPECT_EQ(text, m_text);
    QString empty;
    CorrectTextToWidth(m_metrics, empty, 0);
    EXPECT_EQ(empty, QString());
}

TEST_F(SkinTextTest, LongTextIsCutToTheLongestPrefixThatFitsWithEllipsis)
{
    const int width = SkinTextWidth(m_metrics, m_text) * 2 / 3;
    QString text = m_text;
    CorrectTextToWidth(m_metrics, text, width);
    ASSERT_TRUE(text.endsWith(QStringLiteral("...")));
    const QString kept = text.chopped(3);
    EXPECT_TRUE(m_text.startsWith(kept));
    EXPECT_LT(kept.size(), m_text.size());
    EXPECT_LE(SkinTextWidth(m_metrics, text), width);
    const QString oneMore = m_text.left(kept.size() + 1) + QStringLiteral("...");
    EXPECT_GT(SkinTextWidth(m_metrics, oneMore), width) << "the prefix is as long as fits";
}

TEST_F(SkinTextTest, WhenOnlyTheEllipsisFitsItIsAllThatRemains)
{
    QString text = m_text;
    CorrectTextToWidth(m_metrics, text, SkinTextWidth(m_metrics, QStringLiteral("...")));
    EXPECT_EQ(text, QStringLiteral("..."));
    QString nothing = m_text;
    CorrectTextToWidth(m_metrics, nothing, 0);
    EXPECT_EQ(nothing, QStringLiteral("...")) << "even when not even the ellipsis fits";
}

TEST_F(SkinTextTest, ShorteningNeverSplitsASurrogatePair)
{
    const QString faces = QString::fromUtf8("ab\U0001F600\U0001F600\U0001F600\U0001F600");
    for (int width = 0; width < SkinTextWidth(m_metrics, faces); ++width) {
        QString text = faces;
        CorrectTextToWidth(m_metrics, text, width);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).isHighSurrogate()) {
                ASSERT_TRUE(i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) << "width " << width;
            }
        }
    }
}

TEST_F(SkinTextTest, CalcRectMeasuresWithoutDrawing)
{
    QImage canvas = filledImage(200, 40, qRgb(255, 255, 255));
    QPainter painter(&canvas);
    painter.setFont(m_font);
    QRect rect(5, 7, 0, 0);
    const int height = DrawSkinText(painter, m_text, rect, SkinCalcRect);
    painter.end();
    EXPECT_EQ(rect.topLeft(), QPoint(5, 7));
    EXPECT_EQ(rect.width(), SkinTextWidth(QFontMetrics(m_font, &canvas), m_text));
    EXPECT_EQ(rect.height(), height);
    EXPECT_GT(height, 0);
    EXPECT_EQ(canvas, filledImage(200, 40, qRgb(255, 255, 255)));
}

TEST_F(SkinTextTest, AlignmentFlagsPlaceTheText)
{
    const auto inkOf = [&](int flags) {
        QImage canvas = filledImage(200, 30, qRgb(255, 255, 255));
        QPainter painter(&canvas);
        painter.setFont(m_font);
        painter.setPen(Qt::black);
        QRect rect(0, 0, 200, 30);
        DrawSkinText(painter, QStringLiteral("III"), rect, flags);
        painter.end();
        return inkBounds(canvas, qRgb(255, 255, 255));
    };
    const QRect left = inkOf(Qt::AlignLeft | Qt::AlignVCenter);
    const QRect right = inkOf(Qt::AlignRight | Qt::AlignVCenter);
    const QRect centred = inkOf(Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_LT(left.right(), 50);
    EXPECT_GT(right.left(), 150);
    EXPECT_NEAR(centred.center().x(), 100, 4);
    EXPECT_NEAR(left.center().y(), 15, 4);
}

TEST_F(SkinTextTest, SingleLineTextIsVerticallyCentredAndClipped)
{
    QImage canvas = filledImage(120, 60, qRgb(255, 255, 255));
    QPainter painter(&canvas);
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    DrawSingleLineText(painter, QStringLiteral("Delay\nsecond line"), QRect(10, 10, 40, 40));
    painter.end();
    const QRect ink = inkBounds(canvas, qRgb(255, 255, 255));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().y(), 30, 4);
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), 49) << "clipped to the rectangle";
}

TEST(SkinFont, NegativeHeightsArePixelSizesPositiveOnesCells)
{
    EXPECT_EQ(skinFont(QStringLiteral("Arial"), -12).pixelSize(), 12);
    const QFont cell = skinFont(QStringLiteral("Arial"), 14);
    EXPECT_LE(QFontMetrics(cell).height(), 14);
    EXPECT_LT(cell.pixelSize(), 14) << "a cell includes the leading above the characters";
    EXPECT_EQ(cell.family(), QFont(QStringLiteral("Arial")).family());
}
