#include "charts/ProfileChart.h"

#include "charts/SubSetCharts.h"
#include "charts/TracePen.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

constexpr std::array<ColorRef, 5> kTraceColors{Rgb(208, 0, 0), Rgb(0, 208, 1), Rgb(0, 0, 208),
                                               Rgb(208, 0, 208), Rgb(0, 208, 208)};
constexpr std::array<const char*, kProfileKinds> kPanelUnits{"counts",  "counts", "mm/s", "mm/s",
                                                             "degrees", "mm/s",   "%"};
constexpr int kFirstTypeOfKind[kProfileKinds + 1] = {0, 5, 10, 14, 15, 16, 19, 23};

// Position of a type within its kind, which picks its colour and its label line.
int IndexInKind(int type) {
    const int kind = Profile_Kind(type);
    return kind < 0 ? 0 : type - kFirstTypeOfKind[kind];
}

ColorRef TraceColor(int type) {
    if (type == 14) return kTraceColors[0];
    if (type == 15) return kTraceColors[2];
    return kTraceColors[static_cast<size_t>(IndexInKind(type) % 5)];
}

std::string ReferenceSuffix(int32_t reference, bool flowMeter) {
    static const char* const suffix[] = {"", "-B", "-N", "-G", "-V", "-W"};
    if (flowMeter || reference < 1 || reference > 5) return "";
    return suffix[reference];
}

std::string TraceName(const ProfileView& v, int type) {
    static const char* const beams[] = {"Bm1", "Bm2", "Bm3", "Bm4", "Avg"};
    static const char* const velocity[] = {"East(u)", "North(v)", "Vertical(w)", "Error"};
    static const char* const stats[] = {"Error", "Std", "% Good"};
    static const char* const pgood[] = {"PG1", "PG2", "PG3", "PG4"};
    const int i = IndexInKind(type);
    const std::string suffix = ReferenceSuffix(v.VelocityReference, v.FlowMeterFirmware);
    switch (Profile_Kind(type)) {
    case 0:
    case 1:
        return beams[i];
    case 2:
        if (v.FlowMeterFirmware && i < 2) return i == 0 ? "Prof #1" : "Prof #2";
        return velocity[i] + suffix;
    case 3:
        return "Mag" + suffix;
    case 4:
        return "Dir" + suffix;
    case 5:
        return stats[i];
    case 6:
        return pgood[i];
    default:
        return "";
    }
}

// The scale pair of a type: its kind's, but the statistics panel's percent trace takes the percent pair.
void ScaleOf(const ProfileView& v, int type, double& min, double& max) {
    const int kind = type == 18 ? 6 : Profile_Kind(type);
    min = v.ScaleMin[static_cast<size_t>(kind)];
    max = v.ScaleMax[static_cast<size_t>(kind)];
}

std::string TwoDigits(int value) {
    return FormatNumber(value, "00");
}

} // namespace

int Profile_Kind(int type) {
    for (int k = 0; k < kProfileKinds; ++k)
        if (type >= kFirstTypeOfKind[k] && type < kFirstTypeOfKind[k + 1]) return k;
    return -1;
}

int ProfilePanels::PanelOf(int kind) const {
    const auto it = std::find(Kinds.begin(), Kinds.end(), kind);
    return it == Kinds.end() ? -1 : static_cast<int>(it - Kinds.begin());
}

ProfilePanels Profile_Panels(const std::array<bool, kProfileTypes>& types, int surfaceWidth) {
    ProfilePanels p;
    for (int k = 0; k < kProfileKinds; ++k)
        for (int t = kFirstTypeOfKind[k]; t < kFirstTypeOfKind[k + 1]; ++t)
            if (types[static_cast<size_t>(t)]) {
                p.Kinds.push_back(k);
                break;
            }
    if (!p.Kinds.empty()) p.Width = (surfaceWidth - 5.0) / static_cast<double>(p.Kinds.size());
    return p;
}

