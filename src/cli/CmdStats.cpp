// marevox-cli stats FILE [--multifile]: the information window's text of a file, loaded headless.
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Messages.h"
#include "model/CoreState.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

namespace mvx::cli {

namespace {

struct StatsOptions {
    std::string Path;
    bool MultiFile = false;
};

int RunStats(const StatsOptions& o) {
    CoreState state;
    const std::string problem = LoadInput(state, o.Path, "", o.MultiFile);
    // The text says what was found, also when the file was not loaded.
    std::fwrite(state.Set.StatsText.data(), 1, state.Set.StatsText.size(), stdout);
    if (!state.Set.StatsText.empty() && state.Set.StatsText.back() != '\n') std::fputs("\r\n", stdout);
    return problem.empty() ? 0 : Failure("stats", problem);
}

} // namespace

CommandRun AddStats(CLI::App& root) {
    CLI::App* app =
        root.add_subcommand("stats", "The information window's statistics of a file after loading it.");
    auto o = std::make_shared<StatsOptions>();
    app->add_option("FILE", o->Path, "an ensemble file")->required()->type_name("");
    app->add_flag("--multifile", o->MultiFile, "load the numbered set of files that FILE starts");
    return [o] { return RunStats(*o); };
}

} // namespace mvx::cli
