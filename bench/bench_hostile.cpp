// The ensemble search through bytes made to be hard, 16 MiB each: nothing but 0x7F (every byte starts a
// candidate that claims 32 KB), 0x7F 0x7F pairs each followed by one other byte (a 32 KB candidate every
// three bytes, no bad byte), and real ensemble headers with nothing behind them (a candidate of the
// ensemble's length every six bytes, every one with a wrong checksum). And the file statistics of a
// recording followed by 16 MiB of 0x7F, where the backward search for the last ensemble goes through the
// whole tail.
#include "dataset/FileStats.h"
#include "ensemble/Framing.h"
#include "model/CoreState.h"
#include "simulator/Simulator.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace mvx;
namespace fs = std::filesystem;

constexpr size_t kTail = size_t{16} << 20;

std::vector<uint8_t> Recording(int32_t ensembles) {
    SimulationSpec spec;
    spec.Ensembles = ensembles;
    spec.Cells = 30;
    Simulator sim(spec);
    std::vector<uint8_t> bytes;
    while (sim.Next(bytes)) {
    }
    return bytes;
}

std::string Written(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path dir = "/tmp/marevox-bench-hostile";
    std::error_code ec;
    fs::create_directories(dir, ec);
    const fs::path path = dir / name;
    if (fs::exists(path, ec) && fs::file_size(path, ec) == bytes.size()) return path.string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

// Repeats pattern to kTail bytes.
std::vector<uint8_t> Repeated(const std::vector<uint8_t>& pattern) {
    std::vector<uint8_t> bytes;
    bytes.reserve(kTail);
    while (bytes.size() < kTail) bytes.insert(bytes.end(), pattern.begin(), pattern.end());
    bytes.resize(kTail);
    return bytes;
}

void SearchThrough(benchmark::State& state, const std::string& path) {
    int64_t found = 0, calls = 0;
    for (auto _ : state) {
        EnsembleFile file;
        if (!file.Open(path)) return state.SkipWithError("cannot open the benchmark file");
        EnsembleFrame frame;
        found = calls = 0;
        while (!file.AtEnd()) {
            ++calls;
            if (Find_Broadband_Ensemble(file, frame, {})) ++found;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kTail));
    state.counters["ensembles"] = static_cast<double>(found);
    state.counters["calls"] = static_cast<double>(calls);
}

void BM_SearchThroughSyncBytes(benchmark::State& state) {
    static const std::string path = Written("sync_bytes.bin", Repeated({0x7F}));
    SearchThrough(state, path);
}
BENCHMARK(BM_SearchThroughSyncBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SearchThroughSyncPairs(benchmark::State& state) {
    static const std::string path = Written("sync_pairs.bin", Repeated({0x7F, 0x7F, 0x01}));
    SearchThrough(state, path);
}
BENCHMARK(BM_SearchThroughSyncPairs)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SearchThroughHeadersWithWrongChecksums(benchmark::State& state) {
    static const std::string path = [] {
        const std::vector<uint8_t> ensemble = Recording(1);
        return Written("headers.bin", Repeated({ensemble.begin(), ensemble.begin() + 6}));
    }();
    SearchThrough(state, path);
}
BENCHMARK(BM_SearchThroughHeadersWithWrongChecksums)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StatsOfRecordingWithSyncTail(benchmark::State& state) {
    static const std::string path = [] {
        std::vector<uint8_t> bytes = Recording(1000);
        bytes.insert(bytes.end(), kTail, 0x7F);
        return Written("recording_sync_tail.000", bytes);
    }();
    bool ok = false;
    int32_t last = 0;
    for (auto _ : state) {
        CoreState core;
        ok = Show_File_Stats({path}, 0, DecodeTarget{core.Frame, core.Setup, core.Data}, DecodeSettings{},
                             core.Set, {})
                 .Valid();
        last = core.Set.LastEnsNumber;
    }
    if (!ok) state.SkipWithError("the statistics found no last ensemble");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
    state.counters["last_ensemble"] = last;
}
BENCHMARK(BM_StatsOfRecordingWithSyncTail)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
