#include "app/ChartOptionsPages.h"

#include "app/DialogControls.h"

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

const char* const kBeamCaptions[5] = {"Beam 1", "Beam 2", "Beam 3", "Beam 4", "Average"};
const char* const kVelocityCaptions[6] = {"East (u)", "North (v)", "Vertical (w)",
                                          "Error",    "Magnitude", "Direction"};
const char* const kPgCaptions[4] = {"PG1", "PG2", "PG3", "PG4"};
const char* const kStyleCaptions[4] = {"Lines", "Symbols", "Grid", ""};

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
            boxes[static_cast<size_t>(2 * r + k)] = Number_Box(name, 2 * r + k);
            grid->addWidget(boxes[static_cast<size_t>(2 * r + k)], r + 1, k + 1);
        }
    }
    return frame;
}

QWidget* ContourPage(ChartOptionsControls& c) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Data_Type_Frame("Data Type", c.Option2, "Option2", kBeamCaptions, kVelocityCaptions,
                                      {{"Percent Good", 16, kPgCaptions, 4}}));
    auto* group = new QButtonGroup(page);
    for (QRadioButton* b : c.Option2) group->addButton(b);

    auto* lower = new QHBoxLayout;
    const char* const scaleCaptions[5] = {"Manual", "Peak", "1 std", "2 std", "3 std"};
    QGroupBox* scale = Button_Column("Scale", c.Option1, "Option1", 0, scaleCaptions, 5);
    auto* scaleGroup = new QButtonGroup(page);
    for (QRadioButton* b : c.Option1) scaleGroup->addButton(b);
    auto* userScale = new QGridLayout;
    for (int k = 0; k < 2; ++k) {
        c.Text1[static_cast<size_t>(k)] = Number_Box("Text1", k);
        userScale->addWidget(new QLabel(k == 0 ? "Min" : "Max"), k, 0);
        userScale->addWidget(c.Text1[static_cast<size_t>(k)], k, 1);
    }
    static_cast<QVBoxLayout*>(scale->layout())->addLayout(userScale);
    lower->addWidget(scale);
    const char* const showCaptions[3] = {"Locators", "Grid", "BT Depth"};
    lower->addWidget(Button_Column("Show", c.Check1, "Check1", 0, showCaptions, 3));

    auto* sets = new QGroupBox("Ensembles and Bins");
    auto* grid = new QGridLayout(sets);
    grid->addWidget(new QLabel("First"), 0, 1);
    grid->addWidget(new QLabel("Last"), 0, 2);
    grid->addWidget(new QLabel("Selected Set"), 1, 0);
    grid->addWidget(new QLabel("Sub Set Bins"), 2, 0);
    grid->addWidget(new QLabel("Sub Set Ensembles"), 3, 0);
    for (int k = 0; k < 2; ++k) {
        c.Text6[static_cast<size_t>(k)] = Number_Box("Text6", k);
        grid->addWidget(c.Text6[static_cast<size_t>(k)], 1, k + 1);
    }
    for (int k = 0; k < 4; ++k) {
        c.Text7[static_cast<size_t>(k)] = Number_Box("Text7", k);
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
    const char* const stats[3] = {"Average Error", "Standard Deviation", "Percent Good"};
    layout->addWidget(Data_Type_Frame("Data Type", c.Check2, "Check2", kBeamCaptions, kVelocityCaptions,
                                      {{"Statistics", 16, stats, 3}, {"Percent Good", 19, kPgCaptions, 4}}));

    auto* lower = new QHBoxLayout;
    lower->addWidget(Button_Column("Style", c.Check3, "Check3", 0, kStyleCaptions, 3));
    const char* const classes[7] = {"Echo Intensity", "Correlation", "Velocity", "Magnitude",
                                    "Direction",      "Statistics",  "PGood"};
    lower->addWidget(ScaleGrid("Scales", c.Text2, "Text2", classes, 7));
    auto* ensemble = new QGroupBox("Ensemble");
    auto* ensembleLayout = new QVBoxLayout(ensemble);
    c.Text8 = Number_Box("Text8");
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
    left->addWidget(Data_Type_Frame("Data Type", c.Check5, "Check5", kBeamCaptions, kVelocityCaptions,
                                    {{"Percent Good", 16, kPgCaptions, 4}}));
    auto* refs = new QHBoxLayout;
    refs->addWidget(Button_Column("Bottom Track", c.Check5, "Check5", 20, kVelocityCaptions, 6));
    refs->addWidget(Button_Column("Water Mass", c.Check5, "Check5", 26, kVelocityCaptions, 6));
    const char* const nav[4] = {"East (u)", "North (v)", "Magnitude", "Direction"};
    refs->addWidget(Button_Column("Navigation", c.Check5, "Check5", 32, nav, 4));
    const char* const style[4] = {"Combo", "Lines", "Symbols", "Grid"};
    refs->addWidget(Button_Column("Style", c.Check4, "Check4", 0, style, 4));
    left->addLayout(refs);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    const char* const classes[5] = {"Echo Intensity", "Correlation", "Velocity", "Magnitude", "Direction"};
    right->addWidget(ScaleGrid("Scales", c.Text3, "Text3", classes, 5));
    auto* averaging = new QGroupBox("Averaging Interval");
    auto* avg = new QGridLayout(averaging);
    c.Option3[0] = Named_Control<QRadioButton>("All", "Option3", 0);
    c.Option3[1] = Named_Control<QRadioButton>("User", "Option3", 1);
    c.Text4 = Number_Box("Text4");
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
    left->addWidget(Button_Column("Data Type", c.Check6, "Check6", 0, types, 8));
    left->addWidget(Button_Column("Style", c.Check7, "Check7", 0, kStyleCaptions, 3));
    auto* density = new QGroupBox("Water Density");
    auto* densityLayout = new QHBoxLayout(density);
    c.Text9 = Number_Box("Text9");
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
    c.txtWaterScale = Number_Box("txtWaterScale");
    c.txtBottomScale = Number_Box("txtBottomScale");
    grid->addWidget(new QLabel("Water"), 0, 0);
    grid->addWidget(c.txtWaterScale, 0, 1);
    grid->addWidget(new QLabel("Bottom"), 1, 0);
    grid->addWidget(c.txtBottomScale, 1, 1);
    grid->setRowStretch(2, 1);
    layout->addWidget(scale);
    const char* const refs[6] = {"None",     "Bottom Track", "Navigation (QUARN)",
                                 "GPS(GGA)", "GPS(VTG)",     "Water Mass (BK <>1)"};
    layout->addWidget(Button_Column("Velocity Reference", c.VelRef, "VelRef", 0, refs, 6));
    auto* refGroup = new QButtonGroup(page);
    for (QRadioButton* b : c.VelRef) refGroup->addButton(b);
    const char* const eop[5] = {"BT Depth", "RSSI Bump Detection", "Cos(BeamAngle)", "Cut 1 Bin",
                                "Cut 2 Bins"};
    layout->addWidget(Button_Column("End of Profile", c.chkEoP, "chkEoP", 0, eop, 5));
    return page;
}

