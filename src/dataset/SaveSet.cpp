#include "dataset/SaveSet.h"

#include "common/FileLength.h"
#include "common/OutputFile.h"
#include "dataset/MultiFile.h"

#include <algorithm>
#include <fstream>
#include <vector>

namespace mvx {

SaveSetResult Save_Ensemble_Range(const SetDescriptors& set, int32_t ensembleBytes, int32_t first,
                                  int32_t last, const std::string& target, int64_t* bytesWritten,
                                  std::string* message) {
    if (bytesWritten) *bytesWritten = 0;
    if (message) message->clear();
    auto failed = [message](const std::string& why) {
        if (message) *message = "Save failed: " + why;
        return SaveSetResult::Failed;
    };
    const std::string& source = set.FileName;
    if (target.empty() || target == source) return SaveSetResult::NothingToDo;
    if (!set.FileValid || source.empty() || ensembleBytes <= 0) return failed("no ensemble file is loaded");

    const int64_t record = static_cast<int64_t>(ensembleBytes) + 2;
    const int64_t count = std::max<int64_t>(static_cast<int64_t>(last) - first + 1, 0);
    int64_t remaining = count * record;
    // 1-based position of the first record, then the file of the set that holds it.
    int64_t position =
        std::max<int64_t>((static_cast<int64_t>(first) - set.FileFirstEnsemble) * record + 1, 1);

    const std::vector<std::string> members = SetMemberPaths(source, set.MultiFileCount, set.QUARNFileCount);
    size_t start = 0;
    for (; start < members.size(); ++start) {
        const int64_t length = File_Length(members[start]);
        if (length < 0) return failed("cannot read " + members[start]);
        if (position < length || start + 1 == members.size()) break;
        position -= length;
    }
    if (start >= members.size()) return failed("cannot read " + source);

    // A file that already holds data is never overwritten: OutputFile refuses it as it opens it.
    OutputFile out;
    if (!out.Open(target)) {
        if (!out.OverwriteRefused()) return failed(out.Error());
        if (message) *message = out.Error();
        return SaveSetResult::NotAllowed;
    }

    std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(std::max<int64_t>(record, 1), 1 << 20)));
    for (size_t k = start; k < members.size() && remaining > 0 && out.Ok(); ++k) {
        std::ifstream in(members[k], std::ios::binary);
        if (!in) {
            out.Fail("cannot read " + members[k]);
            break;
        }
        if (k == start) in.seekg(position - 1);
        while (remaining > 0 && in) {
            const auto want = static_cast<std::streamsize>(
                std::min<int64_t>(remaining, static_cast<int64_t>(buffer.size())));
            in.read(buffer.data(), want);
            const std::streamsize got = in.gcount();
            if (got <= 0) break;
            if (!out.Write(buffer.data(), static_cast<size_t>(got))) break;
            remaining -= got;
        }
    }
    if (!out.Close()) return failed(out.Error());
    if (bytesWritten) *bytesWritten = static_cast<int64_t>(out.BytesWritten());
    return SaveSetResult::Saved;
}

} // namespace mvx
