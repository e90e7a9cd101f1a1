// The Benefit Cost Analysis screen on controlled inputs: the cost comes from
// the mitigation screen's boxes, the benefits from published values chosen
// so that every result is known exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/hazard.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/mitigation/form5.h"
#include "tests/support/test_app.h"

namespace verrane {
namespace {

using platform::kBlack;
using platform::kRed;

struct Inputs {
    std::string cost = "100000", maintenance = "0", lifetime = "50", rate = "7";
    float tornadoOccupancy = 0;            // people in hour 0; the tornado benefit in dollars
    std::string hurricaneOccupancy = "0";  // the hurricane benefit in dollars
    float deathCost = 1;
};

// One F0 tornado a year over a one-square-mile county, 320 acres disturbed:
// the building is struck with probability 1 in hour 0. Every range kills
// everybody without the shelter and nobody with it; only range 0 has a
// hurricane probability (1), so each benefit is occupancy x death cost.
struct Analysis : ::testing::Test {
    test::TestApp t;
    Form2* f2 = nullptr;
    Form3* f3 = nullptr;
    Form5* f5 = nullptr;

    void SetUp() override { f2 = &t.Choose("Oklahoma", "Oklahoma"); }

    void Prepare(const Inputs& in) {
        f3 = &t.app->form3();
        f5 = &t.app->form5();
        // Typed as a project file would put them, so no entry check interferes.
        f2->Loading = true;
        f3->Text1[0].setText("100");
        f3->Text1[1].setText("50");
        f5->Text1[1].setText(in.cost);
        f5->Text1[2].setText(in.maintenance);
        f5->Text1[3].setText(in.lifetime);
        f5->Text1[6].setText(in.rate);
        f2->Loading = false;

        f3->TornadoHourlyOccupancy = {};
        f3->TornadoHourlyOccupancy[0] = in.tornadoOccupancy;
        f3->HurricaneOccupancyList = in.hurricaneOccupancy;
        model::Outcome death, injury;
        death.cost = in.deathCost;
        death.pre.fill(1.0f);
        death.post.fill(0.0);
        f5->DeathOutcome = death;
        f5->InjuryOutcome = injury;
        f5->HurricaneWind = 90;
        f5->WindRangeThresholds = {0, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000};

        f2->TornadoCountByF = {1, 0, 0, 20, 0, 0};
        f2->AvgPathLengthByF = {};
        f2->AvgPathAreaByF = {320, 0, 0, 0, 0, 0};
        f2->HourlyFractionByF = {};
        f2->HourlyFractionByF[0][0] = 1;
        f2->RecordYears = 1;
        f2->SampleRegionArea = 1;
        f2->CountyArea = 1;
        f2->StatsPending = false;
    }

