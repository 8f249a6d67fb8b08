#include "app/ChartOptionsPages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace mvx {

namespace {

// A number box holds no more than a number needs.
constexpr int kBoxLength = 24;

const char* const kBeamCaptions[5] = {"Beam 1", "Beam 2", "Beam 3", "Beam 4", "Average"};
const char* const kVelocityCaptions[6] = {"East (u)", "North (v)", "Vertical (w)",
                                          "Error",    "Magnitude", "Direction"};
const char* const kPgCaptions[4] = {"PG1", "PG2", "PG3", "PG4"};
const char* const kStyleCaptions[4] = {"Lines", "Symbols", "Grid", ""};

QLineEdit* Box(const char* name, int index = -1) {
    auto* box = new QLineEdit;
    box->setObjectName(index < 0 ? QString(name) : QString("%1_%2").arg(name).arg(index));
    box->setMaxLength(kBoxLength);
    box->setMaximumWidth(90);
    return box;
}

template <typename Button> Button* Named(const QString& caption, const char* name, int index) {
    auto* b = new Button(caption);
    b->setObjectName(QString("%1_%2").arg(name).arg(index));
    return b;
}

// A frame of buttons stacked in one column, indexes first..first+count-1 of the array.
template <typename Button, size_t N>
QGroupBox* Column(const char* title, std::array<Button*, N>& items, const char* name, int first,
                  const char* const* captions, int count) {
    auto* frame = new QGroupBox(title);
    auto* layout = new QVBoxLayout(frame);
    layout->setSpacing(1);
    for (int k = 0; k < count; ++k) {
        items[static_cast<size_t>(first + k)] = Named<Button>(captions[k], name, first + k);
        layout->addWidget(items[static_cast<size_t>(first + k)]);
    }
    layout->addStretch();
    return frame;
}

// The per-bin data types shared by the three lists: echo, correlation, velocity (and percent good at
// pgFirst when it is not below the others).
template <typename Button, size_t N>
QHBoxLayout* DataTypeColumns(std::array<Button*, N>& items, const char* name) {
    auto* row = new QHBoxLayout;
    row->addWidget(Column("Echo Amplitude", items, name, 0, kBeamCaptions, 5));
    row->addWidget(Column("Correlation", items, name, 5, kBeamCaptions, 5));
    row->addWidget(Column("Velocity", items, name, 10, kVelocityCaptions, 6));
    return row;
}

// Minimum and maximum boxes, one row per quantity.
template <size_t N>
QGroupBox* ScaleGrid(const char* title, std::array<QLineEdit*, N>& boxes, const char* name,
                     const char* const* labels, int rows) {
    auto* frame = new QGroupBox(title);
    auto* grid = new QGridLayout(frame);
    grid->setVerticalSpacing(1);
    grid->addWidget(new QLabel("Min"), 0, 1);
    grid->addWidget(new QLabel("Max"), 0, 2);
    grid->setRowStretch(rows + 1, 1);
    for (int r = 0; r < rows; ++r) {
        grid->addWidget(new QLabel(labels[r]), r + 1, 0);
        for (int k = 0; k < 2; ++k) {
            boxes[static_cast<size_t>(2 * r + k)] = Box(name, 2 * r + k);
            grid->addWidget(boxes[static_cast<size_t>(2 * r + k)], r + 1, k + 1);
        }
    }
    return frame;
}

QWidget* ContourPage(ChartOptionsControls& c) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* types = new QGroupBox("Data Type");
    auto* typeRow = DataTypeColumns(c.Option2, "Option2");
    typeRow->addWidget(Column("Percent Good", c.Option2, "Option2", 16, kPgCaptions, 4));
    types->setLayout(typeRow);
    auto* group = new QButtonGroup(page);
    for (QRadioButton* b : c.Option2) group->addButton(b);
    layout->addWidget(types);

    auto* lower = new QHBoxLayout;
    const char* const scaleCaptions[5] = {"Manual", "Peak", "1 std", "2 std", "3 std"};
    QGroupBox* scale = Column("Scale", c.Option1, "Option1", 0, scaleCaptions, 5);
    auto* scaleGroup = new QButtonGroup(page);
    for (QRadioButton* b : c.Option1) scaleGroup->addButton(b);
    auto* userScale = new QGridLayout;
    for (int k = 0; k < 2; ++k) {
        c.Text1[static_cast<size_t>(k)] = Box("Text1", k);
        userScale->addWidget(new QLabel(k == 0 ? "Min" : "Max"), k, 0);
        userScale->addWidget(c.Text1[static_cast<size_t>(k)], k, 1);
    }
    static_cast<QVBoxLayout*>(scale->layout())->addLayout(userScale);
    lower->addWidget(scale);
    const char* const showCaptions[3] = {"Locators", "Grid", "BT Depth"};
    lower->addWidget(Column("Show", c.Check1, "Check1", 0, showCaptions, 3));

