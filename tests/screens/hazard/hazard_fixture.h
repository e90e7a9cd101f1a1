#pragma once
// Helpers of the hazard screen tests: the fixture program with the project
// county chosen, and shapefiles drawn from the fixture's square counties.
#include <gtest/gtest.h>

#include <optional>

#include <QImage>

#include "app/app.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/hazard/form7.h"
#include "screens/hazard/form9.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "tests/platform/map/map_fixture.h"
#include "tests/support/test_app.h"

namespace verrane::test {

// Counties.shp from the fixture's squares; states as boxes around them:
// Oklahoma y -50..40, Kansas 40..120, Texas -200..-50, each x -100..100;
// the other states far away.
inline void WriteFixtureShapefiles(const std::filesystem::path& dir) {
    using maptest::Feature;
    using maptest::Ring;
    std::vector<Feature> counties;
    for (const auto& c : FixtureCounties()) {
        const double h = c.halfSize;
        counties.push_back({{maptest::Square(c.x - h, c.y - h, 2 * h)},
                            {c.state, c.fips.substr(0, 2), c.name, c.fips.substr(2), c.fips}});
    }
    maptest::WriteShapefile(dir / "Counties.shp", SHPT_POLYGON,
                            {"STATE_NAME", "STATE_FIPS", "NAME", "CNTY_FIPS", "FIPS"}, counties);
    auto box = [](double l, double r, double b, double t) { return Ring{{l, l, r, r, l}, {b, t, t, b, b}}; };
    maptest::WriteShapefile(dir / "states.shp", SHPT_POLYGON, {"STATE_NAME", "STATE_FIPS"},
                            {{{box(-100, 100, -50, 40)}, {"Oklahoma", "40"}},
                             {{box(-100, 100, 40, 120)}, {"Kansas", "20"}},
                             {{box(-100, 100, -200, -50)}, {"Texas", "48"}},
                             {{box(-20, 20, 480, 520)}, {"Iowa", "19"}},
                             {{box(-730, -670, 70, 130)}, {"Colorado", "08"}},
                             {{box(1280, 1320, 280, 320)}, {"Maryland", "24"}}});
    maptest::WriteShapefile(dir / "statline.shp", SHPT_ARC, {"STATE_A", "STATE_B"},
                            {{{Ring{{-100, 100}, {40, 40}}}, {"Kansas", "Oklahoma"}}});
}

// The fixture program on the Tornado Hazard Information screen for
// Oklahoma County, Oklahoma (centroid 0,0; 15 miles each side).
struct HazardApp : TestApp {
    explicit HazardApp(const std::string& tag, bool withMap = false) : TestApp(tag) {
        if (withMap) WriteFixtureShapefiles(dataDir);
    }
    Form4& Open(const std::string& state = "Oklahoma", const std::string& county = "Oklahoma") {
        Choose(state, county);
        Form4& f4 = app->form4();
        f4.Show();
        return f4;
    }
    void Sql(const std::string& sql) { ExecSql(dataDir, sql); }
    size_t Count(const std::string& text) const {
        size_t n = 0;
        for (const auto& m : dialogs.messages) n += m.text.find(text) != std::string::npos;
        return n;
    }
};

using Fips = std::vector<std::string>;

inline platform::Color PixelAt(const QImage& img, QPoint p) {
    const QRgb c = img.pixel(p);
    return {qRed(c), qGreen(c), qBlue(c)};
}

// The pixel that shows map point p on the whole control.
inline QPoint PixelOf(const platform::MapControl& m, platform::MapPoint p) {
    const platform::MapRect v = m.visibleExtent();
    const double s = m.widthPixels() / v.width();
    return {int((p.x - v.left) * s), int((v.top - p.y) * s)};
}

// Twips of a map point, as the mouse-down event reports a click there.
inline std::pair<double, double> TwipsOf(const platform::MapControl& m, platform::MapPoint p) {
    const QPoint px = PixelOf(m, p);
    return {px.x() * 15.0 + 7, px.y() * 15.0 + 7};
}

// A map point well inside the county (clear of its borders at this zoom).
inline std::optional<platform::MapPoint> InsideCounty(const platform::MapControl& m, const platform::MapLayer& counties,
                                                      const std::string& fips, double clearTwips = 3 * 15) {
    const auto rec = counties.SearchExpression("FIPS = '" + fips + "'");
    const platform::MapRect e = counties.extentOf(rec);
    const double tol = m.ToMapDistance(clearTwips);
    for (int i = 1; i < 10; ++i)
        for (int j = 1; j < 10; ++j) {
            const platform::MapPoint p{e.left + e.width() * i / 10, e.bottom + e.height() * j / 10};
            if (counties.SearchByDistance(p, tol) == rec) return p;
        }
    return std::nullopt;
}

inline void ExpectNear(const platform::MapRect& a, const platform::MapRect& b) {
    EXPECT_NEAR(a.left, b.left, 1e-9);
    EXPECT_NEAR(a.right, b.right, 1e-9);
    EXPECT_NEAR(a.bottom, b.bottom, 1e-9);
    EXPECT_NEAR(a.top, b.top, 1e-9);
}

}  // namespace verrane::test
