#include "app/ChartOptionsDialog.h"

#include "app/DialogControls.h"
#include "app/MainWindow.h"
#include "common/OutputFile.h"
#include "options/OptionsFile.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>

#include <filesystem>

namespace mvx {

namespace {

constexpr const char* kCaption = "MAREVOX Chart Options";

// Whether a file holds data that a save would replace.
bool HoldsData(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec) &&
           (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) != 0 || ec);
}

FileDialogSpec OptionsFileSpec(const char* title) {
    FileDialogSpec spec;
    spec.Title = title;
    spec.DefaultExt = "txt";
    spec.Filter = "*.txt";
    return spec;
}

} // namespace

ChartOptionsDialog::ChartOptionsDialog(AppContext& app, MainWindow& main)
    : QWidget(&main, Qt::Window), app_(app), main_(main) {
    setObjectName("ChartOptionsDialog");
    setWindowTitle(kCaption);
    Build_Chart_Options(c_, this);
    connect(c_.cmdOK, &QPushButton::clicked, this, &ChartOptionsDialog::cmdOK_Click);
    connect(c_.cmdApply, &QPushButton::clicked, this, &ChartOptionsDialog::cmdApply_Click);
    connect(c_.cmdCancel, &QPushButton::clicked, this, &ChartOptionsDialog::cmdCancel_Click);
    connect(c_.cmdDefault, &QPushButton::clicked, this, &ChartOptionsDialog::cmdDefault_Click);
    connect(c_.cmdLoad, &QPushButton::clicked, this, &ChartOptionsDialog::cmdLoad_Click);
    connect(c_.cmdSave, &QPushButton::clicked, this, &ChartOptionsDialog::cmdSave_Click);
    Connect_Changes();
    hide();

    WindowHooks& hooks = main_.Hooks();
    hooks.Options_ForceLoad = [this](bool show) { ForceLoad(show); };
    hooks.Show_Options = [this](int tab) { Show_Options(tab); };
    hooks.Options_Enable = [this](bool enabled) { setEnabled(enabled); };
    main_.Update_Menus();
}

void ChartOptionsDialog::Connect_Changes() {
    auto changed = [this] { Control_Changed(); };
    for (QCheckBox* box : c_.Check1) connect(box, &QCheckBox::toggled, this, changed);
    for (QCheckBox* box : c_.Check2) connect(box, &QCheckBox::toggled, this, changed);
    for (QCheckBox* box : c_.Check3) connect(box, &QCheckBox::toggled, this, changed);
    for (QCheckBox* box : c_.Check4) connect(box, &QCheckBox::toggled, this, changed);
    for (QCheckBox* box : c_.Check5) connect(box, &QCheckBox::toggled, this, changed);
    for (QCheckBox* box : c_.Check6) connect(box, &QCheckBox::toggled, this, changed);
    for (QCheckBox* box : c_.Check7) connect(box, &QCheckBox::toggled, this, changed);
    for (QCheckBox* box : c_.chkEoP) connect(box, &QCheckBox::toggled, this, changed);
    for (QRadioButton* b : c_.Option1) connect(b, &QRadioButton::toggled, this, changed);
    for (QRadioButton* b : c_.Option2) connect(b, &QRadioButton::toggled, this, changed);
    for (QRadioButton* b : c_.Option3) connect(b, &QRadioButton::toggled, this, changed);
    for (QRadioButton* b : c_.VelRef) connect(b, &QRadioButton::toggled, this, changed);
    for (QLineEdit* box : c_.Text1) connect(box, &QLineEdit::textChanged, this, changed);
    for (QLineEdit* box : c_.Text2) connect(box, &QLineEdit::textChanged, this, changed);
    for (QLineEdit* box : c_.Text3) connect(box, &QLineEdit::textChanged, this, changed);
    for (QLineEdit* box : c_.Text5) connect(box, &QLineEdit::textChanged, this, changed);
    for (QLineEdit* box : c_.Text6) connect(box, &QLineEdit::textChanged, this, changed);
    for (QLineEdit* box : c_.Text7) connect(box, &QLineEdit::textChanged, this, changed);
    for (QLineEdit* box : {c_.Text4, c_.Text8, c_.Text9, c_.txtWaterScale, c_.txtBottomScale})
        connect(box, &QLineEdit::textChanged, this, changed);
    connect(c_.List1, &QListWidget::itemSelectionChanged, this, changed);
}

void ChartOptionsDialog::Control_Changed() {
    if (!filling_) Set_Buttons(true);
}

