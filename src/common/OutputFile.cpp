#include "common/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace mvx {

namespace {
constexpr size_t kBufferSize = 64 * 1024;
}

OutputFile::~OutputFile() {
    if (fd_ >= 0) Close();
}

void OutputFile::SetErrorFromErrno(const char* what, int err) {
    if (!error_.empty()) return;
    error_ = std::string(what) + " \"" + path_ + "\": " + std::generic_category().message(err);
}

void OutputFile::Fail(const std::string& message) {
    if (!error_.empty()) return;
    error_ = message.empty() ? std::string("Write failed") : message;
    // Nothing more goes into a file that failed; Close puts it back as it was found.
    buffer_.clear();
}

namespace {
int OpenRetrying(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
} // namespace

bool OutputFile::Open(const std::string& path) {
    if (fd_ >= 0) Close();
    path_ = path;
    error_.clear();
    refused_ = created_ = regular_ = false;
    written_ = 0;
    buffer_.clear();
    if (path.empty()) {
        error_ = "No file name given";
        return false;
    }
    // A new file is made with O_EXCL, so that it is known to be ours and can be removed after a
    // failure. An existing one is opened as it is, with no O_TRUNC and no O_APPEND, and looked at
    // before any byte goes in. O_NONBLOCK keeps a pipe without a reader from hanging the program; it is
    // cleared below. A file removed between the two opens is made again.
    constexpr int kFlags = O_WRONLY | O_CLOEXEC | O_NONBLOCK;
    int fd = -1, err = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        fd = OpenRetrying(path, kFlags | O_CREAT | O_EXCL);
        if (fd >= 0) {
            created_ = true;
            break;
        }
        if ((err = errno) != EEXIST) break;
        fd = OpenRetrying(path, kFlags);
        if (fd >= 0 || (err = errno) != ENOENT) break;
    }
    if (fd < 0) {
        created_ = false;
        SetErrorFromErrno("Cannot open", err);
        return false;
    }
    fd_ = fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        SetErrorFromErrno("Cannot open", errno);
        Close();
        return false;
    }
    device_ = st.st_dev;
    inode_ = st.st_ino;
    regular_ = S_ISREG(st.st_mode);
    if (S_ISDIR(st.st_mode)) {
        SetErrorFromErrno("Cannot open", EISDIR);
        Close();
        return false;
    }
    if (st.st_size >= 1) {
        // Not ours to change: closed without a byte written or removed.
        created_ = regular_ = false;
        Close();
        refused_ = true;
        error_ = kOverwriteNotAllowed;
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        SetErrorFromErrno("Cannot open", errno);
        Close();
        return false;
    }
    buffer_.reserve(kBufferSize);
    return true;
}

bool OutputFile::StillOurs() const {
    struct stat st {};
    return ::stat(path_.c_str(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_;
}

void OutputFile::PutBack() {
    if (created_) {
        const bool removed = StillOurs() && ::unlink(path_.c_str()) == 0;
        error_ +=
            removed ? "; the unfinished file was removed" : "; the unfinished file could not be removed";
    } else if (regular_) {
        const bool emptied =
            fd_ >= 0 ? ::ftruncate(fd_, 0) == 0 : StillOurs() && ::truncate(path_.c_str(), 0) == 0;
        error_ += emptied ? "; the file was left empty as it was" : "; the file could not be emptied again";
    }
    created_ = regular_ = false;
}

bool OutputFile::WriteThrough(const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            SetErrorFromErrno("Cannot write to", errno);
            return false;
        }
        if (n == 0) {
            SetErrorFromErrno("Cannot write to", EIO);
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool OutputFile::Flush() {
    if (buffer_.empty()) return Ok();
    const bool ok = Ok() && WriteThrough(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok;
}

bool OutputFile::Write(const void* data, size_t size) {
    if (!Ok()) return false;
    if (fd_ < 0) {
        Fail("The file is not open");
        return false;
    }
    if (size == 0) return true;
    const char* bytes = static_cast<const char*>(data);
    written_ += size;
    if (buffer_.size() + size <= kBufferSize) {
        buffer_.insert(buffer_.end(), bytes, bytes + size);
        return true;
    }
    if (!Flush()) return false;
    if (size >= kBufferSize) return WriteThrough(bytes, size);
    buffer_.insert(buffer_.end(), bytes, bytes + size);
    return true;
}

bool OutputFile::WriteQuotedLine(std::string_view text) {
    if (!Write("\"", 1)) return false;
    if (!Write(text)) return false;
    return Write("\"\r\n", 3);
}

bool OutputFile::Close() {
    if (fd_ < 0) return Ok();
    Flush();
    if (!Ok()) PutBack();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR && Ok()) {
        SetErrorFromErrno("Cannot finish writing", errno);
        PutBack();
    }
    created_ = regular_ = false;
    buffer_.clear();
    buffer_.shrink_to_fit();
    return Ok();
}

void OutputFile::Discard(const std::string& message) {
    Fail(message);
    Close();
}

} // namespace mvx
