#include <gtest/gtest.h>

#include "platform/provenance.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/menus.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "tests/support/test_app.h"

using namespace verrane;
using platform::Answer;

namespace {
bool Enabled(Screen& s, const char* name) {
    auto* m = s.FindMenu(name);
    EXPECT_NE(m, nullptr) << name;
    return m && m->enabled;
}
}  // namespace

TEST(Menus, CaptionsShortcutsAndInitialStates) {
    test::TestApp t("menus-initial");
    Form2& f2 = t.Choose("Oklahoma", "Oklahoma");
    ASSERT_EQ(f2.menuBar.size(), 5u);
    EXPECT_EQ(f2.menuBar[0].caption, "&File");
    EXPECT_EQ(f2.menuBar[1].caption, "&Edit");
    EXPECT_EQ(f2.menuBar[2].caption, "&Input");
    EXPECT_EQ(f2.menuBar[3].caption, "&BC Analysis");
    EXPECT_EQ(f2.menuBar[4].caption, "&Help");
    std::vector<std::string> file;
    for (auto& m : f2.menuBar[0].items)
        if (m.visible) file.push_back(m.caption);
    EXPECT_EQ(file, (std::vector<std::string>{"&New", "&Open", "&Save", "S&ave As", "-", "Print Pre&view", "&Print",
                                              "-", "E&xit"}));
    EXPECT_EQ(f2.FindMenu("mnuOpen")->shortcut, "Ctrl+O");
    EXPECT_EQ(f2.FindMenu("mnuCut")->shortcut, "Ctrl+X");
    EXPECT_FALSE(Enabled(f2, "mnuPrintPreview"));
    EXPECT_FALSE(Enabled(f2, "mnuEdit"));
    EXPECT_FALSE(Enabled(f2, "mnuProject"));
    EXPECT_TRUE(Enabled(f2, "mnuBuilding"));

    Form3& f3 = t.app->form3();
    EXPECT_EQ(f3.FindMenu("mnuOpen")->shortcut, "");
    EXPECT_EQ(f3.FindMenu("mnuMitigation")->caption, "Mitigation Project");
    EXPECT_FALSE(Enabled(f3, "mnuBuilding"));
    Form4& f4 = t.app->form4();
    EXPECT_TRUE(f4.FindMenu("mnuEdit")->items.empty());
    EXPECT_FALSE(Enabled(f4, "mnuHazard"));
    Form5& f5 = t.app->form5();
    EXPECT_EQ(f5.FindMenu("mnuMitigation")->caption, "Mitigation Project Information");
    EXPECT_FALSE(Enabled(f5, "mnuMitigation"));
    Form6& f6 = t.app->form6();
    EXPECT_TRUE(Enabled(f6, "mnuPrintPreview"));
    EXPECT_TRUE(Enabled(f6, "mnuBCAnalysis"));
    EXPECT_FALSE(Enabled(f6, "mnuBCResults"));
    EXPECT_TRUE(Enabled(f6, "mnuSensitivity"));
}

TEST(Menus, EveryInputItemNeedsACounty) {
    test::TestApp t("menus-county");
    Form2& f2 = t.Start();
    for (const char* item : {"mnuBuilding", "mnuHazard", "mnuMitigation", "mnuBCResults"}) {
        t.dialogs.messages.clear();
        GoToScreen(*t.app, f2,
                   std::string(item) == "mnuBuilding"     ? 3
                   : std::string(item) == "mnuHazard"     ? 4
                   : std::string(item) == "mnuMitigation" ? 5
                                                          : 6);
        ASSERT_EQ(t.dialogs.messages.size(), 1u) << item;
        EXPECT_EQ(t.dialogs.messages[0].text, "You must select a state and county before going to another form.");
        EXPECT_EQ(t.app->front(), &f2);
    }
}

TEST(Menus, LeavingBuildingStaysWhenSavedataRefusesButAReportNeverStays) {
    test::TestApp t("menus-stay");
    t.Choose("Oklahoma", "Kay");
    Form3& f3 = t.app->form3();
    f3.Show();
    t.dialogs.answers = {Answer::Yes};  // stay to complete the data
    f3.FindMenu("mnuMitigation")->click();
    EXPECT_EQ(t.app->front(), &f3);
    t.dialogs.answers = {Answer::No};
    f3.FindMenu("mnuMitigation")->click();
    EXPECT_EQ(t.app->front(), &t.app->form5());
    // A report from the building screen asks nothing.
    f3.Show();
    t.dialogs.messages.clear();
    RunReport(*t.app, f3, false, false);
    EXPECT_EQ(t.dialogs.reportCalls.size(), 1u);
    for (const auto& m : t.dialogs.messages) EXPECT_EQ(m.buttons, platform::Buttons::OK) << m.text;
}

TEST(Menus, HazardScreenStoresBeforeFileCommandsAndExtractsBeforeMoving) {
    test::TestApp t("menus-hazard");
    Form2& f2 = t.Choose("Oklahoma", "Oklahoma");
    Form4& f4 = t.app->form4();
    f4.Show();
    f4.CountyList = {"40109", "40027"};
    f2.StatsPending = true;
    t.dialogs.files = {std::nullopt};  // Save asks for a name, and is cancelled
    f4.FindMenu("mnusave")->click();
    EXPECT_EQ(f2.SelectedCounties, (std::vector<std::string>{"40109", "40027"}));
    EXPECT_TRUE(f2.StatsPending);  // stored, not extracted
    f4.FindMenu("mnuProject")->click();
    EXPECT_FALSE(f2.StatsPending);  // leaving re-extracts
    EXPECT_EQ(t.app->front(), &f2);
}

