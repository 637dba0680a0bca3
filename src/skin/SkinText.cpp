#include "skin/SkinText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>

namespace pixolo
{

namespace
{

constexpr int s_measureFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic;

QRect measured(const QFontMetrics &Metrics, const QString &Text, int flags)
{
    return Metrics.boundingRect(QRect(0, 0, 0, 0), flags, Text);
}

} // namespace

QFont skinFont(const QString &Name, int Height)
{
    QFont font(Name);
    if (Height < 0) {
        font.setPixelSize(-Height);
    } else if (Height > 0) {
        // The largest pixel size whose cell (ascent + descent) fits the height.
        int size = Height;
        font.setPixelSize(size);
        while (size > 1 && QFontMetrics(font).height() > Height) {
            font.setPixelSize(--size);
        }
    }
    return font;
}

QFont skinFont(const QString &Name, int Height, TFontStyles Style)
{
    QFont font = skinFont(Name, Height);
    font.setBold((Style & fsBold) != 0);
    font.setItalic((Style & fsItalic) != 0);
    font.setUnderline((Style & fsUnderline) != 0);
    font.setStrikeOut((Style & fsStrikeOut) != 0);
    return font;
}

int DrawSkinText(QPainter &Canvas, const QString &Text, QRect &Rect, int Flags)
{
    const int qtFlags = Flags & ~SkinCalcRect;
    if (Flags & SkinCalcRect) {
        const QRect extent = measured(Canvas.fontMetrics(), Text, qtFlags);
        Rect.setWidth(extent.width());
        Rect.setHeight(extent.height());
        return extent.height();
    }
    QRect drawn;
    Canvas.drawText(Rect, qtFlags, Text, &drawn);
    return drawn.height();
}

int SkinTextWidth(const QFontMetrics &Metrics, const QString &Text)
{
    return measured(Metrics, Text, s_measureFlags).width();
}

int SkinTextHeight(const QFontMetrics &Metrics, const QString &Text)
{
    return measured(Metrics, Text, s_measureFlags).height();
}

void CorrectTextToWidth(const QFontMetrics &Metrics, QString &Text, int Width)
{
    if (SkinTextWidth(Metrics, Text) <= Width) {
        return;
    }
    const QString ellipsis = QStringLiteral("...");
    QString shortened = Text;
    while (!shortened.isEmpty()) {
        // Drop a whole character: a surrogate pair goes at once.
        const qsizetype last = shortened.size() - 1;
        const bool pair = last > 0 && shortened.at(last).isLowSurrogate() && shortened.at(last - 1).isHighSurrogate();
        shortened.chop(pair ? 2 : 1);
        if (SkinTextWidth(Metrics, shortened + ellipsis) <= Width) {
            break;
        }
    }
    Text = shortened + ellipsis;
}

void DrawSingleLineText(QPainter &Canvas, const QString &Text, const QRect &Rect)
{
    Canvas.drawText(Rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, Text);
}

QString accessibleCaption(const QString &caption)
{
    QString spoken;
    spoken.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
                spoken += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        spoken += caption.at(i);
    }
    return spoken;
}

} // namespace pixolo
