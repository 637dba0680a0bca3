#pragma once

#include "capture/GstRef.h"

#include <gst/gst.h>

namespace pixolo
{

// The one format to take from a camera that offers several: the largest picture, then the highest frame rate, then
// raw frames over JPEG ones (no decoding). A camera delivering 1920 × 1080 raw at 5 frames a second and as JPEG at
// 30 gives JPEG at 30: decoded once, before anything else sees the frame, at its full size.
//
// Only a camera's own list of fixed sizes is chosen from; caps with size ranges (a source that scales as it is
// asked) or a single format give none, and the pipeline agrees on a format as it always does.
GstRef<GstCaps> bestCameraFormat(const GstCaps *offered);

} // namespace pixolo
