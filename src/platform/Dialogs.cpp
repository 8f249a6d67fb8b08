#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace mvx {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The description without a trailing "(...)" group, which the patterns replace.
QString BareDescription(QString description) {
    description = description.trimmed();
    if (description.endsWith(')')) {
        const qsizetype open = description.lastIndexOf('(');
        if (open > 0) description = description.left(open).trimmed();
    }
    return description;
}

QString ConvertPatterns(const QString& patterns) {
    QStringList out;
    for (const QString& p : patterns.split(';', Qt::SkipEmptyParts)) {
        const QString t = p.trimmed();
        if (t.isEmpty()) continue;
        out << (t == "*.*" ? QStringLiteral("*") : t);
    }
    if (out.isEmpty()) out << QStringLiteral("*");
    return out.join(' ');
}

void ApplySpec(QFileDialog& dialog, const FileDialogSpec& spec) {
    dialog.setWindowTitle(Q(spec.Title));
    if (!spec.DefaultExt.empty()) dialog.setDefaultSuffix(Q(spec.DefaultExt));
    const QString filter = Q(QtFilterString(spec.Filter));
    if (!filter.isEmpty()) dialog.setNameFilters(filter.split(";;"));
    if (!spec.FileName.empty()) dialog.selectFile(Q(spec.FileName));
}

} // namespace

std::string QtFilterString(const std::string& filter) {
    if (filter.empty()) return {};
    const QStringList parts = Q(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = BareDescription(parts[i]);
        // A lone entry such as "*.txt" is its own pattern.
        const QString patterns = ConvertPatterns(i + 1 < parts.size() ? parts[i + 1] : parts[i]);
        if (description.isEmpty() && patterns.isEmpty()) continue;
        filters << (description.isEmpty() ? patterns : description + " (" + patterns + ")");
    }
    return filters.join(";;").toStdString();
}

void QtDialogs::MessageBox(const std::string& text, const std::string& title) {
    QMessageBox::information(parent_, Q(title), Q(text));
}

std::string QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent_, Q(title), Q(prompt), QLineEdit::Normal, Q(defaultText), &ok);
    return ok ? answer.toStdString() : std::string();
}

std::string QtDialogs::OpenFileName(const FileDialogSpec& spec) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    ApplySpec(dialog, spec);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

std::string QtDialogs::SaveFileName(const FileDialogSpec& spec) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Overwriting is the caller's decision (it refuses files that hold data).
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    ApplySpec(dialog, spec);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

} // namespace mvx
