// Reading the options record: a whole default file, and a file whose one record is a 64 MiB line that
// the reader must skip without holding it.
#include "options/OptionsFile.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

std::string DefaultFileText() {
    mvx::Options o;
    mvx::Load_Default_Options(o);
    std::ostringstream out;
    mvx::Write_Options(o, out);
    return out.str();
}

void BM_ReadDefaultOptions(benchmark::State& state) {
    const std::string text = DefaultFileText();
    for (auto _ : state) {
        mvx::Options o;
        std::istringstream in(text);
        benchmark::DoNotOptimize(mvx::Read_Options(o, in));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadDefaultOptions);

void BM_SkipOverlongRecord(benchmark::State& state) {
    std::string text = DefaultFileText();
    const std::size_t second = text.find("\r\n") + 2;
    text.insert(second, std::string(64u << 20, '9'));
    for (auto _ : state) {
        mvx::Options o;
        std::istringstream in(text);
        benchmark::DoNotOptimize(mvx::Read_Options(o, in));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_SkipOverlongRecord)->Unit(benchmark::kMillisecond);

} // namespace
