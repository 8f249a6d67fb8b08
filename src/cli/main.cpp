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
    {"stats", "stats FILE [--multifile]", mvx::cli::RunStats},
    {"dump", "dump FILE [--first E] [--last E] [--raw] [--options FILE]   every ensemble as a JSON line",
     mvx::cli::RunDump},
    {"help", "help", nullptr},
    {"simulate", "simulate --out FILE [options]   write a file of simulated ensembles",
     mvx::cli::RunSimulate},
    {"render",
     "render FILE --out PNG [--type CODE] [--first E --last E] [--size WxH] [--multifile] [--options FILE]",
     mvx::cli::RunRender},
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
