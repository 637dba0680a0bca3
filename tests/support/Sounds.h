#pragma once

#include <QString>

namespace pixolo::test
{

// Writes a mono 16-bit PCM WAV file of a short tone; 0 ms gives a file with no samples.
void writeWav(const QString &fileName, int milliseconds);

} // namespace pixolo::test
