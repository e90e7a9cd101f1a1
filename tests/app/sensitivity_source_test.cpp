// What the sensitivity window is given from the running program.
#include "app/sensitivity_source.h"

#include <gtest/gtest.h>

#include "screens/analysis/form6.h"
#include "tests/support/test_app.h"

using namespace verrane;

TEST(SensitivitySource, TheResultsScreensFiguresTheFileAndTheBuilding) {
    test::TestApp t("sensitivity-source");
    Form2& f2 = t.Choose("Oklahoma", "Kay");
    f2.Text1[0].setText("Kay County Shelter");
    Form6& f6 = t.app->form6();
    f6.TornadoBenefits = 1000.25;
    f6.HurricaneBenefits = 250.5;
    f6.AnnualizedCost = 500.5;
    auto r = CurrentSensitivity(*t.app);
    EXPECT_EQ(r.buildingName, "Kay County Shelter");
    EXPECT_EQ(r.file, "");  // not saved yet
    EXPECT_DOUBLE_EQ(r.base.totalBenefits, 1250.75);
    EXPECT_DOUBLE_EQ(r.base.netBenefits, 750.25);
    EXPECT_DOUBLE_EQ(r.base.annualizedCost, 500.5);
    ASSERT_TRUE(r.base.benefitCostRatio.has_value());
    EXPECT_DOUBLE_EQ(*r.base.benefitCostRatio, 1250.75 / 500.5);
    // Nothing was drawn, so the document shows no interval rather than zeros.
    EXPECT_EQ(r.uncertainty.draws, 0);
    EXPECT_TRUE(r.variations.empty());

    t.app->ProjectFileName = "kay.tor";
    t.app->HasFileName = true;
    f6.AnnualizedCost = 0;  // as the screen's " Undefined"
    r = CurrentSensitivity(*t.app);
    EXPECT_EQ(r.file, "kay.tor");
    EXPECT_FALSE(r.base.benefitCostRatio.has_value());
    EXPECT_DOUBLE_EQ(r.base.netBenefits, 1250.75);
}
