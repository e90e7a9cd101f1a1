#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/building/input_box.h"
#include "screens/mitigation/form5.h"
#include "tests/support/test_app.h"

namespace verrane {
namespace {

using platform::Answer;
using platform::Icon;

const char* const kSumMessage = "The sum of the injuries and deaths for this wind speed range can not exceed 100%.";
const char* const kWindQuestion =
    "A design wind speed has not been selected. Do you want to stay on this screen to select a design wind speed?";

// A project in Prince George's County, Maryland, with the building screen
// loaded (construction type chosen by the test) and the mitigation screen shown.
struct MitigationScreen : ::testing::Test {
    test::TestApp t{"mitigation"};
    Form2* f2 = nullptr;
    Form3* f3 = nullptr;
    Form5* f5 = nullptr;
    void SetUp() override {
        f2 = &t.Choose("Maryland", "Prince George's");
        f3 = &t.app->form3();
        f2->Command1_Click(2);
        f5 = t.app->Loaded<Form5>();
        ASSERT_NE(f5, nullptr);
        t.dialogs.messages.clear();
    }
    // Chooses the construction type on the building screen and comes back.
    void ConstructionType(int type, int windowBox = 0) {
        f3->Combo1[1].setListIndex(type);
        f3->Check1.setValue(windowBox);
        f3->Show();
        f5->Show();
    }
    std::string Cell(int i) const { return f5->Text2[static_cast<size_t>(i)].text(); }
    void SetCell(int i, const std::string& v) { f5->Text2[static_cast<size_t>(i)].setText(v); }
    int Count(const std::string& text) const {
        auto texts = t.dialogs.texts();
        return static_cast<int>(std::count(texts.begin(), texts.end(), text));
    }
};

TEST_F(MitigationScreen, NewProjectDefaults) {
    EXPECT_TRUE(f5->visible());
    EXPECT_EQ(f5->Text1[0].text(), "");
    EXPECT_EQ(f5->Text1[1].text(), "");
    EXPECT_EQ(f5->Text1[2].text(), "0");
    EXPECT_EQ(f5->Text1[3].text(), "");
    EXPECT_EQ(f5->Text1[4].text(), "12500");
    EXPECT_EQ(f5->Text1[5].text(), "2200000");
    EXPECT_EQ(f5->Text1[6].text(), "7");
    EXPECT_EQ(f5->Combo1.text(), "Click Design Wind Speed");
    EXPECT_DOUBLE_EQ(f5->HurricaneWind, 110);
    EXPECT_TRUE(f5->OutcomesValid);
    EXPECT_EQ(f5->WindRangeThresholds, (std::array<int, 9>{0, 45, 77, 118, 138, 163, 194, 210, 262}));
    EXPECT_FLOAT_EQ(f5->InjuryOutcome.cost, 12500);
    EXPECT_FLOAT_EQ(f5->DeathOutcome.cost, 2200000);
    for (int i = 0; i < 99; ++i) {
        if (!Form5::CellExists(i)) continue;
        const bool user = Form5::UserCell(i);
        EXPECT_EQ(f5->Text2[static_cast<size_t>(i)].locked, !user) << i;
        EXPECT_EQ(f5->Text2[static_cast<size_t>(i)].backColor(), user ? platform::kWhite : platform::kButtonFace) << i;
    }
    EXPECT_EQ(Cell(40), "0.0");

    EXPECT_FALSE(f2->MitigationDataComplete);
    f5->Text1[1].setText("250000");
    EXPECT_FALSE(f2->MitigationDataComplete);
    f5->Text1[3].setText("30");
    EXPECT_TRUE(f2->MitigationDataComplete);
    f5->Text1[6].setText("");
    EXPECT_FALSE(f2->MitigationDataComplete);
    EXPECT_TRUE(t.dialogs.messages.empty());
}

TEST_F(MitigationScreen, DescriptionIsFreeTextAndCostsMustBeNumbers) {
    f5->Text1[0].setText("Safe room, 40 x 20 ft, $ unknown");
    EXPECT_TRUE(t.dialogs.messages.empty());
    EXPECT_FALSE(f2->MitigationDataComplete);
    f5->Text1[1].setText("lots");
    EXPECT_EQ(f5->Text1[1].text(), "");
    EXPECT_EQ(Count(input::kNumberMessage), 1);
    EXPECT_EQ(t.dialogs.messages.back().title, " ");
    // Every change recalculates: the injury cost reaches the outcome at once.
    f5->Text1[4].setText("20000");
    EXPECT_FLOAT_EQ(f5->InjuryOutcome.cost, 20000);
    f5->Text1[5].setText("");
    EXPECT_FLOAT_EQ(f5->DeathOutcome.cost, 0);
    // Zero is accepted; a negative cost is refused with its rule and the box
    // keeps the cost in effect.
    f5->Text1[2].setText("0");
    f5->Text1[2].setText("-5");
    EXPECT_EQ(f5->Text1[2].text(), "0");
    EXPECT_EQ(t.dialogs.messages.back().text, "Maintenance cost ($ per year) must be 0 or more.");
}

TEST_F(MitigationScreen, DesignWindSpeedWritesAndClearsTheDefaultEffectiveness) {
    f5->Combo1.setListIndex(4);
    EXPECT_EQ(Cell(27), "98");
    EXPECT_EQ(Cell(78), "85");
    EXPECT_EQ(Cell(20), "100");
    f5->Combo1.setListIndex(0);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(Cell(20 + k), "0");
        EXPECT_EQ(Cell(70 + k), "0");
    }
}

TEST_F(MitigationScreen, PostMitigationTextsInSinglePrecision) {
    ConstructionType(1);
    EXPECT_EQ(Cell(1), "0.6");
    EXPECT_EQ(Cell(52), "0.3");
    // No design wind speed: the post values equal the defaults.
    EXPECT_EQ(Cell(45), "85.0");
    f5->Combo1.setListIndex(1);
    EXPECT_EQ(Cell(44), "4.5");
    EXPECT_EQ(Cell(45), "38.3");
    EXPECT_EQ(Cell(95), "6.8");
    // 3 % dead at 85 %: 0.4499999..., not 0.5.
    EXPECT_EQ(Cell(94), "0.4");
    EXPECT_EQ(Cell(40), "0.0");
    EXPECT_FLOAT_EQ(f5->InjuryOutcome.pre[5], 0.85f);
    EXPECT_DOUBLE_EQ(f5->DeathOutcome.post[4], (1.0 - static_cast<double>(0.85f)) * static_cast<double>(0.03f));

    // An effectiveness of 100 gives 0.0; an empty user cell returns to the default.
    SetCell(35, "100");
    EXPECT_EQ(Cell(45), "0.0");
    SetCell(35, "");
    EXPECT_EQ(Cell(45), "38.3");
}

TEST_F(MitigationScreen, DefaultsFollowTheBuildingScreen) {
    ConstructionType(5, 1);
    EXPECT_EQ(Cell(2), "4");
    EXPECT_EQ(Cell(52), "0.7");
    ConstructionType(6, 1);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(Cell(k), "0");
        EXPECT_EQ(Cell(40 + k), "0.0");
        EXPECT_EQ(Cell(90 + k), "0.0");
    }
    ConstructionType(2);
    EXPECT_EQ(Cell(4), "85");
    // Without the building screen every default is 0.
    t.app->Unload("Form3");
    t.app->form2().Show();
    f5->Show();
    EXPECT_EQ(Cell(4), "0");
    EXPECT_EQ(Cell(44), "0.0");
}

