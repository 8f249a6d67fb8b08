#pragma once
// Export choices given as words (the command line's --types, --anc and --bins), named as the export
// dialog captions them. Captions that several frames share ("Bm1" under echo and correlation, "East"
// under velocity, bottom track, water mass and navigation) are qualified by their frame: echo:Bm1,
// corr:Avg, vel:East, pg:PG3, bt:Dir, bt:Depth, wm:Mag, nv:LatLon; a bare caption is accepted when only
// one box of the panel carries it. Names are compared without regard to case.
#include "export/ExportSelection.h"

#include <string>

namespace mvx {

// Sets the data-type boxes of the selection's panel for kind from a comma-separated list: the one
// contour data type, the profile's checked types, or the series boxes 0-39. The panel's earlier
// choices are replaced. False with a message naming the word that was not understood.
bool ParseExportTypes(ExportKind kind, const std::string& list, ExportSelection& selection,
                      std::string& error);

// The ancillary boxes from "Pitch,Roll,Heading,Temperature,Depth,Orientation,BIT,Battery" words.
bool ParseAncTypes(const std::string& list, ExportSelection& selection, std::string& error);

// A bin list from "all" or comma-separated bin numbers and ranges ("1-5,8"), bins 1..255. "all"
// selects bins 1..numCells. The list's earlier selection is replaced.
bool ParseBinList(const std::string& text, int numCells, BinList& bins, std::string& error);

} // namespace mvx
