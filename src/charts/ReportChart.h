#pragma once
// The report editor's picture: the snapshot's matrix as a colour contour (row 0, the highest bin, at the
// top), its colour bar, the three title lines above it, the start and end time and date below its two
// corners, the X-axis caption below and the Y-axis caption turned upwards at its left.
#include "analysis/ReportCaptions.h"
#include "analysis/ReportFile.h"
#include "charts/ColorTable.h"
#include "charts/Surface.h"

#include <array>
#include <optional>

namespace mvx {

struct ReportRect {
    double X = 0, Y = 0, Width = 0, Height = 0;
    bool Contains(double x, double y) const { return x >= X && x < X + Width && y >= Y && y < Y + Height; }
};

struct ReportChart {
    // Where each caption was drawn (the window caption has no place on the picture).
    std::array<ReportRect, kReportCaptionCount> Captions{};
    ReportRect Plot;
    int32_t ScaleMin = 0, ScaleMax = 0;
};

// Draws the snapshot on a surface already at its size.
void Draw_Report(ReportChart& chart, const ReportSnapshot& snapshot, Surface& picture,
                 const ColorTableArray& colors);

// The caption a double click at (x, y) edits: the caption drawn there, or the window caption anywhere
// else on the picture.
ReportCaption Caption_At(const ReportChart& chart, double x, double y);

} // namespace mvx
