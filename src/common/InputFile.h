#pragma once
// The check every reader of an input file makes before it reads, so that each refusal says why: missing,
// not a regular file (a directory, a named pipe, a device), unreadable or empty. The command line and the
// desktop program's Open command share it.
#include <string>

namespace mvx {

// Why path cannot be read as an input file ("no such file", "not a regular file (a named pipe)",
// "unreadable (Permission denied)", "empty"); empty when it can. The file is opened without blocking,
// so a named pipe is refused rather than waited on.
std::string InputProblem(const std::string& path);

} // namespace mvx
