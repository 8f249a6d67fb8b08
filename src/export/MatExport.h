#pragma once
// The three MATLAB exports, as Level 4 MAT records written one after the other. Values keep the
// instrument's raw units (counts, mm/s, tenths and hundredths of degrees, mm, cm). Per-ensemble
// vectors are N x 1, bin lists and profile vectors 1 x B, per-bin series N x B with row = ensemble and
// column = bin in ascending bin-number order. Every ensemble is loaded alone into slot 0 of the
// reader's own set and read once; its values are gathered into arrays, and each variable is then
// written in one piece.
//
// A cancelled export still writes every variable with its full N rows (0 for the ensembles not
// reached), so each record's header matches its data. No ensemble (First > Last) gives N = 0 and no
// selected bin gives B = 0 matrices. The writers return False when a write failed, an ensemble could
// not be read or the arrays could not be held in memory, with the reason in file.Error().
#include "common/OutputFile.h"
#include "export/ExportReader.h"
#include "export/ExportSelection.h"

#include <string>

namespace mvx {

// The nine header variables "ZonFileName" .. "ZonBinSize" from the set-up and the ensemble in slot 0.
bool Write_Mat_Header(const ExportReader& reader, OutputFile& file);

bool Write_Contour_Mat(ExportReader& reader, ExportSelection& selection, OutputFile& file);
bool Write_Profile_Mat(ExportReader& reader, ExportSelection& selection, OutputFile& file);
bool Write_Series_Mat(ExportReader& reader, ExportSelection& selection, OutputFile& file);

// "ConTitle" of a data type, e.g. "Velocity East (u) mm/s", " PG2".
std::string ContourMatTitle(int dataType);
// The profile vector's name of a data type, e.g. "ProEAmpBm1cnts", "ProDir10thDeg".
std::string ProfileMatName(int dataType);
// The series matrix's name of a per-bin data type, e.g. "SerEA1cnt", "SerDir10thDeg".
std::string SeriesMatName(int dataType);

} // namespace mvx
