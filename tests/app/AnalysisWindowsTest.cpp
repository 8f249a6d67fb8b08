// The track vector, trend and report editor windows in the running program, driven by their menus and
// scripted dialogs.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "app/ReportEditorWindow.h"
#include "app/TrackVectorWindow.h"
#include "app/TrendWindow.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QSlider>

namespace mvx::test {
namespace {

class AnalysisWindowsTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        track_ = new TrackVectorWindow(*app_, *form_);
        trend_ = new TrendWindow(*app_, *form_);
        report_ = new ReportEditorWindow(*app_, *form_);
        form_->Form_Load("");
        form_->resize(1200, 900);
        dialogs_.OpenAnswers.push_back(SimulatedFile(40));
        form_->Open_File();
        ASSERT_TRUE(app_->Core.Set.FileValid);
    }
    TrackVectorWindow* track_ = nullptr;
    TrendWindow* trend_ = nullptr;
    ReportEditorWindow* report_ = nullptr;
};

TEST_F(AnalysisWindowsTest, TrackVectorFollowsItsMenusAndTheAngleEntries) {
    ASSERT_TRUE(form_->Menu().Show_Seismic->isEnabled());
    form_->Menu().Show_Seismic->trigger();
    ASSERT_FALSE(track_->isHidden());
    track_->Show_Track_Vector_Data();
    EXPECT_TRUE(track_->Chart().Drawn);
    const CoreState& core = app_->Core;
    // Manual: a slip of the keyboard keeps the angle, 270 is taken as 180, 90 projects onto east.
    const struct {
        const char* Answer;
        double Angle;
    } entries[] = {{"north", 0}, {"270", 180}, {"90", 90}};
    for (const auto& e : entries) {
        dialogs_.InputAnswers.push_back(e.Answer);
        track_->Select_Auto_Click(2);
        EXPECT_DOUBLE_EQ(track_->State().ManualAngle, e.Angle) << e.Answer;
    }
    EXPECT_TRUE(track_->Menu().Select_Auto(2)->isChecked());
    EXPECT_FALSE(track_->Menu().Select_Auto(0)->isChecked());
    EXPECT_EQ(core.Opts.TrackProperty, 90);
    int compared = 0;
    for (int i = 0; i < core.Set.CurrentEnsIndex; ++i)
        for (int b = 0; b < core.Setup.NumCells; ++b)
            if (core.Data.VelData(0, b, i) != kBadValue && core.Data.VelData(1, b, i) != kBadValue) {
                EXPECT_EQ(core.Data.VelData(6, b, i), core.Data.VelData(0, b, i));
                EXPECT_EQ(core.Data.VelData(7, b, i), -core.Data.VelData(1, b, i));
                ++compared;
            }
    EXPECT_GT(compared, 0);
    // The pointer text names the ensemble under the middle of the upper chart.
    const TrackChartGeometry& g = track_->Chart().Upper;
    const std::string tip = track_->Do_Tool_Tip(true, g.Left + g.PlotWidth / 2, g.Top + g.PlotHeight / 2);
    EXPECT_EQ(tip.rfind("ENSEMBLE ", 0), 0u) << tip;
    EXPECT_TRUE(track_->Do_Tool_Tip(true, 0, 0).empty());
    // Units and time origin.
    // Some ensemble across the plot reads in the chosen unit.
    auto anyTipIn = [&](const std::string& unit) {
        for (double x = g.Left; x < g.Left + g.PlotWidth; x += g.Step)
            if (track_->Do_Tool_Tip(true, x, g.Top + 2).find(unit) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(anyTipIn(" m/s"));
    track_->Speed_Units_Click(2);
    EXPECT_TRUE(anyTipIn(" cm/s"));
    EXPECT_FALSE(anyTipIn(" m/s"));
    track_->LeftToRight_Click();
    EXPECT_TRUE(track_->Menu().LeftToRight->isChecked());
    EXPECT_FALSE(track_->Chart().Upper.Mirrored);
    // A load elsewhere asks for a new rotation; the window does it when it draws.
    form_->Show_Selected_Data(500);
    EXPECT_TRUE(core.Set.RotateNeeded);
    track_->Show_Track_Vector_Data();
    EXPECT_FALSE(core.Set.RotateNeeded);
}

TEST_F(AnalysisWindowsTest, TrendPicksCandlesAndLinesAndFollowsTheSlider) {
    Candles& c = app_->Core.Series;
    c.Resize(3, 2, 1, 4);
    c.CandleUnits[0] = "mm/s";
    c.CandleLabels[0] = "Bin ";
    c.GroupCodes[0] = 100;
    for (int k = 0; k < 3; ++k)
        for (int r = 0; r < 2; ++r) {
            c.CandleStats[c.StatIndex(CandleLast, k, r, 0)] = 3;
            for (int s = 0; s < 4; ++s) c.CandleSamples[c.SampleIndex(0, r, k, s)] = int16_t(10 * s + r);
        }
    ASSERT_TRUE(form_->Menu().Show_Trend->isEnabled());
    form_->Menu().Show_Trend->trigger();
    ASSERT_FALSE(trend_->isHidden());
    ASSERT_TRUE(trend_->Chart().Drawn);
    const struct {
        const char* Answer;
        int Candle;
    } entries[] = {{"99", 2}, {"", 2}, {"0", 0}, {"2", 1}};
    for (const auto& e : entries) {
        dialogs_.InputAnswers.push_back(e.Answer);
        trend_->Label1_Click();
        EXPECT_EQ(c.SelectedCandle, e.Candle) << e.Answer;
    }
    EXPECT_EQ(dialogs_.Asked.back().Text, "Enter Candle Number from 1 to 3");
    // The first table line shows the last row; a click below the table changes nothing.
    const TrendChart& chart = trend_->Chart();
    trend_->Picture1_Click(chart.TableTop + 0.5 * chart.LineHeight);
    EXPECT_EQ(c.TrendRow, 1);
    trend_->Picture1_Click(chart.TableTop + 5.5 * chart.LineHeight);
    EXPECT_EQ(c.TrendRow, 1);
    trend_->Slider1()->setValue(3);
    EXPECT_EQ(c.TrendPasses, 3);
    EXPECT_EQ(trend_->Chart().Text.Header[0], "Triangular Width 7");
}

TEST_F(AnalysisWindowsTest, ReportEditorSnapshotCaptionsSaveAndLoad) {
    ASSERT_TRUE(form_->Menu().Edit_Contour->isEnabled());
    form_->Menu().Edit_Contour->trigger();
    ASSERT_FALSE(report_->isHidden());
    EXPECT_EQ(report_->Snapshot().Ensembles, app_->Core.Set.CurrentEnsIndex);
    EXPECT_EQ(report_->Snapshot().Bins, app_->Core.Set.LastBinShown - app_->Core.Set.FirstBinShown + 1);
    dialogs_.InputAnswers.push_back("My survey");
    report_->Menu().Captions(0)->trigger();
    EXPECT_EQ(report_->windowTitle().toStdString(), "My survey");
    dialogs_.InputAnswers.push_back("");
    report_->Menu().Captions(5)->trigger(); // "Y axis": an empty answer keeps it
    EXPECT_EQ(report_->Snapshot().YAxisCaption, "Y axis");

    const auto dir = ScratchDir();
    const std::string saved = (dir / "r.mvr").string(), damaged = (dir / "bad.mvr").string();
    dialogs_.SaveAnswers = {saved, saved};
    report_->Save_Data();
    const std::string text = ReadText(saved);
    report_->Save_Data(); // onto a file that holds data: refused, file unchanged
    EXPECT_EQ(dialogs_.Asked.back().Text, "Over-Write of File Not Allowed");
    EXPECT_EQ(ReadText(saved), text);
    WriteAll(damaged, std::vector<uint8_t>(text.begin(), text.begin() + 30));
    dialogs_.InputAnswers.push_back("Other");
    report_->Menu().Captions(0)->trigger();
    dialogs_.OpenAnswers = {damaged, saved};
    report_->Load_Data(); // refused with a message, snapshot kept
    EXPECT_EQ(dialogs_.Asked.back().Kind, "message");
    EXPECT_EQ(report_->Snapshot().Caption, "Other");
    report_->Load_Data();
    EXPECT_EQ(report_->Snapshot().Caption, "My survey");
}

} // namespace
} // namespace mvx::test
