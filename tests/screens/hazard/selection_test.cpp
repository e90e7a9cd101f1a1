// The hazard screen's county selection, radius entry and restoring of a
// stored selection, on the fixture database (no shapefiles: no map).
#include "tests/screens/hazard/hazard_fixture.h"

#include "platform/textfile.h"

namespace verrane::test {
namespace {

const char* const kSufficient =
    "Selected counties have sufficient number of tornadoes for computing hazard statistics.";
const char* const kInsufficient =
    "Selected counties do not have sufficient number of tornadoes for computing hazard statistics. Select more "
    "counties.";

struct Selection : ::testing::Test {
    HazardApp t{"select"};
    Form4& f4 = t.Open();
    void Radius(const std::string& text) {
        f4.Text1.setText(text);
        EXPECT_FALSE(f4.Text1_KeyPress(13));
    }
};

TEST_F(Selection, LoadsWithTheProjectCountyAloneAndWithoutAMap) {
    EXPECT_EQ(f4.CountyList, Fips{"40109"});
    EXPECT_EQ(f4.Label2[7].caption(), "Oklahoma");
    EXPECT_EQ(f4.Label2[19].caption(), "Oklahoma");
    EXPECT_EQ(f4.Label2[8].caption(), kInsufficient);  // 7 F3 tornadoes
    EXPECT_EQ(f4.Label2[8].foreColor(), platform::kRed);
    EXPECT_EQ(t.dialogs.beeps, 1);
    EXPECT_EQ(f4.Renderer->valueCount(), 1);
    EXPECT_EQ(f4.Renderer->symbol(0).color, platform::kGreen);
    EXPECT_EQ(f4.Label2[1].caption(),
              "The selection of at least one county is required.  Beep indicates insufficient number of counties.");
    EXPECT_EQ(f4.Label7[3].caption(), "250");
    // No shapefiles here: one clear message, and the screen works on.
    EXPECT_FALSE(f4.HasMap());
    EXPECT_EQ(t.Count("The map could not be loaded."), 1u);
    EXPECT_TRUE(f4.Text1_KeyPress('5'));
}

TEST_F(Selection, RegionByCentroidCornerAndExactDistance) {
    // A county whose centroid is 70.7 miles away and whose lower left corner
    // (30, 40) lies exactly 50 miles away; its other corners are farther.
    t.Sql("INSERT INTO cntycoor VALUES ('Oklahoma', 'Corner', '40999', 45, 55, 30, 60, 40, 70)");
    f4.Option1[0].setValue(true);
    EXPECT_TRUE(f4.Slider1.visible());
    EXPECT_FALSE(f4.Command2.visible());
    f4.Slider1.setValue(50);
    EXPECT_NE(std::find(f4.CountyList.begin(), f4.CountyList.end(), "40999"), f4.CountyList.end());
    f4.Slider1.setValue(49);
    EXPECT_EQ(std::find(f4.CountyList.begin(), f4.CountyList.end(), "40999"), f4.CountyList.end());

    // Canadian and Cleveland, by the corners of their boxes 21.2 miles away.
    f4.Slider1.setValue(30);
    EXPECT_EQ(f4.Text1.text(), "30");
    EXPECT_EQ(f4.CountyList, (Fips{"40017", "40027", "40109"}));
    EXPECT_EQ(f4.Label2[8].caption(), kSufficient);  // 5 + 4 + 7 = 16
    EXPECT_EQ(f4.Label2[8].foreColor(), platform::kBlack);
    // 45 miles: Cowley (Kansas) by the corner of its box, 44.7 miles away;
    // Kay's box overlaps the square but its nearest corner is 47.4 miles off.
    f4.Slider1.setValue(45);
    EXPECT_EQ(f4.CountyList, (Fips{"20035", "40017", "40027", "40109"}));
    ASSERT_EQ(f4.Renderer->valueCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f4.Renderer->symbol(i).color, f4.Renderer->value(i) == "40109" ? platform::kGreen : platform::kRed);
    f4.Slider1.setValue(21);
    EXPECT_EQ(f4.CountyList, Fips{"40109"});
}

TEST_F(Selection, SixteenF3TornadoesSufficeFifteenDoNot) {
    t.Sql("UPDATE tornado SET FCOUNT3 = 3, FCOUNT0 = 500 WHERE FIPS = '40027'");
    f4.Option1[0].setValue(true);
    const int beeps = t.dialogs.beeps;
    f4.Slider1.setValue(30);
    EXPECT_EQ(f4.Label2[8].caption(), kInsufficient);
    EXPECT_EQ(f4.Label2[8].foreColor(), platform::kRed);
    EXPECT_EQ(t.dialogs.beeps, beeps + 1);
    // The flag set by reading a project file skips exactly one beep.
    t.app->form2().SuppressNextBeep = true;
    f4.Slider1.setValue(31);
    EXPECT_EQ(t.dialogs.beeps, beeps + 1);
    EXPECT_FALSE(t.app->form2().SuppressNextBeep);
}

TEST_F(Selection, RadiusZeroReadsNoCoordinatesAndAMissingCountyFallsBackToItself) {
    t.Sql("DROP TABLE cntycoor");
    f4.Option1[0].setValue(true);
    Radius("0");
    EXPECT_EQ(f4.CountyList, Fips{"40109"});
    EXPECT_TRUE(t.dialogs.messages.size() == 1);  // only the map message of the load
    Radius("30");
    EXPECT_EQ(f4.CountyList, Fips{"40109"});
    EXPECT_EQ(t.Count("Only the project county is selected."), 1u);

    HazardApp other("select-missing");
    other.Sql("DELETE FROM cntycoor WHERE Fips = '40109'");
    Form4& g = other.Open();
    g.Option1[0].setValue(true);
    g.Slider1.setValue(100);
    EXPECT_EQ(g.CountyList, Fips{"40109"});
    EXPECT_EQ(other.Count("is not in the county coordinate table. Only the project county is selected."), 1u);
}

TEST_F(Selection, UnreadableTornadoRecordIsReportedNotJudged) {
    t.Sql("ALTER TABLE tornado DROP COLUMN FCOUNT3");
    const int beeps = t.dialogs.beeps;
    f4.Option1[1].setValue(true);
    EXPECT_EQ(f4.CountyList.size(), 4u);
    EXPECT_EQ(t.Count("The tornado record of the selected counties could not be read."), 1u);
    EXPECT_EQ(t.Count("FCOUNT3"), 1u);
    EXPECT_NE(f4.Label2[8].caption(), kSufficient);
    EXPECT_NE(f4.Label2[8].caption(), kInsufficient);
    EXPECT_EQ(f4.Label2[8].foreColor(), platform::kRed);
    EXPECT_EQ(t.dialogs.beeps, beeps);
}

TEST_F(Selection, RadiusTypedInTheBox) {
    f4.Option1[0].setValue(true);
    Radius("250");
    EXPECT_EQ(f4.Slider1.value(), 250);
    EXPECT_EQ(f4.CountyList, (Fips{"20035", "40017", "40027", "40071", "40109", "48097"}));
    const auto count250 = f4.CountyList;

    Radius("251");
    EXPECT_EQ(f4.Text1.text(), "250");  // the radius in effect
    EXPECT_EQ(f4.Slider1.value(), 250);
    EXPECT_EQ(f4.CountyList, count250);
    EXPECT_EQ(t.dialogs.messages.back().text, "You must enter a number less than 250.");
    EXPECT_EQ(t.dialogs.messages.back().title, " ");

    Radius("-5");
    EXPECT_EQ(f4.Text1.text(), "250");
    EXPECT_EQ(f4.Slider1.value(), 250);
    EXPECT_EQ(t.dialogs.messages.back().text, "You must enter a number from 0 to 250.");

    f4.Text1.setText("ten");
    f4.Text1_LostFocus();
    EXPECT_EQ(t.dialogs.messages.back().text, "You must enter a number for this input.");
    EXPECT_EQ(f4.Text1.text(), "0");
    EXPECT_EQ(f4.Slider1.value(), 0);
    EXPECT_EQ(f4.CountyList, Fips{"40109"});

    Radius("30.5");  // halves go to the even neighbour
    EXPECT_EQ(f4.Slider1.value(), 30);
    Radius("");
    EXPECT_EQ(f4.Text1.text(), "0");
    EXPECT_EQ(f4.Slider1.value(), 0);
    f4.Slider1.setValue(10);
    Radius("1e400");
    EXPECT_EQ(f4.Text1.text(), "0");
}

TEST_F(Selection, EntireStateInTableOrderAndUserSelectedChangesNothing) {
    f4.Option1[1].setValue(true);
    EXPECT_FALSE(f4.Slider1.visible());
    EXPECT_FALSE(f4.Command2.visible());
    EXPECT_EQ(f4.CountyList, (Fips{"40017", "40027", "40071", "40109"}));
    EXPECT_EQ(f4.Renderer->value(3), "40109");
    EXPECT_EQ(f4.Renderer->symbol(3).color, platform::kGreen);
    EXPECT_EQ(f4.Renderer->symbol(0).color, platform::kRed);
    EXPECT_EQ(f4.Label2[8].caption(), kSufficient);

    const int beeps = t.dialogs.beeps;
    const size_t messages = t.dialogs.messages.size();
    f4.Option1[2].setValue(true);
    EXPECT_TRUE(f4.Command2.visible());
    EXPECT_FALSE(f4.Text1.visible());
    EXPECT_EQ(f4.CountyList, (Fips{"40017", "40027", "40071", "40109"}));
    EXPECT_EQ(f4.Renderer->valueCount(), 4);
    EXPECT_EQ(f4.Label2[8].caption(), kSufficient);
    EXPECT_EQ(t.dialogs.beeps, beeps);
    EXPECT_EQ(t.dialogs.messages.size(), messages);

    // "Edit Counties" asks first; No stays here.
    f4.Command2.click();
    ASSERT_EQ(t.dialogs.messages.size(), messages + 1);
    const auto& q = t.dialogs.messages.back();
    EXPECT_EQ(q.title, "User-Selected Counties Warning");
    EXPECT_EQ(q.buttons, platform::Buttons::YesNo);
    EXPECT_EQ(q.text,
              "This option is generally not used unless substantial evidence merits changing the automatically "
              "selected counties.  If you choose to modify the selection, then all counties should be contiguous.  "
              "Do you wish to modify the selected counties? ");
    EXPECT_FALSE(t.app->IsLoaded("Form7"));
    EXPECT_EQ(t.app->front(), &f4);
}

// A project saved with each method, read back into a fresh program.
struct Restore : ::testing::Test {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("verrane-hazard-restore-" + std::to_string(getpid()));
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::filesystem::path Save(float method, float radius, const Fips& counties) {
        HazardApp w("restore-write");
        Form2& f2 = w.Choose("Oklahoma", "Oklahoma");
        f2.SelectionMethod = method;
        f2.SelectionRadius = radius;
        f2.SelectedCounties = counties;
        const auto file = dir / ("m" + std::to_string(static_cast<int>(method)) + ".tor");
        f2.Write_File(file);
        return file;
    }
    // Opens the file and shows the hazard screen; returns its list and the beeps.
    std::pair<Fips, int> Reopen(const std::filesystem::path& file, float* radius = nullptr) {
        HazardApp r("restore-read");
        Form2& f2 = r.Start();
        EXPECT_TRUE(f2.Read_File(file).ok());
        Form4& f4 = r.app->form4();
        const int before = r.dialogs.beeps;
        f4.Show();
        EXPECT_TRUE(f2.HazardScreenRestored);
        if (radius) *radius = static_cast<float>(f4.Slider1.value());
        auto list = f4.CountyList;
        // Only the first activation after reading restores.
        f4.CountyList = {"40109"};
        f2.Show();
        f4.Show();
        EXPECT_EQ(f4.CountyList, Fips{"40109"});
        return {list, r.dialogs.beeps - before};
    }
};

TEST_F(Restore, StoredListKeptStateAndRegionRecomputed) {
    auto [two, beeps2] = Reopen(Save(2, 0, {"40109", "48097", "40071"}));
    EXPECT_EQ(two, (Fips{"40109", "48097", "40071"}));
    EXPECT_EQ(beeps2, 0);  // insufficient, but reopening is silent

    auto [one, beeps1] = Reopen(Save(1, 0, {"40109"}));
    EXPECT_EQ(one, (Fips{"40017", "40027", "40071", "40109"}));
    EXPECT_EQ(beeps1, 0);

    float radius = -1;
    auto [zero, beeps0] = Reopen(Save(0, 30, {"40109", "48097"}), &radius);
    EXPECT_EQ(radius, 30);
    EXPECT_EQ(zero, (Fips{"40017", "40027", "40109"}));
    EXPECT_EQ(beeps0, 0);
}

}  // namespace
}  // namespace verrane::test
