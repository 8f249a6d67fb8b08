#include "dataset/SeriesCandles.h"

#include "common/Rounding.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace mvx {

namespace {

// The running sums of one candle, an entry per (group, row) cell in the samples' order, so that one
// ensemble's row of samples adds in one straight loop. Sum and sum of squares are doubles, as the
// formulas take them; they hold whole numbers exactly.
struct CandleSums {
    std::vector<double> Sum, SumSq;
    std::vector<int32_t> Count;
    std::vector<int16_t> Max, Min;

    void Reset(size_t cells) {
        Sum.assign(cells, 0);
        SumSq.assign(cells, 0);
        Count.assign(cells, 0);
        Max.assign(cells, kNoSample); // the missing mark lies below every value
        Min.assign(cells, INT16_MAX);
    }
    // Adds one ensemble's samples; a missing one (kNoSample) leaves its cell's sums as they are. The two
    // loops are kept free of branches so that the compiler runs them on several cells at once.
    void Add(const int16_t* samples) {
        const size_t n = Count.size();
        double* sum = Sum.data();
        double* sumSq = SumSq.data();
        int32_t* count = Count.data();
        for (size_t k = 0; k < n; ++k) {
            const int32_t valid = samples[k] != kNoSample;
            const int32_t v = samples[k] * valid;
            sum[k] += v;
            sumSq[k] += static_cast<double>(v) * v;
            count[k] += valid;
        }
        int16_t* max = Max.data();
        int16_t* min = Min.data();
        for (size_t k = 0; k < n; ++k) {
            const int16_t v = samples[k];
            max[k] = std::max(max[k], v); // the missing mark lies below every value
            // v - 1 wraps the missing mark round to INT16_MAX, above every value.
            min[k] = std::min(min[k], static_cast<int16_t>(v - 1 + (v != kNoSample)));
        }
    }
    // The eight statistics' values of a cell; a cell without samples gets 0 for all of them.
    int32_t Mean(size_t k) const { return Count[k] >= 1 ? RoundToInt32(Sum[k] / Count[k]) : 0; }
    int32_t StdDev(size_t k) const {
        const int32_t n = Count[k];
        if (n <= 1) return 0;
        return RoundToInt32(std::sqrt(std::max(0.0, (SumSq[k] - Sum[k] * Sum[k] / n) / (n - 1))));
    }
    int32_t Maximum(size_t k) const { return Count[k] >= 1 ? Max[k] : 0; }
    int32_t Minimum(size_t k) const { return Count[k] >= 1 ? Min[k] : 0; }
};

// Asks for the memory line at p ahead of its use: a hint, where the compiler offers one.
inline void Fetch_Ahead(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

// The cells whose arrays hold T values with one distance between slots: each cell's value at slot 0 and
// its place among one ensemble's samples (group + groups * row), in address order, so that a slot is
// read in storage order.
template <typename T> struct SlotReads {
    struct Reader {
        const T* Values;
        int32_t Cell;
    };
    ptrdiff_t Step = 0;
    int32_t Slots = 0;
    std::vector<Reader> Readers;
    std::vector<const T*> Lines; // one reader per memory line the readers touch in a slot

    // Sorts the readers and lists their lines. Slots closer than a line need no fetching ahead: the
    // memory streams them. Slots a whole number of lines apart share a line in every slot when they
    // share it in slot 0; otherwise every distinct value is listed.
    void Finish() {
        std::sort(Readers.begin(), Readers.end(),
                  [](const Reader& x, const Reader& y) { return std::less<>{}(x.Values, y.Values); });
        constexpr ptrdiff_t kLine = 64;
        const ptrdiff_t stepBytes = Step * static_cast<ptrdiff_t>(sizeof(T));
        if (stepBytes < kLine) return;
        const auto line = [](const T* p) { return reinterpret_cast<uintptr_t>(p) / kLine; };
        for (const Reader& r : Readers)
            if (Lines.empty() ||
                (stepBytes % kLine == 0 ? line(Lines.back()) != line(r.Values) : Lines.back() != r.Values))
                Lines.push_back(r.Values);
    }
    // Writes the samples of slot e (16-bit missing values are the "no sample" mark itself) and asks for
    // the lines of slot ahead.
    void Read(int32_t e, int32_t ahead, int16_t* samples) const {
        if (ahead < Slots)
            for (const T* p : Lines) Fetch_Ahead(p + ahead * Step);
        if (e >= Slots) return;
        const ptrdiff_t at = e * Step;
        for (const Reader& r : Readers) samples[r.Cell] = static_cast<int16_t>(r.Values[at]);
    }
};

// Adds the reader of a column to the reads of its kind of array.
template <typename T>
void Add_Reader(std::vector<SlotReads<T>>& reads, const T* values, const SeriesColumn& c, int32_t cell) {
    auto it = std::find_if(reads.begin(), reads.end(),
                           [&](const SlotReads<T>& r) { return r.Step == c.Step() && r.Slots == c.Slots(); });
    if (it == reads.end()) it = reads.insert(reads.end(), SlotReads<T>{c.Step(), c.Slots(), {}, {}});
    it->Readers.push_back({values, cell});
}

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
    // One reader per (group, row) cell, in the samples' order: the group varies fastest, so one
    // ensemble's samples of a candle lie side by side, and the sums add them in that order.
    const int cells = out.StatGroupCount * out.StatRowCount;
    std::vector<SlotReads<int16_t>> words;
    std::vector<SlotReads<uint8_t>> bytes;
    std::vector<int> binOfRow(static_cast<size_t>(out.StatRowCount));
    for (int r = 0; r < out.StatRowCount; ++r) {
        binOfRow[static_cast<size_t>(r)] =
            selection.Bins.empty() ? 0 : selection.Bins[static_cast<size_t>(r)];
        for (int g = 0; g < out.StatGroupCount; ++g) {
            const SeriesColumn column =
                Series_Column(set, codes[static_cast<size_t>(g)], binOfRow[static_cast<size_t>(r)], numCells);
            const int32_t cell = g + out.StatGroupCount * r;
            if (column.Words() != nullptr) Add_Reader(words, column.Words(), column, cell);
            if (column.Bytes() != nullptr) Add_Reader(bytes, column.Bytes(), column, cell);
        }
    }
    for (auto& w : words) w.Finish();
    for (auto& b : bytes) b.Finish();
    // Samples start as "no sample"; a missing 16-bit value is written as that mark.
    static_assert(kNoSample == kBadValue);
    // The lines of the slot this many ensembles ahead are asked for while one slot is read, so they
    // arrive by the time it is read.
    constexpr int32_t kAhead = 4;
    CandleSums sums;
    for (int32_t c = 0; c < count; ++c) {
        const int32_t first = c * per;
        const int32_t last = c == count - 1 ? ensembles - 1 : std::min(ensembles - 1, first + per - 1);
        sums.Reset(static_cast<size_t>(cells));
        for (int32_t e = first; e <= last; ++e) {
            int16_t* samples = out.CandleSamples.data() + out.SampleIndex(0, 0, c, e - first);
            for (const auto& w : words) w.Read(e, e + kAhead, samples);
            for (const auto& b : bytes) b.Read(e, e + kAhead, samples);
            sums.Add(samples);
        }
        for (int r = 0; r < out.StatRowCount; ++r)
            for (int g = 0; g < out.StatGroupCount; ++g) {
                const auto k = static_cast<size_t>(g + out.StatGroupCount * r);
                auto put = [&](int field, int32_t v) { out.CandleStats[out.StatIndex(field, c, r, g)] = v; };
                put(CandleBin, binOfRow[static_cast<size_t>(r)]);
                put(CandleFirst, first);
                put(CandleLast, last);
                put(CandleMean, sums.Mean(k));
                put(CandleStdDev, sums.StdDev(k));
                put(CandleMax, sums.Maximum(k));
                put(CandleMin, sums.Minimum(k));
                put(CandleCountField, sums.Count[k]);
            }
    }
    out.SelectedCandle = std::clamp(out.SelectedCandle, 0, std::max(out.CandleCount - 1, 0));
    out.TrendRow = std::clamp(out.TrendRow, 0, std::max(out.StatRowCount - 1, 0));
    out.TrendGroup = std::clamp(out.TrendGroup, 0, std::max(out.StatGroupCount - 1, 0));
}

} // namespace mvx
