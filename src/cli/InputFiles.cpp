#include "cli/InputFiles.h"

#include "dataset/Loader.h"
#include "options/OptionsFile.h"

namespace mvx::cli {

namespace {

// Why Load_Whole_Set refused a file that could be read.
std::string LoadProblem(const OpenReport& report) {
    return report.WholeSet.Stored == 1 ? "only one valid ensemble (loading needs two)" : "no ensemble found";
}

} // namespace

std::string LoadInput(CoreState& state, const std::string& path, const std::string& optionsPath,
                      bool multiFile) {
    Load_Default_Options(state.Opts);
    if (!optionsPath.empty()) {
        if (const std::string problem = InputProblem(optionsPath); !problem.empty())
            return optionsPath + ": " + problem;
        if (!Load_Options(state.Opts, optionsPath))
            return optionsPath + ": not an options file of this version";
    }
    state.Menus.MultiFileChecked = multiFile;
    if (const std::string problem = InputProblem(path); !problem.empty()) return path + ": " + problem;
    const OpenReport report = Load_Whole_Set(state, path);
    if (!report.Loaded() || !state.Set.FileValid) return path + ": " + LoadProblem(report);
    return {};
}

} // namespace mvx::cli
