// Applying a chart options change to an open 1 GB file, without the windows: the controls' values into
// the options record, the reload the change needs, the sub-set charts rebuilt into 1600 x 900 pictures
// and the options file saved. Each apply benchmark has its load-only twin in the same run, so the cost of
// the apply beyond the load is the difference of the two.
#include "BenchFiles.h"

#include "charts/ColorTable.h"
#include "charts/SubSetCharts.h"
#include "dataset/Loader.h"
#include "options/OptionsDialogFields.h"
#include "options/OptionsFile.h"

#include <benchmark/benchmark.h>

#ifdef MARVOX_HAVE_QT
#include "BenchGui.h"
#include "platform/QtSurface.h"

namespace {

using namespace mvx;

// The open file and the sub-set window's charts, made once for every benchmark of this file.
struct OpenFile {
    CoreState Core;
    ColorTableArray Colors{};
    SubSetCharts Charts;
    QtSurface Picture1, Picture2, Picture4, Picture5;
    SubSetSurfaces Surfaces{Picture1, Picture2, Picture4, Picture5};
    bool Loaded = false;
    std::string OptionsPath = "/tmp/marevox-bench-apply-options.txt";

    OpenFile() {
        bench::EnsureGuiApp();
        Init_Color_Table(Colors);
        Load_Default_Options(Core.Opts);
        Loaded = Load_Whole_Set(Core, bench::BeamFileOfSize(1000)).Loaded();
        Charts.WindowWidth = 1600;
        Charts.WindowHeight = 900;
    }
};

// The open file, or null (and the benchmark skipped) when it did not load.
OpenFile* File(benchmark::State& state) {
    static auto* file = new OpenFile;
    if (file->Loaded) return file;
    state.SkipWithError("the 1 GB file did not load");
    return nullptr;
}

// One apply: the controls as the dialog holds them, with the contour data type switched between echo
// intensity and magnitude, into the record; the reload; the charts; the options file.
void Apply(OpenFile& f, OptionsDialogFields& fields, bool reopen) {
    fields.ContourType = fields.ContourType == 0 ? 14 : 0;
    const bool reload = Processing_To_Options(fields, f.Core.Opts);
    Dialog_To_Options(fields, f.Core.Opts, f.Core.Set, f.Core.Setup.NumCells);
    if (reload || reopen) {
        Load_Whole_Set(f.Core, f.Core.Set.FileName);
    } else {
        Read_File_Selection(f.Core, f.Core.Set.FirstEnsNumber, f.Core.Set.LastEnsNumber, false);
    }
    Init_Charts(f.Charts, f.Surfaces, f.Core, f.Colors, f.Core.Opts.ContourDataType);
    Save_Options(f.Core.Opts, f.OptionsPath);
}

// The change that reloads the current selection (a chart setting, the end of profile).
void BM_ApplyChartOptions(benchmark::State& state) {
    OpenFile* file = File(state);
    if (!file) return;
    OpenFile& f = *file;
    OptionsDialogFields fields;
    Options_To_Dialog(f.Core.Opts, f.Core.Set, f.Core.Setup.NumCells, fields);
    for (auto _ : state) Apply(f, fields, false);
    state.counters["sub_set"] = f.Core.Set.CurrentEnsIndex;
}
BENCHMARK(BM_ApplyChartOptions)->Unit(benchmark::kMillisecond)->UseRealTime();

// Its load alone.
void BM_ReloadSelectionOnly(benchmark::State& state) {
    OpenFile* file = File(state);
    if (!file) return;
    OpenFile& f = *file;
    for (auto _ : state)
        Read_File_Selection(f.Core, f.Core.Set.FirstEnsNumber, f.Core.Set.LastEnsNumber, false);
}
BENCHMARK(BM_ReloadSelectionOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// The change that reads the whole file again (the velocity reference, a scale factor).
void BM_ApplyProcessingOptions(benchmark::State& state) {
    OpenFile* file = File(state);
    if (!file) return;
    OpenFile& f = *file;
    OptionsDialogFields fields;
    Options_To_Dialog(f.Core.Opts, f.Core.Set, f.Core.Setup.NumCells, fields);
    for (auto _ : state) Apply(f, fields, true);
}
BENCHMARK(BM_ApplyProcessingOptions)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Its load alone.
void BM_ReopenWholeFileOnly(benchmark::State& state) {
    OpenFile* file = File(state);
    if (!file) return;
    OpenFile& f = *file;
    for (auto _ : state) Load_Whole_Set(f.Core, f.Core.Set.FileName);
}
BENCHMARK(BM_ReopenWholeFileOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
#endif
