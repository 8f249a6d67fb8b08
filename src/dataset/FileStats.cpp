#include "dataset/FileStats.h"
#include "ensemble/LastEnsembleSearch.h"

#include "common/EnsembleTimeText.h"
#include "common/FileLength.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/Framing.h"
#include "ensemble/SetStream.h"

#include <algorithm>

namespace mvx {

namespace {

const char* const kLineBreak = "\r\n";

std::string EnsembleLine(const char* caption, int32_t number, const EnsembleSet& data, int slot) {
    std::string line = std::string(caption) + FormatNumber(number, "00000000") + " ";
    if (!data.ValidSlot(slot)) return line;
    const uint8_t* clock = data.EnsTimes.SlotData(slot);
    return line + Ensemble_Date_Text(clock) + " " + Ensemble_Time_Text(clock);
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

    if (memberPaths.size() == 1) {
        text += memberPaths.front() + kLineBreak;
        if (setSize <= 0) setSize = std::max<int64_t>(File_Length(memberPaths.front()), 0);
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
    const EnsembleFormat* format = Ensemble_Format(set.DataStructure);
    std::string label = format ? format->StatsLabel : "Unknown ";

    bool result = false;
    if (stream.NextEnsemble(set.DataStructure, target.Frame, set.FileValid, yield) && format) {
        result = true;
        decodeInto(0);
        const InstrumentSetup& setup = target.Setup;
        if (setup.FlowMeterFirmware) label = "FLXM ";
        text += label + "Ensemble Length " + FormatNumber(target.Frame.EnsembleBytes + 2.0, "0") + " bytes" +
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
