// Round trips: ensembles made by the encoder (from known contents) and by the simulated instrument are
// found and decoded by the program's readers, and every decoded value is what the contents say.
#include "RawEnsembles.h"
#include "TestSupport.h"
#include "ensemble/Decoder.h"
#include "ensemble/EnsembleFile.h"
#include "ensemble/Framing.h"
#include "model/DataSet.h"
#include "model/InstrumentSetup.h"
#include "simulator/EnsembleEncoder.h"
#include "simulator/Simulator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace mvx {
namespace {

const double kCos30x20 =
    std::cos(30 * 3.14159265358979323846 / 180) * std::cos(20 * 3.14159265358979323846 / 180);

int64_t Even(double v) {
    return static_cast<int64_t>(std::nearbyint(v));
}

// What a raw broadband velocity word means at scale 1.
int32_t WaterVelocity(uint16_t w) {
    return w == 0x8000 ? -32768 : static_cast<int16_t>(w);
}

// Writes broadband ensembles to a file with a few noise bytes between them and finds them all again.
std::vector<EnsembleFrame> FindAll(const std::vector<std::vector<uint8_t>>& ensembles) {
    std::vector<uint8_t> file;
    const uint8_t noise[] = {0x00, 0x12, 0xFE, 0x80};
    for (const auto& e : ensembles) {
        file.insert(file.end(), e.begin(), e.end());
        file.insert(file.end(), noise, noise + 4);
    }
    const auto path = test::ScratchDir() / "round.000";
    test::WriteAll(path, file);
    EnsembleFile f;
    EXPECT_TRUE(f.Open(path.string()));
    std::vector<EnsembleFrame> out;
    EnsembleFrame frame;
    while (Find_Broadband_Ensemble(f, frame, {})) out.push_back(frame);
    return out;
}

DataSet SmallDataSet() {
    DataSet data;
    Allocate_Data_Set(data, 4, 4, false);
    return data;
}

// Contents with values spread over their ranges, including the edge words the readers treat apart.
EnsembleContents RandomBroadband(std::mt19937& rng, int cells, bool up) {
    auto U16 = [&] { return static_cast<uint16_t>(rng() & 0xFFFF); };
    auto U8 = [&] { return static_cast<uint8_t>(rng() & 0xFF); };
    EnsembleContents c;
    c.Fixed.NumCells = static_cast<uint8_t>(cells);
    c.Fixed.SystemConfig = up ? 0x41CB : 0x414B;
    c.Fixed.FirmwareVersion = 16;
    c.Fixed.FirmwareRevision = 105; // 16.05
    c.Fixed.PingsPerEnsemble = U16();
    c.Fixed.CellLength = 1 + U16() % 2000;
    c.Fixed.Bin1Distance = U16();
    c.Fixed.XmitPulseLength = U16();
    c.Fixed.LagDistance = U16();
    c.Fixed.CoordTransform = U8();
    c.Fixed.TimePerPing[0] = U8() % 60;
    c.Fixed.TimePerPing[1] = U8() % 60;
    c.Fixed.TimePerPing[2] = U8() % 100;
    c.Variable.EnsembleNumber = rng() & 0xFFFFFF;
    c.Variable.Year = 126; // years since 1900 reduce to 26
    c.Variable.Month = 12;
    c.Variable.Day = 31;
    c.Variable.Hour = 23;
    c.Variable.Minute = 59;
    c.Variable.Second = 58;
    c.Variable.Hundredths = 99;
    c.Variable.BitResult = U16();
    c.Variable.Heading = U16() % 36000;
    c.Variable.Pitch = static_cast<int16_t>(U16());
    c.Variable.Roll = static_cast<int16_t>(U16());
    c.Variable.Temperature = static_cast<int16_t>(U16());
    c.Variable.TransmitVoltage = U8();
    c.Variable.DepthDm = 2 + U16() % 3000; // no pressure: the transducer depth stays
    const uint16_t edges[] = {0x8000, 0x8001, 0x7FFF, 0x0000, 0xFFFF};
    for (int k = 0; k < cells; ++k) {
        std::array<uint16_t, 4> v;
        std::array<uint8_t, 4> corr, echo, pg;
        for (int b = 0; b < 4; ++b) {
            v[b] = rng() % 7 == 0 ? edges[rng() % 5] : U16();
            corr[b] = U8();
            echo[b] = U8();
            pg[b] = U8();
        }
        c.Velocity.push_back(v);
        c.Correlation.push_back(corr);
        c.Echo.push_back(echo);
        c.PercentGood.push_back(pg);
    }
    return c;
}

void ExpectBroadbandDecoded(const EnsembleContents& c, const InstrumentSetup& s, const DataSet& d, int slot) {
    EXPECT_EQ(s.SystemConfig, c.Fixed.SystemConfig);
    EXPECT_EQ(s.NumCells, c.Fixed.NumCells);
    EXPECT_EQ(s.PingsPerEnsemble, c.Fixed.PingsPerEnsemble);
    EXPECT_EQ(s.CoordTransform, c.Fixed.CoordTransform);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s.TimePerPing[i], c.Fixed.TimePerPing[i]);
    if (!s.FlowMeterFirmware) {
        EXPECT_NEAR(s.CellLength, c.Fixed.CellLength / 100.0, 1e-9);
        EXPECT_NEAR(s.Bin1Distance, c.Fixed.Bin1Distance / 100.0, 1e-9);
    }
    EXPECT_NEAR(s.Bin1DistanceCos30x20, c.Fixed.Bin1Distance / 100.0 * kCos30x20, 1e-9);
    EXPECT_NEAR(s.XmitPulseLength, c.Fixed.XmitPulseLength / 100.0, 1e-9);
    EXPECT_NEAR(s.XmitLagDistance, c.Fixed.LagDistance / 100.0, 1e-9);
    EXPECT_EQ(s.EnsembleNumber, static_cast<int32_t>(c.Variable.EnsembleNumber));
    EXPECT_EQ(d.EnsNumbers[slot], static_cast<int32_t>(c.Variable.EnsembleNumber));

