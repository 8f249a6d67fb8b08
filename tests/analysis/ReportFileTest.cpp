#include "analysis/ReportFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace mvx;
namespace fs = std::filesystem;

namespace {

const fs::path kGolden = fs::path(MARVOX_TEST_SOURCE_DIR) / "analysis" / "golden" / "report_3x2.mvr";

// The snapshot the golden file holds: 3 bins x 2 ensembles, rows 10 -5 / 7 0 / 123 45.
ReportSnapshot GoldenSnapshot() {
    ReportSnapshot s;
    s.Caption = "Survey Report";
    s.Titles = {"Data Type = Magnitude Contour", "Reference = Bottom", "Data Source = run.000"};
    s.StartTime = "12:00:00.00";
    s.StartDate = "99/01/02";
    s.EndTime = "12:30:00.50";
    s.EndDate = "99/01/03";
    s.XAxisCaption = "Ensemble";
    s.YAxisCaption = "Depth";
    s.DataTypeName = "Magnitude";
    s.Resize(3, 2);
    const int32_t rows[3][2] = {{10, -5}, {7, 0}, {123, 45}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c) s.At(r, c) = rows[r][c];
    return s;
}

void ExpectSame(const ReportSnapshot& a, const ReportSnapshot& b) {
    auto fields = [](const ReportSnapshot& s) {
        return std::tie(s.Caption, s.Titles, s.StartTime, s.StartDate, s.EndTime, s.EndDate, s.XAxisCaption,
                        s.YAxisCaption, s.DataTypeName, s.Bins, s.Ensembles, s.Matrix);
    };
    EXPECT_EQ(fields(a), fields(b));
}

// Fourteen header lines with the given size lines, then the matrix lines, all ended by CR LF.
std::string ReportText(const std::string& rows, const std::string& columns,
                       const std::vector<std::string>& matrix) {
    std::string text;
    for (const char* line : {"\"Cap\"", "\"T1\"", "\"T2\"", "\"T3\"", "\"ST\"", "\"SD\"", "\"ET\"", "\"ED\"",
                             "\"X\"", "\"Y10\"", "\"Name\""})
        text += std::string(line) + "\r\n";
    text += rows + "\r\n" + columns + "\r\n\"Y14\"\r\n";
    for (const std::string& line : matrix) text += line + "\r\n";
    return text;
}

ReportSnapshot MustRead(const std::string& text) {
    ReportSnapshot s;
    std::string error;
    EXPECT_TRUE(Read_Report_Text(text, s, error)) << error;
    EXPECT_TRUE(s.Consistent());
    return s;
}

} // namespace

TEST(ReportFile, SaveMatchesTheGoldenFileByteForByteAndLoadGivesItBack) {
    const fs::path path = test::ScratchDir() / "saved.mvr";
    test::WriteAll(path, {}); // an existing empty file may be written
    std::string error;
    ASSERT_TRUE(Save_Data(GoldenSnapshot(), path.string(), error)) << error;
    EXPECT_EQ(test::ReadAll(path), test::ReadAll(kGolden));
    ReportSnapshot loaded;
    ASSERT_TRUE(Load_Data(kGolden.string(), loaded, error)) << error;
    ExpectSame(loaded, GoldenSnapshot());
}

TEST(ReportFile, RoundTripKeepsQuotesExtremesAndTurnsLineBreaksIntoSpaces) {
    ReportSnapshot s = GoldenSnapshot();
    s.Caption = "He said \"stop\" here";
    s.XAxisCaption = "two\r\nlines";
    s.Resize(2, 3);
    s.At(0, 0) = -9999999; // eight characters with the sign: the widest value the format holds
    s.At(1, 2) = 99999999;
    const fs::path path = test::ScratchDir() / "trip.mvr";
    std::string error;
    ASSERT_TRUE(Save_Data(s, path.string(), error)) << error;
    ReportSnapshot loaded;
    ASSERT_TRUE(Load_Data(path.string(), loaded, error)) << error;
    EXPECT_EQ(loaded.Caption, "He said \"stop\" here");
    EXPECT_EQ(loaded.XAxisCaption, "two  lines");
    EXPECT_EQ(loaded.Matrix, s.Matrix);
}

