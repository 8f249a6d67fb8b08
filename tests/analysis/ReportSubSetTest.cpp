#include "analysis/ReportFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace mvx;

namespace {

// The contour type names and reference names as the options record lists them.
const std::vector<std::string> kTypeNames{"Amplitude Beam 1",
                                          "Amplitude Beam 2",
                                          "Amplitude Beam 3",
                                          "Amplitude Beam 4",
                                          "Amplitude Four Beam Avgerage",
                                          "Correlation Beam 1",
                                          "Correlation Beam 2",
                                          "Correlation Beam 3",
                                          "Correlation Beam 4",
                                          "Correlation Four Beam Avgerage",
                                          "East Velocity",
                                          "North Velocity",
                                          "Vertical Velocity",
                                          "Error Velocity",
                                          "Magnitude",
                                          "Percent Good 1",
                                          "Percent Good 2",
                                          "Percent Good 3",
                                          "Percent Good 4"};
const std::vector<std::string> kReferenceNames{"None", "Bottom", "Navigation"};

// A loaded set of 3 ensembles and 4 shown bins. Every array's value tells its row, bin and slot so a
// wrong row, a flipped bin order or a swapped index shows up as a wrong number.
struct Fixture {
    DataSet data;
    SetDescriptors set;
    Options options;
    Fixture() {
        Allocate_Data_Set(data, 4, 4, false);
        set.FileValid = true;
        set.CurrentEnsIndex = 3;
        set.FirstBinShown = 1;
        set.LastBinShown = 4;
        for (int slot = 0; slot < data.Capacity; ++slot) {
            for (int bin = 0; bin < kMaxBins; ++bin) {
                for (int row = 0; row < 5; ++row) {
                    const int small = (row * 50 + bin * 10 + slot) % 256;
                    data.IntensityData(row, bin, slot) = static_cast<uint8_t>(small);
                    data.CorrData(row, bin, slot) = static_cast<uint8_t>((small + 1) % 256);
                    data.PGoodData(row, bin, slot) = static_cast<uint8_t>((small + 2) % 256);
                }
                for (int row = 0; row < 8; ++row)
                    data.VelData(row, bin, slot) = static_cast<int16_t>(-(row * 1000 + bin * 10 + slot));
            }
        }
        const uint8_t first[7] = {99, 1, 2, 3, 4, 5, 6};
        const uint8_t last[7] = {80, 12, 31, 23, 59, 58, 99};
        for (int k = 0; k < 7; ++k) {
            data.EnsTimes(k, 0) = first[k];
            data.EnsTimes(k, 2) = last[k];
            data.EnsTimes(k, 3) = 77; // beyond the loaded set: must not be read
        }
    }
    ReportSnapshot Take(int32_t code, int32_t reference = 1) {
        options.ContourDataType = code;
        options.VelocityReference = reference;
        ReportSnapshot s;
        std::string error;
        EXPECT_TRUE(
            Load_Sub_Set(s, data, set, options, kTypeNames, kReferenceNames, "MAREVOX - run.000", error))
            << error;
        return s;
    }
};

} // namespace

TEST(ReportSubSet, IntensityRowsRunFromTheHighestBinDown) {
    Fixture f;
    const ReportSnapshot s = f.Take(3); // echo beam 3: IntensityData row 2
    ASSERT_EQ(s.Bins, 4);
    ASSERT_EQ(s.Ensembles, 3);
    // Row 0 is bin index 3, row 3 is bin index 0; columns are slots 0..2.
    EXPECT_EQ(s.At(0, 0), 100 + 30 + 0);
    EXPECT_EQ(s.At(3, 0), 100 + 0 + 0);
    EXPECT_EQ(s.At(1, 2), 100 + 20 + 2);
    EXPECT_EQ(s.At(3, 1), 100 + 0 + 1);
    EXPECT_EQ(s.DataTypeName, "Amplitude Beam 3");
    EXPECT_EQ(s.Titles[0], "Data Type = Amplitude Beam 3 Contour");
    EXPECT_EQ(s.Titles[1], "Reference = Bottom");
    EXPECT_EQ(s.Titles[2], "Data Source = MAREVOX - run.000");
}

