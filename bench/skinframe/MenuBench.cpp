// The skinned menus: from the press on the system-menu button to the popup painted, and repainting a popup of ten
// items. Each is timed against the framework's own menu doing the same in the same loop.
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"
#include "skinframe/TbsSkinForm.h"
#include "skinframe/TbsSkinMenu.h"
#include "skinframe/TbsSkinPopupWindow.h"
#include "storedskin/StoredSkin.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

using namespace pixolo;

namespace
{

using Clock = std::chrono::steady_clock;

// The main window in its skinned frame, shown.
struct MenuFrame {
    MenuFrame()
        : window(std::make_unique<QWidget>())
    {
        form = new TbsSkinForm(window.get());
        form->SetBorderIcons(biSystemMenu | biMinimize | biRollUp);
        auto *stored = new TbsCompressedStoredSkin(window.get());
        stored->SetCompressedData(QByteArray(pixoloStoredSkin().data(), pixoloStoredSkin().size()));
        store = new TbsSkinData(window.get());
        form->SetSkinData(store);
        store->SetCompressedStoredSkin(stored);
        form->resizeForClient(QSize(729, 467));
        window->move(226, 139);
        window->show();
        for (const auto &object : form->ObjectList()) {
            if (object->IDName == QLatin1String("sysmenubutton")) {
                const TRect &r = object->ObjectRect;
                button = QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
            }
        }
    }

    void send(QEvent::Type type, Qt::MouseButtons buttons)
    {
        QMouseEvent event(
            type, QPointF(button), QPointF(window->mapToGlobal(button)), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
    }

    std::unique_ptr<QWidget> window;
    TbsSkinForm *form = nullptr;
    TbsSkinData *store = nullptr;
    QPoint button;
};

void fill(QMenu &menu, int items)
{
    for (int i = 1; i <= items; ++i) {
        if (i == 3) {
            menu.addSeparator();
        }
        menu.addAction(QStringLiteral("&Item number %1").arg(i));
    }
}

// A press on the system-menu button until the popup is painted: the frame's press, the system menu's items, the
// popup's size, place, shape and first paint. The reference opens and paints the framework's menu with the same
// four entries at the same place.
void BM_ClickToPopupPainted(benchmark::State &state)
{
    MenuFrame main;
    QMenu reference;
    reference.addAction(QStringLiteral("Mi&nimize"));
    reference.addAction(QStringLiteral("Ro&llUp"));
    reference.addSeparator();
    reference.addAction(QStringLiteral("&Close"))->setShortcut(QKeySequence(QStringLiteral("Alt+F4")));
    // The windows' paint, into an image: the offscreen platform would not paint windows it does not show.
    QImage target(400, 400, QImage::Format_RGB32);
    Clock::duration skinned {};
    Clock::duration framework {};
    for (auto _ : state) {
        const auto start = Clock::now();
        main.send(QEvent::MouseButtonPress, Qt::LeftButton);
        TbsSkinPopupWindow *popup = main.form->SkinMenu()->TopPopup();
        if (!popup) {
            state.SkipWithError("no popup opened");
            return;
        }
        popup->render(&target);
        const auto painted = Clock::now();
        reference.popup(popup->pos());
        reference.render(&target);
        framework += Clock::now() - painted;
        skinned += painted - start;

        state.PauseTiming();
        reference.hide();
        main.form->SkinMenu()->CloseAll();
        main.send(QEvent::MouseButtonRelease, Qt::NoButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    const double n = double(state.iterations());
    state.counters["skinned_us"] = std::chrono::duration<double, std::micro>(skinned).count() / n;
    state.counters["framework_us"] = std::chrono::duration<double, std::micro>(framework).count() / n;
    state.counters["skinned_per_framework"]
        = double(skinned.count()) / double(std::max<Clock::rep>(1, framework.count()));
}
BENCHMARK(BM_ClickToPopupPainted)->Unit(benchmark::kMicrosecond);

// One repaint of an open popup of ten items (and a separator), as the highlight moves; the reference repaints the
// framework's menu of the same items.
void BM_RepaintTenItemMenu(benchmark::State &state)
{
    MenuFrame main;
    QMenu items;
    fill(items, 10);
    main.form->SkinMenu()->OpenMenu(nullptr, main.store, 0, { 300, 300, 300, 300 }, &items, false);
    TbsSkinPopupWindow *popup = main.form->SkinMenu()->TopPopup();
    if (!popup) {
        state.SkipWithError("no popup opened");
        return;
    }
    QMenu reference;
    fill(reference, 10);
    reference.popup(QPoint(500, 300));
    QImage target(400, 400, QImage::Format_RGB32);
    Clock::duration skinned {};
    Clock::duration framework {};
    for (auto _ : state) {
        const auto start = Clock::now();
        popup->render(&target);
        const auto painted = Clock::now();
        reference.render(&target);
        framework += Clock::now() - painted;
        skinned += painted - start;
    }
    const double n = double(state.iterations());
    state.counters["skinned_us"] = std::chrono::duration<double, std::micro>(skinned).count() / n;
    state.counters["framework_us"] = std::chrono::duration<double, std::micro>(framework).count() / n;
    state.counters["skinned_per_framework"]
        = double(skinned.count()) / double(std::max<Clock::rep>(1, framework.count()));
    reference.hide();
    main.form->SkinMenu()->CloseAll();
}
BENCHMARK(BM_RepaintTenItemMenu)->Unit(benchmark::kMicrosecond);

} // namespace
