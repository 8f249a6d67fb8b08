#pragma once
// An export's own way into the open file. Each ensemble is read alone, through the loaders' read loop,
// into the reader's own frame, set-up and one-slot ensemble set, so that writing a file never disturbs
// the set on display and no caller has to restore it. The reader starts from copies of the program's
// set-up and frame (so the first ensemble's position is computed from the length read last, as any
// load's is) and borrows the file's descriptors and the options, which an export only reads. It keeps
// the ensemble file open between loads, so that reading ensemble after ensemble costs a search and a
// decode each rather than an open and a fresh read of the buffer; a file that is removed or replaced
// meanwhile is opened anew (and fails when it is gone).
#include "common/OutputFile.h"
#include "dataset/ReadLoop.h"
#include "model/CoreState.h"

#include <cstdint>

namespace mvx {

class ExportReader {
  public:
    ExportReader(const SetDescriptors& set, const Options& opts, const DecodeSettings& decode,
                 const InstrumentSetup& setup, const EnsembleFrame& frame, YieldFn yield = {});
    // The reader of the program's open file.
    explicit ExportReader(const CoreState& state);

    // Loads ensemble e alone into slot 0. When nothing can be loaded the file is failed with a message
    // (so the export ends instead of writing the previous ensemble's values again) and False returned.
    bool Load(int32_t e, OutputFile& file);

    // The open file's descriptors: its name, structure, ensemble range, interval and orientation.
    const SetDescriptors& Set() const { return set_; }
    // The set-up of the ensemble loaded last, and that ensemble in slot 0.
    const InstrumentSetup& Setup() const { return setup_; }
    const EnsembleSet& Data() const { return arrays_; }
    // The options the ensembles are processed with (the velocity reference among them).
    const Options& Opts() const { return settings_.Opts; }

  private:
    const SetDescriptors& set_;
    ProcessingSettings settings_;
    YieldFn yield_;
    ReadSource source_;
    EnsembleFile file_;
    EnsembleFrame frame_;
    InstrumentSetup setup_;
    EnsembleSet arrays_;
    bool fileValid_;
};

} // namespace mvx
