#pragma once
// The inner loop of the track rotation: long and cross track of a run of velocity cells, in a portable
// form the compiler turns into vector code and in an AVX2 form written with vector instructions, the
// fastest the processor runs being chosen at run time.
#include <cstdint>

namespace mvx {

// Rows 6 (long track) and 7 (cross track) of `count` cells of 8 rows each, starting at `cells`, from
// rows 0 (east u) and 1 (north v): L = u sin t + v cos t, C = u cos t - v sin t, rounded to the nearest
// whole number, halves to even, and limited to +-32767; -32768 in both when u or v is -32768. Rows 0 to
// 5 keep their values.
using CellRotation = void (*)(int16_t* cells, int32_t count, double sinT, double cosT);

void RotateCellsPortable(int16_t* cells, int32_t count, double sinT, double cosT);

// The same with AVX2 instructions: only where HasAvx2() holds. Elsewhere than on x86-64 it is the
// portable form.
void RotateCellsAvx2(int16_t* cells, int32_t count, double sinT, double cosT);

// Whether this processor (and its operating system) runs AVX2 instructions.
bool HasAvx2();

// The fastest form this processor runs.
CellRotation FastestCellRotation();

// Sets rows 6 and 7 of `count` cells to -32768.
void MarkCellsBad(int16_t* cells, int32_t count);

} // namespace mvx
