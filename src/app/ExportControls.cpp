// The export dialog's panels and the copy of their choices into and out of the export selection.
#include "app/ExportDialog.h"

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

template <typename Button> Button* Named(const QString& caption, const char* name, int index) {
    auto* b = new Button(caption);
    b->setObjectName(QString("%1_%2").arg(name).arg(index));
    return b;
}

// A frame of buttons in one column for array indexes first..first+count-1.
template <typename Button, size_t N>
QGroupBox* Column(const char* title, std::array<Button*, N>& items, const char* name, int first,
                  const char* const* captions, int count) {
    auto* frame = new QGroupBox(title);
    auto* layout = new QVBoxLayout(frame);
    layout->setSpacing(1);
    for (int k = 0; k < count; ++k) {
        auto*& item = items[static_cast<size_t>(first + k)];
        item = Named<Button>(captions[k], name, first + k);
        layout->addWidget(item);
    }
    layout->addStretch();
    return frame;
}

// The twenty per-bin data types of a panel.
template <typename Button, size_t N>
QGroupBox* DataTypes(const char* title, std::array<Button*, N>& items, const char* name) {
    auto* frame = new QGroupBox(title);
    auto* row = new QHBoxLayout(frame);
    row->addWidget(Column("Echo Amplitude", items, name, 0, kBeamCaptions, 5));
    row->addWidget(Column("Correlation", items, name, 5, kBeamCaptions, 5));
    row->addWidget(Column("Velocity", items, name, 10, kVelocityCaptions, 6));
    row->addWidget(Column("Percent Good", items, name, 16, kPgCaptions, 4));
    return frame;
}