TEST_F(MitigationScreen, PairOfPercentagesMayNotExceed100) {
    ConstructionType(1);  // range 164-194: 85 % injured, 15 % dead
    SetCell(15, "90");
    EXPECT_EQ(Cell(15), "");
    ASSERT_EQ(Count(kSumMessage), 1);
    EXPECT_EQ(t.dialogs.messages.back().title, "Deaths + Injuries must be <= 100%");
    EXPECT_EQ(t.dialogs.messages.back().icon, Icon::Exclamation);
    EXPECT_EQ(Cell(45), "85.0");
    SetCell(15, "85");
    EXPECT_EQ(Cell(15), "85");
    EXPECT_EQ(Count(kSumMessage), 1);

    // A user death percentage is tested against the default injury percentage.
    SetCell(15, "");
    SetCell(65, "20");
    EXPECT_EQ(Cell(65), "");
    EXPECT_EQ(Count(kSumMessage), 2);
    SetCell(65, "15");
    EXPECT_EQ(Cell(65), "15");
    // ... and against the user injury percentage when there is one.
    SetCell(15, "80");
    SetCell(65, "20");
    EXPECT_EQ(Cell(65), "20");
    EXPECT_EQ(Cell(95), "20.0");
    EXPECT_EQ(Count(kSumMessage), 2);

    SetCell(33, "ten");
    EXPECT_EQ(Cell(33), "");
    EXPECT_EQ(Count(input::kNumberMessage), 1);
}

