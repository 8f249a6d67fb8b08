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
    // What was written before the failure stays in the file.
    if (fd_ >= 0) Flush();
    if (error_.empty()) error_ = message.empty() ? std::string("Write failed") : message;
}

bool OutputFile::Open(const std::string& path) {
    if (fd_ >= 0) Close();
    path_ = path;
    error_.clear();
    refused_ = false;
    written_ = 0;
    buffer_.clear();
    if (path.empty()) {
        error_ = "No file name given";
        return false;
    }
    // No O_TRUNC and no O_APPEND: an existing file is opened as it is and looked at before any byte
    // goes in. O_NONBLOCK keeps a pipe without a reader from hanging the program; it is cleared below.
    int fd;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        SetErrorFromErrno("Cannot open", errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        SetErrorFromErrno("Cannot open", err);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        SetErrorFromErrno("Cannot open", EISDIR);
        return false;
    }
    if (st.st_size >= 1) {
        ::close(fd);
        refused_ = true;
        error_ = kOverwriteNotAllowed;
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int err = errno;
        ::close(fd);
        SetErrorFromErrno("Cannot open", err);
        return false;
    }
    fd_ = fd;
    buffer_.reserve(kBufferSize);
    return true;
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
    if (::close(fd_) != 0 && errno != EINTR) SetErrorFromErrno("Cannot finish writing", errno);
    fd_ = -1;
    buffer_.clear();
    buffer_.shrink_to_fit();
    return Ok();
}

} // namespace mvx
