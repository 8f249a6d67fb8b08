// The navigator and the sub-set window over a file that needs the exact index (ensembles of varying
// length, numbers that skip and repeat): each whole-set column stands for the ensemble loaded there, a
// dragged box selects, loads and saves exactly the ensembles of its columns, the scroll bar and arrow
// keys move the sub set by ensembles present, and each sub-set column is the ensemble of its slot.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "app/SubSetWindow.h"
#include "app/TrackVectorWindow.h"
#include "app/WholeSetWindow.h"
#include "charts/SubSetPlots.h"
#include "simulator/Simulator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <filesystem>

namespace mvx::test {
namespace {

class NavigatorIndexedTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        whole_ = new WholeSetWindow(*app_, *form_);
        subSet_ = new SubSetWindow(*app_, *form_);
        form_->Form_Load("");
        // Ensembles 1..700 of varying length, without 101..160, with 300 twice.
        SimulationSpec spec;
        spec.Ensembles = 700;
        spec.Cells = 12;
        spec.TextVary = 500;
        Simulator sim(spec);
        std::vector<uint8_t> bytes;
        for (std::vector<uint8_t> piece; sim.Next(piece); piece.clear()) {
            const int32_t number = sim.Index();
            if (number > 100 && number <= 160) continue;
            for (int copy = 0; copy < (number == 300 ? 2 : 1); ++copy) {
                bytes.insert(bytes.end(), piece.begin(), piece.end());
                numbers_.push_back(number);
                pieces_.push_back(piece);
            }
        }
        path_ = ScratchDir() / "NAVINDEX.000";
        WriteAll(path_, bytes);
        dialogs_.OpenAnswers.push_back(path_.string());
        form_->Open_File();
        ASSERT_TRUE(Set().FileValid);
        ASSERT_FALSE(Set().Index.Empty());
        stride_ = Set().WholeStepSaved + 1;
        ASSERT_GT(stride_, 1);
    }
    const SetDescriptors& Set() const { return app_->Core.Set; }
    // The number of the ensemble the whole-set load stored in column k: every stride-th of the file.
    int32_t ColumnNumber(int32_t k) const { return numbers_[static_cast<size_t>(k * stride_)]; }
    int32_t LastColumn() const { return whole_->Chart().Contour.Axes.NumEnsembles - 1; }
    // The leftmost pixel of a column's cell in the chart, found through the contour's own pointer mapping.
    QPointF ColumnAt(int32_t column, int32_t bin) const {
        const Surface& p = whole_->Picture1();
        const int32_t top = whole_->Chart().Contour.Axes.LastBinShown; // the bin of row 0
        for (int x = 0; x < p.Width(); ++x)
            for (int y = 0; y < p.Height(); y += 2) {
                const ChartDataIndex at = Get_Chart3d_DataIndex(whole_->Chart().Contour, p, x, y);
                if (at.Inside && at.EnsembleIndex == column && top - at.BinRow == bin)
                    return {static_cast<double>(x), y + 0.5};
            }
        ADD_FAILURE() << "no pixel of column " << column;
        return {};
    }
    void Drag(QPointF from, QPointF to) {
        QWidget* w = whole_->Picture1_Widget();
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(whole_->Client(), &space);
        for (auto [type, at] :
             {std::pair{QEvent::MouseButtonPress, from}, {QEvent::MouseButtonRelease, to}}) {
            QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(w, &e);
        }
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(whole_->Client(), &up);
    }

