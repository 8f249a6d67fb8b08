// The MAT exports read back by a Level 4 reader: names in file order, element types, shapes and the
// hand-worked values of the tiny file.
#include "ExportFixture.h"

#include "ensemble/Simulator.h"
#include "export/MatExport.h"

#include <gtest/gtest.h>

#include <map>

using namespace mvx;
using namespace mvx::test;
namespace fs = std::filesystem;

namespace {

// The records' names, type codes and dimensions straight from the bytes (no reader in between).
struct RawRecord {
    int32_t Type = -1, Rows = -1, Columns = -1;
    std::string Name;
};

std::vector<RawRecord> RawRecords(const std::string& bytes) {
    std::vector<RawRecord> out;
    size_t at = 0;
    auto int32At = [&](size_t p) {
        uint32_t u = 0;
        for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[p + i])) << (8 * i);
        return static_cast<int32_t>(u);
    };
    static const std::map<int32_t, size_t> kElement = {{0, 8},  {10, 4}, {11, 4}, {20, 4},
                                                       {30, 2}, {40, 2}, {50, 1}};
    while (at + 20 <= bytes.size()) {
        RawRecord r{int32At(at), int32At(at + 4), int32At(at + 8), ""};
        const int32_t nameLength = int32At(at + 16);
        EXPECT_EQ(int32At(at + 12), 0);
        r.Name = bytes.substr(at + 20, static_cast<size_t>(nameLength) - 1);
        EXPECT_EQ(bytes[at + 20 + static_cast<size_t>(nameLength) - 1], '\0');
        at += 20 + static_cast<size_t>(nameLength) +
              static_cast<size_t>(r.Rows) * r.Columns * kElement.at(r.Type);
        out.push_back(r);
    }
    EXPECT_EQ(at, bytes.size()) << "records do not fill the file exactly";
    return out;
}

std::vector<std::string> Names(const std::vector<RawRecord>& records) {
    std::vector<std::string> names;
    for (const auto& r : records) names.push_back(r.Name);
    return names;
}

const std::vector<std::string> kHeaderNames = {"ZonFileName",    "ZonSystem",  "ZonPingsPerEns",
                                               "ZonSecPerPing",  "ZonEnsDate", "ZonEnsTime",
                                               "ZonEnsInterval", "ZonBin1Mid", "ZonBinSize"};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class MatExport : public ::testing::Test {
  protected:
    void SetUp() override {
        file_.Path = TinyFilePath();
        OpenFile(file_);
        for (auto& list : sel_.Bins) {
            list.Select(1);
            list.Select(2);
        }
        sel_.ContourEnsembles = {"1", "3", "1"};
        sel_.SeriesEnsembles = {"1", "3", "1"};
    }
    // Writes with writer, checks the raw record layout and returns the records.
    std::vector<RawRecord> Write(const Writer& writer) {
        out_ = ScratchDir() / "out.mat";
        OutputFile f;
        EXPECT_TRUE(f.Open(out_.string()));
        EXPECT_TRUE(writer(file_.State, sel_, f)) << f.Error();
        EXPECT_TRUE(f.Close());
        return RawRecords(ReadText(out_));
    }

    LoadedFile file_;
    ExportSelection sel_;
    fs::path out_;
};

} // namespace

TEST_F(MatExport, ContourVariablesInOrderWithTypesAndShapes) {
    sel_.ContourType = 10;
    const auto records = Write(Write_Contour_Mat);
    const std::vector<std::string> expected = Concat(
        Concat({"ConTitle"}, kHeaderNames), {"ConBins", "ConEnsembles", "ConYear", "ConMonth", "ConDay",
                                             "ConHour", "ConMin", "ConSec", "ConHund", "ConVel"});
    ASSERT_EQ(Names(records), expected);
    const int32_t types[] = {11, 11, 11, 20, 10, 11, 11, 10, 10, 10, 50, 20, 50, 50, 50, 50, 50, 50, 50, 30};
    for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].Type, types[i]) << records[i].Name;
    EXPECT_EQ(records[10].Rows, 1); // ConBins 1 x 2
    EXPECT_EQ(records[10].Columns, 2);
    for (size_t i = 11; i < 19; ++i) {
        EXPECT_EQ(records[i].Rows, 3) << records[i].Name;
        EXPECT_EQ(records[i].Columns, 1) << records[i].Name;
    }
    EXPECT_EQ(records[19].Rows, 3);
    EXPECT_EQ(records[19].Columns, 2);
}

