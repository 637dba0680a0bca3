// Soak: 1000 snapshots at 640 × 480 with the virtual test camera through the real snapshot handler, each storing its
// photo and playing the real shutter sound. Reports resident memory and open file descriptors (/proc/self/fd) after
// 10 and after 1000 shots, and their growth in between: a leak per shot shows as growth (the goal: under 2 MB of
// memory and no descriptor).
#include "app/GlobalVariant.h"
#include "app/TfrmMain.h"
#include "capture/TVideoWindow.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinEdit.h"

#include "ProcessLimits.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

using namespace pixolo;

namespace
{

long openDescriptors()
{
    return long(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

void Soak(benchmark::State &state)
{
    qputenv("PIXOLO_TESTCAM_SIZE", "640x480");
    QTemporaryDir program;
    QTemporaryDir photos;
    rcGlobalVariant.sAppPath = program.path() + QLatin1Char('/');
    rcGlobalVariant.sIniFile = rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.ini");
    QFile::copy(QStringLiteral(PIXOLO_SHUTTER_SOUND), rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.wav"));
    auto window = std::make_unique<TfrmMain>();
    window->show();
    if (!QTest::qWaitFor([&] { return window->VideoWindow->ShowsVideo(); }, 10000)) {
        state.SkipWithError("no preview");
        return;
    }
    window->edtsPath->setText(photos.path() + QLatin1Char('/'));
    QTest::qWait(300); // a few frames in the grabber
    int stored = 0;
    const auto shoot = [&](int count) {
        for (int i = 0; i < count; ++i) {
            window->bsSkinButton2Click(window->bsSkinButton2);
            window->waitForPhotos();
            if (!window->lastPhotoFile().isEmpty()) {
                ++stored;
                QFile::remove(window->lastPhotoFile());
            }
            // A person takes a shot now and then: the preview and the sound go on between shots.
            QTest::qWait(5);
        }
    };
    for (auto _ : state) {
        shoot(10);
        const long memory10 = test::residentKiB();
        const long descriptors10 = openDescriptors();
        shoot(990);
        QTest::qWait(500); // the last sound ends
        const long memory1000 = test::residentKiB();
        const long descriptors1000 = openDescriptors();
        state.counters["RSS_KiB_after_10"] = double(memory10);
        state.counters["RSS_KiB_after_1000"] = double(memory1000);
        state.counters["RSS_growth_KiB"] = double(memory1000 - memory10);
        state.counters["fds_after_10"] = double(descriptors10);
        state.counters["fds_after_1000"] = double(descriptors1000);
        state.counters["fd_growth"] = double(descriptors1000 - descriptors10);
    }
    state.counters["photos_stored"] = stored;
    window.reset();
}

} // namespace

BENCHMARK(Soak)->Unit(benchmark::kSecond)->Iterations(1);
