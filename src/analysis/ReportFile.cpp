#include "analysis/ReportFile.h"

#include "common/ContourCode.h"
#include "common/EnsembleTimeText.h"
#include "common/LeadingNumber.h"
#include "common/NumberFormat.h"
#include "common/OutputFile.h"
#include "common/Rounding.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <memory>
#include <system_error>

namespace mvx {

namespace {

constexpr int kFieldWidth = 8;
constexpr int kHeaderLines = 14;
// Far above any real report (8193 ensembles x 256 bins of 8 characters is about 17 MB).
constexpr size_t kMaxReportBytes = 64u << 20;

// Line breaks inside a caption would break the file's line structure.
std::string OneLine(const std::string& text) {
    std::string out = text;
    for (char& ch : out)
        if (ch == '\r' || ch == '\n') ch = ' ';
    return out;
}

// Splits at CR LF, LF or a lone CR. A last line without a line end counts when it holds anything.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char ch = bytes[i];
        if (ch != '\r' && ch != '\n') continue;
        lines.push_back(bytes.substr(start, i - start));
        if (ch == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

// The text of a quoted line: what lies between its first and its last double quote (so quotes inside
// survive), the rest of the line when the closing quote is missing, the whole line when unquoted.
std::string QuotedText(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size() || line[i] != '"') return std::string(line);
    const size_t open = i;
    const size_t close = line.rfind('"');
    if (close == open) return std::string(line.substr(open + 1));
    return std::string(line.substr(open + 1, close - open - 1));
}

// The value formatted "0", padded on the right with spaces to the field width.
void AppendField(std::string& line, int32_t value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const size_t length = static_cast<size_t>(end - digits);
    line.append(digits, length);
    if (length < kFieldWidth) line.append(kFieldWidth - length, ' ');
}

} // namespace

void ReportSnapshot::Resize(int32_t bins, int32_t ensembles) {
    Bins = std::max<int32_t>(bins, 1);
    Ensembles = std::max<int32_t>(ensembles, 1);
    Matrix.assign(static_cast<size_t>(Bins) * static_cast<size_t>(Ensembles), 0);
}

bool ReportSnapshot::Consistent() const {
    return Bins >= 1 && Ensembles >= 1 &&
           Matrix.size() == static_cast<size_t>(Bins) * static_cast<size_t>(Ensembles);
}

bool Save_Data(const ReportSnapshot& snapshot, const std::string& path, std::string& error) {
    error.clear();
    if (!snapshot.Consistent()) {
        error = "The report matrix does not match its size";
        return false;
    }
    OutputFile file;
    if (!file.Open(path)) {
        error = file.Error();
        return false;
    }
    const std::string quoted[] = {snapshot.Caption,      snapshot.Titles[0],   snapshot.Titles[1],
                                  snapshot.Titles[2],    snapshot.StartTime,   snapshot.StartDate,
                                  snapshot.EndTime,      snapshot.EndDate,     snapshot.XAxisCaption,
                                  snapshot.YAxisCaption, snapshot.DataTypeName};
    for (const std::string& text : quoted) file.WriteQuotedLine(OneLine(text));
    file.WritePiece(FormatNumber(snapshot.Bins, "0"));
    file.WriteLineEnd();
    file.WritePiece(FormatNumber(snapshot.Ensembles, "0"));
    file.WriteLineEnd();
    file.WriteQuotedLine(OneLine(snapshot.YAxisCaption));
    std::string line;
    for (int32_t r = 0; r < snapshot.Bins && file.Ok(); ++r) {
        line.clear();
        for (int32_t c = 0; c < snapshot.Ensembles; ++c) AppendField(line, snapshot.At(r, c));
        file.WritePiece(line);
        file.WriteLineEnd();
    }
    if (!file.Close()) {
        error = file.Error();
        return false;
    }
    return true;
}

bool Read_Report_Text(std::string_view bytes, ReportSnapshot& snapshot, std::string& error) {
    error.clear();
    const std::vector<std::string_view> lines = SplitLines(bytes);
    if (lines.size() < static_cast<size_t>(kHeaderLines)) {
        error = lines.empty() ? "The report file is empty"
                              : "The report file ends at line " + std::to_string(lines.size()) +
                                    " before its matrix size";
        return false;
    }
    ReportSnapshot loaded = snapshot;
    loaded.Caption = QuotedText(lines[0]);
    for (int i = 0; i < 3; ++i) loaded.Titles[i] = QuotedText(lines[1 + i]);
    loaded.StartTime = QuotedText(lines[4]);
    loaded.StartDate = QuotedText(lines[5]);
    loaded.EndTime = QuotedText(lines[6]);
    loaded.EndDate = QuotedText(lines[7]);
    loaded.XAxisCaption = QuotedText(lines[8]);
    loaded.YAxisCaption = QuotedText(lines[9]);
    loaded.DataTypeName = QuotedText(lines[10]);
    const int32_t statedRows = std::max<int32_t>(LeadingWholeNumber(lines[11]), 1);
    const int32_t statedColumns = std::max<int32_t>(LeadingWholeNumber(lines[12]), 1);
    loaded.YAxisCaption = QuotedText(lines[13]);

    // The file decides how much there is: no row without its line, no column wider than the longest
    // of those lines.
    const size_t present = lines.size() - kHeaderLines;
    const size_t rows = std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(statedRows), present));
    const size_t used = std::min(rows, present);
    size_t longest = 0, matrixBytes = 0;
    for (size_t r = 0; r < used; ++r) {
        const size_t length = lines[kHeaderLines + r].size();
        longest = std::max(longest, length);
        matrixBytes += length + 1;
    }
    const size_t fieldsHeld = (longest + kFieldWidth - 1) / kFieldWidth;
    const size_t columns =
        std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(statedColumns), fieldsHeld));
    if (rows * columns > std::max<size_t>(matrixBytes, 1)) {
        error = "The report file's matrix is larger than the file can hold";
        return false;
    }
    loaded.Resize(static_cast<int32_t>(rows), static_cast<int32_t>(columns));
    for (size_t r = 0; r < used; ++r) {
        const std::string_view line = lines[kHeaderLines + r];
        for (size_t c = 0; c < columns; ++c) {
            const size_t at = c * kFieldWidth;
            if (at >= line.size()) break;
            loaded.At(static_cast<int32_t>(r), static_cast<int32_t>(c)) =
                LeadingWholeNumber(line.substr(at, kFieldWidth));
        }
    }
    snapshot = std::move(loaded);
    return true;
}

