#include "ensemble/DataViewText.h"
#include "model/CoreState.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mvx;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out.push_back(line);
            line.clear();
            ++i;
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) out.push_back(line);
    return out;
}

// Three cells of 0.50 m, first bin 2.23 m, two loaded ensembles.
CoreState ThreeCellSet(bool up) {
    CoreState s;
    Allocate_Data_Set(s.Data, 2, 2, true);
    s.Setup.NumCells = 3;
    s.Setup.CellLength = 0.5;
    s.Setup.Bin1Distance = 2.23;
    s.Set.CurrentEnsIndex = 2;
    s.Set.FirstBinShown = 1;
    s.Set.LastBinShown = 3;
    s.Set.OrientationBalance = up ? -2 : 2;
    for (int e = 0; e < 2; ++e) {
        s.Data.AncData(5, e) = up ? 1 : 0;
        s.Data.EnsNumbers[e] = 41 + e;
        const uint8_t t[7] = {8, 6, 25, 10, 0, 20, 5};
        for (int k = 0; k < 7; ++k) s.Data.EnsTimes(k, e) = t[k];
        for (int bin = 0; bin < 3; ++bin)
            for (int r = 0; r < 4; ++r) s.Data.VelData(r, bin, e) = static_cast<int16_t>(100 * bin + r);
    }
    return s;
}

std::string LineStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const auto& l : lines)
        if (l.rfind(prefix, 0) == 0) return l;
    return std::string();
}

} // namespace

TEST(DataViewText, UpLookingHeaderAndRangeUseTheDisplayedBin) {
    CoreState s = ThreeCellSet(true);
    s.Data.VelData(4, 2, 1) = 250;
    s.Data.VelData(5, 2, 1) = 1234;
    std::string text;
    // Display bin 0 is the top row: bin number 2, array bin 2 for an upward-looking ensemble.
    ASSERT_TRUE(Update_Data_View(s.Data, s.Setup, s.Set, 1, 0, text));
    auto lines = Lines(text);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Ensemble        42         Date 08/06/25");
    EXPECT_EQ(lines[1], "Bin              2         Time 10:00:20.05");
    EXPECT_EQ(lines[2], "Range(m)      3.23 ");
    EXPECT_EQ(lines[4], "Array   B1/E  B2/N  B3/V  B4/e Av/Mg    Dir");
    EXPECT_EQ(lines[5], "V mm/s   200   201   202   203   250 123.4\xC2\xB0");
}

TEST(DataViewText, DownLookingShowsNegativeRangeAndReversedBin) {
    CoreState s = ThreeCellSet(false);
    std::string text;
    // Down-looking: display bin 0 is bin number 0, which lives at array bin NumCells - 1.
    ASSERT_TRUE(Update_Data_View(s.Data, s.Setup, s.Set, 0, 0, text));
    auto lines = Lines(text);
    EXPECT_EQ(lines[1], "Bin              0         Time 10:00:20.05");
    EXPECT_EQ(lines[2], "Range(m)     -2.23 ");
    EXPECT_EQ(lines[5].substr(0, 30), "V mm/s   200   201   202   203");
}

TEST(DataViewText, RefusesIndexesOutsideTheLoadedSet) {
    CoreState s = ThreeCellSet(true);
    std::string text = "unchanged";
    EXPECT_FALSE(Update_Data_View(s.Data, s.Setup, s.Set, 2, 0, text)); // equal to the number loaded
    EXPECT_FALSE(Update_Data_View(s.Data, s.Setup, s.Set, 0, 3, text)); // not below NumCells
    EXPECT_FALSE(Update_Data_View(s.Data, s.Setup, s.Set, -1, -1, text));
    EXPECT_EQ(text, "unchanged");
}

TEST(DataViewText, AncillaryPositionsAndSensorString) {
    CoreState s = ThreeCellSet(true);
    s.Data.AncData(0, 0) = -239;
    s.Data.AncData(4, 0) = 19917;
    s.Data.NavFirstLat[0] = 1073741824; // a quarter turn of the binary angle: 90 degrees
    s.Data.TextData[0] = "T=12.3";
    s.Setup.TextBlockSeen = true;
    std::string text;
    ASSERT_TRUE(Update_Data_View(s.Data, s.Setup, s.Set, 0, 1, text));
    auto lines = Lines(text);
    EXPECT_EQ(LineStarting(lines, "Pitch"), "Pitch         -2.39");
    EXPECT_EQ(LineStarting(lines, "Depth Sensor"), "Depth Sensor  19.917 meters");
    EXPECT_EQ(LineStarting(lines, "LAT").substr(0, 26), "LAT          90.00000000\xC2\xB0");
    EXPECT_EQ(lines.back(), "T=12.3");
    EXPECT_EQ(lines[lines.size() - 2], "MicroCAT String:");
}
