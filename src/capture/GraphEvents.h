#pragma once

namespace pixolo
{

// The graph events the layer produces, under the framework's codes, as the sinks and OnDSEvent receive them:
//   EC_COMPLETE            the stream ended (param1 0)
//   EC_ERRORABORT          the graph stopped at an error (param1 the error's framework code)
//   EC_VIDEO_SIZE_CHANGED  the size of the video entering the renderer's chain (param1 width | height << 16)
//   EC_CLOCK_CHANGED       the graph took a new clock
//   EC_DEVICE_LOST         the camera failed or went (param2 1), just before its EC_ERRORABORT
//   EC_CLOCK_UNSET         the graph's clock went away
enum TGraphEventCode : int {
    EC_COMPLETE = 1,
    EC_ERRORABORT = 3,
    EC_VIDEO_SIZE_CHANGED = 10,
    EC_CLOCK_CHANGED = 13,
    EC_DEVICE_LOST = 31,
    EC_CLOCK_UNSET = 81,
};

} // namespace pixolo
