#include "app/InformationWindow.h"

#include "app/AppIcon.h"

#include "common/Rounding.h"

#include <QCloseEvent>
#include <QFont>
#include <QMdiArea>
#include <QPalette>
#include <QPlainTextEdit>

namespace mvx {

QRectF Fit_Form_Rect(QSizeF inner) {
    return QRectF(0, 0, 0.45 * inner.width(), inner.height() / 3.0);
}

InformationWindow::InformationWindow(QMdiArea* area) : area_(area) {
    setWindowTitle("Marevox Information");
    setWindowIcon(App_Icon());
    setAttribute(Qt::WA_DeleteOnClose, false);
    text1_ = new QPlainTextEdit(this);
    text1_->setReadOnly(true);
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(8);
    text1_->setFont(font);
    setFont(font);
    // The text box takes the window's background colour.
    QPalette palette = text1_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    text1_->setPalette(palette);
    setWidget(text1_);
}

void InformationWindow::Fit_Form(const std::string& statsText) {
    if (area_) {
        const QSize inner = area_->viewport()->size();
        const QRectF r = Fit_Form_Rect(QSizeF(inner));
        // The frame, not the text box, takes the computed size.
        setGeometry(0, 0, RoundToInt32(r.width()), RoundToInt32(r.height()));
    }
    if (!statsText.empty()) Set_Stats_Text(statsText);
}

void InformationWindow::Set_Stats_Text(const std::string& statsText) {
    // The statistics lines end with carriage return and line feed; the box wants plain line feeds.
    QString text = QString::fromStdString(statsText);
    text.replace("\r\n", "\n");
    text1_->setPlainText(text);
}

std::string InformationWindow::Text() const {
    return text1_->toPlainText().toStdString();
}

void InformationWindow::closeEvent(QCloseEvent* event) {
    // Closing only hides the window; the menu item shows it again.
    event->ignore();
    hide();
}

} // namespace mvx
