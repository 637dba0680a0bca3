#include "app/CommandLine.h"

#include <cstring>

namespace pixolo::CommandLine
{

Action parse(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *argument = argv[i];
        if (std::strcmp(argument, "--") == 0) {
            break;
        }
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            return ShowHelp;
        }
        if (std::strcmp(argument, "--version") == 0) {
            return ShowVersion;
        }
    }
    return Run;
}

QString helpText()
{
    return QStringLiteral(
        "Usage: pixolo [OPTION]...\n"
        "Pixolo (快拍宝) shows the first camera of the machine live and stores a photo of it, named by its capture\n"
        "time, in the photo folder when F8 or the snapshot button is pressed.\n"
        "\n"
        "  -h, --help     show this help and exit\n"
        "      --version  show the version and exit\n"
        "\n"
        "Other arguments are ignored. The photo folder is remembered in Pixolo.ini beside the program when that\n"
        "folder can be written (or already holds one), otherwise in $XDG_CONFIG_HOME/pixolo/Pixolo.ini\n"
        "(~/.config/pixolo/Pixolo.ini). Only one copy runs at a time for each user.\n");
}

QString versionText()
{
    return QStringLiteral("pixolo (Pixolo) " PIXOLO_VERSION "\n");
}

} // namespace pixolo::CommandLine
