// Prints how the program's font set resolves where it runs: the locale, then for each stand-in name, plain and bold,
// the family of the font Qt chose and of the fonts that drew a Latin and a Chinese piece of text. Families are given
// by their English names (the font's own name table), which do not change with the locale.
#include "platform/FontSet.h"

#include <QByteArray>
#include <QFont>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QLocale>
#include <QRawFont>
#include <QTextLayout>
#include <QtEndian>

#include <cstdio>

using namespace pixolo;

namespace
{

// The family name (name 1) of the font in English (Windows platform, US English), from its name table.
QString englishFamily(const QRawFont &font)
{
    const QByteArray table = font.fontTable("name");
    const auto u16 = [&](qsizetype at) {
        return at + 2 <= table.size() ? qFromBigEndian<quint16>(table.constData() + at) : quint16(0);
    };
    const int count = u16(2);
    const int strings = u16(4);
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 6 + qsizetype(i) * 12;
        if (u16(record) == 3 && u16(record + 4) == 0x409 && u16(record + 6) == 1) {
            const qsizetype at = strings + u16(record + 10);
            const int length = u16(record + 8);
            if (at + length > table.size()) {
                break;
            }
            QString name;
            for (int c = 0; c < length / 2; ++c) {
                name += QChar(u16(at + 2 * c));
            }
            return name;
        }
    }
    return QStringLiteral("?") + font.familyName();
}

// The family that drew `text` in `font` (the first glyph run's).
QString drawnBy(const QFont &font, const QString &text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return runs.isEmpty() ? QStringLiteral("-") : englishFamily(runs.first().rawFont());
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    installFontSet();
    std::printf("locale\t%s\n", qPrintable(QLocale::system().name()));
    for (const FontStandIn &standIn : kFontStandIns) {
        for (const bool bold : { false, true }) {
            QFont font(QString::fromLatin1(standIn.name));
            font.setPixelSize(14);
            font.setBold(bold);
            std::printf("%s\t%s\t%s\t%s\t%s\n", standIn.name, bold ? "bold" : "plain",
                qPrintable(englishFamily(QRawFont::fromFont(font))), qPrintable(drawnBy(font, QStringLiteral("Ab"))),
                qPrintable(drawnBy(font, QStringLiteral("照片存储路径"))));
        }
    }
    return 0;
}
