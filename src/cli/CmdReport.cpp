// marevox-cli report FILE --out REPORT.mvr [--type CODE]: the report editor's snapshot of the contour of the
// file's first sub set, written as a report file.
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Messages.h"
#include "cli/OptionChecks.h"

#include "analysis/ReportFile.h"
#include "charts/ContourTypes.h"
#include "options/OptionsFile.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>

namespace mvx::cli {

namespace {

struct ReportOptions {
    std::string Path, Out, OptionsPath;
    std::optional<int32_t> Type;
};

int RunReport(const ReportOptions& o) {
    CoreState core;
    if (const std::string problem = LoadInput(core, o.Path, o.OptionsPath); !problem.empty())
        return Failure("report", problem);
    if (o.Type) core.Opts.ContourDataType = *o.Type;
    Options defaults;
    DisplayTables tables;
    Load_Default_Options(defaults, &tables);
    ReportSnapshot snapshot;
    std::string error;
    if (!Load_Sub_Set(snapshot, core.Data, core.Set, core.Opts, tables.ContourTypeNames,
                      tables.ReferenceNames, "Marevox - " + o.Path, error))
        return Failure("report", error);
    if (!Save_Data(snapshot, o.Out, error)) return Failure("report", o.Out + ": " + error);
    std::printf("%s: %d bins x %d ensembles of %s\n", o.Out.c_str(), snapshot.Bins, snapshot.Ensembles,
                snapshot.DataTypeName.c_str());
    return 0;
}

} // namespace

CommandRun AddReport(CLI::App& root) {
    CLI::App* app = root.add_subcommand(
        "report",
        "The report editor's snapshot of the first sub set's contour, saved as a report file (.mvr).");
    auto o = std::make_shared<ReportOptions>();
    app->add_option("FILE", o->Path, "an ensemble file")->required()->type_name("");
    app->add_option("--out", o->Out, "the report file to write; a file that holds data is never overwritten")
        ->required()
        ->check(NonEmptyText())
        ->type_name("REPORT.mvr");
    AddWholeNumber(
        *app, "--type", "CODE", o->Type,
        "the contour data type code of the snapshot (default: the options' choice), as for render");
    app->add_option("--options", o->OptionsPath, "an options file to use instead of the defaults")
        ->type_name("FILE");
    return [o] { return RunReport(*o); };
}

} // namespace mvx::cli
