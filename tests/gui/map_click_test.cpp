// Clicks every county of a state on the real map widgets, at the windows'
// own sizes: a right click on the hazard screen's map must name the county
// under the pointer, a left click on the county map window must add it, and
// a click on the project county there must only say that it stays.
//
// The point clicked in each county is the centre of its largest inscribed
// circle, worked out by GEOS independently of the map's own search. A county
// none of whose pixels has its centre inside the county (too small for a
// pixel at that scale) is excused and named in the output.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QTest>

#include <geos_c.h>

#include "app/app.h"
#include "gui/window_manager.h"
#include "screens/hazard/form4.h"
#include "screens/hazard/form7.h"
#include "tests/support/test_app.h"

using namespace verrane;
using platform::MapLayer;
using platform::MapPoint;

namespace {

int argc = 1;
char arg0[] = "map_click";
char* argv[] = {arg0, nullptr};
void EnsureQt() {
    if (!QApplication::instance()) new QApplication(argc, argv);  // lives for the test process
}

// The visible map widget of a window, found by name whatever the layout.
QWidget* MapWidget(QWidget* window) {
    if (!window) return nullptr;
    for (QWidget* w : window->findChildren<QWidget*>("Map1"))
        if (w->isVisible()) return w;
    return nullptr;
}

struct Geos {
    GEOSContextHandle_t h = GEOS_init_r();
    Geos() {
        GEOSContext_setErrorMessageHandler_r(
            h, [](const char* message, void*) { ADD_FAILURE() << "GEOS: " << message; }, nullptr);
    }
    ~Geos() { GEOS_finish_r(h); }

    struct Geometry {
        GEOSContextHandle_t h;
        GEOSGeometry* g;
        ~Geometry() {
            if (g) GEOSGeom_destroy_r(h, g);
        }
    };

    // Two geometries into one (union or difference); both are consumed.
    GEOSGeometry* Combine(GEOSGeometry* a, GEOSGeometry* b, bool subtract) const {
        if (!a) return b;
        if (!b) return a;
        GEOSGeometry* r = subtract ? GEOSDifference_r(h, a, b) : GEOSUnion_r(h, a, b);
        GEOSGeom_destroy_r(h, a);
        GEOSGeom_destroy_r(h, b);
        return r;
    }

    // The shape's area: clockwise rings are land, anticlockwise rings holes.
    GEOSGeometry* Area(const MapLayer::Shape& s) const {
        GEOSGeometry *land = nullptr, *holes = nullptr;
        for (const auto& ring : s.parts) {
            std::vector<MapPoint> pts = ring;
            if (pts.size() < 3) continue;
            if (pts.front().x != pts.back().x || pts.front().y != pts.back().y) pts.push_back(pts.front());
            double twiceArea = 0;
            GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, static_cast<unsigned>(pts.size()), 2);
            for (size_t i = 0; i < pts.size(); ++i) {
                GEOSCoordSeq_setXY_r(h, seq, static_cast<unsigned>(i), pts[i].x, pts[i].y);
                if (i) twiceArea += pts[i - 1].x * pts[i].y - pts[i].x * pts[i - 1].y;
            }
            GEOSGeometry* poly = GEOSGeom_createPolygon_r(h, GEOSGeom_createLinearRing_r(h, seq), nullptr, 0);
            if (GEOSisValid_r(h, poly) != 1) {
                // A ring that crosses itself: its areas, without the collapsed lines.
                GEOSMakeValidParams* params = GEOSMakeValidParams_create_r(h);
                GEOSMakeValidParams_setMethod_r(h, params, GEOS_MAKE_VALID_STRUCTURE);
                GEOSMakeValidParams_setKeepCollapsed_r(h, params, 0);
                GEOSGeometry* valid = GEOSMakeValidWithParams_r(h, poly, params);
                GEOSMakeValidParams_destroy_r(h, params);
                GEOSGeom_destroy_r(h, poly);
                poly = valid;
            }
            if (twiceArea < 0)
                land = Combine(land, poly, false);
            else
                holes = Combine(holes, poly, false);
        }
        return Combine(land, holes, true);
    }

