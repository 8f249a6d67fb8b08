#include "export/MatExport.h"

#include "common/Rounding.h"
#include "export/ExportData.h"
#include "export/MatWriter.h"

#include <algorithm>
#include <array>
#include <new>
#include <stdexcept>
#include <vector>

namespace mvx {

using namespace exportdata;

namespace {

std::string BeamText(int beam) {
    return beam < 4 ? std::to_string(beam + 1) : "Avg";
}

// Sizes a gathering array, zero-filled; a size that cannot be held fails the file instead of ending
// the program.
template <typename T> bool Gather(std::vector<T>& v, int64_t count, OutputFile& file) {
    try {
        v.assign(static_cast<size_t>(std::max<int64_t>(count, 0)), T{});
        return true;
    } catch (const std::bad_alloc&) {
        file.Fail("Not enough memory to gather " + std::to_string(count) + " values for the export");
        return false;
    } catch (const std::length_error&) {
        file.Fail("Not enough memory to gather " + std::to_string(count) + " values for the export");
        return false;
    }
}

int32_t Dim(int64_t n) {
    return static_cast<int32_t>(std::clamp<int64_t>(n, 0, INT32_MAX));
}

// The ensemble numbers and time fields of an exported range.
struct EnsembleColumns {
    std::vector<int32_t> Numbers;
    std::array<std::vector<uint8_t>, 7> Times;

    bool Allocate(int64_t n, OutputFile& file) {
        if (!Gather(Numbers, n, file)) return false;
        for (auto& t : Times)
            if (!Gather(t, n, file)) return false;
        return true;
    }
    void Store(const EnsembleSet& d, size_t r) {
        Numbers[r] = d.EnsNumbers[0];
        for (int i = 0; i < 7; ++i) Times[static_cast<size_t>(i)][r] = d.EnsTimes(i, 0);
    }
    void Write(const char* prefix, const std::array<const char*, 8>& names, OutputFile& file,
               int32_t n) const {
        Put_Mat_Long_Array(std::string(prefix) + names[0], Numbers, file, n, 1);
        for (size_t i = 0; i < 7; ++i)
            Put_Mat_Byte_Array(std::string(prefix) + names[i + 1], Times[i], file, n, 1);
    }
};

// One per-bin data type gathered over N ensembles and B bins (column-major, row = ensemble).
struct BinMatrix {
    int Type = 0;
    std::vector<uint8_t> Bytes;
    std::vector<int16_t> Words;

