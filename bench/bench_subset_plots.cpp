// The sub-set window at 1,600 x 900: a full redraw of contour, profile (4 traces) and series (8 bins of
// one code, combo off, and 4 ancillary strips) against the contour with bare profile and series
// surfaces, measured side by side; the profile redraw after a profile-ensemble change; and the candle
// statistics of 8,192 ensembles x 16 bins x 8 series codes.
#include "charts/SubSetPlots.h"
#include "dataset/SeriesCandles.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

namespace {

// A loaded set of pseudo-random water data and attitude, every 97th velocity missing.
std::unique_ptr<mvx::CoreState> MakeCore(int ensembles, int bins) {
    auto core = std::make_unique<mvx::CoreState>();
    mvx::Allocate_Data_Set(core->Data, ensembles, 8, true);
    mvx::DataSet& d = core->Data;
    uint32_t seed = 12345;
    size_t k = 0;
    for (int e = 0; e < ensembles; ++e) {
        for (int b = 0; b < bins; ++b, ++k) {
            for (int row = 0; row < 6; ++row) {
                seed = seed * 1664525u + 1013904223u;
                d.VelData(row, b, e) =
                    k % 97 == 0 ? mvx::kBadValue : static_cast<int16_t>((seed >> 21) % 3600);
            }
            for (int row = 0; row < 5; ++row) {
                d.IntensityData(row, b, e) = static_cast<uint8_t>(60 + (seed >> 24) % 120);
                d.PGoodData(row, b, e) = static_cast<uint8_t>((seed >> 25) % 101);
            }
        }
        for (int row = 0; row < 8; ++row)
            d.AncData(row, e) = static_cast<int32_t>(1000 + (e * 7 + row) % 900);
        for (int row = 0; row < 6; ++row) d.BTVelData(row, e) = static_cast<int16_t>((e * 13) % 2000 - 1000);
    }
    mvx::SetDescriptors& s = core->Set;
    core->Setup.NumCells = bins;
    core->Setup.CellLength = 0.5;
    core->Setup.Bin1Distance = 1.5;
    s.FileValid = true;
    s.FirstEnsNumber = 1;
    s.LastEnsNumber = ensembles;
    s.CurrentEnsIndex = ensembles;
    s.FirstBinShown = 1;
    s.LastBinShown = bins;
    s.ProfileEnsNumber = ensembles / 2;
    s.SetDuration = 60.0 * (ensembles - 1);
    s.OrientationBalance = 1;
    mvx::Options& o = core->Opts;
    o.ProfileDataTypes = {};
    for (int t : {0, 10, 14, 15}) o.ProfileDataTypes[static_cast<size_t>(t)] = true;
    o.SeriesDataTypes = {};
    o.SeriesDataTypes[14] = true;
    o.SeriesCombo = false;
    for (int b = 1; b <= 8; ++b) o.SeriesBinSelect[static_cast<size_t>(b * bins / 9)] = true;
    for (int t : {0, 1, 2, 3}) o.AncDataTypes[static_cast<size_t>(t)] = true;
    o.SeriesAverageAll = false;
    o.SeriesAverageInterval = 3600;
    return core;
}

// The candles of 8,192 ensembles x 16 bins x 8 series codes (7 per bin and bottom-track east, whose 16
// rows read its one value), hour-long intervals of a minute's ensembles: 137 candles, 1,048,576 samples.
// The set's arrays (about 65 MB) exceed the caches, so each run reads its values from memory.
void BM_CandleStatistics(benchmark::State& state) {
    static const auto core = MakeCore(8192, 100);
    mvx::SeriesSelection selection;
    selection.Codes = {1, 10, 100, 200, 500, 600, 1000, 10000};
    for (int b = 0; b < 16; ++b) selection.Bins.push_back(b * 6);
    const mvx::CandleIntervals intervals =
        mvx::Candle_Intervals(8192, core->Set.SetDuration, true, false, 3600);
    mvx::Candles candles;
    for (auto _ : state) {
        mvx::Compute_Series_Candles(candles, core->Data, 8192, 100, selection, intervals);
        benchmark::DoNotOptimize(candles.CandleStats.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t{8192} * 16 * 8);
}
BENCHMARK(BM_CandleStatistics)->Unit(benchmark::kMillisecond);

} // namespace

#ifdef MARVOX_HAVE_QT
#include "platform/QtSurface.h"

#include "BenchGui.h"

namespace {

using mvx::bench::EnsureGuiApp;

struct Window {
    mvx::QtSurface Picture1, Picture2, Picture4, Picture5;
    mvx::SubSetSurfaces Surfaces{Picture1, Picture2, Picture4, Picture5};
    mvx::SubSetCharts Charts;
    mvx::ColorTableArray Colors{};
    Window() {
        mvx::Init_Color_Table(Colors);
        Charts.WindowWidth = 1600;
        Charts.WindowHeight = 900;
    }
};

// Arguments: ensembles, bins, and 1 for the profile and series or 0 for the bare surfaces.
void BM_SubSetWindowRedraw(benchmark::State& state) {
    EnsureGuiApp();
    const auto core = MakeCore(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    Window w;
    const mvx::SubSetChartHooks hooks =
        state.range(2) != 0 ? mvx::Sub_Set_Plot_Hooks(w.Charts, w.Surfaces, *core) : mvx::SubSetChartHooks{};
    for (auto _ : state) {
        mvx::Init_Charts(w.Charts, w.Surfaces, *core, w.Colors, 500, hooks);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SubSetWindowRedraw)
    ->Args({1024, 100, 0})
    ->Args({1024, 100, 1})
    ->Args({8192, 255, 0})
    ->Args({8192, 255, 1})
    ->Unit(benchmark::kMillisecond);

// A profile-ensemble change: the locator moved (XOR twice) and the profile redrawn.
void BM_ProfileEnsembleStep(benchmark::State& state) {
    EnsureGuiApp();
    const auto core = MakeCore(8192, 255);
    Window w;
    mvx::Init_Charts(w.Charts, w.Surfaces, *core, w.Colors, 500,
                     mvx::Sub_Set_Plot_Hooks(w.Charts, w.Surfaces, *core));
    int32_t& profile = core->Set.ProfileEnsNumber;
    for (auto _ : state) {
        mvx::Toggle_Profile_Line(w.Charts.Contour, w.Picture1, profile);
        profile = profile % 8192 + 1;
        mvx::Toggle_Profile_Line(w.Charts.Contour, w.Picture1, profile);
        mvx::Show_Profile_Data(w.Charts, w.Surfaces, *core);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ProfileEnsembleStep)->Unit(benchmark::kMillisecond);

} // namespace
#endif
