#include "common/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace mvx {

namespace {

std::string KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a plain file";
}

std::string Unreadable(int err) {
    return "unreadable (" + std::generic_category().message(err) + ")";
}

} // namespace

std::string InputProblem(const std::string& path) {
    if (path.empty()) return "no file name given";
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? "no such file" : Unreadable(errno);
    if (!S_ISREG(st.st_mode)) return "not a regular file (" + KindOf(st.st_mode) + ")";
    // O_NONBLOCK: should the path have become a named pipe since, the open does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Unreadable(errno);
    const bool statOk = ::fstat(fd, &st) == 0;
    const int err = errno;
    ::close(fd);
    if (!statOk) return Unreadable(err);
    if (!S_ISREG(st.st_mode)) return "not a regular file (" + KindOf(st.st_mode) + ")";
    if (st.st_size == 0) return "empty";
    return {};
}

} // namespace mvx
