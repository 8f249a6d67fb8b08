#pragma once
// One function per marevox-cli command; argv[0] is the command word. Each returns the exit status.
namespace mvx::cli {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(int argc, char** argv);
};

int RunDetails(int argc, char** argv);
int RunDump(int argc, char** argv);
int RunExport(int argc, char** argv);
int RunRender(int argc, char** argv);
int RunSimulate(int argc, char** argv);
int RunStats(int argc, char** argv);
int RunView(int argc, char** argv);

} // namespace mvx::cli
