// The reference for the program's start: a bare viewfinder of the same camera in an X window, as a plain GStreamer
// program makes it (camerabin's viewfinder where that element is installed, otherwise the camera straight into an
// X image sink at the preview's size). It writes "first picture" to standard output when the first picture reaches
// its sink, and ends.
#include <gst/gst.h>

#include <cstdio>

namespace
{

GstPadProbeReturn firstPicture(GstPad *, GstPadProbeInfo *, gpointer loop)
{
    std::printf("first picture\n");
    std::fflush(stdout);
    g_main_loop_quit(static_cast<GMainLoop *>(loop));
    return GST_PAD_PROBE_REMOVE;
}

} // namespace

int main(int argc, char **argv)
{
    gst_init(&argc, &argv);
    const bool camerabin = argc > 1 && g_strcmp0(argv[1], "camerabin") == 0;
    GstElement *pipeline = nullptr;
    GstElement *sink = nullptr;
    if (camerabin) {
        sink = gst_element_factory_make("ximagesink", "sink");
        pipeline = gst_element_factory_make("camerabin", nullptr);
        GstElement *source = gst_element_factory_make("wrappercamerabinsrc", nullptr);
        GstElement *camera = gst_element_factory_make("pixolotestcamsrc", nullptr);
        if (!pipeline || !source || !camera || !sink) {
            std::fprintf(stderr, "viewfinder: camerabin or ximagesink is not installed\n");
            return 1;
        }
        g_object_set(source, "video-source", camera, nullptr);
        g_object_set(pipeline, "camera-source", source, "viewfinder-sink", sink, nullptr);
    } else {
        GError *error = nullptr;
        pipeline = gst_parse_launch(
            "pixolotestcamsrc ! videoconvert ! videoscale ! video/x-raw,width=320,height=240 ! ximagesink name=sink",
            &error);
        if (!pipeline) {
            std::fprintf(stderr, "viewfinder: %s\n", error ? error->message : "no pipeline");
            return 1;
        }
        sink = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
        if (error || !sink) {
            std::fprintf(stderr, "viewfinder: %s\n", error ? error->message : "no sink");
            return 1;
        }
    }
    GMainLoop *loop = g_main_loop_new(nullptr, FALSE);
    GstPad *pad = gst_element_get_static_pad(sink, "sink");
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, &firstPicture, loop, nullptr);
    gst_object_unref(pad);
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        std::fprintf(stderr, "viewfinder: does not start\n");
        return 1;
    }
    g_main_loop_run(loop);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    if (!camerabin) {
        gst_object_unref(sink);
    }
    g_main_loop_unref(loop);
    return 0;
}
