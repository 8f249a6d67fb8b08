#pragma once
// One decoded ensemble in a slot of a freshly allocated data set, for the velocity-processing tests.
#include "dataset/VelocityProcessing.h"
#include "model/DataSet.h"
#include "model/InstrumentSetup.h"
#include "model/Options.h"

#include <algorithm>
#include <cstdint>

namespace mvx::test {

constexpr int kSlot = 3;            // not slot 0, so a lost slot index shows
constexpr int16_t kUntouched = 777; // what neighbouring slots and unused bins hold

struct Ensemble {
    DataSet data;
    InstrumentSetup setup;
    Options options;

    // cells, looking up or down, beam angle code in SystemConfig bits 8-9.
    Ensemble(int cells, bool up, int angleCode = 1) {
        Allocate_Data_Set(data, 128, 128, false);
        std::fill(data.VelData.Raw().begin(), data.VelData.Raw().end(), kUntouched);
        setup.NumCells = cells;
        setup.SystemConfig = (up ? 0x80 : 0) | (angleCode << 8);
        setup.CellLength = 1.0;
        setup.Bin1Distance = 2.0;
        setup.XmitPulseLength = 0.5;
    }
    void Beams(int bin, int b1, int b2, int b3, int b4) {
        const int v[4] = {b1, b2, b3, b4};
        for (int r = 0; r < 4; ++r) data.VelData(r, bin, kSlot) = static_cast<int16_t>(v[r]);
    }
    void Attitude(double pitch, double roll, double heading) {
        data.AncData(0, kSlot) = static_cast<int32_t>(pitch * 100);
        data.AncData(1, kSlot) = static_cast<int32_t>(roll * 100);
        data.AncData(2, kSlot) = static_cast<int32_t>(heading * 100);
    }
    int16_t Vel(int row, int bin) const { return data.VelData(row, bin, kSlot); }
    void Process() { Process_Velocities(setup, options, data, kSlot); }
    void Trim() { End_Of_Profile(setup, options, data, kSlot); }
};

} // namespace mvx::test
