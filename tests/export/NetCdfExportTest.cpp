// The NetCDF exports read back through the NetCDF library: the raw values of the MAT export of the
// same selection, the time and range coordinates, and the attributes a CF reader decodes.
#include "ExportFixture.h"
#include "NetCdfReadBack.h"

#include "export/ExportRunner.h"
#include "export/MatExport.h"
#include "export/NetCdfVariables.h"
#include "simulator/Simulator.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace mvx;
using namespace mvx::test;
namespace fs = std::filesystem;

namespace {

fs::path Export(const CoreState& state, ExportSelection sel, ExportFileType type) {
    sel.FileType[static_cast<size_t>(sel.Kind)] = type;
    const fs::path out = ScratchDir() / "out";
    const ExportResult r = Run_Export(state, sel, out.string());
    EXPECT_EQ(r.Status, ExportStatus::Written) << r.Message;
    return out;
}

fs::path Simulated(const SimulationSpec& spec) {
    const fs::path path = ScratchDir() / "SIM.000";
    std::string error;
    EXPECT_TRUE(WriteSimulatedFile(spec, path.string(), &error)) << error;
    return path;
}

#if MARVOX_HAVE_MATIO

// The NetCDF variable (and, for bt_range, the beam column) holding each MAT variable's values.
std::map<std::string, std::pair<std::string, int>> Counterparts(const std::string& contourVar) {
    std::map<std::string, std::pair<std::string, int>> m;
    std::istringstream named(
        "ConEnsembles ensemble SerEnsembles ensemble ZonProfileEns ensemble ConBins bin SerBins bin "
        "ZonProfileBins bin AnP100thDeg pitch AnR100thDeg roll AnH100thDeg heading AnT100thDeg temperature "
        "AnDepthmm depth AnOrienUP orientation AnBIT bit AnBatt battery AnSXLatDeg latitude "
        "AnSXLonDeg longitude AnFLatDeg first_fix_latitude AnFLonDeg first_fix_longitude "
        "AnLLatDeg last_fix_latitude AnLLonDeg last_fix_longitude AnNVEmmpersec nav_velocity_east "
        "AnNVNmmpersec nav_velocity_north AnNVMagmmpersec nav_velocity_magnitude "
        "AnNVDir10thDeg nav_velocity_direction");
    for (std::string mat, nc; named >> mat >> nc;) m[mat] = {nc, -1};
    const char* const mat[6] = {"Emmpersec",  "Nmmpersec",   "Vmmpersec",
                                "Ermmpersec", "Magmmpersec", "Dir10thDeg"};
    const char* const nc[6] = {"east", "north", "vertical", "error", "magnitude", "direction"};
    for (int c = 0; c < 6; ++c) {
        m[std::string("AnBT") + mat[c]] = {std::string("bt_velocity_") + nc[c], -1};
        m[std::string("AnWM") + mat[c]] = {std::string("wm_velocity_") + nc[c], -1};
    }
    for (int b = 0; b < 4; ++b) m["AnBTDepthcmB" + std::to_string(b + 1)] = {"bt_range", b};
    for (int k = 0; k < kExportDataTypes; ++k)
        m[SeriesMatName(k)] = m[ProfileMatName(k)] = {BinTypeVariable(k, true).Name, -1};
    for (const char* name : {"ConEchoAmp", "ConCor", "ConVel", "ConPGood"}) m[name] = {contourVar, -1};
    return m;
}

// Every MAT variable with a counterpart holds the same raw values (MAT column-major, NetCDF row-major);
// the MAT time fields give the time coordinate.
void ExpectSameAsMat(const std::vector<MatVar>& mat, const NcContents& nc, const std::string& contourVar) {
    const auto counterparts = Counterparts(contourVar);
    int compared = 0;
    for (const MatVar& m : mat) {
        if (!counterparts.count(m.Name)) continue;
        const auto& [name, column] = counterparts.at(m.Name);
        const NcVar& v = nc.Var(name);
        ASSERT_EQ(m.Values.size() * (column >= 0 ? 4 : 1), v.Values.size()) << m.Name;
        std::vector<double> expected, got;
        for (size_t r = 0; r < m.Rows; ++r)
            for (size_t c = 0; c < m.Columns; ++c) {
                expected.push_back(m.Values[c * m.Rows + r]);
                got.push_back(column >= 0 ? v.Values[r * 4 + static_cast<size_t>(column)]
                                          : v.Values[r * m.Columns + c]);
            }
        EXPECT_EQ(got, expected) << m.Name;
        ++compared;
    }
    EXPECT_GE(compared, 3);

    const bool contour = FindVar(mat, "ConYear") != nullptr;
    const MatVar* year = FindVar(mat, contour ? "ConYear" : "SerYear");
    if (!year || year->Values.empty()) return;
    auto field = [&](const char* con, const char* ser, size_t r) {
        return FindVar(mat, contour ? con : ser)->Values[r];
    };
    const NcVar& time = nc.Var("time");
    ASSERT_EQ(time.Values.size(), year->Values.size());
    const int firstYear = 2000 + static_cast<int>(year->Values[0]);
    EXPECT_EQ(time.Text.at("units"), "seconds since " + std::to_string(firstYear) + "-01-01 00:00:00");
    for (size_t r = 0; r < time.Values.size(); ++r)
        ASSERT_NEAR(time.Values[r],
                    SecondsSince(firstYear, 2000 + static_cast<int>(year->Values[r]),
                                 static_cast<int>(field("ConMonth", "SerMon", r)),
                                 static_cast<int>(field("ConDay", "SerDay", r)),
                                 field("ConHour", "SerHour", r) * 3600 + field("ConMin", "SerMin", r) * 60 +
                                     field("ConSec", "SerSec", r) + field("ConHund", "SerHund", r) / 100),
                    1e-6)
            << r;
}

// A file and what is known of its bins independently of the program.
struct FileCase {
    fs::path Path;
    double FirstBin, CellSize;
    bool Up;
};

// Every kind exported whole, with every data type and bin, as MAT and as NetCDF; the case index varies
// the contour type, the step and the navigation source.
void ExpectLikeMat(const FileCase& fc, int i) {
    SCOPED_TRACE(fc.Path.string());
    LoadedFile f;
    f.Path = fc.Path;
    OpenFile(f);
    const SetDescriptors& set = f.State.Set;
    const int cells = f.State.Setup.NumCells;
    ExportSelection sel;
    const std::string first = std::to_string(set.FileFirstEnsemble),
                      last = std::to_string(set.FileLastEnsemble);
    sel.ContourEnsembles = sel.SeriesEnsembles = {first, last, i % 2 ? "3" : "1"};
    sel.ContourType = std::vector<int>{10, 0, 15, 18, 7, 12}[static_cast<size_t>(i % 6)];
    sel.ProfileEnsemble = std::to_string((set.FileFirstEnsemble + set.FileLastEnsemble) / 2);
    sel.ProfileTypes.fill(true);
    sel.SeriesTypes.fill(true);
    sel.SeriesTypes[kSeriesStrandex] = i % 2 == 1;
    sel.AncTypes.fill(true);
    for (auto& bins : sel.Bins) bins.SelectAll(cells);
    for (ExportKind kind : {ExportKind::Contour, ExportKind::Profile, ExportKind::Series}) {
        SCOPED_TRACE(static_cast<int>(kind));
        sel.Kind = kind;
        const NcContents nc = ReadNetCdf(Export(f.State, sel, ExportFileType::NetCdf));
        ExpectSameAsMat(ReadMat(Export(f.State, sel, ExportFileType::Mat)), nc,
                        BinTypeVariable(sel.ContourType, true).Name);
        EXPECT_EQ(nc.Format, NC_FORMAT_64BIT_OFFSET);
        const NcVar& range = nc.Var("range");
        ASSERT_EQ(range.Values.size(), static_cast<size_t>(cells));
        for (int m = 1; m <= cells; ++m)
            EXPECT_NEAR(range.Values[static_cast<size_t>(m - 1)], fc.FirstBin + (m - 1) * fc.CellSize, 1e-9);
        EXPECT_EQ(range.Text.at("positive"), fc.Up ? "up" : "down");
        EXPECT_EQ(nc.Global.Text.at("source_file"), f.Path.string());
        if (kind != ExportKind::Contour) { // east, north, up: recorded so or transformed from beams
            EXPECT_EQ(nc.Var("velocity_east").Text.at("standard_name"), "eastward_sea_water_velocity");
        }
    }
}

} // namespace

