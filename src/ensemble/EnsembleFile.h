#pragma once
// Binary reading of an ensemble file through a large buffer, with the positions the readers use:
// 1-based byte positions, and "at end" only after a read came up short (a read that ends exactly on the
// last byte does not put the file at its end). A seek clears the end state.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

class EnsembleFile {
  public:
    explicit EnsembleFile(size_t bufferSize = 1 << 20);
    ~EnsembleFile();
    EnsembleFile(const EnsembleFile&) = delete;
    EnsembleFile& operator=(const EnsembleFile&) = delete;

    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

    // Current length of the file on disk (it may grow while we read).
    int64_t Length() const;
    // True while the path still names the file that was opened (not removed, renamed or replaced).
    bool StillAtPath() const;

    // Next read starts at this 1-based position (values below 1 mean 1).
    void Seek(int64_t position);
    // 1-based position of the next byte to be read.
    int64_t NextPosition() const { return pos_ + 1; }
    // 1-based position of the last byte consumed (0 before any read).
    int64_t LastPositionRead() const { return pos_; }
    bool AtEnd() const { return atEnd_; }

    // Reads up to n bytes; a short read puts the file at its end. Returns the bytes read.
    size_t Read(uint8_t* dest, size_t n);
    // Reads one byte, or returns -1 and puts the file at its end.
    int ReadByte() {
        if (pos_ >= bufStart_ && pos_ < bufStart_ + static_cast<int64_t>(bufLen_)) {
            return buffer_[static_cast<size_t>(pos_++ - bufStart_)];
        }
        return ReadByteSlow();
    }
    // Skips n bytes as a read would (a skip past the end puts the file at its end).
    size_t Skip(size_t n);

    // Direct view of buffered bytes from the current position (refilling when empty); avail is 0 at
    // the end of the file. Callers that consume bytes from the view call Advance.
    const uint8_t* View(size_t& avail);
    void Advance(size_t n) { pos_ += static_cast<int64_t>(n); }
    void MarkAtEnd() { atEnd_ = true; }

    // The count bytes from the 1-based position in one piece, without moving the read position: got is
    // count, or what there is when the file ends first. The bytes stay valid until the next read, peek or
    // seek that refills the buffer (which grows for a count larger than half of it).
    const uint8_t* Peek(int64_t position, size_t count, size_t& got) {
        const int64_t offset = position - 1;
        if (Buffered(position, count)) {
            got = count;
            return buffer_.data() + (offset - bufStart_);
        }
        return PeekSlow(offset, count, got);
    }

    // Whether the count bytes from the position are in the buffer now.
    bool Buffered(int64_t position, size_t count) const {
        const int64_t offset = position - 1;
        return offset >= bufStart_ &&
               offset + static_cast<int64_t>(count) <= bufStart_ + static_cast<int64_t>(bufLen_);
    }

    // Sum modulo 2^16 of count bytes from the position, which the last Peek made available. It comes from
    // running sums kept over the buffer and extended as far as asked, so testing the checksums of many
    // overlapping candidates costs each byte once rather than once per candidate.
    uint16_t RunningSum(int64_t position, size_t count) {
        const size_t from = static_cast<size_t>(position - 1 - bufStart_);
        const size_t to = from + count;
        if (sumsFrom_ > sumsTo_ || to < sumsFrom_ || from > sumsTo_) StartSums(from);
        if (from < sumsFrom_ || to > sumsTo_) ExtendSums(from, to);
        return static_cast<uint16_t>(sums_[to] - sums_[from]);
    }

  private:
    int ReadByteSlow();
    bool Fill(int64_t offset);
    const uint8_t* PeekSlow(int64_t offset, size_t count, size_t& got);
    void StartSums(size_t at);
    void ExtendSums(size_t from, size_t to);

    int fd_ = -1;
    std::string path_;
    uint64_t device_ = 0, inode_ = 0; // of the file opened
    std::vector<uint8_t> buffer_;
    int64_t bufStart_ = 0; // file offset of buffer_[0]
    size_t bufLen_ = 0;
    int64_t pos_ = 0; // 0-based offset of the next byte
    bool atEnd_ = false;
    // sums_[i] - sums_[j] is the sum of buffer_[j, i) for sumsFrom_ <= j <= i <= sumsTo_ (none when
    // sumsFrom_ > sumsTo_); refilling the buffer drops them.
    std::vector<uint16_t> sums_;
    size_t sumsFrom_ = 1, sumsTo_ = 0;
};

} // namespace mvx
