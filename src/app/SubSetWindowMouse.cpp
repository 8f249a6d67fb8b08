// Mouse and keys of the sub-set window.
#include "app/SubSetWindow.h"

#include "app/MainWindow.h"
#include "common/Rounding.h"

#include "charts/ContourMouse.h"
#include "dataset/Loader.h"

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace mvx {

void SubSetWindow::Picture1_MouseDown(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    ZoomState& zoom = charts_.Contour.Zoom;
    const QPointF p = e->position();
    if (zoom.ZoomArmed && built_) {
        Start_Zoom_Box(zoom, Get_Chart3d_DataIndex(charts_.Contour, picture1_, p.x(), p.y()), p.x(), p.y());
        clickDown_ = false;
        app_.Pointer.Set(PointerShape::Cross);
        return;
    }
    clickDown_ = true;
}

void SubSetWindow::Picture1_MouseMove(QMouseEvent* e) {
    if (!built_) return;
    const QPointF p = e->position();
    const WindowHooks& hooks = main_.Hooks();
    if (hooks.Update_Data_View && main_.Menu().Show_Data_Viewer->isChecked()) {
        const ChartDataIndex cell = Get_Chart3d_DataIndex(charts_.Contour, picture1_, p.x(), p.y());
        if (cell.Inside) hooks.Update_Data_View(cell.EnsembleIndex, cell.BinRow);
    }
    ZoomState& zoom = charts_.Contour.Zoom;
    if (zoom.ZoomDragging && (e->buttons() & Qt::LeftButton)) {
        Move_Zoom_Box(picture1_, zoom, p.x(), p.y());
        pic1_->update();
    }
}

void SubSetWindow::Picture1_MouseUp(QMouseEvent* e) {
    const QPointF p = e->position();
    if (e->button() == Qt::RightButton) {
        if (app_.Core.Set.FileValid && main_.Hooks().Show_Options) main_.Hooks().Show_Options(1);
        return;
    }
    if (e->button() != Qt::LeftButton) return;
    if (charts_.Contour.Zoom.ZoomDragging) {
        Finish_Zoom(p.x(), p.y());
        return;
    }
    if (clickDown_) {
        clickDown_ = false;
        Picture1_Click(p.x(), p.y());
    }
}

void SubSetWindow::Finish_Zoom(double x, double y) {
    ContourChart& chart = charts_.Contour;
    ZoomState& zoom = chart.Zoom;
    if (zoom.BoxShown) Toggle_Zoom_Box(picture1_, zoom);
    zoom.ZoomDragging = false;
    const ChartDataIndex cell = Get_Chart3d_DataIndex(chart, picture1_, x, y);
    zoom.ReleaseEnsemble = cell.EnsembleIndex;
    zoom.ReleaseRow = cell.BinRow;
    const ChartDataIndex press{zoom.PressEnsemble, zoom.PressRow, true};
    ZoomRange range;
    if (Zoom_Range(chart, press, cell, range)) {
        app_.Pointer.Set(PointerShape::Hourglass);
        CoreState& core = app_.Core;
        if (Read_File_Selection(core, range.FirstEnsemble, range.LastEnsemble, true)) {
            core.Set.FirstBinShown = range.FirstBin;
            core.Set.LastBinShown = range.LastBin;
            Init_Charts(chart.DataType);
            if (main_.Hooks().Move_Scrollers) main_.Hooks().Move_Scrollers();
        }
    }
    app_.Pointer.Set(PointerShape::Default);
    pic1_->update();
}

void SubSetWindow::Picture1_Click(double x, double y) {
    if (!built_) return;
    CoreState& core = app_.Core;
    const ContourChart& chart = charts_.Contour;
    const ContourClick click = Contour_Click(chart, picture1_, x, y);
    const bool locators = core.Opts.ShowLocators;
    if (click.ProfileChanged) {
        if (locators) Toggle_Profile_Line(chart, picture1_, core.Set.ProfileEnsNumber);
        core.Set.ProfileEnsNumber = click.ProfileEnsNumber;
        if (locators) Toggle_Profile_Line(chart, picture1_, core.Set.ProfileEnsNumber);
        Show_Profile();
    }
    if (click.SeriesChanged) {
        auto& bins = core.Opts.SeriesBinSelect;
        if (locators) Toggle_Series_Line(chart, picture1_, bins);
        bins[static_cast<size_t>(click.Bin)] = !bins[static_cast<size_t>(click.Bin)];
        if (locators) Toggle_Series_Line(chart, picture1_, bins);
        // The options dialog's bin list follows the selection.
        if (main_.Hooks().Options_ForceLoad) main_.Hooks().Options_ForceLoad(false);
        Show_Series();
    }
    pic1_->update();
}

bool SubSetWindow::Splitter_MouseDown(QWidget* picture, QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !built_) return false;
    const QPointF p = e->position();
    if (picture == pic5_ && p.x() >= pic5_->width() - 3) {
        splitter_ = Splitter::Profile;
        splitterLine_->setGeometry(pic5_->x() + RoundToInt32(p.x()) - 1, 0, 2, client_->height());
    } else if (picture == pic4_ && p.y() < 3) {
        splitter_ = Splitter::Series;
        splitterLine_->setGeometry(0, pic4_->y() + RoundToInt32(p.y()) - 1, client_->width(), 2);
    } else {
        return false;
    }
    splitterLine_->show();
    splitterLine_->raise();
    return true;
}

