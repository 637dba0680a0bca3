// The skinned frame at the main window's size: painting it, cutting its shape from the mask, and sizing the window
// by its edge the way the frame does it where no window manager does. Runs on the offscreen platform unless another
// one is asked for.
#include "skin/SkinPreview.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"
#include "skinframe/FrameGeometry.h"
#include "skinframe/TbsSkinForm.h"
#include "storedskin/StoredSkin.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

using namespace pixolo;

namespace
{

// The main window's frame: Pixolo's skin, its caption buttons and a caption text, 757 x 523.
struct MainFrame {
    MainFrame()
        : window(std::make_unique<QWidget>())
    {
        window->setWindowTitle(
            QStringLiteral("快拍宝 － 摄像头快照工具 Pixolo 工作室出品 https://pixolo.example.com/"));
        form = new TbsSkinForm(window.get());
        form->SetBorderIcons(biSystemMenu | biMinimize | biRollUp);
        auto *stored = new TbsCompressedStoredSkin(window.get());
        stored->SetCompressedData(QByteArray(pixoloStoredSkin().data(), pixoloStoredSkin().size()));
        store = new TbsSkinData(window.get());
        form->SetSkinData(store);
        store->SetCompressedStoredSkin(stored);
        form->resizeForClient(QSize(729, 467));
    }

    std::unique_ptr<QWidget> window;
    TbsSkinForm *form = nullptr;
    TbsSkinData *store = nullptr;
};

// Repainting the frame, as for a caption button's press or an activation: the strips are kept for the size, the
// objects and the caption text drawn again. The reference, timed in the same loop, is one copy of a whole
// 757 x 523 window image onto the same target.
void BM_FrameRepaint(benchmark::State &state)
{
    MainFrame main;
    QImage target(757, 523, QImage::Format_RGB32);
    target.fill(Qt::black);
    const QImage window = main.form->frameImage(); // also makes the strips for this size
    using Clock = std::chrono::steady_clock;
    Clock::duration repaints {};
    Clock::duration copies {};
    for (auto _ : state) {
        const auto start = Clock::now();
        {
            QPainter painter(&target);
            main.form->PaintSkinFrame(painter);
        }
        const auto painted = Clock::now();
        {
            QPainter painter(&target);
            painter.drawImage(0, 0, window);
        }
        copies += Clock::now() - painted;
        repaints += painted - start;
        benchmark::DoNotOptimize(target.constBits());
    }
    const double n = double(state.iterations());
    state.counters["repaint_us"] = std::chrono::duration<double, std::micro>(repaints).count() / n;
    state.counters["window_copy_us"] = std::chrono::duration<double, std::micro>(copies).count() / n;
    state.counters["repaint_per_copy"] = double(repaints.count()) / double(std::max<Clock::rep>(1, copies.count()));
}
BENCHMARK(BM_FrameRepaint)->Unit(benchmark::kMicrosecond);

// The frame painted for a new size: strips cut and stretched afresh, objects laid out and drawn.
void BM_FramePaintNewSize(benchmark::State &state)
{
    MainFrame main;
    int width = 757;
    for (auto _ : state) {
        width = width == 757 ? 758 : 757;
        main.window->resize(width, 523);
        benchmark::DoNotOptimize(main.form->frameImage().constBits());
    }
}
BENCHMARK(BM_FramePaintNewSize)->Unit(benchmark::kMicrosecond);

// The window's shape from the mask: the four mask strips cut for the size and turned into a region.
void BM_WindowRegion(benchmark::State &state)
{
    QObject owner;
    auto *stored = new TbsCompressedStoredSkin(&owner);
    stored->SetCompressedData(QByteArray(pixoloStoredSkin().data(), pixoloStoredSkin().size()));
    auto *store = new TbsSkinData(&owner);
    store->SetCompressedStoredSkin(stored);
    const TbsFrameGeometry geometry = CalcFrameGeometry(*store, 757, 523);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FrameMask::build(*store, geometry));
    }
}
BENCHMARK(BM_WindowRegion)->Unit(benchmark::kMicrosecond);

// A resize drag by the right edge, carried out by the frame itself: each mouse position sizes the window, lays out
// frame, objects, client area and shape again, and the window is painted (frame, client background) at once.
void BM_ResizeDrag(benchmark::State &state)
{
    MainFrame main;
    QWidget *window = main.window.get();
    window->move(0, 0);
    window->show();
    QApplication::processEvents();
    const auto send = [window](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(window->mapToGlobal(at)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(window, &event);
    };
    const QPoint edge(754, 261);
    send(QEvent::MouseButtonPress, edge, Qt::LeftButton, Qt::LeftButton);
    int offset = 0;
    int step = -4;
    for (auto _ : state) {
        offset += step;
        if (offset <= -300 || offset >= 0) {
            step = -step;
        }
        send(QEvent::MouseMove, edge + QPoint(offset, 0), Qt::NoButton, Qt::LeftButton);
        window->repaint();
    }
    send(QEvent::MouseButtonRelease, edge + QPoint(offset, 0), Qt::LeftButton, Qt::NoButton);
    state.counters["frames_per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    if (window->width() > 757 || window->width() < 757 - 300) {
        state.SkipWithError("the drag did not size the window");
    }
}
BENCHMARK(BM_ResizeDrag)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