    const VariableLeaderContents& v = c.Variable;
    const int clock[7] = {
        v.Year > 99 ? v.Year - 100 : v.Year, v.Month, v.Day, v.Hour, v.Minute, v.Second, v.Hundredths};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(d.EnsTimes(i, slot), clock[i]) << "time " << i;
    EXPECT_EQ(d.AncData(0, slot), v.Pitch);
    EXPECT_EQ(d.AncData(1, slot), v.Roll);
    EXPECT_EQ(d.AncData(2, slot), v.Heading);
    EXPECT_EQ(d.AncData(3, slot), v.Temperature);
    EXPECT_EQ(d.AncData(4, slot), v.DepthDm * 100);
    const bool up = (c.Fixed.SystemConfig & 0x80) != 0;
    EXPECT_EQ(d.AncData(5, slot), up ? 1 : 0);
    EXPECT_EQ(d.AncData(6, slot), v.BitResult);
    EXPECT_EQ(d.AncData(7, slot), v.TransmitVoltage);

    const int n = c.Fixed.NumCells;
    for (int k = 0; k < n; ++k) {
        const int bin = up ? k : n - 1 - k;
        int sumCorr = 0, sumEcho = 0;
        for (int b = 0; b < 4; ++b) {
            EXPECT_EQ(d.VelData(b, bin, slot), WaterVelocity(c.Velocity[k][b])) << k << "," << b;
            EXPECT_EQ(d.CorrData(b, bin, slot), c.Correlation[k][b]);
            EXPECT_EQ(d.IntensityData(b, bin, slot), c.Echo[k][b]);
            EXPECT_EQ(d.PGoodData(b, bin, slot), c.PercentGood[k][b]);
            sumCorr += c.Correlation[k][b];
            sumEcho += c.Echo[k][b];
        }
        EXPECT_EQ(d.CorrData(4, bin, slot), Even(sumCorr / 4.0)) << k;
        EXPECT_EQ(d.IntensityData(4, bin, slot), Even(sumEcho / 4.0)) << k;
    }
}