    auto* sets = new QGroupBox("Ensembles and Bins");
    auto* grid = new QGridLayout(sets);
    grid->addWidget(new QLabel("First"), 0, 1);
    grid->addWidget(new QLabel("Last"), 0, 2);
    grid->addWidget(new QLabel("Selected Set"), 1, 0);
    grid->addWidget(new QLabel("Sub Set Bins"), 2, 0);
    grid->addWidget(new QLabel("Sub Set Ensembles"), 3, 0);
    for (int k = 0; k < 2; ++k) {
        c.Text6[static_cast<size_t>(k)] = Box("Text6", k);
        grid->addWidget(c.Text6[static_cast<size_t>(k)], 1, k + 1);
    }
    for (int k = 0; k < 4; ++k) {
        c.Text7[static_cast<size_t>(k)] = Box("Text7", k);
        grid->addWidget(c.Text7[static_cast<size_t>(k)], 2 + k / 2, 1 + k % 2);
    }
    // The sub set's ensembles are shown, not read back.
    c.Text7[2]->setReadOnly(true);
    c.Text7[3]->setReadOnly(true);
    lower->addWidget(sets);
    layout->addLayout(lower);
    layout->addStretch();
    return page;
}

QWidget* ProfilePage(ChartOptionsControls& c) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* types = new QGroupBox("Data Type");
    auto* row = DataTypeColumns(c.Check2, "Check2");
    const char* const stats[3] = {"Average Error", "Standard Deviation", "Percent Good"};
    row->addWidget(Column("Statistics", c.Check2, "Check2", 16, stats, 3));
    row->addWidget(Column("Percent Good", c.Check2, "Check2", 19, kPgCaptions, 4));
    types->setLayout(row);
    layout->addWidget(types);

    auto* lower = new QHBoxLayout;
    lower->addWidget(Column("Style", c.Check3, "Check3", 0, kStyleCaptions, 3));
    const char* const classes[7] = {"Echo Intensity", "Correlation", "Velocity", "Magnitude",
                                    "Direction",      "Statistics",  "PGood"};
    lower->addWidget(ScaleGrid("Scales", c.Text2, "Text2", classes, 7));
    auto* ensemble = new QGroupBox("Ensemble");
    auto* ensembleLayout = new QVBoxLayout(ensemble);
    c.Text8 = Box("Text8");
    ensembleLayout->addWidget(c.Text8);
    ensembleLayout->addStretch();
    lower->addWidget(ensemble);
    layout->addLayout(lower);
    layout->addStretch();
    return page;
}

QWidget* SeriesPage(ChartOptionsControls& c) {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* types = new QGroupBox("Data Type");
    auto* row = DataTypeColumns(c.Check5, "Check5");
    row->addWidget(Column("Percent Good", c.Check5, "Check5", 16, kPgCaptions, 4));
    types->setLayout(row);
    left->addWidget(types);
    auto* refs = new QHBoxLayout;
    refs->addWidget(Column("Bottom Track", c.Check5, "Check5", 20, kVelocityCaptions, 6));
    refs->addWidget(Column("Water Mass", c.Check5, "Check5", 26, kVelocityCaptions, 6));
    const char* const nav[4] = {"East (u)", "North (v)", "Magnitude", "Direction"};
    refs->addWidget(Column("Navigation", c.Check5, "Check5", 32, nav, 4));
    const char* const style[4] = {"Combo", "Lines", "Symbols", "Grid"};
    refs->addWidget(Column("Style", c.Check4, "Check4", 0, style, 4));
    left->addLayout(refs);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    const char* const classes[5] = {"Echo Intensity", "Correlation", "Velocity", "Magnitude", "Direction"};
    right->addWidget(ScaleGrid("Scales", c.Text3, "Text3", classes, 5));
    auto* averaging = new QGroupBox("Averaging Interval");
    auto* avg = new QGridLayout(averaging);
    c.Option3[0] = Named<QRadioButton>("All", "Option3", 0);
    c.Option3[1] = Named<QRadioButton>("User", "Option3", 1);
    c.Text4 = Box("Text4");
    c.Text4->setMaximumWidth(160);
    c.Text4->setMinimumWidth(120);
    c.Text4->setText("0000:00:00.00");
    avg->addWidget(c.Option3[0], 0, 0);
    avg->addWidget(c.Option3[1], 0, 1);
    avg->addWidget(c.Text4, 1, 0, 1, 2);
    right->addWidget(averaging);
    auto* bins = new QGroupBox("Bins");
    auto* binLayout = new QVBoxLayout(bins);
    c.List1 = new QListWidget;
    c.List1->setObjectName("List1");
    c.List1->setSelectionMode(QAbstractItemView::MultiSelection);
    for (int m = 1; m <= kOptionsBinItems; ++m) c.List1->addItem(QString::number(m));
    binLayout->addWidget(c.List1);
    right->addWidget(bins, 1);
    layout->addLayout(right);
    return page;
}

