#pragma once
// The texts of an ensemble's clock and of durations. A clock is seven values: year (two digits), month,
// day, hour, minute, second, hundredths; every part shows with at least two digits.
#include <cstdint>
#include <string>

namespace mvx {

// The year of a time stamp that carries none (narrowband ensembles).
inline constexpr int kNoYear = 80;

// "yy/mm/dd". A year of kNoYear is left out with its "/", or, when noYear is given, shown as noYear.
std::string Ensemble_Date_Text(const uint8_t clock[7], const char* noYear = nullptr);

// "hh:mm:ss.hh" from the clock's last four values.
std::string Ensemble_Time_Text(const uint8_t clock[7]);

// "mm:ss.hh" of a time per ping (minutes, seconds, hundredths).
std::string Time_Per_Ping_Text(int minutes, int seconds, int hundredths);

// "hh:mm:ss.ss" of a duration in whole hundredths of a second; the hours are not limited to a day.
std::string Duration_Clock_Text(int64_t hundredths);

} // namespace mvx
