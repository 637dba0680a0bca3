// The controls painting themselves from Pixolo's own skin at the sizes the windows give them (each control's whole
// composition, as one paint puts it on the screen), the same controls in their plain look for comparison, and the
// picture control taking and showing a snapshot. Runs on the offscreen platform unless another one is asked for.
#include "platform/MessageBox.h"
#include "skin/SkinMessage.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"
#include "skinctrls/TImage.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinCheckRadioBox.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinLabel.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"
#include "storedskin/StoredSkin.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>

#include <benchmark/benchmark.h>
#include <gst/gst.h>

#include <memory>

using namespace pixolo;

namespace
{

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

// A window with a store holding Pixolo's skin, as each of the program's windows has; `skinned` false leaves the
// controls unbound (their plain look).
struct SkinnedWindow {
    explicit SkinnedWindow(bool skinned)
        : bound(skinned)
    {
        registerSkinWindow(&window);
        store = new TbsSkinData(&window);
        store->SetEnableSkinEffects(false);
        storedSkin.SetCompressedData(QByteArray(pixoloStoredSkin().data(), pixoloStoredSkin().size()));
        store->SetCompressedStoredSkin(&storedSkin);
    }

    template <class Control> Control *make(const char *name, QRect bounds)
    {
        auto *control = new Control(&window);
        control->SetSkinDataName(QString::fromLatin1(name));
        control->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
        if (bound) {
            control->SetSkinData(store);
        }
        return control;
    }

    bool bound;
    TbsCompressedStoredSkin storedSkin;
    QWidget window;
    TbsSkinData *store = nullptr; // owned by the window
};

// One paint of a self-composing control: its off-screen image of its whole size.
template <class Control> void paintControl(benchmark::State &state, Control *control)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(control->paintImage());
    }
    state.counters["pixels"] = double(control->width() * control->height());
}

// One paint of a control that paints straight onto its surface (the edit, the standard label).
void renderWidget(benchmark::State &state, QWidget *widget)
{
    QImage target(widget->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        widget->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}

void BM_EdgeStrip(benchmark::State &state)
{
    SkinnedWindow w(state.range(0) != 0);
    auto *panel = w.make<TbsSkinPanel>("panel", { 0, 0, 729, 11 });
    panel->SetBorderStyle(bvNone);
    paintControl(state, panel);
}

// The content panel, the largest control: 707 × 421 with a frame around its tiled inside.
void BM_ContentPanel(benchmark::State &state)
{
    SkinnedWindow w(state.range(0) != 0);
    paintControl(state, w.make<TbsSkinPanel>("panel", { 11, 11, 707, 421 }));
}

void BM_PreviewBox(benchmark::State &state)
{
    SkinnedWindow w(state.range(0) != 0);
    paintControl(state, w.make<TbsSkinPanel>("panel", { 22, 12, 326, 246 }));
}

void BM_StatusBar(benchmark::State &state)
{
    SkinnedWindow w(state.range(0) != 0);
    auto *bar = w.make<TbsSkinStatusBar>("statusbar", { 0, 437, 729, 30 });
    bar->SetBorderStyle(bvLowered);
    paintControl(state, bar);
}

void BM_StatusPanel(benchmark::State &state)
{
    SkinnedWindow w(state.range(0) != 0);
    paintControl(state, w.make<TbsSkinStatusPanel>("statuspanel", { 3, 3, 723, 18 }));
}

void BM_Label(benchmark::State &state)
{
    SkinnedWindow w(state.range(0) != 0);
    auto *label = w.make<TbsSkinLabel>("label", { 25, 14, 368, 21 });
    label->SetCaption(QStringLiteral("版本 1.0 快拍宝"));
    paintControl(state, label);
}

void BM_StdLabel(benchmark::State &state)
{
    SkinnedWindow w(state.range(0) != 0);
    auto *label = w.make<TbsSkinStdLabel>("stdlabel", { 16, 277, 75, 13 });
    label->SetCaption(QStringLiteral("照片存储路径:"));
    renderWidget(state, label);
}

// The snapshot button at rest (range 1 = 0) and under the pointer (1).
void BM_PushButton(benchmark::State &state)
{
    SkinnedWindow w(state.range(0) != 0);
    auto *button = w.make<TbsSkinButton>("button", { 446, 272, 75, 25 });
    button->SetCaption(QStringLiteral("拍照(F8)"));
    if (state.range(1) != 0) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(button, &enter);
    }
    paintControl(state, button);
}

