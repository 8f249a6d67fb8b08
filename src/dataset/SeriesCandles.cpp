#include "dataset/SeriesCandles.h"

#include "common/Rounding.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

// Running sums of one candle row.
struct Sums {
    double Sum = 0, SumSq = 0;
    int32_t Count = 0, Max = 0, Min = 0;
    void Add(int32_t v) {
        if (Count == 0) Max = Min = v;
        Max = std::max(Max, v);
        Min = std::min(Min, v);
        Sum += v;
        SumSq += static_cast<double>(v) * v;
        ++Count;
    }
    double Mean() const { return Count >= 1 ? Sum / Count : 0; }
    double StdDev() const {
        if (Count <= 1) return 0;
        return std::sqrt(std::max(0.0, (SumSq - Sum * Sum / Count) / (Count - 1)));
    }
};

} // namespace

int32_t Series_Code(int box) {
    if (box < 0) return 0;
    if (box <= 4) return box + 1;
    if (box <= 9) return 10 * box - 40;
    if (box <= 15) return 100 * box - 900;
    if (box <= 19) return 1000 * box - 15000;
    if (box <= 25) return 10000 * box - 190000;
    if (box <= 31) return 100000 * box - 2500000;
    if (box <= 33) return 200000 * (5 * box - 155);
    if (box <= 35) return 200000 * (5 * box - 145);
    return 0;
}

bool Series_Code_Per_Bin(int32_t code) {
    return code >= 1 && code < 10000;
}

bool Series_Code_Direction(int32_t code) {
    return code == 600 || code == 60000 || code == 600000 || code == 6000000;
}

std::string Series_Code_Unit(int32_t code) {
    if (Series_Code_Direction(code)) return "deg";
    if (code >= 1 && code < 100) return "cnt";
    if (code >= 1000 && code < 10000) return "%";
    return "mm/s";
}

std::string Series_Code_Label(int32_t code) {
    if (code >= 1000000) return "NAV ";
    if (code >= 100000) return "WM  ";
    if (code >= 10000) return "BT  ";
    return "Bin ";
}

SeriesColumn Series_Column(const EnsembleSet& set, int32_t code, int bin, int numCells) {
    const bool perBin = Series_Code_Per_Bin(code);
    if (perBin && bin >= numCells) return {};
    if (code >= 1 && code <= 5) return {set.IntensityData, code - 1, bin};
    if (code >= 10 && code <= 50 && code % 10 == 0) return {set.CorrData, code / 10 - 1, bin};
    if (code >= 100 && code <= 600 && code % 100 == 0) return {set.VelData, code / 100 - 1, bin};
    if (code >= 1000 && code <= 4000 && code % 1000 == 0) return {set.PGoodData, code / 1000 - 1, bin};
    if (code >= 10000 && code <= 60000 && code % 10000 == 0) return {set.BTVelData, code / 10000 - 1, 0};
    if (code >= 100000 && code <= 600000 && code % 100000 == 0) return {set.RefVelData, code / 100000 - 1, 0};
    if (code == 1000000 || code == 2000000 || code == 5000000 || code == 6000000)
        return {set.NavData, code / 1000000 - 1, 0};
    return {};
}

int32_t Series_Value(const EnsembleSet& set, int32_t code, int bin, int slot, int numCells) {
    return Series_Column(set, code, bin, numCells)(slot);
}

SeriesSelection Series_Selection(const std::array<bool, 37>& dataTypes, const std::array<bool, 256>& bins) {
    SeriesSelection s;
    for (int box = 0; box < kSeriesBoxes; ++box)
        if (dataTypes[static_cast<size_t>(box)]) s.Codes.push_back(Series_Code(box));
    for (int bin = 1; bin <= 255; ++bin)
        if (bins[static_cast<size_t>(bin)]) s.Bins.push_back(bin - 1);
    return s;
}

void Map_Series_Bins(std::array<bool, 256>& bins, int32_t firstShown, int32_t lastShown) {
    for (int32_t bin = 0; bin < static_cast<int32_t>(bins.size()); ++bin)
        if (bin < firstShown || bin > lastShown) bins[static_cast<size_t>(bin)] = false;
}

CandleIntervals Candle_Intervals(int32_t ensembles, double setDuration, bool averageOn, bool averageAll,
                                 double averageInterval) {
    CandleIntervals c;
    if (ensembles <= 0) return c;
    c.SecondsPerEnsemble = std::isfinite(setDuration) && setDuration > 0 ? setDuration / ensembles : 0;
    const bool user = averageOn && !averageAll && std::isfinite(averageInterval) && averageInterval > 0;
    c.IntervalSeconds = user ? averageInterval : ensembles * c.SecondsPerEnsemble;
    if (c.SecondsPerEnsemble <= 0) {
        c.EnsemblesPerInterval = ensembles;
    } else {
        const int64_t per = RoundToInt64(c.IntervalSeconds / c.SecondsPerEnsemble, 1, ensembles);
        c.EnsemblesPerInterval = static_cast<int32_t>(per);
    }
    c.Count = RoundToInt32(static_cast<double>(ensembles) / c.EnsemblesPerInterval);
    return c;
}

