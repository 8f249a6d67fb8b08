#pragma once
// The texts of the track vector window: its unit tables, the text column of the last loaded ensemble and
// the pointer text over a chart.
#include "analysis/TrackRotation.h"
#include "model/EnsembleSet.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

// Speed units (multiplying mm/s) and depth units (multiplying metres), in menu order.
inline const std::array<const char*, 3> kSpeedUnitNames{"knots", "m/s", "cm/s"};
inline constexpr std::array<double, 3> kSpeedUnitFactors{0.001 / 0.51444444, 0.001, 0.1};
inline const std::array<const char*, 3> kDepthUnitNames{"fath", "m", "ft"};
inline constexpr std::array<double, 3> kDepthUnitFactors{1 / 1.8288, 1, 1 / 0.3048};

// A unit index held to the table (an unknown index reads as the second entry).
inline size_t Unit_Index(int32_t unit) {
    return unit >= 0 && unit < 3 ? static_cast<size_t>(unit) : 1;
}

// The name of a velocity reference option: "NONE", "BOTTOM", "NAVIGATION" (2-4), "WATER MASS".
std::string Track_Reference_Name(int32_t velocityReference);

// The text column from slot (count - 1): heading, units, bottom-track and navigation speed and direction
// ("No Data" for a bad value), the reference, the ensemble number, date and time.
std::vector<std::string> Track_Text_Column(const EnsembleSet& set, int32_t count, int32_t lastEnsNumber,
                                           int32_t velocityReference, int32_t speedUnit);

// "ENSEMBLE n, BIN b, Long x unit, Cross y unit" for an ensemble index (limited to the loaded slots) and
// a bin index, or ", No Data" in place of the values when the long-track value is bad. overlaid names
// the bin as ", ___ BIN ". binNumber is the number shown for the bin.
std::string Track_Tool_Tip(const EnsembleSet& set, int32_t count, int32_t ensembleIndex, int32_t bin,
                           int32_t binNumber, bool overlaid, int32_t speedUnit);

} // namespace mvx
