#pragma once
// Helpers shared by the tests: where the real files are, scratch folders, whole-file reads.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace mvx::test {

// Path of a real instrument file in the shared data folder.
std::string DataFile(const std::string& name);
// True when the shared data folder holds that file (tests skip themselves otherwise).
bool HaveDataFile(const std::string& name);
// The one line a test skipped for want of real instrument files gives: it names the folder looked in.
std::string MissingDataLine();

// Ends the running test as skipped when a real instrument file is not there (a fresh clone has none).
#define SKIP_WITHOUT_DATA_FILE(name)                                                                         \
    if (!::mvx::test::HaveDataFile(name)) GTEST_SKIP() << ::mvx::test::MissingDataLine()
// A fresh empty folder below the system temp folder, removed at process exit.
std::filesystem::path ScratchDir();
std::vector<uint8_t> ReadAll(const std::filesystem::path& path);
void WriteAll(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::string ReadText(const std::filesystem::path& path);
// Runs the command-line program with arguments; returns its exit status and what it printed.
int RunCli(const std::string& args, std::string* out, std::string* err = nullptr);

} // namespace mvx::test
