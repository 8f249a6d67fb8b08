#include "ensemble/SetStream.h"

#include "ensemble/Framing.h"

namespace mvx {

bool SetStream::Open(const std::vector<std::string>& paths) {
    Close();
    if (paths.empty()) return false;
    paths_ = paths;
    for (size_t i = 0; i < paths_.size(); ++i) {
        if (!file_.Open(paths_[i])) {
            Close();
            return false;
        }
        lengths_.push_back(file_.Length());
        total_ += lengths_.back();
    }
    current_ = paths_.size() - 1;
    return OpenMember(0);
}

void SetStream::Close() {
    file_.Close();
    paths_.clear();
    lengths_.clear();
    total_ = 0;
    current_ = 0;
}

int64_t SetStream::MemberOffset(size_t index) const {
    int64_t offset = 0;
    for (size_t k = 0; k < index && k < lengths_.size(); ++k) offset += lengths_[k];
    return offset;
}

bool SetStream::OpenMember(size_t index) {
    if (index >= paths_.size()) return false;
    if (index == current_ && file_.IsOpen()) {
        file_.Seek(1);
        return true;
    }
    current_ = index;
    return file_.Open(paths_[index]);
}

bool SetStream::Seek(int64_t position) {
    if (paths_.empty()) return false;
    int64_t local = position < 1 ? 1 : position;
    size_t k = 0;
    while (k + 1 < lengths_.size() && local > lengths_[k]) {
        local -= lengths_[k];
        ++k;
    }
    if (!OpenMember(k)) return false;
    file_.Seek(local);
    return true;
}

bool SetStream::NextEnsemble(int32_t dataStructure, EnsembleFrame& frame, bool& fileValid,
                             const YieldFn& yield) {
    if (!file_.IsOpen()) return false;
    for (;;) {
        if (Get_Next_Ensemble(dataStructure, file_, frame, fileValid, yield)) return true;
        // Only a member that ran out goes on into the next; an unknown structure or a search that
        // gave up on bad bytes ends here.
        if (!file_.AtEnd() || current_ + 1 >= paths_.size()) return false;
        if (dataStructure != kNarrowband && dataStructure != kBroadband) return false;
        if (!OpenMember(current_ + 1)) return false;
    }
}

} // namespace mvx
