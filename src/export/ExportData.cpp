#include "export/ExportData.h"

#include "common/EnsembleTimeText.h"
#include "common/Orientation.h"
#include "common/Rounding.h"
#include "ensemble/EnsembleFormats.h"
#include "model/EnsembleFrame.h"

#include <algorithm>
#include <charconv>

namespace mvx::exportdata {

int BinIndex(int32_t orientationBalance, int numCells, int m) {
    return Mostly_Up_Looking(orientationBalance) ? m - 1 : numCells - m;
}

BinColumns MakeBinColumns(int32_t numCells, int32_t orientationBalance, const BinList& list) {
    const int cells = std::clamp(numCells, 0, kMaxBins);
    BinColumns columns;
    columns.Numbers = list.Exported(cells);
    columns.Indices.reserve(columns.Numbers.size());
    for (int m : columns.Numbers) columns.Indices.push_back(BinIndex(orientationBalance, cells, m));
    return columns;
}

int32_t BinValue(const EnsembleSet& data, int k, int binIndex) {
    if (k < 5) return data.IntensityData(k, binIndex, 0);
    if (k < 10) return data.CorrData(k - 5, binIndex, 0);
    if (k < 16) return data.VelData(k - 10, binIndex, 0);
    return data.PGoodData(k - 16, binIndex, 0);
}

int32_t AncExportValue(int k, int32_t raw) {
    switch (k) {
    case 2:
    case 6:
        return static_cast<uint16_t>(raw);
    case 4:
        return raw;
    case 5:
        return raw == 1 ? 1 : 0;
    case 7:
        return std::clamp(raw, 0, 255);
    default:
        return static_cast<int16_t>(raw);
    }
}

std::string SystemName(int32_t dataStructure) {
    const EnsembleFormat* format = Ensemble_Format(dataStructure);
    return format ? format->SystemName : "Unknown System";
}

std::string FrequencyText(int32_t systemConfig, int32_t dataStructure) {
    const char* name = System_Frequency_Name(systemConfig & 7, dataStructure);
    return std::string(" ") + (name ? name : "Unknown Frequency");
}

std::string DateText(const EnsembleSet& data) {
    return Ensemble_Date_Text(data.EnsTimes.SlotData(0));
}

std::string TimeText(const EnsembleSet& data) {
    return Ensemble_Time_Text(data.EnsTimes.SlotData(0));
}

void AppendInt(std::string& out, int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void AppendTwoDigits(std::string& out, int value) {
    if (value >= 0 && value < 10) out += '0';
    AppendInt(out, value);
}

void AppendScaled(std::string& out, int64_t units, int decimals) {
    if (decimals <= 0) {
        AppendInt(out, units);
        return;
    }
    int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    // INT64_MIN never reaches here: the values come from 32-bit fields.
    const bool negative = units < 0;
    const int64_t magnitude = negative ? -units : units;
    if (negative) out += '-';
    AppendInt(out, magnitude / scale);
    out += '.';
    char frac[24];
    int64_t rest = magnitude % scale;
    for (int i = decimals - 1; i >= 0; --i) {
        frac[i] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    out.append(frac, static_cast<size_t>(decimals));
}

int EnsembleProgress(const EnsembleRange& range, int32_t e) {
    const double span = static_cast<double>(range.Last) - range.First + 1;
    if (span <= 0) return 100;
    const double value = RoundHalfEven((static_cast<double>(e) - range.First) * 100.0 / span);
    return static_cast<int>(std::clamp(value, 0.0, 100.0));
}

} // namespace mvx::exportdata
