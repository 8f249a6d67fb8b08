#include "app/ReportEditorWindow.h"

#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace mvx {

namespace {

FileDialogSpec ReportDialog(const char* title) {
    return {title, "mvr", "Marevox Report (*.mvr)|*.mvr|All Files (*.*)|*.*", ""};
}

} // namespace

ReportEditorWindow::ReportEditorWindow(AppContext& app, MainWindow& main) : app_(app), main_(main) {
    setObjectName("ReportEditorWindow");
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* client = new QWidget;
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar(client);
    layout->setMenuBar(bar);
    picture_.SetFont("Arial", 10, false);
    pic_ = new SurfacePicture(picture_, client);
    pic_->setObjectName("Picture1");
    pic_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    pic_->installEventFilter(this);
    layout->addWidget(pic_, 1);
    setWidget(client);
    Build_Menus(bar);
    resize(800, 600);
    setWindowTitle(QString::fromLatin1(snapshot_.Caption.c_str()));

    if (main_.Area()) main_.Area()->addSubWindow(this);
    hide();
    main_.Hooks().Show_Report = [this] { Show_Report(); };
    main_.Update_Menus();
}

void ReportEditorWindow::Build_Menus(QMenuBar* bar) {
    ReportEditorMenu& m = menu_;
    QMenu* file = bar->addMenu("&File");
    auto item = [this](QMenu* menu, const char* name, const char* caption, auto fn) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, fn);
        return action;
    };
    m.Save_Data = item(file, "Save_Data", "&Save Edit File", [this] { Save_Data(); });
    m.Load_Data = item(file, "Load_Data", "Load Edit File", [this] { Load_Data(); });
    m.Load_Sub_Set = item(file, "Load_Sub_Set", "Load Sub Set", [this] { Load_Sub_Set(); });
    file->addSeparator();
    m.Close_It = item(file, "Close_It", "&Close", [this] { close(); });
    QMenu* captions = bar->addMenu("&Edit")->addMenu("&Captions");
    for (int k = 0; k < kReportCaptionCount; ++k)
        m.Captions.Items[static_cast<size_t>(k)] =
            item(captions, "Captions", kReportCaptionItems[static_cast<size_t>(k)],
                 [this, k] { Edit_Caption(static_cast<ReportCaption>(k)); });
}

void ReportEditorWindow::Show_Report() {
    show();
    raise();
    Load_Sub_Set();
}

void ReportEditorWindow::Load_Sub_Set() {
    const CoreState& core = app_.Core;
    std::string error;
    if (!core.Set.FileValid) return;
    if (!mvx::Load_Sub_Set(snapshot_, core.Data, core.Set, core.Opts, app_.Tables.ContourTypeNames,
                           app_.Tables.ReferenceNames, main_.windowTitle().toStdString(), error))
        app_.Ui.MessageBox(error, "Marevox");
    Redraw();
}

void ReportEditorWindow::Save_Data() {
    const std::string path = app_.Ui.SaveFileName(ReportDialog("Data Editor Save File"));
    if (path.empty()) return;
    std::string error;
    if (!mvx::Save_Data(snapshot_, path, error)) app_.Ui.MessageBox(error, "Marevox");
}

void ReportEditorWindow::Load_Data() {
    const std::string path = app_.Ui.OpenFileName(ReportDialog("Data Editor Load File"));
    if (path.empty()) return;
    std::string error;
    if (!mvx::Load_Data(path, snapshot_, error)) app_.Ui.MessageBox(error, "Marevox");
    if (isHidden()) show();
    Redraw();
}

void ReportEditorWindow::Edit_Caption(ReportCaption caption) {
    const std::string answer =
        app_.Ui.InputBox(Caption_Prompt(caption), kReportEditTitle, Caption_Text(snapshot_, caption));
    if (mvx::Edit_Caption(snapshot_, caption, answer)) Redraw();
}

void ReportEditorWindow::Redraw() {
    setWindowTitle(QString::fromLatin1(snapshot_.Caption.c_str()));
    const QSize size = pic_->size();
    picture_.Resize(std::max(size.width(), 1), std::max(size.height(), 1));
    Draw_Report(chart_, snapshot_, picture_, app_.ColorTable);
    pic_->update();
}

bool ReportEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    // The picture is redrawn at the size the layout gave it.
    if (watched == pic_ && event->type() == QEvent::Resize && !isHidden()) {
        if (!isMinimized()) Redraw();
        return false;
    }
    if (watched == pic_ && event->type() == QEvent::MouseButtonDblClick) {
        const auto* e = static_cast<QMouseEvent*>(event);
        Edit_Caption(Caption_At(chart_, e->position().x(), e->position().y()));
        return true;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void ReportEditorWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

} // namespace mvx
