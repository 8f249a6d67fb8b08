// End of profile and velocity processing of one loaded ensemble (30 cells), as the loader runs them.
#include "dataset/VelocityProcessing.h"
#include "model/DataSet.h"
#include "model/InstrumentSetup.h"
#include "model/Options.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using namespace mvx;

constexpr int kCells = 30;
constexpr int kSlot = 7;

struct Loaded {
    DataSet data;
    InstrumentSetup setup;
    Options options;
    std::vector<int16_t> rawVel, rawBottom, rawLayer;

    Loaded(double pitch, double roll, uint8_t coordTransform) {
        Allocate_Data_Set(data, 128, 128, false);
        setup.NumCells = kCells;
        setup.SystemConfig = 0x100; // down-looking, 20-degree beams
        setup.CoordTransform = coordTransform;
        setup.CellLength = 1.0;
        setup.Bin1Distance = 2.0;
        setup.XmitPulseLength = 1.0;
        setup.BottomTrackSeen = setup.IntensitySeen = true;
        options.EndOfProfile[kEopBTDepth] = options.EndOfProfile[kEopRssiBump] = true;
        options.EndOfProfile[kEopCosBeamAngle] = true;
        options.VelocityReference = 1;
        data.AncData(0, kSlot) = static_cast<int32_t>(pitch * 100);
        data.AncData(1, kSlot) = static_cast<int32_t>(roll * 100);
        data.AncData(2, kSlot) = 12345;
        for (int bin = 0; bin < kCells; ++bin)
            for (int b = 0; b < 4; ++b) {
                data.VelData(b, bin, kSlot) = static_cast<int16_t>((b * 97 + bin * 31) % 400 - 200);
                data.IntensityData(b, bin, kSlot) =
                    static_cast<uint8_t>(bin == 5 || bin == 6 ? 120 : 60 + bin);
            }
        for (int b = 0; b < 4; ++b) {
            data.BTRangeData(b, kSlot) = 3500 + 10 * b; // bottom beyond the profile's 30 cells
            data.BTVelData(b, kSlot) = static_cast<int16_t>(150 - 60 * b);
            data.RefVelData(b, kSlot) = static_cast<int16_t>(-80 + 30 * b);
        }
        for (int row = 0; row < data.VelData.Rows(); ++row)
            rawVel.insert(rawVel.end(), data.VelData.RowData(row, kSlot),
                          data.VelData.RowData(row, kSlot) + kCells);
        rawBottom.assign(data.BTVelData.SlotData(kSlot), data.BTVelData.SlotData(kSlot) + 6);
        rawLayer.assign(data.RefVelData.SlotData(kSlot), data.RefVelData.SlotData(kSlot) + 6);
    }
    // Puts back what the decoder wrote, as a fresh ensemble in the slot.
    void Restore() {
        for (int row = 0; row < data.VelData.Rows(); ++row)
            std::memcpy(data.VelData.RowData(row, kSlot), rawVel.data() + row * kCells,
                        kCells * sizeof(int16_t));
        std::memcpy(data.BTVelData.SlotData(kSlot), rawBottom.data(), rawBottom.size() * sizeof(int16_t));
        std::memcpy(data.RefVelData.SlotData(kSlot), rawLayer.data(), rawLayer.size() * sizeof(int16_t));
    }
};

void Run(benchmark::State& state, Loaded& e) {
    for (auto _ : state) {
        e.Restore();
        End_Of_Profile(e.setup, e.options, e.data, kSlot);
        Process_Velocities(e.setup, e.options, e.data, kSlot);
        benchmark::DoNotOptimize(e.data.VelData.SlotData(kSlot));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ProcessBeamEnsembleTilted(benchmark::State& state) {
    Loaded e(3.2, -2.1, 0x00);
    Run(state, e);
}
BENCHMARK(BM_ProcessBeamEnsembleTilted);

void BM_ProcessBeamEnsembleLevel(benchmark::State& state) {
    Loaded e(0, 0, 0x00);
    Run(state, e);
}
BENCHMARK(BM_ProcessBeamEnsembleLevel);

void BM_ProcessEarthEnsemble(benchmark::State& state) {
    Loaded e(3.2, -2.1, 0x18);
    Run(state, e);
}
BENCHMARK(BM_ProcessEarthEnsemble);

} // namespace
