#pragma once
// Turning one decoded slot's raw velocities into the values charts and exports show.
#include "model/EnsembleSet.h"
#include "model/InstrumentSetup.h"
#include "model/Options.h"

namespace mvx {

// Marks the cells beyond the bottom (or surface) as bad, by bottom-track range and/or echo bump.
void End_Of_Profile(const InstrumentSetup& setup, const Options& options, EnsembleSet& data, int slot);
// Beam to earth (beam-coordinate data only), velocity reference, magnitude and direction.
void Process_Velocities(const InstrumentSetup& setup, const Options& options, EnsembleSet& data, int slot);
// Direction in degrees clockwise from north, in [0, 360).
double Velocity_Direction(double east, double north);
// Beam angle in degrees for the set-up (code in SystemConfig bits 8-9; code 3 uses the leader's angle).
double BeamAngleDegrees(const InstrumentSetup& setup);

} // namespace mvx