    bool Contains(const GEOSGeometry* area, MapPoint p) const {
        Geometry pt{h, GEOSGeom_createPointFromXY_r(h, p.x, p.y)};
        return GEOSContains_r(h, area, pt.g) == 1;
    }

    // Centre and radius of the largest circle inside the area.
    std::pair<MapPoint, double> InscribedCircle(const GEOSGeometry* area, double tolerance) const {
        Geometry line{h, GEOSMaximumInscribedCircle_r(h, area, tolerance)};
        double x = 0, y = 0, length = 0;
        const GEOSCoordSequence* seq = line.g ? GEOSGeom_getCoordSeq_r(h, line.g) : nullptr;
        EXPECT_NE(seq, nullptr) << "GEOS found no inscribed circle";
        if (!seq) return {{x, y}, 0};
        GEOSCoordSeq_getXY_r(h, seq, 0, &x, &y);
        GEOSLength_r(h, line.g, &length);
        return {{x, y}, length};
    }
};

// Pixels of the map control as it is drawn on the widget.
struct Pixels {
    platform::MapRect v;
    double scale;
    explicit Pixels(const platform::MapControl& m) : v(m.visibleExtent()), scale(m.widthPixels() / v.width()) {}
    QPoint Of(MapPoint p) const {
        return {int(std::floor((p.x - v.left) * scale)), int(std::floor((v.top - p.y) * scale))};
    }
    MapPoint CentreOf(QPoint px) const { return {v.left + (px.x() + 0.5) / scale, v.top - (px.y() + 0.5) / scale}; }
};

struct County {
    std::string fips, name;
    QPoint pixel;
};

// Where to click each county of the state: the pixel at the centre of its
// largest inscribed circle, or the nearest pixel around it whose centre lies
// in the county. Counties with no such pixel go to excused.
std::vector<County> CountiesToClick(const MapLayer& counties, const platform::MapControl& map, const std::string& state,
                                    std::vector<std::string>& excused) {
    Geos geos;
    const Pixels px(map);
    std::vector<County> out;
    for (int r : counties.SearchExpression("STATE_NAME = '" + state + "'")) {
        const County c{counties.attribute(r, "FIPS"), counties.attribute(r, "NAME"), {}};
        Geos::Geometry area{geos.h, geos.Area(counties.shape(r))};
        const auto [centre, radius] = geos.InscribedCircle(area.g, 0.05 / px.scale);
        const QPoint mid = px.Of(centre);
        std::optional<QPoint> best;
        double bestDistance = 0;
        const int reach = 2 + int(radius * px.scale);
        for (int dx = -reach; dx <= reach; ++dx)
            for (int dy = -reach; dy <= reach; ++dy) {
                const QPoint p = mid + QPoint(dx, dy);
                const MapPoint q = px.CentreOf(p);
                const double d = std::hypot(q.x - centre.x, q.y - centre.y);
                if ((!best || d < bestDistance) && geos.Contains(area.g, q)) {
                    best = p;
                    bestDistance = d;
                }
            }
        if (best)
            out.push_back({c.fips, c.name, *best});
        else
            excused.push_back(c.name);
    }
    return out;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string s;
    for (const auto& n : names) s += (s.empty() ? "" : ", ") + n;
    return s;
}

struct Project {
    const char* state;
    const char* county;
};

class MapClicks : public ::testing::TestWithParam<Project> {};

