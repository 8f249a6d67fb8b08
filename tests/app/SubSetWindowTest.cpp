// The sub-set window in the running program: drawn after Open, shown and hidden from the Window menu,
// clicks, the zoom box, keys, splitters and the composite copy, driven by mouse and key events.
#include "AppTestSupport.h"

#include "TestEnsembles.h"
#include "TestSupport.h"
#include "app/InformationWindow.h"
#include "app/SubSetWindow.h"
#include "app/WindowLayouts.h"
#include "charts/SeriesChart.h"
#include "options/OptionsFile.h"
#include "platform/Twips.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

namespace mvx::test {
namespace {

constexpr int kCells = 12;
constexpr int kEnsembles = 40;

// Ensembles 1..40 of 12 up-looking cells, 2 s apart, whose velocities grow from one ensemble to the
// next so that every column of the contour has its own colour.
std::filesystem::path WriteSet() {
    const auto path = ScratchDir() / "subset.000";
    std::vector<uint8_t> bytes;
    BroadbandSpec spec;
    spec.Cells = kCells;
    for (int k = 1; k <= kEnsembles; ++k) {
        spec.Number = k;
        spec.Time[5] = static_cast<uint8_t>((2 * k) % 60);
        spec.Time[4] = static_cast<uint8_t>((2 * k) / 60);
        spec.Velocity = static_cast<int16_t>(20 * k);
        const auto e = BuildBroadband(spec);
        bytes.insert(bytes.end(), e.begin(), e.end());
    }
    WriteAll(path, bytes);
    return path;
}

class SubSetWindowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        subSet_ = new mvx::SubSetWindow(*app_, *form_);
        form_->Form_Load("");
        dialogs_.OpenAnswers.push_back(WriteSet().string());
        form_->Open_File();
        ASSERT_TRUE(app_->Core.Set.FileValid);
    }

    // The pixel at the centre of a cell of the contour (row counted from the top).
    QPointF CellCentre(int ensemble, int rowFromTop) const {
        return Contour_Cell_Centre(*subSet_, ensemble, rowFromTop);
    }

    // The share of a cell's pixels that have a colour.
    double PixelsOfColour(int ensemble, int rowFromTop, ColorRef colour) const {
        const QPointF a = CellCentre(ensemble, rowFromTop),
                      step = CellCentre(ensemble + 1, rowFromTop + 1) - a;
        int total = 0, match = 0;
        for (int y = static_cast<int>(a.y() - step.y() / 2 + 1); y < a.y() + step.y() / 2 - 1; ++y)
            for (int x = static_cast<int>(a.x() - step.x() / 2 + 1); x < a.x() + step.x() / 2 - 1; ++x) {
                ++total;
                match += subSet_->Picture1().GetPixel(x, y) == colour;
            }
        return total > 0 ? static_cast<double>(match) / total : 0;
    }

    void Mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::LeftButton) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    void Click(QPointF at) {
        Mouse(subSet_->Picture1_Widget(), QEvent::MouseButtonPress, at);
        Mouse(subSet_->Picture1_Widget(), QEvent::MouseButtonRelease, at);
    }
    void Key(QEvent::Type type, int key) {
        QKeyEvent e(type, key, Qt::NoModifier);
        QApplication::sendEvent(subSet_->Client(), &e);
    }
    void Drag(QPointF from, QPointF to) {
        QWidget* w = subSet_->Picture1_Widget();
        Key(QEvent::KeyPress, Qt::Key_Space);
        Mouse(w, QEvent::MouseButtonPress, from);
        Mouse(w, QEvent::MouseMove, (from + to) / 2);
        Mouse(w, QEvent::MouseMove, to);
        Mouse(w, QEvent::MouseButtonRelease, to);
        Key(QEvent::KeyRelease, Qt::Key_Space);
    }

    // Where Fit_Form puts the window: below the information window, across the main window.
    QRect FitPlace() const {
        const QSize inner = form_->Area()->viewport()->size();
        const int top = static_cast<int>(std::lround(inner.height() / 3.0));
        return QRect(0, top, inner.width(), inner.height() - top);
    }
    // A new start of the program with the sub-set window, on a command line.
    void StartAgain(const std::string& commandLine) {
        Restart();
        subSet_ = new mvx::SubSetWindow(*app_, *form_);
        form_->Form_Load(commandLine);
    }

    mvx::SubSetWindow* subSet_ = nullptr;
};

