// The information and progress windows, the Window menu, copying pictures, help and about, and the menu
// items that wait for later windows.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "app/HelpWindow.h"
#include "app/InformationWindow.h"
#include "app/ProgressWindow.h"
#include "platform/Twips.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTextBrowser>

namespace mvx::test {
namespace {

using Windows = AppTest;

TEST(FitForm, TakesTheTopLeftCornerWithFortyFivePercentAndAThird) {
    const QRectF r = Fit_Form_Rect(QSizeF(10000, 7500));
    EXPECT_DOUBLE_EQ(r.left(), 0);
    EXPECT_DOUBLE_EQ(r.top(), 0);
    EXPECT_DOUBLE_EQ(r.width(), 4500);
    EXPECT_DOUBLE_EQ(r.height(), 2500);
}

TEST_F(Windows, InformationWindowFitsTheMainWindowAndUsesCourier) {
    form_->Form_Load("");
    const QSize inner = form_->Area()->viewport()->size();
    form_->Info().move(50, 60);
    form_->Align_Forms_Click();
    const QRect g = form_->Info().geometry();
    EXPECT_EQ(g.topLeft(), QPoint(0, 0));
    EXPECT_NEAR(g.width(), 0.45 * inner.width(), 0.5);
    EXPECT_NEAR(g.height(), inner.height() / 3.0, 0.5);
    EXPECT_EQ(form_->Info().TextBox()->font().family(), QFont("Courier New").family());
    EXPECT_EQ(form_->Info().TextBox()->font().pointSize(), 8);
}

TEST_F(Windows, AlignLeavesAMaximisedInformationWindowAlone) {
    form_->Form_Load("");
    form_->Info().showMaximized();
    form_->Align_Forms_Click();
    EXPECT_TRUE(form_->Info().isMaximized());
    form_->Info().showNormal();
    form_->Info().setGeometry(30, 30, 100, 100);
    form_->Info().showMinimized();
    form_->Align_Forms_Click();
    EXPECT_TRUE(form_->Info().isMinimized());
    form_->Info().showNormal();
    EXPECT_EQ(form_->Info().geometry().topLeft(), QPoint(0, 0));
}

TEST_F(Windows, ClosingTheInformationWindowUnchecksItsItem) {
    form_->Form_Load("");
    ASSERT_TRUE(form_->Menu().Show_Info->isChecked());
    form_->Info().close();
    EXPECT_FALSE(form_->Menu().Show_Info->isChecked());
    EXPECT_FALSE(form_->Info().isVisible());
    form_->Menu().Show_Info->trigger();
    EXPECT_TRUE(form_->Menu().Show_Info->isChecked());
    EXPECT_TRUE(form_->Info().isVisible());
    form_->Menu().Show_Info->trigger();
    EXPECT_FALSE(form_->Info().isVisible());
}

TEST(ProgressPlacement, CentredAcrossTwiceItsHeightAboveTheBottom) {
    // Main window 100..1100 across, 50..850 down; progress window 245 x 77.
    EXPECT_EQ(Progress_Placement(QRect(100, 50, 1000, 800), QSize(245, 77)), QPoint(100 + 377, 850 - 154));
    // Never off the top-left of the screen.
    EXPECT_EQ(Progress_Placement(QRect(-300, -40, 200, 100), QSize(245, 77)), QPoint(0, 0));
}

TEST_F(Windows, ProgressWindowFollowsTheLoader) {
    ProgressWindow& progress = form_->Progress();
    EXPECT_EQ(progress.windowTitle(), "File Loading...");
    const double tpp = TwipsPerPixel(form_.get());
    EXPECT_EQ(progress.width(), TwipsToPixels(3672, tpp));
    EXPECT_EQ(progress.height(), TwipsToPixels(1152, tpp));
    EXPECT_EQ(progress.ProgressBar1()->minimum(), 0);
    EXPECT_EQ(progress.ProgressBar1()->maximum(), 100);

    // The core reaches it through its progress sink.
    app_->Core.Progress.DoShow("Loading Whole Set...");
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.windowTitle(), "Loading Whole Set...");
    app_->Core.Progress.DoValue(42.5);
    EXPECT_EQ(progress.ProgressBar1()->value(), 42);
    app_->Core.Progress.DoValue(250);
    EXPECT_EQ(progress.ProgressBar1()->value(), 100);
    app_->Core.Progress.DoHide();
    EXPECT_FALSE(progress.isVisible());
}

TEST_F(Windows, DisableMenusCoversFileEditOptionsAnimateAndExport) {
    form_->Form_Load("");
    form_->Hooks().Show_Export = [] {};
    form_->Update_Menus();
    form_->Disable_Menus(true);
    EXPECT_FALSE(MenusEnabled());
    EXPECT_FALSE(form_->Menu().Do_Export->isEnabled());
    // Window, Monitor and Help stay usable.
    EXPECT_TRUE(form_->Menu().Do_Window->isEnabled());
    EXPECT_TRUE(form_->Menu().AT->isEnabled());
    EXPECT_TRUE(form_->Menu().Do_Help->isEnabled());
    form_->Disable_Menus(false);
    EXPECT_TRUE(MenusEnabled());
    EXPECT_TRUE(form_->Menu().Do_Export->isEnabled());
}

TEST_F(Windows, ItemsOfWindowsStillToComeAreDisabledAndUncheckedUntilTheyArrive) {
    form_->Form_Load("");
    const MainMenu& m = form_->Menu();
    const QAction* pending[] = {m.Show_Options(0),  m.Show_Options(4), m.Con_Ani(0),       m.Ser_Ani(1),
                                m.Do_Export,        m.Edit_Contour,    m.ShowDetails,      m.Show_Trend,
                                m.Copy_Form(0),     m.Paint(0),        m.Show_Data_Set(1), m.Show_Data_Set(2),
                                m.Show_Data_Viewer, m.Show_Seismic};
    for (const QAction* item : pending) {
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
        EXPECT_FALSE(item->isChecked()) << item->objectName().toStdString();
    }
    for (const QAction* item :
         {m.Open_File, m.EnMulti, m.Maximum_Ens, m.Flip_Over(0), m.Copy_Form(1), m.Paint(1), m.Show_Info,
          m.Align_Forms, m.AutoTrack, m.TrackInt, m.Show_Help, m.Show_About})
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    int details = 0;
    form_->Hooks().Show_Details = [&] { ++details; };
    auto* viewer = new QMdiSubWindow;
    viewer->setWidget(new QLabel("viewer"));
    form_->Register_Window(ChildWindow::Viewer, viewer);
    EXPECT_TRUE(form_->Menu().ShowDetails->isEnabled());
    EXPECT_TRUE(form_->Menu().Show_Data_Viewer->isEnabled());
    form_->Menu().ShowDetails->trigger();
    EXPECT_EQ(details, 1);
    form_->Menu().Show_Data_Viewer->trigger();
    EXPECT_TRUE(viewer->isVisible());
}

TEST_F(Windows, MenusCarryTheirCaptionsAndAccessKeys) {
    const MainMenu& m = form_->Menu();
    const std::pair<const QMenu*, const char*> menus[] = {
        {m.Select_File, "&File"}, {m.Do_Edit, "&Edit"},     {m.S_Options, "&Options"}, {m.Do_Ani, "&Animate"},
        {m.Utils, "&Utilities"},  {m.Do_Window, "&Window"}, {m.AT, "&Monitor"},        {m.Do_Help, "&Help"}};
    for (const auto& [menu, caption] : menus) EXPECT_EQ(menu->title(), caption);
    const std::pair<const QAction*, const char*> items[] = {
        {m.Edit_Contour, "&Report"},        {m.Do_Export, "E&xport"},
        {m.Stop_Program, "E&xit"},          {m.Maximum_Ens, "Max &Ensembles"},
        {m.Show_Options(4), "P&rocessing"}, {m.Pro_Ani(1), "&Rewind"},
        {m.Show_Data_Set(2), "&Sub Set"},   {m.Old_File(8), "8"}};
    for (const auto& [item, caption] : items) EXPECT_EQ(item->text(), caption);
    for (const QAction* check : {m.EnMulti, m.Flip_Over(0), m.Show_Info, m.Show_Data_Set(1),
                                 m.Show_Data_Set(2), m.Show_Data_Viewer, m.Show_Seismic, m.AutoTrack})
        EXPECT_TRUE(check->isCheckable()) << check->objectName().toStdString();
    // Outside an array's own index range there is no item.
    EXPECT_EQ(m.Old_File(0), nullptr);
    EXPECT_EQ(m.Show_Data_Set(3), nullptr);
}

// A stand-in for the whole-set window: a child window showing a plain picture.
QMdiSubWindow* PictureWindow(const QSize& size, QColor colour) {
    auto* label = new QLabel;
    QPixmap pixmap(size);
    pixmap.fill(colour);
    label->setPixmap(pixmap);
    label->setFixedSize(size);
    auto* window = new QMdiSubWindow;
    window->setWidget(label);
    return window;
}

TEST_F(Windows, CopyPutsTheWindowsPictureOnTheClipboardOnlyWithAFile) {
    form_->Form_Load("");
    form_->Register_Window(ChildWindow::WholeSet, PictureWindow(QSize(120, 80), QColor(0, 0, 255)));
    QGuiApplication::clipboard()->clear();
    form_->Copy_Form_Click(0);
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
    ASSERT_EQ(dialogs_.Count("message"), 1);
    EXPECT_EQ(dialogs_.Asked.back().Text, "Nothing to copy: no file is loaded.");

    app_->Core.Set.FileValid = true;
    form_->Menu().Copy_Form(0)->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(120, 80));
    EXPECT_EQ(copied.pixelColor(60, 40), QColor(0, 0, 255));

