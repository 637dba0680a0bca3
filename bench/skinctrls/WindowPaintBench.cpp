// The main window drawn from its skin, with the virtual test camera:
//   MainWindowRepaint        a full repaint of the client area: every control, the preview's frame and the picture;
//   StartToFirstSkinnedPaint from making the main window to its first paint in which every control shows its skin
//                            (the status panel, created last, is painted last).
#include "app/GlobalVariant.h"
#include "app/TfrmMain.h"
#include "capture/TVideoWindow.h"
#include "skinctrls/SkinBinding.h"
#include "skinctrls/TbsSkinLabel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

using namespace pixolo;

namespace
{

void useProgramFolder(const QTemporaryDir &program)
{
    rcGlobalVariant.sAppPath = program.path() + QLatin1Char('/');
    rcGlobalVariant.sIniFile = rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.ini");
}

// Whether every skinned control of the window has its skin entry.
bool allSkinned(QWidget *window)
{
    for (QWidget *child : window->findChildren<QWidget *>()) {
        const auto *control = dynamic_cast<SkinBoundControl *>(child);
        if (control && control->SkinData() && control->SkinIndex() == -1) {
            return false;
        }
    }
    return true;
}

// Notes the first paint of a control.
class PaintWatch final : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            nanoseconds = clock.nsecsElapsed();
        }
        return false;
    }
    QElapsedTimer clock;
    bool painted = false;
    qint64 nanoseconds = 0;
};

void MainWindowRepaint(benchmark::State &state)
{
    QTemporaryDir program;
    useProgramFolder(program);
    TfrmMain window;
    window.show();
    if (!QTest::qWaitFor([&] { return window.VideoWindow->ShowsVideo(); }, 10000) || !allSkinned(&window)) {
        state.SkipWithError("no skinned window with a preview");
        return;
    }
    QImage target(window.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        window.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}

void StartToFirstSkinnedPaint(benchmark::State &state)
{
    for (auto _ : state) {
        QTemporaryDir program;
        useProgramFolder(program);
        PaintWatch watch;
        watch.clock.start();
        auto window = std::make_unique<TfrmMain>();
        window->bsSkinStatusPanel1->installEventFilter(&watch);
        window->show();
        if (!QTest::qWaitFor([&] { return watch.painted; }, 10000) || !allSkinned(window.get())) {
            state.SkipWithError("the window was not painted with its skin");
            return;
        }
        state.SetIterationTime(double(watch.nanoseconds) / 1e9);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(MainWindowRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(StartToFirstSkinnedPaint)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
