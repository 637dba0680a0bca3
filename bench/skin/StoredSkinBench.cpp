// What a window pays at start-up for its skin: inflating the stored skin, and the whole load into a store.
#include "skin/SkinIni.h"
#include "skin/TbsSkinData.h"
#include "storedskin/StoredSkin.h"

#include <benchmark/benchmark.h>

using namespace pixolo;

namespace
{

TbsCompressedStoredSkin &storedSkin()
{
    static TbsCompressedStoredSkin s_skin;
    if (s_skin.IsEmpty()) {
        s_skin.SetCompressedData(pixoloStoredSkin().toByteArray());
    }
    return s_skin;
}

void BM_InflateStoredSkin(benchmark::State &state)
{
    qint64 size = 0;
    for (auto _ : state) {
        TMemoryStream container;
        storedSkin().DecompressToStream(container);
        size = container.Size();
        benchmark::DoNotOptimize(container.Data().constData());
    }
    state.counters["compressed"] = double(storedSkin().CompressedData().size());
    state.counters["inflated"] = double(size);
}
BENCHMARK(BM_InflateStoredSkin)->Unit(benchmark::kMillisecond);

void BM_LoadStoredSkinIntoStore(benchmark::State &state)
{
    for (auto _ : state) {
        TbsSkinData store;
        store.LoadStoredSkin(storedSkin());
        benchmark::DoNotOptimize(store.ControlList.size());
    }
}
BENCHMARK(BM_LoadStoredSkinIntoStore)->Unit(benchmark::kMillisecond);

// The description part alone: splitting the text into lines and parsing them into the in-memory INI.
void BM_ParseDescription(benchmark::State &state)
{
    TMemoryStream container;
    storedSkin().DecompressToStream(container);
    const QByteArray text = container.Data().mid(container.Data().indexOf("; Pixolo"));
    for (auto _ : state) {
        const SkinIni ini(SkinIni::splitLines(text));
        benchmark::DoNotOptimize(ini.Sections().size());
    }
}
BENCHMARK(BM_ParseDescription)->Unit(benchmark::kMillisecond);

} // namespace
