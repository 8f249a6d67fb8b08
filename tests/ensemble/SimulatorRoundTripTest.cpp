// Round trips: ensembles made by the encoder (from known contents) and by the simulated instrument are
// found and decoded by the program's readers, and every decoded value is what the contents say.
#include "RawEnsembles.h"
#include "TestSupport.h"
#include "dataset/DataSet.h"
#include "dataset/VelocityProcessing.h"
#include "ensemble/Decoder.h"
#include "ensemble/EnsembleEncoder.h"
#include "ensemble/EnsembleFile.h"
#include "ensemble/Framing.h"
#include "ensemble/InstrumentSetup.h"
#include "ensemble/Simulator.h"
#include "options/Options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace mvx {
namespace {

constexpr double kPi = 3.14159265358979323846;

int64_t Even(double v) {
    return static_cast<int64_t>(std::nearbyint(v));
}

int32_t Signed16(uint16_t w) {
    return w > 32767 ? w - 65536 : w;
}

// What a raw broadband velocity word means at scale 1.
int32_t WaterVelocity(uint16_t w) {
    return w == 0x8000 ? -32768 : Signed16(w);
}

// Writes ensembles to a file with a few noise bytes between them and reads them all back.
struct Decoded {
    std::vector<EnsembleFrame> Frames;
};

Decoded FindAll(const std::vector<std::vector<uint8_t>>& ensembles, bool narrowband) {
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
    Decoded out;
    EnsembleFrame frame;
    while (narrowband ? Find_Narrowband_Ensemble(f, frame, {}) : Find_Broadband_Ensemble(f, frame, {}))
        out.Frames.push_back(frame);
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
    c.Variable.DepthDm = U16() % 3000;
    c.Variable.Salinity = 35;
    c.Variable.Pressure = rng() % 4000000;
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
    const int rev = c.Fixed.FirmwareRevision > 99 ? c.Fixed.FirmwareRevision - 100 : c.Fixed.FirmwareRevision;
    EXPECT_NEAR(s.FirmwareVersion, c.Fixed.FirmwareVersion + rev / 100.0, 1e-9);
    EXPECT_EQ(s.SystemConfig, c.Fixed.SystemConfig);
    EXPECT_EQ(s.NumCells, c.Fixed.NumCells);
    EXPECT_EQ(s.PingsPerEnsemble, c.Fixed.PingsPerEnsemble);
    EXPECT_EQ(s.CoordTransform, c.Fixed.CoordTransform);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s.TimePerPing[i], c.Fixed.TimePerPing[i]);
    if (!s.FlowMeterFirmware) {
        EXPECT_NEAR(s.CellLength, c.Fixed.CellLength / 100.0, 1e-9);
        EXPECT_NEAR(s.Bin1Distance, c.Fixed.Bin1Distance / 100.0, 1e-9);
    }
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
    const double depth = (1.02 - 0.00069 * v.Salinity) * v.Pressure;
    const int32_t transducer = v.DepthDm * 100;
    EXPECT_EQ(d.AncData(4, slot), std::abs(Even(depth) - transducer) < 200 ? Even(depth) : transducer);
    const bool up = (c.Fixed.SystemConfig & 0x80) != 0;
    EXPECT_EQ(d.AncData(5, slot), up ? 1 : 0);
    EXPECT_EQ(d.AncData(6, slot), v.BitResult);
    EXPECT_EQ(d.AncData(7, slot), v.TransmitVoltage);

