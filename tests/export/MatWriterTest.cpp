#include "export/MatWriter.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <vector>

#if MARVOX_HAVE_MATIO
#include <matio.h>
#endif

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

TEST(MatWriter, IntegerArrayRecordBytesAreExact) {
    // 2 x 3, column-major: (0,0)=1 (1,0)=-32768 (0,1)=3 (1,1)=4 (0,2)=5 (1,2)=-1
    const std::vector<int16_t> values{1, -32768, 3, 4, 5, -1};
    const fs::path path =
        WriteWith([&](OutputFile& f) { EXPECT_TRUE(Put_Mat_Integer_Array("Vel", values, f, 2, 3)); });
    RecordBytes expected;
    for (int32_t v : {30, 2, 3, 0, 4}) expected.Int32(v);
    expected.Text("Vel");
    for (uint16_t v : {0x0001, 0x8000, 0x0003, 0x0004, 0x0005, 0xffff}) expected.Int16(v);
    EXPECT_EQ(test::ReadAll(path), expected.bytes);
}

TEST(MatWriter, TextIsOneRowOfSingleCharacterCodes) {
    const fs::path path = WriteWith([](OutputFile& f) { EXPECT_TRUE(Put_Mat_Text("T", "A\xB1", f)); });
    RecordBytes expected;
    for (int32_t v : {11, 1, 2, 0, 2}) expected.Int32(v);
    expected.Text("T");
    // 65.0f is 0x42820000 and 177.0f is 0x43310000 (the code of an 8-bit character, not a negative char).
    for (int32_t v : {0x42820000, 0x43310000}) expected.Int32(v);
    EXPECT_EQ(test::ReadAll(path), expected.bytes);
}

