#pragma once
// A file that an export or a report is written into. It never replaces or extends data that is
// already there: a target holding one byte or more is refused with "Over-Write of File Not Allowed".
// Writes are buffered; the first failure (disk full, a folder that is gone, a directory as target ...)
// is kept as a message, every later write is then skipped, and the caller reads the message once at
// the end. Nothing here throws or ends the program.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mvx {

// The message shown when the chosen target already holds data.
inline constexpr const char* kOverwriteNotAllowed = "Over-Write of File Not Allowed";

class OutputFile {
  public:
    OutputFile() = default;
    ~OutputFile(); // closes an open file; a failure at that point is lost, so call Close() yourself
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Opens path for writing from its first byte. A new file is created; an existing empty file is
    // written into; an existing file of length 1 or more is left untouched and refused with
    // kOverwriteNotAllowed. False with Error() set when the file cannot be used.
    bool Open(const std::string& path);

    bool IsOpen() const { return fd_ >= 0; }
    // True while nothing has failed since Open.
    bool Ok() const { return error_.empty(); }
    // The first failure, as a sentence for a message box; empty while all is well.
    const std::string& Error() const { return error_; }
    // True when Open refused a non-empty target.
    bool OverwriteRefused() const { return refused_; }
    const std::string& Path() const { return path_; }
    // Bytes handed to Write so far (buffered or on disk).
    uint64_t BytesWritten() const { return written_; }

    // Raw bytes, written as given. False once anything has failed.
    bool Write(const void* data, size_t size);
    bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }

    // Text statements: a quoted line is QUOTE text QUOTE CR LF; a piece is text with no line end; a
    // line end is CR LF. Text is 8-bit and written byte for byte.
    bool WriteQuotedLine(std::string_view text);
    bool WritePiece(std::string_view text) { return Write(text); }
    bool WriteLineEnd() { return Write("\r\n", 2); }

    // Records a failure found by a writer on top of this file (for example a bad argument), so that
    // the file reports it like a write failure and takes no further writes. What was written before
    // stays in the file.
    void Fail(const std::string& message);

    // Writes what is buffered and closes. False when the flush or the close failed, or when anything
    // failed earlier; Error() tells what. Safe to call when not open.
    bool Close();

  private:
    bool Flush();
    bool WriteThrough(const char* data, size_t size);
    void SetErrorFromErrno(const char* what, int err);

    int fd_ = -1;
    std::string path_;
    std::string error_;
    bool refused_ = false;
    uint64_t written_ = 0;
    std::vector<char> buffer_;
};

} // namespace mvx
