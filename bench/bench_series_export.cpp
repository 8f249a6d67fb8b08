// A series export of a long file (100,000 simulated ensembles, 10 bins, 6 per-bin data types) as text,
// MAT and NetCDF, and a contour export of the same file as MAT and NetCDF; with the pieces of the
// per-ensemble cost measured on their own: the single-ensemble load the writers make for every row
// (through their own reader, which keeps the file open, and the same load of the set on display, which
// opens it each time), its fixed part (opening the file with its read buffer), and the search, decode
// and processing of one ensemble from a file kept open.
#include "common/OutputFile.h"
#include "dataset/Loader.h"
#include "ensemble/EnsembleFile.h"
#include "ensemble/Framing.h"
#include "export/ExportReader.h"
#include "export/MatExport.h"
#include "export/NetCdfExport.h"
#include "export/TextExport.h"
#include "model/CoreState.h"
#include "simulator/Simulator.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int kEnsembles = 100000;
constexpr int kCells = 10;
namespace fs = std::filesystem;

// The simulated file of this run. The simulator never writes over a file that holds data, so each run
// makes its own and removes it at exit (runs of several programs side by side do not meet).
const std::string& LongFile() {
    static const std::string path = [] {
        const fs::path p =
            fs::temp_directory_path() / ("marevox-bench-series-" + std::to_string(::getpid()) + ".000");
        std::error_code ec;
        fs::remove(p, ec);
        mvx::SimulationSpec spec;
        spec.Ensembles = kEnsembles;
        spec.Cells = kCells;
        spec.Seed = 7;
        std::string error;
        if (!mvx::WriteSimulatedFile(spec, p.string(), &error)) return std::string();
        return p.string();
    }();
    // Registered after the path itself, so it runs while the path still exists.
    static const bool removedAtExit = [] {
        return std::atexit([] {
                   std::error_code ignored;
                   fs::remove(path, ignored);
               }) == 0;
    }();
    (void)removedAtExit;
    return path;
}

bool OpenLongFile(mvx::CoreState& state, benchmark::State& bench) {
    if (LongFile().empty() || !mvx::Load_Whole_Set(state, LongFile())) {
        bench.SkipWithError("the simulated file could not be made or loaded");
        return false;
    }
    return true;
}

mvx::ExportSelection SeriesSelection(int32_t last) {
    mvx::ExportSelection sel;
    sel.Kind = mvx::ExportKind::Series;
    sel.SeriesEnsembles = {"1", std::to_string(last), "1"};
    for (int k : {4, 9, 10, 11, 14, 15}) sel.SeriesTypes[static_cast<size_t>(k)] = true;
    sel.Bins[2].SelectAll(kCells);
    return sel;
}

// The whole long file, one velocity component over its 10 bins.
mvx::ExportSelection ContourSelection(int32_t last) {
    mvx::ExportSelection sel;
    sel.ContourType = 10;
    sel.ContourEnsembles = {"1", std::to_string(last), "1"};
    sel.Bins[0].SelectAll(kCells);
    return sel;
}

// An export of ensembles 1..kEnsembles by one writer.
template <bool (*Writer)(mvx::ExportReader&, mvx::ExportSelection&, mvx::OutputFile&),
          mvx::ExportSelection (*Select)(int32_t)>
void BM_Export(benchmark::State& bench) {
    mvx::CoreState state;
    if (!OpenLongFile(state, bench)) return;
    const fs::path out = fs::temp_directory_path() / ("marevox-bench-export-" + std::to_string(::getpid()));
    for (auto _ : bench) {
        bench.PauseTiming();
        fs::remove(out);
        mvx::ExportSelection sel = Select(kEnsembles);
        mvx::OutputFile file;
        file.Open(out.string());
        bench.ResumeTiming();
        mvx::ExportReader reader(state);
        if (!Writer(reader, sel, file) || !file.Close()) bench.SkipWithError(file.Error().c_str());
    }
    fs::remove(out);
    bench.SetItemsProcessed(bench.iterations() * kEnsembles);
}
BENCHMARK_TEMPLATE(BM_Export, mvx::Write_Series_Text, SeriesSelection)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, mvx::Write_Series_Mat, SeriesSelection)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, mvx::Write_Series_NetCdf, SeriesSelection)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, mvx::Write_Contour_Mat, ContourSelection)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Export, mvx::Write_Contour_NetCdf, ContourSelection)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// A one-ensemble load of the set on display: Read_File_Selection(e, e).
void BM_SingleEnsembleLoad(benchmark::State& bench) {
    mvx::CoreState state;
    if (!OpenLongFile(state, bench)) return;
    int32_t e = 1;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(mvx::Read_File_Selection(state, e, e, false).Loaded);
        e = e % kEnsembles + 1;
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_SingleEnsembleLoad)->Unit(benchmark::kMicrosecond);

// The load every exported row makes, through the export's own reader.
void BM_ExportReaderLoad(benchmark::State& bench) {
    mvx::CoreState state;
    if (!OpenLongFile(state, bench)) return;
    mvx::ExportReader reader(state);
    mvx::OutputFile unused;
    int32_t e = 1;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(reader.Load(e, unused));
        e = e % kEnsembles + 1;
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_ExportReaderLoad)->Unit(benchmark::kMicrosecond);

// Its fixed part: a reader opened, positioned and filled once, with the loader's buffer of 1 MiB and
// with smaller ones.
void BM_OpenFileAndFillBuffer(benchmark::State& bench) {
    if (LongFile().empty()) return bench.SkipWithError("no file");
    int64_t p = 1;
    for (auto _ : bench) {
        mvx::EnsembleFile file(static_cast<size_t>(bench.range(0)));
        file.Open(LongFile());
        file.Seek(p);
        benchmark::DoNotOptimize(file.ReadByte());
        p = (p + 4096) % (1 << 24) + 1;
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_OpenFileAndFillBuffer)->Arg(1 << 20)->Arg(64 << 10)->Arg(4 << 10)->Unit(benchmark::kMicrosecond);

// What one ensemble costs when the file stays open with a small buffer: seek to its computed
// position, find and verify it, decode and process it into slot 0.
void BM_SeekFindDecodeKeptOpen(benchmark::State& bench) {
    mvx::CoreState state;
    if (!OpenLongFile(state, bench)) return;
    mvx::EnsembleFile file(16 * 1024);
    file.Open(LongFile());
    const int64_t stride = int64_t{state.Frame.EnsembleBytes} + 2;
    const mvx::ProcessingSettings settings = mvx::Processing_Settings(state);
    int32_t e = 1;
    for (auto _ : bench) {
        file.Seek((e - state.Set.FileFirstEnsemble) * stride + 1);
        if (mvx::Get_Next_Ensemble(state.Set.DataStructure, file, state.Frame, state.Set.FileValid,
                                   state.Yield))
            mvx::Process_Ensemble({state.Frame, state.Setup, state.Data}, 0, settings, state.Set.FileValid);
        e = e % kEnsembles + 1;
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_SeekFindDecodeKeptOpen)->Unit(benchmark::kMicrosecond);

} // namespace
