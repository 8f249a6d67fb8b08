// Narrowband decoding: BCD times, configuration byte, resolution, 12-bit counts, substitutes.
#include "EnsembleBuilder.h"
#include "ensemble/Decoder.h"
#include "model/DataSet.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

using test::Bytes;
using Counts = std::vector<std::array<uint16_t, 4>>;
using BeamCells = std::vector<std::array<uint8_t, 4>>;

constexpr int kSlot = 2;

// Sound speed at 20 degC (1449.2 + 92 - 22 + 2.32 = 1521.52 m/s) over the 1536 m/s the counts assume.
constexpr double kSound20 = 1521.52 / 1536;

class NarrowbandDecode : public ::testing::Test {
  protected:
    void SetUp() override { Allocate_Data_Set(data, 2, 2, false); }
    void Decode(const Bytes& e) {
        Decode_Narrowband_Ensemble(test::FrameOf(e, true), setup, data, kSlot, settings);
    }
    void DecodeLeader(const test::NarrowbandLeaderFields& f, const Counts& vel = {},
                      const BeamCells& pg = {}) {
        Decode(test::Narrowband(test::NarrowbandLeader(f), test::NarrowbandVelocity(vel), {}, {},
                                test::NarrowbandBeamBytes(pg)));
    }
    int16_t Vel(int beam, int bin) const { return data.VelData(beam, bin, kSlot); }

    DataSet data;
    InstrumentSetup setup;
    DecodeSettings settings;
};

TEST_F(NarrowbandDecode, ConfigurationBits) {
    struct Case {
        uint8_t config;
        bool flip;
        double resolution; // before the sound-speed factor
        int32_t systemConfig;
        uint8_t transform;
        int orientation;
    };
    // Temperature count 2048 is 20.00 degC throughout.
    const Case cases[] = {
        {0x80, false, 2.5, 17032, 0, 1},           // 1.25 doubled for frequency code 0; up-looking, beam
        {0x00, false, 5.0, 7, 24, 0},              // old format: down-looking, earth
        {0x83, false, 5.0, 17032, 24, 1},          // 2.5 doubled by the transform bit, not by frequency 0
        {0xB8, false, 1.25, 17027, 0, 1},          // frequency 3, bit 3 set: no +8
        {0x84, true, 2.5, 17032, 0, 1},            // bit 2 set: down-looking, flipped up
        {0xC6, false, 2.5, 0x4200 + 8 + 4, 24, 0}, // frequency 4, transform, down
    };
    for (const Case& c : cases) {
        test::NarrowbandLeaderFields f;
        f.Config = c.config;
        settings.FlipChecked = c.flip;
        DecodeLeader(f);
        SCOPED_TRACE(static_cast<int>(c.config));
        EXPECT_NEAR(setup.NBVelResolution, c.resolution * kSound20, 1e-12);
        EXPECT_EQ(setup.SystemConfig, c.systemConfig);
        EXPECT_EQ(setup.CoordTransform, c.transform);
        EXPECT_EQ(data.AncData(5, kSlot), c.orientation);
        EXPECT_EQ(data.AncData(3, kSlot), 2000);
    }
}

