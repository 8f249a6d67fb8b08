#pragma once
// The file formats an export can write, in the order the export dialog offers them: each panel's
// "File Type" buttons, the save dialog's extension and filter, and whether the save dialog starts from
// the name chosen last time. A new format is one more entry here (and its writers in ExportRunner).
#include "export/ExportSelection.h"

#include <array>

namespace mvx {

struct ExportFormat {
    ExportFileType Type;
    const char* Caption;    // the panel's option button
    const char* DefaultExt; // without the dot
    const char* Filter;     // "Description (*.ext)|*.ext|All Files (*.*)|*.*"
    bool KeepFileName;      // the save dialog starts from the name chosen last time
};

inline constexpr std::array<ExportFormat, 3> kExportFormats{{
    {ExportFileType::Text, "TXT", "txt", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*", false},
    {ExportFileType::Mat, "MAT", "mat", "Matlab files (*.mat)|*.mat|All Files (*.*)|*.*", true},
    {ExportFileType::NetCdf, "NC", "nc", "NetCDF files (*.nc)|*.nc|All Files (*.*)|*.*", false},
}};

// The entry of a file type; the first entry for a type the list does not hold.
inline const ExportFormat& Export_Format(ExportFileType type) {
    for (const ExportFormat& f : kExportFormats)
        if (f.Type == type) return f;
    return kExportFormats[0];
}

} // namespace mvx
