// The extraction of the tornado statistics of the selected counties.
#include "tests/screens/hazard/hazard_fixture.h"

namespace verrane::test {
namespace {

struct Extraction : ::testing::Test {
    HazardApp t{"extract"};
    Form2& f2 = t.Choose("Oklahoma", "Oklahoma");

    // Runs the extraction as the hazard screen does and records the bar.
    bool Extract(std::vector<double>* progress = nullptr) {
        Form9& f9 = t.app->form9();
        if (progress) f9.ProgressBar1.onViewUpdate = [&] { progress->push_back(f9.ProgressBar1.value()); };
        f9.Show();
        const bool ok = f9.Get_Data();
        f9.Hide();
        t.app->Unload("Form9");
        return ok;
    }
};

TEST_F(Extraction, OneCountyIsItsOwnRow) {
    f2.SelectedCounties = {"40109"};
    ASSERT_TRUE(f2.StatsPending);
    ASSERT_TRUE(Extract());
    const double counts[6] = {20, 10, 6, 7, 1, 0};
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(f2.TornadoCountByF[f], counts[f]) << f;
        EXPECT_DOUBLE_EQ(f2.AvgPathLengthByF[f], counts[f] ? 5280.0 * (f + 1) : 0) << f;
        EXPECT_DOUBLE_EQ(f2.AvgPathAreaByF[f], counts[f] ? 10.0 * (f + 1) : 0) << f;
        for (int h = 0; h < 24; ++h) EXPECT_EQ(f2.HourlyFractionByF[f][h], h == 18 && counts[f] ? 1.0 : 0.0);
    }
    EXPECT_EQ(f2.RecordYears, 73);
    EXPECT_DOUBLE_EQ(f2.SampleRegionArea, 718);
    EXPECT_EQ(f2.CountyArea, 718.0f);
    EXPECT_FALSE(f2.StatsPending);
    EXPECT_TRUE(t.dialogs.messages.empty());
}

TEST_F(Extraction, ProgressRunsThroughBothTables) {
    f2.SelectedCounties = {"40109", "40027"};
    std::vector<double> bar;
    ASSERT_TRUE(Extract(&bar));
    EXPECT_EQ(bar, (std::vector<double>{40, 70, 80, 90, 100}));  // from 0: two tornado rows, two county rows
}

TEST_F(Extraction, MissingLengthAddsToTheCountOnly) {
    t.Sql("UPDATE tornado SET FLENFT2 = -9, FCOUNT2 = 4 WHERE FIPS = '40109'");
    t.Sql("UPDATE tornado SET RYEARS = 50 WHERE FIPS = '40109'");
    f2.SelectedCounties = {"40109", "40027"};
    ASSERT_TRUE(Extract());
    EXPECT_EQ(f2.TornadoCountByF[2], 10);
    EXPECT_DOUBLE_EQ(f2.AvgPathLengthByF[2], 6 * 15840.0 / 10);  // divided by the full count
    EXPECT_DOUBLE_EQ(f2.AvgPathAreaByF[2], (4 * 30.0 + 6 * 30.0) / 10);
    EXPECT_EQ(f2.RecordYears, 73);  // first matching row in table order
    EXPECT_DOUBLE_EQ(f2.SampleRegionArea, 718 + 558);
}

TEST_F(Extraction, NoTornadoesNeedsNoCountyTable) {
    t.Sql("UPDATE tornado SET FCOUNT0 = 0, FCOUNT1 = 0, FCOUNT2 = 0, FCOUNT3 = 0, FCOUNT4 = 0, Fcnt0hr3 = 2");
    t.Sql("ALTER TABLE Counties RENAME TO Gone");
    f2.SelectedCounties = {"40109"};
    f2.SampleRegionArea = 5;
    ASSERT_TRUE(Extract());
    for (int f = 0; f < 6; ++f) EXPECT_EQ(f2.TornadoCountByF[f], 0);
    EXPECT_EQ(f2.SampleRegionArea, 0);
    EXPECT_EQ(f2.CountyArea, 0);
    EXPECT_EQ(f2.HourlyFractionByF[0][3], 2);  // the raw sum, not a fraction
    EXPECT_EQ(f2.HourlyFractionByF[0][18], 20);
    EXPECT_FALSE(f2.StatsPending);
}

TEST_F(Extraction, CountyAreaIsThatOfTheProjectCountyNotOfTheSameCodeElsewhere) {
    // A Kansas county with the project county's code 109, read after it.
    t.Sql(
        "INSERT INTO Counties SELECT 'Kansas', 'Logan', 20, 109, '20109', 1073, Time_Zones, Daylitsave, Hur_wind "
        "FROM Counties WHERE FIPS = '40109'");
    t.Sql(
        "CREATE TEMP TABLE t AS SELECT * FROM tornado WHERE FIPS = '40109'; UPDATE t SET FIPS = '20109'; "
        "INSERT INTO tornado SELECT * FROM t");
    f2.SelectedCounties = {"40109", "20109"};
    ASSERT_TRUE(Extract());
    EXPECT_EQ(f2.CountyArea, 718.0f);
    EXPECT_DOUBLE_EQ(f2.SampleRegionArea, 718 + 1073);
}

TEST_F(Extraction, DatabaseFailureKeepsThePreviousStatistics) {
    f2.SelectedCounties = {"40109"};
    f2.TornadoCountByF = {1, 2, 3, 4, 5, 6};
    f2.RecordYears = 9;
    f2.CountyArea = 3;
    t.Sql("ALTER TABLE tornado DROP COLUMN FAC4");
    EXPECT_FALSE(Extract());
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    const std::string& text = t.dialogs.messages[0].text;
    EXPECT_NE(text.find("verrane.sqlite"), std::string::npos) << text;
    EXPECT_NE(text.find("FAC4"), std::string::npos) << text;
    EXPECT_EQ(f2.TornadoCountByF, (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(f2.RecordYears, 9);
    EXPECT_EQ(f2.CountyArea, 3.0f);
    EXPECT_TRUE(f2.StatsPending);

    // A record without its years, and a missing file, are reported the same way.
    t.Sql("UPDATE tornado SET RYEARS = NULL");
    EXPECT_FALSE(Extract());
    std::filesystem::remove(t.dataDir / "verrane.sqlite");
    EXPECT_FALSE(Extract());
    ASSERT_EQ(t.dialogs.messages.size(), 3u);
    EXPECT_NE(t.dialogs.messages[2].text.find("was not found"), std::string::npos);
    EXPECT_EQ(f2.RecordYears, 9);
    EXPECT_TRUE(f2.StatsPending);
}

TEST_F(Extraction, LeavingTheHazardScreenStoresAndExtractsTheShownCounties) {
    Form4& f4 = t.app->form4();
    f4.Show();
    f4.Option1[1].setValue(true);  // the whole of Oklahoma
    f4.Command1[0].click();
    EXPECT_EQ(t.app->front(), &f2);
    EXPECT_FALSE(f4.visible());
    EXPECT_FALSE(t.app->IsLoaded("Form9"));
    EXPECT_EQ(f2.SelectedCounties, f4.CountyList);
    EXPECT_EQ(f2.SelectionMethod, 1);
    EXPECT_EQ(f2.TornadoCountByF[3], 5 + 4 + 3 + 7);
    EXPECT_DOUBLE_EQ(f2.SampleRegionArea, 905 + 558 + 945 + 718);
    EXPECT_FALSE(f2.StatsPending);
}

TEST_F(Extraction, BenefitCostAnalysisRunsBothSavedataFirst) {
    Form4& f4 = t.app->form4();
    f4.Show();
    ASSERT_FALSE(t.app->IsLoaded("Form3"));
    f4.Command1_Click(3);
    ASSERT_TRUE(t.app->IsLoaded("Form3"));
    ASSERT_TRUE(t.app->IsLoaded("Form5"));
    EXPECT_TRUE(t.app->Loaded<Form3>()->Published);
    EXPECT_TRUE(t.app->Loaded<Form5>()->OutcomesValid);
    EXPECT_EQ(t.app->front(), t.app->Loaded<Form6>());
    EXPECT_FALSE(f4.visible());
    EXPECT_EQ(f2.SelectedCounties, Fips{"40109"});
}

}  // namespace
}  // namespace verrane::test
