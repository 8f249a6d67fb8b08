// The profile and series charts of the sub-set window: their drawing hooks, Force_Statistics_Display,
// the series-bin mapping after a file is opened, and the mouse on their surfaces.
#include "app/MainWindow.h"
#include "app/SubSetWindow.h"

#include "charts/ContourMouse.h"
#include "charts/SubSetPlots.h"
#include "common/Rounding.h"
#include "dataset/Loader.h"
#include "dataset/SeriesCandles.h"

#include <QAction>
#include <QMouseEvent>

#include <algorithm>

namespace mvx {

void SubSetWindow::Install_Plot_Hooks() {
    chartHooks_.Show_Profile_Data = [this] {
        SubSetSurfaces surfaces = Surfaces();
        Show_Profile_Data(charts_, surfaces, app_.Core);
    };
    chartHooks_.Show_Series_And_Ancillary_Data = [this] {
        SubSetSurfaces surfaces = Surfaces();
        Show_Series_And_Ancillary_Data(charts_, surfaces, app_.Core);
        // The trend window reads the candles the series chart has just computed.
        if (main_.Hooks().Update_Stat_Data) main_.Hooks().Update_Stat_Data();
    };
    WindowHooks& hooks = main_.Hooks();
    hooks.Force_Statistics_Display = [this] {
        if (!built_ || !app_.Core.Set.FileValid) return;
        SubSetSurfaces surfaces = Surfaces();
        mvx::Force_Statistics_Display(charts_, surfaces, app_.Core);
        pic4_->update();
        if (main_.Hooks().Update_Stat_Data) main_.Hooks().Update_Stat_Data();
    };
    hooks.Map_Series_Bins = [this] {
        CoreState& core = app_.Core;
        Map_Series_Bins(core.Opts.SeriesBinSelect, 1, core.Setup.NumCells);
    };
}

void SubSetWindow::Picture5_MouseMove(QMouseEvent* e) {
    if (!built_) return;
    const WindowHooks& hooks = main_.Hooks();
    if (!hooks.Update_Data_View || !main_.Menu().Show_Data_Viewer->isChecked()) return;
    const ProfileDataIndex cell = Profile_DataIndex_At(charts_, Surfaces(), app_.Core, e->position().y());
    if (cell.Inside) hooks.Update_Data_View(cell.EnsembleIndex, cell.BinRow);
}

void SubSetWindow::Picture4_MouseDown(QMouseEvent* e) {
    ZoomState& armed = charts_.Contour.Zoom;
    if (e->button() != Qt::LeftButton || !built_ || !armed.ZoomArmed) return;
    armed.ZoomArmed = false;
    const QPointF p = e->position();
    const SeriesDataIndex cell = Series_DataIndex_At(charts_, Surfaces(), app_.Core, p.x(), p.y());
    seriesZoom_.PressEnsemble = cell.EnsembleIndex;
    seriesZoom_.BoxX1 = seriesZoom_.BoxX2 = RoundToInt32(p.x());
    seriesZoom_.BoxY1 = seriesZoom_.BoxY2 = RoundToInt32(p.y());
    seriesZoom_.BoxShown = false;
    seriesZoom_.ZoomDragging = true;
    app_.Pointer.Set(PointerShape::Cross);
}

void SubSetWindow::Picture4_MouseMove(QMouseEvent* e) {
    if (!seriesZoom_.ZoomDragging || !(e->buttons() & Qt::LeftButton)) return;
    if (seriesZoom_.BoxShown) Toggle_Zoom_Box(picture4_, seriesZoom_);
    seriesZoom_.BoxX2 = RoundToInt32(e->position().x());
    seriesZoom_.BoxY2 = RoundToInt32(e->position().y());
    Toggle_Zoom_Box(picture4_, seriesZoom_);
    pic4_->update();
}

void SubSetWindow::Picture4_MouseUp(QMouseEvent* e) {
    CoreState& core = app_.Core;
    if (e->button() == Qt::RightButton) {
        if (core.Set.FileValid && main_.Hooks().Show_Options) main_.Hooks().Show_Options(3);
        return;
    }
    if (e->button() != Qt::LeftButton || !seriesZoom_.ZoomDragging) return;
    if (seriesZoom_.BoxShown) Toggle_Zoom_Box(picture4_, seriesZoom_);
    seriesZoom_.ZoomDragging = false;
    const QPointF p = e->position();
    const SeriesDataIndex cell = Series_DataIndex_At(charts_, Surfaces(), core, p.x(), p.y());
    // The ensembles under the box, bins unchanged; a box of one ensemble changes nothing.
    if (cell.EnsembleIndex != seriesZoom_.PressEnsemble) {
        const ChartAxesInput& axes = charts_.Contour.Axes;
        const int32_t first =
            Ensemble_In_Column(axes, std::min(cell.EnsembleIndex, seriesZoom_.PressEnsemble));
        const int32_t last =
            Ensemble_In_Column(axes, std::max(cell.EnsembleIndex, seriesZoom_.PressEnsemble));
        app_.Pointer.Set(PointerShape::Hourglass);
        if (Read_File_Selection(core, first, last, true)) {
            Init_Charts(charts_.Contour.DataType);
            if (main_.Hooks().Move_Scrollers) main_.Hooks().Move_Scrollers();
        }
    }
    app_.Pointer.Set(PointerShape::Default);
    pic4_->update();
}

} // namespace mvx
