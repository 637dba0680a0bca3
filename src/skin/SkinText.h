#pragma once

#include "skin/SkinTypes.h"

#include <QFont>
#include <QString>

class QFontMetrics;
class QPainter;
class QRect;

namespace pixolo
{

// A flag for DrawSkinText besides Qt's alignment and text flags: measure only. Rect's right and bottom then
// grow or shrink to the text's extent from its left and top, and nothing is drawn.
constexpr int SkinCalcRect = 0x40000000;

// The skin's font size rule: a negative Height is the character height (pixel size), a positive one the cell
// height (ascent + descent), 0 the family's default size.
QFont skinFont(const QString &Name, int Height);
// The same font with the description's style flags (fsBold, fsItalic, fsUnderline, fsStrikeOut).
QFont skinFont(const QString &Name, int Height, TFontStyles Style);

// Draws Text in Rect with the painter's font and pen, laid out by Qt alignment and text flags (a '&' marks a
// mnemonic with Qt::TextShowMnemonic). Returns the height of the laid-out text.
int DrawSkinText(QPainter &Canvas, const QString &Text, QRect &Rect, int Flags);
// The width and height of Text measured from (0, 0), '&' marking a mnemonic.
int SkinTextWidth(const QFontMetrics &Metrics, const QString &Text);
int SkinTextHeight(const QFontMetrics &Metrics, const QString &Text);
// Leaves Text alone when it fits Width; otherwise shortens it by whole characters until it fits followed by
// "...", and appends "..." (so a text of which nothing fits becomes "...").
void CorrectTextToWidth(const QFontMetrics &Metrics, QString &Text, int Width);
// One line, left aligned and vertically centred in Rect, clipped to it.
void DrawSingleLineText(QPainter &Canvas, const QString &Text, const QRect &Rect);

// A caption as a screen reader speaks it: '&' marking the access key left out, "&&" read as one '&'.
QString accessibleCaption(const QString &caption);

} // namespace pixolo
