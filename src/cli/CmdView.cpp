// marevox-cli view FILE --ensemble E --bin B: loads the sub set that holds ensemble E and prints the data
// viewer's text for it at display bin B.
#include "cli/Args.h"
#include "dataset/Loader.h"
#include "ensemble/DataViewText.h"
#include "model/CoreState.h"
#include "options/OptionsFile.h"

#include <cstdio>

namespace mvx::cli {

int RunView(int argc, char** argv) {
    Args args(argc, argv, {"multifile"});
    bool ok = true;
    const int64_t ensemble = args.GetInt("ensemble", -1, &ok);
    const int64_t bin = args.GetInt("bin", 0, &ok);
    if (args.Positional().size() != 1 || !args.Error().empty() || !ok || ensemble < 0 ||
        !args.Unknown({"ensemble", "bin", "options", "multifile"}).empty()) {
        std::fprintf(stderr,
                     "usage: marevox-cli view FILE --ensemble E --bin B [--options FILE] [--multifile]\n");
        return 2;
    }
    CoreState state;
    Load_Default_Options(state.Opts);
    if (args.Has("options") && !Load_Options(state.Opts, args.Get("options"))) {
        std::fprintf(stderr, "marevox-cli: cannot read options file %s\n", args.Get("options").c_str());
        return 1;
    }
    state.Menus.MultiFileChecked = args.Has("multifile");
    if (!Load_Whole_Set(state, args.Positional()[0])) {
        std::fprintf(stderr, "marevox-cli: %s did not load\n", args.Positional()[0].c_str());
        return 1;
    }
    if (ensemble < state.Set.FileFirstEnsemble || ensemble > state.Set.FileLastEnsemble) {
        std::fprintf(stderr, "marevox-cli: ensemble %lld is outside %d..%d\n",
                     static_cast<long long>(ensemble), state.Set.FileFirstEnsemble,
                     state.Set.FileLastEnsemble);
        return 1;
    }
    const int32_t e = static_cast<int32_t>(ensemble);
    if (!Read_File_Selection(state, e, e + state.Opts.MaxSubEnsembles - 1, false)) {
        std::fprintf(stderr, "marevox-cli: ensemble %d could not be loaded\n", e);
        return 1;
    }
    int index = -1;
    for (int i = 0; i < state.Set.CurrentEnsIndex; ++i)
        if (state.Data.EnsNumbers[i] == e) {
            index = i;
            break;
        }
    std::string text;
    if (index < 0 ||
        !Update_Data_View(state.Data, state.Setup, state.Set, index, static_cast<int>(bin), text)) {
        std::fprintf(stderr, "marevox-cli: no ensemble %d at bin %lld in the loaded set\n", e,
                     static_cast<long long>(bin));
        return 1;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

} // namespace mvx::cli
