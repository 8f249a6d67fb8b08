#pragma once
// The keyless text records of the options file and the recent-files list: one value per line, strings in
// double quotes, Booleans as #TRUE# / #FALSE#, numbers in plain decimal with a period, lines ended by
// CR LF. The readers here never trust the file: line length is capped and every value is checked.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace mvx {

// Longest line a reader keeps. Any record of ours is far shorter; the rest of a longer line is skipped
// without being stored, and such a line counts as unreadable.
constexpr std::size_t kMaxRecordLine = 4096;

// Reads lines ended by LF, CR or CR LF (or by the end of input) without ever holding more than maxLine
// characters of one line.
class LineReader {
  public:
    explicit LineReader(std::istream& in, std::size_t maxLine = kMaxRecordLine)
        : In_(in), MaxLine_(maxLine) {}
    // The next line without its end; false when no line is left. overlong is set when the line was
    // longer than maxLine (line then holds its first maxLine characters).
    bool Next(std::string& line, bool& overlong);

  private:
    std::istream& In_;
    std::size_t MaxLine_;
};

// Encoders: one record each, without the line end.
std::string QuoteText(std::string_view text);
std::string BooleanText(bool value);
std::string NumberText(double value); // shortest form that reads back to the same double
std::string NumberText(float value);  // shortest form that reads back to the same single
std::string NumberText(int32_t value);
inline constexpr const char* kRecordEnd = "\r\n";

// The line without the blanks and tabs around it.
std::string TrimmedText(std::string_view line);
// Decoders: blanks and tabs around the value are ignored; nullopt when the line does not hold a value of
// that type (garbage, a value of another type, out of range, not finite).
std::optional<std::string> ParseQuotedText(std::string_view line);
std::optional<bool> ParseBooleanText(std::string_view line);
std::optional<double> ParseNumberText(std::string_view line);
std::optional<float> ParseSingleText(std::string_view line);
// A number rounded to the nearest integer (halves to even) that fits 32 bits.
std::optional<int32_t> ParseInt32Text(std::string_view line);

// Replaces the file at path with text so that a failure at any point leaves the old file as it was: the
// text goes to a new file in the same folder, which is flushed to disk and then renamed over the old one.
// False when any step fails (the new file is removed again).
bool ReplaceFileText(const std::string& path, const std::string& text);

} // namespace mvx