bool Load_Data(const std::string& path, ReportSnapshot& snapshot, std::string& error) {
    error.clear();
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = "Cannot open the report file \"" + path + "\": " + std::generic_category().message(errno);
        return false;
    }
    std::string bytes;
    char chunk[64 * 1024];
    for (;;) {
        const size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
        bytes.append(chunk, n);
        if (bytes.size() > kMaxReportBytes) {
            error = "The report file \"" + path + "\" is too large";
            return false;
        }
        if (n < sizeof chunk) break;
    }
    if (std::ferror(file.get())) {
        error = "Cannot read the report file \"" + path + "\"";
        return false;
    }
    return Read_Report_Text(bytes, snapshot, error);
}

std::string ContourTypeName(int32_t code, const std::vector<std::string>& names) {
    // The table lists echo (5), correlation (5), the velocities east .. magnitude (5) and percent good
    // (4); a table of 20 also holds the direction after the magnitude.
    const bool withDirection = names.size() >= 20;
    const ContourCode decoded = Decode_Contour_Code(code);
    int index = decoded.Index;
    if (!withDirection && decoded.Source == ContourSourceKind::Velocity && decoded.Row == 5)
        return "Direction";
    if (!withDirection && decoded.Source == ContourSourceKind::PercentGood) --index;
    if (index < 0 || static_cast<size_t>(index) >= names.size()) return "";
    return names[index];
}

