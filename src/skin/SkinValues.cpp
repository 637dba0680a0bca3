#include "skin/SkinValues.h"

#include "platform/EConvertError.h"
#include "skin/SkinIni.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace pixolo
{

namespace
{

constexpr std::array<const char *, 7> s_morphWords
    = { "mkdefault", "mkgradient", "mkleftgradient", "mkrightgradient", "mkleftslide", "mkrightslide", "mkpush" };
constexpr std::array<const char *, 6> s_effectWords
    = { "iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert" };

struct StyleWord {
    TFontStyle style;
    const char *word;
};
constexpr std::array<StyleWord, 4> s_styleWords = { { { fsBold, "fsbold" }, { fsItalic, "fsitalic" },
    { fsUnderline, "fsunderline" }, { fsStrikeOut, "fsstrikeout" } } };

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

// Converts a run of decimal digits; nullopt when empty, not all digits, or beyond the limit.
std::optional<std::int64_t> decimal(QStringView digits, std::int64_t limit)
{
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return value;
}

std::optional<std::int64_t> hexadecimal(QStringView digits)
{
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const QChar c : digits) {
        const int d = hexDigit(c);
        if (d < 0) {
            return std::nullopt;
        }
        value = value * 16 + d;
        if (value > std::int64_t(std::numeric_limits<std::uint32_t>::max())) {
            return std::nullopt;
        }
    }
    return value;
}

// The leading pieces of a comma list, digits only, as integers.
template <size_t N> std::array<int, N> parsePieces(const QString &text)
{
    const QStringList pieces = text.split(u',');
    std::array<int, N> values {};
    for (size_t i = 0; i < N; ++i) {
        QString digits;
        if (qsizetype(i) < pieces.size()) {
            for (const QChar c : pieces[qsizetype(i)]) {
                if (c >= u'0' && c <= u'9') {
                    digits.append(c);
                }
            }
        }
        const auto value = decimal(digits, std::numeric_limits<int>::max());
        if (!value) {
            throw EConvertError::notAnInteger(digits.toStdString());
        }
        values[i] = int(*value);
    }
    return values;
}

template <size_t N> QString joined(const std::array<int, N> &values)
{
    QStringList parts;
    for (const int v : values) {
        parts.append(QString::number(v));
    }
    return parts.join(u',');
}

} // namespace

std::optional<int> parseSkinInteger(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    std::optional<std::int64_t> value;
    if (text.startsWith(u'$')) {
        value = hexadecimal(text.sliced(1));
    } else if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        value = hexadecimal(text.sliced(2));
    } else {
        value = decimal(text, std::int64_t(std::numeric_limits<int>::max()) + (negative ? 1 : 0));
        if (value) {
            return int(negative ? -*value : *value);
        }
        return std::nullopt;
    }
    if (!value) {
        return std::nullopt;
    }
    // Hexadecimal values name 32 bits (system colours are written 0xFF0000nn): wrap into the signed range.
    const auto bits = static_cast<std::uint32_t>(*value);
    const auto wrapped = static_cast<std::int32_t>(negative ? 0u - bits : bits);
    return int(wrapped);
}

TPoint ParsePoint(const QString &text)
{
    const auto v = parsePieces<2>(text);
    return { v[0], v[1] };
}

TRect ParseRect(const QString &text)
{
    const auto v = parsePieces<4>(text);
    return { v[0], v[1], v[2], v[3] };
}

int skinWordIndex(const QString &text, std::span<const char *const> words)
{
    for (size_t i = 0; i < words.size(); ++i) {
        if (text == QLatin1String(words[i])) {
            return int(i);
        }
    }
    return -1;
}

bool ReadBoolean(const SkinIni &ini, const QString &section, const QString &key)
{
    return ini.ReadInteger(section, key, 0) == 1;
}

TPoint ReadPoint(const SkinIni &ini, const QString &section, const QString &key)
{
    return ParsePoint(ini.ReadString(section, key, QStringLiteral("0,0")));
}

TRect ReadRect(const SkinIni &ini, const QString &section, const QString &key)
{
    return ParseRect(ini.ReadString(section, key, QStringLiteral("0,0,0,0")));
}

TFontStyles ReadFontStyles(const SkinIni &ini, const QString &section, const QString &key)
{
    const QString text = ini.ReadString(section, key, QString());
    TFontStyles styles = 0;
    for (const StyleWord &s : s_styleWords) {
        if (text.contains(QLatin1String(s.word), Qt::CaseSensitive)) {
            styles |= s.style;
        }
    }
    return styles;
}

TAlignment ReadAlignment(const SkinIni &ini, const QString &section, const QString &key)
{
    const QString text = ini.ReadString(section, key, QStringLiteral("tacenter"));
    if (text == u"tacenter") {
        return taCenter;
    }
    return text == u"taleftjustify" ? taLeftJustify : taRightJustify;
}

TMorphKind ReadMorphKind(const SkinIni &ini, const QString &section, const QString &key)
{
    const int i = skinWordIndex(ini.ReadString(section, key, QStringLiteral("mkdefault")), s_morphWords);
    return i < 0 ? mkDefault : TMorphKind(i);
}

TbsInActiveEffect ReadInactiveEffect(const SkinIni &ini, const QString &section, const QString &key)
{
    const int i = skinWordIndex(ini.ReadString(section, key, QStringLiteral("iebrightness")), s_effectWords);
    return i < 0 ? ieGrayscale : TbsInActiveEffect(i);
}

void ReadStrings(const SkinIni &ini, const QString &section, const QString &key, QStringList &list)
{
    // Missing keys past the last one present would only add empty names: a count of two billion must not.
    const int count
        = std::min(ini.ReadInteger(section, key + QStringLiteral("count"), 0), ini.NumberedKeyLimit(section));
    for (int i = 0; i < count; ++i) {
        list.append(ini.ReadString(section, QString::number(i), QString()));
    }
}

void WriteRect(SkinIni &ini, const QString &section, const QString &key, const TRect &value)
{
    ini.WriteString(section, key, joined(std::array { value.Left, value.Top, value.Right, value.Bottom }));
}

void WritePoint(SkinIni &ini, const QString &section, const QString &key, const TPoint &value)
{
    ini.WriteString(section, key, joined(std::array { value.X, value.Y }));
}

void WriteBoolean(SkinIni &ini, const QString &section, const QString &key, bool value)
{
    ini.WriteInteger(section, key, value ? 1 : 0);
}

void WriteFontStyles(SkinIni &ini, const QString &section, const QString &key, TFontStyles value)
{
    QStringList words;
    for (const StyleWord &s : s_styleWords) {
        if (value & s.style) {
            words.append(QLatin1String(s.word));
        }
    }
    ini.WriteString(section, key, words.join(u','));
}

void WriteAlignment(SkinIni &ini, const QString &section, const QString &key, TAlignment value)
{
    const char *word = value == taCenter ? "tacenter" : value == taLeftJustify ? "taleftjustify" : "tarightjustify";
    ini.WriteString(section, key, QLatin1String(word));
}

void WriteMorphKind(SkinIni &ini, const QString &section, const QString &key, TMorphKind value)
{
    const size_t i = size_t(value) < s_morphWords.size() ? size_t(value) : 0;
    ini.WriteString(section, key, QLatin1String(s_morphWords[i]));
}

void WriteInactiveEffect(SkinIni &ini, const QString &section, const QString &key, TbsInActiveEffect value)
{
    const size_t i = size_t(value) < s_effectWords.size() ? size_t(value) : size_t(ieGrayscale);
    ini.WriteString(section, key, QLatin1String(s_effectWords[i]));
}

} // namespace pixolo
