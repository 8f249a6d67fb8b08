#pragma once
// The report editor's ten caption commands: which text of the snapshot each edits and the input box that
// asks for it. An empty answer keeps the old text.
#include "analysis/ReportFile.h"

#include <array>
#include <string>

namespace mvx {

// In the order of the "&Captions" menu.
enum class ReportCaption {
    Window = 0,
    Label1,
    Label2,
    Label3,
    XAxis,
    YAxis,
    StartTime,
    EndTime,
    StartDate,
    EndDate
};
inline constexpr int kReportCaptionCount = 10;
inline constexpr std::array<const char*, kReportCaptionCount> kReportCaptionItems{
    "Window", "Label 1",    "Label 2",  "Label 3",    "X axis",
    "Y axis", "Start Time", "End Time", "Start Date", "End Date"};
inline constexpr const char* kReportEditTitle = "Marevox Contour Edit";

// The prompt of a caption's input box ("Enter Window Caption ", "Enter Label 2 Caption ", ...).
std::string Caption_Prompt(ReportCaption caption);
// The text a caption command edits.
std::string& Caption_Text(ReportSnapshot& snapshot, ReportCaption caption);
const std::string& Caption_Text(const ReportSnapshot& snapshot, ReportCaption caption);
// A non-empty answer replaces the text (line breaks become spaces); true when it changed the snapshot.
bool Edit_Caption(ReportSnapshot& snapshot, ReportCaption caption, const std::string& answer);

} // namespace mvx