TEST(RoundTrip, EveryBroadbandDataTypeComesBackFromTheDecoder) {
    std::mt19937 rng(7);
    for (bool flowMeter : {false, true}) {
        SCOPED_TRACE(flowMeter ? "flow-meter firmware, up-looking" : "down-looking");
        EnsembleContents c = RandomBroadband(rng, flowMeter ? 40 : 12, flowMeter);
        c.HasBottomTrack = c.HasText = c.HasNavigation = true;
        c.BottomTrack.Range = {0x012345, 2000, 0, 0x00FFFF};
        c.BottomTrack.Velocity = {0xFFF6, 10, kBadVelocityWord, 0x8001};
        c.BottomTrack.RefVelocity = {kBadVelocityWord, 300, 0xFED4, 0};
        c.BottomTrack.Pings = 3;
        c.BottomTrack.MaxDepth = 800;
        c.BottomTrack.CarriesPosition = true;
        c.BottomTrack.Latitude = 0x23456789;
        c.BottomTrack.Longitude = -0x0ABCDEF1;
        c.Text = " 12.3456,  3.90000,    0.500, 35.0001";
        c.Navigation.FirstLongitude = -58000000;
        c.Navigation.LastLatitude = 573000100;
        c.Navigation.SpeedMadeGood = 40000;      // limited to 32767
        c.Navigation.DirectionMadeGood = 0x2000; // 45 degrees
        if (flowMeter) {
            c.HasFlowMeter = true;
            c.FlowMeter = {25000, 601, 640, 0x00123456};
            c.Fixed.FirmwareVersion = 6;
            c.Fixed.FirmwareRevision = 5;
            c.Fixed.CellLength = 100;
            c.Fixed.Bin1Distance = 200;
        }
        const auto found = FindAll({EncodeBroadband(c), EncodeBroadband(c)});
        ASSERT_EQ(found.size(), 2u);
        InstrumentSetup s;
        DataSet d = SmallDataSet();
        Decode_Broadband_Ensemble(found[1], s, d, 2, DecodeSettings{});
        ExpectBroadbandDecoded(c, s, d, 2);
        EXPECT_TRUE(s.BottomTrackSeen && s.TextBlockSeen && s.NavigationSeen);
        EXPECT_EQ(s.BeamAngleFromLeader, 20);
        EXPECT_EQ(s.BTPings, 3);
        EXPECT_EQ(s.BTMaxDepth, 800);
        const int32_t ranges[4] = {0x012345, 2000, 0, 0xFFFF};
        const int32_t bt[4] = {10, -10, -32768, 32767};
        const int32_t ref[4] = {-32768, -300, 300, 0};
        for (int b = 0; b < 4; ++b) {
            EXPECT_EQ(d.BTRangeData(b, 2), ranges[b]) << b;
            EXPECT_EQ(d.BTVelData(b, 2), bt[b]) << b;
            EXPECT_EQ(d.RefVelData(b, 2), ref[b]) << b;
        }
        EXPECT_EQ(d.LatData[2], 0x23456789);
        EXPECT_EQ(d.LonData[2], -0x0ABCDEF1);
        EXPECT_EQ(d.TextData[2], c.Text);
        EXPECT_EQ(d.NavFirstLon[2], -58000000);
        EXPECT_EQ(d.NavLastLat[2], 573000100);
        EXPECT_EQ(d.NavData(4, 2), 32767);
        EXPECT_EQ(d.NavData(5, 2), 450);
        EXPECT_EQ(d.NavData(0, 2), 23170); // 32767 x sin 45 = 23169.8
        EXPECT_EQ(s.FlowMeterSeen, flowMeter);
        EXPECT_EQ(s.FlowMeterFirmware, flowMeter);
        EXPECT_DOUBLE_EQ(s.FirmwareVersion, flowMeter ? 6.05 : 16.05); // revision 105 is 05
        if (flowMeter) {
            EXPECT_NEAR(s.CellLength, 1.0 * kCos30x20, 1e-9);
            EXPECT_NEAR(s.Bin1Distance, 2.0 * kCos30x20, 1e-9);
            EXPECT_EQ(d.FlowMeterDepth[2], 25000);
            EXPECT_EQ(d.FlowMeterVel[2], 620); // (601 + 640) / 2 = 620.5, halves to even
            EXPECT_EQ(d.FlowMeterQ[2], 0x00123456);
            for (int i = 0; i < 7; ++i) EXPECT_EQ(d.FlowMeterStamp(1 + i, 2), d.EnsTimes(i, 2));
        }
    }
}

