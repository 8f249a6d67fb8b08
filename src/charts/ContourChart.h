#pragma once
// The contour chart: one quantity of a set of ensembles painted as a colour image, ensembles left to
// right and bins bottom to top, one pixel per cell on a raster that is then stretched into the plot.
// Around it the chart frame (colour bar, four axes), the titles, the first and last ensemble's number,
// time and position, the bottom-track line and the locators of the profile ensemble and series bins.
//
// The chart is a function of its view (the data and settings it reads), its own state and the surfaces:
// the same code draws it in a window, in the tests and in the command line.
#include "charts/ChartFrame.h"
#include "charts/ContourTypes.h"
#include "charts/Surface.h"

#include "model/DataSet.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

// The arrays a contour reads, slots 0..Count-1; any array may be missing (its cells have no data).
struct ContourSource {
    const SlotArray<int16_t>* VelData = nullptr;
    const SlotArray<uint8_t>* IntensityData = nullptr;
    const SlotArray<uint8_t>* CorrData = nullptr;
    const SlotArray<uint8_t>* PGoodData = nullptr;
    const SlotArray<int32_t>* BTRangeData = nullptr;
    int32_t Count = 0;

    // The value of bin (0-based array bin) and slot for a data type, as stored; kNoData where the array,
    // the row, the bin or the slot does not exist.
    int32_t Value(const ContourDataTypeInfo& type, int bin, int slot) const;
    // Bottom range of one beam (0..3) in cm; 0 where there is none.
    int32_t BottomRange(int beam, int slot) const;
};

struct CoreState;

// What the contour reads besides its own state.
struct ContourView {
    ContourSource Source;
    ChartAxesInput Axes; // set geometry, ensemble numbers, duration, ShowGrid
    int32_t VelocityReference = 0;
    bool FlowMeterFirmware = false;
    int32_t ScaleMode = 1;
    std::array<int32_t, 2> UserScale{0, 0};
    bool ShowBTDepth = false;
    bool ShowLocators = false;
    int32_t ProfileEnsNumber = 0;
    // Series bins by their bin number (1-based, the numbering of FirstBinShown and LastBinShown).
    const std::array<bool, 256>* SeriesBins = nullptr;
};

// The view of the first count slots of one set of the data set (the loaded set or the whole-set copy):
// its arrays, the instrument's bin geometry and orientation, and the chart options. The caller sets the
// bins shown, the ensemble numbers and the duration.
ContourView Contour_View_Of(const CoreState& core, const EnsembleSet& set, int32_t count);

// The dragged zoom box: armed by the space key, live from the left press to the left release.
struct ZoomState {
    bool ZoomArmed = false;
    bool ZoomDragging = false;
    int32_t BoxX1 = 0, BoxY1 = 0, BoxX2 = 0, BoxY2 = 0; // press corner and current corner, pixels
    bool BoxShown = false;                              // the XOR box is on the surface now
    int32_t PressEnsemble = 0, PressRow = 0;
    int32_t ReleaseEnsemble = 0, ReleaseRow = 0;
};

// State of one contour window.
struct ContourChart {
    ChartState Frame; // scale, statistics, margins, text positions, title, scale label
    int32_t DataType = 0;
    ContourDataTypeInfo Type;
    ChartAxesInput Axes; // the set as it was when the chart was built

    // Palette index per cell (after Move_Data_To_Chart3d_Array): row r (0 = FirstBinShown) of ensemble e
    // at r + Chart3dRows * e.
    std::vector<int32_t> Chart3dArray{kNoData};
    int32_t Chart3dRows = 1, Chart3dColumns = 1;
    bool Chart3dReady = false;
    double ColumnStep = 0; // raster pixels per ensemble (below 1 when the raster is cut to the screen)

    std::string StatsLine;
    std::array<std::string, 3> InfoHeaders{"Ensemble", "Date, Time", "Lat,Lon"};
    std::array<std::string, 3> FirstInfo; // number, date-time, position of the first ensemble
    std::array<std::string, 3> LastInfo;
    std::string Caption;

    ZoomState Zoom;

    int32_t Cell(int32_t row, int32_t ensemble) const {
        return Chart3dArray[static_cast<size_t>(row) + static_cast<size_t>(Chart3dRows) * ensemble];
    }
};

// Fills Chart3dArray (bins shown by ensembles, 1 by 1 when either count is 0) with the data type's values
// (directions in whole degrees, halves to even), takes the statistics and the scale into Frame and turns
// every value into its palette index. Takes the view's set geometry (Axes) and sets DataType, Type, Title
// and ScaleLabel.
void Move_Data_To_Chart3d_Array(ContourChart& chart, const ContourView& view, int32_t dataType);

// Paints the raster: one pixel per cell, ensembles across (cut to screenWidth pixels, later ensembles
// overwriting earlier ones in a shared column), the first bin shown in the bottom row.
void Create_Chart3d(ContourChart& chart, Surface& picture2, const ColorTableArray& colors, int screenWidth);

// Clears picture1 and, when the raster is ready, stretches it into the plot area.
void Move_Clip_To_Chart3d(const ContourChart& chart, Surface& picture1, const Surface& picture2);

// The points of the bottom-track line on a contour surface of the given size: one per ensemble with a
// bottom range on the data type's beam (or on any of the four), x at the column centre (every point on
// the plot's left edge when the set has fewer than 2 ensembles), y from the mean range in metres.
struct ChartPoint {
    double X = 0, Y = 0;
};
std::vector<ChartPoint> BT_Contour_Points(const ContourChart& chart, int surfaceWidth, int surfaceHeight,
                                          const ContourSource& source);

// The bottom-track depth line (only with ShowBTDepth): a white XOR polyline of the mean bottom range of
// the data type's beam (or of all four), then the margins above and below the plot are cleared.
void Display_BT_Contour(const ContourChart& chart, Surface& picture1, const ContourView& view);

// Bottom-track line, title, statistics line, colour bar, the four axes, the header words and the first
// and last ensemble's texts below the plot, the frame, and the locators (with ShowLocators).
void Chart3d_DisplayTitles(const ContourChart& chart, Surface& picture1, const ContourView& view,
                           const ColorTableArray& colors, ChartTicks& ticks);

// Pixel to cell: the ensemble index and the bin row counted from the top row. Inside allows one cell
// beyond the plot on every side; the indexes are then clamped into the set. Not inside (and both 0) when
// the plot has no columns or rows.
struct ChartDataIndex {
    int32_t EnsembleIndex = 0;
    int32_t BinRow = 0;
    bool Inside = false;
};
ChartDataIndex Get_Chart3d_DataIndex(const ContourChart& chart, const Surface& picture1, double X, double Y);

// The bin number shown in a bin row counted from the top.
inline int32_t Bin_Of_Row(const ContourChart& chart, int32_t binRow) {
    return chart.Axes.LastBinShown - binRow;
}

// XOR locators on the contour; drawing one twice restores the picture. The profile line is a dotted
// vertical line through the ensemble's column centre with a short wide mark at its top; the series lines
// are horizontal lines through the centre of every selected bin shown.
void Toggle_Profile_Line(const ContourChart& chart, Surface& picture1, int32_t ensembleNumber);
void Toggle_Series_Line(const ContourChart& chart, Surface& picture1, const std::array<bool, 256>& bins);

} // namespace mvx
