#include "common/EnsembleTimeText.h"

#include "common/NumberFormat.h"

namespace mvx {

namespace {

std::string Two(double v) {
    return FormatNumber(v, "00");
}

} // namespace

std::string Ensemble_Date_Text(const uint8_t clock[7], const char* noYear) {
    std::string text;
    if (clock[0] != kNoYear)
        text = Two(clock[0]) + "/";
    else if (noYear)
        text = std::string(noYear) + "/";
    return text + Two(clock[1]) + "/" + Two(clock[2]);
}

std::string Ensemble_Time_Text(const uint8_t clock[7]) {
    return Two(clock[3]) + ":" + Two(clock[4]) + ":" + Two(clock[5]) + "." + Two(clock[6]);
}

std::string Time_Per_Ping_Text(int minutes, int seconds, int hundredths) {
    return Two(minutes) + ":" + Two(seconds) + "." + Two(hundredths);
}

std::string Duration_Clock_Text(int64_t hundredths) {
    const int64_t hours = hundredths / 360000;
    const int64_t minutes = hundredths / 6000 % 60;
    const double seconds = static_cast<double>(hundredths % 6000) / 100.0;
    return Two(static_cast<double>(hours)) + ":" + Two(static_cast<double>(minutes)) + ":" +
           FormatNumber(seconds, "00.00");
}

} // namespace mvx
