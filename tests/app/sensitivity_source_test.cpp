// What the sensitivity window is given from the running program.
#include "app/sensitivity_source.h"

#include <gtest/gtest.h>

#include "app/project_edit.h"
#include "app/sensitivity.h"
#include "screens/analysis/form6.h"
#include "screens/project/form2.h"
#include "tests/support/test_app.h"

using namespace verrane;

// The window's figures are the sensitivity run of the project as the screens
// hold it, typed changes not yet saved included, under the project's name.
TEST(SensitivitySource, RunsTheProjectTheScreensHold) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    test::TestApp t("");
    App& app = *t.app;
    const std::string file = std::string(VERRANE_SOURCE_DATA_DIR) + "/../examples/kansas-community-shelter.tor";
    ASSERT_TRUE(OpenProjectFile(app, t.dialogs, file).ok());
    app.form2().Text1[0].setText("Renamed, not saved");
    app.form6().Show();

    const model::SensitivityResult r = CurrentSensitivity(app);
    EXPECT_EQ(r.file, app.ProjectFileName);
    EXPECT_EQ(r.buildingName, "Renamed, not saved");
    const Form6& f6 = *app.Loaded<Form6>();
    EXPECT_EQ(r.base.totalBenefits, f6.Results.totalBenefits);
    EXPECT_EQ(r.base.benefitCostRatio, f6.Results.benefitCostRatio);
    EXPECT_FALSE(r.variations.empty());
    EXPECT_EQ(r.uncertainty.draws, 10000);
    const model::SensitivityResult direct = RunSensitivity(app.form2().StoreDocument(), app.ProjectFileName);
    ASSERT_EQ(r.variations.size(), direct.variations.size());
    for (size_t i = 0; i < r.variations.size(); ++i)
        EXPECT_EQ(r.variations[i].figures.benefitCostRatio, direct.variations[i].figures.benefitCostRatio);
}
