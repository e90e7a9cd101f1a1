// The screening both the command line and the window run: its progress
// report, cancelling it, and telling which county a pixel of its map shows.
#include "app/screening.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <algorithm>
#include <set>
#include <thread>

#include "app/project_edit.h"
#include "platform/paths.h"
#include "screens/project/form2.h"
#include "tests/support/test_app.h"

using namespace verrane;

namespace {

project::ProjectDocument Template(const char* example) {
    test::TestApp t("");
    const std::string file = std::string(VERRANE_SOURCE_DATA_DIR) + "/../examples/" + example;
    EXPECT_TRUE(OpenProjectFile(*t.app, t.dialogs, file).ok());
    return t.app->form2().StoreDocument();
}

struct Screened {
    std::vector<screening::ScreenRow> rows;
    std::vector<screening::CountyRun> runs;
};

Screened ScreenStates(const project::ProjectDocument& tmpl, const std::vector<std::string>& states,
                      const screening::Progress& progress = {}) {
    const auto reference = platform::ReferenceData::InMemory(platform::ReferenceDatabasePath());
    Screened s;
    s.runs = screening::ScreenAll(tmpl, {}, screening::Targets(reference, states), reference, s.rows, progress);
    return s;
}

}  // namespace

// The progress report counts up to every county on the calling thread, and
// the rows are those of a run without it.
TEST(Screening, ProgressCountsEveryCountyAndChangesNoRow) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    const project::ProjectDocument tmpl = Template("oklahoma-school-gym.tor");
    const Screened plain = ScreenStates(tmpl, {"Kansas"});
    ASSERT_EQ(plain.rows.size(), 105u);

    const std::thread::id caller = std::this_thread::get_id();
    std::vector<size_t> told;
    const Screened reported = ScreenStates(tmpl, {"Kansas"}, [&](size_t done, size_t total) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        EXPECT_EQ(total, 105u);
        told.push_back(done);
        return true;
    });
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_EQ(told.back(), 105u);
    ASSERT_EQ(reported.rows.size(), plain.rows.size());
    for (size_t i = 0; i < plain.rows.size(); ++i) {
        EXPECT_EQ(reported.rows[i].fips, plain.rows[i].fips);
        EXPECT_EQ(screening::ScreenCsvLine(reported.rows[i]), screening::ScreenCsvLine(plain.rows[i]));
        EXPECT_EQ(reported.runs[i].outcome, plain.runs[i].outcome);
    }
}

// A cancelled run gives no rows at all, whether it is cancelled at once or
// part way through.
TEST(Screening, ACancelledRunHasNoRows) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    const project::ProjectDocument tmpl = Template("oklahoma-school-gym.tor");
    const Screened atOnce = ScreenStates(tmpl, {"Texas"}, [](size_t, size_t) { return false; });
    EXPECT_TRUE(atOnce.rows.empty());
    EXPECT_TRUE(atOnce.runs.empty());

    size_t seen = 0;
    const Screened partWay = ScreenStates(tmpl, {"Texas", "Kansas"}, [&seen](size_t done, size_t) {
        seen = done;
        return done == 0;
    });
    EXPECT_TRUE(partWay.rows.empty());
    EXPECT_TRUE(partWay.runs.empty());
    EXPECT_LT(seen, 254u + 105u);
}

// Words the window and the command line share.
TEST(Screening, SaysWhyAProjectCannotBeScreenedAndHowEachRegionWasChosen) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    project::ProjectDocument tmpl = Template("oklahoma-school-gym.tor");
    EXPECT_EQ(screening::CannotScreenReason(tmpl), "");
    EXPECT_EQ(screening::RegionText({}, tmpl), "counties within 50 miles");
    EXPECT_EQ(screening::RegionText({false, 25}, tmpl), "counties within 25 miles");
    EXPECT_EQ(screening::RegionText({true, std::nullopt}, tmpl), "entire state");
    // Its own county is not needed: each county takes its place.
    tmpl.stateName.clear();
    tmpl.countyName.clear();
    EXPECT_EQ(screening::CannotScreenReason(tmpl), "");
    tmpl.building->length.clear();
    const std::string reason = screening::CannotScreenReason(tmpl);
    EXPECT_NE(reason.find("cannot be screened"), std::string::npos) << reason;
    EXPECT_NE(reason.find("[BuildingLength]"), std::string::npos) << reason;
    EXPECT_EQ(reason.find("State"), std::string::npos) << reason;
}

// Each screened county's pixels on the map tell its code, and its drawn
// bounds hold them.
TEST(Screening, TheMapTellsWhichCountyAPixelShows) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    static int argc = 1;
    static char arg0[] = "app_tests";
    static char* argv[] = {arg0, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
    const Screened s = ScreenStates(Template("oklahoma-school-gym.tor"), {"Rhode Island"});
    ASSERT_EQ(s.rows.size(), 5u);
    std::string error;
    const auto map = screening::ScreenMap::Draw(s.rows, "Title", "Subtitle", error);
    ASSERT_NE(map, nullptr) << error;
    std::set<std::string> found;
    for (const screening::ScreenRow& row : s.rows) {
        const QRect bounds = map->CountyBounds(row.fips);
        ASSERT_FALSE(bounds.isEmpty()) << row.county;
        int inside = 0;
        for (int y = bounds.top(); y <= bounds.bottom(); y += 2)
            for (int x = bounds.left(); x <= bounds.right(); x += 2) {
                const std::string fips = map->FipsAt({x, y});
                if (fips == row.fips) ++inside;
                found.insert(fips);
            }
        EXPECT_GT(inside, 20) << row.county;
        // Its outline lies within its bounds and holds its pixels.
        const QPainterPath outline = map->CountyOutline(row.fips);
        EXPECT_TRUE(QRectF(bounds).adjusted(-1, -1, 1, 1).contains(outline.boundingRect())) << row.county;
        EXPECT_GT(outline.boundingRect().width(), bounds.width() / 2.0) << row.county;
    }
    // The title, the legend and the sea are no county.
    EXPECT_EQ(map->FipsAt({5, 5}), "");
    EXPECT_EQ(map->FipsAt({map->image().width() - 20, map->image().height() - 20}), "");
    EXPECT_EQ(map->CountyBounds("99999"), QRect());
    for (const screening::ScreenRow& row : s.rows) EXPECT_TRUE(found.count(row.fips)) << row.county;
}
