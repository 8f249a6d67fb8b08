#pragma once
// The analysis windows drawn by marevox-cli render --window track|trend|report, offscreen by the same
// code as the desktop windows.
#include "model/CoreState.h"

#include <string>

namespace mvx::cli {

// The series chart's candles of the loaded set as the options choose them (without a bin chosen, the
// first bin shown), for the trend; false when they give no candle.
bool Compute_Candles(CoreState& core);

// True for the windows drawn here.
bool IsAnalysisWindow(const std::string& window);

#ifdef MARVOX_HAVE_QT
// The track vector or trend window of a loaded set as PNG bytes (empty when the picture could not be
// made); caption is the window's caption. Needs a running QGuiApplication.
std::string DrawAnalysisWindow(CoreState& core, const std::string& window, int width, int height,
                               std::string& caption);
// The report editor showing a report file; error says why the file could not be read.
std::string DrawReportWindow(const std::string& reportPath, int width, int height, std::string& caption,
                             std::string& error);
#endif

} // namespace mvx::cli
