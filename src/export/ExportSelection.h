#pragma once
// What the export dialog holds: the kind of export, each panel's file type, data types, ensemble boxes
// and bin lists, plus the cancel flag and progress callback of a running export. Plain data, filled by
// the dialog (or the command line) and read by the writers; the writers write clamped ensemble entries
// back into the boxes, as the dialog shows them.
#include "model/Options.h"
#include "model/SetDescriptors.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mvx {

enum class ExportKind : int { Contour = 0, Profile = 1, Series = 2 };
// Text and MAT are the dialog's "TXT" and "MAT" buttons; NetCdf is a CF-conventions NetCDF file.
enum class ExportFileType : int { Text = 0, Mat = 1, NetCdf = 2 };

// The 20 per-bin data types, indexed alike on every panel: 0-4 echo beams 1-4 and average, 5-9
// correlation beams 1-4 and average, 10-15 east, north, vertical, error, magnitude, direction, 16-19
// percent good beams 1-4.
constexpr int kExportDataTypes = 20;
constexpr int kSeriesBoxes = 40; // the series panel's data-type boxes
constexpr int kAncBoxes = 8;     // pitch, roll, heading, temperature, depth, orientation, BIT, battery
constexpr int kBinListItems = 255;

// Series boxes beyond the per-bin data types.
enum SeriesBox : int {
    kSeriesBottomTrack = 20, // 20-25 east, north, vertical, error, magnitude, direction
    kSeriesWaterMass = 26,   // 26-31 the same
    kSeriesNavEast = 32,
    kSeriesNavNorth = 33,
    kSeriesNavMag = 34,
    kSeriesNavDir = 35,
    kSeriesLatLon = 36,
    kSeriesMicroCAT = 37,
    kSeriesStrandex = 38, // switches the navigation velocity and position sources
    kSeriesBTDepth = 39,
};

// A bin list box: items "1".."255", any number selected.
struct BinList {
    std::array<bool, kBinListItems + 1> Selected{}; // by bin number; index 0 unused

    void Select(int bin, bool on = true) {
        if (bin >= 1 && bin <= kBinListItems) Selected[static_cast<size_t>(bin)] = on;
    }
    // "All" selects bins 1..numCells, "None" deselects them.
    void SelectAll(int numCells);
    void SelectNone(int numCells);
    // The bins an export writes: the selected ones among 1..numCells, ascending.
    std::vector<int> Exported(int numCells) const;
};

// The clamped First/Last/Step of a contour or series panel.
struct EnsembleRange {
    int32_t First = 0, Last = 0, Step = 1;
    // Ensembles First, First + Step, ... that do not exceed Last (0 when First > Last).
    int64_t Count() const;
    int32_t At(int64_t row) const { return static_cast<int32_t>(First + row * Step); }
};

struct ExportSelection {
    ExportKind Kind = ExportKind::Contour;
    std::array<ExportFileType, 3> FileType{ExportFileType::Text, ExportFileType::Text, ExportFileType::Text};

    // Contour panel: the one chosen data type and the First, Last, Step boxes.
    int ContourType = 0;
    std::array<std::string, 3> ContourEnsembles{"0", "0", "1"};
    // Profile panel: the ensemble box and the checked data types.
    std::string ProfileEnsemble = "0";
    std::array<bool, kExportDataTypes> ProfileTypes{};
    // Series panel: First, Last, Step, the data-type boxes (0-39) and the ancillary boxes (0-7).
    std::array<std::string, 3> SeriesEnsembles{"0", "0", "1"};
    std::array<bool, kSeriesBoxes> SeriesTypes{};
    std::array<bool, kAncBoxes> AncTypes{};
    // Bin lists of the contour, profile and series panels.
    std::array<BinList, 3> Bins;

    // Set while writing to stop the export; the writers look at it before each ensemble and after each
    // bin or row.
    bool Cancel = false;
    // Called with 0..100 while writing; answering false asks the export to stop, as Cancel does.
    std::function<bool(int)> Progress;

    void ReportProgress(int value) {
        if (Progress && !Progress(value)) Cancel = true;
    }
    ExportFileType TypeOf(ExportKind kind) const { return FileType[static_cast<size_t>(kind)]; }
    const BinList& BinsOf(ExportKind kind) const { return Bins[static_cast<size_t>(kind)]; }
    BinList& BinsOf(ExportKind kind) { return Bins[static_cast<size_t>(kind)]; }
    bool Strandex() const { return SeriesTypes[kSeriesStrandex]; }
};

// The contour panel's data-type index for a contour chart data-type code: 1-5 (echo), 10-50
// (correlation), 100-600 (velocity), 1000-4000 (percent good). Nothing for any other code.
std::optional<int> ContourTypeOption(int32_t code);

// The value of an ensemble box: the number at the start of its first 8 characters (0 when there is
// none), rounded to a whole number.
int32_t EnsembleEntryValue(const std::string& text);

// Reads First, Last and Step from the three boxes, clamps First and Last into the file's ensemble
// range and Step into [1, file ensembles], and writes the clamped values back into the boxes.
EnsembleRange Clamp_Ensemble_Entries(std::array<std::string, 3>& boxes, const SetDescriptors& set);
// The profile panel's single box, clamped like First and written back.
int32_t Clamp_Ensemble_Entry(std::string& box, const SetDescriptors& set);

// Fills the dialog's choices from the charts' state before it is shown: the contour data type, the
// profile ensemble and lines, the contour and series ensemble ranges (the loaded set, step 1), the
// series and ancillary lines. The bin lists are left as they are.
void Load_Folders(const Options& opts, const SetDescriptors& set, ExportSelection& selection);

} // namespace mvx
