#include "ensemble/LastEnsembleSearch.h"

#include "common/Rounding.h"
#include "ensemble/Framing.h"

namespace mvx {

namespace {
bool IsNvramBlock(const EnsembleFrame& frame) {
    return frame.EnsembleBytes > 8000 && frame.EnsembleBuffer.size() > 5 && frame.EnsembleBuffer[5] == 2;
}
} // namespace

LastEnsembleResult Find_Last_Ensemble(EnsembleFile& file, EnsembleFrame& frame, int32_t dataStructure,
                                      int64_t fileSize, int32_t firstBytes,
                                      const std::function<void()>& decodeLast, const YieldFn& yield) {
    LastEnsembleResult result;
    bool fileValid = true;
    file.Seek(1);
    const int64_t nearEnd = fileSize - 2 * static_cast<int64_t>(firstBytes) - 3;
    if (nearEnd > 0) file.Seek(nearEnd);
    if (Get_Next_Ensemble(dataStructure, file, frame, fileValid, yield)) {
        decodeLast();
        if (Get_Next_Ensemble(dataStructure, file, frame, fileValid, yield)) decodeLast();
        result.Found = true;
        return result;
    }

    const int64_t record = static_cast<int64_t>(firstBytes) + 2;
    const int64_t count =
        RoundToInt64(static_cast<double>(fileSize) / static_cast<double>(record), 0, INT64_MAX);
    for (int64_t k = 3; k <= count; ++k) {
        file.Seek(fileSize - record * k + 1);
        if (Get_Next_Ensemble(dataStructure, file, frame, fileValid, yield)) {
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
