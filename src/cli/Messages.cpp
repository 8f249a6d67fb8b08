#include "cli/Messages.h"

#include <cstdio>

namespace mvx::cli {

namespace {
std::string Program(const std::string& command) {
    return command.empty() ? std::string("marevox-cli") : "marevox-cli " + command;
}
} // namespace

int UsageError(const std::string& command, const std::string& message) {
    std::fprintf(stderr, "%s: %s\nRun '%s --help' for the options.\n", Program(command).c_str(),
                 message.c_str(), Program(command).c_str());
    return kUsageStatus;
}

int Failure(const std::string& command, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", Program(command).c_str(), message.c_str());
    return kFailureStatus;
}

} // namespace mvx::cli
