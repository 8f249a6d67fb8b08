// Offscreen pictures of the track vector, trend and report editor windows.
#include "cli/RenderWindows.h"

#include "analysis/ReportFile.h"
#include "charts/ColorTable.h"
#include "charts/ReportChart.h"
#include "charts/TrackVectorChart.h"
#include "charts/TrendChart.h"

#ifdef MARVOX_HAVE_QT
#include "platform/QtSurface.h"

#include <QBuffer>
#include <QByteArray>
#endif

namespace mvx::cli {

bool IsAnalysisWindow(const std::string& window) {
    return window == "track" || window == "trend" || window == "report";
}

#ifdef MARVOX_HAVE_QT
namespace {

std::string Png(const QtSurface& surface) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (surface.Image().isNull() || !buffer.open(QIODevice::WriteOnly) ||
        !surface.Image().save(&buffer, "PNG"))
        return {};
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace

std::string DrawAnalysisWindow(CoreState& core, const std::string& window, int width, int height,
                               std::string& caption) {
    QtSurface composite(width, height);
    composite.Clear();
    if (window == "trend") {
        caption = "Series Trend and Residuals";
        composite.SetFont("Courier New", 8, false);
        TrendChart chart;
        Compute_Candles(core);
        Show_Stat_Data(chart, core, composite);
        return Png(composite);
    }
    caption = "MAREVOX Track Vector Time Series";
    TrackVectorState state;
    Track_State_From_Options(core.Opts, state);
    QtSurface text, upper, lower;
    text.SetFont("Courier New", state.FontSize, false);
    const int textWidth = std::min(Track_Text_Width(text), width / 2);
    text.Resize(textWidth, height);
    upper.Resize(std::max(width - textWidth, 1), std::max(height / 2, 1));
    lower.Resize(std::max(width - textWidth, 1), std::max(height - height / 2, 1));
    TrackVectorChart chart;
    Show_Track_Vector_Data(chart, state, core, {text, upper, lower});
    composite.StretchFrom(text, 0, 0, text.Width(), text.Height());
    composite.StretchFrom(upper, textWidth, 0, upper.Width(), upper.Height());
    composite.StretchFrom(lower, textWidth, upper.Height(), lower.Width(), lower.Height());
    return Png(composite);
}

std::string DrawReportWindow(const std::string& reportPath, int width, int height, std::string& caption,
                             std::string& error) {
    ReportSnapshot snapshot;
    if (!Load_Data(reportPath, snapshot, error)) return {};
    caption = snapshot.Caption;
    ColorTableArray colors{};
    Init_Color_Table(colors);
    QtSurface picture(width, height);
    picture.SetFont("Arial", 10, false);
    ReportChart chart;
    Draw_Report(chart, snapshot, picture, colors);
    return Png(picture);
}
#endif

} // namespace mvx::cli
