#include "export/NetCdfVariables.h"

#include "export/ExportSelection.h"
#include "model/EnsembleSet.h"

#include <algorithm>

namespace mvx {

namespace {

constexpr double kMillimetres = 0.001;
constexpr double kTenths = 0.1;
constexpr double kHundredths = 0.01;

struct Component {
    const char* Name;
    const char* Caption;
    const char* StandardName;
};
// Velocity rows 0-5 as the dialog captions them.
const Component kComponents[6] = {
    {"east", "east (u)", "eastward_sea_water_velocity"},
    {"north", "north (v)", "northward_sea_water_velocity"},
    {"vertical", "vertical (w)", "upward_sea_water_velocity"},
    {"error", "error", ""},
    {"magnitude", "horizontal magnitude", "sea_water_speed"},
    {"direction", "direction, clockwise from north", "sea_water_velocity_to_direction"},
};

// A velocity component c (0-5) of a group: m/s from mm/s, degrees from tenths for the direction.
NcVariableInfo VelocityComponent(const std::string& prefix, const std::string& caption, int c) {
    const Component& k = kComponents[std::clamp(c, 0, 5)];
    NcVariableInfo v;
    v.Name = prefix + k.Name;
    v.LongName = caption + ", " + k.Caption;
    const bool direction = c == 5;
    v.Units = direction ? "degree" : "m s-1";
    v.Scale = direction ? kTenths : kMillimetres;
    return v;
}

std::string BeamSuffix(int b) {
    return b < 4 ? "beam" + std::to_string(b + 1) : std::string("average");
}

std::string BeamCaption(int b) {
    return b < 4 ? "beam " + std::to_string(b + 1) : std::string("four-beam average");
}

} // namespace

NcVariableInfo BinTypeVariable(int k, bool earth) {
    k = std::clamp(k, 0, kExportDataTypes - 1);
    NcVariableInfo v;
    if (k < 10) {
        const bool echo = k < 5;
        const int beam = echo ? k : k - 5;
        v.Name = (echo ? "echo_intensity_" : "correlation_") + BeamSuffix(beam);
        v.LongName = (echo ? "echo intensity, " : "correlation, ") + BeamCaption(beam);
        v.Units = "count";
    } else if (k < 16) {
        v = VelocityComponent("velocity_", "water velocity", k - 10);
        if (earth)
            v.StandardName = kComponents[k - 10].StandardName;
        else
            v.LongName += " (the file's own coordinates, not earth)";
    } else {
        v.Name = "percent_good_beam" + std::to_string(k - 15);
        v.LongName = "percent good, beam " + std::to_string(k - 15);
        v.Units = "percent";
    }
    return v;
}

NcVariableInfo AncVariable(int k) {
    static const NcVariableInfo kAnc[kAncBoxes] = {
        {"pitch", "pitch", "degree", kHundredths, "platform_pitch", NcType::Short, ""},
        {"roll", "roll", "degree", kHundredths, "platform_roll", NcType::Short, ""},
        {"heading", "heading", "degree", kHundredths, "platform_orientation", NcType::Int, ""},
        {"temperature", "water temperature at the transducer", "degree_Celsius", kHundredths,
         "sea_water_temperature", NcType::Short, ""},
        {"depth", "transducer depth", "m", kMillimetres, "depth", NcType::Int, ""},
        {"orientation", "beams looking up (1) or down (0)", "", 1, "", NcType::Short, "down up"},
        {"bit", "built-in test result", "", 1, "", NcType::Int, ""},
        {"battery", "battery", "count", 1, "", NcType::Short, ""},
    };
    return kAnc[std::clamp(k, 0, kAncBoxes - 1)];
}

NcVariableInfo ReferenceVariable(int box, bool strandex) {
    if (box < kSeriesWaterMass)
        return VelocityComponent("bt_velocity_",
                                 "bottom-track velocity: the instrument's velocity over the bottom",
                                 box - kSeriesBottomTrack);
    if (box < kSeriesNavEast)
        return VelocityComponent("wm_velocity_",
                                 "water-mass velocity: the instrument's velocity through the reference layer",
                                 box - kSeriesWaterMass);
    static const int kNavComponents[4] = {0, 1, 4, 5};
    const int i = std::clamp(box - kSeriesNavEast, 0, 3);
    return VelocityComponent(
        "nav_velocity_", strandex ? "navigation velocity from the bottom-track block" : "navigation velocity",
        kNavComponents[i]);
}

void DescribeVariable(NetCdfFile& nc, int var, const NcVariableInfo& info) {
    nc.Text(var, "long_name", info.LongName);
    nc.Text(var, "standard_name", info.StandardName);
    nc.Text(var, "units", info.Units);
    if (info.Scale != 1) nc.Double(var, "scale_factor", info.Scale);
    nc.Typed(var, "_FillValue", info.Type, {kBadValue});
    if (!info.FlagMeanings.empty()) {
        nc.Typed(var, "flag_values", info.Type, {0, 1});
        nc.Text(var, "flag_meanings", info.FlagMeanings);
    }
}

} // namespace mvx
