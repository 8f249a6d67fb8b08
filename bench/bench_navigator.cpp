// The navigator and the animations at the speed the user feels them:
// - a selection move (a scroll-bar step to a new place in the file): the sub-set load of 1,024 ensembles
//   and the redraw of the sub-set window (contour, profile and series surfaces at 1,600 x 900) with the
//   whole-set marker, on a simulated file of 10 MB and, when MARVOX_BENCH_GB=1, of 1 GB (made under
//   /tmp for the run and removed at exit);
// - the whole-set chart at 1,600 x 900 with 8,192 thinned ensembles by 255 bins: full rebuild, and the
//   redraw after a size change;
// - one animation step of the contour (the next half page loaded and drawn) and of the profile.
#include "BenchFiles.h"
#include "charts/Animation.h"
#include "charts/SubSetCharts.h"
#include "dataset/Loader.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#ifdef MARVOX_HAVE_QT
#include "BenchGui.h"
#include "platform/QtSurface.h"

namespace {

using namespace mvx;

constexpr int kWidth = 1600, kHeight = 900;

using mvx::bench::EnsureGuiApp;

// Earth-coordinate ensembles of 30 cells with bottom track, a second apart, of at least the given size;
// made once per run under /tmp and removed when the program ends.
std::string FileOfSize(int64_t megabytes) {
    static std::map<int64_t, std::string> made;
    if (auto it = made.find(megabytes); it != made.end()) return it->second;
    SimulationSpec spec;
    spec.Cells = 30;
    spec.IntervalSeconds = 1;
    return made[megabytes] = bench::TemporarySimulatedFile(spec, megabytes);
}

// A loaded file with its sub-set and whole-set charts drawn as the windows draw them.
struct Program {
    CoreState Core;
    ColorTableArray Colors{};
    QtSurface P1, P2, P4, P5, W1, W2;
    SubSetSurfaces Sub{P1, P2, P4, P5};
    WholeSetSurfaces Whole{W1, W2};
    SubSetCharts SubCharts;
    WholeSetChart WholeChart;
    NavigatorScrolls Scrolls;
    bool Loaded = false;

    Program(const std::string& path, int32_t subEnsembles) {
        EnsureGuiApp();
        Init_Color_Table(Colors);
        Core.Opts.MaxSubEnsembles = subEnsembles;
        Loaded = Load_Whole_Set(Core, path).Loaded();
        SubCharts.WindowWidth = kWidth;
        SubCharts.WindowHeight = kHeight;
        WholeChart.WindowWidth = kWidth;
        WholeChart.WindowHeight = 400;
        Init_Whole_Set_Chart(WholeChart, Whole, Core, Colors, 500);
        Redraw();
    }
    // What the windows do after a new sub set is loaded.
    void Redraw() {
        SubSetChartHooks hooks;
        hooks.Show_Selected_Data_Location = [this] { Show_Selected_Data_Location(WholeChart, W1, Core); };
        Init_Charts(SubCharts, Sub, Core, Colors, 500, hooks);
        Move_Scrollers(Scrolls, Core.Set, Core.Setup.NumCells);
    }
    // A scroll-bar move to a value: the sub set there loaded and drawn.
    void MoveTo(int32_t value) {
        Scrolls.H.Value = value;
        const EnsembleSpan range = HScroll_Range(Scrolls.H, Core.Set);
        if (Read_File_Selection(Core, range.First, range.Last, false).Loaded) Redraw();
    }
};

void SelectionMove(benchmark::State& state, int64_t megabytes) {
    if (megabytes >= 1000 && std::getenv("MARVOX_BENCH_GB") == nullptr) {
        state.SkipWithError("set MARVOX_BENCH_GB=1 to make and use the 1 GB file");
        return;
    }
    Program program(FileOfSize(megabytes), 1024);
    if (!program.Loaded) {
        state.SkipWithError("the simulated file did not load");
        return;
    }
    uint32_t k = 0;
    for (auto _ : state) {
        // Places spread over the whole file, never the same twice running.
        k = (k + 7919) % 32768;
        program.MoveTo(static_cast<int32_t>(k));
        benchmark::DoNotOptimize(program.Core.Set.FirstEnsNumber);
    }
    state.counters["ensembles"] = program.Core.Set.CurrentEnsIndex;
    state.counters["file_ensembles"] = program.Core.Set.FileLastEnsemble;
}
BENCHMARK_CAPTURE(SelectionMove, 10MB, 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SelectionMove, 1GB, 1000)->Unit(benchmark::kMillisecond)->Iterations(40);

// A whole set of 8,192 ensembles by 255 bins, velocities between -2000 and 2000 mm/s with every 97th
// value missing.
struct BigWholeSet {
    CoreState Core;
    ColorTableArray Colors{};
    QtSurface W1, W2;
    WholeSetSurfaces Whole{W1, W2};
    WholeSetChart Chart;

