#pragma once
// The recently opened files: eight menu items, most recent first, kept in the list file "MRVXFile.txt"
// as one quoted path per line.
#include <array>
#include <iosfwd>
#include <string>

namespace mvx {

struct RecentFiles {
    static constexpr int kItems = 8;

    // Item k (1..8) is Captions[k - 1]; an empty caption is a hidden item. Checked marks the file opened
    // last in this run.
    std::array<std::string, kItems> Captions{};
    std::array<bool, kItems> Checked{};

    // The caption of item 1..8; empty for a hidden item or a number outside 1..8.
    const std::string& Caption(int item) const;
    // Empties and unchecks every item.
    void Clear();

    // Puts path at item 1 (checked), the others move down one place unchecked and the eighth falls off;
    // a path already in the list moves to the top instead of appearing twice. An empty path, or one that
    // cannot be kept on one line of the list file (it holds a line break or a zero byte), changes nothing.
    // The caller saves the list afterwards (Save_Old_Files).
    void Add_Recent_File(const std::string& path);

    // Reads a list file: item k from line k (k = 1..8), each a quoted path; an empty, unquoted or
    // overlong line leaves its item hidden. Every item is unchecked. True when the list was read or
    // there is none yet (no file, or one of 2 bytes or fewer: the list stays empty); false when the file
    // exists but cannot be read.
    bool Load_Old_Files(const std::string& path);
    void Read(std::istream& in);

    // Rewrites the list file with every non-empty caption, in item order, quoted, one per line (CR LF).
    // False (and the old file untouched) when it cannot be written.
    bool Save_Old_Files(const std::string& path) const;
    void Write(std::ostream& out) const;
};

} // namespace mvx