QGroupBox* FileTypes(ExportControls& c, int panel, const char* name) {
    auto* frame = new QGroupBox("File Type");
    auto* layout = new QVBoxLayout(frame);
    for (size_t k = 0; k < kExportFormats.size(); ++k) {
        auto* b = Named<QRadioButton>(kExportFormats[k].Caption, name, static_cast<int>(k));
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
        auto* b = Named<QPushButton>(k == 0 ? "All" : "None", buttonName, k);
        b->setAutoDefault(false);
        c.BinButtons[static_cast<size_t>(panel)][static_cast<size_t>(k)] = b;
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    return frame;
}

QWidget* ContourPanel(ExportControls& c) {
    auto* page = new QWidget;
    page->setObjectName("picOptions_0");
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(FileTypes(c, 0, "Option1"));
    top->addWidget(Ensembles(&c.Text3, nullptr, "Text3"));
    left->addLayout(top);
    left->addWidget(DataTypes("Data Type", c.Option3, "Option3"));
    // Exactly one data type across the four frames.
    auto* group = new QButtonGroup(page);
    for (QRadioButton* b : c.Option3) group->addButton(b);
    layout->addLayout(left, 1);
    layout->addWidget(Bins(c, 0, "cmdContourBins"));
    return page;
}

QWidget* ProfilePanel(ExportControls& c) {
    auto* page = new QWidget;
    page->setObjectName("picOptions_1");
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(FileTypes(c, 1, "Option2"));
    top->addWidget(Ensembles(nullptr, &c.Text4, "Text4"));
    left->addLayout(top);
    left->addWidget(DataTypes("Data Type", c.Check2, "Check2"));
    layout->addLayout(left, 1);
    layout->addWidget(Bins(c, 1, "cmdProfileBins"));
    return page;
}

QWidget* SeriesPanel(ExportControls& c) {
    auto* page = new QWidget;
    page->setObjectName("picOptions_2");
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(FileTypes(c, 2, "Option4"));
    top->addWidget(Ensembles(&c.Text6, nullptr, "Text6"));
    left->addLayout(top);
    left->addWidget(DataTypes("Series Data Types", c.Check5, "Check5"));

    auto* anc = new QGroupBox("Anc Data Types");
    auto* ancRow = new QHBoxLayout(anc);
    const char* const ancCaptions[8] = {"Pitch", "Roll",        "Heading", "Temperature",
                                        "Depth", "Orientation", "BIT",     "Battery"};
    ancRow->addWidget(Column("", c.Check6, "Check6", 0, ancCaptions, 8));
    const char* const bt[6] = {"East (u)", "North (v)", "Vert (w)", "Error", "Mag", "Dir"};
    QGroupBox* bottom = Column("Bottom Track", c.Check5, "Check5", kSeriesBottomTrack, bt, 6);
    const char* const btDepth[1] = {"BT Depth"};
    QGroupBox* depth = Column("", c.Check5, "Check5", kSeriesBTDepth, btDepth, 1);
    depth->setFlat(true);
    bottom->layout()->addWidget(depth);
    ancRow->addWidget(bottom);
    ancRow->addWidget(Column("Water Mass", c.Check5, "Check5", kSeriesWaterMass, bt, 6));
    const char* const nav[5] = {"East (u)", "North (v)", "Mag", "Dir", "Lat/Lon"};
    QGroupBox* navigation = Column("Navigation", c.Check5, "Check5", kSeriesNavEast, nav, 5);
    const char* const strandex[1] = {"Strandex "};
    QGroupBox* switchBox = Column("", c.Check5, "Check5", kSeriesStrandex, strandex, 1);
    switchBox->setFlat(true);
    navigation->layout()->addWidget(switchBox);
    ancRow->addWidget(navigation);
    const char* const microcat[1] = {"MicroCAT"};
    ancRow->addWidget(Column("", c.Check5, "Check5", kSeriesMicroCAT, microcat, 1));
    left->addWidget(anc);
    layout->addLayout(left, 1);
    layout->addWidget(Bins(c, 2, "cmdSeriesBins"));
    return page;
}

template <size_t N> void SetBoxes(std::array<QLineEdit*, N>& boxes, const std::array<std::string, N>& texts) {
    for (size_t k = 0; k < N; ++k) boxes[k]->setText(QString::fromStdString(texts[k]));
}
template <size_t N> void GetBoxes(const std::array<QLineEdit*, N>& boxes, std::array<std::string, N>& texts) {
    for (size_t k = 0; k < N; ++k) texts[k] = boxes[k]->text().toStdString();
}
template <size_t N> void SetChecks(std::array<QCheckBox*, N>& boxes, const std::array<bool, N>& values) {
    for (size_t k = 0; k < N; ++k) boxes[k]->setChecked(values[k]);
}
template <size_t N> void GetChecks(const std::array<QCheckBox*, N>& boxes, std::array<bool, N>& values) {
    for (size_t k = 0; k < N; ++k) values[k] = boxes[k]->isChecked();
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
    SetBoxes(c.Text3, s.ContourEnsembles);
    if (s.ContourType >= 0 && s.ContourType < kExportDataTypes)
        c.Option3[static_cast<size_t>(s.ContourType)]->setChecked(true);
    c.Text4->setText(QString::fromStdString(s.ProfileEnsemble));
    SetChecks(c.Check2, s.ProfileTypes);
    SetBoxes(c.Text6, s.SeriesEnsembles);
    SetChecks(c.Check5, s.SeriesTypes);
    SetChecks(c.Check6, s.AncTypes);
    for (size_t panel = 0; panel < 3; ++panel)
        for (int m = 1; m <= kBinListItems; ++m)
            c.List1[panel]->item(m - 1)->setSelected(s.Bins[panel].Selected[static_cast<size_t>(m)]);
}

void Read_Export_Controls(const ExportControls& c, ExportSelection& s) {
    s.Kind = static_cast<ExportKind>(std::clamp(c.tbsOptions->currentIndex(), 0, 2));
    for (size_t panel = 0; panel < 3; ++panel)
        for (size_t k = 0; k < kExportFormats.size(); ++k)
            if (c.FileType[panel][k]->isChecked()) s.FileType[panel] = kExportFormats[k].Type;
    GetBoxes(c.Text3, s.ContourEnsembles);
    for (size_t k = 0; k < c.Option3.size(); ++k)
        if (c.Option3[k]->isChecked()) s.ContourType = static_cast<int>(k);
    s.ProfileEnsemble = c.Text4->text().toStdString();
    GetChecks(c.Check2, s.ProfileTypes);
    GetBoxes(c.Text6, s.SeriesEnsembles);
    GetChecks(c.Check5, s.SeriesTypes);
    GetChecks(c.Check6, s.AncTypes);
    for (size_t panel = 0; panel < 3; ++panel)
        for (int m = 1; m <= kBinListItems; ++m)
            s.Bins[panel].Selected[static_cast<size_t>(m)] = c.List1[panel]->item(m - 1)->isSelected();
}

} // namespace mvx