void ChartOptionsDialog::Set_Buttons(bool changed) {
    c_.cmdOK->setEnabled(changed);
    c_.cmdApply->setEnabled(changed);
    c_.cmdSave->setEnabled(!changed);
}

void ChartOptionsDialog::ForceLoad(bool show) {
    if (main_.Menu().AutoTrack->isChecked()) return;
    if (app_.Core.Set.FileValid) {
        if (OptionsTab < 1 || OptionsTab > 5) OptionsTab = 1;
        c_.tbsOptions->setCurrentIndex(OptionsTab - 1);
        Set_Velocity_Captions(c_, app_.Core.Setup.FlowMeterFirmware);
        Options_To_Dialog();
        Set_Buttons(false);
    }
    if (show) Show_Centred(this);
}

void ChartOptionsDialog::Show_Options(int tab) {
    OptionsTab = tab;
    ForceLoad(true);
}

void ChartOptionsDialog::Options_To_Dialog() {
    OptionsDialogFields fields;
    mvx::Options_To_Dialog(app_.Core.Opts, app_.Core.Set, app_.Core.Setup.NumCells, fields);
    filling_ = true;
    Write_Controls(fields, c_);
    filling_ = false;
}

void ChartOptionsDialog::Dialog_To_Options() {
    OptionsDialogFields fields = Read_Controls(c_);
    mvx::Dialog_To_Options(fields, app_.Core.Opts, app_.Core.Set, app_.Core.Setup.NumCells);
    filling_ = true;
    c_.Text4->setText(QString::fromStdString(fields.AverageInterval));
    filling_ = false;
}

bool ChartOptionsDialog::Processing_To_Options() {
    return mvx::Processing_To_Options(Read_Controls(c_), app_.Core.Opts);
}

void ChartOptionsDialog::Apply_Changes() {
    const bool reopen = Processing_To_Options();
    Dialog_To_Options();
    applying_ = true;
    // While the data set is reloaded the export dialog must not read it.
    const WindowHooks& hooks = main_.Hooks();
    if (hooks.Export_Enable) hooks.Export_Enable(false);
    if (reopen) {
        main_.RecentIndex = 1;
        main_.Open_File_Now();
    } else {
        main_.Show_Selected_Data(app_.Core.Opts.ContourDataType);
    }
    if (hooks.Export_Enable) hooks.Export_Enable(!main_.Menu().AutoTrack->isChecked());
    applying_ = false;
    Save_Options_To(main_.Options_Path());
}

void ChartOptionsDialog::Save_Options_To(const std::string& path) {
    main_.Store_Window_Layout();
    if (!Save_Options(app_.Core.Opts, path))
        app_.Ui.MessageBox("Cannot write the options file " + path, "Marevox");
}

void ChartOptionsDialog::cmdOK_Click() {
    // A load in progress owns the data set; the buttons wait for it.
    if (main_.Busy() || !isEnabled()) return;
    Apply_Changes();
    hide();
}

void ChartOptionsDialog::cmdApply_Click() {
    if (main_.Busy() || !isEnabled()) return;
    Set_Buttons(false);
    Apply_Changes();
    // The controls show what the record now holds (entries clamped, texts that were not numbers read as
    // 0), and the buttons say it is applied.
    Options_To_Dialog();
    Set_Buttons(false);
}

void ChartOptionsDialog::cmdCancel_Click() {
    hide();
}

void ChartOptionsDialog::Replace_Record(const std::function<void(Options&)>& fill) {
    Options& o = app_.Core.Opts;
    // The data set is dimensioned with the capacities: only "Max Ensembles" changes them.
    const int32_t sub = o.MaxSubEnsembles, whole = o.MaxWholeEnsembles;
    fill(o);
    o.MaxSubEnsembles = sub;
    o.MaxWholeEnsembles = whole;
    Options_To_Dialog();
    Set_Buttons(true);
}

void ChartOptionsDialog::cmdDefault_Click() {
    Replace_Record([this](Options& o) { Load_Default_Options(o, &app_.Tables); });
}

void ChartOptionsDialog::cmdLoad_Click() {
    const std::string name = app_.Ui.OpenFileName(OptionsFileSpec("Load Options"));
    if (!name.empty()) Replace_Record([&name](Options& o) { Load_Options(o, name); });
}

void ChartOptionsDialog::cmdSave_Click() {
    const std::string name = app_.Ui.SaveFileName(OptionsFileSpec("Save Options"));
    if (name.empty()) return;
    if (HoldsData(name)) {
        app_.Ui.MessageBox(std::string(kOverwriteNotAllowed), "Marevox");
        return;
    }
    Save_Options_To(name);
}

} // namespace mvx
