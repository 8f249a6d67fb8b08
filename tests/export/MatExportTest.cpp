// The MAT exports read back by a Level 4 reader: names in file order, element types, shapes and the
// hand-worked values of the tiny file.
#include "ExportFixture.h"

#include "export/MatExport.h"
#include "simulator/Simulator.h"

#include <gtest/gtest.h>

#if MARVOX_HAVE_MATIO

using namespace mvx;
using namespace mvx::test;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kHeaderNames = {"ZonFileName",    "ZonSystem",  "ZonPingsPerEns",
                                               "ZonSecPerPing",  "ZonEnsDate", "ZonEnsTime",
                                               "ZonEnsInterval", "ZonBin1Mid", "ZonBinSize"};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Expect {
    const char* name;
    matio_types stored;
    size_t rows, columns;
    std::vector<double> values;
};

void Check(const std::vector<MatVar>& vars, const std::vector<Expect>& expected) {
    for (const Expect& e : expected) {
        const MatVar* v = FindVar(vars, e.name);
        ASSERT_NE(v, nullptr) << e.name;
        EXPECT_EQ(v->Class, MAT_C_DOUBLE) << e.name; // a Level 4 reader presents numbers as double
        EXPECT_EQ(v->Stored, e.stored) << e.name;
        EXPECT_EQ(v->Rows, e.rows) << e.name;
        EXPECT_EQ(v->Columns, e.columns) << e.name;
        EXPECT_EQ(v->Values, e.values) << e.name;
    }
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
    std::vector<MatVar> Write(const Writer& writer) {
        const fs::path out = ScratchDir() / "out.mat";
        OutputFile f;
        EXPECT_TRUE(f.Open(out.string()));
        ExportReader reader(file_.State);
        EXPECT_TRUE(writer(reader, sel_, f)) << f.Error();
        EXPECT_TRUE(f.Close());
        return ReadMat(out);
    }

    LoadedFile file_;
    ExportSelection sel_;
};

} // namespace

TEST_F(MatExport, ContourVariablesInOrderWithTheirValues) {
    sel_.ContourType = 10;
    const auto vars = Write(Write_Contour_Mat);
    ASSERT_EQ(VarNames(vars), Concat(Concat({"ConTitle"}, kHeaderNames),
                                     {"ConBins", "ConEnsembles", "ConYear", "ConMonth", "ConDay", "ConHour",
                                      "ConMin", "ConSec", "ConHund", "ConVel"}));
    EXPECT_EQ(vars[0].Class, MAT_C_CHAR);
    EXPECT_EQ(vars[0].Rows, 1u);
    EXPECT_EQ(vars[0].Text, "Velocity East (u) mm/s");
    EXPECT_EQ(FindVar(vars, "ZonFileName")->Text, file_.Path.string());
    EXPECT_EQ(FindVar(vars, "ZonSystem")->Text, "Broadband 307.2 kHz");
    EXPECT_EQ(FindVar(vars, "ZonEnsDate")->Text, "26/06/14");
    EXPECT_EQ(FindVar(vars, "ZonEnsTime")->Text, "12:00:00.00");
    Check(vars, {
                    {"ZonPingsPerEns", MAT_T_INT32, 1, 1, {45}},
                    {"ZonSecPerPing", MAT_T_SINGLE, 1, 1, {1.5}},   // 0 min 1 s 50 hundredths
                    {"ZonEnsInterval", MAT_T_SINGLE, 1, 1, {30.5}}, // 61 s over 2 steps
                    {"ZonBin1Mid", MAT_T_SINGLE, 1, 1, {static_cast<double>(2.51f)}},
                    {"ConBins", MAT_T_UINT8, 1, 2, {1, 2}},
                    {"ConEnsembles", MAT_T_INT32, 3, 1, {1, 2, 3}},
                    {"ConSec", MAT_T_UINT8, 3, 1, {0, 30, 1}},
                    {"ConHund", MAT_T_UINT8, 3, 1, {0, 50, 0}},
                    // Column bin 1: east of cell 0 per ensemble; column bin 2: cell 1, the bad value kept.
                    {"ConVel", MAT_T_INT16, 3, 2, {300, 0, 120, -100, -32768, -7}},
                });
}

