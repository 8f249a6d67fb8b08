// Copying the charts: to the clipboard, and to the desktop's picture program.
#include "app/MainWindow.h"

#include "platform/Clipboard.h"

#include <QDir>
#include <QMdiSubWindow>
#include <QTemporaryFile>

namespace mvx {

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

std::string MainWindow::Nothing_To_Copy(int index) const {
    if (!app_.Core.Set.FileValid) return "Nothing to copy: no file is loaded.";
    const char* window = index == 0 ? "Whole Set" : "Sub Set";
    if (!Window(index == 0 ? ChildWindow::WholeSet : ChildWindow::SubSet))
        return std::string("Nothing to copy: there is no ") + window + " window.";
    return std::string("Nothing to copy: the ") + window + " window has no chart yet.";
}

void MainWindow::Copy_Form_Click(int index) {
    if (!PutClipboardImage(Copy_Picture(index))) app_.Ui.MessageBox(Nothing_To_Copy(index), "Marevox");
}

void MainWindow::Paint_Click(int index) {
    const QImage picture = Copy_Picture(index);
    if (!PutClipboardImage(picture)) {
        app_.Ui.MessageBox(Nothing_To_Copy(index), "Marevox");
        return;
    }
    // The picture program gets the same picture as a file of its own (a fresh name, so nothing already in
    // the temporary folder is overwritten). The file lives until the program ends, as the picture
    // program may still be reading it.
    auto file = std::make_unique<QTemporaryFile>(
        QDir(QDir::tempPath())
            .filePath(index == 0 ? "marevox_whole_set_XXXXXX.png" : "marevox_sub_set_XXXXXX.png"));
    bool started = false;
    if (file->open() && picture.save(file.get(), "PNG") && file->flush())
        started = app_.Shell.OpenDocument(file->fileName().toStdString());
    if (!started) {
        file.reset();
        app_.Ui.MessageBox("The picture program could not be started. The picture is on the clipboard.",
                           "Marevox");
        return;
    }
    pictures_.push_back(std::move(file));
}

} // namespace mvx
