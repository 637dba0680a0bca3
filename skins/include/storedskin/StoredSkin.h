#pragma once

#include <QByteArrayView>

namespace pixolo {

// Pixolo's own skin as packed at build time from skins/pixolo/: the CompressedData of both windows' stored skins.
QByteArrayView pixoloStoredSkin();

} // namespace pixolo
