#include "dataset/DecodeState.h"

namespace mvx {

DecodeSettings MakeDecodeSettings(const CoreState& state) {
    DecodeSettings settings;
    settings.WaterVelScale = state.Opts.WaterVelScale;
    settings.BottomVelScale = state.Opts.BottomVelScale;
    settings.WaterDensity = state.Opts.WaterDensity;
    settings.FlipChecked = state.Menus.FlipChecked;
    settings.FileValid = state.Set.FileValid;
    return settings;
}

void Decode_Ensemble(CoreState& state) {
    Decode_Ensemble(state.Set.DataStructure, state.Frame, state.Setup, state.Data, state.Set.CurrentEnsIndex,
                    MakeDecodeSettings(state), state.Set.FileValid);
}

} // namespace mvx