#if MARVOX_HAVE_MATIO

TEST_F(MatExport, ContourReadBackValues) {
    sel_.ContourType = 10;
    Write(Write_Contour_Mat);
    const auto vars = ReadMat(out_);
    ASSERT_EQ(vars.size(), 20u);
    EXPECT_EQ(vars[0].Class, MAT_C_CHAR);
    EXPECT_EQ(vars[0].Rows, 1u);
    EXPECT_EQ(vars[0].Text, "Velocity East (u) mm/s");
    EXPECT_EQ(FindVar(vars, "ZonFileName")->Text, file_.Path.string());
    EXPECT_EQ(FindVar(vars, "ZonSystem")->Text, "Broadband 307.2 kHz");
    EXPECT_EQ(FindVar(vars, "ZonPingsPerEns")->Values, std::vector<double>{45});
    EXPECT_EQ(FindVar(vars, "ZonSecPerPing")->Values, std::vector<double>{1.5}); // 0 min 1 s 50 hundredths
    EXPECT_EQ(FindVar(vars, "ZonEnsDate")->Text, "26/06/14");
    EXPECT_EQ(FindVar(vars, "ZonEnsTime")->Text, "12:00:00.00");
    EXPECT_EQ(FindVar(vars, "ZonEnsInterval")->Values, std::vector<double>{30.5}); // 61 s over 2 steps
    EXPECT_EQ(FindVar(vars, "ZonBin1Mid")->Values, std::vector<double>{static_cast<double>(2.51f)});
    EXPECT_EQ(FindVar(vars, "ZonBinSize")->Values, std::vector<double>{0.5});
    EXPECT_EQ(FindVar(vars, "ConBins")->Values, (std::vector<double>{1, 2}));
    EXPECT_EQ(FindVar(vars, "ConEnsembles")->Values, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(FindVar(vars, "ConYear")->Values, (std::vector<double>{26, 26, 26}));
    EXPECT_EQ(FindVar(vars, "ConMin")->Values, (std::vector<double>{0, 0, 1}));
    EXPECT_EQ(FindVar(vars, "ConSec")->Values, (std::vector<double>{0, 30, 1}));
    EXPECT_EQ(FindVar(vars, "ConHund")->Values, (std::vector<double>{0, 50, 0}));
    const MatVar& vel = vars[19];
    EXPECT_EQ(vel.Name, "ConVel");
    EXPECT_EQ(vel.Stored, MAT_T_INT16);
    EXPECT_EQ(vel.Rows, 3u);
    EXPECT_EQ(vel.Columns, 2u);
    // Column bin 1: east of cell 0 per ensemble; column bin 2: cell 1, with the bad value kept.
    EXPECT_EQ(vel.Values, (std::vector<double>{300, 0, 120, -100, -32768, -7}));
}

TEST_F(MatExport, ContourDataMatrixNameAndTitleFollowTheGroup) {
    struct Case {
        int type;
        const char* title;
        const char* matrix;
        matio_types stored;
        std::vector<double> values;
    };
    const std::vector<Case> cases = {
        {4, "Echo Amplitude counts Four Beam Average", "ConEchoAmp", MAT_T_UINT8, {102, 62, 12, 92, 70, 22}},
        {8, "Correlation counts Beam4", "ConCor", MAT_T_UINT8, {200, 130, 50, 150, 2, 40}},
        {15,
         "Velocity Direction tenth degrees",
         "ConVel",
         MAT_T_INT16,
         {369, 1800, 1126, 2700, -32768, 1963}},
        {17, " PG2", "ConPGood", MAT_T_UINT8, {1, 20, 0, 4, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.matrix);
        sel_.ContourType = c.type;
        Write(Write_Contour_Mat);
        const auto vars = ReadMat(out_);
        ASSERT_EQ(vars.size(), 20u);
        EXPECT_EQ(vars[0].Text, c.title);
        EXPECT_EQ(vars[19].Name, c.matrix);
        EXPECT_EQ(vars[19].Stored, c.stored);
        EXPECT_EQ(vars[19].Values, c.values);
    }
}

TEST_F(MatExport, ProfileBeginsWithItsEnsembleNumber) {
    sel_.ProfileEnsemble = "2";
    for (int k : {0, 9, 10, 15, 18}) sel_.ProfileTypes[static_cast<size_t>(k)] = true;
    Write(Write_Profile_Mat);
    const auto vars = ReadMat(out_);
    EXPECT_EQ(VarNames(vars), Concat(Concat({"ZonProfileEns"}, kHeaderNames),
                                     {"ZonProfileBins", "ProEAmpBm1cnts", "ProCorAvgcnts", "ProEmmpersec",
                                      "ProDir10thDeg", "ProPG3"}));
    ASSERT_EQ(vars.size(), 16u);
    EXPECT_EQ(vars[0].Stored, MAT_T_INT32);
    EXPECT_EQ(vars[0].Values, std::vector<double>{2});
    EXPECT_EQ(FindVar(vars, "ZonEnsTime")->Text, "12:00:30.50");
    struct Expect {
        const char* name;
        matio_types stored;
        std::vector<double> values;
    };
    const std::vector<Expect> vectors = {
        {"ZonProfileBins", MAT_T_UINT8, {1, 2}},        {"ProEAmpBm1cnts", MAT_T_UINT8, {60, 70}},
        {"ProCorAvgcnts", MAT_T_UINT8, {115, 2}},       {"ProEmmpersec", MAT_T_INT16, {0, -32768}},
        {"ProDir10thDeg", MAT_T_INT16, {1800, -32768}}, {"ProPG3", MAT_T_UINT8, {30, 99}}};
    for (const Expect& e : vectors) {
        const MatVar* v = FindVar(vars, e.name);
        ASSERT_NE(v, nullptr) << e.name;
        EXPECT_EQ(v->Stored, e.stored) << e.name;
        EXPECT_EQ(v->Rows, 1u) << e.name;
        EXPECT_EQ(v->Columns, 2u) << e.name;
        EXPECT_EQ(v->Values, e.values) << e.name;
    }
}

TEST_F(MatExport, SeriesEveryGroupInBoxOrder) {
    for (int k : {0, 2, 3, 4, 5, 6, 7}) sel_.AncTypes[static_cast<size_t>(k)] = true;
    for (int k : {10, 15, 16, 20, 25, 27, 32, 35, 36, 37, 39})
        sel_.SeriesTypes[static_cast<size_t>(k)] = true;
    Write(Write_Series_Mat);
    const auto vars = ReadMat(out_);
    const std::vector<std::string> expected = Concat(
        kHeaderNames, {"SerBins",        "SerEnsembles",  "SerYear",       "SerMon",         "SerDay",
                       "SerHour",        "SerMin",        "SerSec",        "SerHund",        "AnP100thDeg",
                       "AnH100thDeg",    "AnT100thDeg",   "AnDepthmm",     "AnOrienUP",      "AnBIT",
                       "AnBatt",         "SerEmmpersec",  "SerDir10thDeg", "SerPG1",         "AnBTEmmpersec",
                       "AnBTDir10thDeg", "AnWMNmmpersec", "AnNVEmmpersec", "AnNVDir10thDeg", "AnFLatDeg",
                       "AnFLonDeg",      "AnLLatDeg",     "AnLLonDeg",     "AnBTDepthcmB1",  "AnBTDepthcmB2",
                       "AnBTDepthcmB3",  "AnBTDepthcmB4"});
    ASSERT_EQ(VarNames(vars), expected);
    struct Expect {
        const char* name;
        matio_types stored;
        size_t columns;
        std::vector<double> values;
    };
    const double step = 65536.0 * 180 / 2147483648.0; // one step of the fixes in degrees
    const std::vector<Expect> checks = {
        {"SerEnsembles", MAT_T_INT32, 1, {1, 2, 3}},
        {"SerHund", MAT_T_UINT8, 1, {0, 50, 0}},
        {"AnP100thDeg", MAT_T_INT16, 1, {123, -5, -250}},
        // Headings above 327.67 degrees read back whole: the heading words are unsigned.
        {"AnH100thDeg", MAT_T_UINT16, 1, {35000, 9000, 1}},
        {"AnT100thDeg", MAT_T_INT16, 1, {1234, -150, 2000}},
        {"AnDepthmm", MAT_T_INT32, 1, {12300, 700, 0}},
        {"AnOrienUP", MAT_T_UINT8, 1, {0, 0, 0}},
        {"AnBIT", MAT_T_UINT16, 1, {258, 0, 65535}},
        {"AnBatt", MAT_T_UINT8, 1, {150, 151, 255}},
        {"SerEmmpersec", MAT_T_INT16, 2, {300, 0, 120, -100, -32768, -7}},
        {"SerDir10thDeg", MAT_T_INT16, 2, {369, 1800, 1126, 2700, -32768, 1963}},
        {"SerPG1", MAT_T_UINT8, 2, {97, 10, 100, 3, 0, 55}},
        {"AnBTEmmpersec", MAT_T_INT16, 1, {-100, -32768, 300}},
        {"AnBTDir10thDeg", MAT_T_INT16, 1, {2700, -32768, 369}},
        {"AnWMNmmpersec", MAT_T_INT16, 1, {-20, -32768, 35}},
        {"AnNVEmmpersec", MAT_T_INT16, 1, {1234, 0, 707}},
        {"AnNVDir10thDeg", MAT_T_INT16, 1, {900, 1800, 450}},
        {"AnFLatDeg", MAT_T_DOUBLE, 1, {45, 45 + step, 45 + 2 * step}},
        {"AnFLonDeg", MAT_T_DOUBLE, 1, {-90, -90 + step, -90 + 2 * step}},
        {"AnLLatDeg", MAT_T_DOUBLE, 1, {45 + step, 45 + 2 * step, 45 + 3 * step}},
        {"AnLLonDeg", MAT_T_DOUBLE, 1, {-90 + step, -90 + 2 * step, -90 + 3 * step}},
        {"AnBTDepthcmB1", MAT_T_INT32, 1, {1000, 70000, 1}},
        {"AnBTDepthcmB4", MAT_T_INT32, 1, {1003, 123456, 4444}},
    };
    for (const Expect& e : checks) {
        const MatVar* v = FindVar(vars, e.name);
        ASSERT_NE(v, nullptr) << e.name;
        EXPECT_EQ(v->Stored, e.stored) << e.name;
        EXPECT_EQ(v->Rows, 3u) << e.name;
        EXPECT_EQ(v->Columns, e.columns) << e.name;
        EXPECT_EQ(v->Values, e.values) << e.name;
    }
}

TEST_F(MatExport, StrandexPositionsComeFromTheBottomTrackBlock) {
    sel_.SeriesTypes[kSeriesLatLon] = true;
    sel_.SeriesTypes[kSeriesNavNorth] = true;
    sel_.SeriesTypes[kSeriesStrandex] = true;
    sel_.SeriesEnsembles = {"3", "3", "1"};
    Write(Write_Series_Mat);
    const auto vars = ReadMat(out_);
    const auto names = VarNames(vars);
    ASSERT_EQ(names.size(), 21u);
    EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()),
              (std::vector<std::string>{"AnNVNmmpersec", "AnSXLatDeg", "AnSXLonDeg"}));
    // The reference-layer north word -35 is stored inverted; lat and lon are 357913941 + 2 x 65536 and
    // -715827883 - 2 x 65536 binary-angle units.
    EXPECT_EQ(vars[18].Values, std::vector<double>{35});
    EXPECT_DOUBLE_EQ(vars[19].Values.at(0), (357913941.0 + 131072) * 180 / 2147483648.0);
    EXPECT_DOUBLE_EQ(vars[20].Values.at(0), (-715827883.0 - 131072) * 180 / 2147483648.0);
}

