// The sub-set window's part in the profile and series animations: the locators move and the charts
// follow, one step at a time.
#include "app/SubSetWindow.h"

namespace mvx {

void SubSetWindow::Animate_Profile_Locator(int32_t oldEnsemble) {
    if (!built_) return;
    const CoreState& core = app_.Core;
    if (core.Opts.ShowLocators) {
        Toggle_Profile_Line(charts_.Contour, picture1_, oldEnsemble);
        Toggle_Profile_Line(charts_.Contour, picture1_, core.Set.ProfileEnsNumber);
    }
    Show_Profile();
    pic1_->update();
}

void SubSetWindow::Animate_Series_Locators(const std::array<bool, 256>& oldBins, bool redraw) {
    if (!built_) return;
    const CoreState& core = app_.Core;
    if (core.Opts.ShowLocators) {
        Toggle_Series_Line(charts_.Contour, picture1_, oldBins);
        Toggle_Series_Line(charts_.Contour, picture1_, core.Opts.SeriesBinSelect);
    }
    if (redraw) Show_Series();
    pic1_->update();
}

} // namespace mvx
