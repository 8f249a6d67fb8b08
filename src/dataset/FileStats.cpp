#include "dataset/FileStats.h"
#include "ensemble/LastEnsembleSearch.h"

#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "dataset/DecodeState.h"
#include "ensemble/Framing.h"
#include "ensemble/SetStream.h"
#include "model/CoreState.h"

#include <algorithm>
#include <filesystem>

namespace mvx {

namespace {

const char* const kLineBreak = "\r\n";

std::string FrequencyText(int32_t systemConfig, int32_t structure) {
    switch (systemConfig & 7) {
    case 0:
        return "76.8 kHz";
    case 1:
        return "153.6 kHz";
    case 2:
        return "307.2 kHz";
    case 3:
        return "614.4 kHz";
    case 4:
        return "1228.8 kHz";
    case 5:
        return structure == kNarrowband ? "115.0 kHz" : "2457.6 kHz";
    case 6:
        return "38.4 kHz";
    default:
        return "Unknown";
    }
}

// "yy/mm/dd hh:mm:ss.hh" of one slot; narrowband files carry no year (the year byte is 80).
std::string TimeStampText(const DataSet& data, int slot) {
    if (!data.ValidSlot(slot)) return "";
    auto two = [&](int row) { return FormatNumber(data.EnsTimes(row, slot), "00"); };
    std::string text;
    if (data.EnsTimes(0, slot) != 80) text += two(0) + "/";
    text += two(1) + "/" + two(2) + " " + two(3) + ":" + two(4) + ":" + two(5) + "." + two(6);
    return text;
}

std::string EnsembleLine(const char* caption, int32_t number, const DataSet& data, int slot) {
    return std::string(caption) + FormatNumber(number, "00000000") + " " + TimeStampText(data, slot);
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

    std::error_code ec;
    if (memberPaths.size() == 1) {
        text += memberPaths.front() + kLineBreak;
        if (setSize <= 0) {
            const auto size = std::filesystem::file_size(memberPaths.front(), ec);
            setSize = ec ? 0 : static_cast<int64_t>(size);
        }
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
    std::string label = set.DataStructure == kNarrowband  ? "NB "
                        : set.DataStructure == kBroadband ? "BB/LX "
                                                          : "Unknown ";

    bool result = false;
    if (stream.NextEnsemble(set.DataStructure, state.Frame, set.FileValid, state.Yield) &&
        (set.DataStructure == kNarrowband || set.DataStructure == kBroadband)) {
        result = true;
        DecodeInto(state, 0);
        const InstrumentSetup& setup = state.Setup;
        if (setup.FlowMeterFirmware) label = "FLXM ";
        text += label + "Ensemble Length " + FormatNumber(state.Frame.EnsembleBytes + 2.0, "0") + " bytes" +
                kLineBreak;
        set.FirstEnsNumber = setup.EnsembleNumber;

        text += "System Frequency: " + FrequencyText(setup.SystemConfig, set.DataStructure) + kLineBreak;
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
                FormatNumber(setup.TimePerPing[0], "00") + ":" + FormatNumber(setup.TimePerPing[1], "00") +
                "." + FormatNumber(setup.TimePerPing[2], "00") + kLineBreak;
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