TEST(MatExportStep, StepThreeOverOneToTenGivesFourRows) {
    LoadedFile f;
    f.Path = ScratchDir() / "SIM.000";
    SimulationSpec spec;
    spec.Ensembles = 12;
    spec.Cells = 4;
    std::string error;
    ASSERT_TRUE(WriteSimulatedFile(spec, f.Path.string(), &error)) << error;
    OpenFile(f);
    ExportSelection sel;
    sel.SeriesEnsembles = {"1", "10", "3"};
    sel.SeriesTypes[12] = true;
    sel.AncTypes[1] = true;
    sel.Bins[2].Select(2);
    sel.Bins[2].Select(4);
    const fs::path out = ScratchDir() / "step.mat";
    OutputFile file;
    ASSERT_TRUE(file.Open(out.string()));
    ASSERT_TRUE(Write_Series_Mat(f.State, sel, file)) << file.Error();
    ASSERT_TRUE(file.Close());

    // The values each exported ensemble holds, read independently by loading it alone.
    std::vector<double> roll, vertical(8);
    for (int r = 0; r < 4; ++r) {
        ASSERT_TRUE(Read_File_Selection(f.State, 1 + 3 * r, 1 + 3 * r, false));
        roll.push_back(f.State.Data.AncData(1, 0));
        // Bin numbers 2 and 4 of a down-looking file are bin indices 4 - 2 and 4 - 4.
        vertical[static_cast<size_t>(r)] = f.State.Data.VelData(2, 2, 0);
        vertical[static_cast<size_t>(4 + r)] = f.State.Data.VelData(2, 0, 0);
    }
    const auto vars = ReadMat(out);
    EXPECT_EQ(FindVar(vars, "SerEnsembles")->Values, (std::vector<double>{1, 4, 7, 10}));
    EXPECT_EQ(FindVar(vars, "SerBins")->Values, (std::vector<double>{2, 4}));
    EXPECT_EQ(FindVar(vars, "AnR100thDeg")->Values, roll);
    const MatVar* w = FindVar(vars, "SerVmmpersec");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Rows, 4u);
    EXPECT_EQ(w->Columns, 2u);
    EXPECT_EQ(w->Values, vertical);
}