// The About window's button halfway through its morph from the normal to the hot look (effects on).
void BM_PushButtonMorph(benchmark::State &state)
{
    SkinnedWindow w(true);
    w.store->SetEnableSkinEffects(true);
    auto *button = w.make<TbsSkinButton>("button", { 320, 8, 75, 25 });
    button->SetCaption(QStringLiteral("确定"));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(button, &enter);
    while (button->MorphFactor() < 0.4) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (button->MorphFactor() >= 1) {
        state.SkipWithError("the morph ran out before it was measured");
        return;
    }
    paintControl(state, button);
}

void BM_ToolButton(benchmark::State &state)
{
    SkinnedWindow w(state.range(0) != 0);
    auto *tool = w.make<TbsSkinSpeedButton>("toolbutton", { 256, 272, 25, 25 });
    QImage glyph(32, 16, QImage::Format_RGB32);
    glyph.fill(Qt::yellow);
    glyph.setPixel(0, 15, qRgb(255, 0, 255));
    tool->SetGlyph(TBitmap(glyph));
    tool->SetNumGlyphs(2);
    paintControl(state, tool);
}

void BM_CheckBox(benchmark::State &state)
{
    SkinnedWindow w(state.range(0) != 0);
    auto *box = w.make<TbsSkinCheckRadioBox>("checkbox", { 376, 275, 60, 22 });
    box->SetFlat(false);
    box->SetCaption(QStringLiteral("延时"));
    box->SetChecked(true);
    paintControl(state, box);
}

void BM_Edit(benchmark::State &state)
{
    SkinnedWindow w(state.range(0) != 0);
    auto *edit = w.make<TbsSkinEdit>("edit", { 92, 272, 157, 18 });
    edit->SetText(QStringLiteral("/home/user/照片/"));
    renderWidget(state, edit);
}

// A snapshot handed to the picture control (its own copy, converted once for painting).
void BM_ImageSetPicture(benchmark::State &state)
{
    const TBitmap picture = frame(int(state.range(0)), int(state.range(1)));
    TImage image;
    for (auto _ : state) {
        image.SetPicture(picture);
    }
}

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

} // namespace

// Argument 0: the plain look (no store bound), 1: the skinned look.
BENCHMARK(BM_EdgeStrip)->ArgName("skinned")->Arg(0)->Arg(1);
BENCHMARK(BM_ContentPanel)->ArgName("skinned")->Arg(0)->Arg(1);
BENCHMARK(BM_PreviewBox)->ArgName("skinned")->Arg(0)->Arg(1);
BENCHMARK(BM_StatusBar)->ArgName("skinned")->Arg(0)->Arg(1);
BENCHMARK(BM_StatusPanel)->ArgName("skinned")->Arg(0)->Arg(1);
BENCHMARK(BM_Label)->ArgName("skinned")->Arg(0)->Arg(1);
BENCHMARK(BM_StdLabel)->ArgName("skinned")->Arg(0)->Arg(1);
BENCHMARK(BM_PushButton)->ArgNames({ "skinned", "hot" })->Args({ 0, 0 })->Args({ 1, 0 })->Args({ 1, 1 });
BENCHMARK(BM_PushButtonMorph);
BENCHMARK(BM_ToolButton)->ArgName("skinned")->Arg(0)->Arg(1);
BENCHMARK(BM_CheckBox)->ArgName("skinned")->Arg(0)->Arg(1);
BENCHMARK(BM_Edit)->ArgName("skinned")->Arg(0)->Arg(1);
BENCHMARK(BM_ImageSetPicture)->Args({ 640, 480 })->Args({ 1920, 1080 });
BENCHMARK(BM_ImagePaint)->Args({ 640, 480 })->Args({ 1920, 1080 });

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("GST_PLUGIN_PATH")) {
        qputenv("GST_PLUGIN_PATH", PIXOLO_PLUGIN_DIR); // the main window's benchmarks preview the test camera
    }
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    MessageBox::setHandler([](const MessageBox::Message &) {}); // nobody to click them away
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
