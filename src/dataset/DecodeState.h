#pragma once
// The decoder on the program's state: the current ensemble into the slot being filled, with the
// settings the options and the menus give.
#include "ensemble/Decoder.h"
#include "model/CoreState.h"

#include <string>

namespace mvx {

// Scales and water density from the options, the Flip check mark and whether the file is valid.
DecodeSettings MakeDecodeSettings(const CoreState& state);

// Decodes state.Frame into slot state.Set.CurrentEnsIndex with the structure state.Set.DataStructure.
void Decode_Ensemble(CoreState& state);

// The instrument set-up a decode of the file's first ensemble leaves behind (default options, nothing
// else of the program's state touched); found tells whether the file has an ensemble of a known kind.
InstrumentSetup First_Ensemble_Setup(const std::string& path, bool& found);

} // namespace mvx
