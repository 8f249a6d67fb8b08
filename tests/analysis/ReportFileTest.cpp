#include "analysis/ReportFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace mvx;
namespace fs = std::filesystem;

namespace {

fs::path Golden(const std::string& name) {
    return fs::path(MARVOX_TEST_SOURCE_DIR) / "analysis" / "golden" / name;
}

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
    s.At(0, 0) = 10;
    s.At(0, 1) = -5;
    s.At(1, 0) = 7;
    s.At(1, 1) = 0;
    s.At(2, 0) = 123;
    s.At(2, 1) = 45;
    return s;
}

void ExpectSame(const ReportSnapshot& a, const ReportSnapshot& b) {
    EXPECT_EQ(a.Caption, b.Caption);
    EXPECT_EQ(a.Titles, b.Titles);
    EXPECT_EQ(a.StartTime, b.StartTime);
    EXPECT_EQ(a.StartDate, b.StartDate);
    EXPECT_EQ(a.EndTime, b.EndTime);
    EXPECT_EQ(a.EndDate, b.EndDate);
    EXPECT_EQ(a.XAxisCaption, b.XAxisCaption);
    EXPECT_EQ(a.YAxisCaption, b.YAxisCaption);
    EXPECT_EQ(a.DataTypeName, b.DataTypeName);
    EXPECT_EQ(a.Bins, b.Bins);
    EXPECT_EQ(a.Ensembles, b.Ensembles);
    EXPECT_EQ(a.Matrix, b.Matrix);
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

TEST(ReportFile, SaveMatchesTheGoldenFileByteForByte) {
    const fs::path path = test::ScratchDir() / "saved.mvr";
    std::string error;
    ASSERT_TRUE(Save_Data(GoldenSnapshot(), path.string(), error)) << error;
    EXPECT_EQ(test::ReadAll(path), test::ReadAll(Golden("report_3x2.mvr")));
}

TEST(ReportFile, GoldenMatrixLinesAreSixteenCharacters) {
    const std::string text = test::ReadText(Golden("report_3x2.mvr"));
    size_t start = 0;
    std::vector<std::string> lines;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(start, text.size()); // the last line ends with CR LF too
    EXPECT_EQ(lines[14], "10      -5      ");
    for (int i = 14; i < 17; ++i) EXPECT_EQ(lines[i].size(), 16u);
}

TEST(ReportFile, LoadOfTheGoldenFileGivesTheSnapshotBack) {
    ReportSnapshot loaded;
    std::string error;
    ASSERT_TRUE(Load_Data(Golden("report_3x2.mvr").string(), loaded, error)) << error;
    ExpectSame(loaded, GoldenSnapshot());
    EXPECT_EQ(loaded.At(2, 0), 123);
    EXPECT_EQ(loaded.At(0, 1), -5);
}

TEST(ReportFile, RoundTripKeepsQuotesExtremesAndTurnsLineBreaksIntoSpaces) {
    ReportSnapshot s = GoldenSnapshot();
    s.Caption = "He said \"stop\" here";
    s.XAxisCaption = "two\r\nlines";
    s.Resize(2, 3);
    s.At(0, 0) = -9999999; // eight characters with the sign: the widest value the format holds
    s.At(1, 2) = 99999999;
    s.At(1, 0) = -1;
    const fs::path path = test::ScratchDir() / "trip.mvr";
    std::string error;
    ASSERT_TRUE(Save_Data(s, path.string(), error)) << error;
    ReportSnapshot loaded;
    ASSERT_TRUE(Load_Data(path.string(), loaded, error)) << error;
    EXPECT_EQ(loaded.Caption, "He said \"stop\" here");
    EXPECT_EQ(loaded.XAxisCaption, "two  lines");
    EXPECT_EQ(loaded.Matrix, s.Matrix);
}

TEST(ReportFile, LineFourteenWinsOverLineTenForTheYCaption) {
    const ReportSnapshot s = MustRead(ReportText("1", "1", {"5"}));
    EXPECT_EQ(s.YAxisCaption, "Y14");
    EXPECT_EQ(s.XAxisCaption, "X");
    EXPECT_EQ(s.DataTypeName, "Name");
    EXPECT_EQ(s.Titles[2], "T3");
    EXPECT_EQ(s.EndDate, "ED");
}

TEST(ReportFile, SizesBelowOneReadAsOne) {
    // R = 0 still reads one row, from line 15; a negative C reads one column.
    ReportSnapshot s = MustRead(ReportText("0", "-7", {"42      17", "99"}));
    EXPECT_EQ(s.Bins, 1);
    EXPECT_EQ(s.Ensembles, 1);
    EXPECT_EQ(s.Matrix, std::vector<int32_t>{42});
    s = MustRead(ReportText("garbage", "", {"3"}));
    EXPECT_EQ(s.Bins, 1);
    EXPECT_EQ(s.Ensembles, 1);
    EXPECT_EQ(s.Matrix, std::vector<int32_t>{3});
}

TEST(ReportFile, FieldsAreEightCharactersFromTheLeft) {
    // Values that touch (no blank between fields) are still cut at 8 characters.
    const ReportSnapshot s =
        MustRead(ReportText("2", "3", {"12345678-2345678 1", "1       22      333     "}));
    EXPECT_EQ(s.At(0, 0), 12345678);
    EXPECT_EQ(s.At(0, 1), -2345678);
    EXPECT_EQ(s.At(0, 2), 1);
    EXPECT_EQ(s.At(1, 0), 1);
    EXPECT_EQ(s.At(1, 1), 22);
    EXPECT_EQ(s.At(1, 2), 333);
}

TEST(ReportFile, GarbageFieldsReadZeroAndDecimalsRoundHalfToEven) {
    const ReportSnapshot s =
        MustRead(ReportText("1", "8", {"abc     12xy    -       +7      2.5     3.5     -0.6    .9x     "}));
    EXPECT_EQ(s.Matrix, (std::vector<int32_t>{0, 12, 0, 7, 2, 4, -1, 1}));
}

TEST(ReportFile, ShortLinesReadZeroForMissingFields) {
    // The second line ends after one value, the third is empty.
    const ReportSnapshot s = MustRead(ReportText("3", "3", {"1       2       3", "4", ""}));
    ASSERT_EQ(s.Bins, 3);
    ASSERT_EQ(s.Ensembles, 3);
    EXPECT_EQ(s.At(0, 2), 3);
    EXPECT_EQ(s.At(1, 0), 4);
    EXPECT_EQ(s.At(1, 1), 0);
    EXPECT_EQ(s.At(1, 2), 0);
    EXPECT_EQ(s.At(2, 0), 0);
}

TEST(ReportFile, HugeSizesAreCutToWhatTheFileHolds) {
    // R and C far beyond the two lines of 2 fields present: no giant allocation, the data are read.
    for (const char* rows : {"2147483647", "99999999999999999999", "4000000000"}) {
        SCOPED_TRACE(rows);
        const ReportSnapshot s = MustRead(ReportText(rows, "2147483647", {"1       2", "3       4"}));
        EXPECT_EQ(s.Bins, 2);
        EXPECT_EQ(s.Ensembles, 2);
        EXPECT_EQ(s.Matrix, (std::vector<int32_t>{1, 3, 2, 4}));
    }
}

TEST(ReportFile, MissingMatrixLinesShrinkTheRowCount) {
    const ReportSnapshot s = MustRead(ReportText("5", "1", {"8"}));
    EXPECT_EQ(s.Bins, 1);
    EXPECT_EQ(s.Matrix, std::vector<int32_t>{8});
    // No matrix line at all: one row of zeros.
    const ReportSnapshot none = MustRead(ReportText("3", "3", {}));
    EXPECT_EQ(none.Bins, 1);
    EXPECT_EQ(none.Ensembles, 1);
    EXPECT_EQ(none.Matrix, std::vector<int32_t>{0});
}

TEST(ReportFile, MatrixLargerThanTheFileIsRefused) {
    // One long line and many empty ones would make rows x columns far exceed the bytes present.
    std::vector<std::string> matrix{std::string(8000, '1')};
    matrix.resize(5000);
    ReportSnapshot s = GoldenSnapshot();
    std::string error;
    EXPECT_FALSE(Read_Report_Text(ReportText("5000", "1000", matrix), s, error));
    EXPECT_FALSE(error.empty());
    ExpectSame(s, GoldenSnapshot());
}

TEST(ReportFile, TruncatedHeaderIsRefusedAndTheSnapshotKept) {
    const std::string full = ReportText("1", "1", {"5"});
    ReportSnapshot s = GoldenSnapshot();
    std::string error;
    EXPECT_FALSE(Read_Report_Text("", s, error));
    EXPECT_EQ(error, "The report file is empty");
    // Cut after 13 lines: the second Y caption is missing.
    size_t at = 0;
    for (int i = 0; i < 13; ++i) at = full.find("\r\n", at) + 2;
    EXPECT_FALSE(Read_Report_Text(full.substr(0, at), s, error));
    EXPECT_NE(error.find("line 13"), std::string::npos) << error;
    ExpectSame(s, GoldenSnapshot());
    // Fourteen lines with the last one unterminated are enough.
    EXPECT_TRUE(Read_Report_Text(full.substr(0, full.find("\r\n5")), s, error)) << error;
    EXPECT_EQ(s.YAxisCaption, "Y14");
}

TEST(ReportFile, LfAndLoneCrLineEndsAreAccepted) {
    std::string text = ReportText("2", "2", {"1       2", "3       4"});
    std::string lf, cr;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        lf += text[i];
        cr += text[i] == '\n' ? '\r' : text[i];
    }
    for (const std::string& variant : {lf, cr}) {
        const ReportSnapshot s = MustRead(variant);
        EXPECT_EQ(s.Caption, "Cap");
        EXPECT_EQ(s.Matrix, (std::vector<int32_t>{1, 3, 2, 4}));
    }
}

