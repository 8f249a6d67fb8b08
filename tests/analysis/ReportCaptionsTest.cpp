#include "analysis/ReportCaptions.h"

#include <gtest/gtest.h>

using namespace mvx;

namespace {

TEST(ReportCaptions, EveryCommandEditsItsOwnTextAndAnEmptyAnswerKeepsIt) {
    const struct {
        ReportCaption Caption;
        const char* Prompt;
    } cases[] = {{ReportCaption::Window, "Enter Window Caption "},
                 {ReportCaption::Label1, "Enter Label 1 Caption "},
                 {ReportCaption::Label2, "Enter Label 2 Caption "},
                 {ReportCaption::Label3, "Enter Label 3 Caption "},
                 {ReportCaption::XAxis, "Enter X Axis Caption "},
                 {ReportCaption::YAxis, "Enter Y Axis Caption "},
                 {ReportCaption::StartTime, "Enter Start Time Caption "},
                 {ReportCaption::EndTime, "Enter End Time Caption "},
                 {ReportCaption::StartDate, "Enter Start Date Caption "},
                 {ReportCaption::EndDate, "Enter End Date Caption "}};
    for (const auto& c : cases) {
        ReportSnapshot s;
        const ReportSnapshot before = s;
        EXPECT_EQ(Caption_Prompt(c.Caption), c.Prompt);
        EXPECT_FALSE(Edit_Caption(s, c.Caption, ""));
        EXPECT_EQ(Caption_Text(s, c.Caption), Caption_Text(before, c.Caption));
        EXPECT_TRUE(Edit_Caption(s, c.Caption, "new\r\ntext"));
        EXPECT_EQ(Caption_Text(s, c.Caption), "new  text");
        // No other caption changed.
        int changed = 0;
        for (int k = 0; k < kReportCaptionCount; ++k)
            changed += Caption_Text(s, ReportCaption(k)) != Caption_Text(before, ReportCaption(k));
        EXPECT_EQ(changed, 1) << c.Prompt;
    }
}

} // namespace