TEST_F(MatExport, ContourDataMatrixNameAndTitleFollowTheGroup) {
    struct Case {
        int type;
        const char* title;
        Expect matrix;
    };
    const std::vector<Case> cases = {
        {4,
         "Echo Amplitude counts Four Beam Average",
         {"ConEchoAmp", MAT_T_UINT8, 3, 2, {102, 62, 12, 92, 70, 22}}},
        {15,
         "Velocity Direction tenth degrees",
         {"ConVel", MAT_T_INT16, 3, 2, {369, 1800, 1126, 2700, -32768, 1963}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        sel_.ContourType = c.type;
        const auto vars = Write(Write_Contour_Mat);
        ASSERT_EQ(vars.size(), 20u);
        EXPECT_EQ(vars[0].Text, c.title);
        EXPECT_EQ(vars[19].Name, c.matrix.name);
        Check(vars, {c.matrix});
    }
}

TEST_F(MatExport, ProfileBeginsWithItsEnsembleNumber) {
    sel_.ProfileEnsemble = "2";
    for (int k : {0, 9, 10, 15, 18}) sel_.ProfileTypes[static_cast<size_t>(k)] = true;
    const auto vars = Write(Write_Profile_Mat);
    EXPECT_EQ(VarNames(vars), Concat(Concat({"ZonProfileEns"}, kHeaderNames),
                                     {"ZonProfileBins", "ProEAmpBm1cnts", "ProCorAvgcnts", "ProEmmpersec",
                                      "ProDir10thDeg", "ProPG3"}));
    EXPECT_EQ(FindVar(vars, "ZonEnsTime")->Text, "12:00:30.50");
    Check(vars, {{"ZonProfileEns", MAT_T_INT32, 1, 1, {2}},
                 {"ZonProfileBins", MAT_T_UINT8, 1, 2, {1, 2}},
                 {"ProEAmpBm1cnts", MAT_T_UINT8, 1, 2, {60, 70}},
                 {"ProCorAvgcnts", MAT_T_UINT8, 1, 2, {115, 2}},
                 {"ProEmmpersec", MAT_T_INT16, 1, 2, {0, -32768}},
                 {"ProDir10thDeg", MAT_T_INT16, 1, 2, {1800, -32768}},
                 {"ProPG3", MAT_T_UINT8, 1, 2, {30, 99}}});
}

TEST_F(MatExport, SeriesEveryGroupInBoxOrder) {
    for (int k : {0, 2, 3, 4, 5, 6, 7}) sel_.AncTypes[static_cast<size_t>(k)] = true;
    for (int k : {10, 15, 16, 20, 25, 27, 32, 35, 36, 37, 39})
        sel_.SeriesTypes[static_cast<size_t>(k)] = true;
    const auto vars = Write(Write_Series_Mat);
    ASSERT_EQ(VarNames(vars),
              Concat(kHeaderNames,
                     {"SerBins",        "SerEnsembles",  "SerYear",       "SerMon",         "SerDay",
                      "SerHour",        "SerMin",        "SerSec",        "SerHund",        "AnP100thDeg",
                      "AnH100thDeg",    "AnT100thDeg",   "AnDepthmm",     "AnOrienUP",      "AnBIT",
                      "AnBatt",         "SerEmmpersec",  "SerDir10thDeg", "SerPG1",         "AnBTEmmpersec",
                      "AnBTDir10thDeg", "AnWMNmmpersec", "AnNVEmmpersec", "AnNVDir10thDeg", "AnFLatDeg",
                      "AnFLonDeg",      "AnLLatDeg",     "AnLLonDeg",     "AnBTDepthcmB1",  "AnBTDepthcmB2",
                      "AnBTDepthcmB3",  "AnBTDepthcmB4"}));
    const double step = 65536.0 * 180 / 2147483648.0; // one step of the fixes in degrees
    Check(vars, {
                    {"SerEnsembles", MAT_T_INT32, 3, 1, {1, 2, 3}},
                    // Headings above 327.67 degrees read back whole: the heading words are unsigned.
                    {"AnH100thDeg", MAT_T_UINT16, 3, 1, {35000, 9000, 1}},
                    {"AnDepthmm", MAT_T_INT32, 3, 1, {12300, 700, 0}},
                    {"AnBIT", MAT_T_UINT16, 3, 1, {258, 0, 65535}},
                    {"SerDir10thDeg", MAT_T_INT16, 3, 2, {369, 1800, 1126, 2700, -32768, 1963}},
                    {"AnBTDir10thDeg", MAT_T_INT16, 3, 1, {2700, -32768, 369}},
                    {"AnNVEmmpersec", MAT_T_INT16, 3, 1, {1234, 0, 707}},
                    {"AnLLonDeg", MAT_T_DOUBLE, 3, 1, {-90 + step, -90 + 2 * step, -90 + 3 * step}},
                    {"AnBTDepthcmB4", MAT_T_INT32, 3, 1, {1003, 123456, 4444}},
                });
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
    ExportReader reader(f.State);
    ASSERT_TRUE(Write_Series_Mat(reader, sel, file)) << file.Error();
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
    auto vars = Write(Write_Contour_Mat);
    ASSERT_EQ(vars.size(), 20u);
    EXPECT_EQ(FindVar(vars, "ConEnsembles")->Rows, 0u);
    EXPECT_EQ(FindVar(vars, "ConEchoAmp")->Columns, 2u);

    sel_.ContourEnsembles = {"1", "3", "1"};
    sel_.Bins[0] = BinList{};
    vars = Write(Write_Contour_Mat);
    ASSERT_EQ(vars.size(), 20u);
    EXPECT_EQ(FindVar(vars, "ConEchoAmp")->Rows, 3u);
    EXPECT_EQ(FindVar(vars, "ConEchoAmp")->Columns, 0u);
}

TEST_F(MatExport, CancelKeepsFullRowsWithZerosAfterIt) {
    sel_.SeriesTypes[10] = true;
    // Asked to stop once the second ensemble is stored.
    sel_.Progress = [&](int value) { return value == 0 || value == 100; };
    const auto vars = Write(Write_Series_Mat);
    EXPECT_EQ(FindVar(vars, "SerEnsembles")->Values, (std::vector<double>{1, 2, 0}));
    EXPECT_EQ(FindVar(vars, "SerEmmpersec")->Values, (std::vector<double>{300, 0, 0, -100, -32768, 0}));
}

#else

TEST(MatExport, SkippedWithoutMatio) {
    GTEST_SKIP() << "matio is not installed: no read-back by a MAT reader";
}

#endif