    // The chart's own picture takes precedence once the window provides it.
    form_->Hooks().SubSet_Picture = [] {
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(QColor(255, 255, 0));
        return image;
    };
    form_->Copy_Form_Click(1);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(30, 20));
}

TEST_F(Windows, PaintHandsAPictureFileToTheDesktopAndRemovesItAtTheEnd) {
    form_->Form_Load("");
    form_->Register_Window(ChildWindow::WholeSet, PictureWindow(QSize(64, 48), QColor(0, 128, 0)));
    app_->Core.Set.FileValid = true;
    QGuiApplication::clipboard()->clear();
    // No picture program: the clipboard still gets the copy, the user is told, the file goes at once.
    launcher_.Answer = false;
    form_->Menu().Paint(0)->trigger();
    ASSERT_EQ(launcher_.Opened.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(launcher_.Opened[0]));
    ASSERT_EQ(dialogs_.Count("message"), 1);
    EXPECT_EQ(dialogs_.Asked.back().Text.rfind("The picture program could not be started.", 0), 0u);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(64, 48));
    // A started program gets the picture, which stays until the program ends.
    launcher_.Answer = true;
    form_->Paint_Click(0);
    ASSERT_EQ(launcher_.Opened.size(), 2u);
    const QImage handed(QString::fromStdString(launcher_.Opened[1]));
    EXPECT_EQ(handed.size(), QSize(64, 48));
    EXPECT_EQ(handed.pixelColor(10, 10), QColor(0, 128, 0));
    // No sub-set window, no picture: nothing is launched, and the user hears why.
    form_->Paint_Click(1);
    EXPECT_EQ(launcher_.Opened.size(), 2u);
    EXPECT_EQ(dialogs_.Asked.back().Text, "Nothing to copy: there is no Sub Set window.");
    form_.reset();
    EXPECT_FALSE(std::filesystem::exists(launcher_.Opened[1]));
}

