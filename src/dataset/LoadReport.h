#pragma once
// What one load did, for its caller to act on and the information window to show: whether anything
// was loaded, how many ensembles were stored, what the search passed over, and why a file was refused.
#include <cstdint>

namespace mvx {

enum class LoadRefusal {
    None,           // loaded
    Unreadable,     // no file is open, or the file (or a member of its set) cannot be opened
    NotEnoughValid, // the statistics found no ensemble to decode or no last one
    TooFewStored,   // a whole-set load stored fewer than two ensembles
    NothingStored,  // a selection found none of its ensembles
    Stopped,        // the progress callback asked the load to stop
};

struct LoadReport {
    bool Loaded = false;
    bool Stopped = false;           // the progress callback asked to stop; what was stored stays
    int32_t Stored = 0;             // ensembles stored in slots 0..Stored-1
    int32_t FirstNumber = 0;        // ensemble number of slot 0
    int32_t LastNumber = 0;         // ensemble number of the last slot stored
    int32_t FailedSearches = 0;     // searches that ended without an ensemble (bad bytes or end of file)
    int32_t NvramBlocks = 0;        // set-up blocks met between the ensembles and not stored
    double Duration = 0;            // sum of the time steps between the stored ensembles, s
    int32_t OrientationBalance = 0; // +1 per down-looking, -1 per up-looking stored ensemble
    LoadRefusal Refusal = LoadRefusal::None;

    explicit operator bool() const { return Loaded; }
};

} // namespace mvx
