// marevox-cli export contour|profile|series FILE --out PATH ...: the export dialog's "Write File" from
// the command line. The file is opened as the program opens it (whole set, then the first sub set);
// unset choices take what the dialog would show for that state.
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Messages.h"
#include "cli/OptionChecks.h"
#include "export/ExportChoices.h"
#include "export/ExportFormats.h"
#include "export/ExportRunner.h"
#include "model/CoreState.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mvx::cli {

namespace {

const char kTypesHelp[] =
    "Data types for --types, by the export dialog's captions, qualified where captions repeat:\n"
    "  echo:Bm1..echo:Bm4, echo:Avg, corr:Bm1..corr:Bm4, corr:Avg, vel:East, vel:North, vel:Vertical,\n"
    "  vel:Error, vel:Magnitude, vel:Direction, pg:PG1..pg:PG4; a series also takes bt:East..bt:Dir,\n"
    "  bt:Depth, wm:East..wm:Dir, nv:East, nv:North, nv:Mag, nv:Dir, nv:LatLon, microcat.\n"
    "Ancillary types for --anc: Pitch,Roll,Heading,Temperature,Depth,Orientation,BIT,Battery.\n"
    "Bins are numbered 1 to the file's number of bins, from the transducer outwards.\n"
    "A NetCDF file keeps the raw integers with scale_factor, units and _FillValue -32768, so that a CF\n"
    "reader gets m/s, degrees, metres and NaN for bad values. Its time is in seconds since 1 January of\n"
    "the first ensemble's year; two-digit years read as 1981-1999 and 2000-2079. Ensembles without a\n"
    "year (narrowband ones) get the stand-in year 1904, one more after each New Year they cross; the\n"
    "time variable's comment says so, and the deployment's year can be put into its units.";

struct ExportOptions {
    std::string Kind, Path, Out, Format = "txt", Types, Anc, Bins = "all", OptionsPath;
    std::optional<int32_t> First, Last, Step, Ensemble;
    bool Strandex = false, MultiFile = false;
};

// An ensemble entry as the dialog's box would hold it. The writers clamp entries into the file's range
// after reading at most eight characters of a box, so a number is clamped to eight characters first.
std::string Box(int32_t value) {
    return std::to_string(std::clamp<int32_t>(value, -9999999, 99999999));
}

int RunExport(const ExportOptions& o) {
    ExportSelection selection;
    selection.Kind = o.Kind == "contour"   ? ExportKind::Contour
                     : o.Kind == "profile" ? ExportKind::Profile
                                           : ExportKind::Series;
    const bool series = selection.Kind == ExportKind::Series, profile = selection.Kind == ExportKind::Profile;
    if (profile && (o.First || o.Last || o.Step))
        return UsageError("export", "a profile export takes --ensemble, not --first/--last/--step");
    if (!profile && o.Ensemble) return UsageError("export", "--ensemble belongs to a profile export");
    if (!series && (!o.Anc.empty() || o.Strandex))
        return UsageError("export", "--anc and --strandex belong to a series export");

    CoreState state;
    std::error_code ec;
    const std::filesystem::path input = std::filesystem::absolute(o.Path, ec);
    const std::string path = ec ? o.Path : input.string();
    if (const std::string problem = LoadInput(state, path, o.OptionsPath, o.MultiFile); !problem.empty())
        return Failure("export", problem);

    Load_Folders(state.Opts, state.Set, selection);
    for (const ExportFormat& format : kExportFormats)
        if (o.Format == format.DefaultExt)
            selection.FileType[static_cast<size_t>(selection.Kind)] = format.Type;
    auto& boxes = series ? selection.SeriesEnsembles : selection.ContourEnsembles;
    if (o.First) boxes[0] = Box(*o.First);
    if (o.Last) boxes[1] = Box(*o.Last);
    if (o.Step) boxes[2] = Box(*o.Step);
    if (o.Ensemble) selection.ProfileEnsemble = Box(*o.Ensemble);
    std::string error;
    if (!o.Types.empty() && !ParseExportTypes(selection.Kind, o.Types, selection, error))
        return UsageError("export", "--types: " + error);
    if (!o.Anc.empty() && !ParseAncTypes(o.Anc, selection, error))
        return UsageError("export", "--anc: " + error);
    if (o.Strandex) selection.SeriesTypes[kSeriesStrandex] = true;
    const int cells = state.Setup.NumCells;
    BinList& bins = selection.BinsOf(selection.Kind);
    if (!ParseBinList(o.Bins, cells, bins, error)) return UsageError("export", "--bins: " + error);
    for (int m = std::max(cells + 1, 1); m <= kBinListItems; ++m)
        if (bins.Selected[static_cast<size_t>(m)])
            return UsageError("export", "--bins: bin " + std::to_string(m) +
                                            " is outside the file's bins 1.." + std::to_string(cells));

    const ExportResult result = Run_Export(state, selection, o.Out);
    if (result.Ok()) return 0;
    return Failure("export", result.Message);
}

// --bins is checked as far as it can be before the file is read: its shape and the dialog's 1..255.
CLI::Validator BinListShape() {
    return CLI::Validator(
        [](std::string& text) {
            BinList scratch;
            std::string error;
            return ParseBinList(text, kBinListItems, scratch, error) ? std::string() : error;
        },
        "", "");
}

} // namespace

