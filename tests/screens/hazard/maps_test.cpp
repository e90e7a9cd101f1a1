// The hazard screen's map and the county map window: colours, zoom,
// identify and the hand-picked counties.
#include "tests/screens/hazard/hazard_fixture.h"

#include "platform/number.h"
#include "platform/refdb.h"

namespace verrane::test {
namespace {

using platform::MapPoint;
using platform::MapRect;

struct FixtureMap : ::testing::Test {
    HazardApp t{"maps", true};
    Form4& f4 = t.Open();
    platform::Color Pixel(const platform::MapControl& m, MapPoint p) { return PixelAt(m.RenderImage(), PixelOf(m, p)); }
    void Click(platform::MapControl& m, int button, MapPoint p) {
        const auto [x, y] = TwipsOf(m, p);
        m.MouseDown(button, 0, x, y);
    }
    Form7& EditCounties() {
        t.dialogs.answers.push_back(platform::Answer::Yes);
        f4.Option1[2].setValue(true);
        f4.Command2.click();
        return *t.app->Loaded<Form7>();
    }
};

TEST_F(FixtureMap, RegionColoursAndZoomToTheStatesInvolved) {
    ASSERT_TRUE(f4.HasMap());
    EXPECT_EQ(t.Count("map"), 0u);
    EXPECT_EQ(f4.StateLinesLayer->symbol().color, platform::kBlue);
    EXPECT_EQ(f4.StateLinesLayer->symbol().size, 2);
    EXPECT_EQ(f4.StatesLayer->symbol().style, 1);
    EXPECT_EQ(f4.CountiesLayer->renderer(), f4.Renderer);
    // Oklahoma alone, found by name, scaled by 1.1 about its centre.
    ExpectNear(f4.Map1.extent(), MapRect{-110, 110, -54.5, 44.5});

    f4.Option1[0].setValue(true);
    f4.Slider1.setValue(30);
    ExpectNear(f4.Map1.extent(), MapRect{-110, 110, -54.5, 44.5});
    const auto neutral = f4.CountiesLayer->symbol().color;
    EXPECT_EQ(Pixel(f4.Map1, {0, 0}), platform::kGreen);
    EXPECT_EQ(Pixel(f4.Map1, {-30, 0}), platform::kRed);
    EXPECT_EQ(Pixel(f4.Map1, {0, 60}), neutral);  // Kay

    // 45 miles reaches Cowley, Kansas: the map shows Kansas and Oklahoma.
    f4.Slider1.setValue(45);
    ExpectNear(f4.Map1.extent(), MapRect{-110, 110, -58.5, 128.5});
    EXPECT_EQ(Pixel(f4.Map1, {0, 78}), platform::kRed);  // Cowley's rim outside Kay

    // Entire state: every Oklahoma county red but the project county.
    f4.Option1[1].setValue(true);
    EXPECT_EQ(Pixel(f4.Map1, {0, 60}), platform::kRed);
    EXPECT_EQ(Pixel(f4.Map1, {0, 0}), platform::kGreen);
}

TEST_F(FixtureMap, RightClickNamesTheCountyOrAsksForOne) {
    Click(f4.Map1, 2, {-30, 5});
    ASSERT_FALSE(t.dialogs.messages.empty());
    EXPECT_EQ(t.dialogs.messages.back().text, "County Name = Canadian");
    EXPECT_EQ(t.dialogs.messages.back().title, "County Identify");
    Click(f4.Map1, 2, {90, 30});  // inside Oklahoma, outside every county
    EXPECT_EQ(t.dialogs.messages.back().text, "You must point to a county.");
    EXPECT_EQ(t.dialogs.messages.back().icon, platform::Icon::Exclamation);
    const size_t n = t.dialogs.messages.size();
    Click(f4.Map1, 1, {-30, 5});  // the left button does nothing here
    EXPECT_EQ(t.dialogs.messages.size(), n);
}

TEST_F(FixtureMap, PickingCountiesOnTheMap) {
    Form7& f7 = EditCounties();
    EXPECT_EQ(t.app->front(), &f7);
    EXPECT_FALSE(f4.visible());
    EXPECT_EQ(f7.MapCountyList, Fips{"40109"});
    EXPECT_EQ(f7.Map1.layers(), f4.Map1.layers());  // the same layer objects
    EXPECT_EQ(f4.CountiesLayer->renderer(), f7.Renderer);
    EXPECT_EQ(f7.Label2[12].caption(),
              "Selected counties do not have sufficient number of tornadoes for computing hazard statistics. Select "
              "more counties.");
    int beeps = t.dialogs.beeps;

    Click(f7.Map1, 1, {-30, 0});  // Canadian: 12 F3
    Click(f7.Map1, 1, {0, -30});  // Cleveland: 16
    EXPECT_EQ(f7.MapCountyList, (Fips{"40109", "40017", "40027"}));
    EXPECT_EQ(f7.Label2[12].foreColor(), platform::kBlack);
    EXPECT_EQ(t.dialogs.beeps, beeps + 1);  // after Canadian only
    Click(f7.Map1, 1, {-30, 0});            // removed again, back to the layer's colour
    EXPECT_EQ(f7.MapCountyList, (Fips{"40109", "40027"}));
    EXPECT_EQ(Pixel(f7.Map1, {-30, 0}), f4.CountiesLayer->symbol().color);
    EXPECT_EQ(t.dialogs.beeps, beeps + 2);  // Addem_Up2 beeps on every insufficient test

    const size_t n = t.dialogs.messages.size();
    Click(f7.Map1, 1, {0, 0});
    EXPECT_EQ(t.dialogs.messages.size(), n + 1);
    EXPECT_EQ(t.dialogs.messages.back().text, "This is the project county and can not be removed.");
    EXPECT_EQ(t.dialogs.messages.back().title, " ");
    EXPECT_EQ(f7.MapCountyList, (Fips{"40109", "40027"}));
    Click(f7.Map1, 1, {90, 30});
    EXPECT_EQ(t.dialogs.messages.back().text, "You must point to a county.");
    EXPECT_EQ(t.dialogs.messages.back().title, "");
    Click(f7.Map1, 2, {0, -30});
    EXPECT_EQ(t.dialogs.messages.back().text, "County Name = Cleveland");

    // A Texas county widens the map to Texas and Oklahoma.
    Click(f7.Map1, 1, {0, -150});
    ExpectNear(f7.Map1.extent(), MapRect{-100, 100, -200, 40}.ScaledAboutCentre(1.1));

    beeps = t.dialogs.beeps;
    f7.Command1[1].click();  // Reset
    EXPECT_EQ(f7.MapCountyList, Fips{"40109"});
    EXPECT_EQ(f7.Renderer->valueCount(), 1);
    EXPECT_EQ(f7.Label2[12].foreColor(), platform::kRed);
    EXPECT_EQ(t.dialogs.beeps, beeps + 1);
}

TEST_F(FixtureMap, CancelLeavesTheHazardScreenAsItWas) {
    f4.Option1[1].setValue(true);
    const auto list = f4.CountyList;
    const auto caption = f4.Label2[8].caption();
    const auto renderer = f4.Renderer;
    Form7& f7 = EditCounties();
    Click(f7.Map1, 1, {0, 0 - 150});
    Click(f7.Map1, 1, {-30, 0});
    f7.Command1[2].click();
    EXPECT_FALSE(t.app->IsLoaded("Form7"));
    EXPECT_EQ(t.app->front(), &f4);
    EXPECT_EQ(f4.CountyList, list);
    EXPECT_EQ(f4.Label2[8].caption(), caption);
    EXPECT_EQ(f4.CountiesLayer->renderer(), renderer);
    EXPECT_EQ(Pixel(f4.Map1, {-30, 0}), platform::kRed);
    ExpectNear(f4.Map1.extent(), MapRect{-110, 110, -54.5, 44.5});
}

TEST_F(FixtureMap, DoneHandsTheListBack) {
    Form7& f7 = EditCounties();
    Click(f7.Map1, 1, {-30, 0});
    Click(f7.Map1, 1, {0, -30});
    f7.Command1[0].click();
    EXPECT_FALSE(t.app->IsLoaded("Form7"));
    EXPECT_EQ(t.app->front(), &f4);
    EXPECT_EQ(f4.CountyList, (Fips{"40109", "40017", "40027"}));
    EXPECT_TRUE(f4.Option1[2].value());
    EXPECT_TRUE(f4.Command2.visible());
    EXPECT_EQ(f4.Label2[8].caption(),
              "Selected counties have sufficient number of tornadoes for computing hazard statistics.");
    EXPECT_EQ(f4.Label2[8].foreColor(), platform::kBlack);
    EXPECT_EQ(Pixel(f4.Map1, {0, -30}), platform::kRed);
    f4.Save_Counties();
    EXPECT_EQ(t.app->form2().SelectionMethod, 2);
    EXPECT_EQ(t.app->form2().SelectedCounties, f4.CountyList);
}

// The shipped reference data, when it is there.
struct ShippedData : ::testing::Test {
    void SetUp() override {
        if (!TestApp::HaveShippedData() ||
            !std::filesystem::exists(std::filesystem::path(VERRANE_SOURCE_DATA_DIR) / "Counties.shp"))
            GTEST_SKIP() << "no shipped data";
    }
};

TEST_F(ShippedData, EntireStateAndAWideRegion) {
    TestApp t("");
    t.Choose("Kansas", "Reno");
    Form4& f4 = t.app->form4();
    f4.Show();
    ASSERT_TRUE(f4.HasMap());
    f4.Option1[1].setValue(true);
    Fips kansas;
    {
        auto db = platform::Database::Open(t.app->ReferenceDatabase());
        auto rs = db.OpenRecordset("Counties", platform::Query::Where({{"STATE_NAME", "Kansas"}}));
        for (; !rs.eof(); rs.MoveNext()) kansas.push_back(rs.Field("FIPS").asText());
    }
    EXPECT_EQ(kansas.size(), 105u);
    EXPECT_EQ(f4.CountyList, kansas);
    EXPECT_EQ(f4.Label2[8].foreColor(), platform::kBlack);

    // Reno green, Finney red, Kay (Oklahoma) neutral, at a point inside each.
    const QImage img = f4.Map1.RenderImage();
    auto inside = [&](const std::string& fips) {
        const auto p = InsideCounty(f4.Map1, *f4.CountiesLayer, fips);
        EXPECT_TRUE(p) << fips;
        return p ? PixelAt(img, PixelOf(f4.Map1, *p)) : platform::Color{-1, -1, -1};
    };
    EXPECT_EQ(inside("20155"), platform::kGreen);
    EXPECT_EQ(inside("20055"), platform::kRed);
    EXPECT_EQ(inside("40071"), f4.CountiesLayer->symbol().color);
    // Kansas alone, not Arkansas, whose name holds Kansas's.
    const MapRect kansasState = f4.StatesLayer->extentOf(f4.StatesLayer->SearchExpression("STATE_NAME = 'Kansas'"));
    ExpectNear(f4.Map1.extent(), kansasState.ScaledAboutCentre(1.1));

    // Right click in the middle of Reno names it (a large control, so the
    // 200-twip tolerance reaches no neighbour).
    f4.Map1.SetControlSize(1920, 1600);
    const auto reno = InsideCounty(f4.Map1, *f4.CountiesLayer, "20155", 200);
    ASSERT_TRUE(reno);
    const auto [x, y] = TwipsOf(f4.Map1, *reno);
    f4.Map1.MouseDown(2, 0, x, y);
    EXPECT_EQ(t.dialogs.messages.back().text, "County Name = Reno");

    // 250 miles crosses into the neighbouring states; the map shows them all.
    f4.Option1[0].setValue(true);
    f4.Slider1.setValue(250);
    std::vector<int> states;
    for (const auto& c : f4.CountyList) {
        const int s = std::stoi(c.substr(0, 2));
        if (std::find(states.begin(), states.end(), s) == states.end()) states.push_back(s);
    }
    EXPECT_GE(states.size(), 3u);
    MapRect all = f4.StatesLayer->extentOf(f4.StatesLayer->SearchExpression("STATE_NAME = 'Kansas'"));
    for (int s : states) {
        const auto rec = f4.StatesLayer->SearchExpression("STATE_FIPS = '" + platform::FormatNumber(s, "00") + "'");
        all = MapRect::Union(all, f4.StatesLayer->extentOf(rec));
    }
    ExpectNear(f4.Map1.extent(), all.ScaledAboutCentre(1.1));
}

TEST_F(ShippedData, SelectionForTheCommandLine) {
    TestApp t("");
    Form2& f2 = t.app->form2();
    ASSERT_TRUE(f2.Combo3.selectText("Texas", 1));
    ASSERT_TRUE(f2.Combo2.selectText("Travis", 1));
    EXPECT_TRUE(DriveCountySelection(t.app->form4(), true, std::nullopt));
    EXPECT_EQ(t.app->form4().CountyList.size(), 254u);
    EXPECT_EQ(t.app->form4().Label2[8].caption(),
              "Selected counties have sufficient number of tornadoes for computing hazard statistics.");
    t.app->Unload<Form4>();
    ASSERT_TRUE(f2.Combo3.selectText("Oklahoma", 1));
    ASSERT_TRUE(f2.Combo2.selectText("Oklahoma", 1));
    Form4& f4 = t.app->form4();
    EXPECT_TRUE(DriveCountySelection(f4, false, "50"));
    EXPECT_GT(f4.CountyList.size(), 5u);
    EXPECT_EQ(f2.SelectedCounties, f4.CountyList);
    EXPECT_EQ(f2.SelectionMethod, 0);
    // A radius the screen refuses is told (choosing the option again left
    // the radius at 0); a fractional one is taken in whole miles.
    const auto region = f4.CountyList;
    EXPECT_FALSE(DriveCountySelection(f4, false, "251"));
    EXPECT_EQ(f4.Text1.text(), "0");
    EXPECT_TRUE(DriveCountySelection(f4, false, "49.5"));
    EXPECT_EQ(f4.Slider1.value(), 50);  // halves to even
    EXPECT_EQ(f2.SelectedCounties, region);
}

}  // namespace
}  // namespace verrane::test
