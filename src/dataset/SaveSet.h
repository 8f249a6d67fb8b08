#pragma once
// Raw copies of a range of ensembles: the bytes of the open file (or of its multi-file set) written
// unchanged to a new file, one record of EnsembleBytes + 2 bytes per ensemble number.
#include "model/SetDescriptors.h"

#include <cstdint>
#include <string>

namespace mvx {

enum class SaveSetResult {
    Saved,       // the records were written
    NothingToDo, // no target name, or the target is the open file itself
    NotAllowed,  // the target already holds data; nothing was written
    Failed       // no file loaded, a source file could not be read, or the target could not be
                 // opened or written (then it is left as it was found: removed or empty again)
};

// Copies ensembles first..last of the open file that set describes into target, through OutputFile, in
// records of ensembleBytes + 2 bytes (the length of the ensemble read last). The first record starts at
// the position the loader would seek to for the first ensemble, counted across the files of a
// multi-file set; the copy runs on through the following files of the set and stops early at the end of
// the last one. A set with an index (ensembles of varying length or with bytes between them) copies
// instead the ensembles a load of first..last takes (from the one a load of first starts at, in file
// order, while their numbers lie in first..last), each whole as recorded and nothing between them.
// bytesWritten (optional) receives the count written; message (optional) receives a sentence for a message
// box when the result is NotAllowed ("Over-Write of File Not Allowed") or Failed (what failed and what became
// of the target), and is cleared otherwise.
SaveSetResult Save_Ensemble_Range(const SetDescriptors& set, int32_t ensembleBytes, int32_t first,
                                  int32_t last, const std::string& target, int64_t* bytesWritten = nullptr,
                                  std::string* message = nullptr);

} // namespace mvx