TEST_F(SubSetWindowTest, OpenDrawsTheContourAndShowsTheWindow) {
    EXPECT_TRUE(subSet_->isVisible());
    EXPECT_TRUE(form_->Menu().Show_Data_Set(2)->isEnabled());
    EXPECT_TRUE(form_->Menu().Show_Data_Set(2)->isChecked());
    EXPECT_EQ(subSet_->windowTitle(), "Sub Set --- Deployment Duration: 00:01:18.00");
    const ContourChart& c = subSet_->Charts().Contour;
    EXPECT_EQ(c.DataType, 500);
    EXPECT_EQ(c.Axes.NumEnsembles, kEnsembles);
    EXPECT_EQ(c.Axes.LastBinShown, kCells);
    // Magnitudes grow along the set, so the colour index grows from column to column. Most pixels of a
    // cell carry its colour (a locator or grid line may cross it).
    EXPECT_LT(c.Cell(6, 0), c.Cell(6, kEnsembles - 1));
    for (int e : {0, kEnsembles / 2, kEnsembles - 1}) {
        EXPECT_GT(PixelsOfColour(e, 5, app_->ColorTable[static_cast<size_t>(c.Cell(6, e))]), 0.6) << e;
        EXPECT_LT(PixelsOfColour(e, 5, kWhite), 0.4) << e;
    }
    // The picture widgets sit where the layout puts them.
    const SubSetLayout& l = subSet_->Charts().Layout;
    EXPECT_EQ(subSet_->Picture1_Widget()->geometry(),
              QRect(l.Contour.X, l.Contour.Y, l.Contour.Width, l.Contour.Height));
    EXPECT_EQ(subSet_->Picture4_Widget()->geometry(),
              QRect(l.Series.X, l.Series.Y, l.Series.Width, l.Series.Height));
    EXPECT_EQ(subSet_->Picture5_Widget()->geometry(), QRect(0, 0, l.Profile.Width, l.Profile.Height));
    EXPECT_EQ(l.WindowWidth, subSet_->Client()->width());
}

TEST_F(SubSetWindowTest, WindowMenuItemHidesAndShowsIt) {
    QAction* item = form_->Menu().Show_Data_Set(2);
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(subSet_->isVisible());
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(subSet_->isVisible());
    // Closing the window clears the check mark.
    subSet_->close();
    EXPECT_FALSE(subSet_->isVisible());
    EXPECT_FALSE(item->isChecked());
    // Align Forms places it below the information window, across the main window, and the charts follow
    // the new size.
    item->trigger();
    subSet_->resize(500, 300);
    form_->Align_Forms_Click();
    QApplication::processEvents();
    EXPECT_EQ(subSet_->geometry(), FitPlace());
    EXPECT_EQ(subSet_->Charts().Layout.WindowWidth, subSet_->Client()->width());
    EXPECT_EQ(subSet_->Charts().Layout.WindowHeight, subSet_->Client()->height());
    EXPECT_EQ(subSet_->Picture1_Widget()->geometry().right() + 1, subSet_->Client()->width());
    subSet_->close();
    // A new Open leaves an unchecked window hidden.
    dialogs_.OpenAnswers.push_back(WriteSet().string());
    form_->Open_File();
    EXPECT_FALSE(subSet_->isVisible());
}

