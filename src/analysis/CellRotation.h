#pragma once
// The inner loop of the track rotation: long and cross track of a run of velocity bins, in a portable
// form the compiler turns into vector code and in an AVX2 form written with vector instructions, the
// fastest the processor runs being chosen at run time.
#include <cstdint>

namespace mvx {

// The rows of one ensemble the rotation reads (east u, north v) and writes (long and cross track), each
// a run of bins.
struct RotationRows {
    const int16_t* East;
    const int16_t* North;
    int16_t* Long;
    int16_t* Cross;
};

// Long and cross track of `count` bins from east and north: L = u sin t + v cos t, C = u cos t - v sin t,
// rounded to the nearest whole number, halves to even, and limited to +-32767; -32768 in both when u or
// v is -32768. The output rows must not overlap the input rows.
using CellRotation = void (*)(const RotationRows& rows, int32_t count, double sinT, double cosT);

void RotateCellsPortable(const RotationRows& rows, int32_t count, double sinT, double cosT);

// The same with AVX2 instructions: only where HasAvx2() holds. Elsewhere than on x86-64 it is the portable
// form.
void RotateCellsAvx2(const RotationRows& rows, int32_t count, double sinT, double cosT);

// Whether this processor (and its operating system) runs AVX2 instructions.
bool HasAvx2();

// The fastest form this processor runs.
CellRotation FastestCellRotation();

} // namespace mvx
