// marevox-cli render FILE --out PNG [--window subset|whole|track|trend|report]: a window of the program
// (the sub-set window by default), drawn offscreen by the same code as the desktop windows, encoded as PNG
// in memory and written through OutputFile.
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Messages.h"
#include "cli/OptionChecks.h"
#include "cli/RenderWindows.h"

#include "charts/ColorTable.h"
#include "charts/ContourTypes.h"
#include "charts/SubSetCharts.h"
#include "charts/SubSetPlots.h"
#include "charts/WholeSetChart.h"
#include "common/Orientation.h"
#include "common/OutputFile.h"
#include "dataset/Loader.h"
#include "dataset/SeriesCandles.h"
#include "model/CoreState.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#ifdef MARVOX_HAVE_QT
#include "platform/QtSurface.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#endif

namespace mvx::cli {

namespace {

// The window drawn is held several times over in memory (four chart pictures and their composite, about
// eight bytes a pixel in all), so its size is bounded: 8192x4096 takes about 300 MB.
constexpr int kMaxSide = 8192;
constexpr int64_t kMaxPixels = int64_t{8192} * 4096;

struct RenderOptions {
    std::string Path, Out, OptionsPath, Size = "1200x800";
    std::optional<int32_t> Type, First, Last, ProfileEnsemble;
    std::optional<std::vector<int>> SeriesBins, SeriesCodes, ProfileTypes, AncTypes;
    bool MultiFile = false;
    std::string Window = "subset"; // whole, track, trend or report: the other windows' pictures
};

// Replaces a set of flags by the listed indexes; false (and nothing changed) when one is out of range.
template <size_t N>
bool SetFlags(std::array<bool, N>& flags, const std::vector<int>& indexes, int first, int last) {
    std::array<bool, N> chosen{};
    for (const int i : indexes) {
        if (i < first || i > last || i >= static_cast<int>(N)) return false;
        chosen[static_cast<size_t>(i)] = true;
    }
    flags = chosen;
    return true;
}

// The profile and series choices of the flags, over those of the options file.
// Series bins are numbered as the contour's bin axis numbers them (from the instrument); the set keeps
// them from the far end of a down-looking profile.
std::string ApplyChartChoices(const RenderOptions& o, CoreState& core) {
    Options& opts = core.Opts;
    if (o.SeriesBins) {
        const int cells = std::clamp(core.Setup.NumCells, 0, 255);
        std::vector<int> stored;
        for (const int bin : *o.SeriesBins) {
            if (bin < 1 || bin > cells)
                return "--series-bins takes bin numbers 1 to " + std::to_string(cells) +
                       " (the file's cells)";
            stored.push_back(Mostly_Up_Looking(core.Set.OrientationBalance) ? bin : cells - bin + 1);
        }
        SetFlags(opts.SeriesBinSelect, stored, 1, 255);
    }
    if (o.SeriesCodes) {
        std::vector<int> boxes;
        for (const int code : *o.SeriesCodes) {
            int box = 0;
            while (box < kSeriesBoxes && Series_Code(box) != code) ++box;
            if (box == kSeriesBoxes)
                return "--series-types: " + std::to_string(code) + " is not a series code";
            boxes.push_back(box);
        }
        SetFlags(opts.SeriesDataTypes, boxes, 0, kSeriesBoxes - 1);
    }
    if (o.ProfileTypes && !SetFlags(opts.ProfileDataTypes, *o.ProfileTypes, 0, 22))
        return "--profile-types takes indexes 0 to 22";
    if (o.AncTypes && !SetFlags(opts.AncDataTypes, *o.AncTypes, 0, 7))
        return "--anc-types takes indexes 0 to 7";
    return "";
}

CLI::Validator ContourTypeCode() {
    return CLI::Validator(
        [](std::string& text) {
            int64_t code = 0;
            if (ReadWholeNumber(text, INT32_MIN, INT32_MAX, code) &&
                Contour_Data_Type(static_cast<int32_t>(code), 0, false).Known)
                return std::string();
            return "\"" + text + "\" is not a contour data type code";
        },
        "", "");
}

#ifdef MARVOX_HAVE_QT
// The raster of a chart is cut to a screen's width; the command line draws for a wide desktop screen.
constexpr int kScreenWidth = 1920;

// Draws the charts and returns the PNG bytes; empty when the picture could not be made.
QByteArray DrawPicture(CoreState& core, int32_t type, int width, int height, std::string& caption,
                       const RenderOptions& o, std::string& error) {
    // Text needs the window system's fonts; offscreen unless the caller chose a platform.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    char name[] = "marevox-cli";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication application(qtArgc, qtArgv);
    if (o.Window == "report") {
        const std::string png = DrawReportWindow(o.Path, width, height, caption, error);
        return QByteArray(png.data(), static_cast<qsizetype>(png.size()));
    }
    if (IsAnalysisWindow(o.Window)) {
        const std::string png = DrawAnalysisWindow(core, o.Window, width, height, caption);
        return QByteArray(png.data(), static_cast<qsizetype>(png.size()));
    }

    ColorTableArray colors{};
    Init_Color_Table(colors);
    if (o.Window == "whole") {
        QtSurface picture1, picture2;
        WholeSetSurfaces surfaces{picture1, picture2};
        WholeSetChart chart;
        chart.WindowWidth = width;
        chart.WindowHeight = height;
        chart.ScreenWidth = kScreenWidth;
        Draw_Whole_Set_Picture(chart, surfaces, core, colors, type);
        caption = chart.Contour.Caption;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        if (!chart.Built || !buffer.open(QIODevice::WriteOnly) || !picture1.Image().save(&buffer, "PNG"))
            return {};
        return bytes;
    }
    QtSurface picture1, picture2, picture4, picture5, composite;
    SubSetSurfaces surfaces{picture1, picture2, picture4, picture5};
    SubSetCharts charts;
    charts.WindowWidth = width;
    charts.WindowHeight = height;
    charts.ScreenWidth = kScreenWidth;
    Init_Charts(charts, surfaces, core, colors, type, Sub_Set_Plot_Hooks(charts, surfaces, core));
    Compose_Sub_Set_Picture(charts.Layout, surfaces, composite);
    caption = charts.Contour.Caption;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (composite.Image().isNull() || !buffer.open(QIODevice::WriteOnly) ||
        !composite.Image().save(&buffer, "PNG"))
        return {};
    return bytes;
}
#endif

int RunRender(const RenderOptions& o) {
    CoreState core;
    // The report editor draws a report file, not an ensemble file.
    const bool report = o.Window == "report";
    if (const std::string problem =
            report ? InputProblem(o.Path) : LoadInput(core, o.Path, o.OptionsPath, o.MultiFile);
        !problem.empty())
        return Failure("render", report ? o.Path + ": " + problem : problem);
    if (const std::string problem = report ? std::string() : ApplyChartChoices(o, core); !problem.empty())
        return UsageError("render", problem);
    const SetDescriptors& set = core.Set;
    if (!report && (o.First || o.Last)) {
        const int32_t from = o.First.value_or(set.FirstEnsNumber);
        const int32_t to = o.Last ? *o.Last
                                  : static_cast<int32_t>(std::min<int64_t>(
                                        int64_t{from} + core.Opts.MaxSubEnsembles - 1, INT32_MAX));
        if (to < from) return UsageError("render", "--last is below --first");
        if (from > set.FileLastEnsemble || to < set.FileFirstEnsemble)
            return UsageError("render", "ensembles " + std::to_string(from) + " to " + std::to_string(to) +
                                            " are outside the file's " +
                                            std::to_string(set.FileFirstEnsemble) + ".." +
                                            std::to_string(set.FileLastEnsemble));
        if (!Read_File_Selection(core, from, to, false))
            return Failure("render", "ensembles " + std::to_string(from) + " to " + std::to_string(to) +
                                         " could not be loaded");
    }
    if (!report && o.ProfileEnsemble) {
        if (*o.ProfileEnsemble < core.Set.FirstEnsNumber || *o.ProfileEnsemble > core.Set.LastEnsNumber)
            return UsageError("render", "--profile-ensemble " + std::to_string(*o.ProfileEnsemble) +
                                            " is outside the sub set's " +
                                            std::to_string(core.Set.FirstEnsNumber) + ".." +
                                            std::to_string(core.Set.LastEnsNumber));
        core.Set.ProfileEnsNumber = *o.ProfileEnsemble;
    }
#ifndef MARVOX_HAVE_QT
    return Failure("render", "this build has no picture surfaces (Qt 6 was not found)");
#else
    int width = 0, height = 0;
    ReadPictureSize(o.Size, kMaxSide, kMaxPixels, width, height);
    // The target is taken before the drawing, so that a file that holds data (the input itself, say) is
    // refused at once and never changed.
    OutputFile file;
    if (!file.Open(o.Out)) return Failure("render", file.Error());
    std::string caption, error;
    const QByteArray png =
        DrawPicture(core, o.Type.value_or(core.Opts.ContourDataType), width, height, caption, o, error);
    if (png.isEmpty())
        file.Discard(!error.empty() ? o.Path + ": " + error
                                    : "The picture of " + std::to_string(width) + "x" +
                                          std::to_string(height) + " pixels could not be made");
    else
        file.Write(png.constData(), static_cast<size_t>(png.size()));
    if (!file.Close()) return Failure("render", file.Error());
    std::printf("%s\n", caption.c_str());
    return 0;
#endif
}

} // namespace

CommandRun AddRender(CLI::App& root) {
    CLI::App* app = root.add_subcommand(
        "render", "A PNG picture of the sub-set window's charts or of the whole-set chart.");
    auto o = std::make_shared<RenderOptions>();
    app->add_option("FILE", o->Path, "an ensemble file")->required()->type_name("");
    app->add_option("--out", o->Out, "the PNG file to write; a file that holds data is never overwritten")
        ->required()
        ->check(NonEmptyText())
        ->type_name("PNG");
    AddWholeNumber(*app, "--type", "CODE", o->Type,
                   "the contour's data type code, listed below (default: the options' choice)")
        ->check(ContourTypeCode())
        ->type_name("CODE");
    AddWholeNumber(*app, "--first", "E", o->First, "the first ensemble of the sub set (default: the first)");
    AddWholeNumber(*app, "--last", "E", o->Last,
                   "the last ensemble of the sub set (default: as many as the sub set holds)");
    app->add_option("--size", o->Size,
                    "the window's size in pixels (default 1200x800), at most " + std::to_string(kMaxSide) +
                        " a side and " + std::to_string(kMaxPixels) + " in all (8192x4096)")
        ->check(PictureSize(kMaxSide, kMaxPixels))
        ->type_name("WxH");
    app->add_option("--window", o->Window,
                    "subset (default): the sub-set window's charts; whole: the whole-set chart with the sub "
                    "set's rectangle; track: the track vector window; trend: the trend and residuals window; "
                    "report: the report editor (FILE is then a report file)")
        ->check(CLI::IsMember({"subset", "whole", "track", "trend", "report"}))
        ->type_name("WINDOW");
    AddWholeNumber(
        *app, "--profile-ensemble", "E", o->ProfileEnsemble,
        "the ensemble the profile chart shows (default: the options' choice, kept in the sub set)");
    // A comma-separated list of whole numbers, or "none".
    auto list = [&](const char* name, std::optional<std::vector<int>>& target, const char* help) {
        app->add_option_function<std::string>(
               name,
               [&target](const std::string& text) {
                   std::vector<int> values;
                   std::stringstream items(text == "none" ? "" : text);
                   std::string item;
                   int64_t v = 0;
                   while (std::getline(items, item, ','))
                       if (ReadWholeNumber(item, 0, INT32_MAX, v)) values.push_back(static_cast<int>(v));
                   target = values;
               },
               std::string(help) + "; \"none\" for none")
            ->check(CLI::Validator(
                [](std::string& text) {
                    if (text == "none") return std::string();
                    std::stringstream items(text);
                    std::string item;
                    int64_t v = 0;
                    bool any = false;
                    while (std::getline(items, item, ',')) {
                        if (!ReadWholeNumber(item, 0, INT32_MAX, v))
                            return "\"" + text + "\" is not a list of numbers";
                        any = true;
                    }
                    return any && text.back() != ',' ? std::string()
                                                     : "\"" + text + "\" is not a list of numbers";
                },
                "", ""))
            ->type_name("LIST");
    };
    list("--profile-types", o->ProfileTypes,
         "the profile's data types, by index (below), replacing the options' choice");
    list("--series-types", o->SeriesCodes, "the series' data types, by series code (below)");
    list("--series-bins", o->SeriesBins, "the series bins, numbered as the contour's bin axis numbers them");
    list("--anc-types", o->AncTypes,
         "the ancillary strips: 0 pitch, 1 roll, 2 heading, 3 temperature, 4 depth, 5 orientation, 6 BIT, "
         "7 battery");
    app->add_flag("--multifile", o->MultiFile, "load the numbered set of files that FILE starts");
    app->add_option("--options", o->OptionsPath, "an options file to use instead of the defaults")
        ->type_name("FILE");
    app->footer(
        "Contour data type codes: 1-4 echo intensity of beam 1-4, 5 its average, 10-40 correlation of\n"
        "beam 1-4, 50 its average, 100 east, 200 north, 300 vertical, 400 error velocity, 500 magnitude,\n"
        "600 direction, 1000-4000 percent good of beam 1-4.\n"
        "Profile type indexes: 0-4 echo intensity beam 1-4 and average, 5-9 correlation, 10-13 east, north,\n"
        "vertical, error velocity, 14 magnitude, 15 direction, 16 average error, 17 standard deviation,\n"
        "18 percent good of the error statistics, 19-22 percent good of beam 1-4.\n"
        "Series codes: the contour's codes of water data, and 10000-60000 bottom track, 100000-600000 water\n"
        "mass east, north, vertical, error, magnitude, direction, 1000000, 2000000, 5000000, 6000000\n"
        "navigation east, north, magnitude, direction.\n"
        "Every choice not given on the command line comes from --options FILE, or else the defaults.");
    return [o] { return RunRender(*o); };
}

} // namespace mvx::cli
