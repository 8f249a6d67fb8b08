#pragma once
// The decoder on the program's state: the current ensemble into the slot being filled, with the
// settings the options and the menus give.
#include "ensemble/Decoder.h"
#include "model/CoreState.h"

namespace mvx {

// Scales and water density from the options, the Flip check mark and whether the file is valid.
DecodeSettings MakeDecodeSettings(const CoreState& state);

// Decodes state.Frame into slot state.Set.CurrentEnsIndex with the structure state.Set.DataStructure.
void Decode_Ensemble(CoreState& state);

} // namespace mvx
