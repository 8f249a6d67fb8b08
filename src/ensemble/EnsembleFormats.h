#pragma once
// The two ensemble formats side by side: how each is framed and found, decoded in full, decoded leaders
// only (for the file-details report) and named; and the rules that follow from the format.
#include "common/Callbacks.h"
#include "ensemble/Decoder.h"
#include "ensemble/EnsembleFile.h"
#include "ensemble/Framing.h"
#include "model/EnsembleFrame.h"

#include <cstdint>

namespace mvx {

struct DetailsConfig;

struct EnsembleFormat {
    int32_t Structure;       // kNarrowband or kBroadband
    const char* StatsLabel;  // opens the file statistics' length line
    const char* DetailsName; // follows "Data Structure " in the file details
    const char* SystemName;  // in the export headers
    const char* Frequency5;  // the name of system frequency code 5
    const FramingRule& Framing;
    bool (*Find)(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield);
    void (*Decode)(const EnsembleFrame& frame, InstrumentSetup& setup, EnsembleSet& data, int32_t slot,
                   const DecodeSettings& settings);
    // The leaders into the report's fields; recordTypes also lists the data types.
    void (*DecodeLeaders)(const EnsembleFrame& frame, DetailsConfig& config, bool recordTypes);
    // The number the ensemble carries, or -1.
    int64_t (*Number)(const EnsembleFrame& frame);
};

// The format of structure 1 (narrowband) or 2 (broadband); nullptr for any other value.
const EnsembleFormat* Ensemble_Format(int32_t structure);

// The name of a system frequency code (bits 0-2 of the configuration word): "76.8 kHz" for 0 up to
// "38.4 kHz" for 6, code 5 being the format's own; nullptr for 7 and for code 5 of an unknown structure.
const char* System_Frequency_Name(int32_t code, int32_t structure);

// An NVRAM data set: an ensemble of more than 8000 bytes with exactly two data types. Its second data
// type is not a variable leader, and the loads do not store it.
constexpr int32_t kNvramMinBytes = 8000;
inline bool Is_Nvram_Block(int32_t ensembleBytes, int32_t dataTypeCount) {
    return ensembleBytes > kNvramMinBytes && dataTypeCount == 2;
}
// The same for the ensemble in the frame (its data-type count is byte 5).
bool Is_Nvram_Block(const EnsembleFrame& frame);

} // namespace mvx
