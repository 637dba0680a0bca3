#pragma once

namespace pixolo
{

// Installs, once, the accessible interface of the video window: a screen reader finds it as a picture, named by
// its accessible name.
void installVideoAccessibility();

} // namespace pixolo
