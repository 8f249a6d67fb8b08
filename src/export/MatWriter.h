#pragma once
// Level 4 MAT-file records, written one after the other with no file header. Each record is a 20-byte
// header (type, rows, columns, imaginary flag 0, name length + 1; little-endian 32-bit integers), the
// name and a zero byte, then the real data in column-major order (row index fastest).
//
// Array writers take the caller's data in that same order: element (r, c) at index c * rows + r. The
// span must hold at least rows * columns elements; a shorter span, a negative dimension, an empty name
// or a name with a zero byte writes nothing and fails the file with a message. Every writer returns
// false once the file has failed (see OutputFile::Error).
#include "common/OutputFile.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace mvx {

// Record type numbers: 0 double, 10 single, 11 single holding text, 20 int32, 30 int16, 40 uint16,
// 50 uint8.
enum MatType : int32_t {
    kMatDouble = 0,
    kMatSingle = 10,
    kMatText = 11,
    kMatInt32 = 20,
    kMatInt16 = 30,
    kMatUInt16 = 40,
    kMatUInt8 = 50,
};

// A 1 x length text: each 8-bit character code (0..255) stored as a 32-bit float.
bool Put_Mat_Text(std::string_view name, std::string_view text, OutputFile& file);
// A 1 x 1 signed 32-bit value.
bool Put_Mat_Long(std::string_view name, int32_t value, OutputFile& file);
// A 1 x 1 single; the value is rounded to single precision (beyond its range it becomes infinite).
bool Put_Mat_Single(std::string_view name, double value, OutputFile& file);

bool Put_Mat_Double_Array(std::string_view name, std::span<const double> values, OutputFile& file,
                          int32_t rows, int32_t columns);
bool Put_Mat_Long_Array(std::string_view name, std::span<const int32_t> values, OutputFile& file,
                        int32_t rows, int32_t columns);
bool Put_Mat_Integer_Array(std::string_view name, std::span<const int16_t> values, OutputFile& file,
                           int32_t rows, int32_t columns);
// The same 16-bit words a signed array holds, labelled unsigned (-1 reads back as 65535).
bool Put_Mat_UInt16_Array(std::string_view name, std::span<const int16_t> values, OutputFile& file,
                          int32_t rows, int32_t columns);
bool Put_Mat_Byte_Array(std::string_view name, std::span<const uint8_t> values, OutputFile& file,
                        int32_t rows, int32_t columns);

} // namespace mvx
