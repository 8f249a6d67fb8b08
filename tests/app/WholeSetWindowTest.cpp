// The navigator in the running program on a real file whose first few hundred ensembles hold only bad
// velocities: the scroll bar, the arrow keys and a dragged box reach the good data, Save Selected Set
// takes the dragged selection, and the animations run and stop.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "app/Animator.h"
#include "app/SubSetWindow.h"
#include "app/WholeSetWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <filesystem>

namespace mvx::test {
namespace {

class WholeSetWindowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        whole_ = new WholeSetWindow(*app_, *form_);
        subSet_ = new SubSetWindow(*app_, *form_);
        animator_ = new Animator(*app_, *form_, *whole_, subSet_);
        form_->Form_Load("");
        SKIP_WITHOUT_DATA_FILE("down600_earth_bt.000");
        dialogs_.OpenAnswers.push_back(std::string(MARVOX_DATA_DIR) + "/down600_earth_bt.000");
        form_->Open_File();
        ASSERT_TRUE(app_->Core.Set.FileValid);
    }
    const SetDescriptors& Set() const { return app_->Core.Set; }
    const ChartScale& SubSetScale() const { return subSet_->Charts().Contour.Frame; }
    void Key(QWidget* target, int key, QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent e(type, key, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    void Mouse(QEvent::Type type, QPointF at) {
        QWidget* w = whole_->Picture1_Widget();
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    QPointF CellCentre(int32_t column, int32_t bin) const {
        const WholeSetChart& chart = whole_->Chart();
        const PixelPoint p =
            Get_Chart3d_DataCoordinate(chart, whole_->Picture1(), bin, Ensemble_Of_Column(chart, column));
        return {p.X, p.Y};
    }
    WholeSetWindow* whole_ = nullptr;
    SubSetWindow* subSet_ = nullptr;
    Animator* animator_ = nullptr;
};

TEST_F(WholeSetWindowTest, ScrollBarPagesFromTheBadStartToTheGoodData) {
    EXPECT_TRUE(whole_->isVisible());
    EXPECT_TRUE(whole_->windowTitle().startsWith("Whole Set --- Deployment Duration: "));
    EXPECT_EQ(whole_->Chart().SubText, "Sub: 1 to 256");
    EXPECT_EQ(whole_->Chart().SelText, "Sel: 1 to 1721");
    // The first sub set holds no valid velocity: the average is 0 of nothing.
    EXPECT_EQ(SubSetScale().DataCount, 0);
    QScrollBar* bar = whole_->HScroll1();
    for (int page = 0; page < 4; ++page) bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_GE(Set().FirstEnsNumber, 900);
    EXPECT_EQ(Set().LastEnsNumber - Set().FirstEnsNumber, 255);
    EXPECT_GT(SubSetScale().DataCount, 0);
    EXPECT_NE(SubSetScale().DataMean, 0);
    EXPECT_EQ(whole_->Chart().SubText,
              "Sub: " + std::to_string(Set().FirstEnsNumber) + " to " + std::to_string(Set().LastEnsNumber));
    // The bar's ends: the file's last and first sub sets, of the same length.
    bar->setValue(bar->maximum());
    EXPECT_EQ(Set().LastEnsNumber, 1721);
    EXPECT_EQ(Set().FirstEnsNumber, 1466);
    bar->setValue(bar->minimum());
    EXPECT_EQ(Set().FirstEnsNumber, 1);
    // The arrow keys move it by one ensemble; the bins cannot go up while the top bin is shown.
    Key(whole_->Client(), Qt::Key_Right);
    EXPECT_EQ(Set().FirstEnsNumber, 2);
    Key(whole_->Client(), Qt::Key_Up);
    EXPECT_EQ(Set().LastBinShown, 17);
}

TEST_F(WholeSetWindowTest, DraggedBoxSelectsAndSaveSelectedSetWritesTheSelection) {
    const int32_t first = Ensemble_Of_Column(whole_->Chart(), 150);
    const int32_t last = Ensemble_Of_Column(whole_->Chart(), 170);
    Key(whole_->Client(), Qt::Key_Space);
    Mouse(QEvent::MouseButtonPress, CellCentre(170, 5));
    Mouse(QEvent::MouseMove, CellCentre(160, 10));
    Mouse(QEvent::MouseMove, CellCentre(150, 15));
    Mouse(QEvent::MouseButtonRelease, CellCentre(150, 15));
    Key(whole_->Client(), Qt::Key_Space, QEvent::KeyRelease);
    EXPECT_EQ(Set().SelFirstEns, first);
    EXPECT_EQ(Set().SelLastEns, last);
    EXPECT_EQ(Set().FirstEnsNumber, first);
    EXPECT_EQ(Set().LastEnsNumber, last);
    EXPECT_EQ(Set().FirstBinShown, 5);
    EXPECT_EQ(Set().LastBinShown, 15);
    EXPECT_EQ(whole_->Chart().SelText, "Sel: " + std::to_string(first) + " to " + std::to_string(last));
    EXPECT_GT(SubSetScale().DataCount, 0);

    const auto target = ScratchDir() / "selected.000";
    std::filesystem::remove(target);
    dialogs_.SaveAnswers.push_back(target.string());
    form_->Save_Selected_Data_Set_Click();
    ASSERT_TRUE(std::filesystem::exists(target));
    EXPECT_EQ(std::filesystem::file_size(target),
              static_cast<uintmax_t>(last - first + 1) * (app_->Core.Frame.EnsembleBytes + 2));

    // A click without the space key, and a box of no width, select nothing.
    Key(whole_->Client(), Qt::Key_Space);
    Mouse(QEvent::MouseButtonPress, CellCentre(10, 5));
    Mouse(QEvent::MouseButtonRelease, CellCentre(10, 15));
    EXPECT_EQ(Set().SelFirstEns, first);
    EXPECT_EQ(Set().FirstEnsNumber, first);

    // A box let go far beyond the chart ends at its last column and bottom row.
    Key(whole_->Client(), Qt::Key_Space);
    Mouse(QEvent::MouseButtonPress, CellCentre(200, 10));
    Mouse(QEvent::MouseButtonRelease,
          QPointF(whole_->Picture1().Width() + 300, whole_->Picture1().Height() + 300));
    EXPECT_EQ(Set().SelFirstEns, Ensemble_Of_Column(whole_->Chart(), 200));
    EXPECT_EQ(Set().SelLastEns, 1721);
    EXPECT_EQ(Set().FirstBinShown, 1);
    EXPECT_EQ(Set().LastBinShown, 10);
}

TEST_F(WholeSetWindowTest, AnimationsRunToTheirEndsAndStopOnAKeyOrAnOpen) {
    const MainMenu& m = form_->Menu();
    m.Con_Ani(0)->trigger();
    EXPECT_TRUE(m.Con_Ani(0)->isChecked());
    EXPECT_TRUE(animator_->Timer(AnimationKind::Contour).isActive());
    for (int i = 0; i < 100 && m.Con_Ani(0)->isChecked(); ++i) animator_->Step(AnimationKind::Contour);
    EXPECT_FALSE(m.Con_Ani(0)->isChecked());
    EXPECT_FALSE(animator_->Timer(AnimationKind::Contour).isActive());
    EXPECT_EQ(Set().LastEnsNumber, 1721);
    m.Con_Ani(1)->trigger();
    EXPECT_EQ(Set().FirstEnsNumber, 1);
    // Left to its timer, the run reaches the end of the file while the window system goes on.
    m.Con_Ani(0)->trigger();
    QElapsedTimer clock;
    clock.start();
    while (m.Con_Ani(0)->isChecked() && clock.elapsed() < 120000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(Set().LastEnsNumber, 1721);

    m.Pro_Ani(1)->trigger();
    EXPECT_EQ(Set().ProfileEnsNumber, 1466);
    m.Pro_Ani(0)->trigger(); // the first step at once
    animator_->Step(AnimationKind::Profile);
    EXPECT_EQ(Set().ProfileEnsNumber, 1468);
    Key(subSet_->Client(), Qt::Key_A); // any key of the sub-set window stops it
    EXPECT_FALSE(m.Pro_Ani(0)->isChecked());
    EXPECT_FALSE(animator_->Timer(AnimationKind::Profile).isActive());

    m.Ser_Ani(0)->trigger();
    EXPECT_TRUE(m.Ser_Ani(0)->isChecked());
    form_->RecentIndex = 1;
    form_->Open_File();
    EXPECT_FALSE(m.Ser_Ani(0)->isChecked());
    EXPECT_FALSE(app_->Core.Menus.AnimateSeriesGo);
}

} // namespace
} // namespace mvx::test
