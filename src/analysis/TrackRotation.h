#pragma once
// Velocities resolved onto a track direction: rows 6 (long track) and 7 (cross track) of VelData from the
// east and north rows, with the direction taken per ensemble from the bottom track or the navigation
// velocity, or once from an angle the user enters.
#include "model/EnsembleSet.h"
#include "model/Options.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace mvx {

// The projection menu's choices, in menu order.
enum class TrackProjection : int32_t { Bottom = 0, Navigation = 1, Manual = 2 };

// The track vector window's state that the rotation and the texts read.
struct TrackVectorState {
    TrackProjection Projection = TrackProjection::Bottom;
    double ManualAngle = 0; // degrees clockwise from north
    bool RotateNeeded = true;
    int32_t SpeedUnit = 1; // 0 knots, 1 m/s, 2 cm/s
    int32_t DepthUnit = 1; // 0 fathoms, 1 metres, 2 feet
    bool LeftToRight = false;
    double FontSize = 8;
    bool FontBold = false;
};

// The window's settings as the options record keeps them (check marks of its menus and its manual
// angle); a menu without a check mark keeps the state's own choice.
void Track_State_From_Options(const Options& options, TrackVectorState& state);
void Store_Track_State(const TrackVectorState& state, Options& options);

// Fills rows 6 and 7 of every bin 0..numCells-1 of slots 0..count-1 (both cut to what the set holds):
// L = u sin t + v cos t and C = u cos t - v sin t of east u and north v, limited to +-32767 and rounded
// halves to even. A bad east or north value, or an ensemble without the chosen direction (bottom track
// or navigation east or north bad, or both 0: no block, or no motion to give a direction), gives -32768
// in both rows.
void Rotate_Track_Data(EnsembleSet& set, int32_t count, int32_t numCells, TrackProjection projection,
                       double manualAngle);

// Rotates when the state asks for it and clears the request; true when it rotated.
bool Rotate_If_Needed(TrackVectorState& state, EnsembleSet& set, int32_t count, int32_t numCells);

// The manual angle an input-box answer gives: nothing for an empty answer or one that does not start
// with a number (the previous angle stays); above 180 or below -179.99 it is taken as 180.
std::optional<double> Projection_Angle_Entry(const std::string& answer);

// The input box that asks for the manual angle: prompt, title and default answer.
struct TrackAnglePrompt {
    std::string Prompt, Title, Default;
};
TrackAnglePrompt Projection_Angle_Prompt(double currentAngle);

// The two charts' titles: the projection text, "Long Track" or "Cross Track" and the angle, the angle
// texts "+0.00" style with the degree sign, left-padded to 10 characters. Latin-1 text.
std::pair<std::string, std::string> Track_Chart_Titles(TrackProjection projection, double manualAngle);

} // namespace mvx
