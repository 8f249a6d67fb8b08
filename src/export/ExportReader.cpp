#include "export/ExportReader.h"

#include "dataset/DecodeState.h"

#include <algorithm>
#include <string>
#include <utility>

namespace mvx {

namespace {
// Ensembles are read in order, so a buffer of this size serves a few dozen of them per read.
constexpr size_t kReadBuffer = 64 * 1024;
} // namespace

ExportReader::ExportReader(const SetDescriptors& set, const Options& opts, const DecodeSettings& decode,
                           const InstrumentSetup& setup, const EnsembleFrame& frame, YieldFn yield)
    : set_(set), settings_{set.DataStructure, decode, opts}, yield_(std::move(yield)),
      source_(Read_Source(set)), file_(kReadBuffer), frame_(frame), setup_(setup), fileValid_(set.FileValid) {
    Allocate_Ensemble_Set(arrays_, 1);
}

ExportReader::ExportReader(const CoreState& state)
    : ExportReader(state.Set, state.Opts, MakeDecodeSettings(state), state.Setup, state.Frame, state.Yield) {}

bool ExportReader::Load(int32_t e, OutputFile& file) {
    const int32_t last = std::min(e, set_.FileLastEnsemble);
    const DecodeTarget target{frame_, setup_, arrays_};
    if (file_.IsOpen() && !file_.StillAtPath()) file_.Close();
    if (Read_Selection(source_, target, settings_, e, last, 1, fileValid_, yield_, ProgressSink{}, &file_)
            .Loaded)
        return true;
    file.Fail("Ensemble " + std::to_string(e) + " could not be read from " + set_.FileName);
    return false;
}

} // namespace mvx
