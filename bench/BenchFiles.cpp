#include "BenchFiles.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace mvx::bench {

namespace fs = std::filesystem;

std::string SimulatedFileOfSize(const std::string& name, SimulationSpec spec, int64_t megabytes) {
    const fs::path dir = "/tmp/marevox-bench-loading";
    const fs::path path = dir / (name + "_" + std::to_string(megabytes) + "MB.000");
    const int64_t target = megabytes * 1000 * 1000;
    std::error_code ec;
    if (fs::exists(path, ec) && static_cast<int64_t>(fs::file_size(path, ec)) >= target) return path.string();
    fs::create_directories(dir, ec);
    const fs::path part = path.string() + ".part";
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    spec.Ensembles = 16000000;
    Simulator sim(spec);
    std::vector<uint8_t> bytes;
    int64_t written = 0;
    while (written < target) {
        bytes.clear();
        for (int i = 0; i < 1000 && sim.Next(bytes); ++i) {
        }
        if (bytes.empty()) break;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        written += static_cast<int64_t>(bytes.size());
    }
    out.close();
    fs::rename(part, path, ec);
    return path.string();
}

std::string BeamFileOfSize(int64_t megabytes) {
    SimulationSpec spec;
    spec.Cells = 30;
    spec.BeamCoordinates = true;
    spec.IntervalSeconds = 1;
    return SimulatedFileOfSize("beam30", spec, megabytes);
}

} // namespace mvx::bench