QWidget* AncillaryPage(ChartOptionsControls& c) {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    const char* const types[8] = {"Pitch", "Roll",        "Heading", "Temperature",
                                  "Depth", "Orientation", "BIT",     "Battery"};
    left->addWidget(Column("Data Type", c.Check6, "Check6", 0, types, 8));
    left->addWidget(Column("Style", c.Check7, "Check7", 0, kStyleCaptions, 3));
    auto* density = new QGroupBox("Water Density");
    auto* densityLayout = new QHBoxLayout(density);
    c.Text9 = Box("Text9");
    densityLayout->addWidget(c.Text9);
    densityLayout->addWidget(new QLabel("Kg/m^3"));
    left->addWidget(density);
    left->addStretch();
    layout->addLayout(left);
    const char* const quantities[11] = {"Pitch",    "Roll",        "Heading",  "Temperature",
                                        "Depth",    "Orientation", "BIT",      "Battery",
                                        "Velocity", "Magnitude",   "Direction"};
    layout->addWidget(ScaleGrid("Scales", c.Text5, "Text5", quantities, 11));
    return page;
}

QWidget* ProcessingPage(ChartOptionsControls& c) {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* scale = new QGroupBox("Velocity Scale");
    auto* grid = new QGridLayout(scale);
    c.txtWaterScale = Box("txtWaterScale");
    c.txtBottomScale = Box("txtBottomScale");
    grid->addWidget(new QLabel("Water"), 0, 0);
    grid->addWidget(c.txtWaterScale, 0, 1);
    grid->addWidget(new QLabel("Bottom"), 1, 0);
    grid->addWidget(c.txtBottomScale, 1, 1);
    grid->setRowStretch(2, 1);
    layout->addWidget(scale);
    const char* const refs[6] = {"None",     "Bottom Track", "Navigation (QUARN)",
                                 "GPS(GGA)", "GPS(VTG)",     "Water Mass (BK <>1)"};
    layout->addWidget(Column("Velocity Reference", c.VelRef, "VelRef", 0, refs, 6));
    auto* refGroup = new QButtonGroup(page);
    for (QRadioButton* b : c.VelRef) refGroup->addButton(b);
    const char* const eop[5] = {"BT Depth", "RSSI Bump Detection", "Cos(BeamAngle)", "Cut 1 Bin",
                                "Cut 2 Bins"};
    layout->addWidget(Column("End of Profile", c.chkEoP, "chkEoP", 0, eop, 5));
    return page;
}

QPushButton* Button(const char* caption, const char* name) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

template <typename Control, size_t N> void SetChecks(std::array<Control*, N>& controls, const bool* values) {
    for (size_t k = 0; k < N; ++k) controls[k]->setChecked(values[k]);
}
template <typename Control, size_t N> void GetChecks(const std::array<Control*, N>& controls, bool* values) {
    for (size_t k = 0; k < N; ++k) values[k] = controls[k]->isChecked();
}
template <size_t N> void SetTexts(std::array<QLineEdit*, N>& boxes, const std::string* texts) {
    for (size_t k = 0; k < N; ++k) boxes[k]->setText(QString::fromStdString(texts[k]));
}
template <size_t N> void GetTexts(const std::array<QLineEdit*, N>& boxes, std::string* texts) {
    for (size_t k = 0; k < N; ++k) texts[k] = boxes[k]->text().toStdString();
}
template <size_t N> int CheckedIndex(const std::array<QRadioButton*, N>& buttons, int none) {
    for (size_t k = 0; k < N; ++k)
        if (buttons[k]->isChecked()) return static_cast<int>(k);
    return none;
}

} // namespace

void Build_Chart_Options(ChartOptionsControls& c, QWidget* dialog) {
    auto* layout = new QVBoxLayout(dialog);
    c.tbsOptions = new QTabWidget;
    c.tbsOptions->setObjectName("tbsOptions");
    c.tbsOptions->addTab(ContourPage(c), "Contour");
    c.tbsOptions->addTab(ProfilePage(c), "Profile");
    c.tbsOptions->addTab(SeriesPage(c), "Series");
    c.tbsOptions->addTab(AncillaryPage(c), "Ancillary");
    c.tbsOptions->addTab(ProcessingPage(c), "Processing");
    layout->addWidget(c.tbsOptions);
    auto* buttons = new QHBoxLayout;
    c.cmdOK = Button("OK", "cmdOK");
    c.cmdApply = Button("Apply", "cmdApply");
    c.cmdCancel = Button("Cancel", "cmdCancel");
    c.cmdDefault = Button("Default", "cmdDefault");
    c.cmdLoad = Button("Load", "cmdLoad");
    c.cmdSave = Button("Save", "cmdSave");
    for (QPushButton* b : {c.cmdOK, c.cmdApply, c.cmdCancel, c.cmdDefault, c.cmdLoad, c.cmdSave})
        buttons->addWidget(b);
    layout->addLayout(buttons);
}

