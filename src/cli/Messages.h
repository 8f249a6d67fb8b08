#pragma once
// How marevox-cli says that something went wrong, in one style for every command:
//   marevox-cli COMMAND: what was wrong
// on standard error. A command line that was not understood (an unknown option, a missing or malformed
// value, an empty selection, a value out of range) ends with status 2 and says where the options are
// listed; an input that cannot be used, an output that cannot be written or a file without ensembles
// ends with status 1.
#include <string>

namespace mvx::cli {

inline constexpr int kUsageStatus = 2;
inline constexpr int kFailureStatus = 1;

// Prints the message and the pointer to COMMAND --help; returns kUsageStatus. An empty command stands
// for the program itself.
int UsageError(const std::string& command, const std::string& message);
// Prints the message; returns kFailureStatus.
int Failure(const std::string& command, const std::string& message);

} // namespace mvx::cli
