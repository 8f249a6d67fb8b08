// The --track option: a projection for the long-track and cross-track velocity rows.
#include "cli/CmdTrack.h"

#include "cli/OptionChecks.h"

#include <CLI/CLI.hpp>

namespace mvx::cli {

bool ReadTrackChoice(const std::string& text, TrackChoice& choice) {
    if (text == "bottom" || text == "navigation") {
        choice = {text == "bottom" ? TrackProjection::Bottom : TrackProjection::Navigation, 0};
        return true;
    }
    double angle = 0;
    if (!ReadDecimalNumber(text, angle) || !(angle >= -179.99 && angle <= 180)) return false;
    choice = {TrackProjection::Manual, angle};
    return true;
}

void AddTrackOption(CLI::App& app, std::optional<TrackChoice>& choice) {
    app.add_option_function<std::string>(
           "--track",
           [&choice](const std::string& text) {
               TrackChoice c;
               ReadTrackChoice(text, c);
               choice = c;
           },
           "fill velocity rows 6 (long track) and 7 (cross track) along the bottom track, the navigation "
           "track or a manual angle in degrees clockwise from north (-179.99 to 180)")
        ->check(CLI::Validator(
            [](std::string& text) {
                TrackChoice c;
                return ReadTrackChoice(text, c) ? std::string()
                                                : "\"" + text +
                                                      "\" is not bottom, navigation or an angle "
                                                      "from -179.99 to 180";
            },
            "", ""))
        ->type_name("bottom|navigation|ANGLE");
}

} // namespace mvx::cli