TEST_F(MitigationScreen, BothLeavingQuestionsAndNoLetsTheUserGo) {
    t.dialogs.answers = {Answer::No, Answer::Yes};
    f5->Command1[0].click();
    ASSERT_EQ(t.dialogs.messages.size(), 2u);
    EXPECT_EQ(t.dialogs.messages[0].text, kRequiredDataQuestion);
    EXPECT_EQ(t.dialogs.messages[1].text, kWindQuestion);
    EXPECT_EQ(t.dialogs.messages[1].title, " ");
    EXPECT_TRUE(f5->visible());

    t.dialogs.messages.clear();
    f5->Command1[1].click();  // no answers queued: No to both
    EXPECT_EQ(t.dialogs.messages.size(), 2u);
    EXPECT_FALSE(f5->visible());
    EXPECT_TRUE(f3->visible());
}

TEST_F(MitigationScreen, CompleteScreenLeavesForTheAnalysisWithoutQuestions) {
    f5->Text1[1].setText("250000");
    f5->Text1[3].setText("30");
    f5->Combo1.setListIndex(3);
    t.dialogs.messages.clear();
    f3->Published = false;
    f5->Command1_Click(3);
    // The analysis screen may report on its own; this screen asks nothing.
    EXPECT_EQ(Count(kRequiredDataQuestion), 0);
    EXPECT_EQ(Count(kWindQuestion), 0);
    EXPECT_TRUE(f3->Published);
    EXPECT_TRUE(t.app->Loaded<Form6>()->visible());
    EXPECT_FALSE(f5->visible());
}

TEST_F(MitigationScreen, SavedataFromElsewhereReloadsTheCounty) {
    f5->Command1_Click(1);
    ASSERT_FALSE(f5->visible());
    t.dialogs.messages.clear();
    test::ExecSql(t.dataDir, "UPDATE Counties SET Hur_wind = 125 WHERE NAME = 'Prince George''s'");
    f3->Combo1[1].setListIndex(2);
    f5->savedata();
    EXPECT_DOUBLE_EQ(f5->HurricaneWind, 125);
    EXPECT_EQ(Cell(4), "85");

    // A county missing from the table keeps the wind and leaves the screen usable.
    test::ExecSql(t.dataDir, "DELETE FROM Counties WHERE NAME = 'Prince George''s'");
    f5->savedata();
    EXPECT_DOUBLE_EQ(f5->HurricaneWind, 125);
    EXPECT_TRUE(t.dialogs.messages.empty());
    std::filesystem::remove(t.dataDir / "verrane.sqlite");
    EXPECT_NO_THROW(f5->savedata());
    EXPECT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_TRUE(f5->OutcomesValid);

    t.app->Unload("Form5");
    EXPECT_EQ(t.app->Loaded<Form5>(), nullptr);
}

// Each box takes only what the type it is read into holds: the analysis can
// never meet an infinity. The lifetime is a 16-bit number of years.
TEST_F(MitigationScreen, NumberBoxesRefuseValuesTheirTypeCannotHold) {
    auto refused = [&](platform::TextBox& box, const std::string& value) {
        t.dialogs.messages.clear();
        box.setText(value);
        const bool emptied = box.empty() && t.dialogs.messages.size() == 1 &&
                             t.dialogs.messages[0].text.rfind("This number is too large", 0) == 0;
        return emptied;
    };
    EXPECT_TRUE(refused(f5->Text1[4], "1e39"));
    EXPECT_TRUE(refused(f5->Text1[1], "-4e38"));
    EXPECT_TRUE(refused(f5->Text1[3], "32768"));
    EXPECT_TRUE(refused(f5->Text1[3], "32767.5"));
    EXPECT_FALSE(refused(f5->Text1[3], "32767"));
    EXPECT_FALSE(refused(f5->Text1[6], "4294967296"));
    EXPECT_TRUE(refused(f5->Text2[30], "1e39"));
    EXPECT_TRUE(refused(f3->Text2[5], "1e39"));
    EXPECT_TRUE(refused(f3->Text1[0], "1e39"));
    EXPECT_FALSE(refused(f3->Text2[5], "3.4e38"));
}

