#include <gtest/gtest.h>

#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/menus.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "tests/support/test_app.h"

using namespace verrane;
using platform::Answer;
namespace fs = std::filesystem;

// The whole road of a new user, through the menus and buttons only.
TEST(Journey, NewProjectToReportAndBack) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    test::TestApp t("");
    Form2& f2 = t.Choose("Oklahoma", "Oklahoma");
    f2.Text1[0].setText("Central Elementary School");

    // Building data.
    f2.Command1[0].click();
    Form3& f3 = t.app->form3();
    ASSERT_EQ(t.app->front(), &f3);
    f3.Text1[0].setText("200");
    f3.Text1[1].setText("120");
    f3.Text1[2].setText("4000");
    f3.Combo1[1].setListIndex(2);  // Reinforced Masonry
    for (int h = 8; h < 16; ++h) f3.Text2[static_cast<size_t>(h)].setText("450");
    EXPECT_TRUE(f2.BuildingDataComplete);

    // 50-mile region.
    GoToScreen(*t.app, f3, 4);
    Form4& f4 = t.app->form4();
    ASSERT_EQ(t.app->front(), &f4);
    f4.Option1[0].setValue(true);
    f4.Text1.setText("50");
    f4.Text1.keyPress(13);
    EXPECT_EQ(f4.Slider1.value(), 50);
    EXPECT_GT(f4.CountyList.size(), 5u);
    const auto region = f4.CountyList;

    // Mitigation data.
    GoToScreen(*t.app, f4, 5);
    Form5& f5 = t.app->form5();
    ASSERT_EQ(t.app->front(), &f5);
    EXPECT_EQ(f2.SelectedCounties, region);
    EXPECT_FALSE(f2.StatsPending);
    f5.Text1[1].setText("350,000");
    f5.Text1[3].setText("30");
    f5.Combo1.setListIndex(3);  // 200 mph
    EXPECT_TRUE(f2.MitigationDataComplete);
    ASSERT_TRUE(f5.Command1[3].enabled());

    // Benefit Cost Analysis.
    f5.Command1[3].click();
    Form6& f6 = t.app->form6();
    ASSERT_EQ(t.app->front(), &f6);
    const std::string ratio = f6.Text1[4].text();
    EXPECT_EQ(ratio.front(), ' ');
    EXPECT_NE(ratio, " Undefined");
    EXPECT_EQ(f6.LivesSavedCaption, "Total Lives Saved Over Project Lifetime of 30 years");

    // Short report to PDF.
    const fs::path pdf = fs::temp_directory_path() / "verrane-journey-short.pdf";
    fs::remove(pdf);
    t.dialogs.reportPdf = pdf.string();
    f6.FindMenu("mnuPreviewShort")->click();
    ASSERT_EQ(t.dialogs.reportCalls.size(), 1u);
    EXPECT_EQ(t.dialogs.reportCalls[0].pages, 1);
    EXPECT_TRUE(fs::exists(pdf));

    // Save As, New, Open: the same ratio.
    const fs::path file = fs::temp_directory_path() / "verrane-journey.tor";
    fs::remove(file);
    t.dialogs.files = {file.string()};
    f6.FindMenu("mnusaveas")->click();
    EXPECT_EQ(t.dialogs.messages.back().text, "Project Saved.");
    t.dialogs.answers = {Answer::No};
    f6.FindMenu("mnuNew")->click();
    EXPECT_EQ(f2.Combo3.text(), " Click State");
    EXPECT_FALSE(t.app->IsLoaded("Form6"));
    t.dialogs.answers = {Answer::No};
    t.dialogs.files = {file.string()};
    f2.FindMenu("mnuOpen")->click();
    ASSERT_EQ(f2.Combo2.text(), "Oklahoma");
    EXPECT_EQ(f2.SelectedCounties, region);
    f2.Command1[3].click();
    EXPECT_EQ(t.app->form6().Text1[4].text(), ratio);
}