    bool Allocate(int type, int64_t n, size_t bins, OutputFile& file) {
        Type = type;
        const int64_t count = n * static_cast<int64_t>(bins);
        return IsVelocityType(type) ? Gather(Words, count, file) : Gather(Bytes, count, file);
    }
    void Store(const EnsembleSet& d, int64_t n, int64_t r, size_t c, int binIndex) {
        const size_t at = static_cast<size_t>(static_cast<int64_t>(c) * n + r);
        const int32_t v = BinValue(d, Type, binIndex);
        if (IsVelocityType(Type))
            Words[at] = static_cast<int16_t>(v);
        else
            Bytes[at] = static_cast<uint8_t>(v);
    }
    void Write(const std::string& name, OutputFile& file, int32_t rows, int32_t cols) const {
        if (IsVelocityType(Type))
            Put_Mat_Integer_Array(name, Words, file, rows, cols);
        else
            Put_Mat_Byte_Array(name, Bytes, file, rows, cols);
    }
};

std::vector<uint8_t> BinNumbers(const BinColumns& bins) {
    return std::vector<uint8_t>(bins.Numbers.begin(), bins.Numbers.end());
}

const std::array<const char*, 8> kContourEnsembleNames = {"Ensembles", "Year", "Month", "Day",
                                                          "Hour",      "Min",  "Sec",   "Hund"};

} // namespace

std::string ContourMatTitle(int k) {
    static const char* const kVelocityParts[6] = {" East (u) mm/s",     " North (v) mm/s",
                                                  " Vertical (w) mm/s", " Error mm/s",
                                                  " Magnitude mm/s",    " Direction tenth degrees"};
    auto beam = [](int b) {
        return b < 4 ? " Beam" + std::to_string(b + 1) : std::string(" Four Beam Average");
    };
    if (k < 5) return "Echo Amplitude counts" + beam(k);
    if (k < 10) return "Correlation counts" + beam(k - 5);
    if (k < 16) return std::string("Velocity") + kVelocityParts[k - 10];
    return " PG" + std::to_string(k - 15);
}

std::string ProfileMatName(int k) {
    static const char* const kVelocityNames[6] = {"Emmpersec",  "Nmmpersec", "Vmmpersec",
                                                  "Ermmpersec", "Magmmsec",  "Dir10thDeg"};
    if (k < 5) return "ProEAmpBm" + BeamText(k) + "cnts";
    if (k < 10) return "ProCor" + BeamText(k - 5) + "cnts";
    if (k < 16) return std::string("Pro") + kVelocityNames[k - 10];
    return "ProPG" + std::to_string(k - 15);
}

std::string SeriesMatName(int k) {
    static const char* const kNames[kExportDataTypes] = {
        "SerEA1cnt",     "SerEA2cnt",    "SerEA3cnt",    "SerEA4cnt",     "SerEAAcnt",
        "SerC1cnt",      "SerC2cnt",     "SerC3cnt",     "SerC4cnt",      "SerCAcnt",
        "SerEmmpersec",  "SerNmmpersec", "SerVmmpersec", "SerErmmpersec", "SerMagmmpersec",
        "SerDir10thDeg", "SerPG1",       "SerPG2",       "SerPG3",        "SerPG4"};
    return kNames[std::clamp(k, 0, kExportDataTypes - 1)];
}

bool Write_Mat_Header(const ExportReader& reader, OutputFile& file) {
    const InstrumentSetup& s = reader.Setup();
    const SetDescriptors& set = reader.Set();
    Put_Mat_Text("ZonFileName", set.FileName, file);
    Put_Mat_Text("ZonSystem",
                 SystemName(set.DataStructure) + FrequencyText(s.SystemConfig, set.DataStructure), file);
    Put_Mat_Long("ZonPingsPerEns", s.PingsPerEnsemble, file);
    Put_Mat_Single("ZonSecPerPing", s.TimePerPing[0] * 60.0 + s.TimePerPing[1] + s.TimePerPing[2] / 100.0,
                   file);
    Put_Mat_Text("ZonEnsDate", DateText(reader.Data()), file);
    Put_Mat_Text("ZonEnsTime", TimeText(reader.Data()), file);
    Put_Mat_Single("ZonEnsInterval", set.EnsembleInterval, file);
    Put_Mat_Single("ZonBin1Mid", s.Bin1Distance, file);
    return Put_Mat_Single("ZonBinSize", s.CellLength, file);
}

bool Write_Contour_Mat(ExportReader& reader, ExportSelection& selection, OutputFile& file) {
    const EnsembleRange range = Clamp_Ensemble_Entries(selection.ContourEnsembles, reader.Set());
    const int k = std::clamp(selection.ContourType, 0, kExportDataTypes - 1);
    Put_Mat_Text("ConTitle", ContourMatTitle(k), file);
    if (!reader.Load(range.First, file)) return false;
    Write_Mat_Header(reader, file);
    const BinColumns bins = MakeBinColumns(reader, selection.BinsOf(ExportKind::Contour));
    Put_Mat_Byte_Array("ConBins", BinNumbers(bins), file, 1, Dim(bins.Size()));

    const int64_t n = range.Count();
    EnsembleColumns ensembles;
    BinMatrix values;
    if (!ensembles.Allocate(n, file) || !values.Allocate(k, n, bins.Size(), file)) return false;
    const EnsembleSet& data = reader.Data();
    for (int64_t r = 0; r < n && !selection.Cancel && file.Ok(); ++r) {
        const int32_t e = range.At(r);
        if (!reader.Load(e, file)) break;
        ensembles.Store(data, static_cast<size_t>(r));
        for (size_t c = 0; c < bins.Size(); ++c) {
            values.Store(data, n, r, c, bins.Indices[c]);
            if (selection.Cancel) break;
        }
        selection.ReportProgress(EnsembleProgress(range, e));
    }
    ensembles.Write("Con", kContourEnsembleNames, file, Dim(n));
    static const char* const kGroupNames[4] = {"ConEchoAmp", "ConCor", "ConVel", "ConPGood"};
    values.Write(kGroupNames[k < 5 ? 0 : k < 10 ? 1 : k < 16 ? 2 : 3], file, Dim(n), Dim(bins.Size()));
    selection.ReportProgress(100);
    return file.Ok();
}

bool Write_Profile_Mat(ExportReader& reader, ExportSelection& selection, OutputFile& file) {
    const int32_t e = Clamp_Ensemble_Entry(selection.ProfileEnsemble, reader.Set());
    if (!reader.Load(e, file)) return false;
    Put_Mat_Long("ZonProfileEns", reader.Setup().EnsembleNumber, file);
    Write_Mat_Header(reader, file);
    const BinColumns bins = MakeBinColumns(reader, selection.BinsOf(ExportKind::Profile));
    Put_Mat_Byte_Array("ZonProfileBins", BinNumbers(bins), file, 1, Dim(bins.Size()));

    const auto checked = std::count(selection.ProfileTypes.begin(), selection.ProfileTypes.end(), true);
    int written = 0;
    BinMatrix vector;
    for (int k = 0; k < kExportDataTypes && !selection.Cancel && file.Ok(); ++k) {
        if (!selection.ProfileTypes[static_cast<size_t>(k)]) continue;
        if (!vector.Allocate(k, 1, bins.Size(), file)) return false;
        for (size_t c = 0; c < bins.Size(); ++c) vector.Store(reader.Data(), 1, 0, c, bins.Indices[c]);
        vector.Write(ProfileMatName(k), file, 1, Dim(bins.Size()));
        ++written;
        selection.ReportProgress(
            static_cast<int>(std::min(100.0, RoundHalfEven(written * 100.0 / static_cast<double>(checked)))));
    }
    return file.Ok();
}

} // namespace mvx
