// The text exports against golden files worked out by hand from the values the tiny file was built
// with (whole files, so the line ends after the last row too), and the edge cases of the format.
#include "ExportFixture.h"

#include "export/TextExport.h"

#include <gtest/gtest.h>

using namespace mvx;
using namespace mvx::test;

namespace {

class TextExport : public ::testing::Test {
  protected:
    void SetUp() override {
        file_.Path = TinyFilePath();
        OpenFile(file_);
        sel_.Bins[0].Select(1);
        sel_.Bins[0].Select(2);
        sel_.Bins[1] = sel_.Bins[0];
        sel_.Bins[2] = sel_.Bins[0];
        sel_.ContourEnsembles = {"1", "3", "1"};
        sel_.SeriesEnsembles = {"1", "3", "1"};
    }
    CoreState& State() { return file_.State; }
    std::string Path() const { return file_.Path.string(); }

    LoadedFile file_;
    ExportSelection sel_;
};

} // namespace

TEST_F(TextExport, ContourGoldenDirectionWithBadCell) {
    sel_.ContourType = 15;
    const std::string text = WriteToString(State(), sel_, Write_Contour_Text);
    EXPECT_EQ(text, Golden("contour_direction.txt", Path()));
}

TEST_F(TextExport, ProfileGoldenOfOneEnsemble) {
    sel_.ProfileEnsemble = "2";
    for (int k : {0, 4, 9, 10, 14, 15, 18}) sel_.ProfileTypes[static_cast<size_t>(k)] = true;
    const std::string text = WriteToString(State(), sel_, Write_Profile_Text);
    EXPECT_EQ(text, Golden("profile_ens2.txt", Path()));
}

TEST_F(TextExport, SeriesGoldenWithEveryColumnGroup) {
    for (int k : {0, 2, 3, 4, 5, 6, 7}) sel_.AncTypes[static_cast<size_t>(k)] = true;
    for (int k : {10, 15, 16, 20, 25, 27, 32, 35, 36, 37, 39})
        sel_.SeriesTypes[static_cast<size_t>(k)] = true;
    const std::string text = WriteToString(State(), sel_, Write_Series_Text);
    EXPECT_EQ(text, Golden("series_all_groups.txt", Path()));
}

TEST_F(TextExport, StrandexTakesVelocityAndPositionFromTheBottomTrackBlock) {
    sel_.SeriesTypes[kSeriesNavEast] = true;
    sel_.SeriesTypes[kSeriesLatLon] = true;
    sel_.SeriesTypes[kSeriesStrandex] = true;
    sel_.SeriesEnsembles = {"1", "1", "1"};
    const auto lines = CrLfLines(WriteToString(State(), sel_, Write_Series_Text));
    // Title, nine header lines, two empty lines, three heading lines, an empty line, one row.
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[12], "Ens\tYR\tMO\tDA\tHH\tMM\tSS\tHH\t\t\"NVE\"\t     \"Lat\"\t     \"Lon\"");
    // The reference-layer east word 10 is stored inverted; 357913941 and -715827883 binary-angle units
    // are 29.9999999720603 and -60.0000000279397 degrees.
    EXPECT_EQ(lines[16], "1\t26\t06\t14\t12\t00\t00\t00\t\t-10\t29.99999997\t-60.00000003");
}

TEST_F(TextExport, FirstAfterLastWritesHeadingsAndNoRows) {
    sel_.ContourType = 0;
    sel_.ContourEnsembles = {"3", "2", "1"};
    const auto contour = CrLfLines(WriteToString(State(), sel_, Write_Contour_Text));
    // Title, header, empty line, heading line and the two line ends after it: nothing more.
    ASSERT_EQ(contour.size(), 14u);
    EXPECT_EQ(contour[11], "Ens\tYR\tMO\tDA\tHH\tMM\tSS\tHH\t\t1\t2");
    EXPECT_EQ(contour[13], "");
    // The header comes from ensemble First, the only one loaded.
    EXPECT_EQ(contour[6], "\"First Ensemble Time = 12:01:01.00\"");
}

TEST_F(TextExport, StepThatDoesNotDivideTheRangeStopsAtLastOrBelow) {
    sel_.ContourType = 14;
    sel_.ContourEnsembles = {"1", "3", "2"};
    const auto lines = CrLfLines(WriteToString(State(), sel_, Write_Contour_Text));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[14], "1\t26\t06\t14\t12\t00\t00\t00\t\t500\t100");
    EXPECT_EQ(lines[15], "3\t26\t06\t14\t12\t01\t01\t00\t\t130\t25");

    sel_.ContourEnsembles = {"2", "3", "2"};
    const auto one = CrLfLines(WriteToString(State(), sel_, Write_Contour_Text));
    ASSERT_EQ(one.size(), 15u);
    EXPECT_EQ(Cells(one[14])[0], "2");
}

