#include "options/OptionsFile.h"

#include "common/ContourCode.h"
#include "options/TextRecords.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace mvx {

namespace {

using IntCheck = bool (*)(int32_t);
using RealCheck = bool (*)(double);

// Values that index tables or size the data set are only taken from a file when they are ones the
// program itself can produce.
bool IsScaleMode(int32_t v) {
    return v >= 0 && v <= 4;
}
bool IsVelocityReference(int32_t v) {
    return v >= 0 && v <= 5;
}
bool IsSubSetCapacity(int32_t v) {
    return v >= 128 && v <= 8192;
}
bool IsShare(double v) {
    return v >= 0 && v <= 1;
}
bool IsDensity(double v) {
    return v > 0;
}
bool IsContourDataType(int32_t v) {
    return Decode_Contour_Code(v).Source != ContourSourceKind::None;
}

// Every record after the version line, in file order. Save and load walk this one list, so the two can
// never disagree on the order or the counts.
template <typename Opt, typename Visitor> void VisitRecords(Opt& o, Visitor& v) {
    v.Int(o.ContourScaleMode, IsScaleMode);
    v.Int(o.ContourUserScale[0]);
    v.Int(o.ContourUserScale[1]);
    v.Bool(o.ShowLocators);
    v.Bool(o.ShowGrid);
    v.Int(o.ContourDataType, IsContourDataType);
    v.Bool(o.ShowBTDepth);

    for (auto& b : o.ProfileDataTypes) v.Bool(b);
    v.Bool(o.ProfileLines);
    v.Bool(o.ProfileSymbols);
    v.Bool(o.ProfileGrid);
    for (std::size_t k = 0; k < o.ProfileScaleMin.size(); ++k) {
        v.Real(o.ProfileScaleMin[k]);
        v.Real(o.ProfileScaleMax[k]);
    }

    v.Bool(o.SeriesCombo);
    v.Bool(o.SeriesLines);
    v.Bool(o.SeriesSymbols);
    v.Bool(o.SeriesGrid);
    for (std::size_t k = 0; k < 36; ++k) v.Bool(o.SeriesDataTypes[k]);
    for (std::size_t k = 0; k < 5; ++k) { // the percent-good class is not kept
        v.Real(o.SeriesScaleMin[k]);
        v.Real(o.SeriesScaleMax[k]);
    }
    v.Real(o.SeriesAverageInterval);
    v.Bool(o.SeriesAverageAll);
    v.Bool(o.SeriesAverageOn);

    for (auto& b : o.AncDataTypes) v.Bool(b);
    v.Bool(o.AncLines);
    v.Bool(o.AncSymbols);
    v.Bool(o.AncGrid);
    for (std::size_t k = 0; k < o.AncScaleMin.size(); ++k) {
        v.Real(o.AncScaleMin[k]);
        v.Real(o.AncScaleMax[k]);
    }

    v.Int(o.ProfileEnsNumber);
    for (std::size_t bin = 1; bin <= 255; ++bin) v.Bool(o.SeriesBinSelect[bin]);

    v.Single(o.WaterDensity, IsDensity);
    v.Int(o.VelocityReference, IsVelocityReference);
    v.Real(o.WaterVelScale);
    v.Real(o.BottomVelScale);
    for (auto& b : o.EndOfProfile) v.Bool(b);

    v.Int(o.MaxSubEnsembles, IsSubSetCapacity);
    v.Real(o.ContourHeightShare, IsShare);
    v.Real(o.ProfileWidthShare, IsShare);

    for (auto& w : o.Windows) {
        v.Int(w.Left);
        v.Int(w.Top);
        v.Int(w.Width);
        v.Int(w.Height);
        v.Int(w.State);
    }
    for (auto& b : o.WindowMenuChecks) v.Bool(b);

    v.Bool(o.TrackLeftToRight);
    for (auto& b : o.TrackSpeedUnits) v.Bool(b);
    for (auto& b : o.TrackDepthUnits) v.Bool(b);
    v.Real(o.TrackProperty);
    for (auto& b : o.TrackSelectAuto) v.Bool(b);
}

class RecordWriter {
  public:
    explicit RecordWriter(std::ostream& out) : Out_(out) {}
    void Int(const int32_t& x, IntCheck = nullptr) { Line(NumberText(x)); }
    void Bool(const bool& x) { Line(BooleanText(x)); }
    void Real(const double& x, RealCheck = nullptr) { Line(NumberText(x)); }
    void Single(const float& x, RealCheck = nullptr) { Line(NumberText(x)); }
    void Line(const std::string& text) { Out_ << text << kRecordEnd; }

  private:
    std::ostream& Out_;
};

// Reads one record per line. A line that does not hold a fitting value leaves its variable as it was;
// at the end of the input the remaining variables keep their values.
class RecordReader {
  public:
    explicit RecordReader(LineReader& lines) : Lines_(lines) {}
    void Int(int32_t& x, IntCheck check = nullptr) {
        if (!NextLine()) return;
        const auto v = ParseInt32Text(Line_);
        if (v && (check == nullptr || check(*v))) x = *v;
    }
    void Bool(bool& x) {
        if (!NextLine()) return;
        if (const auto v = ParseBooleanText(Line_)) x = *v;
    }
    void Real(double& x, RealCheck check = nullptr) {
        if (!NextLine()) return;
        const auto v = ParseNumberText(Line_);
        if (v && (check == nullptr || check(*v))) x = *v;
    }
    void Single(float& x, RealCheck check = nullptr) {
        if (!NextLine()) return;
        const auto v = ParseSingleText(Line_);
        if (v && (check == nullptr || check(*v))) x = *v;
    }

