#pragma once
// The file-details report: one ensemble file's set-up in plain words and by command mnemonic, its first
// and last ensemble, extra data, and a statistics scan of every ensemble. It reads the file through its
// own leader decoders and never touches the data set.
#include "common/Callbacks.h"
#include "model/EnsembleFrame.h"
#include "model/InstrumentSetup.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mvx {

// The report's own configuration fields, filled from the leaders of the first and last ensembles.
struct DetailsConfig {
    // Broadband fixed leader.
    double FirmwareVersion = 0;
    int32_t SystemConfigWord = 0;
    int32_t RealSimFlag = 0, LagLength = 0, Beams = 0, Bins = 0, Pings = 0;
    double BinSize = 0, Blank = 0;
    int32_t Mode = 0, CorrThreshold = 0, CodeReps = 0, MinPGood = 0, ErrThreshold = 0;
    std::array<int32_t, 3> TimePerPing{};
    int32_t CoordXform = 0;
    double HeadAlign = 0, HeadBias = 0;
    int32_t SensorSource = 0, SensorsAvailable = 0;
    double Bin1 = 0, XmtLength = 0;
    int32_t RefLayerFirst = 0, RefLayerLast = 0, FalseTarget = 0, Trigger = 0;
    double LagDistance = 0;
    std::array<uint8_t, 8> CpuSerial{};
    int32_t BandWidth = 0, HighPower = 0;
    std::vector<int32_t> DataTypeIds;
    bool Strandex = false;
    // Narrowband leader.
    int32_t NBBlockLengths[5] = {0, 0, 0, 0, 0};
    int32_t NBBinLengthCode = 0, NBXmtLength = 0, NBBlank = 0, NBDelay = 0, NBConfig = 0, NBSnr = 0,
            NBPGoodThreshold = 0;
    // Time stamp of the last leader decoded: year, month, day, hour, minute, second, hundredths.
    std::array<uint8_t, 7> Time{};
    int32_t EnsembleNumber = 0;
    int32_t Config = 0; // configuration of the last ensemble (bit 7 up for broadband)
};

// The six counters of the statistics scan.
struct EnsembleStatistics {
    int32_t First = 0, Last = 0, Missing = 0, Repeats = 0, Resets = 0, WrongSize = 0;
};

struct FileDetailsResult {
    std::string Text;
    EnsembleStatistics Stats;
    DetailsConfig Config;
    int32_t UpCount = 0, DownCount = 0;
    bool Nvram = false;
    bool Stopped = false; // the progress callback stopped the statistics scan part-way
};

// Writes the report for the file at path. btSetup supplies the bottom-track set-up lines (the values the
// program's last decode left). onStatistics is called whenever a counter of the scan changes, so a
// window can show the scan as it progresses (the report text is complete by the first call). The scan
// reports its progress (0..100, the share of the file read) after every ensemble; a false answer stops
// it there, with Stopped set. Returns False when the file cannot be opened ("Invalid File" is then the
// whole text); a read failure part-way appends "File Error".
// A file whose ensembles do not all sit where the first one's length puts them (as the file statistics
// decide it) is indexed first, the pass taking progress 0..50 and the scan 50..100 (a pass stopped ends
// the report after the first ensemble's line); its last ensemble is the last one indexed, its extra data
// the bytes outside its ensembles less those of the ensembles missing from its numbering (at their mean
// length), and the scan reads the indexed ensembles at their places. In every file, an ensemble of
// another length than the first is wrong size only when it cannot hold what its own header describes
// (Holds_Its_Layout) or is a set-up block.
bool Show_File_Details(const std::string& path, const InstrumentSetup& btSetup, FileDetailsResult& result,
                       const std::function<void(const EnsembleStatistics&)>& onStatistics = {},
                       const YieldFn& yield = {}, const ProgressSink& progress = {});

// Bits n down to 0 of value as '1'/'0' characters, most significant first.
std::string CovertByteToBinaryStr(int32_t value, int topBit);

// The report's own leader decoders: the leaders into the report's fields (with recordTypes also the
// data-type ids and the bottom-track position marker). Fields outside a short ensemble read as 0.
void Decode_Broadband_Leaders(const EnsembleFrame& frame, DetailsConfig& config, bool recordTypes);
void Decode_Narrowband_Leader(const EnsembleFrame& frame, DetailsConfig& config, bool recordTypes);

} // namespace mvx
