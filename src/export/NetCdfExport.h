#pragma once
// The three exports as NetCDF files (64-bit offset format) that follow the CF conventions 1.8, so that
// a reader that decodes CF gets times, SI values and NaN for bad values. Each exported data type is a
// variable holding the raw integers the MAT files hold (counts, mm/s, tenths and hundredths of degrees,
// mm, cm) with its scale_factor, units, _FillValue -32768, long_name and, where CF defines one,
// standard_name; the ensembles are the dimension time, the exported bins the dimension range.
//
// Each writer reads its own panel of the selection as the other formats do (the ensemble entries are
// clamped and written back), loads every ensemble alone into the reader's own set once and gathers its
// values, then has the NetCDF library lay the file out in memory and writes it through the output file
// in one piece. A cancelled export writes the ensembles read before the cancel. No ensemble (First >
// Last) gives a time dimension of length 0; no selected bin leaves out the range dimension and the
// per-bin variables. The writers return False when an ensemble could not be read, the values could not
// be held, the library failed or a write failed, with the reason in file.Error().
#include "common/OutputFile.h"
#include "export/ExportReader.h"
#include "export/ExportSelection.h"

namespace mvx {

bool Write_Contour_NetCdf(ExportReader& reader, ExportSelection& selection, OutputFile& file);
bool Write_Profile_NetCdf(ExportReader& reader, ExportSelection& selection, OutputFile& file);
bool Write_Series_NetCdf(ExportReader& reader, ExportSelection& selection, OutputFile& file);

} // namespace mvx
