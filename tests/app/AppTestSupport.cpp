#include "AppTestSupport.h"

#include "TestSupport.h"
#include "simulator/Simulator.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <cstdlib>

namespace mvx::test {

void EnsureApplication() {
    if (QApplication::instance()) return;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: destroying it among the exit handlers would run after Qt's own
    // statics are gone.
    new QApplication(argc, argv);
}

void AppTest::SetUp() {
    EnsureApplication();
    config_ = ScratchDir();
    setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    Restart();
}

void AppTest::Restart() {
    form_.reset();
    app_.reset();
    app_ = std::make_unique<AppContext>(dialogs_, launcher_);
    form_ = std::make_unique<MainWindow>(*app_);
}

void AppTest::TearDown() {
    form_.reset();
    app_.reset();
}

bool AppTest::MenusEnabled() const {
    for (const QMenu* menu : form_->Menu().Governed()) {
        if (!menu->isEnabled()) return false;
    }
    return true;
}

OpenCounter::~OpenCounter() {
    QObject::disconnect(Connection);
}

OpenCounter::OpenCounter(MainWindow& form) {
    Connection = QObject::connect(&form, &MainWindow::Open_Finished, &form, [this](bool loaded) {
        ++Count;
        LastLoaded = loaded;
    });
}

std::string SimulatedFile(int32_t ensembles, const std::string& name) {
    SimulationSpec spec;
    spec.Ensembles = ensembles;
    const std::string path = (ScratchDir() / name).string();
    std::string error;
    EXPECT_TRUE(WriteSimulatedFile(spec, path, &error)) << error;
    return path;
}

QPointF Contour_Cell_Centre(SubSetWindow& window, int ensemble, int rowFromTop) {
    const ContourChart& c = window.Charts().Contour;
    const QtSurface& p = window.Picture1();
    const double w = p.Width() - c.Frame.LeftMargin - c.Frame.RightMargin;
    const double h = p.Height() - c.Frame.TopMargin - c.Frame.BottomMargin;
    const int n = c.Axes.NumEnsembles, b = c.Axes.LastBinShown - c.Axes.FirstBinShown + 1;
    return {c.Frame.LeftMargin + (ensemble + 0.5) * w / n, c.Frame.TopMargin + (rowFromTop + 0.5) * h / b};
}

int64_t FirstEnsembleLength(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 4 || bytes[0] != 0x7F || bytes[1] != 0x7F) return 0;
    return static_cast<int64_t>(bytes[2] | (bytes[3] << 8)) + 2;
}

} // namespace mvx::test
