#pragma once
// The data viewer's text: every decoded value of one loaded ensemble at one displayed bin, fixed width.
#include "model/EnsembleSet.h"
#include "model/InstrumentSetup.h"
#include "model/SetDescriptors.h"

#include <string>

namespace mvx {

// Builds the text for ensemble index e of the loaded set and display bin b. It reads the set's number of
// loaded ensembles (CurrentEnsIndex) and its bin numbering (LastBinShown, OrientationBalance). False
// (text untouched) when e is not a loaded ensemble or b is not below NumCells.
bool Update_Data_View(const EnsembleSet& data, const InstrumentSetup& setup, const SetDescriptors& set, int e,
                      int b, std::string& text);

} // namespace mvx
