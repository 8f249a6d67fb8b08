#include "app/HelpWindow.h"

#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace mvx {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle("Marevox Help");
    browser_ = new QTextBrowser(this);
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(false);
    browser_->setHtml(QString::fromUtf8(Help_Html()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

void HelpWindow::Show_Contents() {
    show();
    raise();
    activateWindow();
    browser_->scrollToAnchor("contents");
    browser_->verticalScrollBar()->setValue(0);
}

} // namespace mvx
