// marevox-cli simulate: writes a file of simulated ensembles.
#include "cli/Commands.h"
#include "cli/Messages.h"
#include "cli/OptionChecks.h"
#include "simulator/Simulator.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <regex>
#include <string>

namespace mvx::cli {

namespace {

struct SimulateOptions {
    std::string Out;
    SimulationSpec Spec;
    bool NoBottomTrack = false;
};

// "YYYY-MM-DD HH:MM:SS" into the start time; whether it is a real date is the simulator's check.
bool ReadStart(const std::string& text, SimulationSpec* spec) {
    static const std::regex form(
        R"(([0-9]{1,4})-([0-9]{1,2})-([0-9]{1,2}) +([0-9]{1,2}):([0-9]{1,2}):([0-9]{1,2}))");
    std::smatch m;
    if (!std::regex_match(text, m, form)) return false;
    if (spec) {
        int* fields[] = {&spec->Year, &spec->Month, &spec->Day, &spec->Hour, &spec->Minute, &spec->Second};
        for (size_t i = 0; i < std::size(fields); ++i) *fields[i] = std::stoi(m[i + 1].str());
    }
    return true;
}

int RunSimulate(SimulateOptions& o) {
    o.Spec.BottomTrack = !o.NoBottomTrack;
    if (const std::string problem = SimulationSpecProblem(o.Spec); !problem.empty())
        return UsageError("simulate", problem);
    std::string error;
    if (!WriteSimulatedFile(o.Spec, o.Out, &error)) return Failure("simulate", error);
    return 0;
}

} // namespace

CommandRun AddSimulate(CLI::App& root) {
    CLI::App* app =
        root.add_subcommand("simulate", "Write a file of ensembles made by our simulated instrument.");
    auto o = std::make_shared<SimulateOptions>();
    SimulationSpec& s = o->Spec;
    app->add_option("--out", o->Out, "the file to write; a file that holds data is never overwritten")
        ->required()
        ->check(NonEmptyText())
        ->type_name("FILE");
    AddWholeNumber(*app, "--ensembles", "N", s.Ensembles, "number of ensembles (default 1200)");
    AddWholeNumber(*app, "--cells", "N", s.Cells, "number of cells (default 30)");
    AddDecimalNumber(*app, "--cell-size", "M", s.CellSize, "cell size in metres (default 1)");
    AddDecimalNumber(*app, "--first-bin", "M", s.FirstBin,
                     "distance to the first cell's middle in metres (default 2)");
    app->add_flag("--up", s.UpLooking, "an up-looking instrument");
    app->add_flag("--beam", s.BeamCoordinates, "velocities in beam coordinates");
    app->add_flag("--no-bottom-track", o->NoBottomTrack, "no bottom-track block");
    app->add_flag("--navigation", s.Navigation, "a navigation block");
    app->add_flag("--text", s.TextBlock, "a text block");
    app->add_flag("--flow-meter", s.FlowMeter, "flow-meter firmware with its block");
    app->add_flag("--narrowband", s.Narrowband, "narrowband ensembles");
    AddWholeNumber(*app, "--stray", "BYTES", s.StrayBytes, "bytes of noise between ensembles (default 0)");
    AddWholeNumber(*app, "--damage-every", "N", s.DamageEvery, "corrupt one byte of every N-th ensemble");
    AddWholeNumber(*app, "--text-vary", "BYTES", s.TextVary,
                   "each ensemble's text block 0..BYTES longer: ensembles of varying length");
    AddWholeNumber(*app, "--cells-vary", "N", s.CellsVary, "each ensemble 0..N cells fewer");
    AddWholeNumber(*app, "--first-extra", "BYTES", s.FirstExtraBytes, "the first ensemble BYTES longer");
    AddWholeNumber(*app, "--records-between", "BYTES", s.RecordsBetween,
                   "a checksummed record of another kind of BYTES (6 to 60000) after each ensemble");
    AddWholeNumber(*app, "--seed", "S", s.Seed, "seed of the random values, 0 to 4294967295 (default 1)");
    AddWholeNumber(*app, "--first-number", "E", s.FirstEnsembleNumber,
                   "number of the first ensemble (default 1)");
    AddDecimalNumber(*app, "--interval", "SECONDS", s.IntervalSeconds, "ensemble interval (default 60)");
    app->add_option_function<std::string>(
           "--start", [o](const std::string& text) { ReadStart(text, &o->Spec); },
           "time of the first ensemble (default \"2026-06-14 23:00:00\")")
        ->check(CLI::Validator(
            [](std::string& text) {
                return ReadStart(text, nullptr) ? std::string()
                                                : "\"" + text + "\" is not YYYY-MM-DD HH:MM:SS";
            },
            "", ""))
        ->type_name("\"YYYY-MM-DD HH:MM:SS\"");
    return [o] { return RunSimulate(*o); };
}

} // namespace mvx::cli
