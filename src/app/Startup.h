#pragma once

namespace pixolo
{

// The program: fills the process globals, refuses a second copy, creates the two windows and runs the event loop
// until the main window closes. Returns the process exit code.
int runPixolo(int &argc, char **argv);

} // namespace pixolo
