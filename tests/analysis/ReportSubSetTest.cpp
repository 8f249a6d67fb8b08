#include "analysis/ReportFile.h"
#include "options/OptionsFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace mvx;

namespace {

// The contour type names and reference names as the options defaults list them.
DisplayTables Tables() {
    Options o;
    DisplayTables t;
    Load_Default_Options(o, &t);
    return t;
}
const std::vector<std::string> kTypeNames = Tables().ContourTypeNames;
const std::vector<std::string> kReferenceNames = Tables().ReferenceNames;

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

TEST(ReportSubSet, EachCodeReadsItsArrayAndRowFromTheHighestBinDown) {
    Fixture f;
    f.data.VelData(5, 3, 0) = 3595;
    f.data.VelData(5, 2, 1) = kBadValue;
    // Row 0 is bin index 3, row 3 is bin index 0; columns are slots 0..2.
    const struct {
        int32_t code;
        int row, column, value;
        const char* name;
    } cases[] = {
        {3, 0, 0, 100 + 30 + 0, "Amplitude Beam 3"}, // IntensityData row 2
        {3, 3, 1, 100 + 0 + 1, "Amplitude Beam 3"},
        {3, 1, 2, 100 + 20 + 2, "Amplitude Beam 3"},
        {20, 0, 1, 50 + 30 + 1 + 1, "Correlation Beam 2"}, // CorrData row 1, values + 1
        {50, 3, 0, 200 + 0 + 0 + 1, "Correlation Four Beam Avgerage"},
        {4000, 2, 2, 150 + 10 + 2 + 2, "Percent Good 4"}, // PGoodData row 3, values + 2
        {500, 0, 2, -(4000 + 30 + 2), "Magnitude"},       // VelData row 4, signed
        {600, 0, 0, 3595, "Direction"}, // tenths; the 19-name table has no entry of its own for it
        {600, 1, 1, -32768, "Direction"},
        {600, 3, 2, -(5000 + 0 + 2), "Direction"},
    };
    for (const auto& c : cases) {
        const ReportSnapshot s = f.Take(c.code);
        ASSERT_EQ(s.Bins, 4);
        ASSERT_EQ(s.Ensembles, 3);
        EXPECT_EQ(s.At(c.row, c.column), c.value) << c.code;
        EXPECT_EQ(s.DataTypeName, c.name);
    }
    const ReportSnapshot s = f.Take(3);
    EXPECT_EQ(s.Titles[0], "Data Type = Amplitude Beam 3 Contour");
    EXPECT_EQ(s.Titles[1], "Reference = Bottom");
    EXPECT_EQ(s.Titles[2], "Data Source = MAREVOX - run.000");
    // Start and end labels from the first and last loaded ensemble.
    EXPECT_EQ(s.StartDate, "99/01/02");
    EXPECT_EQ(s.StartTime, "03:04:05.06");
    EXPECT_EQ(s.EndDate, "?\?/12/31"); // year byte 80
    EXPECT_EQ(s.EndTime, "23:59:58.99");
}

TEST(ReportSubSet, NamesOfDirectionAndReferencesBeyondTheTables) {
    std::vector<std::string> names = kTypeNames;
    names.insert(names.begin() + 15, "Velocity Direction");
    EXPECT_EQ(ContourTypeName(600, names), "Velocity Direction");
    EXPECT_EQ(ContourTypeName(4000, names), "Percent Good 4");
    EXPECT_EQ(ContourTypeName(1000, kTypeNames), "Percent Good 1");
    EXPECT_EQ(ContourTypeName(7, kTypeNames), "");
    EXPECT_EQ(ReferenceName(2, kReferenceNames), "Navigation");
    EXPECT_EQ(ReferenceName(3, kReferenceNames), "GPS(GGA)");
    EXPECT_EQ(ReferenceName(4, kReferenceNames), "GPS(VTG)");
    EXPECT_EQ(ReferenceName(6, kReferenceNames), "Unknown");
    Fixture f;
    EXPECT_EQ(f.Take(500, 5).Titles[1], "Reference = Water Mass (BK <>1)");
}

TEST(ReportSubSet, BinRangeIsTheContourZoomKeptWithinTheArrays) {
    Fixture f;
    f.set.FirstBinShown = 3;
    f.set.LastBinShown = 5;
    ReportSnapshot s = f.Take(1); // IntensityData row 0: bin*10 + slot
    ASSERT_EQ(s.Bins, 3);
    EXPECT_EQ(s.At(0, 0), 40); // bin 5 is index 4
    EXPECT_EQ(s.At(2, 1), 21); // bin 3 is index 2

    f.set.CurrentEnsIndex = 0;
    f.set.FirstBinShown = 1;
    f.set.LastBinShown = 0; // below the first bin
    s = f.Take(1);
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

TEST(ReportSubSet, RefusalsLeaveTheSnapshotAlone) {
    Fixture f;
    ReportSnapshot s;
    s.Titles[0] = "untouched";
    std::string error;
    auto load = [&](const DataSet& data, int32_t code) {
        f.options.ContourDataType = code;
        return Load_Sub_Set(s, data, f.set, f.options, kTypeNames, kReferenceNames, "m", error);
    };
    for (int32_t code : {0, 6, 150, 5000}) EXPECT_FALSE(load(f.data, code)) << code;
    EXPECT_FALSE(load(DataSet{}, 1)); // nothing allocated
    f.set.FileValid = false;
    EXPECT_FALSE(load(f.data, 1));
    EXPECT_EQ(s.Titles[0], "untouched");
    EXPECT_EQ(s.Bins, 1);
}
