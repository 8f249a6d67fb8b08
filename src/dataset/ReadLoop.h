#pragma once
// The one read loop of every load. From a start position it finds each next ensemble, passes over
// set-up (NVRAM) blocks, decodes and processes the ensemble into the next slot, steps the clock and
// reports progress, which can ask it to stop. The whole-set load, the sub-set load and the exports all
// read through it, each into a decode target of its own choosing.
#include "common/Callbacks.h"
#include "dataset/LoadReport.h"
#include "ensemble/Decoder.h"
#include "ensemble/EnsembleFile.h"
#include "model/EnsembleFrame.h"
#include "model/EnsembleSet.h"
#include "model/InstrumentSetup.h"
#include "model/Options.h"
#include "model/SetDescriptors.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mvx {

// Where a load decodes to: the frame the search fills, the set-up and the arrays the decoder writes.
struct DecodeTarget {
    EnsembleFrame& Frame;
    InstrumentSetup& Setup;
    EnsembleSet& Arrays;
};

// What decoding and processing an ensemble read besides its bytes: the file's structure, the decoder's
// settings and the options of the end-of-profile trim and the velocity processing.
struct ProcessingSettings {
    int32_t DataStructure = kStructureUnknown;
    DecodeSettings Decode;
    const Options& Opts;
};

// Decodes the frame into slot `slot` of the target (cleared first, so that it keeps nothing of a data
// type this ensemble lacks), then trims the end of the profile and processes the velocities. A slot
// outside the arrays is left alone.
void Process_Ensemble(DecodeTarget target, int slot, const ProcessingSettings& settings, bool& fileValid);

// Seconds of the day of one slot: hour x 3600 + minute x 60 + second + hundredths / 100; 0 outside.
double Convert_Time(const EnsembleSet& arrays, int slot);

// The open file or multi-file set as the loads read it.
struct ReadSource {
    std::vector<std::string> Members; // the files of the set in order; one for a single file
    int32_t DataStructure = kStructureUnknown;
    int32_t FileFirstEnsemble = 0;
    bool SkipNvram = true; // acquisition-program sets carry no set-up blocks between their ensembles
};
ReadSource Read_Source(const SetDescriptors& set);

// A place in the set: a member and a 1-based byte position in it.
struct SetPosition {
    size_t Member = 0;
    int64_t Position = 1;
};

// Where the search for ensemble `number` starts: every load by ensemble number takes its start from
// here. Ensembles are taken to be of one length, recordBytes (EnsembleBytes + 2 of the ensemble read
// last), counted from the first ensemble of the file. Nothing when a multi-file set ends, or one of its
// members is gone, before that position.
std::optional<SetPosition> Ensemble_Position(const ReadSource& source, int64_t recordBytes, int32_t number);

// How one pass over the set runs.
struct ReadPlan {
    SetPosition Start;                // where the first search starts
    int32_t Slots = 0;                // the most ensembles stored, into slots 0..Slots-1
    int32_t Step = 0;                 // ensembles passed over unread after each stored one (whole set)
    int64_t StopNumber = INT64_MAX;   // the pass ends once the number decoded last plus Step reaches it
    bool FailuresInARow = false;      // the failed-search limit counts failures in a row, else per file
    int64_t ProgressFull = 1;         // progress value = stored x 100 / ProgressFull
    bool ProgressZeroPerFile = false; // the progress goes back to 0 after each member
};

// Runs the pass from the plan's start through the following members of the set. The report gives the
// ensembles stored (slots 0..Stored-1), the first one's number, the summed time steps (a step back in
// time crosses midnight), the orientation balance, failed searches and NVRAM blocks, and whether the
// progress callback stopped it. Loaded is left to the caller, which knows what it asked for.
// A caller that makes many small loads (an export reads one ensemble per call) passes a file of its own
// in `kept`: a member that is already open in it is read on through its buffer instead of being opened
// and read anew. Without one, each pass opens the members itself.
LoadReport Read_Ensembles(const ReadSource& source, const ReadPlan& plan, DecodeTarget target,
                          const ProcessingSettings& settings, bool& fileValid, const YieldFn& yield,
                          const ProgressSink& progress, EnsembleFile* kept = nullptr);

// Loads ensembles first..last into slots 0.. of the target, at most maxStored of them: the search
// starts at Ensemble_Position of first and takes the ensembles that follow. Loaded when at least one
// was stored; the progress value is stored x 100 / (last - first + 1).
LoadReport Read_Selection(const ReadSource& source, DecodeTarget target, const ProcessingSettings& settings,
                          int32_t first, int32_t last, int32_t maxStored, bool& fileValid,
                          const YieldFn& yield, const ProgressSink& progress, EnsembleFile* kept = nullptr);

} // namespace mvx