double Profile_Value(const ProfileView& v, int type, int bin) {
    const int32_t slot = Column_Of_Number(v.SlotNumbers, v.FirstEnsNumber, v.ProfileEnsNumber);
    if (v.Set == nullptr || slot < 0 || slot >= v.Ensembles || slot >= v.Set->Capacity || bin < 0 ||
        bin >= kMaxBins)
        return kNoData;
    const EnsembleSet& s = *v.Set;
    auto read = [&](const auto& a, int row) -> double {
        if (row >= a.Rows() || bin >= a.Bins() || slot >= a.Slots()) return kNoData;
        return a(row, bin, slot);
    };
    const int i = IndexInKind(type);
    switch (Profile_Kind(type)) {
    case 0:
        return read(s.IntensityData, i);
    case 1:
        return read(s.CorrData, i);
    case 2:
        return read(s.VelData, i);
    case 3:
        return read(s.VelData, 4);
    case 4: {
        const double d = read(s.VelData, 5);
        return d == kNoData ? kNoData : d / 10.0;
    }
    case 5: {
        const SlotArray<int32_t>* st = v.ErrVelStats;
        if (st == nullptr || i >= st->Rows() || bin >= st->Bins() || st->Slots() < 1) return kNoData;
        const int32_t value = (*st)(i, bin, 0);
        return value == kBadValue ? kNoData : value;
    }
    case 6:
        return read(s.PGoodData, i);
    default:
        return kNoData;
    }
}

double Profile_X(int panel, double width, double value, double min, double max) {
    const double span = std::max(max - min, 1.0);
    value = std::clamp(value, min, std::max(min, max));
    return panel * width + 1 + (value - min) * width / span;
}

double Profile_Row_Height(int32_t bins, double plotHeight) {
    return bins <= 0 || plotHeight < 2 ? 0 : plotHeight / bins;
}

double Profile_Row_Y(double plotBottom, double rowHeight, int row) {
    return plotBottom - rowHeight / 2 - row * rowHeight;
}

