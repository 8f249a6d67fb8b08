// The rotation of east and north velocities onto the track and the manual angle's entry and titles.
#include "analysis/TrackRotation.h"

#include "analysis/AnswerNumber.h"
#include "analysis/CellRotation.h"
#include "common/Angles.h"
#include "common/NumberFormat.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace mvx {

namespace {

constexpr int kDirection = 5;

std::string SignedAngle(double degrees) {
    const std::string text = FormatNumber(degrees, "0.00");
    return Fix_String((text[0] == '-' ? text : "+" + text) + "\xB0", ' ', 10);
}

// The index of the one checked item, or fallback when none is.
template <size_t N> int32_t Checked(const std::array<bool, N>& items, int32_t fallback) {
    for (size_t k = 0; k < N; ++k)
        if (items[k]) return static_cast<int32_t>(k);
    return fallback;
}

template <size_t N> void Check(std::array<bool, N>& items, int32_t index) {
    for (size_t k = 0; k < N; ++k) items[k] = static_cast<int32_t>(k) == index;
}

} // namespace

void Track_State_From_Options(const Options& o, TrackVectorState& state) {
    state.Projection =
        static_cast<TrackProjection>(Checked(o.TrackSelectAuto, static_cast<int32_t>(state.Projection)));
    state.SpeedUnit = Checked(o.TrackSpeedUnits, state.SpeedUnit);
    state.DepthUnit = Checked(o.TrackDepthUnits, state.DepthUnit);
    state.LeftToRight = o.TrackLeftToRight;
    if (std::isfinite(o.TrackProperty)) state.ManualAngle = std::clamp(o.TrackProperty, -179.99, 180.0);
    state.RotateNeeded = true;
}

void Store_Track_State(const TrackVectorState& state, Options& o) {
    Check(o.TrackSelectAuto, static_cast<int32_t>(state.Projection));
    Check(o.TrackSpeedUnits, state.SpeedUnit);
    Check(o.TrackDepthUnits, state.DepthUnit);
    o.TrackLeftToRight = state.LeftToRight;
    o.TrackProperty = state.ManualAngle;
}

void Rotate_Track_Data(EnsembleSet& set, int32_t count, int32_t numCells, TrackProjection projection,
                       double manualAngle) {
    // The loop reads rows 0 and 1 and writes rows 6 and 7.
    if (set.VelData.Empty() || set.VelData.Rows() != 8) return;
    count = std::clamp(count, 0, set.VelData.Slots());
    numCells = std::clamp(numCells, 0, set.VelData.Bins());
    double sinT = 0, cosT = 1;
    if (projection == TrackProjection::Manual) {
        const double theta = manualAngle * kProcessingPi / 180.0;
        sinT = std::sin(theta);
        cosT = std::cos(theta);
    }
    const SlotArray<int16_t>& direction =
        projection == TrackProjection::Navigation ? set.NavData : set.BTVelData;
    const CellRotation rotate = FastestCellRotation();
    for (int32_t i = 0; i < count; ++i) {
        bool valid = projection == TrackProjection::Manual;
        // A track needs a velocity: a bad one, or none at all (both components 0, as an ensemble without
        // the block leaves them), gives no direction.
        if (!valid && !direction.Empty() && i < direction.Slots() && direction(0, i) != kBadValue &&
            direction(1, i) != kBadValue && (direction(0, i) != 0 || direction(1, i) != 0)) {
            valid = true;
            const double theta = direction(kDirection, i) * kProcessingPi / 1800.0;
            sinT = std::sin(theta);
            cosT = std::cos(theta);
        }
        int16_t* along = set.VelData.RowData(6, i);
        int16_t* across = set.VelData.RowData(7, i);
        if (valid) {
            rotate({set.VelData.RowData(0, i), set.VelData.RowData(1, i), along, across}, numCells, sinT,
                   cosT);
        } else {
            std::fill_n(along, numCells, kBadValue);
            std::fill_n(across, numCells, kBadValue);
        }
    }
}

bool Rotate_If_Needed(TrackVectorState& state, EnsembleSet& set, int32_t count, int32_t numCells) {
    if (!state.RotateNeeded) return false;
    Rotate_Track_Data(set, count, numCells, state.Projection, state.ManualAngle);
    state.RotateNeeded = false;
    return true;
}

std::optional<double> Projection_Angle_Entry(const std::string& answer) {
    const std::optional<double> value = Answer_Number(answer);
    if (!value) return std::nullopt;
    return *value > 180 || *value < -179.99 ? 180.0 : *value;
}

TrackAnglePrompt Projection_Angle_Prompt(double currentAngle) {
    return {"Enter Projection Angle \xB1"
            "180\xB0",
            "Track Vector Time Series", FormatNumber(currentAngle, "0.00")};
}

std::pair<std::string, std::string> Track_Chart_Titles(TrackProjection projection, double manualAngle) {
    std::string text, longAngle = SignedAngle(0), crossAngle = SignedAngle(90);
    switch (projection) {
    case TrackProjection::Manual: {
        text = "MANUAL Projection ";
        double cross = manualAngle + 90;
        if (cross > 180) cross -= 360;
        longAngle = SignedAngle(manualAngle);
        crossAngle = SignedAngle(cross);
        break;
    }
    case TrackProjection::Navigation:
        text = "NAVIGATION ";
        break;
    case TrackProjection::Bottom:
        text = "BOTTOM ";
        break;
    }
    return {text + "Long Track" + longAngle, text + "Cross Track" + crossAngle};
}

} // namespace mvx
