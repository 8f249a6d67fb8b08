// marevox-cli simulate: writes a file of simulated ensembles.
#include "cli/Args.h"
#include "cli/Commands.h"
#include "simulator/Simulator.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace mvx::cli {

namespace {

const char kUsage[] = "usage: marevox-cli simulate --out FILE [--ensembles N] [--cells N] [--cell-size M] "
                      "[--first-bin M] [--up]\n"
                      "       [--beam] [--no-bottom-track] [--navigation] [--text] [--flow-meter] "
                      "[--narrowband] [--stray BYTES]\n"
                      "       [--damage-every N] [--seed S] [--first-number E] [--interval SECONDS]\n"
                      "       [--start \"YYYY-MM-DD HH:MM:SS\"]\n";

int Usage(const std::string& message) {
    std::fprintf(stderr, "marevox-cli simulate: %s\n%s", message.c_str(), kUsage);
    return 2;
}

bool ParseStart(const std::string& text, SimulationSpec& spec) {
    int y, mo, d, h, mi, s;
    char tail;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6) return false;
    spec.Year = y;
    spec.Month = mo;
    spec.Day = d;
    spec.Hour = h;
    spec.Minute = mi;
    spec.Second = s;
    return true;
}

} // namespace

int RunSimulate(int argc, char** argv) {
    const std::vector<std::string> flags = {"up",   "beam",       "no-bottom-track", "navigation",
                                            "text", "flow-meter", "narrowband"};
    const std::vector<std::string> known = {"out",          "ensembles", "cells", "cell-size",
                                            "first-bin",    "stray",     "seed",  "damage-every",
                                            "first-number", "interval",  "start"};
    Args args(argc, argv, flags);
    if (!args.Error().empty()) return Usage(args.Error());
    std::vector<std::string> all = flags;
    all.insert(all.end(), known.begin(), known.end());
    const std::vector<std::string> unknown = args.Unknown(all);
    if (!unknown.empty()) return Usage("unknown option --" + unknown.front());
    if (!args.Positional().empty()) return Usage("unexpected argument " + args.Positional().front());
    const std::string out = args.Get("out");
    if (out.empty()) return Usage("--out FILE is required");

    SimulationSpec spec;
    bool ok = true;
    spec.Ensembles = static_cast<int32_t>(args.GetInt("ensembles", spec.Ensembles, &ok));
    spec.Cells = static_cast<int32_t>(args.GetInt("cells", spec.Cells, &ok));
    spec.CellSize = args.GetDouble("cell-size", spec.CellSize, &ok);
    spec.FirstBin = args.GetDouble("first-bin", spec.FirstBin, &ok);
    spec.StrayBytes = static_cast<int32_t>(args.GetInt("stray", spec.StrayBytes, &ok));
    spec.DamageEvery = static_cast<int32_t>(args.GetInt("damage-every", spec.DamageEvery, &ok));
    const int64_t seed = args.GetInt("seed", spec.Seed, &ok);
    spec.FirstEnsembleNumber =
        static_cast<int32_t>(args.GetInt("first-number", spec.FirstEnsembleNumber, &ok));
    spec.IntervalSeconds = args.GetDouble("interval", spec.IntervalSeconds, &ok);
    if (!ok) return Usage("a numeric option has a malformed value");
    if (seed < 0 || seed > 0xFFFFFFFFll) return Usage("the seed must be 0 to 4294967295");
    spec.Seed = static_cast<uint32_t>(seed);
    for (const char* name : {"ensembles", "cells", "stray", "damage-every", "first-number"}) {
        const int64_t v = args.GetInt(name, 0);
        if (v < -2147483647 || v > 2147483647) return Usage(std::string("--") + name + " is out of range");
    }
    if (args.Has("start") && !ParseStart(args.Get("start"), spec))
        return Usage("--start needs \"YYYY-MM-DD HH:MM:SS\"");
    spec.UpLooking = args.Has("up");
    spec.BeamCoordinates = args.Has("beam");
    spec.BottomTrack = !args.Has("no-bottom-track");
    spec.Navigation = args.Has("navigation");
    spec.TextBlock = args.Has("text");
    spec.FlowMeter = args.Has("flow-meter");
    spec.Narrowband = args.Has("narrowband");

    struct stat st {};
    if (::stat(out.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        std::fprintf(stderr, "Over-Write of File Not Allowed\n");
        return 1;
    }
    std::string error;
    if (!WriteSimulatedFile(spec, out, &error)) {
        std::fprintf(stderr, "marevox-cli simulate: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

} // namespace mvx::cli
