// Pixolo with a PipeWire camera, as current desktops offer their webcams, in a private PipeWire session of its own:
//   FirstFrameByCamera        from making the main window to the first preview frame painted, with the PipeWire
//                             camera and with the virtual test camera, in turns (medians and their ratio);
//   PipeWirePreviewCpu        the processor share of the main window previewing the PipeWire camera against a bare
//                             pipewiresrc ! videoscale ! videoconvert ! fakesink pipeline of the same camera, in
//                             turns (medians and their ratio).
// The camera is a 640 × 480 YUY2 moving picture at 30 frames a second, published with pipewiresink.
#include "app/CameraChoice.h"
#include "app/GlobalVariant.h"
#include "app/TfrmMain.h"
#include "capture/TSysDevEnum.h"
#include "capture/TVideoWindow.h"
#include "platform/MessageBox.h"

#include "PipeWireSession.h"
#include "ProcessorTime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <gst/gst.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace pixolo;

namespace
{

const QString kCameraName = QStringLiteral("Bench Camera");
test::PipeWireSession *s_session = nullptr; // main's
const char *const kCameraNode = "test_camera.Bench_Camera"; // the node name the session gives it

double median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

using test::processorShareFor;

// The settings text that makes the main window take the camera whose name starts with `name`; empty when none is
// listed.
QString cameraSetting(const QString &name)
{
    const TSysDevEnum devices(CLSID_VideoInputDeviceCategory);
    for (int i = 0; i < devices.DeviceCount(); ++i) {
        if (devices.Device(i)->FriendlyName.startsWith(name)) {
            const auto moniker = devices.DeviceMoniker(i);
            return CameraChoice::settingsText(moniker ? moniker->Save() : QByteArray());
        }
    }
    return {};
}

// A main window as a user starts it, its settings choosing `camera`.
struct Window {
    explicit Window(const QString &camera)
    {
        rcGlobalVariant.sAppPath = program.path() + QLatin1Char('/');
        rcGlobalVariant.sIniFile = rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.ini");
        QFile ini(rcGlobalVariant.sIniFile);
        if (ini.open(QIODevice::WriteOnly)) {
            ini.write("[Setup]\nCamera=" + camera.toUtf8() + "\n");
        }
    }
    // Makes and shows the window; the time until its first preview frame is painted, or -1 after ten seconds.
    double startToFirstFrame()
    {
        QElapsedTimer clock;
        clock.start();
        window = std::make_unique<TfrmMain>();
        bool painted = false;
        window->VideoWindow->OnPaint = [&](QObject *) { painted = painted || window->VideoWindow->ShowsVideo(); };
        window->show();
        if (!QTest::qWaitFor([&] { return painted; }, 10000)) {
            return -1;
        }
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        window->VideoWindow->OnPaint = nullptr;
        return ms;
    }

