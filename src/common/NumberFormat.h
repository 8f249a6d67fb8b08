#pragma once
// Numeric pictures used by reports and files: "0", "00", "0.00", "00000000", "###,###,###,###".
#include <cstdint>
#include <string>

namespace mvx {

// Formats a number with a picture made of '0' (forced digit), '#' (optional digit), ',' (thousands
// grouping when it appears in the integer part) and '.' (decimal point; the count of placeholders after
// it fixes the decimals). Values are rounded halves to even. A negative value that rounds to zero prints
// without its sign.
std::string FormatNumber(double value, const std::string& picture);

// Left-pads text with pad to at least width characters; longer text comes back unchanged.
std::string Fix_String(const std::string& text, char pad, int width);

// Right-pads text with spaces to at least width characters.
std::string PadRight(const std::string& text, int width);

} // namespace mvx
