#include <gtest/gtest.h>

#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/project/form2.h"
#include "tests/support/test_app.h"

using namespace verrane;

TEST(ProjectScreen, StateListStartsWithClickState) {
    test::TestApp t("f2-states");
    Form2& f2 = t.Start();
    ASSERT_GE(f2.Combo3.listCount(), 7);
    EXPECT_EQ(f2.Combo3.item(0), " Click State");
    EXPECT_EQ(f2.Combo3.item(1), "Colorado");
    EXPECT_EQ(f2.Combo3.text(), " Click State");
    EXPECT_EQ(f2.Combo2.listCount(), 1);
    EXPECT_EQ(f2.Combo2.text(), " Click County");
    EXPECT_TRUE(f2.SelectedCounties.empty());
    EXPECT_EQ(f2.SelectionMethod, -1);
    EXPECT_TRUE(f2.StatsPending);
    EXPECT_TRUE(f2.HazardScreenRestored);
}

TEST(ProjectScreen, CountyChoiceLooksUpFipsAndResetsSelection) {
    test::TestApp t("f2-county");
    Form2& f2 = t.Choose("Oklahoma", "Oklahoma");
    EXPECT_EQ(f2.ProjectStateCode, 40);
    EXPECT_EQ(f2.ProjectCountyCode, 109);
    EXPECT_EQ(f2.SelectedCounties, std::vector<std::string>{"40109"});
    EXPECT_FALSE(f2.StatePending);
    // Counties of the state in table order, after " Click County".
    EXPECT_EQ(f2.Combo2.item(0), " Click County");
    EXPECT_EQ(f2.Combo2.item(1), "Canadian");
    // Names with apostrophes reach the database safely.
    t.Choose("Maryland", "Prince George's");
    EXPECT_EQ(f2.ProjectFips(), "24033");
    t.Choose("Iowa", "O'Brien");
    EXPECT_EQ(f2.ProjectFips(), "19141");
    EXPECT_TRUE(t.dialogs.messages.empty());
}

TEST(ProjectScreen, FipsIsAlwaysFiveCharacters) {
    test::TestApp t("f2-fips");
    Form2& f2 = t.Start();
    f2.ProjectStateCode = 1;
    f2.ProjectCountyCode = 1;
    EXPECT_EQ(f2.ProjectFips(), "01001");
    f2.ProjectStateCode = 5;
    f2.ProjectCountyCode = 7;
    EXPECT_EQ(f2.ProjectFips(), "05007");
}

TEST(ProjectScreen, ClickStateAfterARealStateClearsTheCounty) {
    test::TestApp t("f2-clickstate");
    Form2& f2 = t.Choose("Oklahoma", "Cleveland");
    f2.Combo3.setListIndex(0);
    EXPECT_EQ(f2.Combo2.listCount(), 1);
    EXPECT_EQ(f2.Combo2.text(), " Click County");
    EXPECT_TRUE(f2.SelectedCounties.empty());
    EXPECT_TRUE(f2.StatePending);
    f2.BC_On();
    EXPECT_FALSE(f2.Command1[3].enabled());
}

TEST(ProjectScreen, CountyChangeDiscardsTheHazardScreen) {
    test::TestApp t("f2-discard");
    Form2& f2 = t.Choose("Oklahoma", "Cleveland");
    t.app->form4();
    ASSERT_TRUE(t.app->IsLoaded("Form4"));
    f2.SelectedCounties.push_back("40017");
    t.Choose("Oklahoma", "Kay");
    EXPECT_FALSE(t.app->IsLoaded("Form4"));
    EXPECT_EQ(f2.SelectedCounties, std::vector<std::string>{"40071"});
}

TEST(ProjectScreen, HurricaneWarningRoundsTheOccupancy) {
    test::TestApp t("f2-hurricane");
    Form2& f2 = t.Choose("Kansas", "Cowley");
    Form3& f3 = t.app->form3();
    f2.Loading = true;  // put the values in without the building screen's own checks
    f3.Text1[3].setText("0.4");
    f2.Loading = false;
    t.dialogs.messages.clear();
    t.Choose("Oklahoma", "Kay");
    EXPECT_TRUE(t.dialogs.messages.empty());
    f2.Loading = true;
    f3.Text1[3].setText("0.6");
    f2.Loading = false;
    t.Choose("Kansas", "Cowley");
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_EQ(t.dialogs.messages[0].text,
              "This non-hurricane prone state has a hurricane occupancy on the Building Information screen.");
    EXPECT_EQ(t.dialogs.messages[0].title, "State Should Have No Hurricane Occupancy");
    EXPECT_EQ(t.dialogs.messages[0].icon, platform::Icon::Exclamation);
    t.dialogs.messages.clear();
    t.Choose("Texas", "Cooke");  // hurricane-prone: no warning
    EXPECT_TRUE(t.dialogs.messages.empty());
}

TEST(ProjectScreen, LeavingWithoutACountyIsRefused) {
    test::TestApp t("f2-leave");
    Form2& f2 = t.Start();
    for (int i = 0; i < 4; ++i) {
        t.dialogs.messages.clear();
        f2.Command1_Click(i);
        ASSERT_EQ(t.dialogs.messages.size(), 1u);
        EXPECT_EQ(t.dialogs.messages[0].text, "You must select a state and county before going to another form.");
        EXPECT_EQ(t.dialogs.messages[0].title, " ");
        EXPECT_EQ(t.app->front(), &f2);
    }
    EXPECT_FALSE(t.app->IsLoaded("Form3"));
}
