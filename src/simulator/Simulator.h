#pragma once
// Our simulated instrument: writes valid, checksummed broadband or narrowband ensembles of a plausible
// deployment (tidal current with shear, a bottom within range, moving attitude, advancing clock), with
// switches for everything the readers must handle (stray bytes, damaged ensembles, optional blocks).
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

struct SimulationSpec {
    int32_t Ensembles = 1200;
    int32_t Cells = 30;
    double CellSize = 1.0; // m
    double FirstBin = 2.0; // m, distance to the middle of the first cell
    bool UpLooking = false;
    bool BeamCoordinates = false;
    bool BottomTrack = true;
    bool Navigation = false;
    bool TextBlock = false;
    bool FlowMeter = false; // flow-meter firmware (version 6) with its block
    bool Narrowband = false;
    int32_t StrayBytes = 0;  // bytes of noise written between consecutive ensembles
    int32_t DamageEvery = 0; // every n-th ensemble gets one corrupted byte (0 = none)
    // Ensembles of varying length, as acquisition programs and some instruments write them: each
    // ensemble's text block gets 0..TextVary more characters of a navigation sentence, and its cell
    // count is Cells less 0..CellsVary. The first ensemble's text gets FirstExtraBytes more on top.
    int32_t TextVary = 0;
    int32_t CellsVary = 0;
    int32_t FirstExtraBytes = 0;
    // A checksummed record of another kind (not an ensemble) of this many bytes after each ensemble
    // but the last, as instruments that interleave other measurements write them (0 = none, else 6
    // or more).
    int32_t RecordsBetween = 0;
    uint32_t Seed = 1;
    int32_t FirstEnsembleNumber = 1;
    double IntervalSeconds = 60; // ensemble interval
    // Start time; the default deployment starts late in the evening so it crosses midnight.
    int Year = 2026, Month = 6, Day = 14, Hour = 23, Minute = 0, Second = 0;
};

// What makes the settings impossible ("the number of cells must be 1 to 255"); empty when they are fine.
std::string SimulationSpecProblem(const SimulationSpec& spec);

// Writes the whole file through OutputFile (a target that holds data is refused, a failed file is put
// back as it was found); False with a message when it cannot be written.
bool WriteSimulatedFile(const SimulationSpec& spec, const std::string& path, std::string* error);

// Makes the file's bytes one ensemble (with the stray bytes that follow it) at a time, for callers that
// write huge files or feed a reader directly.
class Simulator {
  public:
    explicit Simulator(const SimulationSpec& spec);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;
    // Appends the next ensemble's bytes (and any stray bytes after it) to out; False when done.
    bool Next(std::vector<uint8_t>& out);
    int32_t Index() const; // 0-based index of the next ensemble

  private:
    struct Impl;
    Impl* impl_;
};

} // namespace mvx
