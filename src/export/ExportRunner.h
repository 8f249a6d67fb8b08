#pragma once
// "Write File" of the export dialog without the window: opens the chosen target (never replacing or
// extending a file that holds data) and runs the writer of the chosen kind and file type. The writer
// reads the file through an export reader of its own, so the set on display, its bin range and its
// profile ensemble are the same afterwards whatever happened. A failed export (disk full, an ensemble
// that could not be read) ends with a message and leaves the target as it was found: removed when the
// export made it, empty when it was empty. A cancelled export keeps what was written. Nothing here ends
// the program.
#include "export/ExportSelection.h"
#include "model/CoreState.h"

#include <string>

namespace mvx {

enum class ExportStatus {
    Written,   // the whole file was written
    Cancelled, // the selection's Cancel flag stopped the writer; the partial file stays
    Refused,   // the target holds data: "Over-Write of File Not Allowed", nothing changed
    Failed,    // the target could not be opened or written, or an ensemble could not be read; the
               // target is as it was found
    NoFile,    // no valid ensemble file is open, or no target was chosen: nothing done
};

struct ExportResult {
    ExportStatus Status = ExportStatus::NoFile;
    std::string Message; // for a message box; empty when the file was written
    bool Ok() const { return Status == ExportStatus::Written; }
};

// Runs the export that the selection's Kind and that panel's file type name into targetPath. An empty
// targetPath (the save dialog was cancelled) writes nothing.
ExportResult Run_Export(const CoreState& state, ExportSelection& selection, const std::string& targetPath);

} // namespace mvx
