// Reading the real instrument files end to end: counts, numbering, trailing bytes, and the first and last
// ensembles' set-up and values as recorded in the data folder's notes.
#include "TestSupport.h"
#include "ensemble/Decoder.h"
#include "ensemble/Framing.h"
#include "model/DataSet.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

namespace mvx {
namespace {

constexpr int B = -32768;

struct RecordedFile {
    const char* file;
    int ensembles; // numbered 1..ensembles
    int trailing;  // bytes after the last valid ensemble (stray or a cut-off ensemble)
    double firmware;
    int cells;
    double cellLength, bin1;
    bool up, beamCoordinates, bottomTrack, navigation;
    int heading, pitch, roll, temperature;
    std::array<int, 12> velocity;  // cells 0..2 counted from the transducer, four beams each
    std::array<int, 4> corr, echo; // cell 0
    std::array<int, 7> firstTime, lastTime;
};

// clang-format off
const RecordedFile kFiles[] = {
    {"up600_beam_9ens.000", 9, 0, 16.28, 84, 0.5, 2.23, true, true, false, false, 27814, 142, -239, 1206,
     {34, 35, 5, -18, 49, 13, 81, -9, 34, -9, 45, -80}, {25, 22, 25, 24}, {52, 46, 48, 45},
     {8, 6, 25, 10, 0, 0, 0}, {8, 6, 25, 10, 1, 20, 0}},
    {"up600_beam_truncated.000", 22, 772, 51.38, 36, 0.5, 2.0, true, true, false, false, 28637, 69, 191, 753,
     {112, -153, 284, -231, 108, -180, 329, -192, -104, -12, 263, -328}, {122, 147, 137, 122},
     {138, 141, 143, 146}, {11, 2, 10, 18, 0, 0, 0}, {11, 2, 10, 18, 0, 10, 50}},
    {"down600_earth_bt.000", 1721, 99, 51.41, 17, 1.0, 2.09, false, false, true, false, 19538, 292, -128, 729,
     {B, B, B, B, B, B, B, B, B, B, B, B}, {64, 58, 51, 8}, {49, 48, 42, 44},
     {17, 5, 24, 11, 50, 13, 40}, {17, 5, 24, 12, 33, 13, 40}},
    {"SHIP300_000001.ENX", 3713, 216, 51.42, 28, 0.5, 2.42, false, false, false, true, 23405, -310, 763, 1428,
     {205, 178, -126, -369, 1402, 876, 71, 448, 1563, 804, -65, 253}, {129, 130, 107, 118},
     {189, 211, 203, 216}, {20, 8, 19, 6, 57, 6, 1}, {20, 8, 19, 7, 58, 58, 2}},
};
// clang-format on

class RealFile : public ::testing::TestWithParam<RecordedFile> {};

TEST_P(RealFile, EveryEnsembleIsFoundAndTheFirstAndLastMatchTheRecordedFacts) {
    const RecordedFile& x = GetParam();
    SKIP_WITHOUT_DATA_FILE(x.file);
    const std::string path = test::DataFile(x.file);
    EnsembleFile file;
    ASSERT_TRUE(file.Open(path));
    EnsembleFrame frame;
    InstrumentSetup setup;
    DataSet data;
    Allocate_Data_Set(data, 1, 1, false);
    const DecodeSettings settings;
    bool valid = true;

    // Walk as the loaders do: the first ensemble into slot 0, every later one into slot 1, going on after
    // a failed search while the file is not at its end.
    int found = 0, failed = 0, lastNumber = 0;
    bool consecutive = true;
    int64_t end = 0;
    while (!file.AtEnd() && failed < 1000) {
        if (!Get_Next_Ensemble(kBroadband, file, frame, valid, {})) {
            ++failed;
            continue;
        }
        const int slot = found == 0 ? 0 : 1;
        Decode_Ensemble(kBroadband, frame, setup, data, slot, settings, valid);
        if (found == 0) {
            ASSERT_TRUE(setup.FixedLeaderSeen && setup.VariableLeaderSeen && setup.VelocitySeen);
            EXPECT_NEAR(setup.FirmwareVersion, x.firmware, 1e-9);
            EXPECT_EQ(setup.NumCells, x.cells);
            EXPECT_DOUBLE_EQ(setup.CellLength, x.cellLength);
            EXPECT_DOUBLE_EQ(setup.Bin1Distance, x.bin1);
            EXPECT_EQ(setup.LooksUp(), x.up);
            EXPECT_EQ((setup.CoordTransform & 0x18) == 0, x.beamCoordinates);
            EXPECT_EQ(setup.BottomTrackSeen, x.bottomTrack);
            EXPECT_EQ(setup.NavigationSeen, x.navigation);
        }
        if (found > 0 && data.EnsNumbers[slot] != lastNumber + 1) consecutive = false;
        lastNumber = data.EnsNumbers[slot];
        ++found;
        end = file.NextPosition() - 1;
    }
    EXPECT_EQ(found, x.ensembles);
    EXPECT_EQ(data.EnsNumbers[0], 1);
    EXPECT_EQ(lastNumber, x.ensembles);
    EXPECT_TRUE(consecutive);
    EXPECT_EQ(failed, 1); // only the search that meets the end
    EXPECT_EQ(static_cast<int64_t>(std::filesystem::file_size(path)) - end, x.trailing);

    EXPECT_EQ(data.AncData(5, 0), x.up ? 1 : 0);
    EXPECT_EQ(data.AncData(2, 0), x.heading);
    EXPECT_EQ(data.AncData(0, 0), x.pitch);
    EXPECT_EQ(data.AncData(1, 0), x.roll);
    EXPECT_EQ(data.AncData(3, 0), x.temperature);
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(data.EnsTimes(row, 0), x.firstTime[row]) << "first time row " << row;
        EXPECT_EQ(data.EnsTimes(row, 1), x.lastTime[row]) << "last time row " << row;
    }
    // Cell 0 is nearest the transducer; a down-looking file stores cell c at bin NumCells - 1 - c.
    for (int cell = 0; cell < 3; ++cell) {
        const int bin = x.up ? cell : x.cells - 1 - cell;
        for (int beam = 0; beam < 4; ++beam)
            EXPECT_EQ(data.VelData(beam, bin, 0), x.velocity[4 * cell + beam])
                << "cell " << cell << " beam " << beam;
    }
    const int bin0 = x.up ? 0 : x.cells - 1;
    for (int beam = 0; beam < 4; ++beam) {
        EXPECT_EQ(data.CorrData(beam, bin0, 0), x.corr[beam]);
        EXPECT_EQ(data.IntensityData(beam, bin0, 0), x.echo[beam]);
    }
    if (x.navigation) { // binary angles: degrees = value x 180 / 2^31
        EXPECT_NEAR(data.NavFirstLat[0] * 180.0 / 2147483648.0, 48.08, 0.05);
        EXPECT_NEAR(data.NavLastLat[1] * 180.0 / 2147483648.0, 48.08, 0.05);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, RealFile, ::testing::ValuesIn(kFiles),
                         [](const ::testing::TestParamInfo<RecordedFile>& info) {
                             std::string name = info.param.file;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

} // namespace
} // namespace mvx