TEST_F(SubSetWindowTest, ClickPicksTheProfileEnsembleAndTogglesASeriesBin) {
    SetDescriptors& set = app_->Core.Set;
    Click(CellCentre(7, 3));
    EXPECT_EQ(set.ProfileEnsNumber, set.FirstEnsNumber + 7);
    // Row 3 from the top of 12 bins shown is bin 9.
    EXPECT_TRUE(app_->Core.Opts.SeriesBinSelect[9]);
    Click(CellCentre(2, 3));
    EXPECT_EQ(set.ProfileEnsNumber, set.FirstEnsNumber + 2);
    EXPECT_FALSE(app_->Core.Opts.SeriesBinSelect[9]);
    // Two pixels left of the plot: no profile ensemble is picked.
    const double left = subSet_->Charts().Contour.Frame.LeftMargin;
    Click(QPointF(left - 2, CellCentre(0, 0).y()));
    EXPECT_EQ(set.ProfileEnsNumber, set.FirstEnsNumber + 2);
    Click(QPointF(left - 1, CellCentre(0, 0).y()));
    EXPECT_EQ(set.ProfileEnsNumber, set.FirstEnsNumber);
}

TEST_F(SubSetWindowTest, DraggedBoxLoadsTheSubSetUnderIt) {
    const int32_t first = app_->Core.Set.FirstEnsNumber;
    Drag(CellCentre(5, 2), CellCentre(20, 7));
    const SetDescriptors& set = app_->Core.Set;
    EXPECT_EQ(set.FirstEnsNumber, first + 5);
    EXPECT_EQ(set.LastEnsNumber, first + 20);
    EXPECT_EQ(set.CurrentEnsIndex, 16);
    EXPECT_EQ(set.FirstBinShown, kCells - 7);
    EXPECT_EQ(set.LastBinShown, kCells - 2);
    // The charts were rebuilt on the new set.
    const ContourChart& c = subSet_->Charts().Contour;
    EXPECT_EQ(c.Axes.NumEnsembles, 16);
    EXPECT_EQ(c.Axes.FirstBinShown, kCells - 7);
    EXPECT_FALSE(c.Zoom.ZoomDragging);
    EXPECT_EQ(app_->Pointer.Shape(), PointerShape::Default);

    // The same box dragged the other way on the whole set again selects the same sub set.
    dialogs_.OpenAnswers.push_back(WriteSet().string());
    form_->Open_File();
    Drag(CellCentre(20, 7), CellCentre(5, 2));
    EXPECT_EQ(set.FirstEnsNumber, first + 5);
    EXPECT_EQ(set.LastEnsNumber, first + 20);
    EXPECT_EQ(set.FirstBinShown, kCells - 7);
    EXPECT_EQ(set.LastBinShown, kCells - 2);
}

TEST_F(SubSetWindowTest, DragWithoutTheSpaceKeyOrWithinOneRowLoadsNothing) {
    const int32_t first = app_->Core.Set.FirstEnsNumber, last = app_->Core.Set.LastEnsNumber;
    QWidget* w = subSet_->Picture1_Widget();
    Mouse(w, QEvent::MouseButtonPress, CellCentre(5, 2));
    Mouse(w, QEvent::MouseMove, CellCentre(20, 7));
    Mouse(w, QEvent::MouseButtonRelease, CellCentre(20, 7));
    EXPECT_EQ(app_->Core.Set.FirstEnsNumber, first);
    EXPECT_EQ(app_->Core.Set.LastEnsNumber, last);
    Drag(CellCentre(5, 4), CellCentre(20, 4));
    EXPECT_EQ(app_->Core.Set.FirstEnsNumber, first);
    EXPECT_EQ(app_->Core.Set.LastBinShown, kCells);
    // The box came off the picture again: a locator-free redraw gives the same pixels.
    const QImage shown = subSet_->Picture1().Image().copy();
    subSet_->Init_Charts(500);
    EXPECT_TRUE(shown == subSet_->Picture1().Image());
}