TEST_F(NarrowbandDecode, LeaderValues) {
    test::NarrowbandLeaderFields f;
    f.EnsembleNumber = 0x1234;
    f.Bit = 5;
    f.Pitch = static_cast<int16_t>(0xF000); // -4096 -> -2250 hundredths
    f.Roll = 1000;                          // 549.3 -> 549
    f.Heading = 0xC000;                     // 27000
    f.TempCount = 4095;                     // 45 - 49.988 = -4.988 degC
    DecodeLeader(f);
    EXPECT_EQ(setup.EnsembleNumber, 4660);
    EXPECT_EQ(data.EnsNumbers[kSlot], 4660);
    EXPECT_EQ(data.AncData(0, kSlot), -2250);
    EXPECT_EQ(data.AncData(1, kSlot), 549);
    EXPECT_EQ(data.AncData(2, kSlot), 27000);
    EXPECT_EQ(data.AncData(3, kSlot), -499);
    EXPECT_EQ(data.AncData(4, kSlot), 0);
    EXPECT_EQ(data.AncData(6, kSlot), 5);
    EXPECT_EQ(data.AncData(7, kSlot), 99);
    // BCD: 0x23 is 23; the year is the no-year marker 80 and hundredths are 0.
    const int time[7] = {80, 6, 23, 14, 59, 7, 0};
    for (int row = 0; row < 7; ++row) EXPECT_EQ(data.EnsTimes(row, kSlot), time[row]) << row;
    EXPECT_EQ(setup.TimePerPing[2], 50);
    EXPECT_DOUBLE_EQ(setup.CellLength, 4.0);
    EXPECT_DOUBLE_EQ(setup.Bin1Distance, 7.0); // (4 + 4) / 2 + 2 + 1
    EXPECT_TRUE(setup.BottomTrackSeen);
    for (int b = 0; b < 4; ++b) EXPECT_EQ(data.RefVelData(b, kSlot), -32768);
}

TEST_F(NarrowbandDecode, VelocityCounts) {
    test::NarrowbandLeaderFields f;
    f.NumCells = 1;
    DecodeLeader(f, {{4095, 2048, 2047, 1}}); // 2.4764 mm/s a count
    EXPECT_EQ(Vel(0, 0), -2);                 // -1 count
    EXPECT_EQ(Vel(1, 0), -32768);
    EXPECT_EQ(Vel(2, 0), 5069); // 2047 x 2.4764 = 5069.3
    EXPECT_EQ(Vel(3, 0), 2);

    settings.WaterVelScale = 10;
    DecodeLeader(f, {{4095, 2049, 2047, 0}});
    EXPECT_EQ(Vel(0, 0), -25);    // -24.76
    EXPECT_EQ(Vel(1, 0), -32767); // -2047 counts, limited
    EXPECT_EQ(Vel(2, 0), 32767);  // limited
    EXPECT_EQ(Vel(3, 0), 0);
}

TEST_F(NarrowbandDecode, BottomTrackFromTheLeader) {
    test::NarrowbandLeaderFields f;
    f.BTCounts = {100, 4000, 2048, 0};
    f.BTRange = {1000, 2000, 3000, 4000};
    DecodeLeader(f);
    EXPECT_EQ(data.BTVelData(0, kSlot), -248); // -(100 x 2.4764)
    EXPECT_EQ(data.BTVelData(1, kSlot), 238);  // -(-96 x 2.4764)
    EXPECT_EQ(data.BTVelData(2, kSlot), -32768);
    EXPECT_EQ(data.BTVelData(3, kSlot), 0);
    // 153600 / 1475.1 = 104.1285 per count
    EXPECT_EQ(data.BTRangeData(0, kSlot), 104129);
    EXPECT_EQ(data.BTRangeData(1, kSlot), 208257);
    EXPECT_EQ(data.BTRangeData(2, kSlot), 0); // no range without a velocity
    EXPECT_EQ(data.BTRangeData(3, kSlot), 416514);

    settings.BottomVelScale = 2;
    DecodeLeader(f);
    EXPECT_EQ(data.BTVelData(0, kSlot), -495); // -495.3
}

