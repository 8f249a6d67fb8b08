#pragma once
// Every new file the program makes (exports, pictures, reports, saved sets, simulated files) is written
// through this. It never replaces or extends data that is already there: the target is opened without
// truncation and a target holding one byte or more is refused with "Over-Write of File Not Allowed",
// so nothing can fill the target between a check and the open. Writes are buffered; the first failure
// (disk full, a folder that is gone, a directory as target, an ensemble a writer could not read ...) is
// kept as a message and every later write is skipped. A file that failed is put back as Open found it
// when it is closed: removed when Open created it, emptied when it was an empty file, so that a retry
// is not refused. Nothing here throws or ends the program.
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

    // Opens path for writing from its first byte. A new file is created; an existing empty file (or a
    // device such as a terminal) is written into; an existing file of length 1 or more is left
    // untouched and refused with kOverwriteNotAllowed. False with Error() set when the file cannot be
    // used.
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

    // Records a failure found by a writer on top of this file (an ensemble it could not read, a bad
    // argument), so that the file reports it like a write failure, takes no further writes and is put
    // back as it was found when it is closed.
    void Fail(const std::string& message);

    // Writes what is buffered and closes. False when the flush or the close failed, or when anything
    // failed earlier: then the target is put back as Open found it and Error() tells what failed and
    // what became of the file. Safe to call when not open.
    bool Close();
    // Gives up on the file whatever was written: closes it and puts the target back as Open found it.
    // For a caller that fails after opening (a picture that could not be drawn).
    void Discard(const std::string& message);

  private:
    bool Flush();
    bool WriteThrough(const char* data, size_t size);
    void SetErrorFromErrno(const char* what, int err);
    // Removes the file Open created or empties the empty file it opened; says so in the error.
    void PutBack();
    // True while path_ still names the file that was opened.
    bool StillOurs() const;

    int fd_ = -1;
    std::string path_;
    std::string error_;
    bool refused_ = false;
    bool created_ = false; // Open made the file
    bool regular_ = false; // a regular file (not a device): it can be emptied again
    uint64_t device_ = 0, inode_ = 0;
    uint64_t written_ = 0;
    std::vector<char> buffer_;
};

} // namespace mvx
