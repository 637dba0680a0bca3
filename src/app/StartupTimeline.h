#pragma once

namespace pixolo
{

// Where the start goes. With PIXOLO_TIMELINE set in the environment, each step of the start is written to standard
// error as it is reached, as "pixolo: timeline <ms> <step>", the milliseconds counted from the first step (the
// program's entry). The last step is the first camera picture painted in the preview; steps after it are not
// written. Without the variable a step costs one test of a flag.
namespace StartupTimeline
{

void mark(const char *step);

// The last step: the first camera picture painted. Called for every painted picture; only the first counts.
void markFirstPicture();

} // namespace StartupTimeline

} // namespace pixolo
