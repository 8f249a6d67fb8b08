// The Window menu, the window-layout records, copying pictures, help and about.
#include "app/HelpWindow.h"
#include "app/InformationWindow.h"
#include "app/MainWindow.h"
#include "app/WindowLayouts.h"

#include "platform/Clipboard.h"
#include "platform/Twips.h"

#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryFile>

namespace mvx {

namespace {

// Shows a window in its normal state, or hides it.
void ShowOrHide(QWidget* window, bool show) {
    if (!window) return;
    if (show) {
        window->showNormal();
        window->raise();
    } else {
        window->hide();
    }
}

// Fit_Form on a window in normal state; a minimised one is restored for it and minimised again, a
// maximised one is left alone.
template <typename Fit> void AlignOne(QWidget* window, Fit fit) {
    if (!window || window->isMaximized()) return;
    const bool minimised = window->isMinimized();
    if (minimised) window->showNormal();
    fit();
    if (minimised) window->showMinimized();
}

} // namespace

void MainWindow::Show_Info_Click() {
    QAction* item = Item("Show_Info");
    item->setChecked(!item->isChecked());
    ShowOrHide(info_, item->isChecked());
}

void MainWindow::Show_Child(ChildWindow id, bool show) {
    ShowOrHide(Window(id), show);
}

void MainWindow::Show_Data_Set_Click(int index) {
    if (index != 1 && index != 2) return;
    QAction* item = Item("Show_Data_Set(" + std::to_string(index) + ")");
    item->setChecked(!item->isChecked());
    Show_Child(index == 1 ? ChildWindow::WholeSet : ChildWindow::SubSet, item->isChecked());
    Refresh_Windows();
}

void MainWindow::Show_Data_Viewer_Click() {
    QAction* item = Item("Show_Data_Viewer");
    item->setChecked(!item->isChecked());
    Show_Child(ChildWindow::Viewer, item->isChecked());
}

void MainWindow::Show_Seismic_Click() {
    QAction* item = Item("Show_Seismic");
    item->setChecked(!item->isChecked());
    Show_Child(ChildWindow::TrackVector, item->isChecked() && app_.Core.Set.FileValid);
}

void MainWindow::Align_Forms_Click() {
    AlignOne(info_, [this] { info_->Fit_Form(app_.Core.Set.StatsText); });
    AlignOne(Window(ChildWindow::SubSet), [this] {
        if (hooks_.Fit_SubSet_Form) hooks_.Fit_SubSet_Form();
    });
    AlignOne(Window(ChildWindow::WholeSet), [this] {
        if (hooks_.Fit_WholeSet_Form) hooks_.Fit_WholeSet_Form();
    });
}

QImage MainWindow::Grab_Child(ChildWindow id) const {
    QMdiSubWindow* window = Window(id);
    if (!window || !window->widget()) return {};
    return window->widget()->grab().toImage();
}

QImage MainWindow::Copy_Picture(int index) const {
    if (!app_.Core.Set.FileValid) return {};
    if (index == 0)
        return hooks_.WholeSet_Picture ? hooks_.WholeSet_Picture() : Grab_Child(ChildWindow::WholeSet);
    if (index == 1) return hooks_.SubSet_Picture ? hooks_.SubSet_Picture() : Grab_Child(ChildWindow::SubSet);
    return {};
}

void MainWindow::Copy_Form_Click(int index) {
    PutClipboardImage(Copy_Picture(index));
}

void MainWindow::Paint_Click(int index) {
    const QImage picture = Copy_Picture(index);
    if (!PutClipboardImage(picture)) return;
    // The picture program gets the same picture as a file of its own (a fresh name, so nothing already in
    // the temporary folder is overwritten); when none starts the clipboard still has it.
    QTemporaryFile file(
        QDir(QDir::tempPath())
            .filePath(index == 0 ? "marevox_whole_set_XXXXXX.png" : "marevox_sub_set_XXXXXX.png"));
    file.setAutoRemove(false);
    if (!file.open()) return;
    const bool saved = picture.save(&file, "PNG");
    file.close();
    if (saved) app_.Shell.OpenDocument(file.fileName().toStdString());
}

void MainWindow::Show_Help_Click() {
    if (!help_) help_ = new HelpWindow(this);
    help_->Show_Contents();
}

void MainWindow::Show_About_Click() {
    app_.Ui.MessageBox(std::string("Marevox\nVersion ") + MARVOX_VERSION +
                           "\n\nViewer and analysis of acoustic Doppler current profiler ensemble files.",
                       "About Marevox");
}

void MainWindow::Store_Window_Layout() {
    Options& opts = app_.Core.Opts;
    const double tpp = TwipsPerPixel(this);
    // A child is put in its normal state for the moment of reading; while another child is maximised
    // the area would maximise that one too and restore the other, so the states would be lost.
    const bool dontMaximise = area_->testOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    area_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    opts.Windows[kLayoutMain] = Read_Window_Layout(this, tpp);
    opts.Windows[kLayoutInformation] = Read_Window_Layout(info_, tpp);
    const std::pair<ChildWindow, int> children[] = {{ChildWindow::WholeSet, kLayoutWholeSet},
                                                    {ChildWindow::TrackVector, kLayoutTrackVector},
                                                    {ChildWindow::SubSet, kLayoutSubSet}};
    for (const auto& [id, index] : children) {
        if (QMdiSubWindow* w = Window(id))
            opts.Windows[static_cast<size_t>(index)] = Read_Window_Layout(w, tpp);
    }
    area_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, dontMaximise);
    opts.WindowMenuChecks[kMenuTrackVector] = Item("Show_Seismic")->isChecked();
    opts.WindowMenuChecks[kMenuInformation] = Item("Show_Info")->isChecked();
    opts.WindowMenuChecks[kMenuWholeSet] = Item("Show_Data_Set(1)")->isChecked();
    opts.WindowMenuChecks[kMenuSubSet] = Item("Show_Data_Set(2)")->isChecked();
    opts.WindowMenuChecks[kMenuViewer] = Item("Show_Data_Viewer")->isChecked();
}