    const int n = c.Fixed.NumCells;
    for (int k = 0; k < n; ++k) {
        const int bin = up ? k : n - 1 - k;
        int sumCorr = 0, sumEcho = 0;
        for (int b = 0; b < 4; ++b) {
            const int32_t w = WaterVelocity(c.Velocity[k][b]);
            EXPECT_EQ(d.VelData(b, bin, slot), w == -32768 || w > -32767 ? w : -32767) << k << "," << b;
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

TEST(RoundTrip, BroadbandContentsComeBackFromTheDecoder) {
    std::mt19937 rng(20260614);
    for (int trial = 0; trial < 12; ++trial) {
        const bool up = trial % 2 == 1;
        std::vector<EnsembleContents> contents;
        std::vector<std::vector<uint8_t>> bytes;
        for (int i = 0; i < 3; ++i) {
            contents.push_back(RandomBroadband(rng, 1 + static_cast<int>(rng() % 60), up));
            if (i == 1) contents.back().Variable.Pressure = contents.back().Variable.DepthDm * 100 + 37;
            bytes.push_back(EncodeBroadband(contents.back()));
        }
        const Decoded found = FindAll(bytes, false);
        ASSERT_EQ(found.Frames.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            InstrumentSetup setup;
            DataSet data = SmallDataSet();
            Decode_Broadband_Ensemble(found.Frames[i], setup, data, 2, DecodeSettings{});
            EXPECT_TRUE(setup.FixedLeaderSeen && setup.VariableLeaderSeen && setup.VelocitySeen &&
                        setup.CorrelationSeen && setup.IntensitySeen && setup.PercentGoodSeen);
            EXPECT_FALSE(setup.BottomTrackSeen || setup.NavigationSeen || setup.TextBlockSeen);
            EXPECT_EQ(setup.BeamAngleFromLeader, 20);
            ExpectBroadbandDecoded(contents[i], setup, data, 2);
        }
    }
}

TEST(RoundTrip, BroadbandOptionalBlocksComeBackFromTheDecoder) {
    std::mt19937 rng(7);
    EnsembleContents c = RandomBroadband(rng, 12, false);
    c.HasBottomTrack = c.HasText = c.HasNavigation = true;
    c.BottomTrack.Range = {0x012345, 2000, 0, 0x00FFFF};
    c.BottomTrack.Velocity = {0xFFF6, 10, kBadVelocityWord, 0x8001};
    c.BottomTrack.RefVelocity = {kBadVelocityWord, 300, 0xFED4, 0};
    c.BottomTrack.Pings = 3;
    c.BottomTrack.CorrMin = 200;
    c.BottomTrack.ErrMax = 1500;
    c.BottomTrack.MaxDepth = 800;
    c.BottomTrack.CarriesPosition = true;
    c.BottomTrack.Latitude = 0x23456789;
    c.BottomTrack.Longitude = -0x0ABCDEF1;
    c.Text = " 12.3456,  3.90000,    0.500, 35.0001";
    c.Navigation.FirstLatitude = 573000000;
    c.Navigation.FirstLongitude = -58000000;
    c.Navigation.LastLatitude = 573000100;
    c.Navigation.LastLongitude = -57999900;
    c.Navigation.SpeedMadeGood = 40000;      // limited to 32767
    c.Navigation.DirectionMadeGood = 0x2000; // 45 degrees

    const Decoded found = FindAll({EncodeBroadband(c)}, false);
    ASSERT_EQ(found.Frames.size(), 1u);
    InstrumentSetup s;
    DataSet d = SmallDataSet();
    Decode_Broadband_Ensemble(found.Frames[0], s, d, 0, DecodeSettings{});
    ExpectBroadbandDecoded(c, s, d, 0);
    EXPECT_TRUE(s.BottomTrackSeen && s.TextBlockSeen && s.NavigationSeen);
    EXPECT_EQ(s.BTPings, 3);
    EXPECT_EQ(s.BTCorrMin, 200);
    EXPECT_EQ(s.BTErrMax, 1500);
    EXPECT_EQ(s.BTMaxDepth, 800);
    const int32_t ranges[4] = {0x012345, 2000, 0, 0xFFFF};
    const int32_t bt[4] = {10, -10, -32768, 32767};
    const int32_t ref[4] = {-32768, -300, 300, 0};
    for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(d.BTRangeData(b, 0), ranges[b]) << b;
        EXPECT_EQ(d.BTVelData(b, 0), bt[b]) << b;
        EXPECT_EQ(d.RefVelData(b, 0), ref[b]) << b;
        EXPECT_EQ(d.RefVelWork(b, 0), ref[b]) << b;
    }
    EXPECT_EQ(d.LatData[0], 0x23456789);
    EXPECT_EQ(d.LonData[0], -0x0ABCDEF1);
    EXPECT_EQ(d.TextData[0], c.Text);
    EXPECT_EQ(d.NavFirstLat[0], 573000000);
    EXPECT_EQ(d.NavFirstLon[0], -58000000);
    EXPECT_EQ(d.NavLastLat[0], 573000100);
    EXPECT_EQ(d.NavLastLon[0], -57999900);
    EXPECT_EQ(d.NavData(4, 0), 32767);
    EXPECT_EQ(d.NavData(5, 0), 450);
    EXPECT_EQ(d.NavData(0, 0), Even(32767 * std::sin(kPi / 4)));
    EXPECT_EQ(d.NavData(1, 0), Even(32767 * std::cos(kPi / 4)));
}

TEST(RoundTrip, FlowMeterBlockNeedsFlowMeterFirmware) {
    std::mt19937 rng(11);
    EnsembleContents c = RandomBroadband(rng, 5, false);
    c.HasFlowMeter = true;
    c.FlowMeter = {25000, 601, 640, 0x00123456};
    c.Fixed.FirmwareVersion = 6;
    c.Fixed.FirmwareRevision = 5;
    c.Fixed.CellLength = 100;
    c.Fixed.Bin1Distance = 200;
    const Decoded found = FindAll({EncodeBroadband(c)}, false);
    ASSERT_EQ(found.Frames.size(), 1u);
    InstrumentSetup s;
    DataSet d = SmallDataSet();
    Decode_Broadband_Ensemble(found.Frames[0], s, d, 1, DecodeSettings{});
    EXPECT_TRUE(s.FlowMeterFirmware);
    EXPECT_TRUE(s.FlowMeterSeen);
    const double c30x20 = std::cos(30 * kPi / 180) * std::cos(20 * kPi / 180);
    EXPECT_NEAR(s.CellLength, 1.0 * c30x20, 1e-9);
    EXPECT_NEAR(s.Bin1Distance, 2.0 * c30x20, 1e-9);
    EXPECT_EQ(d.FlowMeterDepth[1], 25000);
    EXPECT_EQ(d.FlowMeterVel[1], 620); // (601 + 640) / 2 = 620.5, halves to even
    EXPECT_EQ(d.FlowMeterQ[1], 0x00123456);
    EXPECT_EQ(d.FlowMeterStamp(0, 1), 19);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(d.FlowMeterStamp(1 + i, 1), d.EnsTimes(i, 1));

    // The same block under ordinary firmware is not read.
    c.Fixed.FirmwareVersion = 51;
    const Decoded plain = FindAll({EncodeBroadband(c)}, false);
    InstrumentSetup s2;
    DataSet d2 = SmallDataSet();
    Decode_Broadband_Ensemble(plain.Frames[0], s2, d2, 1, DecodeSettings{});
    EXPECT_FALSE(s2.FlowMeterSeen);
    EXPECT_EQ(d2.FlowMeterDepth[1], 0);
}

// Narrowband contents with a given configuration byte.
EnsembleContents RandomNarrowband(std::mt19937& rng, int cells, uint8_t config) {
    EnsembleContents c;
    c.Fixed.NumCells = static_cast<uint8_t>(cells);
    c.Fixed.PingsPerEnsemble = static_cast<uint16_t>(rng() & 0xFFFF);
    c.Fixed.TimePerPing[0] = 1;
    c.Fixed.TimePerPing[1] = 59;
    c.Fixed.TimePerPing[2] = 7;
    c.Variable.Month = 11;
    c.Variable.Day = 30;
    c.Variable.Hour = 9;
    c.Variable.Minute = 45;
    c.Variable.Second = 3;
    c.Variable.EnsembleNumber = rng() & 0xFFFF;
    c.Variable.BitResult = rng() & 0xFF;
    c.Variable.TransmitVoltage = static_cast<uint8_t>(rng());
    NarrowbandLeaderContents& nb = c.Narrowband;
    nb.ConfigByte = config;
    nb.BinLengthCode = static_cast<uint8_t>(rng() % 4);
    nb.TransmitLength = static_cast<uint8_t>(rng() % 8);
    nb.Blank = static_cast<uint8_t>(rng() % 8);
    nb.Delay = static_cast<uint8_t>(rng() % 8);
    nb.PitchWord = static_cast<uint16_t>(rng());
    nb.RollWord = static_cast<uint16_t>(rng());
    nb.HeadingWord = static_cast<uint16_t>(rng());
    nb.TemperatureCount = static_cast<uint16_t>(1000 + rng() % 3000);
    nb.BTVelocity = {2048, 4095, 1, static_cast<uint16_t>(rng() & 0xFFF)};
    nb.BTRange = {100, 24, 0xFFFF, static_cast<uint16_t>(rng())};
    for (int k = 0; k < cells; ++k) {
        std::array<uint16_t, 4> v;
        std::array<uint8_t, 4> corr, echo, pg;
        for (int b = 0; b < 4; ++b) {
            v[b] = rng() % 9 == 0 ? 2048 : static_cast<uint16_t>(rng() & 0xFFF);
            corr[b] = static_cast<uint8_t>(rng());
            echo[b] = static_cast<uint8_t>(rng());
            pg[b] = rng() % 5 == 0 ? 0 : static_cast<uint8_t>(rng());
        }
        c.Velocity.push_back(v);
        c.Correlation.push_back(corr);
        c.Echo.push_back(echo);
        c.PercentGood.push_back(pg);
    }
    return c;
}

TEST(RoundTrip, NarrowbandContentsComeBackFromTheDecoder) {
    std::mt19937 rng(1536);
    const uint8_t configs[] = {0xA6, 0xA0, 0x80, 0x83, 0xF7, 0x22};
    for (uint8_t config : configs) {
        const EnsembleContents c = RandomNarrowband(rng, 1 + static_cast<int>(rng() % 50), config);
        const Decoded found = FindAll({EncodeNarrowband(c)}, true);
        ASSERT_EQ(found.Frames.size(), 1u) << int(config);
        InstrumentSetup s;
        DataSet d = SmallDataSet();
        Decode_Narrowband_Ensemble(found.Frames[0], s, d, 3, DecodeSettings{});
        const NarrowbandLeaderContents& nb = c.Narrowband;

        // Expected set-up from the configuration byte.
        double res;
        bool up;
        int coord, config16;
        const int f = (config >> 4) & 7;
        if (config & 0x80) {
            res = (config & 1) ? 2.5 : 1.25;
            coord = (config & 2) ? 24 : 0;
            if (config & 2) res *= 2;
            if (f == 0 && !(config & 1)) res *= 2;
            up = !(config & 4);
            config16 = 0x4200 + (up ? 128 : 0) + ((config & 8) ? 0 : 8) + f;
        } else {
            res = 5.0;
            coord = 24;
            up = false;
            config16 = 7;
        }
        const double t = 45 - nb.TemperatureCount * 50.0 / 4096;
        res *= (1449.2 + 4.6 * t - 0.055 * t * t + 0.00029 * t * t * t) / 1536;
        EXPECT_NEAR(s.NBVelResolution, res, 1e-9) << int(config);
        EXPECT_EQ(s.SystemConfig, config16) << int(config);
        EXPECT_EQ(s.CoordTransform, coord);
        EXPECT_EQ(d.AncData(5, 3), up ? 1 : 0);
        EXPECT_EQ(d.AncData(3, 3), Even(t * 100));
        EXPECT_EQ(d.AncData(4, 3), 0);
        EXPECT_EQ(d.AncData(6, 3), c.Variable.BitResult);
        EXPECT_EQ(d.AncData(7, 3), c.Variable.TransmitVoltage);
        EXPECT_EQ(d.AncData(0, 3), Even(Signed16(nb.PitchWord) * 36000.0 / 65536));
        EXPECT_EQ(d.AncData(1, 3), Even(Signed16(nb.RollWord) * 36000.0 / 65536));
        EXPECT_EQ(d.AncData(2, 3), Even(nb.HeadingWord * 36000.0 / 65536));
        const int times[7] = {80, 11, 30, 9, 45, 3, 0};
        for (int i = 0; i < 7; ++i) EXPECT_EQ(d.EnsTimes(i, 3), times[i]) << i;
        EXPECT_EQ(s.TimePerPing[0], 1);
        EXPECT_EQ(s.TimePerPing[1], 59);
        EXPECT_EQ(s.TimePerPing[2], 7);
        EXPECT_EQ(s.PingsPerEnsemble, c.Fixed.PingsPerEnsemble);
        EXPECT_EQ(s.NumCells, c.Fixed.NumCells);
        const double length = std::ldexp(1.0, nb.BinLengthCode);
        EXPECT_NEAR(s.CellLength, length, 1e-12);
        EXPECT_NEAR(s.Bin1Distance, (nb.TransmitLength + length) / 2 + nb.Blank + nb.Delay, 1e-12);
        EXPECT_EQ(d.EnsNumbers[3], static_cast<int32_t>(c.Variable.EnsembleNumber));
        EXPECT_TRUE(s.BottomTrackSeen);

        auto Velocity = [&](uint16_t count) -> int32_t {
            if (count == 2048) return -32768;
            const double v = (count > 2048 ? count - 4096.0 : count) * res;
            return static_cast<int32_t>(Even(std::clamp(v, -32767.0, 32767.0)));
        };
        for (int b = 0; b < 4; ++b) {
            const int32_t bt = nb.BTVelocity[b] == 2048 ? -32768 : -Velocity(nb.BTVelocity[b]);
            EXPECT_EQ(d.BTVelData(b, 3), bt) << b;
            EXPECT_EQ(d.BTRangeData(b, 3), bt == -32768 ? 0 : Even(nb.BTRange[b] * 153600.0 / 1475.1)) << b;
            EXPECT_EQ(d.RefVelData(b, 3), -32768);
        }
        const int n = c.Fixed.NumCells;
        for (int k = 0; k < n; ++k) {
            const int bin = up ? k : n - 1 - k;
            for (int b = 0; b < 4; ++b) {
                int32_t expected = Velocity(c.Velocity[k][b]);
                if (coord == 0 && c.PercentGood[k][b] == 0) expected = -32768;
                if (coord == 24 && c.PercentGood[k][0] == 0) expected = -32768;
                EXPECT_EQ(d.VelData(b, bin, 3), expected)
                    << "config " << int(config) << " cell " << k << " beam " << b;
                EXPECT_EQ(d.CorrData(b, bin, 3), c.Correlation[k][b]);
                EXPECT_EQ(d.IntensityData(b, bin, 3), c.Echo[k][b]);
                EXPECT_EQ(d.PGoodData(b, bin, 3), c.PercentGood[k][b]);
            }
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
        if (spec.Navigation) {
            EXPECT_TRUE(s.NavigationSeen);
            // A surface platform drifts; a head on the bottom stays put.
            if (spec.UpLooking) {
                EXPECT_EQ(d.NavData(4, 0), 0);
            } else {
                EXPECT_GT(d.NavData(4, 0), 0);
            }
        }
        if (spec.TextBlock) {
            EXPECT_FALSE(d.TextData[0].empty());
        }
    }
    int undamaged = 0;
    for (const auto& e : raw) undamaged += e.ChecksumOk;
    EXPECT_EQ(found, undamaged);
    EXPECT_LT(undamaged, spec.Ensembles + (spec.DamageEvery == 0 ? 1 : 0));
}

TEST(RoundTrip, SimulatedBroadbandFileWithStrayBytesAndDamage) {
    SimulationSpec spec;
    spec.Ensembles = 60;
    spec.StrayBytes = 23;
    spec.DamageEvery = 9;
    spec.Navigation = spec.TextBlock = true;
    CheckSimulatedFile(spec);
    spec.UpLooking = true;
    spec.BeamCoordinates = true;
    spec.Seed = 5;
    CheckSimulatedFile(spec);
}

TEST(RoundTrip, SimulatedNarrowbandFileWithStrayBytesAndDamage) {
    SimulationSpec spec;
    spec.Ensembles = 60;
    spec.Narrowband = true;
    spec.StrayBytes = 17;
    spec.DamageEvery = 8;
    CheckSimulatedFile(spec);
    spec.UpLooking = true;
    spec.Seed = 9;
    CheckSimulatedFile(spec);
}

TEST(RoundTrip, NarrowbandSimulatedFilesHoldNoBroadbandEnsemble) {
    // The structure test tries broadband first: a narrowband file must not look like one.
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        SimulationSpec spec;
        spec.Ensembles = 30;
        spec.Narrowband = true;
        spec.UpLooking = seed % 2 == 0;
        spec.Seed = seed;
        spec.StrayBytes = seed % 3 == 0 ? 10 : 0;
        std::vector<uint8_t> bytes;
        Simulator sim(spec);
        while (sim.Next(bytes)) {
        }
        const auto path = test::ScratchDir() / "nb.000";
        test::WriteAll(path, bytes);
        EnsembleFile file;
        ASSERT_TRUE(file.Open(path.string()));
        EnsembleFrame frame;
        EXPECT_FALSE(Find_Broadband_Ensemble(file, frame, {})) << "seed " << seed;
    }
}

std::vector<EnsembleFrame> SimulatedFrames(const SimulationSpec& spec) {
    std::vector<uint8_t> bytes;
    Simulator sim(spec);
    while (sim.Next(bytes)) {
    }
    const auto path = test::ScratchDir() / "frames.000";
    test::WriteAll(path, bytes);
    EnsembleFile file;
    EXPECT_TRUE(file.Open(path.string()));
    EnsembleFrame frame;
    std::vector<EnsembleFrame> out;
    while (Find_Broadband_Ensemble(file, frame, {})) out.push_back(frame);
    return out;
}

TEST(RoundTrip, BeamFileTransformedToEarthMatchesTheEarthFileOfTheSameSeed) {
    for (bool up : {false, true}) {
        SimulationSpec spec;
        spec.Ensembles = 80;
        spec.UpLooking = up;
        const auto earth = SimulatedFrames(spec);
        spec.BeamCoordinates = true;
        const auto beam = SimulatedFrames(spec);
        ASSERT_EQ(earth.size(), 80u);
        ASSERT_EQ(beam.size(), 80u);
        Options options;
        options.VelocityReference = 0;
        double sum = 0;
        int compared = 0;
        for (size_t i = 0; i < earth.size(); ++i) {
            InstrumentSetup se, sb;
            DataSet de = SmallDataSet(), db = SmallDataSet();
            Decode_Broadband_Ensemble(earth[i], se, de, 0, DecodeSettings{});
            Decode_Broadband_Ensemble(beam[i], sb, db, 0, DecodeSettings{});
            Process_Velocities(se, options, de, 0);
            Process_Velocities(sb, options, db, 0);
            for (int bin = 0; bin < spec.Cells; ++bin) {
                bool bad = false;
                for (int r = 0; r < 3; ++r)
                    bad = bad || de.VelData(r, bin, 0) == -32768 || db.VelData(r, bin, 0) == -32768;
                if (bad) continue;
                for (int r = 0; r < 3; ++r) {
                    const double diff = std::fabs(de.VelData(r, bin, 0) - db.VelData(r, bin, 0));
                    EXPECT_LT(diff, 80) << "up " << up << " ensemble " << i << " bin " << bin << " row " << r;
                    sum += diff;
                    ++compared;
                }
            }
            // The bottom (or surface) track of a drifting platform, too.
            for (int r = 0; r < 3; ++r) EXPECT_NEAR(db.BTVelData(r, 0), de.BTVelData(r, 0), 25) << i;
        }
        ASSERT_GT(compared, 3000);
        EXPECT_LT(sum / compared, 12) << "up " << up;
    }
}

} // namespace
} // namespace mvx
