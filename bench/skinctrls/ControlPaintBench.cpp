// The controls' default look at the sizes the main window paints them, and the picture control taking and showing
// a snapshot. Runs on the offscreen platform unless another one is asked for.
#include "skinctrls/TImage.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinPanel.h"

#include <QApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace pixolo;

namespace {

TBitmap frame(int width, int height)
{
    QImage image(width, height, QImage::Format_BGR888);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(image.rect(), gradient);
    painter.end();
    return TBitmap(image);
}

void BM_ButtonPaint(benchmark::State &state)
{
    TbsSkinButton button;
    button.SetCaption(QStringLiteral("拍照(F8)"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(button.paintImage());
    }
}
BENCHMARK(BM_ButtonPaint);

// The main window's content panel, the largest control: 707 x 415 with a frame.
void BM_PanelPaint(benchmark::State &state)
{
    TbsSkinPanel panel;
    panel.resize(707, 415);
    for (auto _ : state) {
        benchmark::DoNotOptimize(panel.paintImage());
    }
}
BENCHMARK(BM_PanelPaint);

// A snapshot handed to the picture control (its own copy, converted once for painting).
void BM_ImageSetPicture(benchmark::State &state)
{
    const TBitmap picture = frame(int(state.range(0)), int(state.range(1)));
    TImage image;
    for (auto _ : state) {
        image.SetPicture(picture);
    }
}
BENCHMARK(BM_ImageSetPicture)->Args({ 640, 480 })->Args({ 1920, 1080 });

// The picture control painting its top-left 320 x 240 of a snapshot.
void BM_ImagePaint(benchmark::State &state)
{
    TImage image;
    image.resize(320, 240);
    image.SetPicture(frame(int(state.range(0)), int(state.range(1))));
    QImage target(320, 240, QImage::Format_RGB32);
    for (auto _ : state) {
        image.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ImagePaint)->Args({ 640, 480 })->Args({ 1920, 1080 });

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
