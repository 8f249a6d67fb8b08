// The data viewer in the running program: its menu item and check mark, the text of the cell under the
// mouse on the contour and beside the profile, its Font menu, and a cell that cannot be read.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "app/SubSetWindow.h"
#include "app/ViewerWindow.h"
#include "common/NumberFormat.h"
#include "ensemble/DataViewText.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace mvx::test {
namespace {

const std::string kDownLooking = std::string(MARVOX_DATA_DIR) + "/down600_earth_bt.000";

class ViewerWindowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        subSet_ = new SubSetWindow(*app_, *form_);
        viewer_ = new ViewerWindow(*app_, *form_);
        form_->Form_Load("");
        SKIP_WITHOUT_DATA_FILE("down600_earth_bt.000");
        Open(kDownLooking);
    }
    void Open(const std::string& path) {
        dialogs_.OpenAnswers.push_back(path);
        form_->Open_File();
        ASSERT_TRUE(app_->Core.Set.FileValid);
    }

    // The centre of a contour cell (row counted from the top), in the contour picture's coordinates.
    QPointF CellCentre(int ensemble, int rowFromTop) const {
        return Contour_Cell_Centre(*subSet_, ensemble, rowFromTop);
    }
    int Rows() const {
        const ContourChart& c = subSet_->Charts().Contour;
        return c.Axes.LastBinShown - c.Axes.FirstBinShown + 1;
    }
    static void Move(QWidget* w, QPointF at) {
        QMouseEvent e(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    std::string Expected(int e, int row) const {
        std::string text;
        EXPECT_TRUE(Update_Data_View(app_->Core.Data, app_->Core.Setup, app_->Core.Set, e, row, text));
        for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
            text.erase(at, 1);
        return text;
    }

    SubSetWindow* subSet_ = nullptr;
    ViewerWindow* viewer_ = nullptr;
};

TEST_F(ViewerWindowTest, MenuItemShowsAndHidesItAndTheCheckMarkFollows) {
    QAction* item = form_->Menu().Show_Data_Viewer;
    EXPECT_EQ(viewer_->windowTitle(), "Marevox Viewer");
    EXPECT_TRUE(item->isEnabled());
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(viewer_->isVisible());
    EXPECT_TRUE(item->isChecked());
    // Sixty characters "W" of its font fit across.
    EXPECT_GE(viewer_->Text1()->viewport()->width(),
              60 * QFontMetrics(viewer_->Text1()->font()).horizontalAdvance('W'));
    viewer_->close();
    EXPECT_FALSE(viewer_->isVisible());
    EXPECT_FALSE(item->isChecked());
    // Shown again, it comes back after an Open hid it with the charts; closed, it stays away.
    item->trigger();
    Open(kDownLooking);
    EXPECT_TRUE(viewer_->isVisible());
    EXPECT_TRUE(item->isChecked());
    viewer_->close();
    Open(kDownLooking);
    EXPECT_FALSE(viewer_->isVisible());
}

TEST_F(ViewerWindowTest, TextIsTheCellUnderTheMouse) {
    form_->Menu().Show_Data_Viewer->trigger();
    const int n = subSet_->Charts().Contour.Axes.NumEnsembles, rows = Rows();
    ASSERT_GT(n, 2);
    const struct {
        int Ensemble, Row;
    } cells[] = {{0, 0}, {n - 1, rows - 1}, {n / 2, rows / 2}, {1, rows - 2}};
    for (const auto& c : cells) {
        Move(subSet_->Picture1_Widget(), CellCentre(c.Ensemble, c.Row));
        EXPECT_EQ(viewer_->Text(), Expected(c.Ensemble, c.Row)) << c.Ensemble << ", " << c.Row;
        const int32_t number = app_->Core.Set.FirstEnsNumber + c.Ensemble;
        EXPECT_EQ(viewer_->Text().rfind("Ensemble " + Fix_String(std::to_string(number), ' ', 9), 0), 0u);
    }
}

TEST_F(ViewerWindowTest, OnTheProfileTheTextIsTheProfileEnsembleAtTheRowBeside) {
    form_->Menu().Show_Data_Viewer->trigger();
    app_->Core.Set.ProfileEnsNumber = app_->Core.Set.FirstEnsNumber + 3;
    QWidget* profile = subSet_->Picture5_Widget();
    const int offset = subSet_->Picture1_Widget()->y() - profile->y();
    for (int row : {0, Rows() / 2, Rows() - 1}) {
        Move(profile, QPointF(profile->width() / 2.0, CellCentre(0, row).y() + offset));
        EXPECT_EQ(viewer_->Text(), Expected(3, row)) << row;
    }
}

TEST_F(ViewerWindowTest, NothingChangesWhenHiddenMinimisedOrOutsideTheSet) {
    form_->Menu().Show_Data_Viewer->trigger();
    Move(subSet_->Picture1_Widget(), CellCentre(0, 0));
    const std::string first = viewer_->Text();
    ASSERT_FALSE(first.empty());
    const CoreState& core = app_->Core;
    viewer_->Update_Data_View(core.Set.CurrentEnsIndex, 0);
    viewer_->Update_Data_View(0, core.Setup.NumCells);
    viewer_->Update_Data_View(-1, 0);
    EXPECT_EQ(viewer_->Text(), first);
    viewer_->showMinimized();
    viewer_->Update_Data_View(1, 1);
    EXPECT_EQ(viewer_->Text(), first);
    viewer_->showNormal();
    form_->Menu().Show_Data_Viewer->trigger(); // hidden: the mouse is not followed
    Move(subSet_->Picture1_Widget(), CellCentre(2, 2));
    EXPECT_EQ(viewer_->Text(), first);
}

TEST_F(ViewerWindowTest, AnEnsembleThatCannotBeReadGivesAMessage) {
    // The set claims more ensembles than its arrays hold.
    app_->Core.Set.CurrentEnsIndex = app_->Core.Data.Capacity + 1;
    viewer_->Update_Data_View(app_->Core.Data.Capacity, 0);
    EXPECT_EQ(viewer_->Text(), ViewerWindow::kNoData);
}

TEST_F(ViewerWindowTest, FontMenuSetsSizeAndBold) {
    EXPECT_EQ(viewer_->Text1()->font().pointSize(), 8);
    EXPECT_TRUE(viewer_->Size_Item(3)->isChecked());
    for (int index = 0; index < static_cast<int>(ViewerWindow::kSizes.size()); ++index) {
        viewer_->Size_Item(index)->trigger();
        EXPECT_EQ(viewer_->Text1()->font().pointSize(), ViewerWindow::kSizes[static_cast<size_t>(index)]);
        for (int other = 0; other < static_cast<int>(ViewerWindow::kSizes.size()); ++other)
            EXPECT_EQ(viewer_->Size_Item(other)->isChecked(), other == index) << index << " " << other;
    }
    for (bool bold : {true, false}) {
        viewer_->Bold_Item()->trigger();
        EXPECT_EQ(viewer_->Bold_Item()->isChecked(), bold);
        EXPECT_EQ(viewer_->Text1()->font().bold(), bold);
    }
}

} // namespace
} // namespace mvx::test
