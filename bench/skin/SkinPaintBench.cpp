// The skin builders at the sizes the program paints: the main window's whole frame (757 × 523) and its shape
// from the project's skin, and a push button's image.
#include "skin/SkinPaint.h"
#include "skin/SkinPreview.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsEffectBmp.h"
#include "skin/TbsSkinData.h"

#include <QFileInfo>
#include <QImage>

#include <benchmark/benchmark.h>

#include <exception>
#include <memory>

using namespace pixolo;

namespace
{

constexpr QSize s_mainWindow(757, 523); // client 729 × 467 plus the frame

// The project's skin, packed from its sources as the build packs it; null when they cannot be read.
const TbsSkinData *projectSkin(benchmark::State &state)
{
    static std::unique_ptr<TbsSkinData> store;
    static std::string error;
    if (!store && error.empty()) {
        const QString ini = QStringLiteral(PIXOLO_SOURCE_DIR "/skins/pixolo/skin.ini");
        try {
            if (!QFileInfo::exists(ini)) {
                throw std::runtime_error("no project skin at " + ini.toStdString());
            }
            TbsCompressedStoredSkin storedSkin;
            storedSkin.ImportSkinFolder(ini);
            auto loaded = std::make_unique<TbsSkinData>();
            loaded->LoadStoredSkin(storedSkin);
            store = std::move(loaded);
        } catch (const std::exception &e) {
            error = e.what();
        }
    }
    if (!store) {
        state.SkipWithError(error.c_str());
    }
    return store.get();
}

QImage patterned(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x * 7, y * 11, (x ^ y) * 3));
        }
    }
    return image;
}

void MainWindowFrameImage(benchmark::State &state)
{
    const TbsSkinData *store = projectSkin(state);
    if (!store) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(formFrameImage(*store, s_mainWindow));
    }
    state.SetItemsProcessed(state.iterations() * s_mainWindow.width() * s_mainWindow.height());
}
BENCHMARK(MainWindowFrameImage)->Unit(benchmark::kMicrosecond);

void MainWindowRegion(benchmark::State &state)
{
    const TbsSkinData *store = projectSkin(state);
    if (!store) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(formRegion(*store, s_mainWindow));
    }
}
BENCHMARK(MainWindowRegion)->Unit(benchmark::kMicrosecond);

// The stored skin's [button] (66 × 21, ends of 10 and 14) at a typical button width.
void ButtonImage(benchmark::State &state)
{
    const QImage picture = patterned(66, 22);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CreateHSkinImage(10, 14, picture, { 0, 1, 66, 22 }, int(state.range(0)), false));
    }
}
BENCHMARK(ButtonImage)->Arg(100)->Arg(400)->Unit(benchmark::kMicrosecond);

// One morph step of a 100 × 21 button (a 20 ms timer tick).
void ButtonMorphStep(benchmark::State &state)
{
    const TbsEffectBmp target(patterned(100, 21));
    const TbsEffectBmp start(patterned(100, 21).mirrored(true, false));
    for (auto _ : state) {
        TbsEffectBmp shown = start;
        shown.morph(TMorphKind(state.range(0)), target, 0.4);
        benchmark::DoNotOptimize(shown.ScanLine(0));
    }
}
BENCHMARK(ButtonMorphStep)->DenseRange(mkDefault, mkPush)->Unit(benchmark::kMicrosecond);

} // namespace
