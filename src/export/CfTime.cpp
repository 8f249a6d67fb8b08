#include "export/CfTime.h"

#include <algorithm>
#include <cstdio>

namespace mvx {

namespace {

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int Month(const EnsembleTimeBytes& t) {
    return std::clamp<int>(t[1], 1, 12);
}

} // namespace

int FullYear(int yearByte) {
    return yearByte > kNoYear ? 1900 + yearByte : 2000 + yearByte;
}

CfTimeAxis Make_Time_Axis(const std::vector<EnsembleTimeBytes>& times) {
    CfTimeAxis axis;
    axis.Seconds.reserve(times.size());
    int year = kStandInYear, firstYear = kStandInYear;
    for (size_t i = 0; i < times.size(); ++i) {
        const EnsembleTimeBytes& t = times[i];
        if (t[0] != kNoYear) {
            year = FullYear(t[0]);
        } else if (i > 0) {
            const EnsembleTimeBytes& p = times[i - 1];
            if (Month(t) * 100 + t[2] < Month(p) * 100 + p[2]) ++year;
        }
        if (i == 0) {
            axis.YearKnown = t[0] != kNoYear;
            firstYear = year;
        }
        const int64_t days = DaysFromCivil(year, Month(t), 1) + t[2] - 1 - DaysFromCivil(firstYear, 1, 1);
        axis.Seconds.push_back(static_cast<double>(days) * 86400.0 + t[3] * 3600.0 + t[4] * 60.0 + t[5] +
                               t[6] / 100.0);
    }
    char units[48];
    std::snprintf(units, sizeof units, "seconds since %04d-01-01 00:00:00", firstYear);
    axis.Units = units;
    return axis;
}

} // namespace mvx