std::string ReferenceName(int32_t reference, const std::vector<std::string>& names) {
    static const char* const kOptionNames[] = {"None",     "Bottom",   "Navigation",
                                               "GPS(GGA)", "GPS(VTG)", "Water Mass (BK <>1)"};
    if (reference < 0) return "Unknown";
    if (static_cast<size_t>(reference) < names.size()) return names[reference];
    if (reference < 6) return kOptionNames[reference];
    return "Unknown";
}

bool Load_Sub_Set(ReportSnapshot& snapshot, const DataSet& data, const SetDescriptors& set,
                  const Options& options, const std::vector<std::string>& contourTypeNames,
                  const std::vector<std::string>& referenceNames, const std::string& mainCaption,
                  std::string& error) {
    error.clear();
    if (!set.FileValid) {
        error = "No valid file is open";
        return false;
    }
    const int32_t code = options.ContourDataType;
    using Source = ContourSourceKind;
    const ContourCode decoded = Decode_Contour_Code(code);
    const Source source = decoded.Source;
    const int row = decoded.Row;
    if (source == Source::None) {
        error = "Unknown contour data type " + std::to_string(code);
        return false;
    }
    int arrayRows = 0, arrayBins = 0, arraySlots = 0;
    auto shape = [&](const auto& array) {
        arrayRows = array.Rows();
        arrayBins = array.Bins();
        arraySlots = array.Slots();
    };
    switch (source) {
    case Source::None:
    case Source::Intensity:
        shape(data.IntensityData);
        break;
    case Source::Correlation:
        shape(data.CorrData);
        break;
    case Source::Velocity:
        shape(data.VelData);
        break;
    case Source::PercentGood:
        shape(data.PGoodData);
        break;
    }
    if (row >= arrayRows || arrayBins < 1 || arraySlots < 1) {
        error = "The data set holds no data of this type";
        return false;
    }
    auto value = [&](int bin, int slot) -> int32_t {
        switch (source) {
        case Source::None:
        case Source::Intensity:
            return data.IntensityData(row, bin, slot);
        case Source::Correlation:
            return data.CorrData(row, bin, slot);
        case Source::Velocity:
            return data.VelData(row, bin, slot);
        case Source::PercentGood:
            return data.PGoodData(row, bin, slot);
        }
        return 0;
    };

    const int64_t shownBins = static_cast<int64_t>(set.LastBinShown) - set.FirstBinShown + 1;
    const int32_t bins = static_cast<int32_t>(std::clamp<int64_t>(shownBins, 1, arrayBins));
    const int32_t ensembles = std::clamp<int32_t>(set.CurrentEnsIndex, 1, arraySlots);
    // Row 0 is the highest bin shown, as the contour draws it.
    const int64_t topBin = static_cast<int64_t>(set.FirstBinShown) - 1 + bins - 1;

    ReportSnapshot taken = snapshot;
    taken.Resize(bins, ensembles);
    for (int32_t c = 0; c < ensembles; ++c) {
        for (int32_t r = 0; r < bins; ++r) {
            const int64_t bin = topBin - r;
            if (bin >= 0 && bin < arrayBins) taken.At(r, c) = value(static_cast<int>(bin), c);
        }
    }
    taken.DataTypeName = ContourTypeName(code, contourTypeNames);
    taken.Titles[0] = "Data Type = " + taken.DataTypeName + " Contour";
    taken.Titles[1] = "Reference = " + ReferenceName(options.VelocityReference, referenceNames);
    taken.Titles[2] = "Data Source = " + mainCaption;

    const auto& times = data.EnsTimes;
    auto dateOf = [&](int slot) -> std::string {
        if (times.Rows() < 7 || slot >= times.Slots()) return "";
        // The report marks a missing year where the other texts leave it out.
        return Ensemble_Date_Text(times.SlotData(slot), "??");
    };
    auto timeOf = [&](int slot) -> std::string {
        if (times.Rows() < 7 || slot >= times.Slots()) return "";
        return Ensemble_Time_Text(times.SlotData(slot));
    };
    taken.StartDate = dateOf(0);
    taken.StartTime = timeOf(0);
    taken.EndDate = dateOf(ensembles - 1);
    taken.EndTime = timeOf(ensembles - 1);
    snapshot = std::move(taken);
    return true;
}

} // namespace mvx
