#pragma once
// The whole-set chart of the navigator: the contour of the thinned whole set, drawn by the contour
// machinery, with a white XOR rectangle around the sub set on display and one around the user's
// selection, and a footer line that names both ranges. Column k of the chart stands for ensemble
// WholeFirstEns + k * (WholeSetStep + 1), or in a file with an index for the ensemble the whole-set load
// stored in slot k; the last column stands for the file's last ensemble. Every bin of the file is shown,
// bin 1 in the bottom row.
#include "charts/ContourChart.h"
#include "model/CoreState.h"

#include <cstdint>
#include <string>

namespace mvx {

// A marker rectangle in pixels, both corners included.
struct MarkerRect {
    int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    bool Valid = false;
    bool operator==(const MarkerRect&) const = default;
};

// The two markers and their blinking: each is drawn (XOR) or not, and the blink counter runs 0..3.
struct WholeSetMarkers {
    MarkerRect Sub, Sel;
    bool SubShown = false, SelShown = false;
    int32_t BlinkCount = 0;
    bool Blinking = true; // off while a box is dragged and while the sub set changes
};

// The surfaces of the whole-set window: Picture1 the chart, Picture2 the hidden raster.
struct WholeSetSurfaces {
    Surface& Picture1;
    Surface& Picture2;
};

// State of the whole-set window's chart.
struct WholeSetChart {
    ContourChart Contour;
    ChartTicks Ticks;                            // its own, so that the sub-set charts' ticks stay theirs
    int32_t FirstEnsemble = 0, LastEnsemble = 0; // WholeFirstEns and the file's last ensemble
    int32_t ColumnStride = 1;                    // WholeSetStep + 1
    WholeSetMarkers Markers;
    std::string SubText, SelText;               // "Sub: a to b", "Sel: a to b"
    int WindowWidth = 1200, WindowHeight = 500; // the area the chart surface fills
    int ScreenWidth = 1920;                     // the raster is never wider
    bool Built = false;
};

// What the whole-set contour reads from the core state: the whole-set copy, all bins of the file.
ContourView Whole_Set_Contour_View(const CoreState& core);

// The caption: "Whole Set --- Deployment Duration: " and the whole set's duration.
std::string Whole_Set_Caption(double wholeSetDuration);

// Font, margins and text positions for a chart that fills width x height pixels, with one more text line
// below the plot for the footer; resizes Picture1 when its size changes.
void Set_Whole_Set_Size(WholeSetChart& chart, Surface& picture1, int width, int height);

// Full rebuild with a data type: data, raster, layout, stretched picture, titles and the footer. The
// markers start hidden. Nothing while no valid file is open.
void Init_Whole_Set_Chart(WholeSetChart& chart, WholeSetSurfaces& surfaces, const CoreState& core,
                          const ColorTableArray& colors, int32_t dataType);

// The still picture of the navigator (for the command line and the clipboard): the chart built with a
// data type, the sub-set and selection markers drawn, the footer printed.
void Draw_Whole_Set_Picture(WholeSetChart& chart, WholeSetSurfaces& surfaces, const CoreState& core,
                            const ColorTableArray& colors, int32_t dataType);

// Redraw after a size change without recomputing the data.
void Resize_Whole_Set_Chart(WholeSetChart& chart, WholeSetSurfaces& surfaces, const CoreState& core,
                            const ColorTableArray& colors);

// The ensemble number a column stands for (a column at or beyond the last stands for the file's last
// ensemble).
int32_t Ensemble_Of_Column(const WholeSetChart& chart, int32_t column);

// The pixel at the centre of the cell of a bin (1-based) and an ensemble number; an ensemble between two
// columns falls between their centres. The inverse of Get_Chart3d_DataIndex.
struct PixelPoint {
    double X = 0, Y = 0;
};
PixelPoint Get_Chart3d_DataCoordinate(const WholeSetChart& chart, const Surface& picture1, int32_t bin,
                                      int32_t ensemble);

// The rectangle around the cells of bins firstBin..lastBin and ensembles first..last: from the outer
// edges of the corner cells, at least one pixel apart.
MarkerRect Marker_Rect(const WholeSetChart& chart, const Surface& picture1, int32_t firstBin, int32_t lastBin,
                       int32_t firstEnsemble, int32_t lastEnsemble);

// Draws or erases (white XOR outline) one marker.
void Toggle_Marker(Surface& picture1, const MarkerRect& rect);

// Erases both markers where they are drawn.
void Hide_Markers(WholeSetChart& chart, Surface& picture1);

// One tick of the blink timer: at count 0 both markers are erased; with showLocators off nothing more;
// otherwise at counts 0 and 3 both are toggled, so they show for three ticks of four. The selection
// marker lies two pixels outside its cells, so its edges never cancel the sub-set marker's.
void Blink_Tick(WholeSetChart& chart, Surface& picture1, bool showLocators);

// Recomputes the sub-set marker (the old one erased first, the new one drawn) and prints "Sub: " with
// the first and last ensemble of the sub set on the footer line.
void Show_Selected_Data_Location(WholeSetChart& chart, Surface& picture1, const CoreState& core);

// Recomputes the selection marker and prints "Sel: " with the selected range on the footer line.
void Display_Footer(WholeSetChart& chart, Surface& picture1, const CoreState& core);

} // namespace mvx