TEST_F(MatExport, NoEnsembleOrNoBinStillGivesMatchingHeaders) {
    sel_.ContourType = 0;
    sel_.ContourEnsembles = {"3", "1", "1"};
    Write(Write_Contour_Mat); // RawRecords checks that every record's data fills the file exactly
    auto vars = ReadMat(out_);
    ASSERT_EQ(vars.size(), 20u);
    EXPECT_EQ(FindVar(vars, "ConEnsembles")->Rows, 0u);
    EXPECT_EQ(FindVar(vars, "ConEchoAmp")->Rows, 0u);
    EXPECT_EQ(FindVar(vars, "ConEchoAmp")->Columns, 2u);

    sel_.ContourEnsembles = {"1", "3", "1"};
    sel_.Bins[0] = BinList{};
    Write(Write_Contour_Mat);
    vars = ReadMat(out_);
    ASSERT_EQ(vars.size(), 20u);
    EXPECT_EQ(FindVar(vars, "ConBins")->Columns, 0u);
    EXPECT_EQ(FindVar(vars, "ConEchoAmp")->Rows, 3u);
    EXPECT_EQ(FindVar(vars, "ConEchoAmp")->Columns, 0u);
    EXPECT_EQ(FindVar(vars, "ConEnsembles")->Values, (std::vector<double>{1, 2, 3}));
}

