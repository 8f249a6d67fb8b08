#include "app/TrendWindow.h"

#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMouseEvent>
#include <QSlider>
#include <QVBoxLayout>

namespace mvx {

namespace {
constexpr int kMaxPasses = 50;
}

TrendWindow::TrendWindow(AppContext& app, MainWindow& main) : app_(app), main_(main) {
    setObjectName("TrendWindow");
    setWindowTitle("Series Trend and Residuals");
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* client = new QWidget;
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    picture1_.SetFont("Courier New", 8, false);
    pic1_ = new SurfacePicture(picture1_, client);
    pic1_->setObjectName("Picture1");
    pic1_->installEventFilter(this);
    pic1_->setMinimumSize(1, 1);
    pic1_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    layout->addWidget(pic1_, 1);
    slider1_ = new QSlider(Qt::Horizontal, client);
    slider1_->setObjectName("Slider1");
    slider1_->setRange(0, kMaxPasses);
    slider1_->setToolTip("Smoothing passes");
    layout->addWidget(slider1_);
    setWidget(client);
    resize(640, 560);

    app_.Core.Series.TrendPasses = std::clamp(app_.Core.Series.TrendPasses, 0, kMaxPasses);
    slider1_->setValue(app_.Core.Series.TrendPasses);
    connect(slider1_, &QSlider::valueChanged, this, &TrendWindow::Slider1_Change);
    timer1_.setInterval(500);
    connect(&timer1_, &QTimer::timeout, this, &TrendWindow::Timer1_Timer);
    timer1_.start();
    initialised_ = true;

    if (main_.Area()) main_.Area()->addSubWindow(this);
    hide();
    main_.Hooks().Show_Stat_Data = [this] { Show_Stat_Data(); };
    main_.Hooks().Update_Stat_Data = [this] {
        if (!isHidden()) Show_Stat_Data();
    };
    main_.Update_Menus();
}

void TrendWindow::Show_Stat_Data() {
    CoreState& core = app_.Core;
    if (!core.Set.FileValid) return;
    if (isHidden()) {
        show();
        raise();
    }
    const QSize size = pic1_->size();
    picture1_.Resize(std::max(size.width(), 1), std::max(size.height(), 1));
    mvx::Show_Stat_Data(chart_, core, picture1_);
    pic1_->update();
}

void TrendWindow::Label1_Click() {
    Candles& c = app_.Core.Series;
    if (c.CandleCount <= 0) return;
    const std::string answer =
        app_.Ui.InputBox("Enter Candle Number from 1 to " + std::to_string(c.CandleCount),
                         "Trend Candle Selection", std::to_string(c.SelectedCandle + 1));
    const std::optional<int32_t> candle = Candle_Entry(answer, c.CandleCount);
    if (!candle) return;
    c.SelectedCandle = *candle;
    Show_Stat_Data();
    // The series chart marks the selected candle.
    if (main_.Hooks().Force_Statistics_Display) main_.Hooks().Force_Statistics_Display();
}

void TrendWindow::Picture1_Click(double y) {
    if (Pick_Table_Line(app_.Core.Series, Trend_Table_Line(chart_, y))) Show_Stat_Data();
}

void TrendWindow::Slider1_Change(int value) {
    app_.Core.Series.TrendPasses = value;
    if (app_.Core.Set.FileValid && initialised_ && !isHidden()) Show_Stat_Data();
}

void TrendWindow::Timer1_Timer() {
    if (isHidden() || !chart_.Drawn) return;
    blinkGrey_ = !blinkGrey_;
    Draw_Trend_Blink(chart_, picture1_, blinkGrey_ ? kBlinkGrey : kBlack);
    pic1_->update();
}

bool TrendWindow::eventFilter(QObject* watched, QEvent* event) {
    // The picture is redrawn at the size the layout gave it.
    if (watched == pic1_ && event->type() == QEvent::Resize && !isHidden()) {
        if (!isMinimized() && app_.Core.Set.FileValid) Show_Stat_Data();
        return false;
    }
    if (watched == pic1_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* e = static_cast<QMouseEvent*>(event);
        const double x = e->position().x(), y = e->position().y();
        if (e->button() == Qt::LeftButton) {
            if (On_Candle_Label(chart_, x, y))
                Label1_Click();
            else
                Picture1_Click(y);
        }
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void TrendWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

} // namespace mvx