    QTemporaryDir program;
    std::unique_ptr<TfrmMain> window;
};

void FirstFrameByCamera(benchmark::State &state)
{
    const QString pipeWire = cameraSetting(kCameraName);
    const QString testCamera = cameraSetting(QStringLiteral("Pixolo Test Camera"));
    if (pipeWire.isEmpty() || testCamera.isEmpty()) {
        state.SkipWithError("the PipeWire camera or the test camera is not listed");
        return;
    }
    std::vector<double> pipeWireMs;
    std::vector<double> testCameraMs;
    for (auto _ : state) {
        for (int turn = 0; turn < 5; ++turn) {
            for (const bool ours : { true, false }) {
                Window window(ours ? pipeWire : testCamera);
                const double ms = window.startToFirstFrame();
                if (ms < 0) {
                    state.SkipWithError("no frame painted");
                    return;
                }
                (ours ? pipeWireMs : testCameraMs).push_back(ms);
                QTest::qWait(300); // the shutter sound gets ready as after any start; then the window goes
            }
        }
    }
    state.counters["pipewire_ms"] = median(pipeWireMs);
    state.counters["testcam_ms"] = median(testCameraMs);
    state.counters["ratio"] = median(testCameraMs) > 0 ? median(pipeWireMs) / median(testCameraMs) : 0.0;
}

// The least a preview of the camera can cost: its frames scaled to 320 × 240 and converted for painting, into a
// sink that takes them at their time and does nothing with them.
class ReferencePreview
{
public:
    ReferencePreview()
    {
        const QByteArray description = QByteArray("pipewiresrc target-object=") + kCameraNode
            + " ! videoscale ! videoconvert ! video/x-raw,format=BGRx,width=320,height=240 ! fakesink sync=true";
        m_pipeline = gst_parse_launch(description.constData(), nullptr);
        m_running = m_pipeline && gst_element_set_state(m_pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE
            && gst_element_get_state(m_pipeline, nullptr, nullptr, 10 * GST_SECOND) != GST_STATE_CHANGE_FAILURE;
    }
    ~ReferencePreview()
    {
        if (m_pipeline) {
            gst_element_set_state(m_pipeline, GST_STATE_NULL);
            gst_object_unref(m_pipeline);
        }
    }
    bool running() const { return m_running; }

private:
    GstElement *m_pipeline = nullptr;
    bool m_running = false;
};

void PipeWirePreviewCpu(benchmark::State &state)
{
    // A publisher whose clients came and went quickly (the benchmark before) may send its next client nothing: a
    // fresh one, as a camera plugged in anew.
    if (!s_session->publish(kCameraName, QSize(640, 480))) {
        state.SkipWithError("the PipeWire camera could not be published again");
        return;
    }
    const QString pipeWire = cameraSetting(kCameraName);
    if (pipeWire.isEmpty()) {
        state.SkipWithError("the PipeWire camera is not listed");
        return;
    }
    std::vector<double> ours;
    std::vector<double> reference;
    std::vector<double> paintedFps;
    for (auto _ : state) {
        for (int pair = 0; pair < 3; ++pair) {
            {
                Window window(pipeWire);
                if (window.startToFirstFrame() < 0) {
                    state.SkipWithError("no frame painted");
                    return;
                }
                int paints = 0;
                window.window->VideoWindow->OnPaint = [&](QObject *) { ++paints; };
                processorShareFor(1000); // settled, the shutter sound made ready
                paints = 0;
                ours.push_back(processorShareFor(3000));
                paintedFps.push_back(paints / 3.0);
                window.window->VideoWindow->OnPaint = nullptr;
            }
            {
                ReferencePreview bare;
                if (!bare.running()) {
                    state.SkipWithError("the reference pipeline does not run");
                    return;
                }
                processorShareFor(1000);
                reference.push_back(processorShareFor(3000));
            }
        }
    }
    state.counters["pixolo_cpu_percent"] = median(ours);
    state.counters["reference_cpu_percent"] = median(reference);
    state.counters["ratio"] = median(reference) > 0 ? median(ours) / median(reference) : 0.0;
    state.counters["painted_fps"] = median(paintedFps);
}

} // namespace

BENCHMARK(FirstFrameByCamera)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(PipeWirePreviewCpu)->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("GST_PLUGIN_PATH")) {
        qputenv("GST_PLUGIN_PATH", PIXOLO_PLUGIN_DIR); // the test camera, listed after the PipeWire one
    }
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    test::PipeWireSession session(runtime.path());
    if (!session.ok() || !session.publish(kCameraName, QSize(640, 480))) {
        std::fprintf(stderr, "pipewire_bench: no PipeWire session: %s\n", qPrintable(session.error()));
        return 1;
    }
    s_session = &session;
    // This process reaches the session as a desktop program would; set before GStreamer starts its providers.
    const QProcessEnvironment env = session.environment();
    for (const QString &key : env.keys()) {
        qputenv(key.toUtf8().constData(), env.value(key).toUtf8());
    }
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    MessageBox::setHandler([](const MessageBox::Message &) {}); // nobody to click them away
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
