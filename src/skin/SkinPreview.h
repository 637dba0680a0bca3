#pragma once

#include <QImage>
#include <QRegion>
#include <QSize>

#include <optional>

namespace pixolo
{

class TbsDataSkinControl;
class TbsSkinData;

// A skin drawn outside any window, the way the skinned frame and controls draw it: for the skin tool's preview,
// for benchmarks and for tests of whole skins. The images are RGB32; shapes are regions in image coordinates.

// The size a skinned form really takes when asked for `size`: never below the frame picture's minimum (its width,
// and the frame's own height around the client).
QSize formSize(const TbsSkinData &store, QSize size);
// The form's whole frame at that size: the four border strips of the form picture (tiled or stretched per edge)
// around the client background (the picture's client part, or picture `bgpictureindex`, tiled from the client's
// corner). Null while the store is Empty.
QImage formFrameImage(const TbsSkinData &store, QSize size);
// The form's window shape from the mask: the new mask rectangle united with the black pixels of the mask's border
// strips. None without a mask picture or with the store Empty.
std::optional<QRegion> formRegion(const TbsSkinData &store, QSize size);

// The size a control bound to `entry` takes when asked for `size` (its resize mode fixes the skin height, the
// skin width or both), or an invalid size when the entry has no picture or an empty skin rectangle.
QSize controlSize(const TbsSkinData &store, const TbsDataSkinControl &entry, QSize size);
// The control's normal look at controlSize(): its skin rectangle copied, or built with the corner points, the
// client rectangle and the stretch flag (client part drawn).
QImage controlImage(const TbsSkinData &store, const TbsDataSkinControl &entry, QSize size);
// The control's shape from its mask picture (which has the skin rectangle's size), or none without one.
std::optional<QRegion> controlRegion(const TbsSkinData &store, const TbsDataSkinControl &entry, QSize size);

// The program icon a skin gives: the picture of its system-menu button (the icon at the caption's left), scaled
// nearest-neighbour to size × size with its outermost corner pixels cut away, which rounds it. Null when the skin
// has no such button or its picture is missing.
QImage programIcon(const TbsSkinData &store, int size);

} // namespace pixolo