TEST(ReportFile, ReadingToleratesOddSizesAndFields) {
    struct Case {
        const char *what, *rows, *columns;
        std::vector<std::string> matrix;
        int bins, ensembles;
        std::vector<int32_t> values; // column by column
    } cases[] = {
        // R = 0 still reads one row, from line 15; a negative C reads one column.
        {"R = 0", "0", "-7", {"42      17", "99"}, 1, 1, {42}},
        {"garbage sizes", "garbage", "", {"3"}, 1, 1, {3}},
        // R and C far beyond the lines present: no giant allocation, the data are read.
        {"huge", "2147483647", "2147483647", {"1       2", "3       4"}, 2, 2, {1, 3, 2, 4}},
        {"beyond 32 bits", "99999999999999999999", "2", {"1       2", "3       4"}, 2, 2, {1, 3, 2, 4}},
        // Values that touch are still cut at 8 characters; short lines read 0 for missing fields.
        {"touching", "2", "3", {"12345678-2345678 1", "4"}, 2, 3, {12345678, 4, -2345678, 0, 1, 0}},
        // Garbage reads 0, decimals round half to even.
        {"garbage fields",
         "1",
         "8",
         {"abc     12xy    -       +7      2.5     3.5     -0.6    .9x     "},
         1,
         8,
         {0, 12, 0, 7, 2, 4, -1, 1}},
        {"no matrix line", "3", "3", {}, 1, 1, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReportSnapshot s = MustRead(ReportText(c.rows, c.columns, c.matrix));
        EXPECT_EQ(s.Bins, c.bins);
        EXPECT_EQ(s.Ensembles, c.ensembles);
        EXPECT_EQ(s.Matrix, c.values);
    }
    const ReportSnapshot s = MustRead(ReportText("1", "1", {"5"}));
    EXPECT_EQ(s.YAxisCaption, "Y14"); // line 14 wins over line 10
    EXPECT_EQ(s.DataTypeName, "Name");
}

TEST(ReportFile, MatrixLargerThanTheFileOrTruncatedHeaderIsRefused) {
    // One long line and many empty ones would make rows x columns far exceed the bytes present.
    std::vector<std::string> matrix{std::string(8000, '1')};
    matrix.resize(5000);
    ReportSnapshot s = GoldenSnapshot();
    std::string error;
    EXPECT_FALSE(Read_Report_Text(ReportText("5000", "1000", matrix), s, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(Read_Report_Text("", s, error));
    EXPECT_EQ(error, "The report file is empty");
    // Cut after 13 lines: the second Y caption is missing.
    const std::string full = ReportText("1", "1", {"5"});
    size_t at = 0;
    for (int i = 0; i < 13; ++i) at = full.find("\r\n", at) + 2;
    EXPECT_FALSE(Read_Report_Text(full.substr(0, at), s, error));
    EXPECT_NE(error.find("line 13"), std::string::npos) << error;
    ExpectSame(s, GoldenSnapshot());
}

TEST(ReportFile, SaveAndLoadFailuresAreReportedAndChangeNothing) {
    const fs::path path = test::ScratchDir() / "old.mvr";
    const std::vector<uint8_t> before{'o', 'l', 'd', '\r', '\n', 0, 255};
    test::WriteAll(path, before);
    std::string error;
    EXPECT_FALSE(Save_Data(GoldenSnapshot(), path.string(), error));
    EXPECT_EQ(error, "Over-Write of File Not Allowed");
    EXPECT_EQ(test::ReadAll(path), before);
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(Save_Data(GoldenSnapshot(), "/dev/full", error));
        EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
    }
    ReportSnapshot broken = GoldenSnapshot();
    broken.Matrix.pop_back();
    const fs::path brokenPath = path.parent_path() / "broken.mvr";
    EXPECT_FALSE(Save_Data(broken, brokenPath.string(), error));
    EXPECT_FALSE(fs::exists(brokenPath));

    ReportSnapshot s = GoldenSnapshot();
    EXPECT_FALSE(Load_Data((test::ScratchDir() / "missing.mvr").string(), s, error));
    EXPECT_NE(error.find("missing.mvr"), std::string::npos) << error;
    ExpectSame(s, GoldenSnapshot());
}