TEST_F(Windows, HelpOpensAtTheContents) {
    form_->Form_Load("");
    form_->Menu().Show_Help->trigger();
    ASSERT_NE(form_->Help(), nullptr);
    EXPECT_TRUE(form_->Help()->isVisible());
    const QString text = form_->Help()->Browser()->toPlainText();
    EXPECT_TRUE(text.startsWith("Marevox Help"));
    for (const char* topic : {"Opening files", "Menus", "Charts", "Export", "Options", "Monitor mode"}) {
        EXPECT_TRUE(text.contains(topic)) << topic;
    }
    // Every link of the contents leads to an anchor of the page.
    const QString html = QString::fromUtf8(Help_Html());
    for (const char* anchor : {"opening", "menus", "charts", "export", "options", "monitor"}) {
        EXPECT_TRUE(html.contains(QString("href=\"#%1\"").arg(anchor)) &&
                    html.contains(QString("name=\"%1\"").arg(anchor)))
            << anchor;
    }
    EXPECT_EQ(form_->Help()->Browser()->verticalScrollBar()->value(), 0);
}

TEST_F(Windows, AboutShowsTitleAndVersion) {
    form_->Menu().Show_About->trigger();
    ASSERT_EQ(dialogs_.Count("message"), 1);
    EXPECT_EQ(dialogs_.Asked[0].Title, "About Marevox");
    EXPECT_NE(dialogs_.Asked[0].Text.find("Marevox"), std::string::npos);
    EXPECT_NE(dialogs_.Asked[0].Text.find("1.13.0"), std::string::npos);
}

TEST_F(Windows, RefreshFollowsTheCheckMarks) {
    form_->Form_Load("");
    int wholeSet = 0, subSet = 0;
    form_->Hooks().Init_WholeSet_Charts = [&](int32_t type) { wholeSet += type; };
    form_->Hooks().Init_SubSet_Charts = [&](int32_t type) { subSet += type; };
    form_->Refresh_Windows();
    EXPECT_EQ(wholeSet + subSet, 0); // no file: no charts
    app_->Core.Set.FileValid = true;
    app_->Core.Opts.ContourDataType = 300;
    form_->Info().close(); // no longer wanted
    form_->Info().show();
    form_->Refresh_Windows();
    EXPECT_EQ(wholeSet, 300);
    EXPECT_EQ(subSet, 300);
    EXPECT_FALSE(form_->Info().isVisible());
}

TEST_F(Windows, HideFormsHidesTheChartWindowsButNotTheInformation) {
    form_->Form_Load("");
    auto* whole = PictureWindow(QSize(10, 10), Qt::red);
    form_->Register_Window(ChildWindow::WholeSet, whole);
    app_->Core.Set.FileValid = true;
    form_->Show_Data_Set_Click(1);
    EXPECT_TRUE(whole->isVisible());
    EXPECT_TRUE(form_->Menu().Show_Data_Set(1)->isChecked());
    form_->Hide_Forms();
    EXPECT_FALSE(whole->isVisible());
    EXPECT_FALSE(form_->Menu().Show_Data_Set(1)->isChecked());
    EXPECT_TRUE(form_->Info().isVisible());
}

} // namespace
} // namespace mvx::test
