#include "dataset/FileStats.h"
#include "ensemble/LastEnsembleSearch.h"

#include "common/EnsembleTimeText.h"
#include "common/FileLength.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "dataset/DecodeState.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/Framing.h"
#include "ensemble/SetStream.h"
#include "model/CoreState.h"

#include <algorithm>

namespace mvx {

namespace {

const char* const kLineBreak = "\r\n";

std::string EnsembleLine(const char* caption, int32_t number, const DataSet& data, int slot) {
    std::string line = std::string(caption) + FormatNumber(number, "00000000") + " ";
    if (!data.ValidSlot(slot)) return line;
    const uint8_t* clock = data.EnsTimes.SlotData(slot);
    return line + Ensemble_Date_Text(clock) + " " + Ensemble_Time_Text(clock);
}

// Decodes the frame into the given slot of the data set.
void DecodeInto(CoreState& state, int slot) {
    state.Set.CurrentEnsIndex = slot;
    Decode_Ensemble(state);
}

} // namespace

bool Show_File_Stats(CoreState& state, const std::vector<std::string>& memberPaths, int64_t setSize) {
    if (memberPaths.empty()) return false;
    SetDescriptors& set = state.Set;
    std::string& text = set.StatsText;

    // The first and the last ensemble go into slots 0 and 1.
    if (state.Data.Capacity < 2)
        Allocate_Data_Set(state.Data, std::max(state.Opts.MaxSubEnsembles, 1),
                          std::max(state.Opts.MaxWholeEnsembles, 1), true);

    if (memberPaths.size() == 1) {
        text += memberPaths.front() + kLineBreak;
        if (setSize <= 0) setSize = std::max<int64_t>(File_Length(memberPaths.front()), 0);
    } else {
        text += memberPaths.front() + " to " + memberPaths.back() + kLineBreak;
    }
    set.FileSize = setSize;
    text += "File Size " + FormatNumber(static_cast<double>(set.FileSize), "###,###,###,###") + " bytes" +
            kLineBreak;

    set.CurrentEnsIndex = 0;
    SetStream stream;
    // A file that cannot be read ends the statistics where they are, as any read error does.
    if (!stream.Open(memberPaths)) return false;
    set.DataStructure = Determine_File_Data_Structure(stream.File(), state.Frame, state.Yield);
    const EnsembleFormat* format = Ensemble_Format(set.DataStructure);
    std::string label = format ? format->StatsLabel : "Unknown ";

    bool result = false;
    if (stream.NextEnsemble(set.DataStructure, state.Frame, set.FileValid, state.Yield) && format) {
        result = true;
        DecodeInto(state, 0);
        const InstrumentSetup& setup = state.Setup;
        if (setup.FlowMeterFirmware) label = "FLXM ";
        text += label + "Ensemble Length " + FormatNumber(state.Frame.EnsembleBytes + 2.0, "0") + " bytes" +
                kLineBreak;
        set.FirstEnsNumber = setup.EnsembleNumber;

        const char* frequency = System_Frequency_Name(setup.SystemConfig & 7, set.DataStructure);
        text += std::string("System Frequency: ") + (frequency ? frequency : "Unknown") + kLineBreak;
        const double firstBin = setup.LooksUp() ? setup.Bin1Distance : -setup.Bin1Distance;
        text += "1st Bin " + FormatNumber(firstBin, "0.00") + " m, ";
        if (setup.FlowMeterFirmware)
            text += "Bin Sizes " + FormatNumber(setup.CellLengthCos20x10, "0.000") + ", " +
                    FormatNumber(setup.CellLengthCos30x20, "0.000") + " m";
        else
            text += "Bin Size " + FormatNumber(setup.CellLength, "0.00") + " m";
        text += kLineBreak;
        text += "No. Bins " + std::to_string(setup.NumCells) + ", " + "Pings/Ens " +
                std::to_string(setup.PingsPerEnsemble) + ", " + "Time/Ping " +
                Time_Per_Ping_Text(setup.TimePerPing[0], setup.TimePerPing[1], setup.TimePerPing[2]) +
                kLineBreak;
        text += EnsembleLine("First Ensemble ", set.FirstEnsNumber, state.Data, 0) + kLineBreak;

        // The last ensemble: for ensembles of one length the search starts on the first byte of the
        // second-to-last one.
        const int64_t n0 = state.Frame.EnsembleBytes;
        set.NvramInFile = false;
        set.LastEnsNumber = set.FirstEnsNumber;
        Clear_Slot(state.Data, 1);
        const LastEnsembleResult found = Find_Last_Ensemble(
            stream, state.Frame, set.DataStructure, set.FileSize, static_cast<int32_t>(n0), set.FileValid,
            [&] {
                DecodeInto(state, 1);
                set.LastEnsNumber = state.Setup.EnsembleNumber;
            },
            state.Yield);
        result = found.Found;
        set.NvramInFile = found.Nvram;

        std::string last = EnsembleLine("Last  Ensemble ", set.LastEnsNumber, state.Data, 1);
        const int64_t length = static_cast<int64_t>(state.Frame.EnsembleBytes) + 2;
        const int64_t expected = (static_cast<int64_t>(set.LastEnsNumber) - set.FirstEnsNumber + 1) * length;
        if (expected < set.FileSize) {
            if (set.NvramInFile) {
                last += " NVRAM Data in File";
            } else {
                last += " Extra Data in File";
                set.LastEnsNumber = RoundToInt32(
                    static_cast<double>(set.FileSize) / static_cast<double>(length) + set.FirstEnsNumber - 1);
            }
        } else if (expected > set.FileSize) {
            last += std::string(" Missing Ensembles ") + " " +
                    FormatNumber(
                        static_cast<double>(expected - set.FileSize + 1) / static_cast<double>(length), "0");
        }
        text += last + kLineBreak;
        set.NumEnsembles = set.LastEnsNumber - set.FirstEnsNumber + 1;
        set.FileFirstEnsemble = set.FirstEnsNumber;
        set.FileLastEnsemble = set.LastEnsNumber;
    }

    if (!result) text += std::string(kLineBreak) + "Not enough VALID ensembles";
    stream.Close();
    return result;
}

} // namespace mvx