TEST_F(MatExport, CancelKeepsFullRowsWithZerosAfterIt) {
    sel_.SeriesTypes[10] = true;
    sel_.Progress = [&](int value) {
        if (value > 0 && value < 100) sel_.Cancel = true; // set once the second ensemble is stored
    };
    Write(Write_Series_Mat);
    const auto vars = ReadMat(out_);
    EXPECT_EQ(FindVar(vars, "SerEnsembles")->Values, (std::vector<double>{1, 2, 0}));
    EXPECT_EQ(FindVar(vars, "SerSec")->Values, (std::vector<double>{0, 30, 0}));
    EXPECT_EQ(FindVar(vars, "SerEmmpersec")->Values, (std::vector<double>{300, 0, 0, -100, -32768, 0}));
}

#endif

TEST(MatExportNames, ProfileAndSeriesNames) {
    const char* const profile[20] = {"ProEAmpBm1cnts",   "ProEAmpBm2cnts", "ProEAmpBm3cnts", "ProEAmpBm4cnts",
                                     "ProEAmpBmAvgcnts", "ProCor1cnts",    "ProCor2cnts",    "ProCor3cnts",
                                     "ProCor4cnts",      "ProCorAvgcnts",  "ProEmmpersec",   "ProNmmpersec",
                                     "ProVmmpersec",     "ProErmmpersec",  "ProMagmmsec",    "ProDir10thDeg",
                                     "ProPG1",           "ProPG2",         "ProPG3",         "ProPG4"};
    for (int k = 0; k < 20; ++k) EXPECT_EQ(ProfileMatName(k), profile[k]) << k;
    EXPECT_EQ(SeriesMatName(4), "SerEAAcnt");
    EXPECT_EQ(SeriesMatName(9), "SerCAcnt");
    EXPECT_EQ(SeriesMatName(14), "SerMagmmpersec");
    EXPECT_EQ(ContourMatTitle(0), "Echo Amplitude counts Beam1");
    EXPECT_EQ(ContourMatTitle(11), "Velocity North (v) mm/s");
}
