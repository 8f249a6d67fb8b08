#pragma once
// The length of a file on disk.
#include <cstdint>
#include <string>

namespace mvx {

// Bytes in the regular file at path, or -1 when there is none (missing, unreadable, or not a file).
int64_t File_Length(const std::string& path);

} // namespace mvx
