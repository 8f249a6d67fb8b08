#include "export/NetCdfParts.h"

#include "common/Orientation.h"

#include <new>
#include <stdexcept>

namespace mvx::netcdf {

using namespace exportdata;

namespace {

// The coordinate frame of the recorded velocities (bits 3-4 of the coordinate transformation byte).
std::string CoordinateSystem(const InstrumentSetup& s) {
    if (s.FlowMeterFirmware) return "two-beam horizontal (flow-meter firmware)";
    static const char* const kFrames[4] = {"beam, transformed to earth when read", "instrument", "ship",
                                           "earth"};
    return kFrames[(s.CoordTransform >> 3) & 3];
}

std::string VelocityReference(int32_t reference) {
    static const char* const kNames[6] = {"None",     "Bottom Track", "Navigation (QUARN)",
                                          "GPS(GGA)", "GPS(VTG)",     "Water Mass (BK <>1)"};
    return reference >= 0 && reference < 6 ? kNames[reference] : "Unknown";
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void DefineGlobals(NetCdfFile& nc, const Source& source, const std::string& title) {
    const InstrumentSetup& s = source.Setup;
    const int32_t structure = source.Set.DataStructure;
    std::string frequency = FrequencyText(s.SystemConfig, structure);
    if (!frequency.empty() && frequency[0] == ' ') frequency.erase(0, 1);
    const int g = NetCdfFile::kGlobal;
    nc.Text(g, "Conventions", "CF-1.8");
    nc.Text(g, "title", title + " from " + FileNameOf(source.Set.FileName));
    nc.Text(g, "source", "acoustic Doppler current profiler, " + SystemName(structure) + " " + frequency);
    nc.Text(g, "history", std::string("written by Marevox ") + MARVOX_VERSION);
    nc.Text(g, "source_file", source.Set.FileName);
    nc.Text(g, "system", SystemName(structure));
    nc.Text(g, "frequency", frequency);
    nc.Int(g, "pings_per_ensemble", s.PingsPerEnsemble);
    nc.Double(g, "seconds_per_ping", s.TimePerPing[0] * 60.0 + s.TimePerPing[1] + s.TimePerPing[2] / 100.0);
    nc.Double(g, "ensemble_interval_seconds", source.Set.EnsembleInterval);
    nc.Double(g, "first_bin_range_m", s.Bin1Distance);
    nc.Double(g, "bin_size_m", s.CellLength);
    nc.Text(g, "coordinate_system", CoordinateSystem(s));
    nc.Text(g, "velocity_reference", VelocityReference(source.Opts.VelocityReference));
}

// The dimension and coordinate ids of a file.
struct Layout {
    int Time = -1, Range = -1, Beam = -1; // no range without bins, no beam unless a column asks
    int TimeVar = -1, EnsembleVar = -1, RangeVar = -1, BinVar = -1, BeamVar = -1;
};

Layout DefineCoordinates(NetCdfFile& nc, const Source& source, const Rows& rows, const BinColumns& bins,
                         const CfTimeAxis& axis, bool withBeams) {
    Layout l;
    // No ensemble makes time the file's unlimited dimension, with no record yet; no bin leaves out the
    // range dimension (a second unlimited one cannot be).
    l.Time = nc.Dimension("time", rows.Size());
    if (bins.Size() > 0) l.Range = nc.Dimension("range", bins.Size());
    if (withBeams) l.Beam = nc.Dimension("beam", 4);

    l.TimeVar = nc.Variable("time", NcType::Double, {l.Time});
    nc.Text(l.TimeVar, "standard_name", "time");
    nc.Text(l.TimeVar, "long_name", "time of the ensemble");
    nc.Text(l.TimeVar, "units", axis.Units);
    nc.Text(l.TimeVar, "calendar", "standard");
    nc.Text(l.TimeVar, "axis", "T");
    nc.Text(l.TimeVar, "comment",
            axis.YearKnown
                ? "The ensembles' two-digit years are read as 1981-1999 (81-99) and 2000-2079 (00-79)."
                : "The ensembles carry no year: the year 1904 stands in for it (one more after each "
                  "New Year the ensembles cross). Month, day and time of day are as recorded; put "
                  "the deployment's year into the units to date them.");
    l.EnsembleVar = nc.Variable("ensemble", NcType::Int, {l.Time});
    nc.Text(l.EnsembleVar, "long_name", "ensemble number");

    if (l.Range >= 0) {
        l.RangeVar = nc.Variable("range", NcType::Double, {l.Range});
        nc.Text(l.RangeVar, "long_name", "distance from the transducer to the middle of the bin");
        nc.Text(l.RangeVar, "units", "m");
        nc.Text(l.RangeVar, "positive", Mostly_Up_Looking(source.Set.OrientationBalance) ? "up" : "down");
        nc.Text(l.RangeVar, "axis", "Z");
        l.BinVar = nc.Variable("bin", NcType::Short, {l.Range});
        nc.Text(l.BinVar, "long_name", "bin number, counted from the transducer");
    }
    if (l.Beam >= 0) {
        l.BeamVar = nc.Variable("beam", NcType::Short, {l.Beam});
        nc.Text(l.BeamVar, "long_name", "beam number");
    }
    return l;
}

void PutCoordinates(NetCdfFile& nc, const Layout& layout, const Source& source, const Rows& rows,
                    const BinColumns& bins, const CfTimeAxis& axis) {
    nc.Put(layout.TimeVar, axis.Seconds);
    nc.Put(layout.EnsembleVar, rows.Numbers);
    if (layout.Range >= 0) {
        std::vector<double> ranges;
        for (int m : bins.Numbers)
            ranges.push_back(source.Setup.Bin1Distance + (m - 1) * source.Setup.CellLength);
        nc.Put(layout.RangeVar, ranges);
        nc.Put(layout.BinVar, std::vector<int32_t>(bins.Numbers.begin(), bins.Numbers.end()));
    }
    if (layout.Beam >= 0) nc.Put(layout.BeamVar, std::vector<int32_t>{1, 2, 3, 4});
}

template <typename T> void DefineColumn(NetCdfFile& nc, const Layout& layout, Column<T>& column) {
    if (column.PerBin && layout.Range < 0) return;
    if (column.PerBin || column.PerBeam)
        column.Var = nc.Variable(column.Info.Name, column.Info.Type,
                                 {layout.Time, column.PerBin ? layout.Range : layout.Beam});
    else
        column.Var = nc.Variable(column.Info.Name, column.Info.Type, {layout.Time});
    if (column.Var >= 0) DescribeVariable(nc, column.Var, column.Info);
}

template <typename T> void PutColumn(NetCdfFile& nc, Column<T>& column) {
    if (column.Var < 0) return;
    nc.Put(column.Var, column.Values);
    // Its values are in the library's copy now.
    std::vector<T>().swap(column.Values);
}

// Runs work with a failure to get memory caught: the file fails with a message instead of the program
// ending.
template <typename Work> bool Holding(OutputFile& file, Work&& work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    file.Fail("Not enough memory to hold the values of the export");
    return false;
}

} // namespace

void Rows::Store(const EnsembleSet& data) {
    Numbers.push_back(data.EnsNumbers[0]);
    EnsembleTimeBytes t{};
    for (int i = 0; i < 7; ++i) t[static_cast<size_t>(i)] = data.EnsTimes(i, 0);
    Times.push_back(t);
}

IntColumn BinColumn(int k, bool earth, const BinColumns& bins) {
    IntColumn column;
    column.Info = BinTypeVariable(k, earth);
    column.PerBin = true;
    column.Width = bins.Size();
    column.Append = [k, indices = bins.Indices](const EnsembleSet& d, std::vector<int32_t>& out) {
        for (int index : indices) out.push_back(BinValue(d, k, index));
    };
    return column;
}

bool Source::EarthVelocities() const {
    const int frame = (Setup.CoordTransform >> 3) & 3;
    return !Setup.FlowMeterFirmware && (frame == 0 || frame == 3);
}

void Store_Row(const EnsembleSet& data, Rows& rows, std::vector<IntColumn>& ints,
               std::vector<DoubleColumn>& doubles) {
    rows.Store(data);
    for (IntColumn& c : ints) c.Append(data, c.Values);
    for (DoubleColumn& c : doubles) c.Append(data, c.Values);
}

bool Gather_Range(ExportReader& reader, ExportSelection& selection, const EnsembleRange& range,
                  OutputFile& file, Rows& rows, std::vector<IntColumn>& ints,
                  std::vector<DoubleColumn>& doubles) {
    const int64_t n = range.Count();
    return Holding(file, [&] {
        rows.Numbers.reserve(static_cast<size_t>(n));
        rows.Times.reserve(static_cast<size_t>(n));
        for (IntColumn& c : ints) c.Values.reserve(static_cast<size_t>(n) * c.Width);
        for (DoubleColumn& c : doubles) c.Values.reserve(static_cast<size_t>(n) * c.Width);
        for (int64_t r = 0; r < n && !selection.Cancel; ++r) {
            const int32_t e = range.At(r);
            if (!reader.Load(e, file)) return false;
            Store_Row(reader.Data(), rows, ints, doubles);
            selection.ReportProgress(EnsembleProgress(range, e));
        }
        return true;
    });
}

bool Write_File(OutputFile& file, const Source& source, const std::string& title, const Rows& rows,
                const BinColumns& bins, std::vector<IntColumn>& ints, std::vector<DoubleColumn>& doubles) {
    return Holding(file, [&] {
        bool withBeams = false;
        for (const IntColumn& c : ints) withBeams = withBeams || c.PerBeam;
        const CfTimeAxis axis = Make_Time_Axis(rows.Times);
        NetCdfFile nc;
        DefineGlobals(nc, source, title);
        const Layout layout = DefineCoordinates(nc, source, rows, bins, axis, withBeams);
        for (IntColumn& c : ints) DefineColumn(nc, layout, c);
        for (DoubleColumn& c : doubles) DefineColumn(nc, layout, c);
        nc.EndDefinitions();
        PutCoordinates(nc, layout, source, rows, bins, axis);
        for (IntColumn& c : ints) PutColumn(nc, c);
        for (DoubleColumn& c : doubles) PutColumn(nc, c);
        return nc.WriteTo(file);
    });
}

} // namespace mvx::netcdf
