#pragma once
// Finding the last ensemble of a file or set: a look near the end for ensembles of the first one's
// length, then a backward search at whole multiples of that length.
#include "common/Callbacks.h"
#include "ensemble/SetStream.h"
#include "model/EnsembleFrame.h"

#include <cstdint>
#include <functional>

namespace mvx {

struct LastEnsembleResult {
    bool Found = false; // an ensemble was taken as the last
    bool Nvram = false; // the backward search met an NVRAM block
};

// totalLength is the stream's length and firstBytes EnsembleBytes of the first ensemble; decodeLast is
// called for each ensemble taken as the last one (the caller decodes it into its own fields).
// frame.EnsembleBytes is left as firstBytes after every unsuccessful backward step.
LastEnsembleResult Find_Last_Ensemble(SetStream& stream, EnsembleFrame& frame, int32_t dataStructure,
                                      int64_t totalLength, int32_t firstBytes, bool& fileValid,
                                      const std::function<void()>& decodeLast, const YieldFn& yield);

} // namespace mvx
