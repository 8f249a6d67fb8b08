// The track vector window's menus: projection, units, time origin, font, animation and reference.
#include "app/MainWindow.h"
#include "app/TrackVectorWindow.h"

#include "charts/Navigator.h"
#include "dataset/Loader.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <optional>

namespace mvx {

namespace {

constexpr std::array<int, 8> kFontSizes{20, 15, 10, 8, 7, 6, 5, 4};

// Items of one control array in a menu, each running fn(index).
template <size_t N, typename Fn>
void AddArray(QMenu* menu, const char* name, const std::array<const char*, N>& captions,
              std::array<QAction*, N>& items, bool checkable, QObject* context, Fn fn) {
    for (size_t k = 0; k < N; ++k) {
        QAction* item = menu->addAction(captions[k]);
        item->setObjectName(name);
        item->setCheckable(checkable);
        items[k] = item;
        const int index = static_cast<int>(k);
        QObject::connect(item, &QAction::triggered, context, [fn, index] { fn(index); });
    }
}

template <size_t N> void CheckOne(std::array<QAction*, N>& items, int index) {
    for (size_t k = 0; k < N; ++k) items[k]->setChecked(static_cast<int>(k) == index);
}

} // namespace

void TrackVectorWindow::Build_Menus(QMenuBar* bar) {
    TrackVectorMenu& m = menu_;
    m.File = bar->addMenu("&File");
    m.Quit_Seismic = m.File->addAction("E&xit");
    m.Quit_Seismic->setObjectName("Quit_Seismic");
    connect(m.Quit_Seismic, &QAction::triggered, this, [this] { close(); });
    QMenu* projection = bar->addMenu("&Projection");
    AddArray<3>(projection, "Select_Auto", {"Bottom Track", "Navigation Track", "Manual"},
                m.Select_Auto.Items, true, this, [this](int k) { Select_Auto_Click(k); });
    QMenu* units = bar->addMenu("&Units");
    AddArray<3>(units, "Speed_Units", {"Knots", "Meters Per Second", "Centimeters Per Second"},
                m.Speed_Units.Items, true, this, [this](int k) { Speed_Units_Click(k); });
    units->addSeparator();
    AddArray<3>(units, "Depth_Units", {"Fathoms", "Meters", "Feet"}, m.Depth_Units.Items, true, this,
                [this](int k) { Depth_Units_Click(k); });
    QMenu* view = bar->addMenu("&View");
    m.LeftToRight = view->addAction("Time &Origin on Left");
    m.LeftToRight->setObjectName("LeftToRight");
    m.LeftToRight->setCheckable(true);
    connect(m.LeftToRight, &QAction::triggered, this, [this] { LeftToRight_Click(); });
    QMenu* font = view->addMenu("&Font Size");
    AddArray<8>(font, "Select_Font_Size", {"20", "15", "10", "8", "7", "6", "5", "4"},
                m.Select_Font_Size.Items, true, this, [this](int k) { Select_Font_Size_Click(k); });
    m.Select_Font_Bold = view->addAction("Bold");
    m.Select_Font_Bold->setObjectName("Select_Font_Bold");
    m.Select_Font_Bold->setCheckable(true);
    connect(m.Select_Font_Bold, &QAction::triggered, this, [this] { Select_Font_Bold_Click(); });
    m.Animate = bar->addMenu("&Animate");
    AddArray<3>(m.Animate, "Animate_Track", {"Go", "Stop", "Rewind"}, m.Animate_Track.Items, false, this,
                [this](int k) { Animate_Track_Click(k); });
    m.Animate_Track(0)->setCheckable(true);
    m.Select_Reference = bar->addAction("&Reference");
    m.Select_Reference->setObjectName("Select_Reference");
    connect(m.Select_Reference, &QAction::triggered, this, [this] {
        if (main_.Hooks().Show_Options) main_.Hooks().Show_Options(5);
    });
}

// The check marks follow the state; the options record keeps them for the next session.
void TrackVectorWindow::Show_Checks() {
    CheckOne(menu_.Select_Auto.Items, static_cast<int>(state_.Projection));
    CheckOne(menu_.Speed_Units.Items, state_.SpeedUnit);
    CheckOne(menu_.Depth_Units.Items, state_.DepthUnit);
    const auto size = std::find(kFontSizes.begin(), kFontSizes.end(), static_cast<int>(state_.FontSize));
    CheckOne(menu_.Select_Font_Size.Items, static_cast<int>(size - kFontSizes.begin()));
    menu_.LeftToRight->setChecked(state_.LeftToRight);
    menu_.Select_Font_Bold->setChecked(state_.FontBold);
    Store_Track_State(state_, app_.Core.Opts);
}

void TrackVectorWindow::Changed(bool rotate) {
    if (rotate) state_.RotateNeeded = true;
    Show_Checks();
    Show_Track_Vector_Data();
}

void TrackVectorWindow::Ask_Projection_Angle() {
    const TrackAnglePrompt p = Projection_Angle_Prompt(state_.ManualAngle);
    if (const std::optional<double> angle =
            Projection_Angle_Entry(app_.Ui.InputBox(p.Prompt, p.Title, p.Default)))
        state_.ManualAngle = *angle;
}

void TrackVectorWindow::Select_Auto_Click(int k) {
    if (k < 0 || k > 2) return;
    state_.Projection = static_cast<TrackProjection>(k);
    if (state_.Projection == TrackProjection::Manual) Ask_Projection_Angle();
    Changed(true);
}

void TrackVectorWindow::Speed_Units_Click(int k) {
    if (k < 0 || k > 2) return;
    state_.SpeedUnit = k;
    Changed(false);
}

void TrackVectorWindow::Depth_Units_Click(int k) {
    if (k < 0 || k > 2) return;
    state_.DepthUnit = k;
    Changed(false);
}

void TrackVectorWindow::LeftToRight_Click() {
    state_.LeftToRight = !state_.LeftToRight;
    Changed(false);
}

void TrackVectorWindow::Select_Font_Size_Click(int k) {
    if (k < 0 || k >= static_cast<int>(kFontSizes.size())) return;
    state_.FontSize = kFontSizes[static_cast<size_t>(k)];
    Changed(false);
}

void TrackVectorWindow::Select_Font_Bold_Click() {
    state_.FontBold = !state_.FontBold;
    Changed(false);
}

void TrackVectorWindow::Disable_Menus(bool disable) {
    menu_.File->setEnabled(!disable);
    menu_.Animate->setEnabled(!disable);
}

// "Go" steps the loaded set one ensemble on until "Stop", the end of the file or a failed load; "Rewind"
// goes back to the start of the file.
void TrackVectorWindow::Animate_Track_Click(int k) {
    CoreState& core = app_.Core;
    WindowHooks& hooks = main_.Hooks();
    if (k == 1) {
        stopAsked_ = true;
        menu_.Animate_Track(0)->setChecked(false);
        return;
    }
    if (!core.Set.FileValid || main_.Busy()) return;
    if (k == 2) {
        const int32_t first = core.Set.FileFirstEnsemble;
        Read_File_Selection(core, first, first + std::max(core.Opts.MaxSubEnsembles, 1) - 1, false);
        if (hooks.Init_SubSet_Charts) hooks.Init_SubSet_Charts(core.Opts.ContourDataType);
        Show_Track_Vector_Data();
        return;
    }
    if (animating_) return;
    animating_ = true;
    stopAsked_ = false;
    menu_.Animate_Track(0)->setChecked(true);
    // One step is the navigator's right arrow: an indexed file's sub set moves by one ensemble present.
    EnsembleSpan next;
    while (menu_.Animate_Track(0)->isChecked() && !stopAsked_ && core.Set.FileValid &&
           Shift_Sub_Set(core.Set, 1, next)) {
        // A request by number starts at the first ensemble of that number in the file: where numbers
        // repeat or reset, the step would land no further on, and the run ends rather than go round.
        const EnsembleIndex& index = core.Set.Index;
        if (!index.Empty() &&
            Entry_Of_Number(index, next.First) <= Entry_Of_Number(index, core.Set.FirstEnsNumber))
            break;
        if (!Read_File_Selection(core, next.First, next.Last, false)) break;
        core.Set.ProfileEnsNumber = core.Set.LastEnsNumber;
        Show_Track_Vector_Data();
        app_.Yield.Now();
    }
    menu_.Animate_Track(0)->setChecked(false);
    animating_ = false;
    if (hooks.Init_SubSet_Charts) hooks.Init_SubSet_Charts(core.Opts.ContourDataType);
}

} // namespace mvx
