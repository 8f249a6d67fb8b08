#pragma once
// The texts around a contour: the statistics line, an ensemble's date and time, a position, and the
// deployment duration of the window caption.
#include "charts/ColorScale.h"

#include <cstdint>
#include <string>

namespace mvx {

// "Avg = " + mean + " " + plus-minus sign + standard deviation (whole numbers); empty for directions.
// The plus-minus sign is byte 177, which the surfaces read as Latin-1.
std::string Contour_Statistics_Line(const ChartScale& scale, bool direction);

// "yy/mm/dd, hh:mm:ss.hh" from the seven time bytes (year, month, day, hour, minute, second, hundredths);
// a year of 80 is left out together with its "/".
std::string Ensemble_Date_Time_Text(const uint8_t time[7]);

// Latitude and longitude from 32-bit binary angles (degrees = value x 180 / 2^31): "0.0000" each,
// followed by the degree sign (byte 176), joined by ", ".
std::string Position_Text(int32_t latitude, int32_t longitude);

// "2 days 03:04:05.60", "1 day 00:00:00.00" or "05:00:00.00" for a duration in seconds: whole days only
// from one day on, then hours, minutes and seconds with hundredths.
std::string Deployment_Duration_Text(double seconds);

// The sub-set window's caption: "Sub Set --- Deployment Duration: " and the duration.
std::string Sub_Set_Caption(double setDuration);

} // namespace mvx