// Lifetimes and rates whose capital recovery factor is finite give a finite
// annualized cost, and the lifetime totals use the same lifetime.
TEST_F(MitigationScreen, HugeLifetimesAndRatesGiveFiniteResults) {
    f5->Text1[1].setText("100000");
    f5->Combo1.setListIndex(1);
    for (const char* lifetime : {"10400", "32767"}) {
        f5->Text1[3].setText(lifetime);
        f5->Command1_Click(3);
        Form6* f6 = t.app->Loaded<Form6>();
        ASSERT_NE(f6, nullptr);
        EXPECT_TRUE(std::isfinite(f6->Results.annualizedCost)) << lifetime;
        for (const auto& box : f6->Text1) {
            EXPECT_EQ(box.text().find("Infinity"), std::string::npos) << lifetime << " " << box.text();
            EXPECT_EQ(box.text().find("NaN"), std::string::npos) << lifetime << " " << box.text();
        }
        f5->Show();
    }
    f5->Text1[3].setText("10400");
    f5->Command1_Click(3);
    EXPECT_EQ(t.app->form6().Text1[2].text(), " 7,000");  // the factor tends to r
    f5->Show();
    f5->Show();
    // Rates above 100 % and lifetimes below a year are refused; the boxes keep
    // the values in effect.
    f5->Text1[6].setText("4294967296");
    EXPECT_EQ(f5->Text1[6].text(), "7");
    EXPECT_EQ(t.dialogs.messages.back().text, "Discount rate (%) must be from 0 to 100.");
    f5->Text1[3].setText("-32768");
    EXPECT_EQ(f5->Text1[3].text(), "10400");
    f5->Text1[6].setText("100");
    f5->Command1_Click(3);
    EXPECT_EQ(t.app->form6().Text1[2].text(), " 100,000");  // the factor tends to r = 1
}

// Clearing a user cell brings back the default; where that pair would be
// above 100 % the clearing is refused with the sum message and the cell keeps
// its value, so the rates in effect are always the ones shown.
TEST_F(MitigationScreen, ClearingAUserCellNeverLeavesAPairAbove100) {
    ConstructionType(1);  // 164-194: default 85 % injured, 15 % dead
    SetCell(15, "70");
    SetCell(65, "30");
    t.dialogs.messages.clear();
    SetCell(15, "");
    EXPECT_EQ(Count(kSumMessage), 1);
    EXPECT_EQ(Cell(15), "70");
    EXPECT_EQ(Cell(45), "70.0");
    EXPECT_EQ(f5->InjuryOutcome.pre[5], 0.7f);

    // Too high an entry: emptied when the default fits, else back to the last
    // accepted value; one message either way.
    t.dialogs.messages.clear();
    SetCell(15, "90");
    EXPECT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_EQ(Cell(15), "70");
    SetCell(65, "");
    t.dialogs.messages.clear();
    SetCell(15, "90");
    EXPECT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_EQ(Cell(15), "");
    EXPECT_EQ(f5->InjuryOutcome.pre[5], 0.85f);
    EXPECT_EQ(f5->DeathOutcome.pre[5], 0.15f);
}

// A construction type whose default makes a user entry's pair exceed 100 %
// clears that entry with a message naming the range.
TEST_F(MitigationScreen, ConstructionTypeChangeNeverCreatesAPairAbove100) {
    ConstructionType(1);  // 119-138: default 1 % dead
    SetCell(13, "90");
    ASSERT_EQ(Cell(13), "90");
    t.dialogs.messages.clear();
    ConstructionType(3);  // 119-138: default 15 % dead
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_NE(t.dialogs.messages[0].text.find("119 - 138"), std::string::npos) << t.dialogs.messages[0].text;
    EXPECT_EQ(t.dialogs.messages[0].title, "Deaths + Injuries must be <= 100%");
    EXPECT_EQ(Cell(13), "");
    EXPECT_EQ(f5->InjuryOutcome.pre[3], 0.85f);
    EXPECT_EQ(f5->DeathOutcome.pre[3], 0.15f);
}

// A county record without a hurricane wind speed: no hurricane benefits, and
// one message in one analysis, however often the screen recalculates.
TEST_F(MitigationScreen, MissingHurricaneWindIsToldOncePerAnalysis) {
    test::ExecSql(t.dataDir, "UPDATE Counties SET Hur_wind = NULL WHERE NAME = 'Prince George''s'");
    f5->Text1[1].setText("100000");
    f5->Text1[3].setText("30");
    f5->Combo1.setListIndex(1);
    auto windMessages = [&] {
        int n = 0;
        for (const auto& m : t.dialogs.messages)
            n += m.text.find("no hurricane design wind speed") != std::string::npos;
        return n;
    };
    f5->Command1_Click(1);  // to the building screen
    ASSERT_FALSE(f5->visible());
    t.dialogs.messages.clear();
    f3->Command1_Click(3);
    ASSERT_TRUE(t.app->form6().visible());
    EXPECT_EQ(windMessages(), 1);
    EXPECT_EQ(f5->HurricaneWind, 0);
    EXPECT_EQ(t.app->form6().Results.hurricaneBenefits, 0);
    t.app->form6().Command1_Click(2);  // to the building screen and back to the analysis
    t.dialogs.messages.clear();
    t.app->form3().Command1_Click(3);
    EXPECT_EQ(windMessages(), 1);
}

}  // namespace
}  // namespace verrane