TEST_P(MapClicks, EveryCountyIsTheOneUnderThePointer) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    EnsureQt();
    const Project project = GetParam();
    test::TestApp t("");
    gui::WindowManager windows(*t.app);
    windows.quitWhenEmpty = false;
    t.Choose(project.state, project.county);
    Form4& f4 = t.app->form4();
    f4.Show();
    QApplication::processEvents();
    ASSERT_TRUE(f4.HasMap());
    const MapLayer& counties = *f4.CountiesLayer;

    // The map shows the project state alone, found by its exact name.
    const auto state = f4.StatesLayer->SearchExpression(std::string("STATE_NAME = '") + project.state + "'");
    ASSERT_EQ(state.size(), 1u);
    const platform::MapRect zoom = f4.StatesLayer->extentOf(state).ScaledAboutCentre(1.1);
    EXPECT_NEAR(f4.Map1.extent().left, zoom.left, 1e-9);
    EXPECT_NEAR(f4.Map1.extent().right, zoom.right, 1e-9);
    EXPECT_NEAR(f4.Map1.extent().bottom, zoom.bottom, 1e-9);
    EXPECT_NEAR(f4.Map1.extent().top, zoom.top, 1e-9);

    // Right click on the hazard screen's map: the county's name.
    QWidget* map = MapWidget(windows.windowOf(f4));
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(map->size(), QSize(f4.Map1.widthPixels(), f4.Map1.heightPixels()));
    std::vector<std::string> excused;
    const auto toClick = CountiesToClick(counties, f4.Map1, project.state, excused);
    std::vector<std::string> wrong;
    for (const County& c : toClick) {
        QTest::mouseClick(map, Qt::RightButton, {}, c.pixel);
        const std::string shown = t.dialogs.messages.empty() ? "" : t.dialogs.messages.back().text;
        if (shown != "County Name = " + c.name) wrong.push_back(c.name + " (" + shown + ")");
    }
    std::cout << project.state << ", hazard screen map " << map->width() << "x" << map->height() << ": "
              << toClick.size() << " counties clicked, " << excused.size() << " too small for a pixel"
              << (excused.empty() ? "" : ": " + Joined(excused)) << "\n";
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " named wrongly: " << Joined(wrong);

    // Left click on the county map window: each county is added in turn.
    t.dialogs.answers.push_back(platform::Answer::Yes);
    f4.Option1[2].setValue(true);
    f4.Command2.click();
    Form7* f7 = t.app->Loaded<Form7>();
    ASSERT_NE(f7, nullptr);
    QApplication::processEvents();
    map = MapWidget(windows.windowOf(*f7));
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(map->size(), QSize(f7->Map1.widthPixels(), f7->Map1.heightPixels()));
    excused.clear();
    const auto toAdd = CountiesToClick(counties, f7->Map1, project.state, excused);
    const std::string projectFips = f7->MapCountyList.at(0);
    std::optional<County> projectCounty;
    wrong.clear();
    for (const County& c : toAdd) {
        if (c.fips == projectFips) {
            projectCounty = c;
            continue;
        }
        const auto before = f7->MapCountyList;
        QTest::mouseClick(map, Qt::LeftButton, {}, c.pixel);
        auto expected = before;
        expected.push_back(c.fips);
        if (f7->MapCountyList != expected) {
            wrong.push_back(c.name);
            f7->MapCountyList = before;
        }
    }
    std::cout << project.state << ", county map window " << map->width() << "x" << map->height() << ": " << toAdd.size()
              << " counties clicked, " << excused.size() << " too small for a pixel"
              << (excused.empty() ? "" : ": " + Joined(excused)) << "\n";
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " not added: " << Joined(wrong);

    // The project county: its message and nothing else.
    ASSERT_TRUE(projectCounty) << "the project county is too small to click";
    const auto list = f7->MapCountyList;
    const size_t messages = t.dialogs.messages.size();
    const int beeps = t.dialogs.beeps, refreshes = f7->Map1.refreshCount();
    const std::string sufficiency = f7->Label2[12].caption();
    QTest::mouseClick(map, Qt::LeftButton, {}, projectCounty->pixel);
    ASSERT_EQ(t.dialogs.messages.size(), messages + 1);
    EXPECT_EQ(t.dialogs.messages.back().text, "This is the project county and can not be removed.");
    EXPECT_EQ(f7->MapCountyList, list);
    EXPECT_EQ(t.dialogs.beeps, beeps);
    EXPECT_EQ(f7->Map1.refreshCount(), refreshes);
    EXPECT_EQ(f7->Label2[12].caption(), sufficiency);
}

INSTANTIATE_TEST_SUITE_P(Shipped, MapClicks,
                         ::testing::Values(Project{"Oklahoma", "Oklahoma"}, Project{"Texas", "Travis"},
                                           Project{"Virginia", "Arlington"}, Project{"Maryland", "Prince George's"},
                                           Project{"Georgia", "Fulton"}, Project{"Kansas", "Sedgwick"},
                                           Project{"Missouri", "Jackson"}),
                         [](const auto& info) { return std::string(info.param.state); });

}  // namespace
