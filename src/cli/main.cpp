// marevox-cli: the core of the program, headless, for scripts and tests.
#include "cli/Commands.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace mvx::cli {
// Each command lives in its own Cmd*.cpp file.
} // namespace mvx::cli

using mvx::cli::Command;

static const Command kCommands[] = {
    {"details", "details FILE   the file-details report and the ensemble statistics", mvx::cli::RunDetails},
    {"dump", "dump FILE [--first E] [--last E] [--raw] [--options FILE]   every ensemble as a JSON line",
     mvx::cli::RunDump},
    {"export", "export contour|profile|series FILE --out PATH [options]   write an export file",
     mvx::cli::RunExport},
    {"help", "help", nullptr},
    {"render",
     "render FILE --out PNG [--type CODE] [--first E --last E] [--size WxH]   picture of the sub-set charts",
     mvx::cli::RunRender},
    {"simulate", "simulate --out FILE [options]   write a file of simulated ensembles",
     mvx::cli::RunSimulate},
    {"stats", "stats FILE [--multifile]   the file statistics after loading the whole set",
     mvx::cli::RunStats},
    {"view", "view FILE --ensemble E --bin B   the data viewer's text of one ensemble", mvx::cli::RunView},
};

static void PrintUsage() {
    std::fprintf(stderr, "usage: marevox-cli COMMAND [ARGS]\ncommands:\n");
    for (const auto& c : kCommands) std::fprintf(stderr, "  %s\n", c.usage);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage();
        return 2;
    }
    for (const auto& c : kCommands) {
        if (std::strcmp(argv[1], c.name) == 0 && c.run) return c.run(argc - 1, argv + 1);
    }
    if (std::strcmp(argv[1], "help") != 0) std::fprintf(stderr, "marevox-cli: unknown command %s\n", argv[1]);
    PrintUsage();
    return 2;
}
