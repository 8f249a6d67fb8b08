// The series MAT file: the ensemble loop gathers every chosen value of every exported ensemble, then
// the variables are written in box order.
#include "export/ExportData.h"
#include "export/MatExport.h"
#include "export/MatWriter.h"

#include <algorithm>
#include <array>
#include <new>
#include <stdexcept>
#include <vector>

namespace mvx {

using namespace exportdata;

namespace {

int32_t Dim(int64_t n) {
    return static_cast<int32_t>(std::clamp<int64_t>(n, 0, INT32_MAX));
}

struct SeriesArrays {
    std::vector<int32_t> Numbers;
    std::array<std::vector<uint8_t>, 7> Times;
    std::array<std::vector<int32_t>, kAncBoxes> Anc;
    std::array<std::vector<uint8_t>, kExportDataTypes> BinBytes;
    std::array<std::vector<int16_t>, kExportDataTypes> BinWords;
    std::array<std::vector<int16_t>, 6> BottomTrack, WaterMass;
    std::array<std::vector<int16_t>, 4> Navigation; // components 0, 1, 4, 5
    std::array<std::vector<double>, 4> Positions;   // Strandex: lat, lon; else first lat, lon, last lat, lon
    std::array<std::vector<int32_t>, 4> BTDepth;
};

// Sizes every array the selection needs, zero-filled. False (and the file failed) when memory runs out.
bool AllocateSeries(SeriesArrays& a, const ExportSelection& sel, int64_t n, size_t bins, OutputFile& file) {
    try {
        const size_t rows = static_cast<size_t>(std::max<int64_t>(n, 0));
        auto checked = [&](int box) { return sel.SeriesTypes[static_cast<size_t>(box)]; };
        a.Numbers.assign(rows, 0);
        for (auto& t : a.Times) t.assign(rows, 0);
        for (int k = 0; k < kAncBoxes; ++k)
            if (sel.AncTypes[static_cast<size_t>(k)]) a.Anc[static_cast<size_t>(k)].assign(rows, 0);
        for (int k = 0; k < kExportDataTypes; ++k) {
            if (!checked(k)) continue;
            if (IsVelocityType(k))
                a.BinWords[static_cast<size_t>(k)].assign(rows * bins, 0);
            else
                a.BinBytes[static_cast<size_t>(k)].assign(rows * bins, 0);
        }
        for (int c = 0; c < 6; ++c) {
            if (checked(kSeriesBottomTrack + c)) a.BottomTrack[static_cast<size_t>(c)].assign(rows, 0);
            if (checked(kSeriesWaterMass + c)) a.WaterMass[static_cast<size_t>(c)].assign(rows, 0);
        }
        for (int i = 0; i < 4; ++i)
            if (checked(kSeriesNavEast + i)) a.Navigation[static_cast<size_t>(i)].assign(rows, 0);
        if (checked(kSeriesLatLon))
            for (int i = 0; i < (sel.Strandex() ? 2 : 4); ++i)
                a.Positions[static_cast<size_t>(i)].assign(rows, 0.0);
        if (checked(kSeriesBTDepth))
            for (auto& d : a.BTDepth) d.assign(rows, 0);
        return true;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    file.Fail("Not enough memory to gather " + std::to_string(n) + " ensembles for the export");
    return false;
}

// Stores the values of slot 0 in row r. The per-bin types come last so that a cancel after a bin
// leaves only bins unfilled.
void StoreSeriesRow(SeriesArrays& a, const EnsembleSet& d, const ExportSelection& sel, const BinColumns& bins,
                    int64_t n, int64_t r) {
    const size_t row = static_cast<size_t>(r);
    a.Numbers[row] = d.EnsNumbers[0];
    for (int i = 0; i < 7; ++i) a.Times[static_cast<size_t>(i)][row] = d.EnsTimes(i, 0);
    for (int k = 0; k < kAncBoxes; ++k)
        if (!a.Anc[static_cast<size_t>(k)].empty()) a.Anc[static_cast<size_t>(k)][row] = d.AncData(k, 0);
    for (int c = 0; c < 6; ++c) {
        if (!a.BottomTrack[static_cast<size_t>(c)].empty())
            a.BottomTrack[static_cast<size_t>(c)][row] = d.BTVelData(c, 0);
        if (!a.WaterMass[static_cast<size_t>(c)].empty())
            a.WaterMass[static_cast<size_t>(c)][row] = d.RefVelData(c, 0);
    }
    static const int kNavComponents[4] = {0, 1, 4, 5};
    const bool strandex = sel.Strandex();
    for (int i = 0; i < 4; ++i) {
        if (a.Navigation[static_cast<size_t>(i)].empty()) continue;
        const int c = kNavComponents[i];
        a.Navigation[static_cast<size_t>(i)][row] = strandex ? d.RefVelWork(c, 0) : d.NavData(c, 0);
    }
    if (!a.Positions[0].empty()) {
        const int32_t raw[4] = {strandex ? d.LatData[0] : d.NavFirstLat[0],
                                strandex ? d.LonData[0] : d.NavFirstLon[0], d.NavLastLat[0], d.NavLastLon[0]};
        for (size_t i = 0; i < 4; ++i)
            if (!a.Positions[i].empty()) a.Positions[i][row] = raw[i] * kBinaryAngleDegrees;
    }
    if (!a.BTDepth[0].empty())
        for (int b = 0; b < 4; ++b) a.BTDepth[static_cast<size_t>(b)][row] = d.BTRangeData(b, 0);
    for (int k = 0; k < kExportDataTypes; ++k) {
        auto& words = a.BinWords[static_cast<size_t>(k)];
        auto& bytes = a.BinBytes[static_cast<size_t>(k)];
        if (words.empty() && bytes.empty()) continue;
        for (size_t c = 0; c < bins.Size(); ++c) {
            const size_t at = static_cast<size_t>(static_cast<int64_t>(c) * n + r);
            const int32_t v = BinValue(d, k, bins.Indices[c]);
            if (IsVelocityType(k))
                words[at] = static_cast<int16_t>(v);
            else
                bytes[at] = static_cast<uint8_t>(v);
            if (sel.Cancel) return;
        }
    }
}

// Ancillary values in the element type of their record.
template <typename T> std::vector<T> Converted(int k, const std::vector<int32_t>& v) {
    std::vector<T> out(v.size());
    std::transform(v.begin(), v.end(), out.begin(),
                   [k](int32_t x) { return static_cast<T>(AncExportValue(k, x)); });
    return out;
}

void WriteSeriesVariables(const SeriesArrays& a, const ExportSelection& sel, int32_t n, int32_t b,
                          OutputFile& file) {
    static const char* const kEnsembleNames[8] = {"SerEnsembles", "SerYear", "SerMon", "SerDay",
                                                  "SerHour",      "SerMin",  "SerSec", "SerHund"};
    Put_Mat_Long_Array(kEnsembleNames[0], a.Numbers, file, n, 1);
    for (size_t i = 0; i < 7; ++i) Put_Mat_Byte_Array(kEnsembleNames[i + 1], a.Times[i], file, n, 1);

    static const char* const kAncNames[kAncBoxes] = {"AnP100thDeg", "AnR100thDeg", "AnH100thDeg",
                                                     "AnT100thDeg", "AnDepthmm",   "AnOrienUP",
                                                     "AnBIT",       "AnBatt"};
    for (int k = 0; k < kAncBoxes; ++k) {
        if (!sel.AncTypes[static_cast<size_t>(k)]) continue;
        const auto& v = a.Anc[static_cast<size_t>(k)];
        if (k == 2 || k == 6)
            // Headings run to 359.99 degrees, 35999 hundredths: beyond a signed 16-bit number, so these
            // words are labelled unsigned, as the BIT word is.
            Put_Mat_UInt16_Array(kAncNames[k], Converted<int16_t>(k, v), file, n, 1);
        else if (k < 4)
            Put_Mat_Integer_Array(kAncNames[k], Converted<int16_t>(k, v), file, n, 1);
        else if (k == 4)
            Put_Mat_Long_Array(kAncNames[k], v, file, n, 1);
        else
            Put_Mat_Byte_Array(kAncNames[k], Converted<uint8_t>(k, v), file, n, 1);
    }

    static const char* const kComponentNames[6] = {"Emmpersec",  "Nmmpersec",   "Vmmpersec",
                                                   "Ermmpersec", "Magmmpersec", "Dir10thDeg"};
    static const char* const kNavNames[4] = {"AnNVEmmpersec", "AnNVNmmpersec", "AnNVMagmmpersec",
                                             "AnNVDir10thDeg"};
    for (int box = 0; box < kSeriesBoxes; ++box) {
        if (!sel.SeriesTypes[static_cast<size_t>(box)]) continue;
        if (box < kExportDataTypes) {
            if (IsVelocityType(box))
                Put_Mat_Integer_Array(SeriesMatName(box), a.BinWords[static_cast<size_t>(box)], file, n, b);
            else
                Put_Mat_Byte_Array(SeriesMatName(box), a.BinBytes[static_cast<size_t>(box)], file, n, b);
        } else if (box < kSeriesWaterMass) {
            const int c = box - kSeriesBottomTrack;
            Put_Mat_Integer_Array(std::string("AnBT") + kComponentNames[c],
                                  a.BottomTrack[static_cast<size_t>(c)], file, n, 1);
        } else if (box < kSeriesNavEast) {
            const int c = box - kSeriesWaterMass;
            Put_Mat_Integer_Array(std::string("AnWM") + kComponentNames[c],
                                  a.WaterMass[static_cast<size_t>(c)], file, n, 1);
        } else if (box <= kSeriesNavDir) {
            const int i = box - kSeriesNavEast;
            Put_Mat_Integer_Array(kNavNames[i], a.Navigation[static_cast<size_t>(i)], file, n, 1);
        } else if (box == kSeriesLatLon) {
            if (sel.Strandex()) {
                Put_Mat_Double_Array("AnSXLatDeg", a.Positions[0], file, n, 1);
                Put_Mat_Double_Array("AnSXLonDeg", a.Positions[1], file, n, 1);
            } else {
                static const char* const kNames[4] = {"AnFLatDeg", "AnFLonDeg", "AnLLatDeg", "AnLLonDeg"};
                for (size_t i = 0; i < 4; ++i) Put_Mat_Double_Array(kNames[i], a.Positions[i], file, n, 1);
            }
        } else if (box == kSeriesBTDepth) {
            for (size_t i = 0; i < 4; ++i)
                Put_Mat_Long_Array("AnBTDepthcmB" + std::to_string(i + 1), a.BTDepth[i], file, n, 1);
        }
        // The MicroCAT text and the Strandex switch have no variable of their own.
    }
}

} // namespace

bool Write_Series_Mat(ExportReader& reader, ExportSelection& selection, OutputFile& file) {
    const EnsembleRange range = Clamp_Ensemble_Entries(selection.SeriesEnsembles, reader.Set());
    if (!reader.Load(range.First, file)) return false;
    Write_Mat_Header(reader, file);
    const BinColumns bins = MakeBinColumns(reader, selection.BinsOf(ExportKind::Series));
    Put_Mat_Byte_Array("SerBins", std::vector<uint8_t>(bins.Numbers.begin(), bins.Numbers.end()), file, 1,
                       Dim(bins.Size()));

    const int64_t n = range.Count();
    SeriesArrays arrays;
    if (!AllocateSeries(arrays, selection, n, bins.Size(), file)) return false;
    for (int64_t r = 0; r < n && !selection.Cancel && file.Ok(); ++r) {
        const int32_t e = range.At(r);
        if (!reader.Load(e, file)) break;
        StoreSeriesRow(arrays, reader.Data(), selection, bins, n, r);
        selection.ReportProgress(EnsembleProgress(range, e));
    }
    WriteSeriesVariables(arrays, selection, Dim(n), Dim(bins.Size()), file);
    selection.ReportProgress(100);
    return file.Ok();
}

} // namespace mvx
