#pragma once
// The --track option of the commands that fill velocity rows 6 and 7 as the track vector window does:
// "bottom", "navigation" or a manual angle in degrees (-179.99 to 180).
#include "analysis/TrackRotation.h"

#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace mvx::cli {

struct TrackChoice {
    TrackProjection Projection = TrackProjection::Bottom;
    double Angle = 0;
};

// Reads a --track value; false for anything else (an empty text, a word, a number out of range).
bool ReadTrackChoice(const std::string& text, TrackChoice& choice);

// Adds --track to a command; the choice is set when the option is given.
void AddTrackOption(CLI::App& app, std::optional<TrackChoice>& choice);

} // namespace mvx::cli