TEST_F(SubSetWindowTest, ArrowKeysStepTheProfileEnsembleAndStopAnimation) {
    int stops = 0;
    form_->Hooks().Stop_Animate = [&] { ++stops; };
    SetDescriptors& set = app_->Core.Set;
    ASSERT_EQ(set.ProfileEnsNumber, set.FirstEnsNumber);
    Key(QEvent::KeyPress, Qt::Key_Left);
    EXPECT_EQ(set.ProfileEnsNumber, set.FirstEnsNumber);
    Key(QEvent::KeyPress, Qt::Key_Right);
    Key(QEvent::KeyPress, Qt::Key_Right);
    EXPECT_EQ(set.ProfileEnsNumber, set.FirstEnsNumber + 2);
    EXPECT_EQ(stops, 3);
    auto& bins = app_->Core.Opts.SeriesBinSelect;
    bins = {};
    bins[4] = true;
    Key(QEvent::KeyPress, Qt::Key_Up);
    EXPECT_TRUE(bins[5]);
    EXPECT_FALSE(bins[4]);
    Key(QEvent::KeyPress, Qt::Key_Down);
    Key(QEvent::KeyPress, Qt::Key_Down);
    EXPECT_TRUE(bins[3]);
}

TEST_F(SubSetWindowTest, RightClickAsksForTheContourOptions) {
    std::vector<int> tabs;
    form_->Hooks().Show_Options = [&](int tab) { tabs.push_back(tab); };
    Mouse(subSet_->Picture1_Widget(), QEvent::MouseButtonPress, CellCentre(3, 3), Qt::RightButton);
    Mouse(subSet_->Picture1_Widget(), QEvent::MouseButtonRelease, CellCentre(3, 3), Qt::RightButton);
    EXPECT_EQ(tabs, std::vector<int>{1});
}

TEST_F(SubSetWindowTest, SplittersShareTheWindowOut) {
    QWidget* profile = subSet_->Picture5_Widget();
    const int width = subSet_->Client()->width();
    Mouse(profile, QEvent::MouseButtonPress, QPointF(profile->width() - 1, 50));
    Mouse(profile, QEvent::MouseMove, QPointF(width / 2.0, 50));
    Mouse(profile, QEvent::MouseButtonRelease, QPointF(width / 2.0, 50));
    EXPECT_NEAR(app_->Core.Opts.ProfileWidthShare, 0.5, 1e-9);
    EXPECT_EQ(subSet_->Picture5_Widget()->width(), std::lround(width * 0.5));
    EXPECT_EQ(subSet_->Charts().Layout.Contour.Width + subSet_->Charts().Layout.Contour.X, width);

    QWidget* series = subSet_->Picture4_Widget();
    const int height = subSet_->Client()->height();
    const int top = series->y();
    Mouse(series, QEvent::MouseButtonPress, QPointF(40, 1));
    Mouse(series, QEvent::MouseButtonRelease, QPointF(40, height - top + 50)); // below the window
    EXPECT_NEAR(app_->Core.Opts.ContourHeightShare, (height - 3.0) / height, 1e-9);
}

TEST_F(SubSetWindowTest, CopySubSetPutsTheCompositeOnTheClipboard) {
    QGuiApplication::clipboard()->clear();
    form_->Menu().Copy_Form(1)->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    const SubSetLayout& l = subSet_->Charts().Layout;
    ASSERT_EQ(copied.size(), QSize(l.Contour.Width + l.Profile.Width, l.Contour.Height + l.Series.Height));
    const QImage contour = subSet_->Picture1().Image();
    const QPoint probe(contour.width() / 2, contour.height() / 2);
    EXPECT_EQ(copied.pixel(probe + QPoint(l.Contour.X, l.Contour.Y)), contour.pixel(probe));
}

