#include "export/MatWriter.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

using namespace mvx;
namespace fs = std::filesystem;

namespace {

// Little-endian bytes of a record built by hand from the format's description.
struct RecordBytes {
    std::vector<uint8_t> bytes;
    void Int32(int32_t v) {
        const uint32_t u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(u >> (8 * i)));
    }
    void Int16(uint16_t v) {
        bytes.push_back(static_cast<uint8_t>(v & 0xff));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    void Text(const char* s) {
        while (*s) bytes.push_back(static_cast<uint8_t>(*s++));
        bytes.push_back(0);
    }
};

fs::path WriteWith(const std::function<void(OutputFile&)>& body) {
    const fs::path path = test::ScratchDir() / "vars.mat";
    OutputFile file;
    EXPECT_TRUE(file.Open(path.string())) << file.Error();
    body(file);
    EXPECT_TRUE(file.Close()) << file.Error();
    return path;
}

} // namespace

TEST(MatWriter, RecordBytesAreExact) {
    // 2 x 3 integers, column-major: (0,0)=1 (1,0)=-32768 (0,1)=3 (1,1)=4 (0,2)=5 (1,2)=-1; then a text of
    // 8-bit character codes as singles: 65.0f is 0x42820000 and 177.0f is 0x43310000 (not a negative char).
    const std::vector<int16_t> values{1, -32768, 3, 4, 5, -1};
    const fs::path path = WriteWith([&](OutputFile& f) {
        EXPECT_TRUE(Put_Mat_Integer_Array("Vel", values, f, 2, 3));
        EXPECT_TRUE(Put_Mat_Text("T", "A\xB1", f));
    });
    RecordBytes expected;
    for (int32_t v : {30, 2, 3, 0, 4}) expected.Int32(v);
    expected.Text("Vel");
    for (uint16_t v : {0x0001, 0x8000, 0x0003, 0x0004, 0x0005, 0xffff}) expected.Int16(v);
    for (int32_t v : {11, 1, 2, 0, 2}) expected.Int32(v);
    expected.Text("T");
    for (int32_t v : {0x42820000, 0x43310000}) expected.Int32(v);
    EXPECT_EQ(test::ReadAll(path), expected.bytes);
}

TEST(MatWriter, BadArgumentsWriteNothingAndFailTheFile) {
    const std::vector<int32_t> three{1, 2, 3};
    const std::vector<std::function<bool(OutputFile&)>> cases{
        [&](OutputFile& f) { return Put_Mat_Long_Array("L", three, f, 2, 2); }, // too few values
        [&](OutputFile& f) { return Put_Mat_Long_Array("L", three, f, 3, -3); },
        [&](OutputFile& f) { return Put_Mat_Long(std::string_view("a\0b", 3), 1, f); },
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const fs::path path = test::ScratchDir() / "bad.mat";
        OutputFile file;
        ASSERT_TRUE(file.Open(path.string()));
        ASSERT_TRUE(Put_Mat_Long("Before", 7, file));
        EXPECT_FALSE(cases[i](file));
        EXPECT_FALSE(Put_Mat_Long("After", 8, file)); // the file takes nothing more
        EXPECT_EQ(file.BytesWritten(), 31u);          // only the record before: 20 + 7 + 4 bytes
        EXPECT_FALSE(file.Close());
        EXPECT_FALSE(fs::exists(path)); // a failed file does not stay behind
    }
}
