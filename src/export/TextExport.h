#pragma once
// The three text exports: a contour file (one data type, a row per ensemble, a column per bin), a
// profile file (one ensemble, a row per data type) and a series file (a row per ensemble with ancillary,
// bottom-track, water-mass, navigation and per-bin columns). Lines end with CR LF; cells are separated
// by TABs; a bad velocity leaves its cell empty. Every ensemble is loaded alone into slot 0 of the
// reader's own set before its values are written; the set on display is never touched.
//
// Each writer reads its own panel of the selection, clamps the panel's ensemble boxes (writing the
// clamped values back), reports progress and stops when the selection's Cancel flag is set (or its
// progress callback asks to stop). The file
// must be open; the writers return False when a write failed or an ensemble could not be read, with
// the reason in file.Error(). What was written up to that point stays in the file.
#include "common/OutputFile.h"
#include "export/ExportReader.h"
#include "export/ExportSelection.h"

namespace mvx {

// The nine header lines shared by the three files, from the instrument set-up and the ensemble in
// slot 0 (the first one exported).
bool Write_Text_Header(const ExportReader& reader, OutputFile& file);

bool Write_Contour_Text(ExportReader& reader, ExportSelection& selection, OutputFile& file);
bool Write_Profile_Text(ExportReader& reader, ExportSelection& selection, OutputFile& file);
bool Write_Series_Text(ExportReader& reader, ExportSelection& selection, OutputFile& file);

// The contour file's title after "Contour Data =", e.g. " Velocity East (u) mm/s".
std::string ContourTextTitle(int dataType);
// The profile file's row label of a data type, e.g. "EA1 cnts", "E mm/s  ", "PG3 ".
std::string ProfileTextLabel(int dataType);

} // namespace mvx
