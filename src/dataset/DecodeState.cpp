#include "dataset/DecodeState.h"

#include "ensemble/EnsembleFile.h"
#include "ensemble/Framing.h"
#include "model/DataSet.h"

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

InstrumentSetup First_Ensemble_Setup(const std::string& path, bool& found) {
    CoreState state;
    Allocate_Data_Set(state.Data, 1, 1, false);
    EnsembleFile file;
    found = false;
    if (!file.Open(path)) return state.Setup;
    state.Set.DataStructure = Determine_File_Data_Structure(file, state.Frame, {});
    if (Get_Next_Ensemble(state.Set.DataStructure, file, state.Frame, state.Set.FileValid, {})) {
        found = state.Set.DataStructure != kStructureUnknown;
        Decode_Ensemble(state);
    }
    return state.Setup;
}

} // namespace mvx
