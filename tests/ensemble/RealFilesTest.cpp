// Reading the real instrument files end to end: counts, numbering, trailing bytes, and the first
// ensemble's set-up and values as recorded in the data folder's notes.
#include "TestSupport.h"
#include "ensemble/Decoder.h"
#include "ensemble/Framing.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>

namespace mvx {
namespace {

struct Walk {
    int32_t valid = 0;
    int32_t firstNumber = -1, lastNumber = -1;
    bool consecutive = true;
    int64_t endOfLastEnsemble = 0; // 1-based position after the last valid ensemble's checksum
    int32_t failedSearches = 0;
    bool endedAtEnd = false;
};

// Walks the whole file as the loaders do: search, decode, and go on after a failed search while the
// file is not at its end.
Walk WalkFile(const std::string& path) {
    Walk w;
    EnsembleFile file;
    EXPECT_TRUE(file.Open(path));
    EnsembleFrame frame;
    InstrumentSetup setup;
    DataSet data;
    Allocate_Data_Set(data, 0, 0, false);
    bool valid = true;
    while (!file.AtEnd() && w.failedSearches < 1000) {
        if (!Get_Next_Ensemble(kBroadband, file, frame, valid, {})) {
            ++w.failedSearches;
            continue;
        }
        Decode_Ensemble(kBroadband, frame, setup, data, 0, {}, valid);
        const int32_t n = data.EnsNumbers[0];
        if (w.valid == 0)
            w.firstNumber = n;
        else if (n != w.lastNumber + 1)
            w.consecutive = false;
        w.lastNumber = n;
        ++w.valid;
        w.endOfLastEnsemble = file.NextPosition();
    }
    w.endedAtEnd = file.AtEnd();
    return w;
}

int64_t SizeOf(const std::string& path) {
    return static_cast<int64_t>(std::filesystem::file_size(path));
}

#define REQUIRE_DATA_FILE(name)                                                                              \
    if (!test::HaveDataFile(name)) GTEST_SKIP() << "missing " << name

TEST(RealFiles, NineEnsemblesEndingExactlyOnTheLastByte) {
    REQUIRE_DATA_FILE("up600_beam_9ens.000");
    const std::string path = test::DataFile("up600_beam_9ens.000");
    const Walk w = WalkFile(path);
    EXPECT_EQ(w.valid, 9);
    EXPECT_EQ(w.firstNumber, 1);
    EXPECT_EQ(w.lastNumber, 9);
    EXPECT_TRUE(w.consecutive);
    EXPECT_EQ(w.endOfLastEnsemble, SizeOf(path) + 1);
    EXPECT_EQ(w.failedSearches, 1); // only the search that meets the end
    EXPECT_TRUE(w.endedAtEnd);
}

TEST(RealFiles, TwentyTwoEnsemblesAndACutOffTwentyThird) {
    REQUIRE_DATA_FILE("up600_beam_truncated.000");
    const std::string path = test::DataFile("up600_beam_truncated.000");
    const Walk w = WalkFile(path);
    EXPECT_EQ(w.valid, 22);
    EXPECT_EQ(w.firstNumber, 1);
    EXPECT_EQ(w.lastNumber, 22);
    EXPECT_TRUE(w.consecutive);
    EXPECT_EQ(SizeOf(path) - (w.endOfLastEnsemble - 1), 772); // the cut-off ensemble
    EXPECT_EQ(w.failedSearches, 1);
}

TEST(RealFiles, BottomTrackFileWithStrayBytesAtTheEnd) {
    REQUIRE_DATA_FILE("down600_earth_bt.000");
    const std::string path = test::DataFile("down600_earth_bt.000");
    const Walk w = WalkFile(path);
    EXPECT_EQ(w.valid, 1721);
    EXPECT_EQ(w.firstNumber, 1);
    EXPECT_EQ(w.lastNumber, 1721);
    EXPECT_TRUE(w.consecutive);
    EXPECT_EQ(SizeOf(path) - (w.endOfLastEnsemble - 1), 99);
}

TEST(RealFiles, ShipFileWithStrayBytesAtTheEnd) {
    REQUIRE_DATA_FILE("SHIP300_000001.ENX");
    const std::string path = test::DataFile("SHIP300_000001.ENX");
    const Walk w = WalkFile(path);
    EXPECT_EQ(w.valid, 3713);
    EXPECT_EQ(w.firstNumber, 1);
    EXPECT_EQ(w.lastNumber, 3713);
    EXPECT_TRUE(w.consecutive);
    EXPECT_EQ(SizeOf(path) - (w.endOfLastEnsemble - 1), 216);
}

struct FirstEnsemble {
    const char* file;
    double firmware;
    int cells;
    double cellLength, bin1;
    bool up, beamCoordinates, bottomTrack, navigation;
    int heading, pitch, roll, temperature;
    std::array<std::array<int, 4>, 3> velocity; // cells 0..2 counted from the transducer
    std::array<int, 4> corr, echo;
    std::array<int, 7> firstTime, lastTime;
};

constexpr int B = -32768;

const FirstEnsemble kFirst[] = {
    {"up600_beam_9ens.000",
     16.28,
     84,
     0.5,
     2.23,
     true,
     true,
     false,
     false,
     27814,
     142,
     -239,
     1206,
     {{{34, 35, 5, -18}, {49, 13, 81, -9}, {34, -9, 45, -80}}},
     {25, 22, 25, 24},
     {52, 46, 48, 45},
     {8, 6, 25, 10, 0, 0, 0},
     {8, 6, 25, 10, 1, 20, 0}},
    {"up600_beam_truncated.000",
     51.38,
     36,
     0.5,
     2.0,
     true,
     true,
     false,
     false,
     28637,
     69,
     191,
     753,
     {{{112, -153, 284, -231}, {108, -180, 329, -192}, {-104, -12, 263, -328}}},
     {122, 147, 137, 122},
     {138, 141, 143, 146},
     {11, 2, 10, 18, 0, 0, 0},
     {11, 2, 10, 18, 0, 10, 50}},
    {"down600_earth_bt.000",
     51.41,
     17,
     1.0,
     2.09,
     false,
     false,
     true,
     false,
     19538,
     292,
     -128,
     729,
     {{{B, B, B, B}, {B, B, B, B}, {B, B, B, B}}},
     {64, 58, 51, 8},
     {49, 48, 42, 44},
     {17, 5, 24, 11, 50, 13, 40},
     {17, 5, 24, 12, 33, 13, 40}},
    {"SHIP300_000001.ENX",
     51.42,
     28,
     0.5,
     2.42,
     false,
     false,
     false,
     true,
     23405,
     -310,
     763,
     1428,
     {{{205, 178, -126, -369}, {1402, 876, 71, 448}, {1563, 804, -65, 253}}},
     {129, 130, 107, 118},
     {189, 211, 203, 216},
     {20, 8, 19, 6, 57, 6, 1},
     {20, 8, 19, 7, 58, 58, 2}},
};

class RealFirstEnsemble : public ::testing::TestWithParam<FirstEnsemble> {};

TEST_P(RealFirstEnsemble, SetUpAndValuesMatchTheRecordedFacts) {
    const FirstEnsemble& x = GetParam();
    REQUIRE_DATA_FILE(x.file);
    EnsembleFile file;
    ASSERT_TRUE(file.Open(test::DataFile(x.file)));
    EnsembleFrame frame;
    ASSERT_TRUE(Find_Broadband_Ensemble(file, frame, {}));
    DataSet data;
    Allocate_Data_Set(data, 1, 1, false);
    InstrumentSetup setup;
    DecodeSettings settings;
    Decode_Broadband_Ensemble(frame, setup, data, 0, settings);

    EXPECT_NEAR(setup.FirmwareVersion, x.firmware, 1e-9);
    EXPECT_EQ(setup.NumCells, x.cells);
    EXPECT_DOUBLE_EQ(setup.CellLength, x.cellLength);
    EXPECT_DOUBLE_EQ(setup.Bin1Distance, x.bin1);
    EXPECT_EQ(setup.LooksUp(), x.up);
    EXPECT_EQ(data.AncData(5, 0), x.up ? 1 : 0);
    EXPECT_EQ((setup.CoordTransform & 0x18) == 0, x.beamCoordinates);
    EXPECT_EQ(setup.BottomTrackSeen, x.bottomTrack);
    EXPECT_EQ(setup.NavigationSeen, x.navigation);
    EXPECT_TRUE(setup.VelocitySeen && setup.CorrelationSeen && setup.IntensitySeen && setup.PercentGoodSeen);
    EXPECT_EQ(data.EnsNumbers[0], 1);
    EXPECT_EQ(data.AncData(2, 0), x.heading);
    EXPECT_EQ(data.AncData(0, 0), x.pitch);
    EXPECT_EQ(data.AncData(1, 0), x.roll);
    EXPECT_EQ(data.AncData(3, 0), x.temperature);
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(data.EnsTimes(row, 0), x.firstTime[row]) << "time row " << row;

    for (int cell = 0; cell < 3; ++cell) {
        const int bin = x.up ? cell : x.cells - 1 - cell;
        for (int beam = 0; beam < 4; ++beam)
            EXPECT_EQ(data.VelData(beam, bin, 0), x.velocity[cell][beam])
                << "cell " << cell << " beam " << beam;
    }
    const int bin0 = x.up ? 0 : x.cells - 1;
    for (int beam = 0; beam < 4; ++beam) {
        EXPECT_EQ(data.CorrData(beam, bin0, 0), x.corr[beam]);
        EXPECT_EQ(data.IntensityData(beam, bin0, 0), x.echo[beam]);
    }

    // The last ensemble's time stamp: decode every ensemble into slot 1.
    bool valid = true;
    while (!file.AtEnd())
        if (Get_Next_Ensemble(kBroadband, file, frame, valid, {}))
            Decode_Ensemble(kBroadband, frame, setup, data, 1, settings, valid);
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(data.EnsTimes(row, 1), x.lastTime[row]) << "last time row " << row;
}

INSTANTIATE_TEST_SUITE_P(Files, RealFirstEnsemble, ::testing::ValuesIn(kFirst),
                         [](const ::testing::TestParamInfo<FirstEnsemble>& info) {
                             std::string name = info.param.file;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(RealFiles, ShipNavigationPositionsNearFortyEightNorth) {
    REQUIRE_DATA_FILE("SHIP300_000001.ENX");
    EnsembleFile file;
    ASSERT_TRUE(file.Open(test::DataFile("SHIP300_000001.ENX")));
    EnsembleFrame frame;
    DataSet data;
    Allocate_Data_Set(data, 0, 0, false);
    InstrumentSetup setup;
    int checked = 0;
    while (checked < 50 && Find_Broadband_Ensemble(file, frame, {})) {
        Decode_Broadband_Ensemble(frame, setup, data, 0, {});
        ASSERT_TRUE(setup.NavigationSeen);
        const double lat = data.NavFirstLat[0] * 180.0 / 2147483648.0;
        const double lastLat = data.NavLastLat[0] * 180.0 / 2147483648.0;
        EXPECT_NEAR(lat, 48.08, 0.05);
        EXPECT_NEAR(lastLat, 48.08, 0.05);
        ++checked;
    }
    EXPECT_EQ(checked, 50);
}

} // namespace
} // namespace mvx
