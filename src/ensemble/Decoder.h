#pragma once
// Decoding the ensemble in the frame into the instrument set-up and slot `slot` of the data set.
#include "model/EnsembleFrame.h"
#include "model/EnsembleSet.h"
#include "model/InstrumentSetup.h"

#include <cstdint>

namespace mvx {

// What the decoders read of the options and menus.
struct DecodeSettings {
    double WaterVelScale = 1.0;
    double BottomVelScale = 1.0;
    float WaterDensity = 1000;
    bool FlipChecked = false; // the Flip menu item
    bool FileValid = false;   // the fixed leader applies Flip only to a valid file
};

// Never reads outside frame.EnsembleBuffer and never writes outside the data set: a data type whose
// offset or length does not fit the ensemble is skipped or decoded only as far as it fits, and cells
// beyond the bin dimension are not stored.
void Decode_Broadband_Ensemble(const EnsembleFrame& frame, InstrumentSetup& setup, EnsembleSet& data,
                               int32_t slot, const DecodeSettings& settings);
void Decode_Narrowband_Ensemble(const EnsembleFrame& frame, InstrumentSetup& setup, EnsembleSet& data,
                                int32_t slot, const DecodeSettings& settings);
// The number the ensemble carries, read where the decoders read it (broadband: the first variable
// leader that holds its fields, never in a set-up block; narrowband: the leader), or -1 when it carries
// none.
int64_t Broadband_Ensemble_Number(const EnsembleFrame& frame);
int64_t Narrowband_Ensemble_Number(const EnsembleFrame& frame);
// Structure 1 narrowband, 2 broadband; anything else clears fileValid and decodes nothing.
void Decode_Ensemble(int32_t dataStructure, const EnsembleFrame& frame, InstrumentSetup& setup,
                     EnsembleSet& data, int32_t slot, const DecodeSettings& settings, bool& fileValid);

} // namespace mvx