void SubSetWindow::Splitter_MouseMove(QMouseEvent* e) {
    const QPointF p = e->position();
    if (splitter_ == Splitter::Profile)
        splitterLine_->move(pic5_->x() + RoundToInt32(p.x()) - 1, 0);
    else
        splitterLine_->move(0, pic4_->y() + RoundToInt32(p.y()) - 1);
}

void SubSetWindow::Splitter_MouseUp(QMouseEvent* e) {
    const QPointF p = e->position();
    Options& opts = app_.Core.Opts;
    const double width = std::max(client_->width(), 1), height = std::max(client_->height(), 1);
    if (splitter_ == Splitter::Profile) {
        opts.ProfileWidthShare = std::clamp((pic5_->x() + p.x()) / width, 0.0, 1.0);
    } else {
        const double share = (pic4_->y() + p.y()) / height;
        opts.ContourHeightShare = std::clamp(share, 0.0, std::max(0.0, (height - 3) / height));
    }
    splitter_ = Splitter::None;
    splitterLine_->hide();
    Resize_Chart3d();
}

void SubSetWindow::Form_KeyDown(QKeyEvent* e) {
    main_.Stop_Animate();
    if (keyBusy_) return;
    keyBusy_ = true;
    CoreState& core = app_.Core;
    ContourChart& chart = charts_.Contour;
    const bool locators = core.Opts.ShowLocators;
    switch (e->key()) {
    case Qt::Key_Space:
        chart.Zoom.ZoomArmed = true;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        if (!built_) break;
        const int32_t next =
            Step_Profile_Ensemble(core.Set.ProfileEnsNumber, e->key() == Qt::Key_Left ? -1 : 1,
                                  core.Set.FirstEnsNumber, core.Set.LastEnsNumber, chart.Axes.ColumnNumbers);
        if (next == core.Set.ProfileEnsNumber) break;
        if (locators) Toggle_Profile_Line(chart, picture1_, core.Set.ProfileEnsNumber);
        core.Set.ProfileEnsNumber = next;
        if (locators) Toggle_Profile_Line(chart, picture1_, next);
        Show_Profile();
        pic1_->update();
        break;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (!built_) break;
        auto& bins = core.Opts.SeriesBinSelect;
        std::array<bool, 256> moved = bins;
        if (!Shift_Series_Bins(moved, e->key() == Qt::Key_Up ? 1 : -1, chart.Axes.FirstBinShown,
                               chart.Axes.LastBinShown))
            break;
        if (locators) Toggle_Series_Line(chart, picture1_, bins);
        bins = moved;
        if (locators) Toggle_Series_Line(chart, picture1_, bins);
        Show_Series();
        pic1_->update();
        break;
    }
    default:
        break;
    }
    keyBusy_ = false;
}

void SubSetWindow::Form_KeyUp(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) charts_.Contour.Zoom.ZoomArmed = false;
}

} // namespace mvx