TEST(ReportSubSet, EachCodeGroupReadsItsOwnArrayAndRow) {
    Fixture f;
    // Correlation beam 2 (code 20): CorrData row 1 -> 50 + bin*10 + slot + 1.
    ReportSnapshot s = f.Take(20);
    EXPECT_EQ(s.At(0, 1), 50 + 30 + 1 + 1);
    EXPECT_EQ(s.DataTypeName, "Correlation Beam 2");
    // Correlation average (50): row 4 -> 200 + ... + 1.
    s = f.Take(50);
    EXPECT_EQ(s.At(3, 0), 200 + 0 + 0 + 1);
    EXPECT_EQ(s.DataTypeName, "Correlation Four Beam Avgerage");
    // Percent good 4 (4000): PGoodData row 3 -> 150 + ... + 2.
    s = f.Take(4000);
    EXPECT_EQ(s.At(2, 2), 150 + 10 + 2 + 2);
    EXPECT_EQ(s.DataTypeName, "Percent Good 4");
    // Magnitude (500): VelData row 4, signed.
    s = f.Take(500);
    EXPECT_EQ(s.At(0, 2), -(4000 + 30 + 2));
    EXPECT_EQ(s.DataTypeName, "Magnitude");
    // East (100): VelData row 0.
    s = f.Take(100);
    EXPECT_EQ(s.At(1, 0), -20);
    EXPECT_EQ(s.DataTypeName, "East Velocity");
}

TEST(ReportSubSet, DirectionKeepsTenthsAndBadValues) {
    Fixture f;
    f.data.VelData(5, 3, 0) = 3595;
    f.data.VelData(5, 2, 1) = kBadValue;
    const ReportSnapshot s = f.Take(600);
    EXPECT_EQ(s.At(0, 0), 3595);
    EXPECT_EQ(s.At(1, 1), -32768);
    EXPECT_EQ(s.At(3, 2), -(5000 + 0 + 2));
    EXPECT_EQ(s.DataTypeName, "Direction"); // the 19-name table has no entry of its own for it
}

TEST(ReportSubSet, DirectionTakesItsNameFromATwentyNameTable) {
    std::vector<std::string> names = kTypeNames;
    names.insert(names.begin() + 15, "Velocity Direction");
    EXPECT_EQ(ContourTypeName(600, names), "Velocity Direction");
    EXPECT_EQ(ContourTypeName(1000, names), "Percent Good 1");
    EXPECT_EQ(ContourTypeName(4000, names), "Percent Good 4");
    EXPECT_EQ(ContourTypeName(1000, kTypeNames), "Percent Good 1");
    EXPECT_EQ(ContourTypeName(5, kTypeNames), "Amplitude Four Beam Avgerage");
    EXPECT_EQ(ContourTypeName(10, kTypeNames), "Correlation Beam 1");
    EXPECT_EQ(ContourTypeName(400, kTypeNames), "Error Velocity");
    EXPECT_EQ(ContourTypeName(7, kTypeNames), "");
    EXPECT_EQ(ContourTypeName(1, {}), "");
}

TEST(ReportSubSet, ReferencesBeyondTheTableUseTheirOptionNames) {
    EXPECT_EQ(ReferenceName(0, kReferenceNames), "None");
    EXPECT_EQ(ReferenceName(2, kReferenceNames), "Navigation");
    EXPECT_EQ(ReferenceName(3, kReferenceNames), "GPS(GGA)");
    EXPECT_EQ(ReferenceName(4, kReferenceNames), "GPS(VTG)");
    EXPECT_EQ(ReferenceName(5, kReferenceNames), "Water Mass (BK <>1)");
    EXPECT_EQ(ReferenceName(6, kReferenceNames), "Unknown");
    EXPECT_EQ(ReferenceName(-1, kReferenceNames), "Unknown");
    Fixture f;
    EXPECT_EQ(f.Take(500, 5).Titles[1], "Reference = Water Mass (BK <>1)");
}

