// Arbitrary bytes as an options file, as a recent-files list, as an "Interval" answer and as a command
// line. Besides not crashing, whatever a reader accepts must be written in a form that reads back the same.
#include "dataset/MonitorTimer.h"
#include "options/OptionsFile.h"
#include "options/RecentFiles.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

std::string WrittenOptions(const mvx::Options& o) {
    std::ostringstream out;
    mvx::Write_Options(o, out);
    return out.str();
}

std::string WrittenList(const mvx::RecentFiles& r) {
    std::ostringstream out;
    r.Write(out);
    return out.str();
}

void CheckOptions(const std::string& bytes) {
    mvx::Options o;
    std::istringstream in(bytes);
    mvx::Read_Options(o, in);
    const std::string first = WrittenOptions(o);
    mvx::Options again;
    std::istringstream back(first);
    if (!mvx::Read_Options(again, back)) std::abort();
    if (WrittenOptions(again) != first) std::abort();
}

void CheckRecentList(const std::string& bytes) {
    mvx::RecentFiles r;
    std::istringstream in(bytes);
    r.Read(in);
    const std::string first = WrittenList(r);
    mvx::RecentFiles again;
    std::istringstream back(first);
    again.Read(back);
    if (WrittenList(again) != first) std::abort();
    r.Add_Recent_File(bytes);
    for (const auto& caption : r.Captions)
        if (caption.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) std::abort();
}

void CheckMonitor(const std::string& bytes) {
    mvx::MonitorTimer m;
    m.SetInterval(bytes);
    if (m.Interval < 1 || m.Interval > 9999) std::abort();
    const auto command = mvx::Parse_Monitor_Command_Line(bytes);
    if (command.Monitor && (command.Interval < 1 || command.Interval > 9999)) std::abort();
    if (command.FileName.size() > bytes.size()) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckOptions(bytes);
    // The version line is what most inputs fail on; a copy behind a good one reaches the records.
    CheckOptions("\"" + mvx::OptionsVersion() + "\"\r\n" + bytes);
    CheckRecentList(bytes);
    CheckMonitor(bytes);
    return 0;
}
