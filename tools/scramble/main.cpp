// pixolo-scramble: encodes or decodes a text with the program's text scrambler.
//
//   pixolo-scramble [--key K] [--v1] encode|decode TEXT
//
// Options may stand before or after the command. Without --v1 the second routine (the one the program decodes its
// texts with) is used; --key gives a key, else the routine's default key applies. Texts are taken and printed as
// UTF-8 bytes. Help and version go to standard output; errors go to standard error with status 1 (a text that does
// not decode) or 2 (wrong use).
#include "app/HexScramble.h"
#include "platform/EConvertError.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <string>

namespace
{

int wrongUse(const QString &why, const QCommandLineParser &parser)
{
    std::fprintf(stderr, "pixolo-scramble: %s\n%s", qPrintable(why), qPrintable(parser.helpText()));
    return 2;
}

bool print(const QByteArray &bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
        && std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pixolo-scramble"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PIXOLO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Scrambles a product text for the program's source, or shows "
                                                    "what a scrambled text says."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption key(
        QStringLiteral("key"), QStringLiteral("Scramble with key K instead of the default."), QStringLiteral("K"));
    const QCommandLineOption v1(QStringLiteral("v1"), QStringLiteral("Use the first routine instead of the second."));
    parser.addOptions({ key, v1 });
    parser.addPositionalArgument(QStringLiteral("encode|decode"), QStringLiteral("Scramble TEXT, or decode it."));
    parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("The text (UTF-8), or the scrambled hex."));

    if (!parser.parse(QCoreApplication::arguments())) {
        return wrongUse(parser.errorText(), parser);
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        return print(parser.helpText().toUtf8()) ? 0 : 1;
    }
    if (parser.isSet(version)) {
        return print(QStringLiteral("pixolo-scramble (Pixolo) %1\n").arg(QStringLiteral(PIXOLO_VERSION)).toUtf8()) ? 0
                                                                                                                   : 1;
    }
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2) {
        return wrongUse(
            QStringLiteral("expected a command and one text, got %1 arguments").arg(arguments.size()), parser);
    }
    const QString &mode = arguments[0];
    if (mode != QLatin1String("encode") && mode != QLatin1String("decode")) {
        return wrongUse(QStringLiteral("unknown command \"%1\"").arg(mode), parser);
    }
    const std::string text = arguments[1].toStdString();
    const std::string keyText = parser.value(key).toStdString();
    try {
        const bool encode = mode == QLatin1String("encode");
        const std::string result = parser.isSet(v1) ? pixolo::HexScramble(text, encode, keyText)
                                                    : pixolo::HexScramble2(text, encode, keyText);
        return print(QByteArray::fromStdString(result) + '\n') ? 0 : 1;
    } catch (const pixolo::EConvertError &error) {
        std::fprintf(stderr, "pixolo-scramble: %s\n", error.what());
        return 1;
    }
}
