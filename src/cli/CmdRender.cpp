// marevox-cli render FILE --out PNG: the sub-set window's charts of a file, drawn offscreen by the same
// code as the desktop window and written as a picture.
#include "cli/Args.h"
#include "cli/Commands.h"

#include "charts/ColorTable.h"
#include "charts/SubSetCharts.h"
#include "dataset/Loader.h"
#include "model/CoreState.h"
#include "options/OptionsFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef MARVOX_HAVE_QT
#include "platform/QtSurface.h"

#include <QGuiApplication>
#endif

namespace mvx::cli {

namespace {

const char kUsage[] = "usage: marevox-cli render FILE --out PNG [--type CODE] [--first E --last E] "
                      "[--size WxH] [--multifile] [--options FILE]\n";

int Usage(const std::string& message) {
    std::fprintf(stderr, "marevox-cli render: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// "1200x800" into a width and a height, each 1..20000.
bool ParseSize(const std::string& text, int& width, int& height) {
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2) return false;
    if (w < 1 || h < 1 || w > 20000 || h > 20000) return false;
    width = w;
    height = h;
    return true;
}

// The raster of a chart is cut to a screen's width; the command line draws for a wide desktop screen.
constexpr int kScreenWidth = 1920;

} // namespace

int RunRender(int argc, char** argv) {
    const std::vector<std::string> known{"out", "type", "first", "last", "size", "multifile", "options"};
    Args args(argc, argv, {"multifile"});
    if (!args.Error().empty()) return Usage(args.Error());
    if (!args.Unknown(known).empty()) return Usage("unknown option --" + args.Unknown(known).front());
    if (args.Positional().size() != 1) return Usage("one FILE is needed");
    const std::string out = args.Get("out");
    if (out.empty()) return Usage("--out PNG is needed");
    int width = 1200, height = 800;
    if (args.Has("size") && !ParseSize(args.Get("size"), width, height)) return Usage("--size takes WxH");
    bool ok = true;
    const int64_t type = args.GetInt("type", 0, &ok);
    const int64_t first = args.GetInt("first", 0, &ok);
    const int64_t last = args.GetInt("last", 0, &ok);
    if (!ok) return Usage("--type, --first and --last take whole numbers");
    if (first < INT32_MIN || first > INT32_MAX || last < INT32_MIN || last > INT32_MAX || type < INT32_MIN ||
        type > INT32_MAX)
        return Usage("a number is out of range");

#ifndef MARVOX_HAVE_QT
    (void)type;
    std::fprintf(stderr, "marevox-cli render: this build has no picture surfaces (Qt 6 was not found)\n");
    return 1;
#else
    CoreState core;
    Load_Default_Options(core.Opts);
    if (args.Has("options") && !Load_Options(core.Opts, args.Get("options"))) {
        std::fprintf(stderr, "marevox-cli render: options file %s was not read\n",
                     args.Get("options").c_str());
        return 1;
    }
    core.Menus.MultiFileChecked = args.Has("multifile");
    const std::string& path = args.Positional().front();
    if (!Load_Whole_Set(core, path)) {
        std::fprintf(stderr, "marevox-cli render: %s was not loaded\n", path.c_str());
        return 1;
    }
    if (args.Has("first") || args.Has("last")) {
        const int32_t from = args.Has("first") ? static_cast<int32_t>(first) : core.Set.FirstEnsNumber;
        const int32_t to = args.Has("last") ? static_cast<int32_t>(last)
                                            : static_cast<int32_t>(std::min<int64_t>(
                                                  int64_t{from} + core.Opts.MaxSubEnsembles - 1, INT32_MAX));
        if (to < from || !Read_File_Selection(core, from, to, false)) {
            std::fprintf(stderr, "marevox-cli render: ensembles %d to %d were not loaded\n", from, to);
            return 1;
        }
    }

    // Text needs the window system's fonts; offscreen unless the caller chose a platform.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    char name[] = "marevox-cli";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication application(qtArgc, qtArgv);

    ColorTableArray colors{};
    Init_Color_Table(colors);
    QtSurface picture1, picture2, picture4, picture5, composite;
    SubSetSurfaces surfaces{picture1, picture2, picture4, picture5};
    SubSetCharts charts;
    charts.WindowWidth = width;
    charts.WindowHeight = height;
    charts.ScreenWidth = kScreenWidth;
    Init_Charts(charts, surfaces, core, colors,
                args.Has("type") ? static_cast<int32_t>(type) : core.Opts.ContourDataType);
    Compose_Sub_Set_Picture(charts.Layout, surfaces, composite);
    if (!composite.Image().save(QString::fromStdString(out), "PNG")) {
        std::fprintf(stderr, "marevox-cli render: %s could not be written\n", out.c_str());
        return 1;
    }
    std::printf("%s\n", charts.Contour.Caption.c_str());
    return 0;
#endif
}

} // namespace mvx::cli
