#include "ProcessingFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mvx;
using namespace mvx::test;

namespace {

// An ensemble whose bins hold distinct good beam values, with the bottom-track block and intensities.
struct Profile : Ensemble {
    Profile(int cells, bool up) : Ensemble(cells, up) {
        for (int bin = 0; bin < cells; ++bin) Beams(bin, 10 + bin, 20 + bin, 30 + bin, 40 + bin);
        setup.BottomTrackSeen = true;
        setup.IntensitySeen = true;
        for (int bin = 0; bin < cells; ++bin)
            for (int b = 0; b < 4; ++b) data.IntensityData(b, bin, kSlot) = 50;
    }
    bool BinBad(int bin) const {
        for (int r = 0; r < 4; ++r)
            if (Vel(r, bin) != kBadValue) return false;
        return true;
    }
    bool BinIntact(int bin) const {
        return Vel(0, bin) == 10 + bin && Vel(1, bin) == 20 + bin && Vel(2, bin) == 30 + bin &&
               Vel(3, bin) == 40 + bin;
    }
    // The first bad bin counted from the transducer, as a cell number (NumCells when none is bad);
    // every bin must be either intact or wholly bad, and bad from that cell on.
    int FirstBadCell() const {
        const int n = setup.NumCells;
        int first = n;
        for (int cell = n - 1; cell >= 0; --cell) {
            const int bin = setup.LooksUp() ? cell : n - 1 - cell;
            if (BinBad(bin)) {
                EXPECT_EQ(first, cell + 1) << "good cell beyond a bad one at cell " << cell;
                first = cell;
            } else {
                EXPECT_TRUE(BinIntact(bin)) << "bin " << bin;
            }
        }
        return first;
    }
};

struct Bump {
    int beam, level;
    std::vector<int> bins; // intensity `level` there, 50 elsewhere
};

struct Case {
    const char* what;
    int cells;
    bool up;
    std::vector<int> ranges; // bottom-track ranges, cm; one value for all four beams
    std::string on;          // switches: D bottom depth, R echo bump, C cos(beam angle), 1 and 2 bins cut
    double pulse;
    std::vector<Bump> bumps;
    int firstBad;
    bool blocks = true; // bottom-track and intensity blocks present
};

// Cells 1 m from d1 = 2 m; with a 0.5 m pulse the bottom cell is (r - 2.5) / 1 + 1.
// With a pulse of 2 m the bump window is w = 1 bin each side of a two-bin middle.
const Case kCases[] = {
    // 2000 cm x cos 20 = 18.79 m: 17.29; down-looking, cell 17 is bin 7.
    {"bottom at 20 m", 25, false, {2000}, "DC", 0.5, {}, 17},
    {"two bins cut", 25, false, {2000}, "DC2", 0.5, {}, 15},
    // 18.5 rounds to 18; beam 3 is the shortest and the zero range is no echo.
    {"half to even, shortest", 25, true, {0, 3000, 2000, 2500}, "D", 0.5, {}, 18},
    {"both cuts", 25, true, {2000}, "D12", 0.5, {}, 15},
    {"cuts alone", 25, true, {2000}, "12C", 0.5, {}, 25},
    {"cut one alone", 25, true, {2000}, "1", 0.5, {}, 25},
    {"no echo", 20, false, {0}, "D2", 0.5, {}, 20},
    // (1.5 - 2.5) + 1 = 0, then two cut: every cell, and no index below zero.
    {"bottom in first cell", 10, false, {150}, "D2", 0.5, {}, 0},
    {"bottom beyond profile", 10, true, {50000}, "D", 0.5, {}, 9},
    // The bump at bins 10-11 is the middle of the window at i = 8: 160 - 100 = 60; cell 9 before it.
    {"bump up", 20, true, {0}, "R", 2.0, {{2, 80, {10, 11}}}, 9},
    // Down-looking the transducer side of bins 10-11 is bin 12, which is cell 7.
    {"bump down", 20, false, {0}, "R", 2.0, {{1, 80, {10, 11}}}, 7},
    // Pulse 4 m: w = 2, middle bins 8..11 at i = 5: 360 - 100; cell 5 + 2 = 7.
    {"wide window", 20, true, {0}, "R", 4.0, {{0, 90, {8, 9, 10, 11}}}, 7},
    // Cell 9 at d1 = 2, p = 2: (9 + 4) x cos 20 - 4 = 8.22.
    {"bump slanted", 20, true, {0}, "RC", 2.0, {{3, 80, {10, 11}}}, 8},
    {"weak bump", 20, true, {0}, "R", 2.0, {{0, 55, {10, 11}}}, 20}, // 110 - 100
    {"first of two bumps", 20, true, {0}, "R", 2.0, {{0, 80, {4, 5, 14, 15}}}, 3},
    // The last window position, i = 20 - 4 - 1, reaches the last bin.
    {"bump at the end", 20, true, {0}, "R", 2.0, {{1, 80, {17, 18}}}, 16},
    {"farthest beam decides", 20, true, {0}, "R", 2.0, {{0, 80, {10, 11}}, {3, 80, {14, 15}}}, 13},
    {"bottom wins", 25, true, {2500}, "DR", 2.0, {{0, 80, {10, 11}}}, 22}, // (25 - 4) + 1
    {"bump without bottom", 25, true, {0}, "DR", 2.0, {{0, 80, {10, 11}}}, 9},
    {"blocks not in the ensemble", 25, true, {2000}, "DR", 2.0, {{0, 80, {10, 11}}}, 25, false},
};

TEST(EndOfProfile, FirstBadCell) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        Profile e(c.cells, c.up);
        for (int b = 0; b < 4; ++b) e.data.BTRangeData(b, kSlot) = c.ranges[c.ranges.size() == 4 ? b : 0];
        const std::string keys = "DRC12"; // in switch order
        for (int k = 0; k < 5; ++k) e.options.EndOfProfile[k] = c.on.find(keys[k]) != std::string::npos;
        e.setup.XmitPulseLength = c.pulse;
        e.setup.BottomTrackSeen = e.setup.IntensitySeen = c.blocks;
        for (const Bump& bump : c.bumps)
            for (int bin : bump.bins)
                e.data.IntensityData(bump.beam, bin, kSlot) = static_cast<uint8_t>(bump.level);
        e.Trim();
        EXPECT_EQ(e.FirstBadCell(), c.firstBad);
        for (int r = 0; r < 8; ++r) {
            EXPECT_EQ(e.data.VelData(r, c.cells, kSlot), kUntouched); // first bin beyond the profile
            EXPECT_EQ(e.data.VelData(r, 0, kSlot + 1), kUntouched);
        }
        for (int r = 4; r < 6; ++r) EXPECT_EQ(e.Vel(r, 0), kUntouched); // only rows 0..3 are marked
    }
}

} // namespace
