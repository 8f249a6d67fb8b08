#include "export/ExportReader.h"

#include "dataset/DecodeState.h"

#include <algorithm>
#include <string>
#include <utility>

namespace mvx {

ExportReader::ExportReader(const SetDescriptors& set, const Options& opts, const DecodeSettings& decode,
                           const InstrumentSetup& setup, const EnsembleFrame& frame, YieldFn yield)
    : set_(set), settings_{set.DataStructure, decode, opts}, yield_(std::move(yield)),
      source_(Read_Source(set)), frame_(frame), setup_(setup), fileValid_(set.FileValid) {
    Allocate_Ensemble_Set(arrays_, 1);
}

ExportReader::ExportReader(const CoreState& state)
    : ExportReader(state.Set, state.Opts, MakeDecodeSettings(state), state.Setup, state.Frame, state.Yield) {}

bool ExportReader::Load(int32_t e, OutputFile& file) {
    const int32_t last = std::min(e, set_.FileLastEnsemble);
    const DecodeTarget target{frame_, setup_, arrays_};
    if (Read_Selection(source_, target, settings_, e, last, 1, fileValid_, yield_, ProgressSink{}).Loaded)
        return true;
    file.Fail("Ensemble " + std::to_string(e) + " could not be read from " + set_.FileName);
    return false;
}

} // namespace mvx
