#include "app/TextBox.h"

#include <QFont>
#include <QPlainTextEdit>

namespace mvx {

QPlainTextEdit* New_Text_Box(QWidget* parent, const char* name, int pointSize) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(pointSize);
    box->setFont(font);
    return box;
}

void Set_Box_Text(QPlainTextEdit* box, const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    box->setPlainText(shown);
}

std::string Box_Text(const QPlainTextEdit* box) {
    return box->toPlainText().toStdString();
}

} // namespace mvx
