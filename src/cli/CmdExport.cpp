// marevox-cli export contour|profile|series FILE --out PATH ...: the export dialog's "Write File" from
// the command line. The file is opened as the program opens it (whole set, then the first sub set);
// unset choices take what the dialog would show for that state.
#include "cli/Args.h"
#include "cli/Commands.h"
#include "dataset/Loader.h"
#include "export/ExportChoices.h"
#include "export/ExportRunner.h"
#include "model/CoreState.h"
#include "options/OptionsFile.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace mvx::cli {

namespace {

const char kUsage[] =
    "usage: marevox-cli export contour|profile|series FILE --out PATH [--format txt|mat]\n"
    "         [--first E] [--last E] [--step S] [--ensemble E] [--types LIST] [--anc LIST]\n"
    "         [--bins all|LIST] [--strandex] [--multifile] [--options FILE]\n"
    "  --first/--last/--step  contour and series range (default: the first loaded sub set, step 1)\n"
    "  --ensemble E           profile ensemble (default: the profile chart's ensemble)\n"
    "  --types LIST           data types by their captions, qualified where captions repeat:\n"
    "                         echo:Bm1..echo:Bm4, echo:Avg, corr:Bm1..corr:Avg, vel:East, vel:North,\n"
    "                         vel:Vertical, vel:Error, vel:Magnitude, vel:Direction, pg:PG1..pg:PG4;\n"
    "                         series also bt:East..bt:Dir, bt:Depth, wm:East..wm:Dir, nv:East, nv:North,\n"
    "                         nv:Mag, nv:Dir, nv:LatLon, microcat (default: the charts' choices)\n"
    "  --anc LIST             series ancillary: "
    "Pitch,Roll,Heading,Temperature,Depth,Orientation,BIT,Battery\n"
    "  --bins all|LIST        bin numbers and ranges such as 1-5,8 (default: all)\n"
    "  --strandex             series navigation velocity and position from the bottom-track block\n";

int Usage(const std::string& message) {
    std::fprintf(stderr, "marevox-cli export: %s\n%s", message.c_str(), kUsage);
    return 2;
}

} // namespace

int RunExport(int argc, char** argv) {
    const std::vector<std::string> flags = {"strandex", "multifile"};
    const std::vector<std::string> known = {"out",      "format", "first", "last", "step",
                                            "ensemble", "types",  "anc",   "bins", "options"};
    Args args(argc, argv, flags);
    if (!args.Error().empty()) return Usage(args.Error());
    std::vector<std::string> all = flags;
    all.insert(all.end(), known.begin(), known.end());
    if (const auto unknown = args.Unknown(all); !unknown.empty())
        return Usage("unknown option --" + unknown.front());
    if (args.Positional().size() != 2) return Usage("give the export kind and the ensemble file");

    ExportSelection selection;
    const std::string kindWord = args.Positional()[0];
    if (kindWord == "contour")
        selection.Kind = ExportKind::Contour;
    else if (kindWord == "profile")
        selection.Kind = ExportKind::Profile;
    else if (kindWord == "series")
        selection.Kind = ExportKind::Series;
    else
        return Usage("unknown export kind \"" + kindWord + "\"");
    const std::string out = args.Get("out");
    if (out.empty()) return Usage("--out PATH is required");
    const std::string format = args.Get("format", "txt");
    if (format != "txt" && format != "mat") return Usage("--format is txt or mat");
    const bool series = selection.Kind == ExportKind::Series, profile = selection.Kind == ExportKind::Profile;
    if (profile && (args.Has("first") || args.Has("last") || args.Has("step")))
        return Usage("a profile export takes --ensemble, not --first/--last/--step");
    if (!profile && args.Has("ensemble")) return Usage("--ensemble belongs to a profile export");
    if (!series && (args.Has("anc") || args.Has("strandex")))
        return Usage("--anc and --strandex belong to a series export");

    CoreState state;
    if (args.Has("options")) {
        if (!Load_Options(state.Opts, args.Get("options"))) {
            std::fprintf(stderr, "marevox-cli export: cannot read the options file %s\n",
                         args.Get("options").c_str());
            return 1;
        }
    }
    state.Menus.MultiFileChecked = args.Has("multifile");
    std::error_code ec;
    const std::filesystem::path input = std::filesystem::absolute(args.Positional()[1], ec);
    const std::string path = ec ? args.Positional()[1] : input.string();
    if (!Load_Whole_Set(state, path) || !state.Set.FileValid) {
        std::fprintf(stderr, "marevox-cli export: %s could not be loaded\n", path.c_str());
        return 1;
    }

    Load_Folders(state.Opts, state.Set, selection);
    selection.FileType[static_cast<size_t>(selection.Kind)] =
        format == "mat" ? ExportFileType::Mat : ExportFileType::Text;
    auto& boxes = series ? selection.SeriesEnsembles : selection.ContourEnsembles;
    if (args.Has("first")) boxes[0] = args.Get("first");
    if (args.Has("last")) boxes[1] = args.Get("last");
    if (args.Has("step")) boxes[2] = args.Get("step");
    if (args.Has("ensemble")) selection.ProfileEnsemble = args.Get("ensemble");
    std::string error;
    if (args.Has("types") && !ParseExportTypes(selection.Kind, args.Get("types"), selection, error))
        return Usage(error);
    if (args.Has("anc") && !ParseAncTypes(args.Get("anc"), selection, error)) return Usage(error);
    if (args.Has("strandex")) selection.SeriesTypes[kSeriesStrandex] = true;
    if (!ParseBinList(args.Get("bins", "all"), state.Setup.NumCells, selection.BinsOf(selection.Kind), error))
        return Usage(error);

    const ExportResult result = Run_Export(state, selection, out);
    if (!result.Message.empty()) std::fprintf(stderr, "%s\n", result.Message.c_str());
    return result.Ok() ? 0 : 1;
}

} // namespace mvx::cli
