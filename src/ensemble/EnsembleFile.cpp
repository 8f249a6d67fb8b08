#include "ensemble/EnsembleFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mvx {

EnsembleFile::EnsembleFile(size_t bufferSize) : buffer_(std::max<size_t>(bufferSize, 4096)) {}

EnsembleFile::~EnsembleFile() {
    Close();
}

bool EnsembleFile::Open(const std::string& path) {
    Close();
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return false;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
        Close();
        return false;
    }
    path_ = path;
    device_ = static_cast<uint64_t>(st.st_dev);
    inode_ = static_cast<uint64_t>(st.st_ino);
    pos_ = 0;
    bufStart_ = 0;
    bufLen_ = 0;
    atEnd_ = false;
    return true;
}

void EnsembleFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    bufLen_ = 0;
    atEnd_ = false;
}

int64_t EnsembleFile::Length() const {
    if (fd_ < 0) return 0;
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return 0;
    return st.st_size;
}

bool EnsembleFile::StillAtPath() const {
    struct stat named {};
    return fd_ >= 0 && ::stat(path_.c_str(), &named) == 0 && static_cast<uint64_t>(named.st_dev) == device_ &&
           static_cast<uint64_t>(named.st_ino) == inode_;
}

void EnsembleFile::Seek(int64_t position) {
    pos_ = std::max<int64_t>(position, 1) - 1;
    atEnd_ = false;
}

bool EnsembleFile::Fill(int64_t offset) {
    bufStart_ = offset;
    bufLen_ = 0;
    sumsFrom_ = 1;
    sumsTo_ = 0;
    if (fd_ < 0) return false;
    while (bufLen_ < buffer_.size()) {
        ssize_t got = ::pread(fd_, buffer_.data() + bufLen_, buffer_.size() - bufLen_,
                              static_cast<off_t>(offset + static_cast<int64_t>(bufLen_)));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        bufLen_ += static_cast<size_t>(got);
    }
    return bufLen_ > 0;
}

int EnsembleFile::ReadByteSlow() {
    if (!Fill(pos_)) {
        atEnd_ = true;
        return -1;
    }
    return buffer_[static_cast<size_t>(pos_++ - bufStart_)];
}

const uint8_t* EnsembleFile::View(size_t& avail) {
    if (!(pos_ >= bufStart_ && pos_ < bufStart_ + static_cast<int64_t>(bufLen_))) {
        if (!Fill(pos_)) {
            avail = 0;
            return nullptr;
        }
    }
    const size_t offset = static_cast<size_t>(pos_ - bufStart_);
    avail = bufLen_ - offset;
    return buffer_.data() + offset;
}

const uint8_t* EnsembleFile::PeekSlow(int64_t offset, size_t count, size_t& got) {
    // At least twice the piece asked for, so a run of candidates that each reach far ahead refills only
    // after moving half a buffer on.
    if (2 * count > buffer_.size()) buffer_.resize(2 * count);
    Fill(std::max<int64_t>(offset, 0));
    got = offset < 0 ? 0 : std::min(count, bufLen_);
    return buffer_.data();
}

void EnsembleFile::StartSums(size_t at) {
    if (sums_.size() < buffer_.size() + 1) sums_.resize(buffer_.size() + 1);
    sums_[at] = 0;
    sumsFrom_ = sumsTo_ = at;
}

void EnsembleFile::ExtendSums(size_t from, size_t to) {
    // In steps of at least a few KiB, so that a run of candidates one byte apart extends the sums once
    // per step rather than once per candidate.
    constexpr size_t kStep = 4096;
    if (from < sumsFrom_) {
        const size_t low = std::min(from, sumsFrom_ > kStep ? sumsFrom_ - kStep : 0);
        uint16_t sum = sums_[sumsFrom_];
        for (size_t i = sumsFrom_; i-- > low;) sums_[i] = sum = static_cast<uint16_t>(sum - buffer_[i]);
        sumsFrom_ = low;
    }
    if (to > sumsTo_) {
        const size_t high = std::max(to, std::min(sumsTo_ + kStep, bufLen_));
        uint16_t sum = sums_[sumsTo_];
        for (size_t i = sumsTo_; i < high; ++i) sums_[i + 1] = sum = static_cast<uint16_t>(sum + buffer_[i]);
        sumsTo_ = high;
    }
}

size_t EnsembleFile::Read(uint8_t* dest, size_t n) {
    size_t done = 0;
    while (done < n) {
        size_t avail = 0;
        const uint8_t* src = View(avail);
        if (!src) break;
        const size_t take = std::min(avail, n - done);
        std::memcpy(dest + done, src, take);
        pos_ += static_cast<int64_t>(take);
        done += take;
    }
    if (done < n) {
        // A short read consumes what there was and leaves the file at its end.
        atEnd_ = true;
    }
    return done;
}

size_t EnsembleFile::Skip(size_t n) {
    const int64_t length = Length();
    const int64_t remaining = std::max<int64_t>(0, length - pos_);
    if (static_cast<int64_t>(n) > remaining) {
        pos_ += remaining;
        atEnd_ = true;
        return static_cast<size_t>(remaining);
    }
    pos_ += static_cast<int64_t>(n);
    return n;
}

} // namespace mvx
