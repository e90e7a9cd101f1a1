#include <gtest/gtest.h>

#include <algorithm>

#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/building/input_box.h"
#include "screens/mitigation/form5.h"
#include "tests/support/test_app.h"

namespace verrane {
namespace {

using platform::Answer;
using platform::Icon;

const char* const kFootprint = "Warning: Shelter area is larger than building footprint.";
const char* const kNonProne = "This non-hurricane prone state should have no hurricane occupancy. Enter zero.";

// A project in Oklahoma County with the building screen on display.
struct BuildingScreen : ::testing::Test {
    test::TestApp t{"building"};
    Form2* f2 = nullptr;
    Form3* f3 = nullptr;
    void SetUp() override {
        f2 = &t.Choose("Oklahoma", "Oklahoma");
        f2->Command1_Click(0);
        f3 = t.app->Loaded<Form3>();
        ASSERT_NE(f3, nullptr);
        t.dialogs.messages.clear();
    }
    int Count(const std::string& text) const {
        auto texts = t.dialogs.texts();
        return static_cast<int>(std::count(texts.begin(), texts.end(), text));
    }
    void SetHours(const std::string& v) {
        for (auto& b : f3->Text2) b.setText(v);
    }
};

TEST_F(BuildingScreen, NewProjectActivatesWithPresetsAndNeedsOnlyTheArea) {
    EXPECT_TRUE(f3->visible());
    EXPECT_EQ(f3->Text1[5].text(), "Need shelter area data.");
    EXPECT_EQ(f3->Text1[5].foreColor(), platform::kRed);
    EXPECT_EQ(f3->Combo1[1].text(), "Select Type");
    // The county record presets the time zone and daylight saving.
    EXPECT_EQ(f3->Combo1[0].text(), "Central ST");
    EXPECT_EQ(f3->Check2.value(), 1);
    EXPECT_FALSE(f2->BuildingDataComplete);
    EXPECT_FALSE(f3->Command1[3].enabled());
}

TEST_F(BuildingScreen, FootprintWarningOnlyAboveLengthTimesWidth) {
    f3->Text1[0].setText("100");
    f3->Text1[1].setText("50");
    f3->Text1[2].setText("5000");
    EXPECT_EQ(Count(kFootprint), 0);
    f3->Text1[2].setText("5001");
    ASSERT_EQ(Count(kFootprint), 1);
    EXPECT_EQ(t.dialogs.messages.back().icon, Icon::Exclamation);
    EXPECT_EQ(t.dialogs.messages.back().title, " ");
    // Without a width there is no footprint: emptying the boxes one after
    // another, or typing elsewhere, warns no more.
    f3->Text1[1].setText("");
    f3->Text1[3].setText("1");
    f3->Text1[0].setText("");
    f3->Text1[2].setText("");
    EXPECT_EQ(Count(kFootprint), 1);
}

TEST_F(BuildingScreen, AreaRatiosAtTheirLimits) {
    f3->Text1[0].setText("100");
    f3->Text1[1].setText("100");
    f3->Text1[2].setText("500");
    f3->Text2[14].setText("100");
    EXPECT_EQ(f3->Text1[5].text(), kAdequateBoth);
    EXPECT_EQ(f3->Text1[5].foreColor(), platform::kBlack);
    f3->Text2[14].setText("101");
    EXPECT_EQ(f3->Text1[5].text(),
              "Inadequate area for maximum tornado occupancy; adequate area for hurricane occupancy.");
    EXPECT_EQ(f3->Text1[5].foreColor(), platform::kRed);
    f3->Text2[14].setText("100");
    f3->Text1[3].setText("50");
    EXPECT_EQ(f3->Text1[5].text(), kAdequateBoth);
    f3->Text1[3].setText("51");
    EXPECT_EQ(f3->Text1[5].text(),
              "Inadequate area for hurricane occupancy; adequate area for maximum tornado occupancy.");
    f3->Text2[14].setText("101");
    EXPECT_EQ(f3->Text1[5].text(), "Inadequate area for both maximum tornado and hurricane occupancy.");
    EXPECT_EQ(f3->CheckMessage, f3->Text1[5].text());
}

TEST_F(BuildingScreen, EveryVerdictOfTheOccupancyCheck) {
    struct Case {
        bool area, hurricane, tornado;
        const char *areaText, *hurricaneText, *peakText;
        const char* verdict;
    };
    const Case cases[] = {
        {false, false, false, "", "", "", kNeedAllOccupancyData},
        {false, false, true, "", "", "1", "Need shelter area and hurricane occupancy data."},
        {false, true, false, "", "1", "", "Need shelter area and tornado occupancy data."},
        {false, true, true, "", "1", "1", "Need shelter area data."},
        {true, false, false, "100", "", "", "Need hurricane and tornado occupancy data."},
        {true, false, true, "100", "", "20",
         "Adequate area for maximum tornado occupancy; need hurricane occupancy data."},
        {true, false, true, "100", "", "21",
         "Inadequate area for maximum tornado occupancy; need hurricane occupancy data."},
        {true, true, false, "100", "10", "", "Adequate area for hurricane occupancy; need tornado occupancy data."},
        {true, true, false, "100", "11", "", "Inadequate area for hurricane occupancy; need tornado occupancy data."},
        {true, true, true, "100", "10", "20", kAdequateBoth},
        {true, true, true, "100", "10", "21",
         "Inadequate area for maximum tornado occupancy; adequate area for hurricane occupancy."},
        {true, true, true, "100", "11", "20",
         "Inadequate area for hurricane occupancy; adequate area for maximum tornado occupancy."},
        {true, true, true, "100", "11", "21", "Inadequate area for both maximum tornado and hurricane occupancy."},
    };
    for (const Case& c : cases) {
        // The boxes are written with the handlers off so that only the check runs.
        f2->Loading = true;
        f3->Text1[2].setText(c.areaText);
        f3->Text1[3].setText(c.hurricaneText);
        SetHours(c.peakText);
        f2->Loading = false;
        f3->AreaEntered = c.area;
        f3->HurricaneEntered = c.hurricane;
        f3->TornadoEntered = c.tornado;
        f3->PeakTornadoOccupancy = c.tornado ? std::stof(c.peakText) : 0;
        f3->OccupancyCheck();
        EXPECT_EQ(f3->Text1[5].text(), c.verdict);
        EXPECT_EQ(f3->Text1[5].foreColor(),
                  std::string(c.verdict) == kAdequateBoth ? platform::kBlack : platform::kRed);
    }
}

TEST_F(BuildingScreen, NonNumericEntriesAreEmptiedWithTheMessage) {
    f3->Text1[0].setText("12a");
    EXPECT_EQ(f3->Text1[0].text(), "");
    EXPECT_EQ(Count(input::kNumberMessage), 1);
    EXPECT_EQ(t.dialogs.messages.back().title, " ");
    f3->Text2[7].setText("x");
    EXPECT_EQ(f3->Text2[7].text(), "");
    EXPECT_EQ(Count(input::kNumberMessage), 2);
    EXPECT_FALSE(f2->BuildingDataComplete);
    // Thousands separators and exponents are numbers.
    f3->Text1[0].setText("1,000");
    f3->Text2[7].setText("1E2");
    EXPECT_EQ(Count(input::kNumberMessage), 2);
}

TEST_F(BuildingScreen, CompletenessOfHourlyChangesIgnoresTheShelterArea) {
    f3->Text1[0].setText("100");
    f3->Text1[1].setText("50");
    f3->Text2[3].setText("12");
    EXPECT_TRUE(f2->BuildingDataComplete);
    f3->Text1[1].setText("60");
    EXPECT_FALSE(f2->BuildingDataComplete);
    f3->Text1[2].setText("400");
    EXPECT_TRUE(f2->BuildingDataComplete);
    f3->Text2[3].setText("");
    EXPECT_FALSE(f2->BuildingDataComplete);
}

TEST_F(BuildingScreen, OneLeavingQuestionAndYesStays) {
    f3->Text1[0].setText("100");
    f3->Text1[1].setText("50");  // only the shelter area is empty
    f3->Text2[5].setText("");    // ... and an hourly box
    t.dialogs.messages.clear();
    t.dialogs.answers = {Answer::Yes};
    f3->Command1[0].click();
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_EQ(t.dialogs.messages[0].text, kRequiredDataQuestion);
    EXPECT_EQ(t.dialogs.messages[0].title, " ");
    EXPECT_TRUE(f3->visible());
    EXPECT_FALSE(f2->visible());

    // No goes ahead.
    f3->Command1[0].click();
    EXPECT_EQ(t.dialogs.messages.size(), 2u);
    EXPECT_FALSE(f3->visible());
    EXPECT_TRUE(f2->visible());
}

TEST_F(BuildingScreen, EmptyHourAloneAsksTooAndFullScreenLeavesSilently) {
    f3->Text1[0].setText("100");
    f3->Text1[1].setText("50");
    f3->Text1[2].setText("400");
    f3->Text2[23].setText("");
    t.dialogs.messages.clear();
    f3->Command1[2].click();
    EXPECT_EQ(t.dialogs.texts(), std::vector<std::string>{kRequiredDataQuestion});
    EXPECT_TRUE(t.app->Loaded<Form5>() && t.app->Loaded<Form5>()->visible());

    t.app->form3().Show();
    f3->Text2[23].setText("0");
    t.dialogs.messages.clear();
    f3->Command1[0].click();
    EXPECT_TRUE(t.dialogs.messages.empty());
    EXPECT_TRUE(f2->visible());
}

TEST_F(BuildingScreen, AnalysisButtonRunsTheMitigationRecalculationFirst) {
    f3->Text1[0].setText("100");
    f3->Text1[1].setText("50");
    f3->Text1[2].setText("400");
    f3->Command1_Click(3);
    Form5* f5 = t.app->Loaded<Form5>();
    ASSERT_NE(f5, nullptr);
    EXPECT_TRUE(f5->OutcomesValid);
    EXPECT_FALSE(f5->visible());
    EXPECT_TRUE(t.app->Loaded<Form6>() && t.app->Loaded<Form6>()->visible());
    EXPECT_FALSE(f3->visible());
}

TEST_F(BuildingScreen, SavedataPublishesEasternTimeAndHurricaneText) {
    for (int h = 0; h < 24; ++h) f3->Text2[static_cast<size_t>(h)].setText(std::to_string(h + 1));
    f3->Check2.setValue(0);
    f3->Text1[3].setText("");
    f3->savedata();
    ASSERT_TRUE(f3->Published);
    // Central: local 11 pm is midnight Eastern.
    EXPECT_EQ(f3->TornadoHourlyOccupancy[0], 24.0f);
    EXPECT_EQ(f3->TornadoHourlyOccupancy[1], 1.0f);
    EXPECT_EQ(f3->HurricaneOccupancyList, "");

    // Daylight saving averages each hour with the next, on rounded values.
    f3->Combo1[0].setListIndex(1);
    f3->Check2.setValue(1);
    SetHours("10");
    f3->Text2[13].setText("40");
    f3->Text1[3].setText("2.5");
    f3->savedata();
    EXPECT_EQ(f3->TornadoHourlyOccupancy[12], 27.5f);
    EXPECT_EQ(f3->TornadoHourlyOccupancy[13], 22.5f);
    EXPECT_EQ(f3->TornadoHourlyOccupancy[14], 10.0f);
    EXPECT_EQ(f3->HurricaneOccupancyList, "2.5");

    t.app->Unload("Form3");
    EXPECT_EQ(t.app->Loaded<Form3>(), nullptr);
}

TEST_F(BuildingScreen, CountyChangeRunsSettime) {
    f3->Combo1[0].setListIndex(1);
    f3->Check2.setValue(0);
    f2->Combo3.selectText("Colorado");
    f2->Combo2.selectText("Fremont");
    EXPECT_EQ(f3->Combo1[0].text(), "Mountain ST");
    EXPECT_EQ(f3->Check2.value(), 1);
}

TEST(BuildingSettime, MissingRecordOrUnknownZoneKeepsTheTimeZone) {
    test::TestApp t("settime");
    Form2& f2 = t.Choose("Kansas", "Cowley");
    test::ExecSql(t.dataDir, "UPDATE Counties SET NAME = 'Gone' WHERE NAME = 'Cowley'");
    Form3& f3 = t.app->form3();
    EXPECT_EQ(f3.Combo1[0].listIndex(), -1);
    EXPECT_EQ(f3.Check2.value(), 0);
    EXPECT_TRUE(t.dialogs.messages.empty());
    f3.Text1[0].setText("10");
    EXPECT_EQ(f3.Text1[0].text(), "10");

    // A zone the list does not know: daylight saving still follows the record.
    test::ExecSql(t.dataDir,
                  "UPDATE Counties SET NAME = 'Cowley', Time_Zones = 'Mars Time', Daylitsave = 1 WHERE NAME = 'Gone'");
    f3.Combo1[0].setListIndex(4);
    f3.Settime();
    EXPECT_EQ(f3.Combo1[0].listIndex(), 4);
    EXPECT_EQ(f3.Check2.value(), 1);

    // A database that cannot be read is reported, not thrown.
    std::filesystem::remove(t.dataDir / "verrane.sqlite");
    EXPECT_NO_THROW(f3.Settime());
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_NE(t.dialogs.messages[0].text.find("Cowley"), std::string::npos);
    EXPECT_EQ(f3.Combo1[0].listIndex(), 4);
    (void)f2;
}

TEST(BuildingHurricaneWarning, StatesOutsideTheListAndHalvesToEven) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    test::TestApp t("");
    t.Choose("Hawaii", "Honolulu");
    Form3& f3 = t.app->form3();
    EXPECT_EQ(f3.Combo1[0].text(), "Hawaii ST");
    EXPECT_EQ(f3.Check2.value(), 0);
    auto warnings = [&] {
        auto texts = t.dialogs.texts();
        return std::count(texts.begin(), texts.end(), std::string(kNonProne));
    };
    t.dialogs.messages.clear();
    f3.Text1[3].setText("0.4");
    f3.Text1[3].setText("0.5");
    EXPECT_EQ(warnings(), 0);
    f3.Text1[3].setText("1");
    EXPECT_EQ(warnings(), 1);
    EXPECT_EQ(t.dialogs.messages.back().title, "State Should Have No Hurricane Occupancy");
    EXPECT_EQ(t.dialogs.messages.back().icon, Icon::Exclamation);
    EXPECT_EQ(f3.Text1[3].text(), "1");
    f3.Text1[3].setText("1.5");
    // Far beyond a 16-bit whole number: still only the warning.
    f3.Text1[3].setText("100000");
    EXPECT_EQ(warnings(), 3);
}

TEST(BuildingHurricaneWarning, HurricaneProneStateHasNoWarning) {
    test::TestApp t("prone");
    t.Choose("Texas", "Cooke");
    Form3& f3 = t.app->form3();
    f3.Text1[3].setText("40");
    auto texts = t.dialogs.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), std::string(kNonProne)), 0);
}

}  // namespace
}  // namespace verrane
