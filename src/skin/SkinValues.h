#pragma once

#include "skin/SkinTypes.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace pixolo
{

class SkinIni;

// The integer syntax of the description: an optional sign and decimal digits, or hexadecimal digits after "$" or
// "0x" (up to 32 bits, taken as a signed 32-bit value); nothing else.
std::optional<int> parseSkinInteger(QStringView text);

// Points and rectangles: the text is split at ',', each piece keeps only its digits, and the leading two or four
// pieces are converted. A piece without digits, a missing piece or a number beyond 32 bits raises EConvertError.
TPoint ParsePoint(const QString &text);
TRect ParseRect(const QString &text);

bool ReadBoolean(const SkinIni &ini, const QString &section, const QString &key);
TPoint ReadPoint(const SkinIni &ini, const QString &section, const QString &key);
TRect ReadRect(const SkinIni &ini, const QString &section, const QString &key);
TFontStyles ReadFontStyles(const SkinIni &ini, const QString &section, const QString &key);
TAlignment ReadAlignment(const SkinIni &ini, const QString &section, const QString &key);
TMorphKind ReadMorphKind(const SkinIni &ini, const QString &section, const QString &key);
TbsInActiveEffect ReadInactiveEffect(const SkinIni &ini, const QString &section, const QString &key);
// Appends the values of the keys "0" … n−1, n being the integer key `<key>count`.
void ReadStrings(const SkinIni &ini, const QString &section, const QString &key, QStringList &list);

void WriteRect(SkinIni &ini, const QString &section, const QString &key, const TRect &value);
void WritePoint(SkinIni &ini, const QString &section, const QString &key, const TPoint &value);
void WriteBoolean(SkinIni &ini, const QString &section, const QString &key, bool value);
void WriteFontStyles(SkinIni &ini, const QString &section, const QString &key, TFontStyles value);
void WriteAlignment(SkinIni &ini, const QString &section, const QString &key, TAlignment value);
void WriteMorphKind(SkinIni &ini, const QString &section, const QString &key, TMorphKind value);
void WriteInactiveEffect(SkinIni &ini, const QString &section, const QString &key, TbsInActiveEffect value);

// Position of an exact (case-sensitive) word in a table, or -1.
int skinWordIndex(const QString &text, std::span<const char *const> words);

} // namespace pixolo