  private:
    // False at the end of the input; an overlong line comes back empty so that nothing parses from it.
    bool NextLine() {
        if (Ended_) return false;
        bool overlong = false;
        if (!Lines_.Next(Line_, overlong)) {
            Ended_ = true;
            return false;
        }
        if (overlong) Line_.clear();
        return true;
    }

    LineReader& Lines_;
    std::string Line_;
    bool Ended_ = false;
};

DisplayTables BuildDisplayTables() {
    DisplayTables t;
    t.ContourTypeNames = {"Amplitude Beam 1",
                          "Amplitude Beam 2",
                          "Amplitude Beam 3",
                          "Amplitude Beam 4",
                          "Amplitude Four Beam Avgerage",
                          "Correlation Beam 1",
                          "Correlation Beam 2",
                          "Correlation Beam 3",
                          "Correlation Beam 4",
                          "Correlation Four Beam Avgerage",
                          "East Velocity",
                          "North Velocity",
                          "Vertical Velocity",
                          "Error Velocity",
                          "Magnitude",
                          "Percent Good 1",
                          "Percent Good 2",
                          "Percent Good 3",
                          "Percent Good 4"};
    t.ReferenceNames = {"None", "Bottom", "Navigation"};
    t.AncLabels = {"Pitch", "Roll", "Hdg", "Temp", "Depth"};
    t.AncUnits = {"deg", "deg", "deg", "deg", "m"};
    t.SeriesLabels = {"Int", "Cor", "Vel", "Mag", "Dir", "E(u)", "N(v)", "V(w)",
                      "Err", "P#1", "P#2", "Bm1", "Bm2", "Bm3",  "Bm4",  "Avg"};
    t.SeriesUnits = {"cnt", "cnt", "mm/s", "mm/s", "deg"};
    t.ProfileLabels = {"Intensity",  "Correlation",  "Velocity", "Magnitude", "Direction",
                       "Statistics", "Percent Good", "East(u)",  "North(v)",  "Vertical(w)",
                       "Error",      "Prof #1",      "Prof #2",  "PG1",       "PG2",
                       "PG3",        "PG4",          "Error",    "Std",       "% Good"};
    t.ProfileUnits = {"counts", "counts", "mm/s", "mm/s", "degrees", "mm/s", "%"};
    return t;
}

bool IsRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

} // namespace

std::string OptionsVersion() {
    return MARVOX_VERSION;
}

void Load_Default_Options(Options& options, DisplayTables* tables) {
    // The window layout, the Window-menu marks and the track vector settings describe windows that exist;
    // resetting the chart and processing settings leaves them alone.
    const auto windows = options.Windows;
    const auto menuChecks = options.WindowMenuChecks;
    const bool leftToRight = options.TrackLeftToRight;
    const auto speedUnits = options.TrackSpeedUnits;
    const auto depthUnits = options.TrackDepthUnits;
    const double trackProperty = options.TrackProperty;
    const auto selectAuto = options.TrackSelectAuto;

    options = Options{};

    options.Windows = windows;
    options.WindowMenuChecks = menuChecks;
    options.TrackLeftToRight = leftToRight;
    options.TrackSpeedUnits = speedUnits;
    options.TrackDepthUnits = depthUnits;
    options.TrackProperty = trackProperty;
    options.TrackSelectAuto = selectAuto;

    if (tables != nullptr) *tables = BuildDisplayTables();
}

void Write_Options(const Options& options, std::ostream& out) {
    RecordWriter writer(out);
    writer.Line(QuoteText(OptionsVersion()));
    VisitRecords(options, writer);
}

bool Read_Options(Options& options, std::istream& in) {
    try {
        LineReader lines(in);
        std::string first;
        bool overlong = false;
        if (!lines.Next(first, overlong) || overlong) return false;
        // The version is written quoted; a bare version reads the same.
        const auto quoted = ParseQuotedText(first);
        const std::string version = quoted ? *quoted : TrimmedText(first);
        if (version != OptionsVersion()) return false;
        RecordReader reader(lines);
        VisitRecords(options, reader);
        return true;
    } catch (...) {
        return false;
    }
}

bool Save_Options(const Options& options, const std::string& path) {
    try {
        std::ostringstream text;
        Write_Options(options, text);
        return ReplaceFileText(path, text.str());
    } catch (...) {
        return false;
    }
}

bool Load_Options(Options& options, const std::string& path) {
    try {
        // Only a plain file: a device or a pipe could feed an endless line.
        if (!IsRegularFile(path)) return false;
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        return Read_Options(options, in);
    } catch (...) {
        return false;
    }
}

std::string ConfigFolder() {
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg; // a relative value is to be ignored
    } else {
        const char* home = std::getenv("HOME");
        std::string homeDir = home != nullptr ? home : "";
        if (homeDir.empty()) {
            if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr)
                homeDir = pw->pw_dir;
        }
        base = homeDir.empty() ? std::string(".") : homeDir + "/.config";
    }
    const std::string folder = base + "/marevox";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

std::string StandardOptionsPath() {
    return ConfigFolder() + "/MRVXOps.Txt";
}

std::string StandardRecentPath() {
    return ConfigFolder() + "/MRVXFile.txt";
}

} // namespace mvx
