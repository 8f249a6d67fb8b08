// The series NetCDF file: ancillary values, the chosen per-bin data types, bottom-track, water-mass and
// navigation velocities, positions and bottom-track ranges, each a variable on the time dimension.
#include "export/NetCdfExport.h"
#include "export/NetCdfParts.h"

#include <array>

namespace mvx {

using namespace netcdf;
using exportdata::kBinaryAngleDegrees;
using exportdata::MakeBinColumns;

namespace {

IntColumn Scalar(NcVariableInfo info, std::function<int32_t(const EnsembleSet&)> value) {
    IntColumn c;
    c.Info = std::move(info);
    c.Append = [value = std::move(value)](const EnsembleSet& d, std::vector<int32_t>& out) {
        out.push_back(value(d));
    };
    return c;
}

// Latitudes and longitudes in degrees from their binary angles, as the MAT file holds them.
DoubleColumn Position(const std::string& name, const std::string& caption, bool latitude,
                      const SlotArray<int32_t> EnsembleSet::*angle) {
    DoubleColumn c;
    c.Info = {name,
              caption,
              latitude ? "degrees_north" : "degrees_east",
              1,
              latitude ? "latitude" : "longitude",
              NcType::Double,
              ""};
    c.Append = [angle](const EnsembleSet& d, std::vector<double>& out) {
        out.push_back((d.*angle)[0] * kBinaryAngleDegrees);
    };
    return c;
}

void AddPositions(bool strandex, std::vector<DoubleColumn>& out) {
    if (strandex) {
        out.push_back(
            Position("latitude", "latitude from the bottom-track block", true, &EnsembleSet::LatData));
        out.push_back(
            Position("longitude", "longitude from the bottom-track block", false, &EnsembleSet::LonData));
        return;
    }
    out.push_back(Position("first_fix_latitude", "latitude of the first navigation fix", true,
                           &EnsembleSet::NavFirstLat));
    out.push_back(Position("first_fix_longitude", "longitude of the first navigation fix", false,
                           &EnsembleSet::NavFirstLon));
    out.push_back(
        Position("last_fix_latitude", "latitude of the last navigation fix", true, &EnsembleSet::NavLastLat));
    out.push_back(Position("last_fix_longitude", "longitude of the last navigation fix", false,
                           &EnsembleSet::NavLastLon));
}

IntColumn BottomTrackRange() {
    IntColumn c;
    c.Info = {"bt_range", "bottom-track range along the beam", "m", 0.01, "", NcType::Int, ""};
    c.PerBeam = true;
    c.Width = 4;
    c.Append = [](const EnsembleSet& d, std::vector<int32_t>& out) {
        for (int b = 0; b < 4; ++b) out.push_back(d.BTRangeData(b, 0));
    };
    return c;
}

// The column of a series box 20-35.
IntColumn ReferenceColumn(int box, bool strandex) {
    const NcVariableInfo info = ReferenceVariable(box, strandex);
    if (box < kSeriesWaterMass)
        return Scalar(info,
                      [c = box - kSeriesBottomTrack](const EnsembleSet& d) { return d.BTVelData(c, 0); });
    if (box < kSeriesNavEast)
        return Scalar(info,
                      [c = box - kSeriesWaterMass](const EnsembleSet& d) { return d.RefVelData(c, 0); });
    static const int kNavComponents[4] = {0, 1, 4, 5};
    const int c = kNavComponents[box - kSeriesNavEast];
    if (strandex) return Scalar(info, [c](const EnsembleSet& d) { return d.RefVelWork(c, 0); });
    return Scalar(info, [c](const EnsembleSet& d) { return d.NavData(c, 0); });
}

} // namespace

bool Write_Series_NetCdf(ExportReader& reader, ExportSelection& selection, OutputFile& file) {
    const EnsembleRange range = Clamp_Ensemble_Entries(selection.SeriesEnsembles, reader.Set());
    if (!reader.Load(range.First, file)) return false;
    const Source source(reader);
    const BinColumns bins = MakeBinColumns(reader, selection.BinsOf(ExportKind::Series));
    const bool strandex = selection.Strandex();

    std::vector<IntColumn> ints;
    std::vector<DoubleColumn> doubles;
    for (int k = 0; k < kAncBoxes; ++k)
        if (selection.AncTypes[static_cast<size_t>(k)])
            ints.push_back(Scalar(AncVariable(k), [k](const EnsembleSet& d) {
                return exportdata::AncExportValue(k, d.AncData(k, 0));
            }));
    for (int box = 0; box < kSeriesBoxes; ++box) {
        if (!selection.SeriesTypes[static_cast<size_t>(box)]) continue;
        if (box < kExportDataTypes)
            ints.push_back(BinColumn(box, source.EarthVelocities(), bins));
        else if (box <= kSeriesNavDir)
            ints.push_back(ReferenceColumn(box, strandex));
        else if (box == kSeriesLatLon)
            AddPositions(strandex, doubles);
        else if (box == kSeriesBTDepth)
            ints.push_back(BottomTrackRange());
        // The MicroCAT text and the Strandex switch have no variable of their own.
    }
    Rows rows;
    if (!Gather_Range(reader, selection, range, file, rows, ints, doubles)) return false;
    const bool written = Write_File(file, source, "Series data", rows, bins, ints, doubles);
    selection.ReportProgress(100);
    return written;
}

} // namespace mvx
