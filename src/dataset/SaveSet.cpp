#include "dataset/SaveSet.h"

#include "common/FileLength.h"
#include "dataset/MultiFile.h"

#include <algorithm>
#include <fstream>
#include <vector>

namespace mvx {

SaveSetResult Save_Ensemble_Range(const CoreState& state, int32_t first, int32_t last,
                                  const std::string& target, int64_t* bytesWritten) {
    if (bytesWritten) *bytesWritten = 0;
    const std::string& source = state.Set.FileName;
    if (target.empty() || target == source) return SaveSetResult::NothingToDo;
    if (!state.Set.FileValid || source.empty() || state.Frame.EnsembleBytes <= 0)
        return SaveSetResult::Failed;

    // A file that already holds data is never overwritten.
    if (File_Length(target) > 0) return SaveSetResult::NotAllowed;

    const int64_t record = static_cast<int64_t>(state.Frame.EnsembleBytes) + 2;
    const int64_t count = std::max<int64_t>(static_cast<int64_t>(last) - first + 1, 0);
    int64_t remaining = count * record;
    // 1-based position of the first record, then the file of the set that holds it.
    int64_t position =
        std::max<int64_t>((static_cast<int64_t>(first) - state.Set.FileFirstEnsemble) * record + 1, 1);

    const std::vector<std::string> members =
        SetMemberPaths(source, state.Set.MultiFileCount, state.Set.QUARNFileCount);
    size_t start = 0;
    for (; start < members.size(); ++start) {
        const int64_t length = File_Length(members[start]);
        if (length < 0) return SaveSetResult::Failed;
        if (position < length || start + 1 == members.size()) break;
        position -= length;
    }
    if (start >= members.size()) return SaveSetResult::Failed;

    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) return SaveSetResult::Failed;

    std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(std::max<int64_t>(record, 1), 1 << 20)));
    int64_t written = 0;
    for (size_t k = start; k < members.size() && remaining > 0; ++k) {
        std::ifstream in(members[k], std::ios::binary);
        if (!in) break;
        if (k == start) in.seekg(position - 1);
        while (remaining > 0 && in) {
            const auto want = static_cast<std::streamsize>(
                std::min<int64_t>(remaining, static_cast<int64_t>(buffer.size())));
            in.read(buffer.data(), want);
            const std::streamsize got = in.gcount();
            if (got <= 0) break;
            out.write(buffer.data(), got);
            written += got;
            remaining -= got;
        }
    }
    out.close();
    if (bytesWritten) *bytesWritten = written;
    return out ? SaveSetResult::Saved : SaveSetResult::Failed;
}

} // namespace mvx
