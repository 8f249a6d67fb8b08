#include "app/ViewerWindow.h"

#include "app/AppIcon.h"
#include "app/MainWindow.h"
#include "app/TextBox.h"

#include "ensemble/DataViewText.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

namespace mvx {

namespace {

// Lines of text the window shows at first: a broadband ensemble's text without a sensor string.
constexpr int kInitialLines = 27;

} // namespace

ViewerWindow::ViewerWindow(AppContext& app, MainWindow& main) : app_(app), main_(main) {
    setObjectName("ViewerWindow");
    setWindowTitle("Marevox Viewer");
    setWindowIcon(App_Icon());
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* client = new QWidget;
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    menuBar_ = new QMenuBar(client);
    menuBar_->setNativeMenuBar(false);
    fontMenu_ = menuBar_->addMenu("Font");
    fontMenu_->setObjectName("Font");
    QMenu* sizeMenu = fontMenu_->addMenu("Size");
    sizeMenu->setObjectName("Size");
    for (size_t i = 0; i < kSizes.size(); ++i) {
        QAction* item = sizeMenu->addAction(QString::number(kSizes[i]));
        item->setObjectName("set_size");
        item->setCheckable(true);
        const int index = static_cast<int>(i);
        connect(item, &QAction::triggered, this, [this, index] { set_size(index); });
        sizeItems_[i] = item;
    }
    bold_ = fontMenu_->addAction("Bold");
    bold_->setObjectName("Set_Bold");
    bold_->setCheckable(true);
    // The handler toggles the mark itself, so a call from code behaves as a click.
    connect(bold_, &QAction::triggered, this, [this] {
        bold_->setChecked(!bold_->isChecked());
        Set_Bold();
    });
    layout->setMenuBar(menuBar_);

    text1_ = New_Text_Box(client, "Text1");
    layout->addWidget(text1_);
    setWidget(client);
    set_size(3); // 8 points
    Size_To_Text();

    main_.Hooks().Update_Data_View = [window = QPointer<ViewerWindow>(this)](int32_t e, int32_t b) {
        if (window) window->Update_Data_View(e, b);
    };
    main_.Register_Window(ChildWindow::Viewer, this);
    // An Open hides the viewer with the charts; it comes back with them when the user wants it.
    connect(&main_, &MainWindow::Open_Finished, this, [this](bool loaded) {
        if (loaded && main_.Window_Wanted(ChildWindow::Viewer) && isHidden()) showNormal();
    });
}

QAction* ViewerWindow::Size_Item(int index) const {
    return index >= 0 && index < static_cast<int>(sizeItems_.size()) ? sizeItems_[static_cast<size_t>(index)]
                                                                     : nullptr;
}

void ViewerWindow::Update_Data_View(int32_t e, int32_t b) {
    if (isMinimized()) return;
    const CoreState& core = app_.Core;
    if (e < 0 || e >= core.Set.CurrentEnsIndex || b < 0 || b >= core.Setup.NumCells) return;
    std::string text;
    if (!mvx::Update_Data_View(core.Data, core.Setup, core.Set, e, b, text)) text = kNoData;
    Set_Box_Text(text1_, text);
}

void ViewerWindow::set_size(int index) {
    if (!Size_Item(index)) return;
    for (size_t i = 0; i < sizeItems_.size(); ++i) sizeItems_[i]->setChecked(static_cast<int>(i) == index);
    size_ = kSizes[static_cast<size_t>(index)];
    Apply_Font();
}

void ViewerWindow::Set_Bold() {
    bold_->setChecked(!bold_->isChecked());
    Apply_Font();
}

void ViewerWindow::Apply_Font() {
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(size_);
    font.setBold(bold_->isChecked());
    text1_->setFont(font);
}

void ViewerWindow::Size_To_Text() {
    const QFontMetrics metrics(text1_->font());
    QStyle* look = style();
    const int frame = 2 * text1_->frameWidth() + 2 * static_cast<int>(text1_->document()->documentMargin());
    const int border = 2 * look->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int scrollBar = look->pixelMetric(QStyle::PM_ScrollBarExtent);
    resize(60 * metrics.horizontalAdvance('W') + frame + border + scrollBar,
           kInitialLines * metrics.lineSpacing() + menuBar_->sizeHint().height() + frame + border +
               scrollBar + look->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
}

std::string ViewerWindow::Text() const {
    return Box_Text(text1_);
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
    // Closing only hides the window; the menu item shows it again.
    event->ignore();
    hide();
}

} // namespace mvx
