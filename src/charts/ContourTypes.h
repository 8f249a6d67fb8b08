#pragma once
// The data type codes of the contour chart: which array and row each code charts, its title, its scale
// label and the limits its colour scale is clamped to.
#include "common/ContourCode.h"

#include <cstdint>
#include <string>

namespace mvx {

struct ContourDataTypeInfo {
    bool Known = false; // an unknown code charts nothing (every cell without data)
    ContourSourceKind Source = ContourSourceKind::None;
    int Row = 0; // first index into the source array (beam, component or average row)
    std::string Title;
    std::string ScaleLabel;
    double LowLimit = -32767, HighLimit = 32767;
    bool Direction = false; // tenths of a degree, charted in whole degrees on the circular scale
    // Beam (0..3) whose bottom range the bottom-track line follows; -1 for the mean of all four.
    int BottomBeam = -1;
};

// " - BT", " - NAV", " - GCA", " - VTG" or " - WM" for references 1..5; empty otherwise.
std::string Velocity_Reference_Suffix(int32_t reference);

// Everything a data type code fixes. Codes: 1-4 echo intensity of a beam, 5 its average; 10, 20, 30, 40
// correlation of a beam, 50 its average; 100 east, 200 north, 300 up, 400 error velocity, 500 magnitude,
// 600 direction; 1000-4000 percent good of a beam. Flow-meter firmware names the first two velocity rows
// "PROFILE #1" and "PROFILE #2".
ContourDataTypeInfo Contour_Data_Type(int32_t code, int32_t velocityReference, bool flowMeterFirmware);

} // namespace mvx