void Compute_Series_Candles(Candles& out, const EnsembleSet& set, int32_t ensembles, int numCells,
                            const SeriesSelection& selection, const CandleIntervals& intervals) {
    ensembles = std::clamp(ensembles, 0, std::max(set.Capacity, 0));
    std::vector<int32_t> codes;
    for (const int32_t code : selection.Codes)
        if (!Series_Code_Per_Bin(code) || !selection.Bins.empty()) codes.push_back(code);
    const int rows = std::max<int>(1, static_cast<int>(selection.Bins.size()));
    const int groups = static_cast<int>(codes.size());
    const int32_t per = intervals.EnsemblesPerInterval;
    int32_t count = ensembles > 0 && per > 0 && groups > 0 ? intervals.Count : 0;
    // Every interval starts inside the set, whatever set the intervals were cut for.
    if (count > 0) count = std::min(count, (ensembles - 1) / per + 1);
    // The last interval runs to the last ensemble, so it is the longest (or the shortest).
    const int32_t lastLength = count > 0 ? ensembles - (count - 1) * per : 0;
    const int samples = count > 0 ? std::max(std::min(per, ensembles), lastLength) : 0;
    out.Resize(count, count > 0 ? rows : 0, count > 0 ? groups : 0, samples);
    out.IntervalSeconds = intervals.IntervalSeconds;
    if (count > 0) {
        for (int g = 0; g < groups; ++g) {
            out.CandleUnits[static_cast<size_t>(g)] = Series_Code_Unit(codes[static_cast<size_t>(g)]);
            out.CandleLabels[static_cast<size_t>(g)] = Series_Code_Label(codes[static_cast<size_t>(g)]);
            out.GroupCodes[static_cast<size_t>(g)] = codes[static_cast<size_t>(g)];
        }
    }
    // One column reader and one running sum per (group, row), in the samples' order: the group varies
    // fastest, so one ensemble's samples of a candle are written side by side.
    const int cells = out.StatGroupCount * out.StatRowCount;
    std::vector<SeriesColumn> columns(static_cast<size_t>(cells));
    std::vector<int> binOfRow(static_cast<size_t>(out.StatRowCount));
    for (int r = 0; r < out.StatRowCount; ++r) {
        binOfRow[static_cast<size_t>(r)] =
            selection.Bins.empty() ? 0 : selection.Bins[static_cast<size_t>(r)];
        for (int g = 0; g < out.StatGroupCount; ++g)
            columns[static_cast<size_t>(g + out.StatGroupCount * r)] =
                Series_Column(set, codes[static_cast<size_t>(g)], binOfRow[static_cast<size_t>(r)], numCells);
    }
    std::vector<Sums> sums(static_cast<size_t>(cells));
    for (int32_t c = 0; c < count; ++c) {
        const int32_t first = c * per;
        const int32_t last = c == count - 1 ? ensembles - 1 : std::min(ensembles - 1, first + per - 1);
        std::fill(sums.begin(), sums.end(), Sums{});
        for (int32_t e = first; e <= last; ++e) {
            int16_t* samples = out.CandleSamples.data() + out.SampleIndex(0, 0, c, e - first);
            for (int k = 0; k < cells; ++k) {
                const int32_t v = columns[static_cast<size_t>(k)](e);
                if (v == kBadValue) continue;
                samples[k] = static_cast<int16_t>(std::clamp<int32_t>(v, kBadValue + 1, INT16_MAX));
                sums[static_cast<size_t>(k)].Add(v);
            }
        }
        for (int r = 0; r < out.StatRowCount; ++r)
            for (int g = 0; g < out.StatGroupCount; ++g) {
                const Sums& sum = sums[static_cast<size_t>(g + out.StatGroupCount * r)];
                auto put = [&](int field, int32_t v) { out.CandleStats[out.StatIndex(field, c, r, g)] = v; };
                put(CandleBin, binOfRow[static_cast<size_t>(r)]);
                put(CandleFirst, first);
                put(CandleLast, last);
                put(CandleMean, RoundToInt32(sum.Mean()));
                put(CandleStdDev, RoundToInt32(sum.StdDev()));
                put(CandleMax, sum.Max);
                put(CandleMin, sum.Min);
                put(CandleCountField, sum.Count);
            }
    }
    out.SelectedCandle = std::clamp(out.SelectedCandle, 0, std::max(out.CandleCount - 1, 0));
    out.TrendRow = std::clamp(out.TrendRow, 0, std::max(out.StatRowCount - 1, 0));
    out.TrendGroup = std::clamp(out.TrendGroup, 0, std::max(out.StatGroupCount - 1, 0));
}

} // namespace mvx
