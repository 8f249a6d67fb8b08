// Mouse and keys of the whole-set window: the box dragged after the space key selects a new sub set, the
// arrow keys move the sub set by one ensemble and the bins shown by one bin.
#include "app/WholeSetWindow.h"

#include "app/MainWindow.h"
#include "charts/ContourMouse.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace mvx {

void WholeSetWindow::Picture1_MouseDown(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !drag_.ZoomArmed || !chart_.Built) return;
    chart_.Markers.Blinking = false;
    Hide_Markers(chart_, picture1_);
    const QPointF p = e->position();
    Start_Zoom_Box(drag_, Get_Chart3d_DataIndex(chart_.Contour, picture1_, p.x(), p.y()), p.x(), p.y());
    app_.Pointer.Set(PointerShape::Cross);
    pic1_->update();
}

void WholeSetWindow::Picture1_MouseMove(QMouseEvent* e) {
    if (!drag_.ZoomDragging || !(e->buttons() & Qt::LeftButton)) return;
    Move_Zoom_Box(picture1_, drag_, e->position().x(), e->position().y());
    pic1_->update();
}

void WholeSetWindow::Picture1_MouseUp(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !drag_.ZoomDragging) return;
    if (drag_.BoxShown) Toggle_Zoom_Box(picture1_, drag_);
    drag_.ZoomDragging = false;
    const QPointF p = e->position();
    const ChartDataIndex release = Get_Chart3d_DataIndex(chart_.Contour, picture1_, p.x(), p.y());
    const ChartDataIndex press{drag_.PressEnsemble, drag_.PressRow, true};
    DragSelection selection;
    CoreState& core = app_.Core;
    if (Drag_Box_Selection(chart_, press, release, selection)) {
        SetDescriptors& set = core.Set;
        const int32_t oldFirstBin = set.FirstBinShown, oldLastBin = set.LastBinShown;
        set.FirstBinShown = selection.Bins.First;
        set.LastBinShown = selection.Bins.Last;
        set.SelFirstEns = selection.Ensembles.First;
        set.SelLastEns = selection.Ensembles.Last;
        Display_Footer();
        if (!Load_Sub_Set(selection.Ensembles.First, selection.Ensembles.Last)) {
            // The old sub set stays, with its bins.
            set.FirstBinShown = oldFirstBin;
            set.LastBinShown = oldLastBin;
            Show_Selected_Data_Location();
        }
    }
    chart_.Markers.Blinking = true;
    app_.Pointer.Set(PointerShape::Default);
    pic1_->update();
}

void WholeSetWindow::Form_KeyDown(QKeyEvent* e) {
    if (keyBusy_) return;
    keyBusy_ = true;
    CoreState& core = app_.Core;
    const int32_t cells = core.Setup.NumCells;
    switch (e->key()) {
    case Qt::Key_Space:
        drag_.ZoomArmed = true;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        EnsembleSpan range;
        if (core.Set.FileValid && !main_.Busy() &&
            Shift_Sub_Set(core.Set, e->key() == Qt::Key_Right ? 1 : -1, range))
            Load_Sub_Set(range.First, range.Last);
        break;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
        BinRange bins;
        if (core.Set.FileValid && !main_.Busy() &&
            Shift_Bins_Shown(core.Set, cells, e->key() == Qt::Key_Up ? 1 : -1, bins)) {
            core.Set.FirstBinShown = bins.First;
            core.Set.LastBinShown = bins.Last;
            Init_SubSet();
            Move_Scrollers();
        }
        break;
    }
    default:
        break;
    }
    keyBusy_ = false;
}

void WholeSetWindow::Form_KeyUp(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) drag_.ZoomArmed = false;
}

bool WholeSetWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == client_ && chart_.Built) Resize_Chart3d();
        break;
    case QEvent::KeyPress:
        Form_KeyDown(static_cast<QKeyEvent*>(event));
        return true;
    case QEvent::KeyRelease:
        Form_KeyUp(static_cast<QKeyEvent*>(event));
        return true;
    case QEvent::MouseButtonPress:
        if (watched == pic1_) {
            client_->setFocus();
            Picture1_MouseDown(static_cast<QMouseEvent*>(event));
            return true;
        }
        break;
    case QEvent::MouseMove:
        if (watched == pic1_) {
            Picture1_MouseMove(static_cast<QMouseEvent*>(event));
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == pic1_) {
            Picture1_MouseUp(static_cast<QMouseEvent*>(event));
            return true;
        }
        break;
    default:
        break;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

} // namespace mvx
