#include "app/SubSetWindow.h"

#include "app/MainWindow.h"
#include "common/Rounding.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>

namespace mvx {

SubSetWindow::SubSetWindow(AppContext& app, MainWindow& main) : app_(app), main_(main) {
    setObjectName("SubSetWindow");
    setWindowTitle("Sub Set");
    setAttribute(Qt::WA_DeleteOnClose, false);

    client_ = new QWidget;
    client_->setObjectName("SubSetWindowClient");
    client_->setFocusPolicy(Qt::StrongFocus);
    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, Qt::white);
    client_->setPalette(palette);
    client_->setAutoFillBackground(true);
    client_->installEventFilter(this);

    // Every surface starts white with pixel coordinates; the contour's font is Arial 8.
    for (QtSurface* s : {&picture1_, &picture2_, &picture4_, &picture5_}) {
        s->SetBackColor(kWhite);
        s->Clear();
    }
    picture1_.SetFont("Arial", 8, false);
    pic5_ = new SurfacePicture(picture5_, client_);
    pic1_ = new SurfacePicture(picture1_, client_);
    pic4_ = new SurfacePicture(picture4_, client_);
    pic1_->setObjectName("Picture1");
    pic4_->setObjectName("Picture4");
    pic5_->setObjectName("Picture5");
    for (QWidget* w :
         {static_cast<QWidget*>(pic1_), static_cast<QWidget*>(pic4_), static_cast<QWidget*>(pic5_)})
        w->installEventFilter(this);

    splitterLine_ = new QWidget(client_);
    splitterLine_->setAutoFillBackground(true);
    QPalette linePalette = splitterLine_->palette();
    linePalette.setColor(QPalette::Window, Qt::black);
    splitterLine_->setPalette(linePalette);
    splitterLine_->hide();
    setWidget(client_);

    WindowHooks& hooks = main_.Hooks();
    // The main window builds the palette at start-up; a window made later still draws with a built one.
    if (app_.ColorTable[AboveScaleColor] == 0) Init_Color_Table(app_.ColorTable);
    hooks.Init_SubSet_Charts = [this](int32_t dataType) { Init_Charts(dataType); };
    hooks.SubSet_Picture = [this] { return Picture(); };
    hooks.Fit_SubSet_Form = [this] { Fit_Form(); };
    Install_Plot_Hooks();
    main_.Register_Window(ChildWindow::SubSet, this);
}

SubSetChartHooks SubSetWindow::Hooks_For_Build() {
    SubSetChartHooks hooks;
    hooks.Show_Selected_Data_Location = main_.Hooks().Show_Selected_Data_Location;
    hooks.Show_Profile_Data = chartHooks_.Show_Profile_Data;
    hooks.Show_Series_And_Ancillary_Data = chartHooks_.Show_Series_And_Ancillary_Data;
    return hooks;
}

void SubSetWindow::Init_Charts(int32_t dataType) {
    CoreState& core = app_.Core;
    if (!core.Set.FileValid) return;
    // A window the user maximised or minimised comes back in that state.
    if (main_.Window_Wanted(ChildWindow::SubSet) && isHidden()) main_.Show_Chart_Window(ChildWindow::SubSet);
    const QSize client = contentsRect().size();
    client_->resize(client);
    charts_.WindowWidth = std::max(client.width(), 1);
    charts_.WindowHeight = std::max(client.height(), 1);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        charts_.ScreenWidth = std::max(screen->geometry().width(), 1);
    SubSetSurfaces surfaces = Surfaces();
    mvx::Init_Charts(charts_, surfaces, core, app_.ColorTable, dataType, Hooks_For_Build());
    built_ = true;
    setWindowTitle(QString::fromLatin1(charts_.Contour.Caption.c_str()));
    Place_Pictures();
    Repaint_All();
}

void SubSetWindow::Resize_Chart3d() {
    charts_.WindowWidth = std::max(client_->width(), 1);
    charts_.WindowHeight = std::max(client_->height(), 1);
    if (!built_ || !app_.Core.Set.FileValid) return;
    SubSetSurfaces surfaces = Surfaces();
    mvx::Resize_Chart3d(charts_, surfaces, app_.Core, app_.ColorTable, Hooks_For_Build());
    Place_Pictures();
    Repaint_All();
}

void SubSetWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

void SubSetWindow::Fit_Form() {
    QMdiArea* area = mdiArea();
    if (area == nullptr) return;
    const QSize inner = area->viewport()->size();
    const int top = RoundToInt32(inner.height() / 3.0);
    setGeometry(0, top, inner.width(), std::max(inner.height() - top, 1));
}

QImage SubSetWindow::Picture() {
    if (!built_) return {};
    QtSurface composite;
    Compose_Sub_Set_Picture(charts_.Layout, Surfaces(), composite);
    return composite.Image().copy();
}

void SubSetWindow::Place_Pictures() {
    const SubSetLayout& l = charts_.Layout;
    auto place = [](QWidget* w, const SurfaceRect& r) {
        w->setGeometry(r.X, r.Y, r.Width, r.Height);
        w->setVisible(r.Width > 0 && r.Height > 0);
    };
    place(pic5_, l.Profile);
    place(pic1_, l.Contour);
    place(pic4_, l.Series);
}

void SubSetWindow::Repaint_All() {
    pic1_->update();
    pic4_->update();
    pic5_->update();
}

void SubSetWindow::Show_Profile() {
    if (chartHooks_.Show_Profile_Data)
        chartHooks_.Show_Profile_Data();
    else
        Draw_Profile_Frame(picture5_);
    pic5_->update();
}

void SubSetWindow::Show_Series() {
    if (chartHooks_.Show_Series_And_Ancillary_Data)
        chartHooks_.Show_Series_And_Ancillary_Data();
    else
        Draw_Series_Frame(picture4_);
    pic4_->update();
}

bool SubSetWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == client_ && built_ &&
            (client_->width() != charts_.WindowWidth || client_->height() != charts_.WindowHeight))
            Resize_Chart3d();
        break;
    case QEvent::KeyPress:
        Form_KeyDown(static_cast<QKeyEvent*>(event));
        return true;
    case QEvent::KeyRelease:
        Form_KeyUp(static_cast<QKeyEvent*>(event));
        return true;
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (Splitter_MouseDown(static_cast<QWidget*>(watched), e)) return true;
        if (watched == pic1_) {
            Picture1_MouseDown(e);
            return true;
        }
        if (watched == pic4_) {
            Picture4_MouseDown(e);
            return true;
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (splitter_ != Splitter::None) {
            Splitter_MouseMove(e);
            return true;
        }
        if (watched == pic1_) {
            Picture1_MouseMove(e);
            return true;
        }
        if (watched == pic4_) {
            Picture4_MouseMove(e);
            return true;
        }
        if (watched == pic5_) {
            Picture5_MouseMove(e);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (splitter_ != Splitter::None) {
            Splitter_MouseUp(e);
            return true;
        }
        if (watched == pic1_) {
            Picture1_MouseUp(e);
            return true;
        }
        if (watched == pic4_) {
            Picture4_MouseUp(e);
            return true;
        }
        if (watched == pic5_ && e->button() == Qt::RightButton) {
            if (app_.Core.Set.FileValid && main_.Hooks().Show_Options) main_.Hooks().Show_Options(2);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

} // namespace mvx