void MainWindow::Apply_Window_Layout() {
    const Options& opts = app_.Core.Opts;
    const double tpp = TwipsPerPixel(this);
    mvx::Apply_Window_Layout(this, opts.Windows[kLayoutMain], tpp);
    mvx::Apply_Window_Layout(info_, opts.Windows[kLayoutInformation], tpp);
    const std::pair<ChildWindow, int> children[] = {{ChildWindow::WholeSet, kLayoutWholeSet},
                                                    {ChildWindow::TrackVector, kLayoutTrackVector},
                                                    {ChildWindow::SubSet, kLayoutSubSet}};
    for (const auto& [id, index] : children) {
        if (QMdiSubWindow* w = Window(id))
            mvx::Apply_Window_Layout(w, opts.Windows[static_cast<size_t>(index)], tpp);
    }
    Item("Show_Seismic")->setChecked(opts.WindowMenuChecks[kMenuTrackVector]);
    Item("Show_Info")->setChecked(opts.WindowMenuChecks[kMenuInformation]);
    Item("Show_Data_Set(1)")->setChecked(opts.WindowMenuChecks[kMenuWholeSet]);
    Item("Show_Data_Set(2)")->setChecked(opts.WindowMenuChecks[kMenuSubSet]);
    Item("Show_Data_Viewer")->setChecked(opts.WindowMenuChecks[kMenuViewer]);
    // The window of an unchecked item goes out of sight again.
    if (!opts.WindowMenuChecks[kMenuInformation]) info_->hide();
    const std::pair<ChildWindow, int> checks[] = {{ChildWindow::TrackVector, kMenuTrackVector},
                                                  {ChildWindow::WholeSet, kMenuWholeSet},
                                                  {ChildWindow::SubSet, kMenuSubSet}};
    for (const auto& [id, index] : checks) {
        if (QMdiSubWindow* w = Window(id); w && !opts.WindowMenuChecks[static_cast<size_t>(index)]) w->hide();
    }
}

} // namespace mvx
