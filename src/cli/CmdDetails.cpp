// marevox-cli details FILE: the file-details report, then the six statistics of the ensemble scan.
#include "cli/Args.h"
#include "dataset/DecodeState.h"
#include "dataset/FileStats.h"
#include "ensemble/FileDetails.h"
#include "ensemble/Framing.h"
#include "model/CoreState.h"
#include "model/DataSet.h"

#include <cstdio>

namespace mvx::cli {

namespace {
// The bottom-track set-up lines show what a decode of the file's first ensemble leaves behind.
InstrumentSetup FirstEnsembleSetup(const std::string& path) {
    CoreState state;
    Allocate_Data_Set(state.Data, 1, 1, false);
    EnsembleFile file;
    if (!file.Open(path)) return state.Setup;
    state.Set.DataStructure = Determine_File_Data_Structure(file, state.Frame, {});
    if (Get_Next_Ensemble(state.Set.DataStructure, file, state.Frame, state.Set.FileValid, {}))
        Decode_Ensemble(state);
    return state.Setup;
}
} // namespace

int RunDetails(int argc, char** argv) {
    Args args(argc, argv, {});
    if (args.Positional().size() != 1 || !args.Error().empty()) {
        std::fprintf(stderr, "usage: marevox-cli details FILE\n");
        return 2;
    }
    const std::string path = args.Positional()[0];
    FileDetailsResult result;
    if (!Show_File_Details(path, FirstEnsembleSetup(path), result)) {
        std::fprintf(stderr, "marevox-cli: cannot open %s\n", path.c_str());
        std::printf("%s\n", result.Text.c_str());
        return 1;
    }
    std::fwrite(result.Text.data(), 1, result.Text.size(), stdout);
    const EnsembleStatistics& s = result.Stats;
    std::printf("\r\nFirst %d\r\nLast %d\r\nMissing %d\r\nRepeats %d\r\nResets %d\r\nWrong Size %d\r\n",
                s.First, s.Last, s.Missing, s.Repeats, s.Resets, s.WrongSize);
    return 0;
}

} // namespace mvx::cli
