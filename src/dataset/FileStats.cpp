#include "dataset/FileStats.h"

#include "ensemble/EnsembleIndexPass.h"
#include "ensemble/IndexDecision.h"
#include "ensemble/LastEnsembleSearch.h"

#include "common/EnsembleTimeText.h"
#include "common/FileLength.h"
#include "common/NumberFormat.h"
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

// The remark after the last ensemble by the arithmetic, which may replace the last ensemble number
// by the estimate of the file's size.
std::string ArithmeticRemark(bool nvram, int32_t ensembleBytes, SetDescriptors& set) {
    const int64_t length = static_cast<int64_t>(ensembleBytes) + 2;
    const int64_t expected = (static_cast<int64_t>(set.LastEnsNumber) - set.FirstEnsNumber + 1) * length;
    if (expected < set.FileSize) {
        if (nvram) return " NVRAM Data in File";
        set.LastEnsNumber = Arithmetic_Last_Ensemble(
            ArithmeticFacts{set.FirstEnsNumber, 0, ensembleBytes, set.LastEnsNumber}, set.FileSize, nvram);
        return " Extra Data in File";
    }
    if (expected > set.FileSize)
        return std::string(" Missing Ensembles ") + " " +
               FormatNumber(static_cast<double>(expected - set.FileSize + 1) / static_cast<double>(length),
                            "0");
    return {};
}

// The last-ensemble line of an indexed set: its last entry, decoded into slot 1, and the remark from
// the index (the numbers skipped, else the bytes outside every ensemble).
template <typename Decode>
std::string IndexedLast(SetDescriptors& set, DecodeTarget target, const Decode& decodeInto, bool& nvram) {
    const EnsembleIndex& index = set.Index;
    const IndexEntry& entry = index.Entries.back();
    set.LastEnsNumber = entry.Number;
    Clear_Slot(target.Arrays, 1);
    const SetPosition at = Entry_Position(index, index.Count() - 1);
    EnsembleFile file(64 * 1024);
    bool valid = set.FileValid;
    if (file.Open(index.Members[at.Member])) {
        file.Seek(at.Position);
        if (Get_Next_Ensemble(set.DataStructure, file, target.Frame, valid, {})) decodeInto(1);
    }
    nvram = index.NvramBlocks > 0;
    std::string line = EnsembleLine("Last  Ensemble ", set.LastEnsNumber, target.Arrays, 1);
    if (const int64_t missing = Missing_Ensembles(index); missing > 0)
        return line + " Missing Ensembles " + " " + std::to_string(missing);
    if (index.TotalLength() > index.CoveredBytes)
        line += nvram ? " NVRAM Data in File" : " Extra Data in File";
    return line;
}

} // namespace

std::string Stats_Text(const FileStatsReport& report) {
    if (report.Refusal != LoadRefusal::NotEnoughValid) return report.Text;
    return report.Text + kLineBreak + "Not enough VALID ensembles";
}

FileStatsReport Show_File_Stats(const std::vector<std::string>& memberPaths, int64_t setSize,
                                DecodeTarget target, const DecodeSettings& decode, SetDescriptors& set,
                                const YieldFn& yield, const IndexSettings& indexing) {
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

        // Where the first ensemble starts, for the check of the arithmetic.
        const int64_t n0 = target.Frame.EnsembleBytes;
        ArithmeticFacts facts;
        facts.FirstNumber = set.FirstEnsNumber;
        facts.FirstBytes = static_cast<int32_t>(n0);
        facts.FirstOffset =
            stream.MemberOffset(stream.CurrentMember()) + stream.File().NextPosition() - (n0 + 2) - 1;

        // A kept index of the same set (monitor mode) is extended, and the arithmetic not tried again.
        EnsembleIndex kept = std::move(set.Index);
        set.Index = EnsembleIndex{};
        const bool extend =
            indexing.ExtendKept && !kept.Empty() && Index_Extends(kept, memberPaths, set.DataStructure);
        std::string last;
        bool needsIndex = extend;
        if (!extend) {
            // The last ensemble: for ensembles of one length the search starts on the first byte of the
            // second-to-last one.
            set.LastEnsNumber = set.FirstEnsNumber;
            Clear_Slot(target.Arrays, 1);
            const LastEnsembleResult found = Find_Last_Ensemble(
                stream, target.Frame, set.DataStructure, set.FileSize, static_cast<int32_t>(n0),
                set.FileValid,
                [&] {
                    decodeInto(1);
                    set.LastEnsNumber = target.Setup.EnsembleNumber;
                },
                yield);
            result = found.Found;
            report.Nvram = found.Nvram;
            facts.LastNumber = set.LastEnsNumber;
            last = EnsembleLine("Last  Ensemble ", set.LastEnsNumber, target.Arrays, 1);
            last += ArithmeticRemark(report.Nvram, static_cast<int32_t>(target.Frame.EnsembleBytes), set);
            // The arithmetic holds only when the last ensemble found is the last, and the ensembles
            // read sit where it puts them.
            needsIndex =
                !result || set.LastEnsNumber != facts.LastNumber ||
                !Arithmetic_Holds(memberPaths, set.DataStructure, facts, indexing.FirstSubSet, yield);
        }
        if (needsIndex) {
            set.Index = std::move(kept);
            indexing.Progress.DoShow("Indexing Ensembles...");
            const IndexPassEnd pass =
                Index_Ensembles(memberPaths, set.DataStructure, extend, set.Index, yield, indexing.Progress);
            indexing.Progress.DoHide();
            if (pass == IndexPassEnd::Stopped) {
                report.Refusal = LoadRefusal::Stopped;
                stream.Close();
                return report;
            }
            result = !set.Index.Empty();
            if (result) last = IndexedLast(set, target, decodeInto, report.Nvram);
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