    // The loaded slots hold the entries first, first + 1, ... of the file, as many as before.
    void ExpectEntriesFrom(size_t first, int32_t held) const {
        const EnsembleSet& d = app_->Core.Data;
        ASSERT_EQ(Set().CurrentEnsIndex, held);
        ASSERT_LE(first + static_cast<size_t>(held), numbers_.size());
        ASSERT_GE(d.EnsNumbers.Slots(), held);
        for (int32_t k = 0; k < held; ++k)
            ASSERT_EQ(d.EnsNumbers[k], numbers_[first + static_cast<size_t>(k)]) << "slot " << k;
        EXPECT_EQ(Set().LastEnsNumber, numbers_[first + static_cast<size_t>(held) - 1]);
    }
    void SubSetMouse(QEvent::Type type, QPointF at) {
        QWidget* w = subSet_->Picture1_Widget();
        QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    void SubSetKey(QEvent::Type type, int key) {
        QKeyEvent e(type, key, Qt::NoModifier);
        QApplication::sendEvent(subSet_->Client(), &e);
    }

    WholeSetWindow* whole_ = nullptr;
    SubSetWindow* subSet_ = nullptr;
    std::vector<int32_t> numbers_;
    std::vector<std::vector<uint8_t>> pieces_;
    std::filesystem::path path_;
    int32_t stride_ = 1;
};

TEST_F(NavigatorIndexedTest, ColumnsSelectionsMarkersAndSavedSetsFollowTheLoadedEnsembles) {
    ASSERT_EQ(static_cast<size_t>(LastColumn()), (numbers_.size() - 1) / static_cast<size_t>(stride_));
    // Columns before, across and after the gap, at the repeated number, and at the edges of the chart.
    const double left = -300, right = whole_->Picture1().Width() + 300.0;
    const struct {
        int32_t pressColumn;
        double releaseX; // < 0: the centre of releaseColumn
        int32_t releaseColumn, first, last;
    } cases[] = {
        {10, -1, 40, ColumnNumber(10), ColumnNumber(40)},   // over the gap
        {82, -1, 78, ColumnNumber(78), ColumnNumber(82)},   // leftwards, over the repeated 300
        {80, -1, 85, 300, ColumnNumber(85)},                // from the second 300's column
        {20, left, 0, 1, ColumnNumber(20)},                 // let go left of the chart: its first column
        {150, right, LastColumn(), ColumnNumber(150), 700}, // right of it: the file's last ensemble
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pressColumn);
        const QPointF press = ColumnAt(c.pressColumn, 3);
        const QPointF release =
            c.releaseX < 0 ? ColumnAt(c.releaseColumn, 8) : QPointF(c.releaseX, press.y() + 300);
        Drag(press, release);
        EXPECT_EQ(Set().SelFirstEns, c.first);
        EXPECT_EQ(Set().SelLastEns, c.last);
        // The sub set lands on the first column's ensemble, and its marker starts in that column.
        EXPECT_EQ(Set().FirstEnsNumber, c.first);
        ASSERT_GE(app_->Core.Data.EnsNumbers.Slots(), 1);
        EXPECT_EQ(app_->Core.Data.EnsNumbers[0], c.first);
        const MarkerRect& sub = whole_->Chart().Markers.Sub;
        ASSERT_TRUE(sub.Valid);
        // Its left edge is the left edge of the column, to the pixel.
        EXPECT_NEAR(sub.X1, ColumnAt(std::min(c.pressColumn, c.releaseColumn), 3).x(), 1.0);
    }
    // Save Selected Set copies exactly the selected ensembles, each whole, the repeated one twice.
    std::vector<uint8_t> expected;
    for (size_t k = 0; k < numbers_.size(); ++k)
        if (numbers_[k] >= ColumnNumber(78) && numbers_[k] <= ColumnNumber(82))
            expected.insert(expected.end(), pieces_[k].begin(), pieces_[k].end());
    Drag(ColumnAt(78, 3), ColumnAt(82, 8));
    const auto target = ScratchDir() / "navsaved.000";
    std::filesystem::remove(target);
    dialogs_.SaveAnswers.push_back(target.string());
    form_->Save_Selected_Data_Set_Click();
    const std::string saved = ReadText(target);
    EXPECT_TRUE(saved == std::string(expected.begin(), expected.end()))
        << saved.size() << " " << expected.size();
}

TEST_F(NavigatorIndexedTest, ScrollBarAndArrowKeysMoveTheSubSetByEnsemblesPresent) {
    QScrollBar* bar = whole_->findChild<QScrollBar*>("HScroll1");
    ASSERT_NE(bar, nullptr);
    const int32_t held = Set().CurrentEnsIndex;
    ASSERT_GT(held, 100); // the first sub set reaches over the gap
    const size_t count = numbers_.size(), last = count - static_cast<size_t>(held);
    using A = QAbstractSlider::SliderAction;
    const struct {
        int key; // 0: the bar's action
        A action;
        size_t first; // entry the sub set starts at afterwards
    } steps[] = {
        {0, A::SliderPageStepAdd, static_cast<size_t>(held)}, // a page on: the next entries, over the gap
        {Qt::Key_Left, A::SliderNoAction, static_cast<size_t>(held) - 1},
        {0, A::SliderToMaximum, last}, // the last page ends at the last ensemble
        {Qt::Key_Right, A::SliderNoAction, last},
        {Qt::Key_Left, A::SliderNoAction, last - 1},
        {0, A::SliderToMinimum, 0},
        {Qt::Key_Right, A::SliderNoAction, 1},
        {0, A::SliderPageStepSub, 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.first);
        if (s.key != 0) {
            QKeyEvent e(QEvent::KeyPress, s.key, Qt::NoModifier);
            QApplication::sendEvent(whole_->Client(), &e);
        } else {
            bar->triggerAction(s.action);
        }
        ExpectEntriesFrom(s.first, held);
        if (s.first == last || s.first == 0) {
            EXPECT_EQ(bar->value(), s.first == 0 ? bar->minimum() : bar->maximum());
        }
    }
}