void Set_Velocity_Captions(ChartOptionsControls& c, bool flowMeter) {
    const char* first = flowMeter ? "Prof #1" : "East(u)";
    const char* second = flowMeter ? "Prof #2" : "North(v)";
    c.Option2[10]->setText(first);
    c.Option2[11]->setText(second);
    c.Check2[10]->setText(first);
    c.Check2[11]->setText(second);
    c.Check5[10]->setText(first);
    c.Check5[11]->setText(second);
}

OptionsDialogFields Read_Controls(const ChartOptionsControls& c) {
    OptionsDialogFields f;
    f.ContourType = CheckedIndex(c.Option2, -1);
    f.ScaleMode = CheckedIndex(c.Option1, 4);
    GetTexts(c.Text1, f.UserScale.data());
    GetChecks(c.Check1, f.ContourChecks.data());
    GetTexts(c.Text6, f.SelectedSet.data());
    GetTexts(c.Text7, f.SubSet.data());
    GetChecks(c.Check2, f.ProfileTypes.data());
    GetChecks(c.Check3, f.ProfileStyle.data());
    GetTexts(c.Text2, f.ProfileScales.data());
    f.ProfileEnsemble = c.Text8->text().toStdString();
    GetChecks(c.Check4, f.SeriesStyle.data());
    GetChecks(c.Check5, f.SeriesTypes.data());
    GetTexts(c.Text3, f.SeriesScales.data());
    for (int m = 1; m <= kOptionsBinItems; ++m)
        f.SeriesBins[static_cast<size_t>(m)] = c.List1->item(m - 1)->isSelected();
    f.AverageAll = !c.Option3[1]->isChecked();
    f.AverageInterval = c.Text4->text().toStdString();
    GetChecks(c.Check6, f.AncTypes.data());
    GetChecks(c.Check7, f.AncStyle.data());
    GetTexts(c.Text5, f.AncScales.data());
    f.WaterDensity = c.Text9->text().toStdString();
    f.WaterScale = c.txtWaterScale->text().toStdString();
    f.BottomScale = c.txtBottomScale->text().toStdString();
    f.VelRef = CheckedIndex(c.VelRef, 0);
    GetChecks(c.chkEoP, f.EndOfProfile.data());
    return f;
}

void Write_Controls(const OptionsDialogFields& f, ChartOptionsControls& c) {
    if (f.ContourType >= 0 && f.ContourType < kContourTypeButtons)
        c.Option2[static_cast<size_t>(f.ContourType)]->setChecked(true);
    if (f.ScaleMode >= 0 && f.ScaleMode < 5) c.Option1[static_cast<size_t>(f.ScaleMode)]->setChecked(true);
    SetTexts(c.Text1, f.UserScale.data());
    SetChecks(c.Check1, f.ContourChecks.data());
    SetTexts(c.Text6, f.SelectedSet.data());
    SetTexts(c.Text7, f.SubSet.data());
    SetChecks(c.Check2, f.ProfileTypes.data());
    SetChecks(c.Check3, f.ProfileStyle.data());
    SetTexts(c.Text2, f.ProfileScales.data());
    c.Text8->setText(QString::fromStdString(f.ProfileEnsemble));
    SetChecks(c.Check4, f.SeriesStyle.data());
    SetChecks(c.Check5, f.SeriesTypes.data());
    SetTexts(c.Text3, f.SeriesScales.data());
    for (int m = 1; m <= kOptionsBinItems; ++m)
        c.List1->item(m - 1)->setSelected(f.SeriesBins[static_cast<size_t>(m)]);
    c.Option3[f.AverageAll ? 0 : 1]->setChecked(true);
    c.Text4->setText(QString::fromStdString(f.AverageInterval));
    SetChecks(c.Check6, f.AncTypes.data());
    SetChecks(c.Check7, f.AncStyle.data());
    SetTexts(c.Text5, f.AncScales.data());
    c.Text9->setText(QString::fromStdString(f.WaterDensity));
    c.txtWaterScale->setText(QString::fromStdString(f.WaterScale));
    c.txtBottomScale->setText(QString::fromStdString(f.BottomScale));
    if (f.VelRef >= 0 && f.VelRef < 6) c.VelRef[static_cast<size_t>(f.VelRef)]->setChecked(true);
    SetChecks(c.chkEoP, f.EndOfProfile.data());
}

} // namespace mvx