TEST_F(SubSetWindowTest, LayoutOfAMaximisedSubSetAndAMinimisedInformationWindowSurvivesARestart) {
    QMdiSubWindow& info = form_->Info();
    info.showNormal();
    info.setGeometry(10, 20, 300, 200);
    subSet_->showNormal();
    subSet_->setGeometry(30, 220, 500, 260);
    info.showMinimized();
    subSet_->showMaximized();
    const QSize area = form_->Area()->viewport()->size();
    ASSERT_EQ(subSet_->size(), area);

    form_->Store_Window_Layout();
    // Reading the records leaves every window as it was.
    EXPECT_TRUE(info.isMinimized());
    EXPECT_TRUE(subSet_->isMaximized());
    const double tpp = TwipsPerPixel(form_.get());
    const WindowLayout& i = app_->Core.Opts.Windows[kLayoutInformation];
    EXPECT_EQ(i.State, 1);
    EXPECT_EQ(i.Left, PixelsToTwips(10, tpp));
    EXPECT_EQ(i.Top, PixelsToTwips(20, tpp));
    EXPECT_EQ(i.Width, PixelsToTwips(300, tpp));
    EXPECT_EQ(i.Height, PixelsToTwips(200, tpp));
    const WindowLayout& s = app_->Core.Opts.Windows[kLayoutSubSet];
    EXPECT_EQ(s.State, 2);
    EXPECT_EQ(s.Left, PixelsToTwips(30, tpp));
    EXPECT_EQ(s.Top, PixelsToTwips(220, tpp));
    EXPECT_EQ(s.Width, PixelsToTwips(500, tpp));
    EXPECT_EQ(s.Height, PixelsToTwips(260, tpp));

    // Exit and start again without a file: the information window comes back minimised; the sub-set
    // window, with nothing to show, stays out of sight (no blank window over the area) and unchecked.
    form_->close();
    StartAgain("");
    EXPECT_TRUE(form_->Info().isMinimized());
    EXPECT_TRUE(subSet_->isHidden());
    EXPECT_FALSE(form_->Menu().Show_Data_Set(2)->isChecked());
    EXPECT_FALSE(form_->Menu().Show_Data_Set(2)->isEnabled());
    // With no file shown, the next exit keeps the place and state of the last session that showed it.
    form_->close();
    StartAgain("");
    // A file brings the window back maximised, filling the area.
    dialogs_.OpenAnswers.push_back(WriteSet().string());
    form_->Open_File();
    ASSERT_TRUE(app_->Core.Set.FileValid);
    EXPECT_TRUE(subSet_->isVisible());
    EXPECT_TRUE(subSet_->isMaximized());
    EXPECT_TRUE(form_->Menu().Show_Data_Set(2)->isChecked());
    EXPECT_EQ(subSet_->size(), form_->Area()->viewport()->size());
    EXPECT_TRUE(form_->Info().isMinimized());
    subSet_->showNormal();
    EXPECT_EQ(subSet_->geometry(), QRect(30, 220, 500, 260));
    form_->Info().showNormal();
    EXPECT_EQ(form_->Info().geometry(), QRect(10, 20, 300, 200));
}

TEST_F(SubSetWindowTest, PlaceThatWouldNotShowTheWindowIsNeitherKeptNorApplied) {
    const std::string file = WriteSet().string();
    // A fresh installation started without a file and ended: the window never showed, so its place (a
    // title strip) is not kept.
    StartAgain("");
    form_->close();
    StartAgain(file);
    ASSERT_TRUE(subSet_->isVisible());
    EXPECT_EQ(subSet_->geometry(), FitPlace());
    // Records of a title strip and of places off the work area are not applied either.
    const double tpp = TwipsPerPixel(form_.get());
    const WindowLayout unusable[] = {{0, 0, PixelsToTwips(120, tpp), PixelsToTwips(42, tpp), 0},
                                     {PixelsToTwips(5000, tpp), 0, 6000, 4000, 0},
                                     {0, PixelsToTwips(3000, tpp), 6000, 4000, 0}};
    for (const WindowLayout& record : unusable) {
        SCOPED_TRACE(testing::Message() << record.Left << "," << record.Top << " " << record.Width);
        form_->Store_Window_Layout();
        app_->Core.Opts.Windows[kLayoutSubSet] = record;
        ASSERT_TRUE(Save_Options(app_->Core.Opts, form_->Options_Path()));
        StartAgain(file);
        ASSERT_TRUE(subSet_->isVisible());
        EXPECT_EQ(subSet_->geometry(), FitPlace());
    }
}

