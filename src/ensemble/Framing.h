#pragma once
// Finding the next complete, checksum-valid ensemble at or after the current file position.
#include "common/Callbacks.h"
#include "ensemble/EnsembleFile.h"
#include "model/EnsembleFrame.h"

#include <cstdint>

namespace mvx {

// Searches from the current position for the next valid broadband ensemble (0x7F 0x7F, little-endian
// length, checksum). True: frame holds it and the file is positioned on the byte after its checksum.
// False: end of file or 10000 bytes that cannot start an ensemble; EnsembleBytes is restored.
// yield is called at a bounded rate (never once per byte); it may be empty.
bool Find_Broadband_Ensemble(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield);

// The same for narrowband framing (big-endian length, sync byte 0x3F at offset 3, limit 65536).
bool Find_Narrowband_Ensemble(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield);

// Structure 1 searches narrowband, 2 broadband; any other value clears fileValid and returns False.
bool Get_Next_Ensemble(int32_t dataStructure, EnsembleFile& file, EnsembleFrame& frame, bool& fileValid,
                       const YieldFn& yield);

// Tries broadband first, then narrowband; leaves the file at position 1. 0 unknown, 1 NB, 2 BB.
int32_t Determine_File_Data_Structure(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield);

} // namespace mvx
