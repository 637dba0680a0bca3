// The plugin "pixolotestcam": the virtual camera's element and its device provider. It is found when its folder is
// on GST_PLUGIN_PATH; its provider ranks below the system's own, so real cameras are listed first.
#define PACKAGE "pixolo" // GST_PLUGIN_DEFINE names the package by this macro

#include "PixoloTestCamProvider.h"
#include "PixoloTestCamSrc.h"

#include <gst/gst.h>

static gboolean registerFeatures(GstPlugin *plugin)
{
    return gst_element_register(plugin, "pixolotestcamsrc", GST_RANK_NONE, PIXOLO_TYPE_TEST_CAM_SRC)
        && gst_device_provider_register(
            plugin, "pixolotestcamprovider", GST_RANK_MARGINAL, PIXOLO_TYPE_TEST_CAM_PROVIDER);
}

GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, pixolotestcam, "Pixolo virtual test camera", registerFeatures,
    "1.0", "unknown", "Pixolo", "https://pixolo.invalid/")