QPushButton* Push_Button(const char* caption, const char* name) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
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
    c.cmdOK = Push_Button("OK", "cmdOK");
    c.cmdApply = Push_Button("Apply", "cmdApply");
    c.cmdCancel = Push_Button("Cancel", "cmdCancel");
    c.cmdDefault = Push_Button("Default", "cmdDefault");
    c.cmdLoad = Push_Button("Load", "cmdLoad");
    c.cmdSave = Push_Button("Save", "cmdSave");
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
    Get_Texts(c.Text1, f.UserScale.data());
    Get_Checks(c.Check1, f.ContourChecks.data());
    Get_Texts(c.Text6, f.SelectedSet.data());
    Get_Texts(c.Text7, f.SubSet.data());
    Get_Checks(c.Check2, f.ProfileTypes.data());
    Get_Checks(c.Check3, f.ProfileStyle.data());
    Get_Texts(c.Text2, f.ProfileScales.data());
    f.ProfileEnsemble = c.Text8->text().toStdString();
    Get_Checks(c.Check4, f.SeriesStyle.data());
    Get_Checks(c.Check5, f.SeriesTypes.data());
    Get_Texts(c.Text3, f.SeriesScales.data());
    for (int m = 1; m <= kOptionsBinItems; ++m)
        f.SeriesBins[static_cast<size_t>(m)] = c.List1->item(m - 1)->isSelected();
    f.AverageAll = !c.Option3[1]->isChecked();
    f.AverageInterval = c.Text4->text().toStdString();
    Get_Checks(c.Check6, f.AncTypes.data());
    Get_Checks(c.Check7, f.AncStyle.data());
    Get_Texts(c.Text5, f.AncScales.data());
    f.WaterDensity = c.Text9->text().toStdString();
    f.WaterScale = c.txtWaterScale->text().toStdString();
    f.BottomScale = c.txtBottomScale->text().toStdString();
    f.VelRef = CheckedIndex(c.VelRef, 0);
    Get_Checks(c.chkEoP, f.EndOfProfile.data());
    return f;
}

void Write_Controls(const OptionsDialogFields& f, ChartOptionsControls& c) {
    if (f.ContourType >= 0 && f.ContourType < kContourTypeButtons)
        c.Option2[static_cast<size_t>(f.ContourType)]->setChecked(true);
    if (f.ScaleMode >= 0 && f.ScaleMode < 5) c.Option1[static_cast<size_t>(f.ScaleMode)]->setChecked(true);
    Set_Texts(c.Text1, f.UserScale.data());
    Set_Checks(c.Check1, f.ContourChecks.data());
    Set_Texts(c.Text6, f.SelectedSet.data());
    Set_Texts(c.Text7, f.SubSet.data());
    Set_Checks(c.Check2, f.ProfileTypes.data());
    Set_Checks(c.Check3, f.ProfileStyle.data());
    Set_Texts(c.Text2, f.ProfileScales.data());
    c.Text8->setText(QString::fromStdString(f.ProfileEnsemble));
    Set_Checks(c.Check4, f.SeriesStyle.data());
    Set_Checks(c.Check5, f.SeriesTypes.data());
    Set_Texts(c.Text3, f.SeriesScales.data());
    for (int m = 1; m <= kOptionsBinItems; ++m)
        c.List1->item(m - 1)->setSelected(f.SeriesBins[static_cast<size_t>(m)]);
    c.Option3[f.AverageAll ? 0 : 1]->setChecked(true);
    c.Text4->setText(QString::fromStdString(f.AverageInterval));
    Set_Checks(c.Check6, f.AncTypes.data());
    Set_Checks(c.Check7, f.AncStyle.data());
    Set_Texts(c.Text5, f.AncScales.data());
    c.Text9->setText(QString::fromStdString(f.WaterDensity));
    c.txtWaterScale->setText(QString::fromStdString(f.WaterScale));
    c.txtBottomScale->setText(QString::fromStdString(f.BottomScale));
    if (f.VelRef >= 0 && f.VelRef < 6) c.VelRef[static_cast<size_t>(f.VelRef)]->setChecked(true);
    Set_Checks(c.chkEoP, f.EndOfProfile.data());
}

} // namespace mvx
