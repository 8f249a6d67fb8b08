#pragma once
// Multi-file sets: numbered files (RUN.000, RUN.001, ...) and acquisition-program sets
// (STEM000001.ENX, STEM000002.ENX, ...), read as one byte stream.
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

// Last file number of a numbered set starting at path (0 = no set); setSize gets the total length.
int32_t Test_For_Multi_File(const std::string& path, bool multiFileChecked, int64_t& setSize);
// The same for the acquisition-program naming scheme.
int32_t Test_For_QUARNMultiFile(const std::string& path, bool multiFileChecked, int64_t& setSize);

// The member files of the set from path's own number to the last number (just path for a single file).
std::vector<std::string> SetMemberPaths(const std::string& path, int32_t multiFileCount,
                                        int32_t quarnFileCount);

} // namespace mvx
