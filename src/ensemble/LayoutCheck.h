#pragma once
// Whether an ensemble is long enough for what its own header says it holds. A checksum-valid ensemble
// can still be cut short by the instrument (a table of data types that points past its end, a cell
// count its arrays do not fill); an ensemble longer than its parts need (spare bytes, a text block of
// any size) is whole.
#include "model/EnsembleFrame.h"

#include <cstdint>

namespace mvx {

// Broadband (structure 2): the data-type table fits, its offsets ascend inside the ensemble, and each
// data type has the room its kind needs (the leaders their fields, the per-cell arrays the cell count
// of the ensemble's own fixed leader). Narrowband (1): the five blocks of its table fit. Any other
// structure: false.
bool Holds_Its_Layout(int32_t structure, const EnsembleFrame& frame);

} // namespace mvx