    BigWholeSet() {
        EnsureGuiApp();
        Init_Color_Table(Colors);
        constexpr int kEnsembles = 8192, kBins = 255;
        Allocate_Data_Set(Core.Data, 256, kEnsembles, true);
        SlotArray<int16_t>& vel = Core.Data.Whole.VelData;
        uint32_t seed = 12345;
        size_t k = 0;
        for (int e = 0; e < kEnsembles; ++e) {
            for (int b = 0; b < kBins; ++b, ++k) {
                seed = seed * 1664525u + 1013904223u;
                for (int row = 0; row < 5; ++row)
                    vel(row, b, e) = k % 97 == 0 ? kBadValue : static_cast<int16_t>((seed >> 20) - 2048);
            }
            Core.Data.Whole.EnsTimes(3, e) = static_cast<uint8_t>(e / 3600 % 24);
        }
        SetDescriptors& s = Core.Set;
        s.FileValid = true;
        s.FileFirstEnsemble = s.WholeFirstEns = s.FirstEnsNumber = 1;
        s.WholeEnsCount = kEnsembles;
        s.WholeStepSaved = 121;
        s.FileLastEnsemble = 1 + (kEnsembles - 1) * 122;
        s.LastEnsNumber = 1024;
        s.WholeSetDuration = s.FileLastEnsemble - 1.0;
        s.OrientationBalance = 1;
        s.FirstBinShown = 1;
        s.LastBinShown = kBins;
        s.SelFirstEns = 1;
        s.SelLastEns = s.FileLastEnsemble;
        Core.Setup.NumCells = kBins;
        Core.Setup.CellLength = 0.25;
        Core.Setup.Bin1Distance = 0.9;
        Chart.WindowWidth = kWidth;
        Chart.WindowHeight = kHeight;
    }
};

void WholeSetRebuild(benchmark::State& state) {
    BigWholeSet set;
    for (auto _ : state) {
        Draw_Whole_Set_Picture(set.Chart, set.Whole, set.Core, set.Colors, 500);
        benchmark::DoNotOptimize(set.W1.GetPixel(800, 450));
    }
}
BENCHMARK(WholeSetRebuild)->Unit(benchmark::kMillisecond);

void WholeSetRedraw(benchmark::State& state) {
    BigWholeSet set;
    Draw_Whole_Set_Picture(set.Chart, set.Whole, set.Core, set.Colors, 500);
    for (auto _ : state) {
        Resize_Whole_Set_Chart(set.Chart, set.Whole, set.Core, set.Colors);
        Show_Selected_Data_Location(set.Chart, set.W1, set.Core);
        benchmark::DoNotOptimize(set.W1.GetPixel(800, 450));
    }
}
BENCHMARK(WholeSetRedraw)->Unit(benchmark::kMillisecond);

void AnimationStep(benchmark::State& state, AnimationKind kind) {
    Program program(FileOfSize(10), 256);
    if (!program.Loaded) {
        state.SkipWithError("the simulated file did not load");
        return;
    }
    AnimationState anim;
    AnimationHooks hooks;
    hooks.Set_HScroll = [&program](int32_t value) { program.MoveTo(value); };
    hooks.Move_Profile = [&program](int32_t old) {
        const ContourChart& chart = program.SubCharts.Contour;
        Toggle_Profile_Line(chart, program.P1, old);
        Toggle_Profile_Line(chart, program.P1, program.Core.Set.ProfileEnsNumber);
        Draw_Profile_Frame(program.P5);
    };
    CoreState& core = program.Core;
    for (auto _ : state) {
        if (!Animation_Running(core.Menus, kind)) {
            state.PauseTiming();
            Animate_Rewind(core, program.Scrolls.H, kind, hooks);
            Animate_Go(anim, core, program.Scrolls.H, kind);
            state.ResumeTiming();
        }
        Animate_Step(anim, core, kind, hooks);
    }
}
BENCHMARK_CAPTURE(AnimationStep, contour, AnimationKind::Contour)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AnimationStep, profile, AnimationKind::Profile)->Unit(benchmark::kMillisecond);

} // namespace

#endif