// The simulated instrument's files through the program's search and decoders: every undamaged ensemble
// is found in order, and its decoded values are the bytes the file holds.
void CheckSimulatedFile(const SimulationSpec& spec) {
    std::vector<uint8_t> bytes;
    Simulator sim(spec);
    while (sim.Next(bytes)) {
    }
    const auto path = test::ScratchDir() / "simulated.000";
    test::WriteAll(path, bytes);
    const auto raw = test::SplitFile(bytes, static_cast<size_t>(spec.StrayBytes), spec.Narrowband);
    ASSERT_EQ(raw.size(), static_cast<size_t>(spec.Ensembles));

    EnsembleFile file;
    ASSERT_TRUE(file.Open(path.string()));
    EnsembleFrame frame;
    // The structure test tries broadband first: a narrowband file must not look like one.
    if (spec.Narrowband) {
        EXPECT_FALSE(Find_Broadband_Ensemble(file, frame, {}));
    }
    file.Seek(1);
    size_t next = 0;
    int found = 0;
    while (spec.Narrowband ? Find_Narrowband_Ensemble(file, frame, {})
                           : Find_Broadband_Ensemble(file, frame, {})) {
        while (next < raw.size() && !raw[next].ChecksumOk) ++next; // damaged ones are skipped
        ASSERT_LT(next, raw.size());
        const test::RawEnsemble& e = raw[next++];
        ASSERT_EQ(static_cast<size_t>(frame.EnsembleBytes), e.Length);
        ASSERT_TRUE(std::equal(e.Bytes, e.Bytes + e.Length + 2, frame.EnsembleBuffer.begin()));
        ++found;

        InstrumentSetup s;
        DataSet d = SmallDataSet();
        bool valid = true;
        Decode_Ensemble(spec.Narrowband ? kNarrowband : kBroadband, frame, s, d, 0, DecodeSettings{}, valid);
        const int cells = spec.Cells;
        ASSERT_EQ(s.NumCells, cells);
        EXPECT_EQ(s.LooksUp(), spec.UpLooking);
        EXPECT_TRUE(s.BottomTrackSeen);
        if (spec.Narrowband) {
            const uint8_t* vel = e.Bytes + 14 + test::Be16(e.Bytes + 2);
            for (int k = 0; k < cells; ++k) {
                const int count = vel[6 * k] * 16 + (vel[6 * k + 1] >> 4);
                const int bin = spec.UpLooking ? k : cells - 1 - k;
                EXPECT_EQ(d.VelData(0, bin, 0) == -32768, count == 2048) << k;
            }
            EXPECT_EQ(d.EnsNumbers[0], static_cast<int32_t>(test::Be16(e.Bytes + 14 + 15)));
            continue;
        }
        const long v = e.Find(0x0100);
        for (int k = 0; k < cells; ++k)
            for (int b = 0; b < 4; ++b) {
                const int bin = spec.UpLooking ? k : cells - 1 - k;
                EXPECT_EQ(d.VelData(b, bin, 0), WaterVelocity(test::Le16(e.Bytes + v + 2 + 8 * k + 2 * b)));
            }
        const uint8_t* vl = e.Bytes + e.Find(0x0080);
        EXPECT_EQ(d.EnsNumbers[0], static_cast<int32_t>(test::Le16(vl + 2) | vl[11] << 16));
        // The pressure sensor agrees with the transducer depth, so the depth comes from pressure.
        EXPECT_NEAR(d.AncData(4, 0), test::Le16(vl + 16) * 100, 200);
        EXPECT_EQ(s.NavigationSeen, spec.Navigation);
        EXPECT_EQ(d.TextData[0].empty(), !spec.TextBlock);
    }
    int undamaged = 0;
    for (const auto& e : raw) undamaged += e.ChecksumOk;
    EXPECT_EQ(found, undamaged);
    EXPECT_LT(undamaged, spec.Ensembles + (spec.DamageEvery == 0 ? 1 : 0));
}

TEST(RoundTrip, SimulatedFilesWithStrayBytesAndDamage) {
    struct Case {
        bool narrowband, up, beam;
        int stray, damageEvery;
        uint32_t seed;
    };
    const Case cases[] = {{false, false, false, 23, 9, 1},
                          {false, true, true, 23, 9, 5},
                          {true, false, false, 17, 8, 1},
                          {true, true, false, 17, 8, 9}};
    for (const Case& c : cases) {
        SimulationSpec spec;
        spec.Ensembles = 60;
        spec.Narrowband = c.narrowband;
        spec.UpLooking = c.up;
        spec.BeamCoordinates = c.beam;
        spec.StrayBytes = c.stray;
        spec.DamageEvery = c.damageEvery;
        spec.Seed = c.seed;
        spec.Navigation = spec.TextBlock = !c.narrowband;
        SCOPED_TRACE(testing::Message() << "narrowband " << c.narrowband << " up " << c.up);
        CheckSimulatedFile(spec);
    }
}

} // namespace
} // namespace mvx
