// The export dialog's panels and the copy of their choices into and out of the export selection.
#include "app/ExportDialog.h"

#include "app/DialogControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace mvx {

namespace {

const char* const kBeamCaptions[5] = {"Bm1", "Bm2", "Bm3", "Bm4", "Avg"};
const char* const kVelocityCaptions[6] = {"East (u)", "North (v)", "Vertical (w)",
                                          "Error",    "Magnitude", "Direction"};
const char* const kPgCaptions[4] = {"PG1", "PG2", "PG3", "PG4"};

// The twenty per-bin data types of a panel.
template <typename Button, size_t N>
QGroupBox* DataTypes(const char* title, std::array<Button*, N>& items, const char* name) {
    return Data_Type_Frame(title, items, name, kBeamCaptions, kVelocityCaptions,
                           {{"Percent Good", 16, kPgCaptions, 4}});
}

QGroupBox* FileTypes(ExportControls& c, int panel, const char* name) {
    auto* frame = new QGroupBox("File Type");
    auto* layout = new QVBoxLayout(frame);
    for (size_t k = 0; k < kExportFormats.size(); ++k) {
        auto* b = Named_Control<QRadioButton>(kExportFormats[k].Caption, name, static_cast<int>(k));
        c.FileType[static_cast<size_t>(panel)][k] = b;
        layout->addWidget(b);
    }
    layout->addStretch();
    return frame;
}

QGroupBox* Ensembles(std::array<QLineEdit*, 3>* boxes, QLineEdit** single, const char* name) {
    auto* frame = new QGroupBox("Ensemble");
    auto* grid = new QGridLayout(frame);
    const char* const labels[3] = {"First", "Last", "Step"};
    const int count = boxes ? 3 : 1;
    for (int k = 0; k < count; ++k) {
        auto* box = new QLineEdit;
        box->setObjectName(boxes ? QString("%1_%2").arg(name).arg(k) : QString(name));
        box->setMaxLength(24);
        box->setMaximumWidth(90);
        if (boxes) {
            (*boxes)[static_cast<size_t>(k)] = box;
            grid->addWidget(new QLabel(labels[k]), k, 0);
        } else {
            *single = box;
        }
        grid->addWidget(box, k, 1);
    }
    grid->setRowStretch(count, 1);
    return frame;
}

QGroupBox* Bins(ExportControls& c, int panel, const char* buttonName) {
    auto* frame = new QGroupBox("Bins");
    auto* layout = new QVBoxLayout(frame);
    auto* list = new QListWidget;
    list->setObjectName(QString("List1_%1").arg(panel));
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    for (int m = 1; m <= kBinListItems; ++m) list->addItem(QString::number(m));
    list->setFixedWidth(110);
    c.List1[static_cast<size_t>(panel)] = list;
    layout->addWidget(list);
    auto* buttons = new QHBoxLayout;
    for (int k = 0; k < 2; ++k) {
        auto* b = Named_Control<QPushButton>(k == 0 ? "All" : "None", buttonName, k);
        b->setAutoDefault(false);
        c.BinButtons[static_cast<size_t>(panel)][static_cast<size_t>(k)] = b;
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    return frame;
}

// A panel: its file types and ensemble boxes over the frames of its body, and its bin list at the right.
QWidget* Panel(ExportControls& c, int panel, const char* fileTypes, QGroupBox* ensembles,
               std::initializer_list<QWidget*> body, const char* binButtons) {
    auto* page = new QWidget;
    page->setObjectName(QString("picOptions_%1").arg(panel));
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(FileTypes(c, panel, fileTypes));
    top->addWidget(ensembles);
    left->addLayout(top);
    for (QWidget* w : body) left->addWidget(w);
    layout->addLayout(left, 1);
    layout->addWidget(Bins(c, panel, binButtons));
    return page;
}

QWidget* ContourPanel(ExportControls& c) {
    QWidget* page = Panel(c, 0, "Option1", Ensembles(&c.Text3, nullptr, "Text3"),
                          {DataTypes("Data Type", c.Option3, "Option3")}, "cmdContourBins");
    // Exactly one data type across the four frames.
    auto* group = new QButtonGroup(page);
    for (QRadioButton* b : c.Option3) group->addButton(b);
    return page;
}

QWidget* ProfilePanel(ExportControls& c) {
    return Panel(c, 1, "Option2", Ensembles(nullptr, &c.Text4, "Text4"),
                 {DataTypes("Data Type", c.Check2, "Check2")}, "cmdProfileBins");
}

QWidget* SeriesPanel(ExportControls& c) {
    QGroupBox* types = DataTypes("Series Data Types", c.Check5, "Check5");
    auto* anc = new QGroupBox("Anc Data Types");
    auto* ancRow = new QHBoxLayout(anc);
    const char* const ancCaptions[8] = {"Pitch", "Roll",        "Heading", "Temperature",
                                        "Depth", "Orientation", "BIT",     "Battery"};
    ancRow->addWidget(Button_Column("", c.Check6, "Check6", 0, ancCaptions, 8));
    const char* const bt[6] = {"East (u)", "North (v)", "Vert (w)", "Error", "Mag", "Dir"};
    QGroupBox* bottom = Button_Column("Bottom Track", c.Check5, "Check5", kSeriesBottomTrack, bt, 6);
    Add_Flat_Item(bottom, c.Check5, "Check5", kSeriesBTDepth, "BT Depth");
    ancRow->addWidget(bottom);
    ancRow->addWidget(Button_Column("Water Mass", c.Check5, "Check5", kSeriesWaterMass, bt, 6));
    const char* const nav[5] = {"East (u)", "North (v)", "Mag", "Dir", "Lat/Lon"};
    QGroupBox* navigation = Button_Column("Navigation", c.Check5, "Check5", kSeriesNavEast, nav, 5);
    Add_Flat_Item(navigation, c.Check5, "Check5", kSeriesStrandex, "Strandex ");
    ancRow->addWidget(navigation);
    const char* const microcat[1] = {"MicroCAT"};
    ancRow->addWidget(Button_Column("", c.Check5, "Check5", kSeriesMicroCAT, microcat, 1));
    return Panel(c, 2, "Option4", Ensembles(&c.Text6, nullptr, "Text6"), {types, anc}, "cmdSeriesBins");
}

} // namespace

void Build_Export_Controls(ExportControls& c, QWidget* dialog) {
    auto* layout = new QVBoxLayout(dialog);
    c.tbsOptions = new QTabWidget;
    c.tbsOptions->setObjectName("tbsOptions");
    c.tbsOptions->addTab(ContourPanel(c), "Contour");
    c.tbsOptions->addTab(ProfilePanel(c), "Profile");
    c.tbsOptions->addTab(SeriesPanel(c), "Series/Ancillary");
    for (int k = 0; k < 3; ++k)
        c.tbsOptions->setTabToolTip(k, QString("Set Options for Group %1").arg(k + 1));
    layout->addWidget(c.tbsOptions);
    auto* bottom = new QHBoxLayout;
    c.cmdGO = new QPushButton("Write File");
    c.cmdGO->setObjectName("cmdGO");
    c.cmdQUIT = new QPushButton("Quit Export");
    c.cmdQUIT->setObjectName("cmdQUIT");
    c.ProgressBar1 = new QProgressBar;
    c.ProgressBar1->setObjectName("ProgressBar1");
    c.ProgressBar1->setRange(0, 100);
    c.ProgressBar1->setValue(0);
    bottom->addWidget(c.cmdGO);
    bottom->addWidget(c.cmdQUIT);
    bottom->addWidget(c.ProgressBar1, 1);
    layout->addLayout(bottom);
}

void Write_Export_Controls(const ExportSelection& s, ExportControls& c) {
    for (size_t panel = 0; panel < 3; ++panel)
        for (size_t k = 0; k < kExportFormats.size(); ++k)
            c.FileType[panel][k]->setChecked(kExportFormats[k].Type == s.FileType[panel]);
    Set_Texts(c.Text3, s.ContourEnsembles.data());
    if (s.ContourType >= 0 && s.ContourType < kExportDataTypes)
        c.Option3[static_cast<size_t>(s.ContourType)]->setChecked(true);
    c.Text4->setText(QString::fromStdString(s.ProfileEnsemble));
    Set_Checks(c.Check2, s.ProfileTypes.data());
    Set_Texts(c.Text6, s.SeriesEnsembles.data());
    Set_Checks(c.Check5, s.SeriesTypes.data());
    Set_Checks(c.Check6, s.AncTypes.data());
    for (size_t panel = 0; panel < 3; ++panel)
        for (int m = 1; m <= kBinListItems; ++m)
            c.List1[panel]->item(m - 1)->setSelected(s.Bins[panel].Selected[static_cast<size_t>(m)]);
}

void Read_Export_Controls(const ExportControls& c, ExportSelection& s) {
    s.Kind = static_cast<ExportKind>(std::clamp(c.tbsOptions->currentIndex(), 0, 2));
    for (size_t panel = 0; panel < 3; ++panel)
        for (size_t k = 0; k < kExportFormats.size(); ++k)
            if (c.FileType[panel][k]->isChecked()) s.FileType[panel] = kExportFormats[k].Type;
    Get_Texts(c.Text3, s.ContourEnsembles.data());
    for (size_t k = 0; k < c.Option3.size(); ++k)
        if (c.Option3[k]->isChecked()) s.ContourType = static_cast<int>(k);
    s.ProfileEnsemble = c.Text4->text().toStdString();
    Get_Checks(c.Check2, s.ProfileTypes.data());
    Get_Texts(c.Text6, s.SeriesEnsembles.data());
    Get_Checks(c.Check5, s.SeriesTypes.data());
    Get_Checks(c.Check6, s.AncTypes.data());
    for (size_t panel = 0; panel < 3; ++panel)
        for (int m = 1; m <= kBinListItems; ++m)
            s.Bins[panel].Selected[static_cast<size_t>(m)] = c.List1[panel]->item(m - 1)->isSelected();
}

} // namespace mvx
