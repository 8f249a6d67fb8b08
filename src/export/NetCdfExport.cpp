// The contour and profile NetCDF files.
#include "export/NetCdfExport.h"

#include "export/NetCdfParts.h"

#include <algorithm>

namespace mvx {

using namespace netcdf;
using exportdata::MakeBinColumns;

bool Write_Contour_NetCdf(ExportReader& reader, ExportSelection& selection, OutputFile& file) {
    const EnsembleRange range = Clamp_Ensemble_Entries(selection.ContourEnsembles, reader.Set());
    const int k = std::clamp(selection.ContourType, 0, kExportDataTypes - 1);
    if (!reader.Load(range.First, file)) return false;
    const Source source(reader);
    const BinColumns bins = MakeBinColumns(reader, selection.BinsOf(ExportKind::Contour));
    Rows rows;
    std::vector<IntColumn> ints{BinColumn(k, source.EarthVelocities(), bins)};
    std::vector<DoubleColumn> doubles;
    if (!Gather_Range(reader, selection, range, file, rows, ints, doubles)) return false;
    const bool written = Write_File(file, source, "Contour data", rows, bins, ints, doubles);
    selection.ReportProgress(100);
    return written;
}

bool Write_Profile_NetCdf(ExportReader& reader, ExportSelection& selection, OutputFile& file) {
    const int32_t e = Clamp_Ensemble_Entry(selection.ProfileEnsemble, reader.Set());
    if (!reader.Load(e, file)) return false;
    const Source source(reader);
    const BinColumns bins = MakeBinColumns(reader, selection.BinsOf(ExportKind::Profile));
    std::vector<IntColumn> ints;
    for (int k = 0; k < kExportDataTypes; ++k)
        if (selection.ProfileTypes[static_cast<size_t>(k)])
            ints.push_back(BinColumn(k, source.EarthVelocities(), bins));
    std::vector<DoubleColumn> doubles;
    Rows rows;
    Store_Row(reader.Data(), rows, ints, doubles);
    const bool written =
        Write_File(file, source, "Profile data of ensemble " + std::to_string(e), rows, bins, ints, doubles);
    selection.ReportProgress(100);
    return written;
}

} // namespace mvx
