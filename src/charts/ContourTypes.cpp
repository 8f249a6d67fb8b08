#include "charts/ContourTypes.h"

namespace mvx {

std::string Velocity_Reference_Suffix(int32_t reference) {
    switch (reference) {
    case 1:
        return " - BT";
    case 2:
        return " - NAV";
    case 3:
        return " - GCA";
    case 4:
        return " - VTG";
    case 5:
        return " - WM";
    default:
        return "";
    }
}

ContourDataTypeInfo Contour_Data_Type(int32_t code, int32_t velocityReference, bool flowMeterFirmware) {
    ContourDataTypeInfo t;
    const std::string suffix = Velocity_Reference_Suffix(velocityReference);
    // Up and error velocities change with the reference only for bottom track and water mass.
    const std::string verticalSuffix = velocityReference == 1 || velocityReference == 5 ? suffix : "";
    auto counts = [&t](ContourSourceKind source, int row, const std::string& title, int beam) {
        t.Known = true;
        t.Source = source;
        t.Row = row;
        t.Title = title;
        t.ScaleLabel = "Scale (counts)";
        t.LowLimit = 0;
        t.HighLimit = 255;
        t.BottomBeam = beam;
    };
    auto velocity = [&t](int row, const std::string& title, double low, double high) {
        t.Known = true;
        t.Source = ContourSourceKind::Velocity;
        t.Row = row;
        t.Title = title;
        t.ScaleLabel = "Scale (mm/s)";
        t.LowLimit = low;
        t.HighLimit = high;
    };
    switch (code) {
    case 1:
    case 2:
    case 3:
    case 4:
        counts(ContourSourceKind::Intensity, code - 1, "ECHO INTENSITY Beam " + std::to_string(code),
               code - 1);
        break;
    case 5:
        counts(ContourSourceKind::Intensity, 4, "ECHO INTENSITY Avg", -1);
        break;
    case 10:
    case 20:
    case 30:
    case 40:
        counts(ContourSourceKind::Correlation, code / 10 - 1, "CORRELATION Beam " + std::to_string(code / 10),
               code / 10 - 1);
        break;
    case 50:
        counts(ContourSourceKind::Correlation, 4, "CORRELATION Avg", -1);
        break;
    case 100:
        velocity(0, flowMeterFirmware ? "PROFILE #1" : "VELOCITY EAST (u)" + suffix, -32767, 32767);
        break;
    case 200:
        velocity(1, flowMeterFirmware ? "PROFILE #2" : "VELOCITY NORTH (v)" + suffix, -32767, 32767);
        break;
    case 300:
        velocity(2, "VELOCITY UP (w)" + verticalSuffix, -32767, 32767);
        break;
    case 400:
        velocity(3, "VELOCITY ERROR" + verticalSuffix, -32767, 32767);
        break;
    case 500:
        velocity(4, "VELOCITY MAGNITUDE" + suffix, 0, 32767);
        break;
    case 600:
        velocity(5, "VELOCITY DIRECTION" + suffix, 0, 360);
        t.ScaleLabel = "Scale (degrees)";
        t.Direction = true;
        break;
    case 1000:
    case 2000:
    case 3000:
    case 4000:
        t.Known = true;
        t.Source = ContourSourceKind::PercentGood;
        t.Row = code / 1000 - 1;
        t.Title = "Percent Good " + std::to_string(code / 1000);
        t.ScaleLabel = "Scale (Percent)";
        t.LowLimit = 0;
        t.HighLimit = 100;
        t.BottomBeam = code / 1000 - 1;
        break;
    default:
        break;
    }
    return t;
}

} // namespace mvx
