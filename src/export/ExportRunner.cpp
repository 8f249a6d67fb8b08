#include "export/ExportRunner.h"

#include "common/OutputFile.h"
#include "export/ExportReader.h"
#include "export/MatExport.h"
#include "export/TextExport.h"

namespace mvx {

namespace {

bool RunWriter(ExportReader& reader, ExportSelection& selection, OutputFile& file) {
    const bool text = selection.TypeOf(selection.Kind) == ExportFileType::Text;
    switch (selection.Kind) {
    case ExportKind::Contour:
        return text ? Write_Contour_Text(reader, selection, file)
                    : Write_Contour_Mat(reader, selection, file);
    case ExportKind::Profile:
        return text ? Write_Profile_Text(reader, selection, file)
                    : Write_Profile_Mat(reader, selection, file);
    case ExportKind::Series:
        return text ? Write_Series_Text(reader, selection, file) : Write_Series_Mat(reader, selection, file);
    }
    file.Fail("Unknown export kind");
    return false;
}

} // namespace

ExportResult Run_Export(const CoreState& state, ExportSelection& selection, const std::string& targetPath) {
    ExportResult result;
    selection.Cancel = false;
    if (!state.Set.FileValid) {
        result.Message = "No valid ensemble file is open";
        selection.ReportProgress(0);
        return result;
    }

    if (!targetPath.empty()) {
        ExportReader reader(state);
        OutputFile file;
        if (!file.Open(targetPath)) {
            result.Status = file.OverwriteRefused() ? ExportStatus::Refused : ExportStatus::Failed;
            result.Message = file.OverwriteRefused() ? std::string(kOverwriteNotAllowed)
                                                     : "Export failed: " + file.Error();
        } else {
            RunWriter(reader, selection, file);
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

    selection.ReportProgress(0);
    return result;
}

} // namespace mvx
