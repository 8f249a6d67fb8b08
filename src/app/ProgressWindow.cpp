#include "app/ProgressWindow.h"

#include "common/Rounding.h"
#include "platform/Twips.h"

#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace mvx {

namespace {
constexpr double kHeightTwips = 1152;
constexpr double kWidthTwips = 3672;
} // namespace

QPoint Progress_Placement(const QRect& mainFrame, const QSize& own) {
    const int top = mainFrame.top() + mainFrame.height() - 2 * own.height();
    const int left = mainFrame.left() + (mainFrame.width() - own.width()) / 2;
    return QPoint(std::max(left, 0), std::max(top, 0));
}

ProgressWindow::ProgressWindow(QWidget* mainWindow) : QWidget(mainWindow, Qt::Tool), main_(mainWindow) {
    setWindowTitle("File Loading...");
    bar_ = new QProgressBar(this);
    bar_->setObjectName("ProgressBar1");
    bar_->setRange(0, 100);
    bar_->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    const double tpp = TwipsPerPixel(mainWindow);
    setFixedSize(TwipsToPixels(kWidthTwips, tpp), TwipsToPixels(kHeightTwips, tpp));
}

ProgressSink ProgressWindow::Sink() {
    ProgressSink sink;
    sink.Show = [this](const std::string& caption) { Show_Progress(caption); };
    sink.Value = [this](double value) {
        Set_Value(value);
        return true;
    };
    sink.Hide = [this] { Hide_Progress(); };
    return sink;
}

void ProgressWindow::Show_Progress(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
    bar_->setValue(0);
    if (main_) move(Progress_Placement(main_->frameGeometry(), frameGeometry().size()));
    ++shows_;
    show();
    raise();
}

void ProgressWindow::Set_Value(double value) {
    const int v = static_cast<int>(std::clamp<int64_t>(RoundToInt64(value, 0, 100), 0, 100));
    bar_->setValue(v);
}

void ProgressWindow::Hide_Progress() {
    bar_->setValue(0);
    hide();
}

} // namespace mvx