void Draw_Profile(Surface& s, const ProfileView& v, double plotHeight, double plotBottom,
                  const ChartTicks& ticks) {
    Draw_Profile_Frame(s);
    if (s.Width() < 1) return;

    const ProfilePanels panels = Profile_Panels(v.DataTypes, s.Width());
    if (panels.Kinds.empty() || v.ProfileEnsNumber < v.FirstEnsNumber || v.ProfileEnsNumber > v.LastEnsNumber)
        return;
    const double W = panels.Width;

    // Font: "W" fits a panel, the ensemble line fits the surface, a line of text fits the top margin.
    const double topMargin = plotBottom - plotHeight;
    int size = 10;
    s.SetFont("Arial", size, false);
    while (size > 1 && s.TextWidth("W") > W) s.SetFont("Arial", --size, false);
    while (size > 1 && s.TextWidth("Ensemble: 88888888") > s.Width()) s.SetFont("Arial", --size, false);
    // The four header lines fit the contour's top margin.
    while (size > 1 && 4 * s.TextHeight("0") > topMargin) s.SetFont("Arial", --size, false);
    const int lineHeight = s.TextHeight("0");

    const int32_t bins = v.LastBinShown - v.FirstBinShown + 1;
    const double h = Profile_Row_Height(bins, plotHeight);
    const double plotTop = plotBottom - plotHeight;

    // Panel frames and the grid at the contour's range ticks.
    for (size_t k = 0; k < panels.Kinds.size(); ++k)
        s.Box(k * W + 1, plotTop, (k + 1) * W, plotBottom, Rgb(160, 160, 160));
    if (v.Grid) {
        const int32_t n =
            std::min<int32_t>(ticks.RangeTickCount, static_cast<int32_t>(ticks.RangeTickY.size()));
        for (int32_t t = 0; t < n; ++t) {
            const double y = ticks.RangeTickY[static_cast<size_t>(t)];
            s.Line(0, y, s.Width() - 2, y, Rgb(192, 192, 192));
        }
    }

    for (int type = 0; type < kProfileTypes; ++type) {
        if (!v.DataTypes[static_cast<size_t>(type)]) continue;
        const int kind = Profile_Kind(type);
        const int k = panels.PanelOf(kind);
        double min = 0, max = 0;
        ScaleOf(v, type, min, max);
        const ColorRef color = TraceColor(type);
        const bool wrap = kind == 4 && min == 0 && max == 360;
        TracePen pen(s, color, v.Lines, v.Symbols, 2, 4);
        double previous = kNoData;
        if (h > 0) {
            for (int32_t r = 0; r < bins; ++r) {
                const double value = Profile_Value(v, type, v.FirstBinShown - 1 + r);
                if (value == kNoData) {
                    pen.Break();
                    previous = kNoData;
                    continue;
                }
                if (wrap && previous != kNoData && std::abs(value - previous) > 180) pen.Break();
                pen.Point(Profile_X(k, W, value, min, max), Profile_Row_Y(plotBottom, h, r));
                previous = value;
            }
        }
        const std::string name = TraceName(v, type);
        s.SetForeColor(color);
        PrintChart3d(s, k * W + 1 + (W - s.TextWidth(name)) / 2,
                     plotTop + (9 + IndexInKind(type)) * lineHeight, name);
    }

    // Each panel's scale: minimum, middle and maximum, turned to read upwards below the plot.
    s.SetForeColor(kBlack);
    for (size_t k = 0; k < panels.Kinds.size(); ++k) {
        const size_t kind = static_cast<size_t>(panels.Kinds[k]);
        const double min = v.ScaleMin[kind], max = v.ScaleMax[kind];
        const double values[3] = {min, (min + max) / 2, max};
        for (int j = 0; j < 3; ++j) {
            std::string text = FormatNumber(values[j], "0") + " " + kPanelUnits[kind];
            if (kind == 5) {
                const double pmin = v.ScaleMin[6], pmax = v.ScaleMax[6];
                const double pct[3] = {pmin, (pmin + pmax) / 2, pmax};
                text += ", " + FormatNumber(pct[j], "0") + " %,";
            }
            const double x = k * W + 1 + W * (j + 1) / 4.0 - lineHeight / 2.0;
            Print_Upwards_Transparent(s, text, x, plotBottom + 4 + s.TextWidth(text));
        }
    }

    // Header.
    const int32_t slot = Column_Of_Number(v.SlotNumbers, v.FirstEnsNumber, v.ProfileEnsNumber);
    std::string date = "Date:    ", time = "Time:    ";
    if (v.Set != nullptr && slot >= 0 && slot < v.Set->EnsTimes.Slots()) {
        const auto& t = v.Set->EnsTimes;
        date += TwoDigits(t(0, slot)) + "/" + TwoDigits(t(1, slot)) + "/" + TwoDigits(t(2, slot));
        time += TwoDigits(t(3, slot)) + ":" + TwoDigits(t(4, slot)) + ":" + TwoDigits(t(5, slot)) + "." +
                TwoDigits(t(6, slot));
    }
    const std::string lines[4] = {"Profile", "Ensemble: " + FormatNumber(v.ProfileEnsNumber, "0"), date,
                                  time};
    for (int j = 0; j < 4; ++j) PrintChart3d(s, 4, j * lineHeight, lines[j]);
}

ProfileDataIndex Get_Profile_DataIndex(const ProfileView& v, double plotHeight, double topMargin, double Y) {
    ProfileDataIndex out;
    const int32_t bins = v.LastBinShown - v.FirstBinShown + 1;
    const int32_t count =
        v.SlotNumbers.empty() ? std::min(v.Ensembles, v.LastEnsNumber - v.FirstEnsNumber + 1) : v.Ensembles;
    out.EnsembleIndex =
        v.ProfileEnsNumber != 0 ? Column_Of_Number(v.SlotNumbers, v.FirstEnsNumber, v.ProfileEnsNumber) : -1;
    const double h = Profile_Row_Height(bins, plotHeight);
    if (h <= 0 || count <= 0) return out;
    const double row = std::floor((Y - topMargin) / h);
    out.Inside = row >= -1 && row <= bins + 1 && out.EnsembleIndex >= 0 && out.EnsembleIndex < count;
    out.EnsembleIndex = std::clamp(out.EnsembleIndex, 0, count - 1);
    out.BinRow = static_cast<int32_t>(std::clamp(row, 0.0, static_cast<double>(bins - 1)));
    return out;
}

} // namespace mvx