TEST_F(NavigatorIndexedTest, SubSetColumnsClicksArrowsAndBoxesFollowTheLoadedSlots) {
    const ContourChart& chart = subSet_->Charts().Contour;
    const EnsembleSet& d = app_->Core.Data;
    // Slots 0..99 hold 1..100 and slot 100 holds 161; from 290, slots 10 and 11 hold 300 and 12 holds 301.
    const struct {
        int32_t load; // first number of a sub set loaded before the click, 0 none
        int32_t column;
        int key; // arrow pressed after the click, 0 none
        int32_t profile;
    } clicks[] = {{0, 99, 0, 100},           {0, 99, Qt::Key_Right, 161}, {0, 100, Qt::Key_Left, 100},
                  {290, 12, 0, 301},         {0, 12, Qt::Key_Left, 300},  {0, 11, 0, 300},
                  {0, 9, Qt::Key_Right, 300}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.column);
        if (c.load != 0) {
            ASSERT_TRUE(whole_->Load_Sub_Set(c.load, c.load + 100));
        }
        ASSERT_EQ(chart.Axes.ColumnNumbers.size(), static_cast<size_t>(Set().CurrentEnsIndex));
        ASSERT_GT(Set().CurrentEnsIndex, c.column + 1);
        EXPECT_EQ(chart.Axes.ColumnNumbers[static_cast<size_t>(c.column)], d.EnsNumbers[c.column]);
        const QPointF at = Contour_Cell_Centre(*subSet_, c.column, 2);
        SubSetMouse(QEvent::MouseButtonPress, at);
        SubSetMouse(QEvent::MouseButtonRelease, at);
        if (c.key != 0) SubSetKey(QEvent::KeyPress, c.key);
        EXPECT_EQ(Set().ProfileEnsNumber, c.profile);
        // The profile chart reads the slot of the first column holding the number.
        const ProfileDataIndex p = Get_Profile_DataIndex(Sub_Set_Profile_View(app_->Core), 100, 0, 10);
        ASSERT_GE(p.EnsembleIndex, 0);
        ASSERT_LT(p.EnsembleIndex, Set().CurrentEnsIndex);
        EXPECT_EQ(d.EnsNumbers[p.EnsembleIndex], c.profile);
    }
    // A box from column 95 to 105 of the first sub set loads the ensembles of those slots: 96..100 and
    // 161..166.
    ASSERT_TRUE(whole_->Load_Sub_Set(1, 256));
    SubSetKey(QEvent::KeyPress, Qt::Key_Space);
    SubSetMouse(QEvent::MouseButtonPress, Contour_Cell_Centre(*subSet_, 95, 2));
    SubSetMouse(QEvent::MouseMove, Contour_Cell_Centre(*subSet_, 105, 6));
    SubSetMouse(QEvent::MouseButtonRelease, Contour_Cell_Centre(*subSet_, 105, 6));
    SubSetKey(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(Set().FirstEnsNumber, 96);
    ExpectEntriesFrom(95, 11);
}

TEST_F(NavigatorIndexedTest, TrackAnimationStepsOverTheGapAndEndsWhereANumberRepeats) {
    auto* track = new TrackVectorWindow(*app_, *form_);
    const struct {
        int32_t first, last; // the sub set loaded before "Go"
        int32_t held;
        size_t end; // the entry the sub set starts at when the run ends
    } runs[] = {
        // Over the gap, on to the first 300: a step from there asks for 300 again, which starts at the
        // first one, and the run ends instead of going round.
        {90, 200, 51,
         static_cast<size_t>(std::find(numbers_.begin(), numbers_.end(), 300) - numbers_.begin())},
        {400, 500, 101, numbers_.size() - 101}, // to the last ensemble
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(r.first);
        ASSERT_TRUE(whole_->Load_Sub_Set(r.first, r.last));
        ASSERT_EQ(Set().CurrentEnsIndex, r.held);
        track->Animate_Track_Click(0);
        // Past the repeat the sub set's last number resolves to the first run too: it may hold one more.
        ExpectEntriesFrom(r.end, Set().CurrentEnsIndex);
        EXPECT_NEAR(Set().CurrentEnsIndex, r.held, 1);
    }
}

} // namespace
} // namespace mvx::test
