// pixolo-skinpack [OPTION]... SUBCOMMAND ARGS…: the skin container's command-line tool.
//
// Options (--help, --version) may stand anywhere; "--" ends them. Help and version go to standard output; errors go
// to standard error with status 1 (the work failed) or 2 (wrong use).
#include "Commands.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <array>
#include <exception>

using namespace pixolo;

namespace
{

struct Subcommand {
    const char *name;
    const char *usage;
    qsizetype arguments;
    SkinPackCommand run;
};

// One row per subcommand.
constexpr std::array s_subcommands = {
    Subcommand {
        "pack", "pack SKIN.INI OUT      pack a skin folder's description and pictures into OUT", 2, packCommand },
    Subcommand { "describe", "describe FILE          show what a packed skin holds", 1, describeCommand },
    Subcommand { "render",
        "render FILE ENTRY WIDTH HEIGHT OUT.png\n"
        "                         draw control entry ENTRY (or the form) at that size as a PNG",
        5, renderCommand },
    Subcommand { "icon", "icon FILE SIZE OUT.png   draw the program icon the skin gives at SIZE x SIZE as a PNG", 3,
        iconCommand },
};

QString helpText(const QCommandLineParser &parser)
{
    QString text = parser.helpText();
    text += QStringLiteral("\nSubcommands:\n");
    for (const Subcommand &s : s_subcommands) {
        text += QStringLiteral("  %1\n").arg(QLatin1String(s.usage));
    }
    return text;
}

int wrongUse(const QString &why, const QCommandLineParser &parser)
{
    std::fprintf(stderr, "pixolo-skinpack: %s\n%s", qPrintable(why), qPrintable(helpText(parser)));
    return 2;
}

bool print(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
        && std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pixolo-skinpack"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PIXOLO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Packs skin folders into Pixolo's compressed skin container and "
                                                    "looks inside such containers."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("SUBCOMMAND"), QStringLiteral("pack, describe, render or icon"),
        QStringLiteral("SUBCOMMAND ARGS..."));
    if (!parser.parse(QCoreApplication::arguments())) {
        return wrongUse(parser.errorText(), parser);
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        return print(helpText(parser)) ? 0 : 1;
    }
    if (parser.isSet(version)) {
        return print(QStringLiteral("pixolo-skinpack (Pixolo) %1\n").arg(QStringLiteral(PIXOLO_VERSION))) ? 0 : 1;
    }
    QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        return wrongUse(QStringLiteral("no subcommand given"), parser);
    }
    const QString name = args.takeFirst();
    for (const Subcommand &s : s_subcommands) {
        if (name != QLatin1String(s.name)) {
            continue;
        }
        if (args.size() != s.arguments) {
            return wrongUse(
                QStringLiteral("%1 takes %2 arguments, got %3").arg(name).arg(s.arguments).arg(args.size()), parser);
        }
        try {
            return s.run(args, stdout);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "pixolo-skinpack %s: %s\n", s.name, e.what());
            return 1;
        }
    }
    return wrongUse(QStringLiteral("unknown subcommand \"%1\"").arg(name), parser);
}
