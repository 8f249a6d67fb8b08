#pragma once
// The options file: one value per line in a fixed order, without keys.
#include "model/Options.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace mvx {

// Display tables the charts use for names and units; built by Load_Default_Options.
struct DisplayTables {
    std::vector<std::string> ContourTypeNames, ReferenceNames, AncLabels, AncUnits, SeriesLabels, SeriesUnits,
        ProfileLabels, ProfileUnits;
};

// The version string written on the first line ("1.13.0").
std::string OptionsVersion();
void Load_Default_Options(Options& options, DisplayTables* tables = nullptr);
// Writes the whole record; False (and no file changed) when the file cannot be written.
bool Save_Options(const Options& options, const std::string& path);
// Reads the file when its first line carries our version; a truncated or damaged file keeps the values
// read so far and the defaults for the rest. False when the file is missing or of another version.
bool Load_Options(Options& options, const std::string& path);
// The same record on streams, for the file procedures above, the tests and the fuzz target.
void Write_Options(const Options& options, std::ostream& out);
bool Read_Options(Options& options, std::istream& in);
// The standard folder of the options file and recent-files list ($XDG_CONFIG_HOME/marevox or
// ~/.config/marevox), created when missing.
std::string ConfigFolder();
std::string StandardOptionsPath(); // ConfigFolder() + "/MRVXOps.Txt"
std::string StandardRecentPath();  // ConfigFolder() + "/MRVXFile.txt"

} // namespace mvx
