#include "export/ExportRunner.h"

#include "common/OutputFile.h"
#include "export/ExportFormats.h"
#include "export/ExportReader.h"
#include "export/MatExport.h"
#include "export/NetCdfExport.h"
#include "export/TextExport.h"

#include <iterator>

namespace mvx {

namespace {

bool RunWriter(ExportReader& reader, ExportSelection& selection, OutputFile& file) {
    using Writer = bool (*)(ExportReader&, ExportSelection&, OutputFile&);
    // By kind (contour, profile, series) and file type (text, MAT, NetCDF).
    static const Writer kWriters[3][3] = {
        {Write_Contour_Text, Write_Contour_Mat, Write_Contour_NetCdf},
        {Write_Profile_Text, Write_Profile_Mat, Write_Profile_NetCdf},
        {Write_Series_Text, Write_Series_Mat, Write_Series_NetCdf},
    };
    static_assert(std::size(kWriters[0]) == kExportFormats.size(), "a writer for every format");
    const auto kind = static_cast<size_t>(selection.Kind);
    const auto type = static_cast<size_t>(selection.TypeOf(selection.Kind));
    if (kind < 3 && type < 3) return kWriters[kind][type](reader, selection, file);
    file.Fail("Unknown export kind or file type");
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
