#pragma once
// Descriptors of the open file and of the loaded set.
#include "model/EnsembleIndex.h"

#include <cstdint>
#include <string>

namespace mvx {

struct SetDescriptors {
    int32_t DataStructure = 0; // 0 unknown, 1 narrowband, 2 broadband
    bool FileValid = false;
    int64_t FileSize = 0; // bytes of the file, or of every member of a multi-file set
    int32_t CurrentEnsIndex = 0;
    int32_t FirstEnsNumber = 0, LastEnsNumber = 0;
    int32_t NumEnsembles = 0;
    int32_t FileFirstEnsemble = 0, FileLastEnsemble = 0;
    int32_t ProfileEnsNumber = 0;
    double SetDuration = 0, WholeSetDuration = 0, EnsembleInterval = 0;
    int32_t WholeSetStep = 0;
    int32_t WholeEnsCount = 0, WholeFirstEns = 0, WholeStepSaved = 0;
    int32_t OrientationBalance = 0;
    int32_t FirstBinShown = 1, LastBinShown = 0;
    bool RotateNeeded =
        true; // every load sets it: the track rows (VelData rows 6 and 7) are to be filled anew
    int32_t MultiFileCount = 0, QUARNFileCount = 0;
    int32_t SelFirstEns = 0, SelLastEns = 0; // the navigator's selection
    std::string FileName;                    // the open file (the open dialog's file name)
    std::string StatsText;                   // the information window's text
    // The exact places of the file's ensembles; empty when they sit where the arithmetic puts them.
    EnsembleIndex Index;
};

} // namespace mvx