    Form6& Run(const Inputs& in) {
        Prepare(in);
        Form6& f6 = t.app->form6();
        f6.Hide();  // so that showing it activates it again
        f6.Show();
        return f6;
    }
};

TEST_F(Analysis, BenefitsBelowCostAreRedWithMinusSign) {
    Inputs in;
    in.tornadoOccupancy = 1000;
    Form6& f6 = Run(in);
    EXPECT_EQ(f6.Text1[0].text(), " 1,000");
    EXPECT_EQ(f6.Text1[1].text(), " 0");
    // 100000 over 50 years at 7 %: capital recovery factor about 0.07246.
    EXPECT_EQ(f6.Text1[2].text(), " 7,246");
    EXPECT_EQ(f6.Text1[3].text(), " -6,246");
    EXPECT_EQ(f6.Text1[3].foreColor(), kRed);
    EXPECT_EQ(f6.Text1[4].text(), " 0.14");
    EXPECT_EQ(f6.Text1[4].foreColor(), kRed);
    EXPECT_EQ(f6.Text1[5].text(), " 1,000");
    EXPECT_NEAR(f6.Results.annualizedCost, 7246.0, 1.0);
    EXPECT_EQ(f6.Results.tornadoBenefits, 1000.0);
}

TEST_F(Analysis, RatioOfExactlyOneIsBlack) {
    Inputs in;
    in.cost = "0";
    in.maintenance = "1000";
    in.lifetime = "1";
    in.tornadoOccupancy = 1000;
    Form6& f6 = Run(in);
    EXPECT_EQ(f6.Results.annualizedCost, 1000.0);
    EXPECT_EQ(f6.Text1[4].text(), " 1.00");
    EXPECT_EQ(f6.Text1[4].foreColor(), kBlack);
    EXPECT_EQ(f6.Text1[3].text(), " 0");
    EXPECT_EQ(f6.Text1[3].foreColor(), kBlack);
}

TEST_F(Analysis, LifetimeZeroGivesUndefinedRatioAndNoLifetimeTotals) {
    Inputs in;
    in.lifetime = "0";
    in.tornadoOccupancy = 3;
    Form6& f6 = Run(in);
    EXPECT_EQ(f6.Text1[2].text(), " 0");
    EXPECT_EQ(f6.Text1[4].text(), " Undefined");
    EXPECT_EQ(f6.Text1[4].foreColor(), kRed);
    EXPECT_EQ(f6.Text1[6].text(), " 0.00");
    EXPECT_EQ(f6.Text1[7].text(), " 0.00");
    EXPECT_EQ(f6.Texts[kBenefitCostRatioBox], " Undefined");
    EXPECT_GT(f6.Results.annualDeathsAvoided, 0);
}

TEST_F(Analysis, CaptionsCarryTheLifetimeAsTypedAndTotalsUseItUnrounded) {
    Inputs in;
    in.lifetime = "2.5";
    in.tornadoOccupancy = 2;
    Form6& f6 = Run(in);
    EXPECT_EQ(f6.Label2[5].caption(), "Total Lives Saved Over Project Lifetime of 2.5 years");
    EXPECT_EQ(f6.Label2[6].caption(), "Total Injuries Avoided Over Project Lifetime of 2.5 years");
    EXPECT_EQ(f6.LivesSavedCaption, f6.Label2[5].caption());
    // Two deaths avoided a year over 2.5 years; no injuries in this set-up.
    EXPECT_EQ(f6.Text1[6].text(), " 5.00");
    EXPECT_EQ(f6.Text1[7].text(), " 0.00");
    // The cost rounds 2.5 years to 2 (halves to even): 100000 x 1.07^2 x 0.07 / (1.07^2 - 1).
    const double r = 0.07f;
    const double g = std::pow(1.0 + r, 2.0);
    EXPECT_DOUBLE_EQ(f6.Results.annualizedCost, g * r * 100000.0 / (g - 1));

    in.lifetime = "50";
    Run(in);
    EXPECT_EQ(f6.Label2[5].caption(), "Total Lives Saved Over Project Lifetime of 50 years");
    EXPECT_EQ(f6.InjuriesAvoidedCaption, "Total Injuries Avoided Over Project Lifetime of 50 years");
}

TEST_F(Analysis, WholeDollarsAreGroupedAndTheTotalComesFromTheExactSum) {
    Inputs in;
    in.tornadoOccupancy = 1234567.4f;
    Form6& f6 = Run(in);
    EXPECT_EQ(f6.Text1[0].text(), " 1,234,567");

    in.tornadoOccupancy = 1.4f;
    in.hurricaneOccupancy = "1.4";
    Run(in);
    EXPECT_EQ(f6.Text1[0].text(), " 1");
    EXPECT_EQ(f6.Text1[1].text(), " 1");
    EXPECT_EQ(f6.Text1[5].text(), " 3");
    EXPECT_EQ(f6.Texts[kTotalBenefitsBox], " 3");
    EXPECT_EQ(f6.Texts[kHurricaneBenefitsBox], " 1");
}

TEST_F(Analysis, NotesAreBuiltAfreshEachTime) {
    Inputs in;
    Prepare(in);
    f5->Text2[12].setText("40");
    f5->Text2[85].setText("90");
    f2->SelectionMethod = 2;
    f2->TornadoCountByF[3] = 15;  // one short of a sufficient sample
    Form6& f6 = t.app->form6();
    f6.Show();
    EXPECT_EQ(f6.Results.userRatesNote, kUserRatesNote);
    EXPECT_EQ(f6.Results.countiesNote, kUserCountiesNote);
    EXPECT_EQ(f6.Results.sufficiencyNote, model::kInsufficientNote);

    // Activating again does not add the notes twice; emptied cells drop them.
    f5->Text2[12].setText("");
    f5->Text2[85].setText("");
    f2->SelectionMethod = 0;
    f2->TornadoCountByF[3] = 16;
    f6.Hide();
    f6.Show();
    EXPECT_EQ(f6.Results.userRatesNote, "");
    EXPECT_EQ(f6.Results.countiesNote, "");
    EXPECT_EQ(f6.Results.sufficiencyNote, "");
}

TEST_F(Analysis, ReportValuesAreKeptAndClearedOnUnload) {
    Inputs in;
    in.tornadoOccupancy = 10;
    in.hurricaneOccupancy = "5";
    Form6& f6 = Run(in);
    ASSERT_TRUE(f6.Results.tornado);
    EXPECT_EQ(f6.Results.tornado->strikeProbabilityByF[0], 1.0);
    EXPECT_EQ(f6.Results.tornado->effectiveAreaByF[0], 640.0);
    EXPECT_EQ(f6.Results.tornado->reportCountByF[3], 20.0);
    EXPECT_EQ(f6.Results.tornado->reportRecordYears, 1);
    EXPECT_EQ(f6.Results.reportHurricaneWind, 90.0);
    EXPECT_EQ(f6.Results.hurricaneRangeProbability[0], 1.0);
    // Ten deaths avoided by tornado and five by hurricane each year.
    EXPECT_DOUBLE_EQ(f6.Results.annualDeathsAvoided, 15.0);
    EXPECT_EQ(f6.Texts[kLivesSavedBox], " 750.00");
    EXPECT_EQ(f6.Texts[kTornadoBenefitsBox], " 10");
    EXPECT_EQ(f6.Texts[kNetBenefitsBox], f6.Text1[3].text());

    // A second activation starts the running totals from 0 again.
    f6.Hide();
    f6.Show();
    EXPECT_DOUBLE_EQ(f6.Results.annualDeathsAvoided, 15.0);

    f6.Form_Unload();
    EXPECT_FALSE(f6.Results.tornado);
    EXPECT_EQ(f6.Results.hurricaneRangeProbability, (std::array<double, 9>{}));
}

TEST_F(Analysis, StaleStatisticsThatCannotBeExtractedGiveNoTornadoBenefit) {
    Inputs in;
    in.tornadoOccupancy = 1000;
    in.hurricaneOccupancy = "7";
    Prepare(in);
    test::ExecSql(t.dataDir, "DROP TABLE tornado");
    f2->StatsPending = true;
    Form6& f6 = t.app->form6();
    f6.Show();
    EXPECT_EQ(f6.Text1[0].text(), " 0");
    EXPECT_EQ(f6.Text1[1].text(), " 7");
    EXPECT_EQ(f6.Text1[2].text(), " 7,246");
    EXPECT_TRUE(f6.StatsPending);
    EXPECT_FALSE(f6.Results.tornado);
    EXPECT_EQ(f6.Results.sufficiencyNote, "");
    // The progress window is gone and this screen is in front again.
    EXPECT_FALSE(t.app->IsLoaded("Form9"));
    EXPECT_EQ(t.app->front(), &f6);
}

TEST_F(Analysis, EmptyOrDamagedNumbersCountAsZeroWithOneMessage) {
    Inputs in;
    in.cost = "abc";
    in.rate = "";
    in.tornadoOccupancy = 1000;
    Prepare(in);
    f2->Loading = true;
    f3->Text1[0].setText("");
    f2->Loading = false;
    f3->HurricaneOccupancyList = "x";
    t.dialogs.messages.clear();
    Form6& f6 = t.app->form6();
    f6.Show();
    // Cost 0 at rate 0 over 50 years, no maintenance: nothing to recover.
    EXPECT_EQ(f6.Text1[2].text(), " 0");
    EXPECT_EQ(f6.Text1[4].text(), " Undefined");
    EXPECT_EQ(f6.Text1[0].text(), " 1,000");
    EXPECT_EQ(f6.Text1[1].text(), " 0");
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    const std::string& m = t.dialogs.messages[0].text;
    for (const char* field :
         {"Project Cost", "Discount Rate", "Building Longest Length", "Hurricane Shelter Occupancy"})
        EXPECT_NE(m.find(field), std::string::npos) << field << " in: " << m;
    EXPECT_EQ(m.find("Maintenance"), std::string::npos);

    // A lifetime beyond a 16-bit number of years is reported, not a crash.
    f2->Loading = true;
    f5->Text1[1].setText("100000");
    f5->Text1[3].setText("1e9");
    f2->Loading = false;
    t.dialogs.messages.clear();
    f6.Hide();
    f6.Show();
    EXPECT_EQ(f6.Text1[4].text(), " Undefined");
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_NE(t.dialogs.messages[0].text.find("Project Lifetime"), std::string::npos);
}

TEST_F(Analysis, NavigationShowsTheChosenScreen) {
    Inputs in;
    Form6& f6 = Run(in);
    EXPECT_TRUE(f6.Text1[0].locked);
    EXPECT_EQ(f6.Text1[7].backColor(), platform::kButtonFace);
    f6.Command1[0].click();
    EXPECT_FALSE(f6.visible());
    EXPECT_EQ(t.app->front(), f2);
    EXPECT_TRUE(f6.Command3.caption == "Benefit Cost Analysis");
}

}  // namespace
}  // namespace verrane
