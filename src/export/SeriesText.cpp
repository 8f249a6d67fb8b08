// The series text file: ancillary columns, then the bottom-track, water-mass, navigation, position,
// MicroCAT and bottom-track depth columns, then one column per checked data type and selected bin.
#include "common/NumberFormat.h"
#include "export/ExportData.h"
#include "export/TextExport.h"

#include <vector>

namespace mvx {

using namespace exportdata;

namespace {

constexpr double kBinaryAngleDegrees = 180.0 / 2147483648.0;

enum class Source { Anc, BottomTrack, WaterMass, Navigation, Position, MicroCAT, BTDepth, Bin };
enum Position { kFirstLat, kFirstLon, kLastLat, kLastLon, kLat, kLon };

struct Column {
    Source From;
    int Row = 0;      // ancillary row, velocity component, position, beam, or data type
    int BinIndex = 0; // bin columns
    int BinNumber = 0;
    std::string Label, Unit;
    int Width = 0; // cells padded on the left with spaces to this width (0: no padding)
};

std::string Cell(const std::string& text, int width) {
    return width > 0 ? Fix_String(text, ' ', width) : text;
}

std::vector<Column> SeriesColumns(const ExportReader& reader, const ExportSelection& sel) {
    static const char* const kAncLabels[8] = {"Pit", "Rol", "Hea", "Tem", "Dep", "Ori", "BIT", "Bat"};
    static const char* const kAncUnits[8] = {"deg", "deg", "deg", "deg", "m", "", "", "cnt"};
    static const char* const kComponents[6] = {"E", "N", "V", "e", "M", "D"};
    static const char* const kBinLabels[kExportDataTypes] = {"EA1", "EA2", "EA3", "EA4", "EAA", "C1",  "C2",
                                                             "C3",  "C4",  "CA",  "Eas", "Nor", "Ver", "Err",
                                                             "Mag", "Dir", "PG1", "PG2", "PG3", "PG4"};
    std::vector<Column> columns;
    for (int k = 0; k < kAncBoxes; ++k)
        if (sel.AncTypes[static_cast<size_t>(k)])
            columns.push_back({Source::Anc, k, 0, 0, kAncLabels[k], kAncUnits[k]});
    auto checked = [&](int box) { return sel.SeriesTypes[static_cast<size_t>(box)]; };
    for (int c = 0; c < 6; ++c)
        if (checked(kSeriesBottomTrack + c))
            columns.push_back(
                {Source::BottomTrack, c, 0, 0, std::string("BT") + kComponents[c], c == 5 ? "deg" : "mm/s"});
    for (int c = 0; c < 6; ++c)
        if (checked(kSeriesWaterMass + c))
            columns.push_back(
                {Source::WaterMass, c, 0, 0, std::string("WM") + kComponents[c], c == 5 ? "deg" : "mm/s"});
    static const int kNavComponents[4] = {0, 1, 4, 5};
    static const char* const kNavLabels[4] = {"NVE", "NVN", "NVM", "NVD"};
    for (int i = 0; i < 4; ++i)
        if (checked(kSeriesNavEast + i))
            columns.push_back(
                {Source::Navigation, kNavComponents[i], 0, 0, kNavLabels[i], i == 3 ? "deg" : "mm/s"});
    if (checked(kSeriesLatLon)) {
        if (sel.Strandex()) {
            columns.push_back({Source::Position, kLat, 0, 0, "Lat", "deg", 10});
            columns.push_back({Source::Position, kLon, 0, 0, "Lon", "deg", 10});
        } else {
            columns.push_back({Source::Position, kFirstLat, 0, 0, "FLat", "deg", 10});
            columns.push_back({Source::Position, kFirstLon, 0, 0, "FLon", "deg", 10});
            columns.push_back({Source::Position, kLastLat, 0, 0, "LLat", "deg", 10});
            columns.push_back({Source::Position, kLastLon, 0, 0, "LLon", "deg", 10});
        }
    }
    if (checked(kSeriesMicroCAT)) columns.push_back({Source::MicroCAT, 0, 0, 0, "MicroCAT", "str"});
    if (checked(kSeriesBTDepth))
        for (int b = 0; b < 4; ++b)
            columns.push_back({Source::BTDepth, b, 0, 0, "BD" + std::to_string(b + 1), "cm", 8});

    const BinColumns bins = MakeBinColumns(reader, sel.BinsOf(ExportKind::Series));
    for (int k = 0; k < kExportDataTypes; ++k) {
        if (!checked(k)) continue;
        const char* unit = k < 10 ? "cnt" : k < 15 ? "mm/s" : k == 15 ? "deg" : "%";
        for (size_t c = 0; c < bins.Size(); ++c)
            columns.push_back({Source::Bin, k, bins.Indices[c], bins.Numbers[c], kBinLabels[k], unit});
    }
    return columns;
}

// A velocity-like component: speeds "0", direction (tenths) divided by 10 with two decimals; a bad
// value leaves the cell empty.
void AppendComponent(std::string& line, int16_t v, int component) {
    if (v == kBadValue) return;
    if (component == 5)
        AppendScaled(line, int64_t{v} * 10, 2);
    else
        AppendInt(line, v);
}

int32_t PositionValue(const EnsembleSet& d, int which) {
    switch (which) {
    case kFirstLat:
        return d.NavFirstLat[0];
    case kFirstLon:
        return d.NavFirstLon[0];
    case kLastLat:
        return d.NavLastLat[0];
    case kLastLon:
        return d.NavLastLon[0];
    case kLat:
        return d.LatData[0];
    default:
        return d.LonData[0];
    }
}

void AppendValue(std::string& line, const Column& col, const EnsembleSet& d, bool strandex) {
    switch (col.From) {
    case Source::Anc: {
        const int32_t v = d.AncData(col.Row, 0);
        if (col.Row < 4)
            AppendScaled(line, v, 2);
        else if (col.Row == 4)
            AppendScaled(line, v, 3);
        else
            AppendInt(line, v);
        return;
    }
    case Source::BottomTrack:
        AppendComponent(line, d.BTVelData(col.Row, 0), col.Row);
        return;
    case Source::WaterMass:
        AppendComponent(line, d.RefVelData(col.Row, 0), col.Row);
        return;
    case Source::Navigation:
        AppendComponent(line, strandex ? d.RefVelWork(col.Row, 0) : d.NavData(col.Row, 0), col.Row);
        return;
    case Source::Position:
        line +=
            Fix_String(FormatNumber(PositionValue(d, col.Row) * kBinaryAngleDegrees, "0.00000000"), ' ', 10);
        return;
    case Source::MicroCAT:
        line += d.TextData[0];
        return;
    case Source::BTDepth: {
        std::string v;
        AppendInt(v, d.BTRangeData(col.Row, 0));
        line += Fix_String(v, ' ', 8);
        return;
    }
    case Source::Bin: {
        const int32_t v = BinValue(d, col.Row, col.BinIndex);
        if (IsVelocityType(col.Row) && v == kBadValue) return;
        if (IsDirectionType(col.Row))
            AppendScaled(line, int64_t{v} * 10, 2);
        else
            AppendInt(line, v);
        return;
    }
    }
}

} // namespace

bool Write_Series_Text(ExportReader& reader, ExportSelection& selection, OutputFile& file) {
    const EnsembleRange range = Clamp_Ensemble_Entries(selection.SeriesEnsembles, reader.Set());
    file.WriteQuotedLine("Series Data");
    if (!reader.Load(range.First, file)) return false;
    Write_Text_Header(reader, file);
    file.WritePiece("\r\n\r\n");

    const std::vector<Column> columns = SeriesColumns(reader, selection);
    std::string labels = "Ens\tYR\tMO\tDA\tHH\tMM\tSS\tHH\t", units = "\t\t\t\t\t\t\t\t", bins = units;
    for (const Column& col : columns) {
        labels += '\t' + Cell("\"" + col.Label + "\"", col.Width);
        units += '\t' + Cell("\"" + col.Unit + "\"", col.Width);
        bins += '\t';
        if (col.From == Source::Bin) exportdata::AppendInt(bins, col.BinNumber);
    }
    file.WritePiece(labels + "\r\n" + units + "\r\n" + bins + "\r\n\r\n");

    const EnsembleSet& data = reader.Data();
    const bool strandex = selection.Strandex();
    const int64_t count = range.Count();
    std::string line;
    for (int64_t r = 0; r < count && !selection.Cancel && file.Ok(); ++r) {
        const int32_t e = range.At(r);
        if (!reader.Load(e, file)) break;
        line.clear();
        AppendInt(line, data.EnsNumbers[0]);
        line += '\t';
        for (int i = 0; i < 7; ++i) {
            AppendTwoDigits(line, data.EnsTimes(i, 0));
            line += '\t';
        }
        for (const Column& col : columns) {
            line += '\t';
            AppendValue(line, col, data, strandex);
            if (col.From == Source::Bin && selection.Cancel) break;
        }
        line += "\r\n";
        file.WritePiece(line);
        selection.ReportProgress(EnsembleProgress(range, e));
    }
    selection.ReportProgress(100);
    return file.Ok();
}

} // namespace mvx
