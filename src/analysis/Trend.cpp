// Smoothing, the trend of a candle's series and its residuals.
#include "analysis/Trend.h"

#include "analysis/AnswerNumber.h"
#include "common/Rounding.h"
#include "dataset/VelocityProcessing.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

inline bool Valid(double v) {
    return v != kMissing;
}

// The array of the east and north components of a direction code (the water velocity of the candle row's
// bin, the bottom track, the water mass, the navigation); null for other codes.
const SlotArray<int16_t>* ComponentSource(int32_t code, const EnsembleSet& data) {
    switch (code) {
    case 600:
        return &data.VelData;
    case 60000:
        return &data.BTVelData;
    case 600000:
        return &data.RefVelData;
    case 6000000:
        return &data.NavData;
    default:
        return nullptr;
    }
}

void SmoothTimes(std::vector<double>& v, int passes) {
    for (int p = 0; p < passes; ++p) Smooth(v);
}

} // namespace

void Smooth(std::span<double> data) {
    const size_t n = data.size();
    if (n == 0) return;
    double f = 0;
    bool seeded = false;
    for (size_t k = n; k-- > 0;) {
        if (!Valid(data[k])) continue;
        f = seeded ? 0.1 * data[k] + 0.9 * f : data[k];
        seeded = true;
    }
    if (!seeded) return;
    double prev = Valid(data[0]) ? data[0] : f;
    for (size_t i = 0; i + 1 < n; ++i) {
        const double cur = Valid(data[i]) ? data[i] : f;
        double s = 2 * cur + prev;
        prev = cur;
        if (Valid(data[i + 1])) {
            f = 0.1 * data[i + 1] + 0.9 * f;
            s += data[i + 1];
        } else {
            s += f;
        }
        data[i] = s / 4;
    }
    const double last = Valid(data[n - 1]) ? data[n - 1] : f;
    data[n - 1] = (3 * last + prev) / 4;
}

TrendSeries Compute_Trend(Candles& c, const EnsembleSet& data) {
    TrendSeries t;
    c.TrendPasses = std::max(c.TrendPasses, 0);
    t.Width = 2 * c.TrendPasses + 1;
    if (c.CandleCount <= 0 || c.StatRowCount <= 0 || c.StatGroupCount <= 0) return t;
    c.SelectedCandle = std::clamp(c.SelectedCandle, 0, c.CandleCount - 1);
    c.TrendRow = std::clamp(c.TrendRow, 0, c.StatRowCount - 1);
    c.TrendGroup = std::clamp(c.TrendGroup, 0, c.StatGroupCount - 1);
    t.Candle = c.SelectedCandle;
    t.Row = c.TrendRow;
    t.Group = c.TrendGroup;
    const int first = c.Stat(CandleFirst, t.Candle, t.Row, t.Group);
    const int last = c.Stat(CandleLast, t.Candle, t.Row, t.Group);
    const int n = std::clamp(last - first + 1, 0, c.SamplesPerCandle);
    if (n <= 0) return t;
    t.Minimum = c.Stat(CandleMin, t.Candle, t.Row, t.Group);
    t.Maximum = c.Stat(CandleMax, t.Candle, t.Row, t.Group);
    t.Raw.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int16_t s = c.Sample(t.Group, t.Row, t.Candle, i);
        t.Raw[static_cast<size_t>(i)] = s == kNoSample ? kMissing : s;
    }
    const int32_t code =
        static_cast<size_t>(t.Group) < c.GroupCodes.size() ? c.GroupCodes[static_cast<size_t>(t.Group)] : 0;
    const SlotArray<int16_t>* source = ComponentSource(code, data);
    t.Direction = source != nullptr || (static_cast<size_t>(t.Group) < c.CandleUnits.size() &&
                                        c.CandleUnits[static_cast<size_t>(t.Group)] == "deg");
    if (t.Direction) {
        // East and north of each sample, smoothed; the trend is the direction of the pair.
        std::vector<double> east(static_cast<size_t>(n), kMissing), north(static_cast<size_t>(n), kMissing);
        const int bin = source == &data.VelData ? c.Stat(CandleBin, t.Candle, t.Row, t.Group) : 0;
        if (source && !source->Empty() && bin >= 0 && bin < source->Bins()) {
            for (int i = 0; i < n; ++i) {
                const int slot = first + i;
                if (slot < 0 || slot >= source->Slots()) continue;
                const int16_t u = (*source)(0, bin, slot), v = (*source)(1, bin, slot);
                if (u == kBadValue || v == kBadValue) continue;
                east[static_cast<size_t>(i)] = u;
                north[static_cast<size_t>(i)] = v;
            }
        }
        SmoothTimes(east, c.TrendPasses);
        SmoothTimes(north, c.TrendPasses);
        t.Trend.assign(static_cast<size_t>(n), kMissing);
        for (size_t i = 0; i < east.size(); ++i)
            if (Valid(east[i]) && Valid(north[i])) t.Trend[i] = Velocity_Direction(east[i], north[i]) * 10.0;
    } else {
        t.Trend = t.Raw;
        SmoothTimes(t.Trend, c.TrendPasses);
    }
    t.Residual.assign(static_cast<size_t>(n), kMissing);
    double sum = 0, squares = 0;
    for (size_t i = 0; i < t.Raw.size(); ++i) {
        if (!Valid(t.Raw[i]) || !Valid(t.Trend[i])) continue;
        double r = t.Raw[i] - t.Trend[i];
        // 359 degrees about a trend of 1 lies 2 degrees off, not 358.
        if (t.Direction) r = std::remainder(r, 3600.0);
        t.Residual[i] = r;
        t.Largest = t.Count == 0 ? r : std::max(t.Largest, r);
        t.Smallest = t.Count == 0 ? r : std::min(t.Smallest, r);
        sum += r;
        squares += r * r;
        ++t.Count;
    }
    if (t.Count > 1) {
        t.Mean = sum / t.Count;
        t.StdDev = std::sqrt(std::max(0.0, (squares - sum * sum / t.Count) / (t.Count - 1)));
    }
    t.Valid = true;
    return t;
}

std::optional<int32_t> Candle_Entry(const std::string& answer, int32_t count) {
    const std::optional<double> value = Answer_Number(answer);
    if (!value) return std::nullopt;
    return std::clamp<int32_t>(RoundToInt32(*value - 1), 0, std::max(count - 1, 0));
}

} // namespace mvx
