#pragma once
// The files of a multi-file set read as one byte stream: positions are 1-based positions in the
// concatenation of the members, and an ensemble search that runs off the end of one member goes on at
// the beginning of the next. With one member it is exactly a single open file.
#include "common/Callbacks.h"
#include "ensemble/EnsembleFile.h"
#include "model/EnsembleFrame.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

class SetStream {
  public:
    // Measures every member and opens the first; False when a member cannot be opened.
    bool Open(const std::vector<std::string>& paths);
    void Close();
    // Total length of the members as measured by Open.
    int64_t TotalLength() const { return total_; }
    size_t MemberCount() const { return lengths_.size(); }
    size_t CurrentMember() const { return current_; }
    // Bytes of the members before member index (its first byte is position offset + 1), and its length.
    int64_t MemberOffset(size_t index) const;
    int64_t MemberLength(size_t index) const { return index < lengths_.size() ? lengths_[index] : 0; }
    // The open member (its own positions are local to it).
    EnsembleFile& File() { return file_; }

    // Next read starts at this 1-based position of the concatenation; a position past the end leaves
    // the last member positioned after its last byte. False when the member cannot be opened.
    bool Seek(int64_t position);

    // Get_Next_Ensemble on the open member; when that member is used up, the search goes on from the
    // beginning of the next one. A search that gives up inside a member (too many bad bytes) is not
    // continued.
    bool NextEnsemble(int32_t dataStructure, EnsembleFrame& frame, bool& fileValid, const YieldFn& yield);

  private:
    bool OpenMember(size_t index);

    std::vector<std::string> paths_;
    std::vector<int64_t> lengths_;
    int64_t total_ = 0;
    size_t current_ = 0;
    EnsembleFile file_{64 * 1024}; // the statistics read only a few ensembles
};

} // namespace mvx
