// The report editor's contour picture with its captions.
#include "charts/ReportChart.h"

#include "charts/ChartFrame.h"
#include "charts/ColorScale.h"
#include "common/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace mvx {

namespace {

ReportRect PrintCaption(Surface& s, const std::string& text, double x, double y) {
    s.SetCurrentPosition(x, y);
    s.Print(text);
    return {x, y, std::max<double>(s.TextWidth(text), 8), static_cast<double>(s.TextHeight(text))};
}

ReportRect& At(ReportChart& c, ReportCaption caption) {
    return c.Captions[static_cast<size_t>(caption)];
}

} // namespace

void Draw_Report(ReportChart& c, const ReportSnapshot& snap, Surface& s, const ColorTableArray& colors) {
    s.SetBackColor(kWhite);
    s.Clear();
    c.Captions.fill({});
    s.SetFont("Arial", s.FontSize(), s.FontBold());
    s.SetForeColor(kBlack);
    const double th = s.TextHeight("W");
    const double W = s.Width(), H = s.Height();
    // Titles, centred above the plot.
    for (size_t k = 0; k < snap.Titles.size(); ++k)
        At(c, ReportCaption(static_cast<int>(k) + 1)) =
            PrintCaption(s, snap.Titles[k], std::max((W - s.TextWidth(snap.Titles[k])) / 2, 0.0), 2 + k * th);
    c.Plot = {2.5 * th, 4.5 * th, W - 4 * th, H - 9 * th};
    const ReportRect& p = c.Plot;
    if (p.Width < 4 || p.Height < 4 || !snap.Consistent()) return;

    // The colour scale spans the valid values.
    std::vector<int32_t> values(snap.Matrix.begin(), snap.Matrix.end());
    ScaleRule rule;
    ChartScale scale;
    const ColorScaleRange range = Resolve_Scale(Compute_Scale_Statistics(values), rule, scale);
    c.ScaleMin = scale.ScaleMin;
    c.ScaleMax = scale.ScaleMax;
    const int x0 = static_cast<int>(std::lround(p.X)), y0 = static_cast<int>(std::lround(p.Y));
    const int w = static_cast<int>(p.Width), h = static_cast<int>(p.Height);
    std::vector<ColorRef> row(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        const int r = std::min(static_cast<int>(int64_t(y) * snap.Bins / h), snap.Bins - 1);
        for (int x = 0; x < w; ++x) {
            const int col = std::min(static_cast<int>(int64_t(x) * snap.Ensembles / w), snap.Ensembles - 1);
            row[static_cast<size_t>(x)] =
                colors[static_cast<size_t>(Value_To_Color_Index(snap.At(r, col), range))];
        }
        s.SetPixelRow(x0, y0 + y, row.data(), w);
    }
    s.Box(p.X - 1, p.Y - 1, p.X + w, p.Y + h, kBlack);

    // Colour bar above the plot's right half, with its ends.
    const double barLeft = p.X + p.Width / 2, barWidth = p.Width / 2, barTop = p.Y - 1.3 * th;
    for (int k = 0; k < 100; ++k)
        s.FillBox(barLeft + k * barWidth / 100, barTop, barLeft + (k + 1) * barWidth / 100, barTop + th / 2,
                  colors[static_cast<size_t>(k)]);
    s.SetForeColor(kBlack);
    const std::string lo = FormatNumber(c.ScaleMin, "0"), hi = FormatNumber(c.ScaleMax, "0");
    s.SetCurrentPosition(barLeft - s.TextWidth(lo) - 4, barTop - th / 4);
    s.Print(lo);
    s.SetCurrentPosition(barLeft + barWidth - s.TextWidth(hi), barTop - th);
    s.Print(hi);
    s.SetCurrentPosition(p.X, barTop - th / 4);
    s.Print(snap.DataTypeName);

    // Start and end texts below the corners, the X caption centred, the Y caption turned upwards.
    const double below = p.Y + p.Height + 4;
    At(c, ReportCaption::StartTime) = PrintCaption(s, snap.StartTime, p.X, below);
    At(c, ReportCaption::StartDate) = PrintCaption(s, snap.StartDate, p.X, below + th);
    At(c, ReportCaption::EndTime) =
        PrintCaption(s, snap.EndTime, p.X + p.Width - s.TextWidth(snap.EndTime), below);
    At(c, ReportCaption::EndDate) =
        PrintCaption(s, snap.EndDate, p.X + p.Width - s.TextWidth(snap.EndDate), below + th);
    At(c, ReportCaption::XAxis) = PrintCaption(
        s, snap.XAxisCaption, p.X + (p.Width - s.TextWidth(snap.XAxisCaption)) / 2, below + 2 * th);
    const double yWidth = s.TextWidth(snap.YAxisCaption);
    const double yBottom = p.Y + (p.Height + yWidth) / 2;
    PrintVerticalTitle(s, snap.YAxisCaption, th * 0.7, yBottom, true);
    At(c, ReportCaption::YAxis) = {th * 0.7, yBottom - yWidth, th, std::max(yWidth, 8.0)};
}

ReportCaption Caption_At(const ReportChart& c, double x, double y) {
    for (int k = 1; k < kReportCaptionCount; ++k)
        if (c.Captions[static_cast<size_t>(k)].Contains(x, y)) return ReportCaption(k);
    return ReportCaption::Window;
}

} // namespace mvx