TEST(NetCdfExport, SimulatedFilesHoldWhatTheMatFileHolds) {
    SimulationSpec spec;
    spec.Ensembles = 150;
    spec.Cells = 12;
    spec.CellSize = 0.25;
    spec.FirstBin = 1.5;
    spec.Navigation = true;
    ExpectLikeMat({Simulated(spec), 1.5, 0.25, false}, 0);
    spec.UpLooking = spec.BeamCoordinates = true;
    ExpectLikeMat({Simulated(spec), 1.5, 0.25, true}, 1);
}

TEST(NetCdfExport, RealFilesHoldWhatTheMatFileHolds) {
    const std::vector<std::pair<const char*, FileCase>> cases = {
        {"up600_beam_9ens.000", {{}, 2.23, 0.5, true}},
        {"up600_beam_truncated.000", {{}, 2.0, 0.5, true}},
        {"down600_earth_bt.000", {{}, 2.09, 1.0, false}},
        {"SHIP300_000001.ENX", {{}, 2.42, 0.5, false}}};
    int i = 0;
    for (auto [name, c] : cases) {
        SKIP_WITHOUT_DATA_FILE(name);
        c.Path = DataFile(name);
        ExpectLikeMat(c, i++);
    }
}

#else

} // namespace

#endif

TEST(NetCdfExport, AttributesAUserDecodesWith) {
    LoadedFile f;
    f.Path = TinyFilePath();
    OpenFile(f);
    ExportSelection sel;
    sel.Kind = ExportKind::Series;
    sel.SeriesEnsembles = {"1", "3", "1"};
    for (int k : {10, 15, 39}) sel.SeriesTypes[static_cast<size_t>(k)] = true;
    sel.AncTypes[2] = true;
    sel.Bins[2].SelectAll(2);
    const NcContents nc = ReadNetCdf(Export(f.State, sel, ExportFileType::NetCdf));
    EXPECT_EQ(nc.Dims, (std::map<std::string, size_t>{{"time", 3}, {"range", 2}, {"beam", 4}}));
    EXPECT_EQ(nc.Global.Text, (std::map<std::string, std::string>{
                                  {"Conventions", "CF-1.8"},
                                  {"title", "Series data from TINY.000"},
                                  {"source", "acoustic Doppler current profiler, Broadband 307.2 kHz"},
                                  {"history", std::string("written by Marevox ") + MARVOX_VERSION},
                                  {"source_file", f.Path.string()},
                                  {"system", "Broadband"},
                                  {"frequency", "307.2 kHz"},
                                  {"coordinate_system", "earth"},
                                  {"velocity_reference", "None"}}));
    EXPECT_EQ(nc.Global.Numbers,
              (std::map<std::string, std::vector<double>>{{"pings_per_ensemble", {45}},
                                                          {"seconds_per_ping", {1.5}},
                                                          {"ensemble_interval_seconds", {30.5}},
                                                          {"first_bin_range_m", {2.51}},
                                                          {"bin_size_m", {0.5}}}));
    struct Case {
        const char* var;
        nc_type type;
        std::string standardName, units;
        double scale;
        std::vector<double> values;
    };
    const double day = SecondsSince(2026, 2026, 6, 14, 12 * 3600);
    const std::vector<Case> cases = {
        {"velocity_east",
         NC_SHORT,
         "eastward_sea_water_velocity",
         "m s-1",
         0.001,
         {300, -100, 0, -32768, 120, -7}},
        {"velocity_direction",
         NC_SHORT,
         "sea_water_velocity_to_direction",
         "degree",
         0.1,
         {369, 2700, 1800, -32768, 1126, 1963}},
        // Headings above 327.67 degrees need 32 bits.
        {"heading", NC_INT, "platform_orientation", "degree", 0.01, {35000, 9000, 1}},
        {"bt_range", NC_INT, "", "m", 0.01, {1000, 1001, 1002, 1003, 70000, 5, 0, 123456, 1, 22, 333, 4444}},
        {"time", NC_DOUBLE, "time", "seconds since 2026-01-01 00:00:00", 0, {day, day + 30.5, day + 61}},
        {"range", NC_DOUBLE, "", "m", 0, {2.51, 3.01}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.var);
        const NcVar& v = nc.Var(c.var);
        EXPECT_EQ(v.Type, c.type);
        EXPECT_EQ(v.Text.count("standard_name") ? v.Text.at("standard_name") : "", c.standardName);
        EXPECT_EQ(v.Text.count("units") ? v.Text.at("units") : "", c.units);
        EXPECT_EQ(v.Numbers.count("scale_factor") ? v.Numbers.at("scale_factor")[0] : 0, c.scale);
        // Data carry the fill value, coordinates none.
        EXPECT_EQ(v.Numbers.count("_FillValue") ? v.Numbers.at("_FillValue") : std::vector<double>{},
                  c.type == NC_DOUBLE ? std::vector<double>{} : std::vector<double>{-32768});
        EXPECT_EQ(v.Values, c.values);
    }
}

TEST(NetCdfExport, NarrowbandTimesWithoutAYearRunOnAcrossNewYear) {
    SimulationSpec spec;
    spec.Narrowband = true;
    spec.Ensembles = 40;
    spec.Cells = 5;
    spec.Month = 12;
    spec.Day = 31;
    spec.Hour = 23;
    spec.Minute = 50;
    LoadedFile f;
    f.Path = Simulated(spec);
    OpenFile(f);
    ExportSelection sel;
    sel.ContourEnsembles = {"1", "40", "1"};
    sel.Bins[0].SelectAll(5);
    const NcVar time = ReadNetCdf(Export(f.State, sel, ExportFileType::NetCdf)).Var("time");
    EXPECT_EQ(time.Text.at("units"), "seconds since 1904-01-01 00:00:00");
    EXPECT_NE(time.Text.at("comment").find("no year"), std::string::npos);
    ASSERT_EQ(time.Values.size(), 40u);
    EXPECT_EQ(time.Values[0], SecondsSince(1904, 1904, 12, 31, 23 * 3600 + 50 * 60));
    for (size_t i = 1; i < time.Values.size(); ++i) EXPECT_EQ(time.Values[i] - time.Values[i - 1], 60) << i;
}
