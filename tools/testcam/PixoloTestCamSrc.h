#pragma once

#include <gst/base/gstpushsrc.h>

G_BEGIN_DECLS

// The virtual camera's source element "pixolotestcamsrc": a live source of the moving test picture in YUY2, I420 or
// JPEG frames, as the environment says when the element is made; "camera-index" picks the camera's own picture.
#define PIXOLO_TYPE_TEST_CAM_SRC (pixolo_test_cam_src_get_type())
G_DECLARE_FINAL_TYPE(PixoloTestCamSrc, pixolo_test_cam_src, PIXOLO, TEST_CAM_SRC, GstPushSrc)

// Whether the virtual cameras are unplugged: from the moment a source vanished (PIXOLO_TESTCAM_VANISH_AFTER) until a
// provider is started or a source is made while that setting has another value.
gboolean pixolo_test_cam_is_unplugged(void);
// A source vanished after that many frames: the cameras are unplugged, and every started provider drops them now.
void pixolo_test_cam_mark_unplugged(unsigned vanishSetting);
// The cameras come back if they vanished by another setting than this one.
void pixolo_test_cam_replug_if_changed(unsigned vanishSetting);
// Every started provider brings its list in step with the cameras' presence now (any thread).
void pixolo_test_cam_providers_update(void);

G_END_DECLS
