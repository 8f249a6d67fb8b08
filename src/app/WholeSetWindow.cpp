#include "app/WholeSetWindow.h"

#include "app/MainWindow.h"
#include "common/Rounding.h"
#include "dataset/Loader.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace mvx {

namespace {

// The markers blink three ticks on, one off.
constexpr int kBlinkMs = 300;

} // namespace

WholeSetWindow::WholeSetWindow(AppContext& app, MainWindow& main) : app_(app), main_(main) {
    setObjectName("WholeSetWindow");
    setWindowTitle("Whole Set");
    setAttribute(Qt::WA_DeleteOnClose, false);

    client_ = New_Chart_Client("WholeSetWindowClient", this);

    for (QtSurface* s : {&picture1_, &picture2_}) {
        s->SetBackColor(kWhite);
        s->Clear();
    }
    picture1_.SetFont("Arial", 8, false);
    pic1_ = new SurfacePicture(picture1_, client_);
    pic1_->setObjectName("Picture1");
    pic1_->setMouseTracking(true);
    pic1_->installEventFilter(this);

    hScroll_ = new QScrollBar(Qt::Horizontal, client_);
    hScroll_->setObjectName("HScroll1");
    vScroll_ = new QScrollBar(Qt::Vertical, client_);
    vScroll_->setObjectName("VScroll1");
    for (QScrollBar* bar : {hScroll_, vScroll_}) {
        // A dragged thumb moves the set when it is let go, as a click on the bar does.
        bar->setTracking(false);
        bar->setRange(0, 32767);
        bar->setFocusPolicy(Qt::NoFocus);
    }
    connect(hScroll_, &QScrollBar::valueChanged, this, &WholeSetWindow::HScroll1_Change);
    connect(vScroll_, &QScrollBar::valueChanged, this, &WholeSetWindow::VScroll1_Change);
    setWidget(client_);

    timer1_.setInterval(kBlinkMs);
    connect(&timer1_, &QTimer::timeout, this, &WholeSetWindow::Timer1_Timer);

    if (app_.ColorTable[AboveScaleColor] == 0) Init_Color_Table(app_.ColorTable);
    WindowHooks& hooks = main_.Hooks();
    hooks.Init_WholeSet_Charts = [this](int32_t dataType) { Init_Charts(dataType); };
    hooks.Show_Selected_Data_Location = [this] { Show_Selected_Data_Location(); };
    hooks.Move_Scrollers = [this] { Move_Scrollers(); };
    hooks.WholeSet_Picture = [this] { return Picture(); };
    hooks.Fit_WholeSet_Form = [this] { Fit_Form(); };
    main_.Register_Window(ChildWindow::WholeSet, this);
}

void WholeSetWindow::Init_Charts(int32_t dataType) {
    CoreState& core = app_.Core;
    if (!core.Set.FileValid) return;
    if (main_.Window_Wanted(ChildWindow::WholeSet) && isHidden())
        main_.Show_Chart_Window(ChildWindow::WholeSet);
    client_->resize(contentsRect().size());
    const int bar = hScroll_->sizeHint().height();
    chart_.WindowWidth = std::max(client_->width() - bar, 1);
    chart_.WindowHeight = std::max(client_->height() - bar, 1);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        chart_.ScreenWidth = std::max(screen->geometry().width(), 1);
    WholeSetSurfaces surfaces = Surfaces();
    Init_Whole_Set_Chart(chart_, surfaces, core, app_.ColorTable, dataType);
    setWindowTitle(QString::fromLatin1(chart_.Contour.Caption.c_str()));
    chart_.Markers.Blinking = true;
    Show_Selected_Data_Location();
    Move_Scrollers();
    Place_Widgets();
    timer1_.start();
}

void WholeSetWindow::Resize_Chart3d() {
    const int bar = hScroll_->sizeHint().height();
    chart_.WindowWidth = std::max(client_->width() - bar, 1);
    chart_.WindowHeight = std::max(client_->height() - bar, 1);
    if (!chart_.Built || !app_.Core.Set.FileValid) return;
    WholeSetSurfaces surfaces = Surfaces();
    Resize_Whole_Set_Chart(chart_, surfaces, app_.Core, app_.ColorTable);
    Show_Selected_Data_Location();
    Place_Widgets();
}

void WholeSetWindow::Place_Widgets() {
    const int bar = hScroll_->sizeHint().height();
    const int width = picture1_.Width(), height = picture1_.Height();
    pic1_->setGeometry(0, 0, width, height);
    vScroll_->setGeometry(width, 0, bar, height);
    hScroll_->setGeometry(0, height, width, bar);
    pic1_->update();
}

