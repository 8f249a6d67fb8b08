#pragma once
// What the text and MAT writers share: the bin-number rule, reading a data type's value from slot 0,
// the names of the system and its frequency, and fast number pieces.
#include "export/ExportReader.h"
#include "export/ExportSelection.h"
#include "model/EnsembleSet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvx::exportdata {

// The bin index that bin number m (1-based) is read from: m - 1, or NumCells - m when the file is
// mostly down-looking.
int BinIndex(int32_t orientationBalance, int numCells, int m);

// The exported bins of a panel with their bin indices, fixed when the first ensemble is loaded.
struct BinColumns {
    std::vector<int> Numbers; // ascending bin numbers
    std::vector<int> Indices; // the bin index each is read from
    size_t Size() const { return Numbers.size(); }
};
BinColumns MakeBinColumns(int32_t numCells, int32_t orientationBalance, const BinList& list);
// The same for the ensemble a reader loaded last.
inline BinColumns MakeBinColumns(const ExportReader& reader, const BinList& list) {
    return MakeBinColumns(reader.Setup().NumCells, reader.Set().OrientationBalance, list);
}

// The raw value of per-bin data type k (0-19) at a bin index of slot 0: counts and percent as bytes,
// velocities and direction (tenths of a degree) as 16-bit values, -32768 when bad.
int32_t BinValue(const EnsembleSet& data, int k, int binIndex);
inline bool IsVelocityType(int k) {
    return k >= 10 && k <= 15;
}
inline bool IsDirectionType(int k) {
    return k == 15;
}

// Degrees of a 32-bit binary angle: value x 180 / 2^31.
constexpr double kBinaryAngleDegrees = 180.0 / 2147483648.0;

// The raw value of ancillary type k (AncData row k) as the exports store it: pitch, roll and temperature
// as signed 16-bit words, heading and BIT as unsigned ones (headings run to 35999 hundredths), depth
// whole, orientation 1 for up and 0 otherwise, battery limited to a byte.
int32_t AncExportValue(int k, int32_t raw);

// "Broadband", "Narrowband" or "Unknown System", and the frequency text (with its leading space).
std::string SystemName(int32_t dataStructure);
std::string FrequencyText(int32_t systemConfig, int32_t dataStructure);

// Header texts of the ensemble in slot 0: yy/mo/dd (mo/dd when the year byte is 80) and hh:mm:ss.hs.
std::string DateText(const EnsembleSet& data);
std::string TimeText(const EnsembleSet& data);

// Number pieces appended to a line: an integer as "0", a byte as "00", and an integer count of
// 10^-decimals units as a fixed-decimal number (the exact value of dividing it).
void AppendInt(std::string& out, int64_t value);
void AppendTwoDigits(std::string& out, int value);
void AppendScaled(std::string& out, int64_t units, int decimals);

// Progress of a loop over ensembles: round((e - First) x 100 / (Last - First + 1)), at most 100.
int EnsembleProgress(const EnsembleRange& range, int32_t e);

} // namespace mvx::exportdata
