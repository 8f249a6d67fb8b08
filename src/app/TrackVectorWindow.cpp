#include "app/TrackVectorWindow.h"

#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolTip>
#include <QVBoxLayout>

namespace mvx {

TrackVectorWindow::TrackVectorWindow(AppContext& app, MainWindow& main) : app_(app), main_(main) {
    setObjectName("TrackVectorWindow");
    setWindowTitle("MAREVOX Track Vector Time Series");
    setAttribute(Qt::WA_DeleteOnClose, false);
    Track_State_From_Options(app_.Core.Opts, state_);

    client_ = new QWidget;
    auto* layout = new QVBoxLayout(client_);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar(client_);
    layout->setMenuBar(bar);
    area_ = new QWidget(client_);
    QPalette palette = area_->palette();
    palette.setColor(QPalette::Window, Qt::white);
    area_->setPalette(palette);
    area_->setAutoFillBackground(true);
    layout->addWidget(area_, 1);
    textPic_ = new SurfacePicture(text_, area_);
    upperPic_ = new SurfacePicture(upper_, area_);
    lowerPic_ = new SurfacePicture(lower_, area_);
    upperPic_->setObjectName("Picture1");
    lowerPic_->setObjectName("Picture2");
    for (QWidget* w : {static_cast<QWidget*>(upperPic_), static_cast<QWidget*>(lowerPic_), area_}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    setWidget(client_);
    resize(900, 600);
    Build_Menus(bar);
    Show_Checks();

    // A load anywhere (navigator, zoom, animation, export) marks the set; the window follows it.
    loadWatch_.setInterval(300);
    connect(&loadWatch_, &QTimer::timeout, this, [this] {
        if (!isHidden() && app_.Core.Set.RotateNeeded && !animating_) Show_Track_Vector_Data();
    });
    loadWatch_.start();

    WindowHooks& hooks = main_.Hooks();
    hooks.Set_RotateNeeded = [this] {
        state_.RotateNeeded = true;
        if (!isHidden() || main_.Window_Wanted(ChildWindow::TrackVector)) Show_Track_Vector_Data();
    };
    hooks.TrackVector_Disable_Menus = [this](bool disable) { Disable_Menus(disable); };
    auto stopOthers = hooks.Stop_Animate;
    hooks.Stop_Animate = [this, stopOthers] {
        stopAsked_ = true;
        if (stopOthers) stopOthers();
    };
    main_.Register_Window(ChildWindow::TrackVector, this);
}

void TrackVectorWindow::Place_Pictures() {
    const QSize size = area_->size();
    const int textWidth = std::min(Track_Text_Width(text_), std::max(size.width() / 2, 1));
    const int chartWidth = std::max(size.width() - textWidth, 1);
    const int upperHeight = std::max(size.height() / 2, 1);
    text_.Resize(textWidth, std::max(size.height(), 1));
    upper_.Resize(chartWidth, upperHeight);
    lower_.Resize(chartWidth, std::max(size.height() - upperHeight, 1));
    textPic_->setGeometry(0, 0, textWidth, text_.Height());
    upperPic_->setGeometry(textWidth, 0, chartWidth, upperHeight);
    lowerPic_->setGeometry(textWidth, upperHeight, chartWidth, lower_.Height());
}

void TrackVectorWindow::Show_Track_Vector_Data() {
    CoreState& core = app_.Core;
    if (!core.Set.FileValid || core.Set.CurrentEnsIndex < 1) return;
    // The first draw shows the window.
    if (isHidden()) main_.Show_Chart_Window(ChildWindow::TrackVector);
    text_.SetFont("Courier New", state_.FontSize, state_.FontBold);
    Place_Pictures();
    mvx::Show_Track_Vector_Data(chart_, state_, core, {text_, upper_, lower_});
    for (QWidget* w : {static_cast<QWidget*>(textPic_), static_cast<QWidget*>(upperPic_),
                       static_cast<QWidget*>(lowerPic_)})
        w->update();
}

std::string TrackVectorWindow::Do_Tool_Tip(bool upper, double x, double y) const {
    return mvx::Do_Tool_Tip(chart_, upper, state_, app_.Core, x, y);
}

bool TrackVectorWindow::eventFilter(QObject* watched, QEvent* event) {
    // The charts share out the area once its layout has given it its size.
    if (watched == area_ && event->type() == QEvent::Resize && !isHidden()) Show_Track_Vector_Data();
    const bool upper = watched == upperPic_;
    if ((upper || watched == lowerPic_) && event->type() == QEvent::MouseMove) {
        const auto* e = static_cast<QMouseEvent*>(event);
        const std::string tip = Do_Tool_Tip(upper, e->position().x(), e->position().y());
        if (tip.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(e->globalPosition().toPoint(), QString::fromLatin1(tip.c_str()),
                               static_cast<QWidget*>(watched));
    }
    // A double click opens the chart options on the series page.
    if (event->type() == QEvent::MouseButtonDblClick && main_.Hooks().Show_Options)
        main_.Hooks().Show_Options(3);
    return QMdiSubWindow::eventFilter(watched, event);
}

void TrackVectorWindow::closeEvent(QCloseEvent* event) {
    // Closing hides the window; its animation stops.
    stopAsked_ = true;
    event->ignore();
    hide();
}

} // namespace mvx
