#pragma once
// The CF time coordinate of exported ensembles, from their seven time bytes (two-digit year, month,
// day, hour, minute, second, hundredths).
//
// Years: the byte kNoYear (80) marks a time stamp without a year (narrowband ensembles carry none);
// other bytes read as 1981-1999 for 81-99 and 2000-2079 for 0-79. An ensemble without a year takes the
// year of the ensemble before it, one more when its month and day come before that one's (the
// deployment crossed New Year); a first ensemble without a year takes the stand-in year 1904, a leap
// year (so 29 February stays a date) that no current-profiler data can come from. Months outside 1-12
// are taken as the nearest month and days are counted on from the month's first, so every time stamp
// gives a time.
#include "common/EnsembleTimeText.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

using EnsembleTimeBytes = std::array<uint8_t, 7>;

constexpr int kStandInYear = 1904;

struct CfTimeAxis {
    std::string Units;           // "seconds since 2017-01-01 00:00:00", 1 January of the first year
    bool YearKnown = true;       // false when the first ensemble carries no year
    std::vector<double> Seconds; // one per ensemble
};

// The full year of a two-digit year byte other than kNoYear.
int FullYear(int yearByte);

CfTimeAxis Make_Time_Axis(const std::vector<EnsembleTimeBytes>& times);

} // namespace mvx
