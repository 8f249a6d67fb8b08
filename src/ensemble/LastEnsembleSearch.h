#pragma once
// Finding the last ensemble of a file: a look near the end for ensembles of the first one's length, then
// a backward search at whole multiples of that length.
#include "common/Callbacks.h"
#include "ensemble/EnsembleFile.h"
#include "ensemble/EnsembleFrame.h"

#include <cstdint>
#include <functional>

namespace mvx {

struct LastEnsembleResult {
    bool Found = false; // an ensemble of the first one's length was taken as the last
    bool Nvram = false; // the backward search met a 2-data-type ensemble of more than 8000 bytes
};

// firstBytes is EnsembleBytes of the first ensemble; decodeLast is called for each ensemble taken as the
// last one (the caller decodes it into its own fields). frame.EnsembleBytes is left as firstBytes after
// every unsuccessful backward step.
LastEnsembleResult Find_Last_Ensemble(EnsembleFile& file, EnsembleFrame& frame, int32_t dataStructure,
                                      int64_t fileSize, int32_t firstBytes,
                                      const std::function<void()>& decodeLast, const YieldFn& yield);

} // namespace mvx
