#pragma once
// The framing pass that builds the exact index of a file or multi-file set: every checksum-valid
// ensemble the loads' search would find, member by member, in one pass over the bytes.
#include "common/Callbacks.h"
#include "model/EnsembleIndex.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

enum class IndexPassEnd {
    Done,    // every member was read to its end (a member that cannot be opened ends the set there)
    Stopped, // the progress callback asked to stop; the index is left empty
};

// Whether index holds an earlier pass over these members that an extension can go on from: the same
// paths (the set may have gained members since), every member before the one where the pass ended of
// the length it had then, the rest at least as long, and the last ensemble indexed still in its place.
bool Index_Extends(const EnsembleIndex& index, const std::vector<std::string>& members, int32_t structure);

// Indexes the members (structure 1 narrowband, 2 broadband). When extend is set and Index_Extends
// holds, the pass goes on from where the earlier one ended, so only the bytes added since are read;
// otherwise the index is built anew from the first byte. Ensembles are found as the loads' search
// finds them, without its limit of bad bytes, each member searched on its own; set-up (NVRAM) blocks
// are counted, not indexed. yield is called at a bounded rate; progress gets 0 first, then up to 100, and can
// stop the pass at any of them.
IndexPassEnd Index_Ensembles(const std::vector<std::string>& members, int32_t structure, bool extend,
                             EnsembleIndex& index, const YieldFn& yield, const ProgressSink& progress);

} // namespace mvx
