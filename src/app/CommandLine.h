#pragma once

#include <QString>

namespace pixolo
{

// The program's few command-line options, read before anything else is set up, so that they work without a display.
// "--help" and "--version" print to standard output and end the program with status 0; every other argument is
// ignored (the window system's own options, such as -platform, are taken by the application object).
namespace CommandLine
{

enum Action { Run, ShowHelp, ShowVersion };

// The first of "--help" (or "-h") and "--version" among the arguments, up to a "--"; Run when neither is there.
Action parse(int argc, const char *const *argv);

QString helpText();
QString versionText(); // "pixolo (Pixolo) <version>"

} // namespace CommandLine

} // namespace pixolo
