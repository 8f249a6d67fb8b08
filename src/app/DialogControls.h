#pragma once
// Building blocks of the dialogs' pages: controls named as the program names them ("Check5_12"), frames of
// buttons stacked in a column, and the frame of the per-bin data types that the chart options and export
// pages share.
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QString>
#include <QVBoxLayout>

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>

namespace mvx {

// A control of a control array: its object name is the array's name and its index.
template <typename Control> Control* Named_Control(const QString& caption, const char* name, int index) {
    auto* control = new Control(caption);
    control->setObjectName(QString("%1_%2").arg(name).arg(index));
    return control;
}

// A number box; index < 0 for a box that is not part of an array. No number needs more than 24 characters.
inline QLineEdit* Number_Box(const char* name, int index = -1) {
    auto* box = new QLineEdit;
    box->setObjectName(index < 0 ? QString(name) : QString("%1_%2").arg(name).arg(index));
    box->setMaxLength(24);
    box->setMaximumWidth(90);
    return box;
}

// A frame of buttons in one column: items[first .. first + count - 1] with their captions.
template <typename Button, size_t N>
QGroupBox* Button_Column(const char* title, std::array<Button*, N>& items, const char* name, int first,
                         const char* const* captions, int count) {
    auto* frame = new QGroupBox(title);
    auto* layout = new QVBoxLayout(frame);
    layout->setSpacing(1);
    for (int k = 0; k < count; ++k) {
        auto*& item = items[static_cast<size_t>(first + k)];
        item = Named_Control<Button>(captions[k], name, first + k);
        layout->addWidget(item);
    }
    layout->addStretch();
    return frame;
}

// One column of a data-type frame.
struct ButtonColumn {
    const char* Title;
    int First;
    const char* const* Captions;
    int Count;
};

// The data-type frame: echo amplitude (items 0-4), correlation (5-9) and velocity (10-15) with the beam
// and velocity captions given, then the further columns.
template <typename Button, size_t N>
QGroupBox* Data_Type_Frame(const char* title, std::array<Button*, N>& items, const char* name,
                           const char* const* beamCaptions, const char* const* velocityCaptions,
                           std::initializer_list<ButtonColumn> more) {
    auto* frame = new QGroupBox(title);
    auto* row = new QHBoxLayout(frame);
    row->addWidget(Button_Column("Echo Amplitude", items, name, 0, beamCaptions, 5));
    row->addWidget(Button_Column("Correlation", items, name, 5, beamCaptions, 5));
    row->addWidget(Button_Column("Velocity", items, name, 10, velocityCaptions, 6));
    for (const ButtonColumn& c : more)
        row->addWidget(Button_Column(c.Title, items, name, c.First, c.Captions, c.Count));
    return frame;
}

// A lone button added below the others of a column, in a flat frame of its own.
template <typename Button, size_t N>
void Add_Flat_Item(QGroupBox* column, std::array<Button*, N>& items, const char* name, int index,
                   const char* caption) {
    const char* const captions[1] = {caption};
    QGroupBox* frame = Button_Column("", items, name, index, captions, 1);
    frame->setFlat(true);
    column->layout()->addWidget(frame);
}

// Check marks and texts of a control array, to and from plain values (as many values as controls).
template <typename Control, size_t N> void Set_Checks(std::array<Control*, N>& controls, const bool* values) {
    for (size_t k = 0; k < N; ++k) controls[k]->setChecked(values[k]);
}
template <typename Control, size_t N> void Get_Checks(const std::array<Control*, N>& controls, bool* values) {
    for (size_t k = 0; k < N; ++k) values[k] = controls[k]->isChecked();
}
template <size_t N> void Set_Texts(std::array<QLineEdit*, N>& boxes, const std::string* texts) {
    for (size_t k = 0; k < N; ++k) boxes[k]->setText(QString::fromStdString(texts[k]));
}
template <size_t N> void Get_Texts(const std::array<QLineEdit*, N>& boxes, std::string* texts) {
    for (size_t k = 0; k < N; ++k) texts[k] = boxes[k]->text().toStdString();
}

// Shows a dialog window; one that was hidden is sized to its contents and centred on the screen first.
inline void Show_Centred(QWidget* dialog) {
    if (dialog->isHidden()) {
        dialog->adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = dialog->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            dialog->move(frame.topLeft());
        }
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace mvx
