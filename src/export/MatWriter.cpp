#include "export/MatWriter.h"

#include <bit>
#include <cstring>
#include <limits>
#include <vector>

namespace mvx {

namespace {

static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559, "MAT singles are IEEE 32-bit");
static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559, "MAT doubles are IEEE 64-bit");

template <typename T> void AppendLittleEndian(std::vector<char>& out, T value) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) {
        for (size_t i = 0; i < sizeof(T) / 2; ++i) std::swap(bytes[i], bytes[sizeof(T) - 1 - i]);
    }
    out.insert(out.end(), bytes, bytes + sizeof(T));
}

bool CheckName(std::string_view name, OutputFile& file) {
    if (name.empty()) {
        file.Fail("A MAT variable needs a name");
        return false;
    }
    if (name.find('\0') != std::string_view::npos || name.size() > 0x7ffffffe) {
        file.Fail("Bad MAT variable name");
        return false;
    }
    return true;
}

// Header, name and zero byte of one record.
bool PutHeader(OutputFile& file, int32_t type, std::string_view name, int32_t rows, int32_t columns) {
    std::vector<char> head;
    head.reserve(20 + name.size() + 1);
    AppendLittleEndian<int32_t>(head, type);
    AppendLittleEndian<int32_t>(head, rows);
    AppendLittleEndian<int32_t>(head, columns);
    AppendLittleEndian<int32_t>(head, 0);
    AppendLittleEndian<int32_t>(head, static_cast<int32_t>(name.size() + 1));
    head.insert(head.end(), name.begin(), name.end());
    head.push_back('\0');
    return file.Write(head.data(), head.size());
}

// Checks the arguments and writes one whole record of a numeric array.
template <typename T>
bool PutArray(OutputFile& file, int32_t type, std::string_view name, std::span<const T> values, int32_t rows,
              int32_t columns) {
    if (!file.Ok()) return false;
    if (!CheckName(name, file)) return false;
    if (rows < 0 || columns < 0) {
        file.Fail("MAT variable " + std::string(name) + " has a negative dimension");
        return false;
    }
    const uint64_t count = static_cast<uint64_t>(rows) * static_cast<uint64_t>(columns);
    if (count > values.size()) {
        file.Fail("MAT variable " + std::string(name) + " has fewer values than its dimensions");
        return false;
    }
    if (!PutHeader(file, type, name, rows, columns)) return false;
    if constexpr (std::endian::native == std::endian::little) {
        return file.Write(values.data(), static_cast<size_t>(count) * sizeof(T));
    } else {
        std::vector<char> data;
        data.reserve(static_cast<size_t>(count) * sizeof(T));
        for (uint64_t i = 0; i < count; ++i) AppendLittleEndian<T>(data, values[i]);
        return file.Write(data.data(), data.size());
    }
}

// Rounds to single precision; values beyond its range become infinite rather than undefined.
float ToSingle(double value) {
    if (value > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (value < std::numeric_limits<float>::lowest()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

} // namespace

bool Put_Mat_Text(std::string_view name, std::string_view text, OutputFile& file) {
    if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        file.Fail("MAT text " + std::string(name) + " is too long");
        return false;
    }
    std::vector<float> codes(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        codes[i] = static_cast<float>(static_cast<unsigned char>(text[i]));
    return PutArray<float>(file, kMatText, name, codes, 1, static_cast<int32_t>(text.size()));
}

bool Put_Mat_Long(std::string_view name, int32_t value, OutputFile& file) {
    return PutArray<int32_t>(file, kMatInt32, name, std::span<const int32_t>(&value, 1), 1, 1);
}

bool Put_Mat_Single(std::string_view name, double value, OutputFile& file) {
    const float single = ToSingle(value);
    return PutArray<float>(file, kMatSingle, name, std::span<const float>(&single, 1), 1, 1);
}

bool Put_Mat_Double_Array(std::string_view name, std::span<const double> values, OutputFile& file,
                          int32_t rows, int32_t columns) {
    return PutArray<double>(file, kMatDouble, name, values, rows, columns);
}

bool Put_Mat_Long_Array(std::string_view name, std::span<const int32_t> values, OutputFile& file,
                        int32_t rows, int32_t columns) {
    return PutArray<int32_t>(file, kMatInt32, name, values, rows, columns);
}

bool Put_Mat_Integer_Array(std::string_view name, std::span<const int16_t> values, OutputFile& file,
                           int32_t rows, int32_t columns) {
    return PutArray<int16_t>(file, kMatInt16, name, values, rows, columns);
}

bool Put_Mat_UInt16_Array(std::string_view name, std::span<const int16_t> values, OutputFile& file,
                          int32_t rows, int32_t columns) {
    return PutArray<int16_t>(file, kMatUInt16, name, values, rows, columns);
}

bool Put_Mat_Byte_Array(std::string_view name, std::span<const uint8_t> values, OutputFile& file,
                        int32_t rows, int32_t columns) {
    return PutArray<uint8_t>(file, kMatUInt8, name, values, rows, columns);
}

} // namespace mvx
