#include "dataset/FileStats.h"
#include "ensemble/LastEnsembleSearch.h"

#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "ensemble/Framing.h"
#include "ensemble/SetStream.h"

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
std::string TimeStampText(const EnsembleSet& data, int slot) {
    if (!data.ValidSlot(slot)) return "";
    auto two = [&](int row) { return FormatNumber(data.EnsTimes(row, slot), "00"); };
    std::string text;
    if (data.EnsTimes(0, slot) != 80) text += two(0) + "/";
    text += two(1) + "/" + two(2) + " " + two(3) + ":" + two(4) + ":" + two(5) + "." + two(6);
    return text;
}

std::string EnsembleLine(const char* caption, int32_t number, const EnsembleSet& data, int slot) {
    return std::string(caption) + FormatNumber(number, "00000000") + " " + TimeStampText(data, slot);
}

} // namespace

std::string Stats_Text(const FileStatsReport& report) {
    if (report.Refusal != LoadRefusal::NotEnoughValid) return report.Text;
    return report.Text + kLineBreak + "Not enough VALID ensembles";
}

FileStatsReport Show_File_Stats(const std::vector<std::string>& memberPaths, int64_t setSize,
                                DecodeTarget target, const DecodeSettings& decode, SetDescriptors& set,
                                const YieldFn& yield) {
    FileStatsReport report;
    if (memberPaths.empty()) return report;
    std::string& text = report.Text;
    auto decodeInto = [&](int slot) {
        Decode_Ensemble(set.DataStructure, target.Frame, target.Setup, target.Arrays, slot, decode,
                        set.FileValid);
    };

    // The first and the last ensemble go into slots 0 and 1.
    if (target.Arrays.Capacity < 2) Allocate_Ensemble_Set(target.Arrays, 2);

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

    SetStream stream;
    // A file that cannot be read ends the statistics where they are, as any read error does.
    if (!stream.Open(memberPaths)) return report;
    set.DataStructure = Determine_File_Data_Structure(stream.File(), target.Frame, yield);
    std::string label = set.DataStructure == kNarrowband  ? "NB "
                        : set.DataStructure == kBroadband ? "BB/LX "
                                                          : "Unknown ";

    bool result = false;
    if (stream.NextEnsemble(set.DataStructure, target.Frame, set.FileValid, yield) &&
        (set.DataStructure == kNarrowband || set.DataStructure == kBroadband)) {
        result = true;
        decodeInto(0);
        const InstrumentSetup& setup = target.Setup;
        if (setup.FlowMeterFirmware) label = "FLXM ";
        text += label + "Ensemble Length " + FormatNumber(target.Frame.EnsembleBytes + 2.0, "0") + " bytes" +
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
        text += EnsembleLine("First Ensemble ", set.FirstEnsNumber, target.Arrays, 0) + kLineBreak;

        // The last ensemble: for ensembles of one length the search starts on the first byte of the
        // second-to-last one.
        const int64_t n0 = target.Frame.EnsembleBytes;
        set.LastEnsNumber = set.FirstEnsNumber;
        Clear_Slot(target.Arrays, 1);
        const LastEnsembleResult found = Find_Last_Ensemble(
            stream, target.Frame, set.DataStructure, set.FileSize, static_cast<int32_t>(n0), set.FileValid,
            [&] {
                decodeInto(1);
                set.LastEnsNumber = target.Setup.EnsembleNumber;
            },
            yield);
        result = found.Found;
        report.Nvram = found.Nvram;

        std::string last = EnsembleLine("Last  Ensemble ", set.LastEnsNumber, target.Arrays, 1);
        const int64_t length = static_cast<int64_t>(target.Frame.EnsembleBytes) + 2;
        const int64_t expected = (static_cast<int64_t>(set.LastEnsNumber) - set.FirstEnsNumber + 1) * length;
        if (expected < set.FileSize) {
            if (report.Nvram) {
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

    report.Refusal = result ? LoadRefusal::None : LoadRefusal::NotEnoughValid;
    stream.Close();
    return report;
}

} // namespace mvx