CommandRun AddExport(CLI::App& root) {
    CLI::App* app = root.add_subcommand("export", "The export dialog's text, MAT or NetCDF file.");
    auto o = std::make_shared<ExportOptions>();
    app->add_option("KIND", o->Kind, "what to export: contour, profile or series")
        ->required()
        ->check(CLI::IsMember({"contour", "profile", "series"}).description(""))
        ->type_name("");
    app->add_option("FILE", o->Path, "an ensemble file")->required()->type_name("");
    app->add_option("--out", o->Out, "the file to write; a file that holds data is never overwritten")
        ->required()
        ->check(NonEmptyText())
        ->type_name("PATH");
    std::vector<std::string> formats;
    std::string names;
    for (const ExportFormat& format : kExportFormats) {
        formats.emplace_back(format.DefaultExt);
        names += (names.empty() ? "" : "|") + formats.back();
    }
    app->add_option("--format", o->Format,
                    "txt (default), mat (MATLAB Level 4) or nc (NetCDF following the CF-1.8 conventions)")
        ->check(CLI::IsMember(formats).description(""))
        ->type_name(names);
    AddWholeNumber(*app, "--first", "E", o->First,
                   "contour and series: the first ensemble (default: the first loaded)");
    AddWholeNumber(*app, "--last", "E", o->Last,
                   "contour and series: the last ensemble (default: the last loaded)");
    AddWholeNumber(*app, "--step", "S", o->Step, "contour and series: the ensemble step (default 1)");
    AddWholeNumber(*app, "--ensemble", "E", o->Ensemble,
                   "profile: the ensemble (default: the profile chart's)");
    app->add_option("--types", o->Types, "data types, comma-separated (default: the charts' choices)")
        ->check(NonEmptyList())
        ->type_name("LIST");
    app->add_option("--anc", o->Anc, "series: ancillary types, comma-separated")
        ->check(NonEmptyList())
        ->type_name("LIST");
    app->add_option("--bins", o->Bins, "all (default) or bin numbers and ranges such as 1-5,8")
        ->check(NonEmptyList())
        ->check(BinListShape())
        ->type_name("all|LIST");
    app->add_flag("--strandex", o->Strandex,
                  "series: navigation velocity and position from the bottom-track block");
    app->add_flag("--multifile", o->MultiFile, "load the numbered set of files that FILE starts");
    app->add_option("--options", o->OptionsPath, "an options file to use instead of the defaults")
        ->type_name("FILE");
    app->footer(kTypesHelp);
    return [o] { return RunExport(*o); };
}

} // namespace mvx::cli
