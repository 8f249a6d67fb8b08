#pragma once
// The palette of every chart: 540 colours built once at start-up. Indexes 0-99 are the value scale
// (blue, cyan, green, yellow, red), 100-355 a grey ramp from black to white, 400-539 the circular
// direction scale whose two ends are both magenta so that 0 and 360 degrees meet.
#include "charts/Surface.h"

#include <array>
#include <cstdint>

namespace mvx {

constexpr int kColorTableSize = 540;
using ColorTableArray = std::array<ColorRef, kColorTableSize>;

// Indexes with a meaning of their own.
constexpr int32_t BadDataColor = 100;    // a cell without valid data (black)
constexpr int32_t BelowScaleColor = 228; // below the scale minimum (grey 128)
constexpr int32_t AboveScaleColor = 355; // above the scale maximum (white)

// First and last index of the value scale and of the direction scale.
constexpr int32_t kValueScaleFirst = 0, kValueScaleLast = 99;
constexpr int32_t kDirectionScaleFirst = 400, kDirectionScaleLast = 539;

// Fills every entry; 356-399 are left black.
void Init_Color_Table(ColorTableArray& table);

} // namespace mvx