TEST(ReportFile, UnquotedAndHalfQuotedTextsAreKept) {
    std::string text = ReportText("1", "1", {"1"});
    text.replace(0, 5, "Plain caption");
    text.replace(text.find("\"T1\""), 4, "\"open");
    const ReportSnapshot s = MustRead(text);
    EXPECT_EQ(s.Caption, "Plain caption");
    EXPECT_EQ(s.Titles[0], "open");
}

TEST(ReportFile, SaveRefusesANonEmptyTargetAndLeavesItIdentical) {
    const fs::path path = test::ScratchDir() / "old.mvr";
    const std::vector<uint8_t> before{'o', 'l', 'd', '\r', '\n', 0, 255};
    test::WriteAll(path, before);
    std::string error;
    EXPECT_FALSE(Save_Data(GoldenSnapshot(), path.string(), error));
    EXPECT_EQ(error, "Over-Write of File Not Allowed");
    EXPECT_EQ(test::ReadAll(path), before);
}

TEST(ReportFile, SaveWritesIntoAnExistingEmptyFile) {
    const fs::path path = test::ScratchDir() / "empty.mvr";
    test::WriteAll(path, {});
    std::string error;
    ASSERT_TRUE(Save_Data(GoldenSnapshot(), path.string(), error)) << error;
    EXPECT_EQ(test::ReadAll(path), test::ReadAll(Golden("report_3x2.mvr")));
}

TEST(ReportFile, SaveFailuresAreReported) {
    std::string error;
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(Save_Data(GoldenSnapshot(), "/dev/full", error));
        EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
    }
    const fs::path gone = test::ScratchDir() / "gone";
    fs::create_directories(gone);
    fs::remove(gone);
    EXPECT_FALSE(Save_Data(GoldenSnapshot(), (gone / "r.mvr").string(), error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

    ReportSnapshot broken = GoldenSnapshot();
    broken.Matrix.pop_back();
    const fs::path path = test::ScratchDir() / "broken.mvr";
    EXPECT_FALSE(Save_Data(broken, path.string(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(path));
}

TEST(ReportFile, LoadFailuresAreReported) {
    ReportSnapshot s = GoldenSnapshot();
    std::string error;
    const fs::path dir = test::ScratchDir();
    EXPECT_FALSE(Load_Data((dir / "missing.mvr").string(), s, error));
    EXPECT_NE(error.find("missing.mvr"), std::string::npos) << error;
    EXPECT_FALSE(Load_Data(dir.string(), s, error));
    EXPECT_FALSE(error.empty());
    ExpectSame(s, GoldenSnapshot());
}
