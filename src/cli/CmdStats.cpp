// marevox-cli stats FILE [--multifile]: the information window's text of a file, loaded headless.
#include "cli/Args.h"
#include "cli/Commands.h"
#include "dataset/Loader.h"
#include "model/CoreState.h"
#include "options/OptionsFile.h"

#include <cstdio>

namespace mvx::cli {

int RunStats(int argc, char** argv) {
    Args args(argc, argv, {"multifile"});
    const auto unknown = args.Unknown({"multifile"});
    if (!args.Error().empty() || !unknown.empty() || args.Positional().size() != 1) {
        std::fprintf(stderr, "usage: marevox-cli stats FILE [--multifile]\n");
        return 2;
    }
    CoreState state;
    Load_Default_Options(state.Opts);
    state.Menus.MultiFileChecked = args.Has("multifile");
    const bool loaded = Load_Whole_Set(state, args.Positional().front()).Loaded();
    std::fwrite(state.Set.StatsText.data(), 1, state.Set.StatsText.size(), stdout);
    if (!state.Set.StatsText.empty() && state.Set.StatsText.back() != '\n') std::fputs("\r\n", stdout);
    if (!loaded) std::fprintf(stderr, "marevox-cli: %s was not loaded\n", args.Positional().front().c_str());
    return loaded ? 0 : 1;
}

} // namespace mvx::cli
