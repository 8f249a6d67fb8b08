// marevox-cli details FILE: the file-details report, then the six statistics of the ensemble scan.
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Messages.h"
#include "dataset/DecodeState.h"
#include "ensemble/FileDetails.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

namespace mvx::cli {

namespace {

int RunDetails(const std::string& path) {
    if (const std::string problem = InputProblem(path); !problem.empty())
        return Failure("details", path + ": " + problem);
    bool found = false;
    // The bottom-track set-up lines show what a decode of the file's first ensemble leaves behind.
    const InstrumentSetup setup = First_Ensemble_Setup(path, found);
    FileDetailsResult result;
    if (!Show_File_Details(path, setup, result)) {
        std::printf("%s\n", result.Text.c_str());
        return Failure("details", path + ": unreadable");
    }
    std::fwrite(result.Text.data(), 1, result.Text.size(), stdout);
    const EnsembleStatistics& s = result.Stats;
    std::printf("\r\nFirst %d\r\nLast %d\r\nMissing %d\r\nRepeats %d\r\nResets %d\r\nWrong Size %d\r\n",
                s.First, s.Last, s.Missing, s.Repeats, s.Resets, s.WrongSize);
    return found ? 0 : Failure("details", path + ": no ensemble found");
}

} // namespace

CommandRun AddDetails(CLI::App& root) {
    CLI::App* app =
        root.add_subcommand("details", "The file-details report and the ensemble statistics scan.");
    auto path = std::make_shared<std::string>();
    app->add_option("FILE", *path, "an ensemble file")->required()->type_name("");
    return [path] { return RunDetails(*path); };
}

} // namespace mvx::cli