TEST_F(SubSetWindowTest, NameThatCannotBeReadLeavesTheLoadedFileOnScreen) {
    const std::string gone = (ScratchDir() / "gone.000").string();
    dialogs_.OpenAnswers.push_back(gone);
    form_->Open_File();
    EXPECT_TRUE(app_->Core.Set.FileValid);
    // The reason, then the statistics of the file still shown.
    EXPECT_EQ(form_->Info().Text().rfind(
                  "Cannot open " + gone + ": no such file.\n\n" + app_->Core.Set.FileName, 0),
              0u);
    EXPECT_TRUE(subSet_->isVisible());
    EXPECT_TRUE(form_->Menu().Show_Data_Set(2)->isChecked());
}

} // namespace
} // namespace mvx::test

namespace mvx::test {
namespace {

int CountColour(const QtSurface& s, ColorRef colour) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) n += s.GetPixel(x, y) == colour;
    return n;
}

TEST_F(SubSetWindowTest, ClickRedrawsTheProfileAndABinToggleAddsAndRemovesItsSeriesLine) {
    const QImage before = subSet_->Picture5().Image().copy();
    Click(CellCentre(7, 3));
    const QImage after = subSet_->Picture5().Image().copy();
    EXPECT_FALSE(before == after);
    subSet_->Init_Charts(500); // a full redraw draws the same profile
    EXPECT_TRUE(after == subSet_->Picture5().Image());

    // Magnitude and direction of bin 9 in one combo strip each, in the first line colour.
    const ColorRef line = Series_Color(0);
    EXPECT_GT(CountColour(subSet_->Picture4(), line), 0);
    Click(CellCentre(7, 3));
    EXPECT_FALSE(app_->Core.Opts.SeriesBinSelect[9]);
    EXPECT_EQ(CountColour(subSet_->Picture4(), line), 0);
    EXPECT_EQ(app_->Core.Series.CandleCount, 0);
}

TEST_F(SubSetWindowTest, SeriesSurfaceZoomsRightClicksAndShowsStatistics) {
    std::vector<int> tabs;
    form_->Hooks().Show_Options = [&](int tab) { tabs.push_back(tab); };
    for (QWidget* w : {subSet_->Picture5_Widget(), subSet_->Picture4_Widget()}) {
        Mouse(w, QEvent::MouseButtonPress, QPointF(20, 40), Qt::RightButton);
        Mouse(w, QEvent::MouseButtonRelease, QPointF(20, 40), Qt::RightButton);
    }
    EXPECT_EQ(tabs, (std::vector<int>{2, 3}));

    Click(CellCentre(0, 3)); // a series bin, so that the series has strips
    ASSERT_GT(app_->Core.Series.CandleCount, 0);
    form_->Hooks().Force_Statistics_Display();
    EXPECT_DOUBLE_EQ(subSet_->Charts().StatisticsX, subSet_->Picture4().Width() / 2.0);

    // After the space key a box dragged across the series loads the ensembles under it.
    const int32_t first = app_->Core.Set.FirstEnsNumber;
    QWidget* w = subSet_->Picture4_Widget();
    const double y = subSet_->Picture4().Height() / 2.0;
    Key(QEvent::KeyPress, Qt::Key_Space);
    Mouse(w, QEvent::MouseButtonPress, QPointF(CellCentre(4, 0).x(), y));
    Mouse(w, QEvent::MouseMove, QPointF(CellCentre(30, 0).x(), y));
    Mouse(w, QEvent::MouseButtonRelease, QPointF(CellCentre(30, 0).x(), y));
    Key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(app_->Core.Set.FirstEnsNumber, first + 4);
    EXPECT_EQ(app_->Core.Set.LastEnsNumber, first + 30);
    EXPECT_EQ(app_->Core.Set.LastBinShown, kCells);
}

} // namespace
} // namespace mvx::test