TEST_F(NarrowbandDecode, SpectrumAndAgcBlocksAsCorrelationAndIntensity) {
    test::NarrowbandLeaderFields f;
    f.NumCells = 2;
    const BeamCells spectrum{{1, 2, 2, 2}, {10, 20, 30, 40}};
    const BeamCells agc{{2, 2, 3, 3}, {100, 101, 102, 103}};
    Decode(test::Narrowband(test::NarrowbandLeader(f), test::NarrowbandVelocity({{1, 1, 1, 1}, {1, 1, 1, 1}}),
                            test::NarrowbandBeamBytes(spectrum), test::NarrowbandBeamBytes(agc), {}));
    EXPECT_EQ(data.CorrData(3, 1, kSlot), 40);
    EXPECT_EQ(data.CorrData(4, 0, kSlot), 2);
    EXPECT_EQ(data.CorrData(4, 1, kSlot), 25);
    EXPECT_EQ(data.IntensityData(0, 1, kSlot), 100);
    EXPECT_EQ(data.IntensityData(4, 0, kSlot), 2);   // 2.5 -> 2
    EXPECT_EQ(data.IntensityData(4, 1, kSlot), 102); // 101.5 -> 102
}

TEST_F(NarrowbandDecode, PercentGoodMarksVelocitiesByTransform) {
    test::NarrowbandLeaderFields f;
    f.NumCells = 2;
    const Counts vel{{1, 1, 1, 1}, {1, 1, 1, 1}};
    const BeamCells pg{{50, 60, 0, 70}, {0, 80, 90, 100}};

    DecodeLeader(f, vel, pg); // beam coordinates: each zero marks its own beam
    EXPECT_EQ(Vel(2, 0), -32768);
    EXPECT_EQ(Vel(0, 0), 2);
    EXPECT_EQ(Vel(0, 1), -32768);
    EXPECT_EQ(Vel(1, 1), 2);
    EXPECT_EQ(data.PGoodData(2, 0, kSlot), 0);
    EXPECT_EQ(data.PGoodData(3, 1, kSlot), 100);

    f.Config = 0x82; // earth coordinates: a zero first byte marks the whole bin
    DecodeLeader(f, vel, pg);
    EXPECT_EQ(Vel(2, 0), 5);
    for (int beam = 0; beam < 4; ++beam) EXPECT_EQ(Vel(beam, 1), -32768) << beam;
    EXPECT_EQ(data.PGoodData(1, 1, kSlot), 80);
}

TEST_F(NarrowbandDecode, AbsentPercentGoodLeavesTheSlotAlone) {
    test::NarrowbandLeaderFields f;
    f.NumCells = 2;
    for (int bin = 0; bin < 2; ++bin)
        for (int beam = 0; beam < 4; ++beam) data.PGoodData(beam, bin, kSlot) = 77;
    DecodeLeader(f, {{1, 1, 1, 1}, {1, 1, 1, 1}});
    for (int bin = 0; bin < 2; ++bin) {
        for (int beam = 0; beam < 4; ++beam) {
            EXPECT_EQ(data.PGoodData(beam, bin, kSlot), 77);
            EXPECT_EQ(Vel(beam, bin), 2);
        }
    }
}

TEST_F(NarrowbandDecode, AbsentBlocksTakeNoRoomAndPresentOnesSetTheirFlags) {
    // No velocity block: the spectrum block follows the leader directly.
    test::NarrowbandLeaderFields f;
    f.NumCells = 1;
    Decode(
        test::Narrowband(test::NarrowbandLeader(f), {}, test::NarrowbandBeamBytes({{9, 8, 7, 6}}), {}, {}));
    EXPECT_EQ(data.CorrData(0, 0, kSlot), 9);
    EXPECT_EQ(data.CorrData(3, 0, kSlot), 6);
    EXPECT_TRUE(setup.CorrelationSeen);
    EXPECT_FALSE(setup.VelocitySeen || setup.IntensitySeen || setup.PercentGoodSeen);
    Decode(test::Narrowband(test::NarrowbandLeader(f), test::NarrowbandVelocity({{1, 1, 1, 1}}), {},
                            test::NarrowbandBeamBytes({{5, 5, 5, 5}}),
                            test::NarrowbandBeamBytes({{9, 9, 9, 9}})));
    EXPECT_TRUE(setup.VelocitySeen && setup.IntensitySeen && setup.PercentGoodSeen);
    EXPECT_FALSE(setup.CorrelationSeen);
}

} // namespace
} // namespace mvx
