#include "export/ExportRunner.h"

#include "common/OutputFile.h"
#include "dataset/Loader.h"
#include "export/MatExport.h"
#include "export/TextExport.h"

#include <algorithm>

namespace mvx {

namespace {

bool RunWriter(CoreState& state, ExportSelection& selection, OutputFile& file) {
    const bool text = selection.TypeOf(selection.Kind) == ExportFileType::Text;
    switch (selection.Kind) {
    case ExportKind::Contour:
        return text ? Write_Contour_Text(state, selection, file) : Write_Contour_Mat(state, selection, file);
    case ExportKind::Profile:
        return text ? Write_Profile_Text(state, selection, file) : Write_Profile_Mat(state, selection, file);
    case ExportKind::Series:
        return text ? Write_Series_Text(state, selection, file) : Write_Series_Mat(state, selection, file);
    }
    file.Fail("Unknown export kind");
    return false;
}

} // namespace

ExportResult Run_Export(CoreState& state, ExportSelection& selection, const std::string& targetPath) {
    ExportResult result;
    selection.Cancel = false;
    if (!state.Set.FileValid) {
        result.Message = "No valid ensemble file is open";
        selection.ReportProgress(0);
        return result;
    }
    SetDescriptors& set = state.Set;
    const int32_t first = set.FirstEnsNumber, last = set.LastEnsNumber;
    const int32_t firstBin = set.FirstBinShown, lastBin = set.LastBinShown;
    const int32_t profileEns = set.ProfileEnsNumber;

    if (!targetPath.empty()) {
        OutputFile file;
        if (!file.Open(targetPath)) {
            result.Status = file.OverwriteRefused() ? ExportStatus::Refused : ExportStatus::Failed;
            result.Message = file.OverwriteRefused() ? std::string(kOverwriteNotAllowed)
                                                     : "Export failed: " + file.Error();
        } else {
            RunWriter(state, selection, file);
            file.Close();
            if (!file.Ok()) {
                result.Status = ExportStatus::Failed;
                result.Message = "Export failed: " + file.Error();
            } else if (selection.Cancel) {
                result.Status = ExportStatus::Cancelled;
                result.Message = "Export stopped; the file keeps what was written before";
            } else {
                result.Status = ExportStatus::Written;
            }
        }
    }

    // The writers loaded the set ensemble by ensemble: give the user back what they were looking at.
    set.FirstBinShown = firstBin;
    set.LastBinShown = lastBin;
    result.SelectionRestored = Read_File_Selection(state, first, last, false);
    if (result.SelectionRestored) {
        set.ProfileEnsNumber = std::clamp(profileEns, set.FirstEnsNumber, set.LastEnsNumber);
    } else {
        if (!result.Message.empty()) result.Message += "\n";
        result.Message += "The selection " + std::to_string(first) + " - " + std::to_string(last) +
                          " could not be loaded again";
    }
    selection.ReportProgress(0);
    return result;
}

} // namespace mvx
