#pragma once
// marevox-cli's commands. Each adds its subcommand, with its options and their help, to the program's
// parser and returns what runs it once the command line has been read; the run returns the exit status
// (see Messages.h). What a command prints on standard output is checked for write errors by main.
#include <functional>

namespace CLI {
class App;
}

namespace mvx::cli {

using CommandRun = std::function<int()>;

CommandRun AddDetails(CLI::App& root);
CommandRun AddDump(CLI::App& root);
CommandRun AddExport(CLI::App& root);
CommandRun AddRender(CLI::App& root);
CommandRun AddReport(CLI::App& root);
CommandRun AddSimulate(CLI::App& root);
CommandRun AddStats(CLI::App& root);
CommandRun AddTrend(CLI::App& root);
CommandRun AddView(CLI::App& root);

} // namespace mvx::cli
