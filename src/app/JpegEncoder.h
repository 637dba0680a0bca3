#pragma once

#include <QByteArray>

#include <optional>

namespace pixolo
{

class TBitmap;

// Baseline JPEG encoding of a bitmap with libjpeg: three-component RGB rows from top to bottom, the library's
// default settings (JFIF header, standard Huffman tables, default chroma subsampling), sequential, in colour, at the
// given quality with baseline-compatible quantisation tables.
namespace JpegEncoder
{

// The compressed image; empty for a bitmap of width or height 0; nothing when the encoder fails.
std::optional<QByteArray> encode(const TBitmap &bitmap, int quality);

} // namespace JpegEncoder

} // namespace pixolo