TEST(ReportSubSet, StartAndEndLabelsComeFromTheFirstAndLastLoadedEnsemble) {
    Fixture f;
    const ReportSnapshot s = f.Take(1);
    EXPECT_EQ(s.StartDate, "99/01/02");
    EXPECT_EQ(s.StartTime, "03:04:05.06");
    EXPECT_EQ(s.EndDate, "?\?/12/31"); // year byte 80
    EXPECT_EQ(s.EndTime, "23:59:58.99");
}

TEST(ReportSubSet, ZoomedBinRangeTakesTheBinsTheContourShows) {
    Fixture f;
    f.set.FirstBinShown = 3;
    f.set.LastBinShown = 5;
    const ReportSnapshot s = f.Take(1); // IntensityData row 0: bin*10 + slot
    ASSERT_EQ(s.Bins, 3);
    EXPECT_EQ(s.At(0, 0), 40); // bin 5 is index 4
    EXPECT_EQ(s.At(2, 1), 21); // bin 3 is index 2
}

TEST(ReportSubSet, SizesAreAtLeastOneAndNeverBeyondTheArrays) {
    Fixture f;
    f.set.CurrentEnsIndex = 0;
    f.set.LastBinShown = 0; // below the first bin
    ReportSnapshot s = f.Take(1);
    EXPECT_EQ(s.Bins, 1);
    EXPECT_EQ(s.Ensembles, 1);
    EXPECT_EQ(s.At(0, 0), 0); // bin index 0, slot 0
    EXPECT_EQ(s.EndDate, "99/01/02");

    f.set.CurrentEnsIndex = 1000000;
    f.set.FirstBinShown = 250;
    f.set.LastBinShown = 2000000000;
    s = f.Take(1);
    EXPECT_EQ(s.Ensembles, f.data.Capacity);
    EXPECT_EQ(s.Bins, kMaxBins);
    EXPECT_TRUE(s.Consistent());
    // Rows above the last bin of the arrays read 0; the last row is bin index 249.
    EXPECT_EQ(s.At(0, 0), 0);
    EXPECT_EQ(s.At(kMaxBins - 1, 1), (2490 + 1) % 256);
}

TEST(ReportSubSet, CaptionsOfTheWindowAndAxesAreKept) {
    Fixture f;
    f.options.ContourDataType = 2;
    ReportSnapshot s;
    s.Caption = "My report";
    s.XAxisCaption = "Time";
    s.YAxisCaption = "Depth";
    std::string error;
    ASSERT_TRUE(Load_Sub_Set(s, f.data, f.set, f.options, kTypeNames, kReferenceNames, "main", error));
    EXPECT_EQ(s.Caption, "My report");
    EXPECT_EQ(s.XAxisCaption, "Time");
    EXPECT_EQ(s.YAxisCaption, "Depth");
}

TEST(ReportSubSet, RefusalsLeaveTheSnapshotAlone) {
    Fixture f;
    ReportSnapshot s;
    s.Titles[0] = "untouched";
    std::string error;
    f.options.ContourDataType = 1;
    f.set.FileValid = false;
    EXPECT_FALSE(Load_Sub_Set(s, f.data, f.set, f.options, kTypeNames, kReferenceNames, "m", error));
    EXPECT_FALSE(error.empty());
    f.set.FileValid = true;
    for (int32_t code : {0, 6, 15, 700, 150, 5000, -100}) {
        f.options.ContourDataType = code;
        EXPECT_FALSE(Load_Sub_Set(s, f.data, f.set, f.options, kTypeNames, kReferenceNames, "m", error))
            << code;
    }
    DataSet empty;
    f.options.ContourDataType = 1;
    EXPECT_FALSE(Load_Sub_Set(s, empty, f.set, f.options, kTypeNames, kReferenceNames, "m", error));
    EXPECT_EQ(s.Titles[0], "untouched");
    EXPECT_EQ(s.Bins, 1);
}
