#include "ensemble/LastEnsembleSearch.h"

#include "common/Rounding.h"

namespace mvx {

namespace {
bool IsNvramBlock(const EnsembleFrame& frame) {
    return frame.EnsembleBytes > 8000 && frame.EnsembleBuffer.size() > 5 && frame.EnsembleBuffer[5] == 2;
}
} // namespace

LastEnsembleResult Find_Last_Ensemble(SetStream& stream, EnsembleFrame& frame, int32_t dataStructure,
                                      int64_t totalLength, int32_t firstBytes, bool& fileValid,
                                      const std::function<void()>& decodeLast, const YieldFn& yield) {
    LastEnsembleResult result;
    // For ensembles of equal length this is the first byte of the second-to-last one.
    const int64_t nearEnd = totalLength - 2 * static_cast<int64_t>(firstBytes) - 3;
    if (!stream.Seek(nearEnd > 0 ? nearEnd : 1)) return result;
    if (stream.NextEnsemble(dataStructure, frame, fileValid, yield)) {
        decodeLast();
        if (stream.NextEnsemble(dataStructure, frame, fileValid, yield)) decodeLast();
        result.Found = true;
        return result;
    }

    const int64_t record = static_cast<int64_t>(firstBytes) + 2;
    const int64_t count =
        RoundToInt64(static_cast<double>(totalLength) / static_cast<double>(record), 0, INT64_MAX);
    for (int64_t k = 3; k <= count; ++k) {
        // A step that would start before the file ends the search: the stream would start it at the
        // first byte instead and take the first ensemble for the last.
        const int64_t position = totalLength - record * k + 1;
        if (position < 1 || !stream.Seek(position)) break;
        if (stream.NextEnsemble(dataStructure, frame, fileValid, yield)) {
            if (frame.EnsembleBytes == firstBytes) {
                decodeLast();
                result.Found = true;
                return result;
            }
            if (IsNvramBlock(frame)) result.Nvram = true;
        }
        frame.EnsembleBytes = firstBytes;
    }
    return result;
}

} // namespace mvx
