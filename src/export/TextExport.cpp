#include "export/TextExport.h"

#include "common/EnsembleTimeText.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "export/ExportData.h"

#include <algorithm>

namespace mvx {

using namespace exportdata;

namespace {

constexpr const char* kTimeHeadings = "Ens\tYR\tMO\tDA\tHH\tMM\tSS\tHH\t";
constexpr const char* kCrLf = "\r\n";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Beam digit 1-4, or the average's letter.
std::string BeamText(int beam) {
    return beam < 4 ? std::to_string(beam + 1) : "A";
}

// The ensemble number and the seven time fields of slot 0, each followed by a TAB.
void AppendEnsembleAndTime(std::string& line, const EnsembleSet& data) {
    AppendInt(line, data.EnsNumbers[0]);
    line += '\t';
    for (int i = 0; i < 7; ++i) {
        AppendTwoDigits(line, data.EnsTimes(i, 0));
        line += '\t';
    }
}

// A per-bin cell after its TAB: counts and percent "0", velocities "0", direction divided by 10 with
// directionDecimals decimals, nothing for a bad velocity.
void AppendBinValue(std::string& line, const EnsembleSet& data, int k, int binIndex, int directionDecimals) {
    const int32_t v = BinValue(data, k, binIndex);
    if (IsVelocityType(k) && v == kBadValue) return;
    if (IsDirectionType(k)) {
        // v tenths of a degree: v / 10 with one decimal is v itself; with two it is v x 10 hundredths.
        AppendScaled(line, directionDecimals == 1 ? v : int64_t{v} * 10, directionDecimals);
        return;
    }
    AppendInt(line, v);
}

} // namespace

std::string ContourTextTitle(int k) {
    static const char* const kVelocityParts[6] = {" East (u) mm/s", " North (v) mm/s", " Vertical (w) mm/s",
                                                  " Error mm/s",    " Magnitude mm/s", " Direction degrees"};
    if (k < 5)
        return " Echo Amplitude counts" + (k < 4 ? " Beam" + BeamText(k) : std::string(" Four Beam Average"));
    if (k < 10)
        return " Correlation counts" +
               (k < 9 ? " Beam" + BeamText(k - 5) : std::string(" Four Beam Average"));
    if (k < 16) return std::string(" Velocity") + kVelocityParts[k - 10];
    return " PG" + std::to_string(k - 15);
}

std::string ProfileTextLabel(int k) {
    static const char* const kVelocityLabels[6] = {"E mm/s  ", "N mm/s  ", "V mm/s  ",
                                                   "Err mm/s", "Mag mm/s", "Dir deg "};
    if (k < 5) return "EA" + BeamText(k) + " cnts";
    if (k < 10) return "C" + BeamText(k - 5) + " cnts";
    if (k < 16) return kVelocityLabels[k - 10];
    return "PG" + std::to_string(k - 15) + " ";
}

bool Write_Text_Header(const ExportReader& reader, OutputFile& file) {
    const InstrumentSetup& s = reader.Setup();
    const SetDescriptors& set = reader.Set();
    std::string text;
    text += Quoted(set.FileName) + kCrLf;
    text += Quoted(SystemName(set.DataStructure) + FrequencyText(s.SystemConfig, set.DataStructure)) + kCrLf;
    text += "\"Pings/Ens =\"\t";
    AppendInt(text, s.PingsPerEnsemble);
    text += kCrLf;
    text +=
        "\"Time/Ping = " + Time_Per_Ping_Text(s.TimePerPing[0], s.TimePerPing[1], s.TimePerPing[2]) + "\"";
    text += kCrLf;
    text += Quoted("First Ensemble Date = " + DateText(reader.Data())) + kCrLf;
    text += Quoted("First Ensemble Time = " + TimeText(reader.Data())) + kCrLf;
    text += "\"Ensemble Interval (s) = \"\t" + FormatNumber(set.EnsembleInterval, "0.00") + kCrLf;
    text += "\"1st Bin Range (m) = \"\t" + FormatNumber(s.Bin1Distance, "0.00") + kCrLf;
    text += "\"Bin Size (m) =\"\t" + FormatNumber(s.CellLength, "0.00") + kCrLf;
    return file.WritePiece(text);
}

bool Write_Contour_Text(ExportReader& reader, ExportSelection& selection, OutputFile& file) {
    const EnsembleRange range = Clamp_Ensemble_Entries(selection.ContourEnsembles, reader.Set());
    const int k = std::clamp(selection.ContourType, 0, kExportDataTypes - 1);
    file.WriteQuotedLine("Contour Data =" + ContourTextTitle(k));
    if (!reader.Load(range.First, file)) return false;
    Write_Text_Header(reader, file);
    file.WriteLineEnd();

    const BinColumns bins = MakeBinColumns(reader, selection.BinsOf(ExportKind::Contour));
    std::string line = kTimeHeadings;
    for (int m : bins.Numbers) {
        line += '\t';
        AppendInt(line, m);
    }
    line += "\r\n\r\n";
    file.WritePiece(line);

    const EnsembleSet& data = reader.Data();
    const int64_t count = range.Count();
    for (int64_t r = 0; r < count && !selection.Cancel && file.Ok(); ++r) {
        const int32_t e = range.At(r);
        if (!reader.Load(e, file)) break;
        // Each row starts with its line end, so the last row has none.
        line.assign(kCrLf);
        AppendEnsembleAndTime(line, data);
        for (size_t c = 0; c < bins.Size(); ++c) {
            line += '\t';
            AppendBinValue(line, data, k, bins.Indices[c], 1);
            if (selection.Cancel) break;
        }
        file.WritePiece(line);
        selection.ReportProgress(EnsembleProgress(range, e));
    }
    selection.ReportProgress(100);
    return file.Ok();
}

bool Write_Profile_Text(ExportReader& reader, ExportSelection& selection, OutputFile& file) {
    const int32_t e = Clamp_Ensemble_Entry(selection.ProfileEnsemble, reader.Set());
    if (!reader.Load(e, file)) return false;
    std::string line = "\"Profile Data Ensemble Number = \"\t";
    AppendInt(line, reader.Setup().EnsembleNumber);
    line += kCrLf;
    file.WritePiece(line);
    Write_Text_Header(reader, file);
    file.WriteLineEnd();

    const BinColumns bins = MakeBinColumns(reader, selection.BinsOf(ExportKind::Profile));
    line.assign("\t");
    for (int m : bins.Numbers) {
        line += '\t';
        AppendInt(line, m);
    }
    line += "\r\n\r\n";
    file.WritePiece(line);

    const auto checked = std::count(selection.ProfileTypes.begin(), selection.ProfileTypes.end(), true);
    int rows = 0;
    for (int k = 0; k < kExportDataTypes && !selection.Cancel && file.Ok(); ++k) {
        if (!selection.ProfileTypes[static_cast<size_t>(k)]) continue;
        line.assign(Quoted(ProfileTextLabel(k)));
        for (size_t c = 0; c < bins.Size(); ++c) {
            line += '\t';
            AppendBinValue(line, reader.Data(), k, bins.Indices[c], 1);
            if (selection.Cancel) break;
        }
        line += kCrLf;
        file.WritePiece(line);
        ++rows;
        selection.ReportProgress(
            static_cast<int>(std::min(100.0, RoundHalfEven(rows * 100.0 / static_cast<double>(checked)))));
    }
    return file.Ok();
}

} // namespace mvx
