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
    const ContourCode decoded = Decode_Contour_Code(code);
    const int beam = decoded.Row < 4 ? decoded.Row : -1; // the average follows the mean range
    const std::string beamName = decoded.Row < 4 ? "Beam " + std::to_string(decoded.Row + 1) : "Avg";
    switch (decoded.Source) {
    case ContourSourceKind::Intensity:
        counts(decoded.Source, decoded.Row, "ECHO INTENSITY " + beamName, beam);
        break;
    case ContourSourceKind::Correlation:
        counts(decoded.Source, decoded.Row, "CORRELATION " + beamName, beam);
        break;
    case ContourSourceKind::Velocity:
        switch (decoded.Row) {
        case 0:
            velocity(0, flowMeterFirmware ? "PROFILE #1" : "VELOCITY EAST (u)" + suffix, -32767, 32767);
            break;
        case 1:
            velocity(1, flowMeterFirmware ? "PROFILE #2" : "VELOCITY NORTH (v)" + suffix, -32767, 32767);
            break;
        case 2:
            velocity(2, "VELOCITY UP (w)" + verticalSuffix, -32767, 32767);
            break;
        case 3:
            velocity(3, "VELOCITY ERROR" + verticalSuffix, -32767, 32767);
            break;
        case 4:
            velocity(4, "VELOCITY MAGNITUDE" + suffix, 0, 32767);
            break;
        default:
            velocity(5, "VELOCITY DIRECTION" + suffix, 0, 360);
            t.ScaleLabel = "Scale (degrees)";
            t.Direction = true;
            break;
        }
        break;
    case ContourSourceKind::PercentGood:
        t.Known = true;
        t.Source = decoded.Source;
        t.Row = decoded.Row;
        t.Title = "Percent Good " + std::to_string(decoded.Row + 1);
        t.ScaleLabel = "Scale (Percent)";
        t.LowLimit = 0;
        t.HighLimit = 100;
        t.BottomBeam = decoded.Row;
        break;
    case ContourSourceKind::None:
        break;
    }
    return t;
}

} // namespace mvx
