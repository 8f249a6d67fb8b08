#pragma once
// What each exported data type is called in a NetCDF file and how its raw integers read as physical
// values: name, long name, units, scale factor and, where CF defines one, standard name. The raw
// values are those the MAT files hold (counts, mm/s, tenths and hundredths of degrees, mm, cm); the
// scale factor turns them into the units given (m/s, degrees, m).
#include "export/NetCdfFile.h"

#include <string>

namespace mvx {

struct NcVariableInfo {
    std::string Name;
    std::string LongName;
    std::string Units;        // empty: none (a flag or bit field)
    double Scale = 1;         // written as scale_factor when it is not 1
    std::string StandardName; // empty: CF has none
    NcType Type = NcType::Short;
    std::string FlagMeanings; // for a flag: the meanings of the values 0, 1, ...
};

// Per-bin data type k (0-19, as the export dialog indexes them). Velocities carry CF's standard names
// only when they are east, north and up (earth coordinates, recorded or transformed).
NcVariableInfo BinTypeVariable(int k, bool earth);
// Ancillary type k (0-7): pitch, roll, heading, temperature, depth, orientation, BIT, battery.
NcVariableInfo AncVariable(int k);
// Series boxes 20-35: bottom-track, water-mass and navigation velocity components. strandex says where
// the navigation velocity comes from.
NcVariableInfo ReferenceVariable(int box, bool strandex);

// Writes a variable's description as attributes, with _FillValue -32768 in the variable's own type.
void DescribeVariable(NetCdfFile& nc, int var, const NcVariableInfo& info);

} // namespace mvx
