// NetCDF exports of odd selections, failures of the library, and the time rules.
#include "ExportFixture.h"
#include "NetCdfReadBack.h"

#include "export/CfTime.h"
#include "export/ExportRunner.h"
#include "export/NetCdfFile.h"
#include "simulator/Simulator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace mvx;
using namespace mvx::test;
namespace fs = std::filesystem;

TEST(NetCdfEdge, OddSelectionsGiveFilesWhoseDimensionsMatchTheirData) {
    LoadedFile f;
    f.Path = TinyFilePath();
    OpenFile(f);
    struct Case {
        const char *first, *last;
        int bins, stopAt; // stopAt: the progress value answered with a stop (33 follows ensemble 2)
        ExportStatus status;
        std::vector<double> ensembles;
    };
    const std::vector<Case> cases = {{"3", "1", 2, -1, ExportStatus::Written, {}},
                                     {"1", "3", 0, -1, ExportStatus::Written, {1, 2, 3}},
                                     {"1", "3", 2, 33, ExportStatus::Cancelled, {1, 2}}};
    for (const Case& c : cases) {
        ExportSelection sel;
        sel.FileType[0] = ExportFileType::NetCdf;
        sel.ContourType = 10;
        sel.ContourEnsembles = {c.first, c.last, "1"};
        sel.Bins[0].SelectAll(c.bins);
        sel.Progress = [&c](int v) { return v != c.stopAt; };
        const fs::path out = ScratchDir() / "edge.nc";
        EXPECT_EQ(Run_Export(f.State, sel, out.string()).Status, c.status);
        const NcContents nc = ReadNetCdf(out);
        EXPECT_EQ(nc.Var("ensemble").Values, c.ensembles);
        EXPECT_EQ(nc.Var("time").Values.size(), c.ensembles.size());
        // No bin leaves out the range and the per-bin variables.
        EXPECT_EQ(nc.Dims.count("range"), c.bins ? 1u : 0u);
        EXPECT_EQ(nc.Vars.count("velocity_east") ? nc.Vars.at("velocity_east").Values.size() : 99u,
                  c.bins ? 2 * c.ensembles.size() : 99u);
    }
}

// Bytes the library never writes must not carry what the heap held: the same export, written again
// after large buffers of 0xAB came and went, gives the same bytes.
TEST(NetCdfFile, SameExportGivesSameBytesWhateverTheHeapHeld) {
    SimulationSpec spec;
    spec.Ensembles = 120;
    LoadedFile f;
    f.Path = ScratchDir() / "SIM.000";
    std::string error;
    ASSERT_TRUE(WriteSimulatedFile(spec, f.Path.string(), &error)) << error;
    OpenFile(f);
    for (ExportKind kind : {ExportKind::Contour, ExportKind::Series}) {
        ExportSelection sel;
        sel.Kind = kind;
        sel.FileType.fill(ExportFileType::NetCdf);
        sel.ContourEnsembles = sel.SeriesEnsembles = {"1", "120", "1"};
        sel.SeriesTypes[0] = sel.AncTypes[2] = true; // a data type and the heading
        for (BinList& bins : sel.Bins) bins.SelectAll(spec.Cells);
        std::vector<std::vector<uint8_t>> written;
        for (int pass = 0; pass < 2; ++pass) {
            for (size_t size = 4096; pass == 1 && size <= (size_t{4} << 20); size *= 2) {
                auto churn = std::make_unique<uint8_t[]>(size);
                std::memset(churn.get(), 0xAB, size);
                static_cast<void>(*static_cast<volatile uint8_t*>(&churn[size - 1]));
            }
            const fs::path out = ScratchDir() / ("same" + std::to_string(pass) + ".nc");
            ASSERT_EQ(Run_Export(f.State, sel, out.string()).Status, ExportStatus::Written);
            written.push_back(ReadAll(out));
        }
        EXPECT_GT(written[0].size(), 1000u);
        EXPECT_EQ(written[0], written[1]) << static_cast<int>(kind);
    }
}

TEST(NetCdfFile, ALibraryFailureFailsTheTargetAndRemovesIt) {
    const std::vector<std::pair<std::function<void(NetCdfFile&)>, const char*>> cases = {
        {[](NetCdfFile& nc) { nc.Dimension("time", 2), nc.Dimension("time", 3); },
         "The NetCDF library could not define the dimension time: NetCDF: String match to name in use"},
        {[](NetCdfFile& nc) {
             const int v = nc.Variable("v", NcType::Short, {nc.Dimension("time", 3)});
             nc.EndDefinitions();
             nc.Put(v, std::vector<int32_t>{1, 2});
         },
         "An export variable was given 2 values for 3 places"}};
    for (const auto& [misuse, message] : cases) {
        const fs::path target = ScratchDir() / "lib.nc";
        OutputFile out;
        ASSERT_TRUE(out.Open(target.string()));
        NetCdfFile nc;
        misuse(nc);
        EXPECT_FALSE(nc.WriteTo(out));
        EXPECT_FALSE(out.Close());
        EXPECT_EQ(out.Error(), std::string(message) + "; the unfinished file was removed");
        EXPECT_FALSE(fs::exists(target));
    }
}

TEST(CfTime, CenturiesAndTimeStampsWithoutAYear) {
    struct Case {
        std::vector<EnsembleTimeBytes> times;
        int firstYear;
        std::vector<double> seconds;
    };
    const std::vector<Case> cases = {
        {{{99, 12, 31, 23, 59, 59, 99}}, 1999, {SecondsSince(1999, 1999, 12, 31, 86399.99)}},
        // A later ensemble without a year keeps the year before it.
        {{{79, 12, 31, 0, 0, 0, 0}, {80, 12, 31, 1, 0, 0, 0}},
         2079,
         {SecondsSince(2079, 2079, 12, 31, 0), SecondsSince(2079, 2079, 12, 31, 3600)}},
        // The stand-in year keeps 29 February a date.
        {{{80, 2, 29, 12, 0, 0, 0}}, 1904, {SecondsSince(1904, 1904, 2, 29, 43200)}},
    };
    for (const Case& c : cases) {
        const CfTimeAxis axis = Make_Time_Axis(c.times);
        EXPECT_EQ(axis.Units, "seconds since " + std::to_string(c.firstYear) + "-01-01 00:00:00");
        EXPECT_EQ(axis.YearKnown, c.times[0][0] != 80);
        EXPECT_EQ(axis.Seconds, c.seconds) << axis.Units;
    }
}