TEST_F(TextExport, ProgressFollowsTheEnsembleAndTheRowCounts) {
    // Contour over 1..3: round((e - 1) x 100 / 3) after each row, then 100.
    std::vector<int> seen;
    sel_.Progress = [&](int value) {
        seen.push_back(value);
        return true;
    };
    WriteToString(State(), sel_, Write_Contour_Text);
    EXPECT_EQ(seen, (std::vector<int>{0, 33, 67, 100}));

    // Step 2 over 1..3 exports 1 and 3: 0, then round(200 / 3), then 100.
    seen.clear();
    sel_.SeriesEnsembles = {"1", "3", "2"};
    WriteToString(State(), sel_, Write_Series_Text);
    EXPECT_EQ(seen, (std::vector<int>{0, 67, 100}));

    // Profile with three checked boxes: round(rows x 100 / 3).
    seen.clear();
    sel_.ProfileEnsemble = "2";
    sel_.ProfileTypes[0] = sel_.ProfileTypes[10] = sel_.ProfileTypes[16] = true;
    WriteToString(State(), sel_, Write_Profile_Text);
    EXPECT_EQ(seen, (std::vector<int>{33, 67, 100}));
}

namespace {

// Two cells, two ensembles; only the orientation and the year byte differ between files.
EnsembleContents Oriented(int number, bool up, uint8_t year) {
    EnsembleContents c;
    c.Fixed.NumCells = 2;
    c.Fixed.SystemConfig = static_cast<uint16_t>(up ? 0x41CB : 0x414B);
    c.Variable.EnsembleNumber = static_cast<uint32_t>(number);
    c.Variable.Year = year;
    c.Variable.Month = 2;
    c.Variable.Day = 9;
    c.Variable.Minute = static_cast<uint8_t>(number);
    c.Velocity = {{1, 0, 0, 0}, {2, 0, 0, 0}};
    c.Correlation = {{11, 11, 11, 11}, {22, 22, 22, 22}}; // cell 0: 11, cell 1: 22
    c.Echo = c.Correlation;
    c.PercentGood = c.Correlation;
    return c;
}

// The contour file of ensembles 1..last of a two-ensemble file, ensemble n looking up when up(n).
std::string OrientedContour(const std::function<bool(int)>& up, uint8_t year, const char* last = "1") {
    LoadedFile f;
    f.Path = ScratchDir() / "ORIENTED.000";
    WriteEnsembles(f.Path, 2, [&](int n) { return Oriented(n, up(n), year); });
    OpenFile(f);
    EXPECT_EQ(f.State.Set.OrientationBalance, (up(1) ? -1 : 1) + (up(2) ? -1 : 1));
    ExportSelection sel;
    sel.ContourType = 9;
    sel.ContourEnsembles = {"1", last, "1"};
    sel.Bins[0].Select(1);
    sel.Bins[0].Select(2);
    return WriteToString(f.State, sel, Write_Contour_Text);
}
std::string OrientedContour(bool up, uint8_t year) {
    return OrientedContour([up](int) { return up; }, year);
}

} // namespace

TEST(TextExportOrientation, BinOneIsTheCellNearestTheTransducerEitherWay) {
    // Down-looking cells are stored reversed, so bin 1 is read from the last bin index; an up-looking
    // file keeps cell 0 at index 0. Either way bin 1 carries cell 0's 11 counts.
    const auto down = CrLfLines(OrientedContour(false, 26));
    const auto up = CrLfLines(OrientedContour(true, 26));
    ASSERT_EQ(down.size(), 15u);
    ASSERT_EQ(up.size(), 15u);
    EXPECT_EQ(down[14], "1\t26\t02\t09\t00\t01\t00\t00\t\t11\t22");
    EXPECT_EQ(up[14], down[14]);
}

TEST(TextExportOrientation, AsManyUpAsDownLookingEnsemblesReadBinsInUpLookingOrder) {
    // Balance 0 is not mostly down-looking: bin m is read from index m - 1 for every ensemble, so the
    // down-looking ensemble 2 (cells stored reversed) shows cell 1's 22 counts under bin 1.
    const auto lines = CrLfLines(OrientedContour([](int n) { return n == 1; }, 26, "2"));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(Cells(lines[14]),
              (std::vector<std::string>{"1", "26", "02", "09", "00", "01", "00", "00", "", "11", "22"}));
    EXPECT_EQ(Cells(lines[15]),
              (std::vector<std::string>{"2", "26", "02", "09", "00", "02", "00", "00", "", "22", "11"}));
}

TEST(TextExportHeader, YearEightyIsLeftOutOfTheDate) {
    const auto lines = CrLfLines(OrientedContour(false, 80));
    EXPECT_EQ(lines[5], "\"First Ensemble Date = 02/09\"");
    EXPECT_EQ(Cells(lines[14])[1], "80"); // the rows keep the year byte
    // 614.4 kHz from the three low bits of the configuration word; 60 pings and 1 s per ping by default.
    EXPECT_EQ(lines[2], "\"Broadband 614.4 kHz\"");
    EXPECT_EQ(lines[3], "\"Pings/Ens =\"\t60");
    EXPECT_EQ(lines[4], "\"Time/Ping = 00:01.00\"");
}
