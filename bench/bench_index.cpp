// The exact ensemble index: the framing pass over a file whose ensembles vary in length, opening such
// a file (statistics with the pass, whole set, first sub set), and a sub-set load by ensemble number
// in an indexed file against the same load in a file of one length (the arithmetic's seek).
#include "BenchFiles.h"
#include "dataset/Loader.h"
#include "ensemble/EnsembleIndexPass.h"
#include "model/CoreState.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

using namespace mvx;
namespace fs = std::filesystem;

// The loading benchmarks' standard ensembles, with a text block of 0..700 more bytes and 0..9 cells
// fewer in each ensemble, as acquisition programs and some instruments record them.
std::string VaryingFileOfSize(int64_t megabytes) {
    SimulationSpec spec;
    spec.Cells = 30;
    spec.BeamCoordinates = true;
    spec.IntervalSeconds = 1;
    spec.TextVary = 700;
    spec.CellsVary = 9;
    return bench::SimulatedFileOfSize("varying30", spec, megabytes);
}

void BM_IndexPass(benchmark::State& state) {
    const std::string path = VaryingFileOfSize(state.range(0));
    const std::vector<std::string> members{path};
    EnsembleIndex index;
    for (auto _ : state) {
        Index_Ensembles(members, kBroadband, false, index, {}, {});
        benchmark::DoNotOptimize(index.Entries.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
    state.counters["ensembles"] = static_cast<double>(index.Count());
    state.counters["index_bytes_per_ensemble"] =
        static_cast<double>(index.Entries.capacity() * sizeof(IndexEntry) + index.ByNumber.capacity() * 4) /
        static_cast<double>(std::max<size_t>(index.Count(), 1));
}
BENCHMARK(BM_IndexPass)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenVaryingFile(benchmark::State& state) {
    const std::string path = VaryingFileOfSize(state.range(0));
    bool loaded = true;
    size_t entries = 0;
    for (auto _ : state) {
        CoreState core;
        loaded = Load_Whole_Set(core, path) && loaded;
        entries = core.Set.Index.Count();
        benchmark::DoNotOptimize(core.Data.Whole.VelData.Raw().data());
    }
    if (!loaded || entries == 0) state.SkipWithError("the varying file did not load with an index");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
    state.counters["ensembles"] = static_cast<double>(entries);
}
BENCHMARK(BM_OpenVaryingFile)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A sub set of 256 by ensemble number, spread over the file: 0 a file of one length, 1 an indexed one.
void BM_SubSetLoadByNumber(benchmark::State& state) {
    const std::string path = state.range(0) == 0 ? bench::BeamFileOfSize(100) : VaryingFileOfSize(100);
    CoreState core;
    if (!Load_Whole_Set(core, path)) return state.SkipWithError("the file did not load");
    const int32_t last = core.Set.FileLastEnsemble - 256;
    int32_t e = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Read_File_Selection(core, e, e + 255, false).Stored);
        e = (e + 7919) % last + 1;
    }
    state.counters["indexed"] = core.Set.Index.Empty() ? 0 : 1;
    state.SetItemsProcessed(state.iterations() * 256);
}
BENCHMARK(BM_SubSetLoadByNumber)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
