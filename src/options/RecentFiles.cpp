#include "options/RecentFiles.h"

#include "options/TextRecords.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace mvx {

namespace {

// Room for the longest path the system allows, its quotes and some blanks.
constexpr std::size_t kMaxListLine = 8192;

bool FitsOneLine(const std::string& path) {
    return path.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

} // namespace

const std::string& RecentFiles::Caption(int item) const {
    static const std::string empty;
    if (item < 1 || item > kItems) return empty;
    return Captions[static_cast<std::size_t>(item - 1)];
}

void RecentFiles::Clear() {
    for (auto& c : Captions) c.clear();
    Checked.fill(false);
}

void RecentFiles::Add_Recent_File(const std::string& path) {
    if (path.empty() || !FitsOneLine(path)) return;
    // Remove every earlier entry of the path; the items below close up and the last ones become empty.
    std::size_t kept = 0;
    std::array<std::string, kItems> rest{};
    for (auto& caption : Captions)
        if (caption != path) rest[kept++] = std::move(caption);
    for (std::size_t k = kItems - 1; k >= 1; --k) Captions[k] = std::move(rest[k - 1]);
    Captions[0] = path;
    Checked.fill(false);
    Checked[0] = true;
}

void RecentFiles::Read(std::istream& in) {
    Clear();
    LineReader lines(in, kMaxListLine);
    std::string line;
    bool overlong = false;
    for (auto& caption : Captions) {
        if (!lines.Next(line, overlong)) break;
        if (overlong) continue;
        const auto text = ParseQuotedText(line);
        if (text && FitsOneLine(*text)) caption = *text;
    }
}

bool RecentFiles::Load_Old_Files(const std::string& path) {
    Clear();
    try {
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) return !ec;
        if (!std::filesystem::is_regular_file(path, ec)) return false;
        const auto size = std::filesystem::file_size(path, ec);
        if (ec) return false;
        if (size <= 2) return true;
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        Read(in);
        return true;
    } catch (...) {
        Clear();
        return false;
    }
}

void RecentFiles::Write(std::ostream& out) const {
    for (const auto& caption : Captions)
        if (!caption.empty() && FitsOneLine(caption)) out << QuoteText(caption) << kRecordEnd;
}

bool RecentFiles::Save_Old_Files(const std::string& path) const {
    try {
        std::ostringstream text;
        Write(text);
        return ReplaceFileText(path, text.str());
    } catch (...) {
        return false;
    }
}

} // namespace mvx
