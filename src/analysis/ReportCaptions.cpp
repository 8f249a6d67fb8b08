// The report editor's caption commands.
#include "analysis/ReportCaptions.h"

#include <algorithm>

namespace mvx {

std::string Caption_Prompt(ReportCaption caption) {
    switch (caption) {
    case ReportCaption::Window:
        return "Enter Window Caption ";
    case ReportCaption::Label1:
    case ReportCaption::Label2:
    case ReportCaption::Label3:
        return "Enter Label " + std::to_string(static_cast<int>(caption)) + " Caption ";
    case ReportCaption::XAxis:
        return "Enter X Axis Caption ";
    case ReportCaption::YAxis:
        return "Enter Y Axis Caption ";
    case ReportCaption::StartTime:
        return "Enter Start Time Caption ";
    case ReportCaption::EndTime:
        return "Enter End Time Caption ";
    case ReportCaption::StartDate:
        return "Enter Start Date Caption ";
    case ReportCaption::EndDate:
        return "Enter End Date Caption ";
    }
    return "";
}

const std::string& Caption_Text(const ReportSnapshot& s, ReportCaption caption) {
    switch (caption) {
    case ReportCaption::Window:
        return s.Caption;
    case ReportCaption::Label1:
    case ReportCaption::Label2:
    case ReportCaption::Label3:
        return s.Titles[static_cast<size_t>(caption) - 1];
    case ReportCaption::XAxis:
        return s.XAxisCaption;
    case ReportCaption::YAxis:
        return s.YAxisCaption;
    case ReportCaption::StartTime:
        return s.StartTime;
    case ReportCaption::EndTime:
        return s.EndTime;
    case ReportCaption::StartDate:
        return s.StartDate;
    case ReportCaption::EndDate:
        break;
    }
    return s.EndDate;
}

std::string& Caption_Text(ReportSnapshot& s, ReportCaption caption) {
    return const_cast<std::string&>(Caption_Text(static_cast<const ReportSnapshot&>(s), caption));
}

bool Edit_Caption(ReportSnapshot& s, ReportCaption caption, const std::string& answer) {
    if (answer.empty()) return false;
    std::string text = answer;
    std::replace_if(
        text.begin(), text.end(), [](char ch) { return ch == '\r' || ch == '\n'; }, ' ');
    Caption_Text(s, caption) = text;
    return true;
}

} // namespace mvx