void WholeSetWindow::Show_Selected_Data_Location() {
    if (!chart_.Built) return;
    mvx::Show_Selected_Data_Location(chart_, picture1_, app_.Core);
    // The bars' steps follow the sub set's length.
    Move_Scrollers();
    pic1_->update();
}

void WholeSetWindow::Display_Footer() {
    if (!chart_.Built) return;
    mvx::Display_Footer(chart_, picture1_, app_.Core);
    pic1_->update();
}

void WholeSetWindow::Move_Scrollers() {
    const CoreState& core = app_.Core;
    if (!core.Set.FileValid) return;
    mvx::Move_Scrollers(scrolls_, core.Set, core.Setup.NumCells);
    Apply_Scrolls();
}

void WholeSetWindow::Apply_Scrolls() {
    scrollGuard_ = true;
    const std::pair<QScrollBar*, const ScrollBarState*> bars[] = {{hScroll_, &scrolls_.H},
                                                                  {vScroll_, &scrolls_.V}};
    for (const auto& [bar, s] : bars) {
        bar->setRange(s->Min, s->Max);
        bar->setSingleStep(s->SmallChange);
        bar->setPageStep(s->LargeChange);
        bar->setValue(s->Value);
        bar->setEnabled(s->Enabled);
    }
    scrollGuard_ = false;
}

void WholeSetWindow::Fit_Form() {
    QMdiArea* area = mdiArea();
    if (area == nullptr) return;
    const QSize inner = area->viewport()->size();
    const int left = RoundToInt32(0.45 * inner.width());
    setGeometry(left, 0, std::max(inner.width() - left, 1), std::max(RoundToInt32(inner.height() / 3.0), 1));
}

QImage WholeSetWindow::Picture() const {
    if (!chart_.Built) return {};
    return picture1_.Image().copy();
}

void WholeSetWindow::Init_SubSet() {
    CoreState& core = app_.Core;
    if (main_.Hooks().Init_SubSet_Charts)
        main_.Hooks().Init_SubSet_Charts(core.Opts.ContourDataType);
    else
        Show_Selected_Data_Location();
}

bool WholeSetWindow::Load_Sub_Set(int32_t first, int32_t last) {
    CoreState& core = app_.Core;
    if (!core.Set.FileValid || loading_) return false;
    loading_ = true;
    chart_.Markers.Blinking = false;
    app_.Pointer.Set(PointerShape::Hourglass);
    const bool ok = Read_File_Selection(core, first, last, true).Loaded;
    if (ok) Init_SubSet();
    Move_Scrollers();
    app_.Pointer.Set(PointerShape::Default);
    chart_.Markers.Blinking = true;
    loading_ = false;
    return ok;
}

void WholeSetWindow::Set_HScroll(int32_t value) {
    scrollGuard_ = true;
    hScroll_->setValue(value);
    scrollGuard_ = false;
    HScroll1_Change(hScroll_->value());
}

void WholeSetWindow::HScroll1_Change(int value) {
    CoreState& core = app_.Core;
    if (scrollGuard_ || main_.Busy() || loading_ || !core.Set.FileValid) return;
    scrolls_.H.Value = value;
    const EnsembleSpan range = HScroll_Range(scrolls_.H, core.Set);
    const int32_t first = range.First, last = range.Last;
    hScroll_->setEnabled(false);
    if (first != core.Set.FirstEnsNumber) Load_Sub_Set(first, last);
    hScroll_->setEnabled(scrolls_.H.Enabled);
}

void WholeSetWindow::VScroll1_Change(int value) {
    CoreState& core = app_.Core;
    if (scrollGuard_ || main_.Busy() || loading_ || !core.Set.FileValid) return;
    scrolls_.V.Value = value;
    const BinRange bins = VScroll_Bins(scrolls_.V, core.Set, core.Setup.NumCells);
    if (bins.First != core.Set.FirstBinShown) {
        core.Set.FirstBinShown = bins.First;
        core.Set.LastBinShown = bins.Last;
        Init_SubSet();
    }
    Move_Scrollers();
}

void WholeSetWindow::Timer1_Timer() {
    if (!chart_.Built || isHidden()) return;
    Blink_Tick(chart_, picture1_, app_.Core.Opts.ShowLocators);
    pic1_->update();
}

void WholeSetWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

} // namespace mvx
