// The analysis windows' work: rotation of a large set onto a track, smoothing a long candle, and the
// redraw of each window at 1600 x 900.
#include "analysis/CellRotation.h"
#include "analysis/ReportFile.h"
#include "analysis/TrackRotation.h"
#include "analysis/Trend.h"

#include "common/Angles.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#ifdef MARVOX_HAVE_QT
#include "BenchGui.h"
#include "charts/ReportChart.h"
#include "charts/TrackVectorChart.h"
#include "charts/TrendChart.h"
#include "platform/QtSurface.h"
#endif

namespace {

using namespace mvx;

// A loaded set of n ensembles of 255 bins with random east and north velocities and bottom track.
void FillSet(EnsembleSet& set, int n) {
    Allocate_Ensemble_Set(set, n);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> velocity(-2000, 2000), direction(0, 3599);
    for (int i = 0; i < n; ++i) {
        for (int b = 0; b < 255; ++b) {
            set.VelData(0, b, i) = static_cast<int16_t>(velocity(random));
            set.VelData(1, b, i) = static_cast<int16_t>(velocity(random));
        }
        set.BTVelData(0, i) = set.BTVelData(1, i) = 100;
        set.BTVelData(5, i) = static_cast<int16_t>(direction(random));
    }
}

// 8,192 ensembles of 255 bins rotated onto the bottom track (argument 0) or a manual angle (2).
template <void (*Rotate)(EnsembleSet&, int32_t, int32_t, TrackProjection, double)>
void RotateSet(benchmark::State& state) {
    EnsembleSet set;
    FillSet(set, 8192);
    const auto projection = static_cast<TrackProjection>(state.range(0));
    for (auto _ : state) {
        Rotate(set, 8192, 255, projection, 30);
        benchmark::DoNotOptimize(set.VelData(6, 0, 0));
    }
}

void BM_RotateTrack(benchmark::State& state) {
    RotateSet<Rotate_Track_Data>(state);
}
BENCHMARK(BM_RotateTrack)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// The rotation as it was before its inner loop was made branch-free, kept to compare against in the
// same run: one cell at a time, skipping bad values with a branch.
void RotateBefore(EnsembleSet& set, int32_t count, int32_t numCells, TrackProjection projection,
                  double angle) {
    auto limited = [](double v) {
        constexpr double kRound = 6755399441055744.0;
        return static_cast<int16_t>((std::clamp(v, -32767.0, 32767.0) + kRound) - kRound);
    };
    double sinT = std::sin(angle * kProcessingPi / 180.0), cosT = std::cos(angle * kProcessingPi / 180.0);
    const SlotArray<int16_t>& direction =
        projection == TrackProjection::Navigation ? set.NavData : set.BTVelData;
    for (int32_t i = 0; i < count; ++i) {
        bool valid = projection == TrackProjection::Manual;
        if (!valid && direction(0, i) != kBadValue && direction(1, i) != kBadValue &&
            (direction(0, i) != 0 || direction(1, i) != 0)) {
            valid = true;
            sinT = std::sin(direction(5, i) * kProcessingPi / 1800.0);
            cosT = std::cos(direction(5, i) * kProcessingPi / 1800.0);
        }
        for (int32_t n = 0; n < numCells; ++n) {
            const int16_t u = set.VelData(0, n, i), w = set.VelData(1, n, i);
            if (!valid || u == kBadValue || w == kBadValue) {
                set.VelData(6, n, i) = set.VelData(7, n, i) = kBadValue;
                continue;
            }
            set.VelData(6, n, i) = limited(u * sinT + w * cosT);
            set.VelData(7, n, i) = limited(u * cosT - w * sinT);
        }
    }
}

void BM_RotateTrackBefore(benchmark::State& state) {
    RotateSet<RotateBefore>(state);
}
BENCHMARK(BM_RotateTrackBefore)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// The portable form of the cell loop over the same set, as a processor without AVX2 runs it.
void BM_RotateCellsPortable(benchmark::State& state) {
    EnsembleSet set;
    FillSet(set, 8192);
    for (auto _ : state) {
        for (int32_t i = 0; i < 8192; ++i)
            RotateCellsPortable({set.VelData.RowData(0, i), set.VelData.RowData(1, i),
                                 set.VelData.RowData(6, i), set.VelData.RowData(7, i)},
                                255, 0.5, 0.8660254037844386);
        benchmark::DoNotOptimize(set.VelData(6, 0, 0));
    }
}
BENCHMARK(BM_RotateCellsPortable)->Unit(benchmark::kMillisecond);

// The memory floor of the rotation: rows 0 and 1 of every slot copied into rows 6 and 7, no arithmetic.
void BM_RotateTrackMemoryFloor(benchmark::State& state) {
    EnsembleSet set;
    FillSet(set, 8192);
    for (auto _ : state) {
        for (int32_t i = 0; i < 8192; ++i) {
            std::memcpy(set.VelData.RowData(6, i), set.VelData.RowData(0, i), 255 * sizeof(int16_t));
            std::memcpy(set.VelData.RowData(7, i), set.VelData.RowData(1, i), 255 * sizeof(int16_t));
        }
        benchmark::DoNotOptimize(set.VelData(6, 0, 0));
    }
}
BENCHMARK(BM_RotateTrackMemoryFloor)->Unit(benchmark::kMillisecond);

void BM_Smooth50Passes(benchmark::State& state) {
    std::vector<double> samples(8192);
    std::mt19937 random(3);
    std::uniform_real_distribution<double> value(-500, 500);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = i % 17 == 0 ? kMissing : value(random);
    for (auto _ : state) {
        std::vector<double> work = samples;
        for (int pass = 0; pass < 50; ++pass) Smooth(work);
        benchmark::DoNotOptimize(work.data());
    }
}
BENCHMARK(BM_Smooth50Passes)->Unit(benchmark::kMillisecond);

#ifdef MARVOX_HAVE_QT

void BM_RedrawTrackVector(benchmark::State& state) {
    mvx::bench::EnsureGuiApp();
    CoreState core;
    FillSet(core.Data, 1024);
    core.Set.FileValid = true;
    core.Set.CurrentEnsIndex = 1024;
    core.Setup.NumCells = 100;
    core.Setup.CellLength = 1;
    for (int b = 1; b <= 4; ++b) core.Opts.SeriesBinSelect[static_cast<size_t>(b * 10)] = true;
    core.Opts.SeriesCombo = false;
    QtSurface text(300, 900), upper(1300, 450), lower(1300, 450);
    TrackVectorState track;
    TrackVectorChart chart;
    for (auto _ : state) {
        track.RotateNeeded = true;
        Show_Track_Vector_Data(chart, track, core, {text, upper, lower});
    }
}
BENCHMARK(BM_RedrawTrackVector)->Unit(benchmark::kMillisecond);

void BM_RedrawTrend(benchmark::State& state) {
    mvx::bench::EnsureGuiApp();
    CoreState core;
    core.Set.FileValid = true;
    Candles& c = core.Series;
    c.Resize(4, 4, 3, 2048);
    std::mt19937 random(5);
    std::uniform_int_distribution<int> value(-800, 800);
    for (auto& s : c.CandleSamples) s = static_cast<int16_t>(value(random));
    for (int k = 0; k < 4; ++k)
        for (int r = 0; r < 4; ++r)
            for (int g = 0; g < 3; ++g) {
                c.CandleStats[c.StatIndex(CandleLast, k, r, g)] = 2047;
                c.CandleStats[c.StatIndex(CandleMax, k, r, g)] = 800;
                c.CandleStats[c.StatIndex(CandleMin, k, r, g)] = -800;
            }
    c.TrendPasses = 20;
    QtSurface picture(1600, 900);
    picture.SetFont("Courier New", 8, false);
    TrendChart chart;
    for (auto _ : state) Show_Stat_Data(chart, core, picture);
}
BENCHMARK(BM_RedrawTrend)->Unit(benchmark::kMillisecond);

void BM_RedrawReport(benchmark::State& state) {
    mvx::bench::EnsureGuiApp();
    ReportSnapshot snapshot;
    snapshot.Resize(100, 1024);
    for (size_t i = 0; i < snapshot.Matrix.size(); ++i)
        snapshot.Matrix[i] = static_cast<int32_t>(i % 2000) - 1000;
    ColorTableArray colors{};
    Init_Color_Table(colors);
    QtSurface picture(1600, 900);
    ReportChart chart;
    for (auto _ : state) Draw_Report(chart, snapshot, picture, colors);
}
BENCHMARK(BM_RedrawReport)->Unit(benchmark::kMillisecond);
#endif

} // namespace
