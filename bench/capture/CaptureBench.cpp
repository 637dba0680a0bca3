// Speed of the capture graph with the virtual camera: copying a frame out of the grabber, and the processor time
// a live preview takes (camera, conversion, grabber and painting in the video window together).
#include "capture/TFilter.h"
#include "capture/TFilterGraph.h"
#include "capture/TSampleGrabber.h"
#include "capture/TSysDevEnum.h"
#include "capture/TVideoWindow.h"
#include "platform/TBitmap.h"

#include "ProcessorTime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gst/gst.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace pixolo
{
namespace
{

// The capture components wired as the main window wires them, previewing the virtual camera at one size.
class Preview
{
public:
    explicit Preview(const QByteArray &size)
    {
        qputenv("PIXOLO_TESTCAM_SIZE", size);
        m_window.resize(320, 240);
        m_window.SetFilterGraph(&m_graph);
        m_grabber.SetFilterGraph(&m_graph);
        m_filter.SetFilterGraph(&m_graph);
        m_graph.SetMode(gmCapture);
        const TSysDevEnum devices(CLSID_VideoInputDeviceCategory);
        for (int i = 0; i < devices.DeviceCount(); ++i) {
            if (devices.Device(i)->FriendlyName.startsWith(QStringLiteral("Pixolo Test Camera"))) {
                const auto moniker = devices.DeviceMoniker(i);
                m_filter.BaseFilter()->StoreMoniker(moniker ? &*moniker : nullptr);
            }
        }
        m_graph.SetActive(true);
        try {
            m_graph.RenderStream(&m_filter, &m_grabber, &m_window);
            m_running = m_filter.GetClientFilter() && m_graph.RunGraph();
        } catch (const EDirectShowException &) {
            m_running = false;
        }
        m_window.OnPaint = [this](QObject *) { ++m_paints; };
    }
    ~Preview()
    {
        m_graph.SetActive(false);
        qunsetenv("PIXOLO_TESTCAM_SIZE");
    }

    bool running() const { return m_running; }
    TSampleGrabber &grabber() { return m_grabber; }
    TVideoWindow &window() { return m_window; }
    int paints() const { return m_paints; }

    // Runs the event loop until the grabber holds a frame; false after ten seconds without one.
    bool waitForFrame()
    {
        QElapsedTimer timer;
        timer.start();
        TBitmap bitmap;
        while (!m_grabber.CopyFrameToBitmap(&bitmap)) {
            if (timer.hasExpired(10000)) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }

private:
    TFilterGraph m_graph;
    TVideoWindow m_window;
    TSampleGrabber m_grabber;
    TFilter m_filter;
    bool m_running = false;
    int m_paints = 0;
};

using test::processorSeconds;
using test::processorShareFor;

void copyFrameToBitmap(benchmark::State &state, const QByteArray &size)
{
    Preview preview(size);
    if (!preview.running() || !preview.waitForFrame()) {
        state.SkipWithError("the virtual camera does not run");
        return;
    }
    for (auto _ : state) {
        TBitmap bitmap; // as a snapshot does: a new, empty bitmap each time
        benchmark::DoNotOptimize(preview.grabber().CopyFrameToBitmap(&bitmap));
    }
}

void BM_CopyFrameToBitmap640x480(benchmark::State &state)
{
    copyFrameToBitmap(state, "640x480");
}
BENCHMARK(BM_CopyFrameToBitmap640x480)->Unit(benchmark::kMicrosecond);

void BM_CopyFrameToBitmap1920x1080(benchmark::State &state)
{
    copyFrameToBitmap(state, "1920x1080");
}
BENCHMARK(BM_CopyFrameToBitmap1920x1080)->Unit(benchmark::kMicrosecond);

// The least a preview can cost: the same virtual camera, scaled to 320 × 240 and converted for painting, into a sink
// that takes the frames at their time and does nothing with them.
class ReferencePreview
{
public:
    ReferencePreview(const QByteArray &size, bool mjpeg)
    {
        qputenv("PIXOLO_TESTCAM_SIZE", size);
        qputenv("PIXOLO_TESTCAM_FORMAT", mjpeg ? "mjpeg" : "yuy2");
        const QByteArray description = QByteArray("pixolotestcamsrc ! ") + (mjpeg ? "jpegdec ! " : "")
            + "videoscale ! videoconvert ! video/x-raw,format=BGRx,width=320,height=240 ! fakesink sync=true";
        m_pipeline = gst_parse_launch(description.constData(), nullptr);
        m_running = m_pipeline && gst_element_set_state(m_pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE
            && gst_element_get_state(m_pipeline, nullptr, nullptr, 10 * GST_SECOND) == GST_STATE_CHANGE_SUCCESS;
    }
    ~ReferencePreview()
    {
        if (m_pipeline) {
            gst_element_set_state(m_pipeline, GST_STATE_NULL);
            gst_object_unref(m_pipeline);
        }
        qunsetenv("PIXOLO_TESTCAM_FORMAT");
        qunsetenv("PIXOLO_TESTCAM_SIZE");
    }
    bool running() const { return m_running; }

private:
    GstElement *m_pipeline = nullptr;
    bool m_running = false;
};

// Pixolo's preview against the reference, in turns within one run (the machine is shared and its load changes):
// three pairs of three seconds each, medians compared.
void previewAgainstReference(benchmark::State &state, const QByteArray &size, bool mjpeg)
{
    for (auto _ : state) {
        std::vector<double> ours;
        std::vector<double> reference;
        std::vector<double> paintedFps;
        for (int pair = 0; pair < 3; ++pair) {
            {
                qputenv("PIXOLO_TESTCAM_FORMAT", mjpeg ? "mjpeg" : "yuy2");
                Preview preview(size);
                preview.window().show();
                if (!preview.running() || !preview.waitForFrame()) {
                    state.SkipWithError("the virtual camera does not run");
                    return;
                }
                processorShareFor(500); // settled
                const int paintsBefore = preview.paints();
                ours.push_back(processorShareFor(3000));
                paintedFps.push_back((preview.paints() - paintsBefore) / 3.0);
            }
            {
                ReferencePreview bare(size, mjpeg);
                if (!bare.running()) {
                    state.SkipWithError("the reference pipeline does not run");
                    return;
                }
                processorShareFor(500);
                reference.push_back(processorShareFor(3000));
            }
        }
        qunsetenv("PIXOLO_TESTCAM_FORMAT");
        std::sort(ours.begin(), ours.end());
        std::sort(reference.begin(), reference.end());
        state.counters["pixolo_cpu_percent"] = ours[1];
        state.counters["reference_cpu_percent"] = reference[1];
        state.counters["ratio"] = reference[1] > 0 ? ours[1] / reference[1] : 0.0;
        std::sort(paintedFps.begin(), paintedFps.end());
        state.counters["painted_fps"] = paintedFps[1];
    }
}

BENCHMARK_CAPTURE(previewAgainstReference, yuy2_640x480, QByteArray("640x480"), false)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(previewAgainstReference, yuy2_1920x1080, QByteArray("1920x1080"), false)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(previewAgainstReference, mjpeg_1280x720, QByteArray("1280x720"), true)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(previewAgainstReference, mjpeg_1920x1080, QByteArray("1920x1080"), true)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// Share of one core the whole process uses while the preview shows 640 × 480 at 30 frames a second for ten
// seconds; also the frames painted a second.
void BM_PreviewProcessorShare640x480(benchmark::State &state)
{
    Preview preview("640x480");
    preview.window().show();
    if (!preview.running() || !preview.waitForFrame()) {
        state.SkipWithError("the virtual camera does not run");
        return;
    }
    for (auto _ : state) {
        const int paintsBefore = preview.paints();
        const double before = processorSeconds();
        QElapsedTimer wall;
        wall.start();
        QEventLoop loop;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        const double seconds = double(wall.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        state.counters["cpu_percent"] = 100.0 * (processorSeconds() - before) / seconds;
        state.counters["painted_fps"] = (preview.paints() - paintsBefore) / seconds;
    }
}
BENCHMARK(BM_PreviewProcessorShare640x480)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
} // namespace pixolo

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("GST_PLUGIN_PATH")) {
        qputenv("GST_PLUGIN_PATH", PIXOLO_PLUGIN_DIR); // the virtual camera of this build
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
