#pragma once
// Readers of the number at the start of a text, for what users type into input boxes, the fields of
// report files and the number fields of file names. Each skips leading spaces and tabs first, reads as
// far as the number goes and ignores the rest; a text that does not start with a number reads as 0.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mvx {

// A sign, digits, a decimal fraction and an exponent (e, E, d or D, with its own sign): "-1.5e3 m" reads
// -1500, ".5" reads 0.5. An exponent beyond the range of a double gives an infinity, or 0 when negative.
double LeadingNumberValue(std::string_view text);
// LeadingNumberValue rounded (halves to even) and held to 32 bits: LeadingWholeNumber's general case.
int32_t RoundedLeadingNumber(std::string_view text);

// LeadingNumberValue rounded to a whole number (halves to even) and held to 32 bits. Inline for the
// plain whole numbers of up to nine digits that fill report files.
inline int32_t LeadingWholeNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const size_t first = i;
    int32_t value = 0;
    while (i < text.size() && i - first < 9 && text[i] >= '0' && text[i] <= '9')
        value = value * 10 + (text[i++] - '0');
    const bool plain = i > first && (i == text.size() || text[i] == ' ' || text[i] == '\t');
    return plain ? (negative ? -value : value) : RoundedLeadingNumber(text);
}

// A sign and decimal digits only, as in a name's number field: "12.7" reads 12, "1e2" reads 1.
int64_t LeadingDigits(std::string_view text);

} // namespace mvx
