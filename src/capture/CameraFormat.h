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

// What a camera's output is linked with. A source whose pad says what it sends is chosen from as above (none: the
// pipeline agrees as usual). A source that answers "anything" before it runs (a PipeWire stream) is told a format
// from its device's own list: the best one, or, where the list is a single format or has ranges, the list's pictures
// (raw or JPEG) as they stand. None when neither says anything a picture can be made of: such a stream cannot be
// connected.
struct CameraLink {
    GstRef<GstCaps> caps; // for a filter between the source and what follows; empty: link as the pad says
    bool connectable = true;
};
CameraLink cameraLinkFor(const GstCaps *padCaps, const GstCaps *deviceCaps);

} // namespace pixolo
