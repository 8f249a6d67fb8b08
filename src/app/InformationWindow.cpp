#include "app/InformationWindow.h"

#include "app/AppIcon.h"
#include "app/TextBox.h"

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
    text1_ = New_Text_Box(this, "Text1");
    setFont(text1_->font());
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
    Set_Box_Text(text1_, statsText);
}

std::string InformationWindow::Text() const {
    return Box_Text(text1_);
}

void InformationWindow::closeEvent(QCloseEvent* event) {
    // Closing only hides the window; the menu item shows it again.
    event->ignore();
    hide();
}

} // namespace mvx
