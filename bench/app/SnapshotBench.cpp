// The snapshot job's speed and memory, with the virtual test camera:
//   Snapshot/640x480, Snapshot/1920x1080  the snapshot handler, from its start to the photo renamed into place;
//   FirstFrame                            from making the main window to the first preview frame painted;
//   ShutterSoundStart                     how long starting the prepared shutter sound takes;
//   CameraReturn                          a camera plugged in again to its first preview frame painted;
//   ShutterLag/640x480, /1920x1080        the time and frames from the key press back to the stored frame's capture;
//   SnapshotPreviewGap/640x480, /1920x1080  the largest gap between painted preview frames after a snapshot;
//   SnapshotMemory/640x480, /1920x1080    resident memory after 10 and after 1000 snapshots, each playing the real
//                                         shutter sound.
// Run with QT_QPA_PLATFORM=offscreen (set here when unset); the camera's plugin folder is found by itself.
#include "app/GlobalVariant.h"
#include "app/TfrmMain.h"
#include "capture/DeviceRegistry.h"
#include "capture/TVideoWindow.h"
#include "platform/FontSet.h"
#include "platform/MessageBox.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include "ProcessLimits.h"
#include "TestPicture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>
#include <gst/gst.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace pixolo;

namespace
{

// A main window previewing the test camera at the given size, its photos going to a temporary folder.
struct PreviewingWindow {
    explicit PreviewingWindow(const QByteArray &size)
    {
        qputenv("PIXOLO_TESTCAM_SIZE", size);
        rcGlobalVariant.sAppPath = program.path() + QLatin1Char('/');
        rcGlobalVariant.sIniFile = rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.ini");
        // The real shutter sound beside the program, as a user has it: every shot plays it.
        QFile::copy(QStringLiteral(PIXOLO_SHUTTER_SOUND), rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.wav"));
        window = std::make_unique<TfrmMain>();
        window->show();
        ready = QTest::qWaitFor([&] { return window->VideoWindow->ShowsVideo(); }, 10000);
    }

    QTemporaryDir program;
    QTemporaryDir photos;
    std::unique_ptr<TfrmMain> window;
    bool ready = false;
};

void Snapshot(benchmark::State &state, const char *size)
{
    PreviewingWindow preview(size);
    if (!preview.ready) {
        state.SkipWithError("no preview");
        return;
    }
    TfrmMain &w = *preview.window;
    w.edtsPath->setText(preview.photos.path() + QLatin1Char('/'));
    QTest::qWait(800); // a few frames in the grabber, and the shutter sound made ready as after any start
    std::vector<double> shots;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        w.bsSkinButton2Click(w.bsSkinButton2);
        w.waitForPhotos();
        shots.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (w.lastPhotoFile().isEmpty()) {
            state.SkipWithError("no photo stored");
            return;
        }
        state.PauseTiming();
        QFile::remove(w.lastPhotoFile());
        QCoreApplication::processEvents(); // let the preview and the shutter sound go on between shots
        state.ResumeTiming();
    }
    std::sort(shots.begin(), shots.end());
    state.counters["median_ms"] = shots.empty() ? 0.0 : shots[shots.size() / 2];
}

void FirstFrame(benchmark::State &state)
{
    for (auto _ : state) {
        QTemporaryDir program;
        rcGlobalVariant.sAppPath = program.path() + QLatin1Char('/');
        rcGlobalVariant.sIniFile = rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.ini");
        QElapsedTimer clock;
        clock.start();
        auto window = std::make_unique<TfrmMain>();
        bool painted = false;
        window->VideoWindow->OnPaint = [&](QObject *) { painted = painted || window->VideoWindow->ShowsVideo(); };
        window->show();
        if (!QTest::qWaitFor([&] { return painted; }, 10000)) {
            state.SkipWithError("no frame painted");
            return;
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

// The largest gap between two painted preview frames in the 300 ms after each of 30 snapshots: a snapshot must not
// stall the preview.
void SnapshotPreviewGap(benchmark::State &state, const char *size)
{
    PreviewingWindow preview(size);
    if (!preview.ready) {
        state.SkipWithError("no preview");
        return;
    }
    TfrmMain &w = *preview.window;
    w.edtsPath->setText(preview.photos.path() + QLatin1Char('/'));
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> paints; // microseconds
    w.VideoWindow->OnPaint = [&](QObject *) {
        if (w.VideoWindow->ShowsVideo()) {
            paints.push_back(clock.nsecsElapsed() / 1000);
        }
    };
    QTest::qWait(800);
    // The largest gap between paints in the 300 ms from `from` on, counted from the last paint before it.
    const auto largestGapAfter = [&](qint64 from) {
        qint64 previous = from;
        for (const qint64 at : paints) {
            if (at <= from) {
                previous = at;
            }
        }
        qint64 largest = 0;
        for (const qint64 at : paints) {
            if (at > from && at <= from + 300000) {
                largest = std::max(largest, at - previous);
                previous = at;
            }
        }
        return double(largest) / 1000.0;
    };
    std::vector<double> gaps;
    std::vector<double> baseline; // the same windows without a snapshot, between the shots
    for (auto _ : state) {
        for (int shot = 0; shot < 30; ++shot) {
            const qint64 quietAt = clock.nsecsElapsed() / 1000;
            QTest::qWait(300);
            baseline.push_back(largestGapAfter(quietAt));
            const qint64 shotAt = clock.nsecsElapsed() / 1000;
            w.bsSkinButton2Click(w.bsSkinButton2);
            w.waitForPhotos();
            QFile::remove(w.lastPhotoFile());
            QTest::qWait(300);
            gaps.push_back(largestGapAfter(shotAt));
        }
    }
    std::sort(gaps.begin(), gaps.end());
    std::sort(baseline.begin(), baseline.end());
    state.counters["median_gap_ms"] = gaps.empty() ? 0.0 : gaps[gaps.size() / 2];
    state.counters["largest_gap_ms"] = gaps.empty() ? 0.0 : gaps.back();
    state.counters["no_shot_largest_gap_ms"] = baseline.empty() ? 0.0 : baseline.back();
}

// The shutter's lag, with the stamping test camera: for 100 snapshots, the time from the handler's start (the key
// press) to the capture of the frame the photo holds, and how many frames the camera had made after that one by the
// press. The newest frame is the goal: a lag under one frame interval, 0 frames behind.
void ShutterLag(benchmark::State &state, const char *size)
{
    qputenv("PIXOLO_TESTCAM_STAMP", "1");
    PreviewingWindow preview(size);
    qunsetenv("PIXOLO_TESTCAM_STAMP");
    if (!preview.ready) {
        state.SkipWithError("no preview");
        return;
    }
    TfrmMain &w = *preview.window;
    w.edtsPath->setText(preview.photos.path() + QLatin1Char('/'));
    QTest::qWait(800);
    constexpr double frameUs = 1e6 / testcam::CameraConfig::framesPerSecond;
    constexpr std::uint64_t stampMask = (std::uint64_t(1) << testcam::TestPicture::stampBits) - 1;
    std::vector<double> lagMs;
    std::vector<int> lagFrames;
    int unreadable = 0;
    for (auto _ : state) {
        for (int shot = 0; shot < 100; ++shot) {
            QTest::qWait(100 + (shot * 7) % 40); // presses fall anywhere between two frames
            const std::uint64_t pressed = std::uint64_t(g_get_monotonic_time());
            w.bsSkinButton2Click(w.bsSkinButton2);
            w.waitForPhotos();
            const QImage photo(w.lastPhotoFile());
            QFile::remove(w.lastPhotoFile());
            const auto stamp = testcam::TestPicture::readStamp(
                photo.width(), photo.height(), [&](int x, int y) { return qGray(photo.pixel(x, y)); });
            if (!stamp) {
                ++unreadable;
                continue;
            }
            const double lagUs = double((pressed - stamp->timeUs) & stampMask);
            lagMs.push_back(lagUs / 1000.0);
            lagFrames.push_back(int(lagUs / frameUs));
        }
    }
    if (lagMs.empty()) {
        state.SkipWithError("no stamp could be read");
        return;
    }
    std::sort(lagMs.begin(), lagMs.end());
    std::sort(lagFrames.begin(), lagFrames.end());
    state.counters["median_lag_ms"] = lagMs[lagMs.size() / 2];
    state.counters["worst_lag_ms"] = lagMs.back();
    state.counters["median_lag_frames"] = lagFrames[lagFrames.size() / 2];
    state.counters["worst_lag_frames"] = lagFrames.back();
    state.counters["unreadable"] = unreadable;
}

// From a camera coming back (plugged in again) to the first preview frame painted from it. The test camera notices its
// plug file every 100 ms, as a system notices a device being added.
void CameraReturn(benchmark::State &state)
{
    QTemporaryDir plug;
    const QString plugged = plug.filePath(QStringLiteral("plugged"));
    const auto plugIn = [&] { QFile(plugged).open(QIODevice::WriteOnly); };
    plugIn();
    qputenv("PIXOLO_TESTCAM_PLUG_FILE", QFile::encodeName(plugged));
    DeviceRegistry::reloadAll();
    {
        PreviewingWindow preview("640x480");
        if (!preview.ready) {
            state.SkipWithError("no preview");
            return;
        }
        TfrmMain &w = *preview.window;
        bool painted = false;
        w.VideoWindow->OnPaint = [&](QObject *) { painted = painted || w.VideoWindow->ShowsVideo(); };
        std::vector<double> times;
        for (auto _ : state) {
            QFile::remove(plugged);
            if (!QTest::qWaitFor([&] { return w.lblCameraState->isVisible(); }, 5000)) {
                state.SkipWithError("the camera did not go");
                break;
            }
            painted = false;
            QElapsedTimer clock;
            clock.start();
            plugIn();
            if (!QTest::qWaitFor([&] { return painted; }, 5000)) {
                state.SkipWithError("the camera did not come back");
                break;
            }
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
            state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        }
        std::sort(times.begin(), times.end());
        state.counters["median_ms"] = times.empty() ? 0.0 : times[times.size() / 2];
    }
    qunsetenv("PIXOLO_TESTCAM_PLUG_FILE");
    DeviceRegistry::reloadAll();
}

// How long the shutter sound holds up the snapshot: starting the prepared sound, 50 times, a quarter second apart.
void ShutterSoundStart(benchmark::State &state)
{
    PreviewingWindow preview("640x480");
    if (!preview.ready) {
        state.SkipWithError("no preview");
        return;
    }
    TfrmMain &w = *preview.window;
    QTest::qWait(800); // prepared as after any start
    std::vector<double> starts;
    for (auto _ : state) {
        for (int i = 0; i < 50; ++i) {
            QTest::qWait(250);
            QElapsedTimer clock;
            clock.start();
            w.PlayShutterSound();
            starts.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
    }
    std::sort(starts.begin(), starts.end());
    state.counters["median_ms"] = starts[starts.size() / 2];
    state.counters["worst_ms"] = starts.back();
    state.counters["sounds_played"] = w.MusicGraph->Active() ? double(starts.size()) : 0.0;
}

void SnapshotMemory(benchmark::State &state, const char *size)
{
    PreviewingWindow preview(size);
    if (!preview.ready) {
        state.SkipWithError("no preview");
        return;
    }
    TfrmMain &w = *preview.window;
    w.edtsPath->setText(preview.photos.path() + QLatin1Char('/'));
    QTest::qWait(800); // the shutter sound made ready as after any start
    int played = 0;
    auto shoot = [&](int count) {
        for (int i = 0; i < count; ++i) {
            w.bsSkinButton2Click(w.bsSkinButton2);
            w.waitForPhotos();
            played += w.MusicGraph->Active() ? 1 : 0; // an unplayable sound leaves the graph inactive
            QFile::remove(w.lastPhotoFile());
            QCoreApplication::processEvents();
        }
    };
    for (auto _ : state) {
        shoot(10);
        state.counters["RSS_KiB_after_10"] = double(test::residentKiB());
        shoot(990);
        state.counters["RSS_KiB_after_1000"] = double(test::residentKiB());
    }
    state.counters["sounds_played"] = played;
}

} // namespace

BENCHMARK_CAPTURE(Snapshot, 640x480, "640x480")->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK_CAPTURE(Snapshot, 1920x1080, "1920x1080")->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(FirstFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(ShutterSoundStart)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(CameraReturn)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK_CAPTURE(ShutterLag, 640x480, "640x480")->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(ShutterLag, 1920x1080, "1920x1080")->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(SnapshotPreviewGap, 640x480, "640x480")->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(SnapshotPreviewGap, 1920x1080, "1920x1080")->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(SnapshotMemory, 640x480, "640x480")->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(SnapshotMemory, 1920x1080, "1920x1080")->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("GST_PLUGIN_PATH")) {
        qputenv("GST_PLUGIN_PATH", PIXOLO_PLUGIN_DIR);
    }
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    installFontSet(); // as the program starts: the windows draw with the font set
    MessageBox::setHandler([](const MessageBox::Message &) {}); // nobody to click them away
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
