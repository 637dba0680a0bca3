#pragma once

#include <gst/base/gstpushsrc.h>

G_BEGIN_DECLS

// The virtual camera's source element "pixolotestcamsrc": a live source of the moving test picture in YUY2, or in
// JPEG frames, as the environment says when the element is made.
#define PIXOLO_TYPE_TEST_CAM_SRC (pixolo_test_cam_src_get_type())
G_DECLARE_FINAL_TYPE(PixoloTestCamSrc, pixolo_test_cam_src, PIXOLO, TEST_CAM_SRC, GstPushSrc)

// Whether an unplugged virtual camera is still gone: true from the moment a source vanished for as long as
// PIXOLO_TESTCAM_VANISH_AFTER keeps the value it had then.
gboolean pixolo_test_cam_is_unplugged(void);

G_END_DECLS
