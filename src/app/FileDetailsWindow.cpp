#include "app/FileDetailsWindow.h"

#include "app/AppIcon.h"
#include "app/FileFilters.h"
#include "app/MainWindow.h"
#include "app/TextBox.h"

#include "common/InputFile.h"
#include "dataset/DecodeState.h"
#include "ensemble/FileDetails.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPointer>

namespace mvx {

namespace {

struct StatisticLabel {
    const char* Name;
    const char* Caption;
};
constexpr StatisticLabel kLabels[FileDetailsWindow::kStatistics] = {
    {"FirEns", "First"},   {"LasEns", "Last"},   {"MisEns", "Missing"},
    {"RepEns", "Repeats"}, {"ResEns", "Resets"}, {"OthEns", "Wrong Size"}};

// Asks the scan to stop when the main window closes: a closing main window is hidden first (minimising
// it leaves it shown). A sub-window puts its own filter on the main window only while it is shown, so
// this one is a separate object.
class MainWindowWatch : public QObject {
  public:
    // Owned by the window whose flag it sets.
    MainWindowWatch(QWidget* main, QObject* owner, bool& stop) : QObject(owner), main_(main), stop_(stop) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == main_ && event->type() == QEvent::Hide && main_->isHidden()) stop_ = true;
        return false;
    }

  private:
    QWidget* main_;
    bool& stop_;
};

} // namespace

FileDetailsWindow::FileDetailsWindow(AppContext& app, MainWindow& main) : app_(app), main_(main) {
    setObjectName("FileDetailsWindow");
    setWindowTitle("Marevox File Details");
    setWindowIcon(App_Icon());
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* client = new QWidget;
    auto* layout = new QHBoxLayout(client);
    text1_ = New_Text_Box(client, "Text1");
    layout->addWidget(text1_, 1);

    frame_ = new QGroupBox("Ensemble Statistics", client);
    frame_->setObjectName("Frame1");
    auto* grid = new QGridLayout(frame_);
    for (int k = 0; k < kStatistics; ++k) {
        grid->addWidget(new QLabel(kLabels[k].Caption, frame_), k, 0);
        QLabel* value = new QLabel("0", frame_);
        value->setObjectName(kLabels[k].Name);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance("88888888"));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(value, k, 1);
        values_[static_cast<size_t>(k)] = value;
    }
    grid->setRowStretch(kStatistics, 1);
    layout->addWidget(frame_, 0);
    setWidget(client);
    // Wide enough for the report's longest lines (90 characters), 40 lines high.
    const QFontMetrics metrics(text1_->font());
    resize(90 * metrics.horizontalAdvance('W') + frame_->sizeHint().width() + 60, 40 * metrics.lineSpacing());

    main_.Area()->addSubWindow(this);
    hide();
    // Closing the program stops a scan that is running.
    main_.installEventFilter(new MainWindowWatch(&main_, this, stop_));
    main_.Hooks().Show_Details = [window = QPointer<FileDetailsWindow>(this)] {
        if (window) window->Show_Details(window->app_.Core.Set.FileName);
    };
    main_.Update_Menus();
}

QLabel* FileDetailsWindow::Statistic(int index) const {
    return index >= 0 && index < kStatistics ? values_[static_cast<size_t>(index)] : nullptr;
}

void FileDetailsWindow::Show_Details(const std::string& fileName) {
    if (scanning_) {
        showNormal();
        raise();
        return;
    }
    // Kept apart from the window: the window may be gone when the scan returns.
    AppContext& app = app_;
    const PointerShape kept = app.Pointer.Shape();
    app.Pointer.Set(PointerShape::Hourglass);
    FileDialogSpec spec;
    spec.Title = "File Details";
    spec.Filter = kEnsembleFileFilter;
    spec.FileName = fileName;
    const std::string name = app.Ui.OpenFileName(spec);
    if (name.empty()) {
        app.Pointer.Set(kept);
        return;
    }
    showNormal();
    raise();
    for (QLabel* value : values_) value->setText("0");
    if (const std::string problem = InputProblem(name); !problem.empty()) {
        Set_Text("Invalid File\r\n" + name + ": " + problem + ".");
        app.Pointer.Set(kept);
        return;
    }
    Set_Text("");

    // The bottom-track set-up lines show the chosen file's own set-up.
    [[maybe_unused]] bool found = false;
    const InstrumentSetup setup = First_Ensemble_Setup(name, found);
    QPointer<FileDetailsWindow> alive(this);
    scanning_ = true;
    stop_ = false;
    FileDetailsResult result;
    bool textShown = false;
    // The report text is complete when the scan starts: it is shown then, and the counters as they
    // change.
    auto onStatistics = [this, alive, &result, &textShown](const EnsembleStatistics& s) {
        if (!alive) return;
        if (!textShown) Set_Text(result.Text);
        textShown = true;
        Show_Statistics(s);
    };
    ProgressSink progress;
    progress.Value = [this, alive](double) { return alive && !stop_; };
    Show_File_Details(name, setup, result, onStatistics, app.Core.Yield, progress);
    app.Pointer.Set(kept);
    // The window went away during the scan: nothing of it may be touched.
    if (!alive) return;
    scanning_ = false;
    if (result.Stopped) result.Text += "\r\nStatistics scan stopped";
    Set_Text(result.Text);
    Show_Statistics(result.Stats);
}

void FileDetailsWindow::Show_Statistics(const EnsembleStatistics& s) {
    const int32_t counts[kStatistics] = {s.First, s.Last, s.Missing, s.Repeats, s.Resets, s.WrongSize};
    for (int k = 0; k < kStatistics; ++k) {
        const QString text = QString::number(counts[k]);
        QLabel* value = values_[static_cast<size_t>(k)];
        if (value->text() != text) value->setText(text);
    }
}

void FileDetailsWindow::Set_Text(const std::string& text) {
    Set_Box_Text(text1_, text);
}

std::string FileDetailsWindow::Text() const {
    return Box_Text(text1_);
}

void FileDetailsWindow::closeEvent(QCloseEvent* event) {
    stop_ = true;
    event->ignore();
    hide();
}

} // namespace mvx
