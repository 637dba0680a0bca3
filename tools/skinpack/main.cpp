// pixolo-skinpack SUBCOMMAND ARGS…: the skin container's command-line tool.
#include "Commands.h"

#include <QCoreApplication>

#include <array>
#include <exception>

using namespace pixolo;

namespace {

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
};

int usage()
{
    std::fputs("usage: pixolo-skinpack SUBCOMMAND ARGS\n", stderr);
    for (const Subcommand &s : s_subcommands) {
        std::fprintf(stderr, "  %s\n", s.usage);
    }
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        return usage();
    }
    const QString name = args.takeFirst();
    for (const Subcommand &s : s_subcommands) {
        if (name != QLatin1String(s.name)) {
            continue;
        }
        if (args.size() != s.arguments) {
            return usage();
        }
        try {
            return s.run(args, stdout);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "pixolo-skinpack %s: %s\n", s.name, e.what());
            return 1;
        }
    }
    return usage();
}
