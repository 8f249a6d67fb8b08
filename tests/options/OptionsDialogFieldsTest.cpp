#include "options/OptionsDialogFields.h"

#include "options/OptionsFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using namespace mvx;

namespace {

std::string FileText(const Options& o) {
    std::ostringstream out;
    Write_Options(o, out);
    return out.str();
}

// A record changed on every control of one tab, each index its own value.
Options Changed(const std::function<void(Options&)>& change) {
    Options o;
    o.SeriesAverageAll = false; // "All" recomputes the interval from the loaded set
    change(o);
    return o;
}

TEST(OptionsDialogFields, EveryTabRoundTripsThroughTheControls) {
    const std::vector<Options> records = {
        Changed([](Options& o) {
            o.ContourDataType = 3;
            o.ContourScaleMode = 0;
            o.ContourUserScale = {-321, 4567};
            o.ShowLocators = false;
            o.ShowBTDepth = true;
        }),
        Changed([](Options& o) {
            o.ContourDataType = 4000;
            o.ShowGrid = false;
            for (size_t k = 0; k < o.ProfileDataTypes.size(); ++k) o.ProfileDataTypes[k] = k % 3 == 1;
            o.ProfileLines = false;
            o.ProfileSymbols = true;
            for (size_t k = 0; k < 7; ++k) {
                o.ProfileScaleMin[k] = -10.25 * static_cast<double>(k + 1);
                o.ProfileScaleMax[k] = 1000.5 + static_cast<double>(k);
            }
        }),
        Changed([](Options& o) {
            o.ContourDataType = 50;
            for (size_t k = 0; k < 36; ++k) o.SeriesDataTypes[k] = k % 5 == 2;
            o.SeriesCombo = false;
            o.SeriesGrid = false;
            for (size_t k = 0; k < 5; ++k) {
                o.SeriesScaleMin[k] = 0.1 * static_cast<double>(k);
                o.SeriesScaleMax[k] = 3e5 + static_cast<double>(k);
            }
            o.SeriesBinSelect[1] = o.SeriesBinSelect[77] = o.SeriesBinSelect[255] = true;
            o.SeriesAverageInterval = 3723.45; // 1 h 2 min 3.45 s
        }),
        Changed([](Options& o) {
            o.ContourDataType = 600;
            o.AncDataTypes = {true, false, true, true, false, false, true, false};
            o.AncSymbols = true;
            o.AncGrid = false;
            for (size_t k = 0; k < 11; ++k) {
                o.AncScaleMin[k] = -1.5 - static_cast<double>(k);
                o.AncScaleMax[k] = 2.75 + static_cast<double>(k);
            }
            o.WaterDensity = 1025.5f;
        }),
    };
    for (size_t r = 0; r < records.size(); ++r) {
        OptionsDialogFields fields;
        SetDescriptors set;
        Options_To_Dialog(records[r], set, 30, fields);
        Options back;
        Dialog_To_Options(fields, back, set, 30);
        EXPECT_EQ(FileText(back), FileText(records[r])) << "record " << r;
    }
}

TEST(OptionsDialogFields, ProcessingTabAsksForAReloadOnlyWhenItMust) {
    struct Case {
        std::function<void(OptionsDialogFields&)> Change;
        bool Reload;
    };
    const std::vector<Case> cases = {
        {[](OptionsDialogFields&) {}, false},
        {[](OptionsDialogFields& f) { f.EndOfProfile[4] = true; }, false},
        {[](OptionsDialogFields& f) { f.VelRef = 1; }, true},
        {[](OptionsDialogFields& f) { f.WaterScale = "1.5"; }, true},
        {[](OptionsDialogFields& f) { f.BottomScale = "0.9"; }, true},
    };
    for (size_t k = 0; k < cases.size(); ++k) {
        Options o;
        OptionsDialogFields f;
        Options_To_Dialog(o, SetDescriptors{}, 30, f);
        cases[k].Change(f);
        EXPECT_EQ(Processing_To_Options(f, o), cases[k].Reload) << "case " << k;
        EXPECT_EQ(o.VelocityReference, f.VelRef);
        EXPECT_EQ(o.EndOfProfile, f.EndOfProfile);
    }
}

TEST(OptionsDialogFields, SelectedSetAndBinsStayInsideTheFile) {
    struct Case {
        std::string First, Last;
        int32_t Balance;
        int32_t SelFirst, SelLast;
    };
    // File ensembles 100..200; a box reads its first 8 characters.
    const std::vector<Case> cases = {
        {"120", "150", -1, 120, 150},       {"150", "120", -1, 120, 150}, {"5", "99999999999", -1, 100, 200},
        {"200", "200", -1, 199, 200},       {"137", "137", -1, 137, 138}, {"abc", "", -1, 100, 101},
        {"123456789", "150x", 1, 150, 200},
    };
    for (size_t k = 0; k < cases.size(); ++k) {
        SetDescriptors set;
        set.FileValid = true;
        set.FileFirstEnsemble = 100;
        set.FileLastEnsemble = 200;
        set.OrientationBalance = cases[k].Balance;
        OptionsDialogFields f;
        Options o;
        Options_To_Dialog(o, set, 30, f);
        f.SelectedSet = {cases[k].First, cases[k].Last};
        Dialog_To_Options(f, o, set, 30);
        EXPECT_EQ(set.SelFirstEns, cases[k].SelFirst) << "case " << k;
        EXPECT_EQ(set.SelLastEns, cases[k].SelLast) << "case " << k;
    }
}

TEST(OptionsDialogFields, BinsOfADownLookingSetAreMirrored) {
    struct Case {
        std::string First, Last;
        int32_t Balance, Stored0, Stored1;
    };
    const std::vector<Case> cases = {{"3", "10", -1, 3, 10},
                                     {"3", "10", 1, 21, 28},
                                     {"30", "30", 1, 1, 2},
                                     {"1", "1", -1, 1, 2},
                                     {"30", "30", -1, 29, 30}};
    for (const Case& c : cases) {
        SetDescriptors set;
        set.FileValid = true;
        set.FileFirstEnsemble = 1;
        set.FileLastEnsemble = 50;
        set.OrientationBalance = c.Balance;
        OptionsDialogFields f;
        Options o;
        Options_To_Dialog(o, set, 30, f);
        f.SubSet[0] = c.First;
        f.SubSet[1] = c.Last;
        Dialog_To_Options(f, o, set, 30);
        EXPECT_EQ(set.FirstBinShown, c.Stored0) << c.First << ".." << c.Last << " balance " << c.Balance;
        EXPECT_EQ(set.LastBinShown, c.Stored1) << c.First << ".." << c.Last << " balance " << c.Balance;
        // Shown again, the boxes read back to the same bins.
        Options_To_Dialog(o, set, 30, f);
        Dialog_To_Options(f, o, set, 30);
        EXPECT_EQ(set.FirstBinShown, c.Stored0);
        EXPECT_EQ(set.LastBinShown, c.Stored1);
    }
}

TEST(OptionsDialogFields, AveragingIntervalText) {
    const struct {
        double Seconds;
        const char* Text;
    } cases[] = {{0, "0000:00:00.00"},      {43200, "0012:00:00.00"}, {3723.45, "0001:02:03.45"},
                 {59.999, "0000:01:00.00"}, {-5, "0000:00:00.00"},    {360000000, "100000:00:00.00"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Interval_Text(c.Seconds), c.Text);
        if (c.Seconds >= 0 && c.Seconds < 1e6) {
            EXPECT_NEAR(Parse_Interval_Text(c.Text), std::round(c.Seconds * 100) / 100, 1e-9);
        }
    }
    EXPECT_DOUBLE_EQ(Parse_Interval_Text("2"), 7200);
    EXPECT_DOUBLE_EQ(Parse_Interval_Text("0:30"), 1800);
    EXPECT_DOUBLE_EQ(Parse_Interval_Text("x:y:z.w"), 0);
}

TEST(OptionsDialogFields, AllAveragesOverTheLoadedSet) {
    SetDescriptors set;
    set.CurrentEnsIndex = 11;
    set.SetDuration = 600; // ten intervals of a minute
    Options o;
    OptionsDialogFields f;
    Options_To_Dialog(o, set, 30, f);
    f.AverageAll = true;
    Dialog_To_Options(f, o, set, 30);
    EXPECT_DOUBLE_EQ(o.SeriesAverageInterval, 660);
    EXPECT_TRUE(o.SeriesAverageOn);
    EXPECT_EQ(f.AverageInterval, "0000:11:00.00");
    f.AverageAll = false;
    f.AverageInterval = "0000:00:00.00";
    Dialog_To_Options(f, o, set, 30);
    EXPECT_FALSE(o.SeriesAverageOn);
}

// Entries no option can hold are clamped or read as 0; the file written afterwards reads back whole.
TEST(OptionsDialogFields, BadEntriesNeverMakeAnUnreadableFile) {
    const std::vector<std::string> entries = {"",    "abc", "1e999",  "-1e999", "99999999999999999999",
                                              "nan", "-",   "1e-999", "12abc",  std::string(24, '9')};
    for (const std::string& entry : entries) {
        Options o;
        SetDescriptors set;
        OptionsDialogFields f;
        Options_To_Dialog(o, set, 30, f);
        f.UserScale = {entry, entry};
        for (auto& t : f.ProfileScales) t = entry;
        for (auto& t : f.SeriesScales) t = entry;
        for (auto& t : f.AncScales) t = entry;
        f.WaterDensity = f.WaterScale = f.BottomScale = entry;
        f.AverageAll = false;
        f.AverageInterval = entry + ":" + entry + ":" + entry + "." + entry;
        Processing_To_Options(f, o);
        Dialog_To_Options(f, o, set, 30);
        for (double v : {o.ProfileScaleMin[0], o.SeriesScaleMax[4], o.AncScaleMin[10], o.WaterVelScale,
                         o.BottomVelScale, o.SeriesAverageInterval, static_cast<double>(o.WaterDensity)}) {
            EXPECT_TRUE(std::isfinite(v)) << entry;
            EXPECT_LE(std::fabs(v), 1e12) << entry;
        }
        const std::string text = FileText(o);
        Options back;
        std::istringstream in(text);
        ASSERT_TRUE(Read_Options(back, in)) << entry;
        EXPECT_EQ(FileText(back), text) << entry;
    }
}

} // namespace
