#pragma once

#include <gst/gst.h>

G_BEGIN_DECLS

// The device provider that lists the virtual camera ("Pixolo Test Camera", class Video/Source) unless it was
// unplugged, and the device whose element is a pixolotestcamsrc.
#define PIXOLO_TYPE_TEST_CAM_PROVIDER (pixolo_test_cam_provider_get_type())
G_DECLARE_FINAL_TYPE(PixoloTestCamProvider, pixolo_test_cam_provider, PIXOLO, TEST_CAM_PROVIDER, GstDeviceProvider)

#define PIXOLO_TYPE_TEST_CAM_DEVICE (pixolo_test_cam_device_get_type())
G_DECLARE_FINAL_TYPE(PixoloTestCamDevice, pixolo_test_cam_device, PIXOLO, TEST_CAM_DEVICE, GstDevice)

G_END_DECLS