TEST(Menus, ReportFromResultsScreenDoesNotRecomputeAndCutIsNeverThere) {
    test::TestApp t("menus-results");
    t.Choose("Oklahoma", "Oklahoma");
    Form6& f6 = t.app->form6();
    f6.Show();
    f6.Text1[0].setText(" 999");  // what the screen shows is what is reported
    f6.Texts[kTornadoBenefitsBox] = " 999";
    RunReport(*t.app, f6, false, false);
    EXPECT_EQ(t.dialogs.reportCalls.size(), 1u);
    f6.Text1[1].setFocus(true);
    EXPECT_TRUE(Enabled(f6, "mnuEdit"));
    EXPECT_TRUE(Enabled(f6, "mnuCopy"));
    EXPECT_FALSE(Enabled(f6, "mnuCut"));
    EXPECT_FALSE(Enabled(f6, "mnupaste"));
}

TEST(Menus, EditCommandsUseTheFocusedBoxAndTheClipboard) {
    test::TestApp t("menus-edit");
    Form2& f2 = t.Choose("Oklahoma", "Oklahoma");
    f2.Text1[0].setText("Central High");
    f2.Text1[0].setFocus(true);
    EXPECT_TRUE(Enabled(f2, "mnuCut"));
    f2.Text1[0].setSelection(0, 8);
    f2.FindMenu("mnuCut")->click();
    EXPECT_EQ(t.dialogs.clipboard, "Central ");
    EXPECT_EQ(f2.Text1[0].text(), "High");
    f2.Text1[0].setSelection(4, 0);
    f2.FindMenu("mnupaste")->click();
    EXPECT_EQ(f2.Text1[0].text(), "HighCentral ");
    f2.Text1[0].setFocus(false);
    EXPECT_FALSE(Enabled(f2, "mnuEdit"));
    // The building and mitigation screens' boxes switch it the same way.
    Form3& f3 = t.app->form3();
    f3.Text2[5].setFocus(true);
    EXPECT_TRUE(Enabled(f3, "mnupaste"));
    f3.Text2[5].setFocus(false);
    EXPECT_FALSE(Enabled(f3, "mnuEdit"));
    Form5& f5 = t.app->form5();
    f5.Text2[12].setFocus(true);
    EXPECT_TRUE(Enabled(f5, "mnuCut"));
    f5.Text2[12].setFocus(false);
    EXPECT_FALSE(Enabled(f5, "mnuCut"));
}

TEST(Menus, HelpOpensTheContents) {
    test::TestApp t("menus-help");
    Form2& f2 = t.Start();
    f2.FindMenu("mnuHelp")->click();
    ASSERT_EQ(t.dialogs.helpCalls.size(), 1u);
    EXPECT_EQ(t.dialogs.helpCalls[0].second, 3);
    EXPECT_NE(t.dialogs.helpCalls[0].first.find("torhelp.html"), std::string::npos);
}

TEST(Menus, AboutNamesTheProgramAndItsData) {
    test::TestApp t("");  // the shipped data, with its identity
    Form2& f2 = t.Start();
    f2.FindMenu("mnuAbout")->click();
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    const platform::Message& m = t.dialogs.messages[0];
    EXPECT_EQ(m.title, "About Verrane");
    EXPECT_EQ(m.text.rfind("Verrane 1.0\n", 0), 0u) << m.text;
    EXPECT_NE(m.text.find("Tornado record: 1950-2023"), std::string::npos) << m.text;
    EXPECT_NE(m.text.find("Reference data SHA-256: " + platform::CurrentProvenance().database), std::string::npos);
    EXPECT_EQ(platform::CurrentProvenance().database.size(), 64u);
}

// "Sensitivity..." goes to the results as "BC Analysis Results" does and asks
// for the sensitivity only once they are in front; where the screen keeps the
// user, nothing opens.
TEST(Menus, SensitivityComesAfterTheResults) {
    test::TestApp t("menus-sensitivity");
    t.Choose("Oklahoma", "Kay");
    App& app = *t.app;
    std::vector<Screen*> frontWhenAsked;
    app.onShowSensitivity = [&] { frontWhenAsked.push_back(app.front()); };
    Form3& f3 = app.form3();
    f3.Show();
    t.dialogs.answers = {Answer::Yes};  // stay to complete the data
    f3.FindMenu("mnuSensitivity")->click();
    EXPECT_EQ(app.front(), &f3);
    EXPECT_TRUE(frontWhenAsked.empty());
    t.dialogs.answers.clear();
    f3.FindMenu("mnuSensitivity")->click();
    ASSERT_NE(app.Loaded<Form6>(), nullptr);
    EXPECT_EQ(app.front(), app.Loaded<Form6>());
    ASSERT_EQ(frontWhenAsked.size(), 1u);
    EXPECT_EQ(frontWhenAsked[0], app.Loaded<Form6>());
    app.Loaded<Form6>()->FindMenu("mnuSensitivity")->click();
    EXPECT_EQ(frontWhenAsked.size(), 2u);
    EXPECT_EQ(app.front(), app.Loaded<Form6>());
}
