#pragma once
// Steps between axis labels: ensemble numbers, ranges in metres, elapsed time.
#include <cstdint>
#include <string>

namespace mvx {

// Step between ensemble-number labels for a half-range r: 1, 2, 5, 10, 20, 50, ... up to 10000000.
double Get_Ensemble_Step(double range);

// Step in metres between range labels for a span r. Sets fractional (labels with one decimal) for the
// two sub-metre steps and leaves it alone otherwise; a span above 5000 m gets the step 1.
double Get_Range_Step(double range, bool& fractional);

// Unit and step of the elapsed-time axis for a span in seconds: span is replaced by the seconds of one
// unit, unitText is " sec", " min", " hr" or " dy", unitCount the whole units in the span and step the
// step between labels in units.
void Get_Time_Step(double& span, std::string& unitText, int32_t& unitCount, int32_t& step);

} // namespace mvx
