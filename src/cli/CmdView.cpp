// marevox-cli view FILE --ensemble E --bin B: loads the sub set that starts at ensemble E and prints the
// data viewer's text for it at bin number B, numbered as export --bins numbers bins.
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Messages.h"
#include "cli/OptionChecks.h"
#include "common/Orientation.h"
#include "dataset/Loader.h"
#include "ensemble/DataViewText.h"
#include "model/CoreState.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

namespace mvx::cli {

namespace {

struct ViewOptions {
    std::string Path, OptionsPath;
    int32_t Ensemble = 0;
    int32_t Bin = 0; // 0: the bin on the top row of the display
    bool MultiFile = false;
};

// The viewer's display row that shows bin number bin: the viewer counts rows from the top of the
// displayed bin range, and takes the bin from the far end of the profile when the set looks up.
int DisplayRow(const CoreState& state, int32_t bin) {
    const SetDescriptors& set = state.Set;
    return Mostly_Up_Looking(set.OrientationBalance) ? set.LastBinShown - bin
                                                     : bin - (state.Setup.NumCells - set.LastBinShown) - 1;
}

int RunView(const ViewOptions& o) {
    CoreState state;
    if (const std::string problem = LoadInput(state, o.Path, o.OptionsPath, o.MultiFile); !problem.empty())
        return Failure("view", problem);
    const SetDescriptors& set = state.Set;
    if (o.Ensemble < set.FileFirstEnsemble || o.Ensemble > set.FileLastEnsemble)
        return UsageError("view", "--ensemble: " + std::to_string(o.Ensemble) + " is outside the file's " +
                                      std::to_string(set.FileFirstEnsemble) + ".." +
                                      std::to_string(set.FileLastEnsemble));
    const int32_t cells = state.Setup.NumCells;
    if (o.Bin != 0 && (o.Bin < 1 || o.Bin > cells))
        return UsageError("view", "--bin: " + std::to_string(o.Bin) + " is outside the file's bins 1.." +
                                      std::to_string(cells));
    const int32_t e = o.Ensemble;
    if (!Read_File_Selection(state, e, e + state.Opts.MaxSubEnsembles - 1, false))
        return Failure("view", "ensemble " + std::to_string(e) + " could not be loaded");
    int index = -1;
    for (int i = 0; i < set.CurrentEnsIndex; ++i)
        if (state.Data.EnsNumbers[i] == e) {
            index = i;
            break;
        }
    std::string text;
    const int row = o.Bin == 0 ? 0 : DisplayRow(state, o.Bin);
    if (index < 0 || !Update_Data_View(state.Data, state.Setup, state.Set, index, row, text))
        return Failure("view", "ensemble " + std::to_string(e) + " is not in the loaded set");
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

} // namespace

CommandRun AddView(CLI::App& root) {
    CLI::App* app = root.add_subcommand("view", "The data viewer's text of one ensemble at one bin.");
    auto o = std::make_shared<ViewOptions>();
    app->add_option("FILE", o->Path, "an ensemble file")->required()->type_name("");
    AddWholeNumber(*app, "--ensemble", "E", o->Ensemble, "the ensemble number")->required();
    AddWholeNumber(*app, "--bin", "B", o->Bin,
                   "the bin, numbered 1.. as export --bins numbers them (default: the top row shown)", 1,
                   255);
    app->add_option("--options", o->OptionsPath, "an options file to use instead of the defaults")
        ->type_name("FILE");
    app->add_flag("--multifile", o->MultiFile, "load the numbered set of files that FILE starts");
    return [o] { return RunView(*o); };
}

} // namespace mvx::cli