TEST(MatWriter, BadArgumentsWriteNothingAndFailTheFile) {
    const std::vector<int32_t> three{1, 2, 3};
    struct Case {
        const char* what;
        std::function<bool(OutputFile&)> put;
    };
    const std::vector<Case> cases{
        {"fewer values than rows x columns",
         [&](OutputFile& f) { return Put_Mat_Long_Array("L", three, f, 2, 2); }},
        {"negative rows", [&](OutputFile& f) { return Put_Mat_Long_Array("L", three, f, -1, 3); }},
        {"negative columns", [&](OutputFile& f) { return Put_Mat_Long_Array("L", three, f, 3, -3); }},
        {"empty name", [&](OutputFile& f) { return Put_Mat_Long_Array("", three, f, 1, 3); }},
        {"zero byte in name", [&](OutputFile& f) { return Put_Mat_Long(std::string_view("a\0b", 3), 1, f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path path = test::ScratchDir() / "bad.mat";
        OutputFile file;
        ASSERT_TRUE(file.Open(path.string()));
        ASSERT_TRUE(Put_Mat_Long("Before", 7, file));
        EXPECT_FALSE(c.put(file));
        EXPECT_FALSE(file.Error().empty());
        EXPECT_FALSE(Put_Mat_Long("After", 8, file)); // the file takes nothing more
        EXPECT_FALSE(file.Close());
        // Only the record written before the failure is in the file: 20 + 7 + 4 bytes.
        EXPECT_EQ(fs::file_size(path), 31u);
    }
}

TEST(MatWriter, DiskFullIsReportedThroughTheFile) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    OutputFile file;
    ASSERT_TRUE(file.Open("/dev/full"));
    const std::vector<int16_t> big(100000, -32768);
    EXPECT_FALSE(Put_Mat_Integer_Array("Big", big, file, 1000, 100));
    EXPECT_FALSE(Put_Mat_Text("After", "x", file));
    EXPECT_FALSE(file.Close());
    EXPECT_NE(file.Error().find("No space left on device"), std::string::npos) << file.Error();
}

#if MARVOX_HAVE_MATIO

namespace {

// One variable as a Level 4 reader sees it.
struct ReadVar {
    std::string name;
    matio_classes cls = MAT_C_EMPTY;
    matio_types stored = MAT_T_UNKNOWN; // element type of the record
    int rank = 0;
    size_t rows = 0, columns = 0;
    std::vector<double> values; // numeric data, column-major
    std::string text;           // character data
};

std::vector<ReadVar> ReadBack(const fs::path& path) {
    std::vector<ReadVar> vars;
    mat_t* mat = Mat_Open(path.string().c_str(), MAT_ACC_RDONLY);
    EXPECT_NE(mat, nullptr) << "matio cannot open " << path;
    if (!mat) return vars;
    EXPECT_EQ(Mat_GetVersion(mat), MAT_FT_MAT4);
    while (matvar_t* info = Mat_VarReadNextInfo(mat)) {
        ReadVar v;
        v.name = info->name;
        v.cls = info->class_type;
        v.stored = info->data_type;
        v.rank = info->rank;
        v.rows = info->dims[0];
        v.columns = info->dims[1];
        Mat_VarFree(info);
        if (v.rows * v.columns > 0) {
            matvar_t* var = Mat_VarRead(mat, v.name.c_str());
            EXPECT_NE(var, nullptr) << v.name;
            if (var && var->class_type == MAT_C_CHAR) {
                v.text.assign(static_cast<const char*>(var->data), v.rows * v.columns);
            } else if (var && var->class_type == MAT_C_DOUBLE) {
                const double* d = static_cast<const double*>(var->data);
                v.values.assign(d, d + v.rows * v.columns);
            }
            if (var) Mat_VarFree(var);
        }
        vars.push_back(std::move(v));
    }
    Mat_Close(mat);
    return vars;
}

} // namespace

TEST(MatWriterReadBack, EveryWriterGivesTheNameTypeShapeAndValues) {
    // 2 x 3 arrays, element (r, c) at c * 2 + r.
    const std::vector<double> lat{45.123456789, -33.5, 0.0, 179.999999999, -90.0, 1e-9};
    const std::vector<int32_t> depths{INT32_MIN, 2, INT32_MAX, -4, 0, 123456789};
    const std::vector<int16_t> vel{-32768, 32767, -1, 0, 1234, -1234};
    const std::vector<uint8_t> counts{0, 255, 128, 1, 64, 200};
    const fs::path path = WriteWith([&](OutputFile& f) {
        EXPECT_TRUE(Put_Mat_Text("ConTitle", "Velocity East (u) mm/s", f));
        EXPECT_TRUE(Put_Mat_Long("ZonPingsPerEns", 120, f));
        EXPECT_TRUE(Put_Mat_Single("ZonSecPerPing", 1.5, f));
        EXPECT_TRUE(Put_Mat_Double_Array("AnFLatDeg", lat, f, 2, 3));
        EXPECT_TRUE(Put_Mat_Long_Array("AnDepthmm", depths, f, 2, 3));
        EXPECT_TRUE(Put_Mat_Integer_Array("ConVel", vel, f, 2, 3));
        EXPECT_TRUE(Put_Mat_UInt16_Array("AnBIT", vel, f, 2, 3));
        EXPECT_TRUE(Put_Mat_Byte_Array("ConEchoAmp", counts, f, 2, 3));
    });
    const auto vars = ReadBack(path);
    ASSERT_EQ(vars.size(), 8u);

    EXPECT_EQ(vars[0].name, "ConTitle");
    EXPECT_EQ(vars[0].cls, MAT_C_CHAR);
    EXPECT_EQ(vars[0].stored, MAT_T_SINGLE);
    EXPECT_EQ(vars[0].rank, 2);
    EXPECT_EQ(vars[0].rows, 1u);
    EXPECT_EQ(vars[0].columns, 22u);
    EXPECT_EQ(vars[0].text, "Velocity East (u) mm/s");

    EXPECT_EQ(vars[1].name, "ZonPingsPerEns");
    EXPECT_EQ(vars[1].stored, MAT_T_INT32);
    EXPECT_EQ(vars[1].rows, 1u);
    EXPECT_EQ(vars[1].columns, 1u);
    EXPECT_EQ(vars[1].values, std::vector<double>{120});

    EXPECT_EQ(vars[2].name, "ZonSecPerPing");
    EXPECT_EQ(vars[2].stored, MAT_T_SINGLE);
    EXPECT_EQ(vars[2].values, std::vector<double>{1.5});

    struct Expect {
        const char* name;
        matio_types stored;
        std::vector<double> values;
    };
    const std::vector<Expect> arrays{
        {"AnFLatDeg", MAT_T_DOUBLE, lat},
        {"AnDepthmm", MAT_T_INT32, {-2147483648.0, 2, 2147483647.0, -4, 0, 123456789}},
        {"ConVel", MAT_T_INT16, {-32768, 32767, -1, 0, 1234, -1234}},
        // The same words labelled unsigned.
        {"AnBIT", MAT_T_UINT16, {32768, 32767, 65535, 0, 1234, 64302}},
        {"ConEchoAmp", MAT_T_UINT8, {0, 255, 128, 1, 64, 200}},
    };
    for (size_t i = 0; i < arrays.size(); ++i) {
        const ReadVar& v = vars[3 + i];
        SCOPED_TRACE(arrays[i].name);
        EXPECT_EQ(v.name, arrays[i].name);
        EXPECT_EQ(v.cls, MAT_C_DOUBLE); // a Level 4 reader presents every numeric record as double
        EXPECT_EQ(v.stored, arrays[i].stored);
        EXPECT_EQ(v.rank, 2);
        EXPECT_EQ(v.rows, 2u);
        EXPECT_EQ(v.columns, 3u);
        EXPECT_EQ(v.values, arrays[i].values);
    }
}

TEST(MatWriterReadBack, EmptyBinListStillReadsAsARecord) {
    const fs::path path = WriteWith([&](OutputFile& f) {
        EXPECT_TRUE(Put_Mat_Byte_Array("ConBins", std::span<const uint8_t>(), f, 1, 0));
        EXPECT_TRUE(Put_Mat_Text("ZonEnsDate", "", f));
        EXPECT_TRUE(Put_Mat_Long("After", 5, f));
    });
    const auto vars = ReadBack(path);
    ASSERT_EQ(vars.size(), 3u);
    EXPECT_EQ(vars[0].name, "ConBins");
    EXPECT_EQ(vars[0].columns, 0u);
    EXPECT_EQ(vars[1].name, "ZonEnsDate");
    EXPECT_EQ(vars[1].columns, 0u);
    EXPECT_EQ(vars[2].values, std::vector<double>{5});
}

TEST(MatWriterReadBack, SingleIsRoundedToSinglePrecisionAndInfiniteBeyondIt) {
    const fs::path path = WriteWith([](OutputFile& f) {
        Put_Mat_Single("ZonEnsInterval", 0.1, f);
        Put_Mat_Single("Up", 1e300, f);
        Put_Mat_Single("Down", -1e300, f);
    });
    const auto vars = ReadBack(path);
    ASSERT_EQ(vars.size(), 3u);
    ASSERT_EQ(vars[0].values.size(), 1u);
    EXPECT_EQ(vars[0].values[0], static_cast<double>(0.1f));
    EXPECT_NE(vars[0].values[0], 0.1);
    EXPECT_EQ(vars[1].values, std::vector<double>{std::numeric_limits<double>::infinity()});
    EXPECT_EQ(vars[2].values, std::vector<double>{-std::numeric_limits<double>::infinity()});
}

#else

TEST(MatWriterReadBack, SkippedWithoutMatio) {
    GTEST_SKIP() << "matio is not installed: no read-back by a MAT reader";
}

#endif
