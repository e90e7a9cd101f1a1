#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>

#include <QPainter>

#include <gtest/gtest.h>

#include "map_fixture.h"
#include "platform/map.h"

using namespace verrane::platform;
namespace fs = std::filesystem;

namespace verrane::platform {
void PrintTo(const Color& c, std::ostream* os) { *os << "(" << c.r << ", " << c.g << ", " << c.b << ")"; }
}  // namespace verrane::platform

namespace {

fs::path TempDir(const std::string& name) {
    const fs::path d = fs::temp_directory_path() / ("verrane_map_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(d);
    fs::create_directories(d);
    return d;
}

class MapFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fixture_ = new maptest::Fixture(TempDir("fixture")); }
    static void TearDownTestSuite() {
        fs::remove_all(fixture_->dir);
        delete fixture_;
    }
    static maptest::Fixture* fixture_;
};
maptest::Fixture* MapFixture::fixture_ = nullptr;

Color PixelAt(const QImage& img, int x, int y) {
    const QRgb c = img.pixel(x, y);
    return {qRed(c), qGreen(c), qBlue(c)};
}

// The device pixel that shows map point p when the whole control is drawn.
QPoint PixelOf(const MapControl& m, MapPoint p) {
    const MapRect v = m.visibleExtent();
    const double s = m.widthPixels() / v.width();
    return {int((p.x - v.left) * s), int((v.top - p.y) * s)};
}

// The three layers as the hazard screens set them up: the counties coloured
// through a renderer on FIPS (one green, one red), states outlined, state
// lines blue at width 2.
struct ScreenMap {
    std::shared_ptr<MapLayer> counties, states, lines;
    std::shared_ptr<ValueMapRenderer> renderer = std::make_shared<ValueMapRenderer>();
    MapControl control;
};

std::unique_ptr<ScreenMap> MakeScreenMap(const fs::path& dir, const std::string& green, const std::string& red,
                                         int width, int height) {
    auto s = std::make_unique<ScreenMap>();
    s->counties = MapLayer::Open(dir / "Counties.shp");
    s->states = MapLayer::Open(dir / "states.shp");
    s->lines = MapLayer::Open(dir / "statline.shp");
    s->states->symbol().style = kTransparentFill;
    s->lines->symbol().color = kBlue;
    s->lines->symbol().size = 2;
    auto& r = *s->renderer;
    r.field = "FIPS";
    r.setValueCount(2);
    r.setValue(0, green);
    r.symbol(0).color = kGreen;
    r.setValue(1, red);
    r.symbol(1).color = kRed;
    s->counties->setRenderer(s->renderer);
    s->control.SetControlSize(width, height);
    for (auto& l : {s->counties, s->states, s->lines}) s->control.AddLayer(l);
    return s;
}

}  // namespace

TEST(MapRect, UnionAndScaling) {
    const MapRect a{0, 10, 0, 5}, b{-3, 4, 2, 9};
    EXPECT_EQ(MapRect::Union(a, b), (MapRect{-3, 10, 0, 9}));
    EXPECT_EQ(MapRect::Union(b, a), MapRect::Union(a, b));

    const MapRect s = MapRect{0, 10, 0, 20}.ScaledAboutCentre(1.1);
    EXPECT_DOUBLE_EQ(s.left, -0.5);
    EXPECT_DOUBLE_EQ(s.right, 10.5);
    EXPECT_DOUBLE_EQ(s.bottom, -1);
    EXPECT_DOUBLE_EQ(s.top, 21);
    EXPECT_DOUBLE_EQ(s.width(), 11);
}

TEST(ValueMapRenderer, ValuesSymbolsAndLookup) {
    ValueMapRenderer r;
    r.field = "FIPS";
    r.setValueCount(3);
    r.setValue(0, "20001");
    r.setValue(1, "20002");
    r.setValue(2, "20001");  // a repeat: the first keeps the shapes
    r.symbol(1).color = kRed;
    EXPECT_EQ(r.indexOf("20001"), 0);
    EXPECT_EQ(r.indexOf("20002"), 1);
    EXPECT_EQ(r.indexOf("99999"), -1);

    // Shrinking keeps the first values, the lookup follows.
    r.setValueCount(1);
    EXPECT_EQ(r.value(0), "20001");
    EXPECT_EQ(r.indexOf("20002"), -1);
    r.setValueCount(2);
    EXPECT_EQ(r.value(1), "");
    EXPECT_EQ(r.indexOf("20002"), -1);

    EXPECT_THROW(r.value(2), MapError);
    EXPECT_THROW(r.symbol(-1), MapError);
    EXPECT_THROW(r.setValueCount(-1), MapError);
}

TEST_F(MapFixture, AttributesByPositionAndName) {
    auto c = MapLayer::Open(fixture_->counties);
    ASSERT_EQ(c->recordCount(), 7);
    EXPECT_EQ(c->kind(), MapShapeKind::Polygon);
    EXPECT_EQ(c->fieldIndex("NAME"), 2);
    EXPECT_EQ(c->fieldIndex("state_name"), 0);
    EXPECT_EQ(c->fieldIndex("Cnty_fips"), 3);
    EXPECT_EQ(c->fieldIndex("AREA"), -1);
    EXPECT_EQ(c->attribute(1, 2), "Barton");
    EXPECT_EQ(c->attribute(1, "fips"), "20002");
    EXPECT_EQ(c->attribute(6, "Name"), "Lakeside");

    EXPECT_THROW(c->attribute(7, 0), MapError);
    EXPECT_THROW(c->attribute(0, 5), MapError);
    try {
        c->attribute(0, "AREA");
        FAIL();
    } catch (const MapError& e) {
        EXPECT_NE(std::string(e.what()).find("AREA"), std::string::npos);
    }
}

TEST_F(MapFixture, Extents) {
    auto c = MapLayer::Open(fixture_->counties);
    EXPECT_EQ(c->extent(), (MapRect{0, 60, 0, 20}));
    EXPECT_EQ(c->extentOf({0, 4}), (MapRect{0, 20, 0, 20}));
    EXPECT_EQ(c->extentOf({}), MapRect{});
    EXPECT_THROW(c->extentOf({99}), MapError);
    auto line = MapLayer::Open(fixture_->statline);
    EXPECT_EQ(line->kind(), MapShapeKind::Line);
    EXPECT_EQ(line->symbol().symbolType, kLineSymbol);
    EXPECT_EQ(c->symbol().symbolType, kFillSymbol);
    EXPECT_EQ(line->extent(), (MapRect{20, 20, 0, 20}));
}

TEST_F(MapFixture, ExpressionSearch) {
    auto s = MapLayer::Open(fixture_->states);
    // Like is a case-insensitive match anywhere: Kansas also finds Arkansas.
    EXPECT_EQ(s->SearchExpression("STATE_NAME Like '%Kansas%'"), (std::vector<int>{0, 1}));
    EXPECT_EQ(s->SearchExpression("state_name like '%KANSAS%'"), (std::vector<int>{0, 1}));
    EXPECT_EQ(s->SearchExpression("STATE_NAME = 'Kansas'"), (std::vector<int>{0}));
    EXPECT_EQ(s->SearchExpression("STATE_NAME = 'kansas'"), (std::vector<int>{}));
    EXPECT_EQ(s->SearchExpression("STATE_NAME Like 'Ark%'"), (std::vector<int>{1}));
    EXPECT_EQ(s->SearchExpression("STATE_NAME Like 'T_xas'"), (std::vector<int>{2}));
    EXPECT_EQ(s->SearchExpression("STATE_FIPS Like '%05%'"), (std::vector<int>{1}));
    EXPECT_EQ(s->SearchExpression("STATE_NAME Like '%Ohio%'"), (std::vector<int>{}));
    EXPECT_EQ(s->SearchExpression("STATE_NAME = 'O''Brien'"), (std::vector<int>{}));
    EXPECT_EQ(s->extentOf(s->SearchExpression("STATE_FIPS Like '%05%'")), (MapRect{20, 30, 0, 20}));

    for (const char* bad : {"", "STATE_NAME", "STATE_NAME Like Kansas", "STATE_NAME Like '%Kansas", "STATE_NAME > 'K'",
                            "STATE_NAME = 'Kansas' OR STATE_FIPS = '05'", "= 'Kansas'", "STATE_NAMELike 'x'"})
        EXPECT_THROW(s->SearchExpression(bad), MapError) << bad;
    try {
        s->SearchExpression("COUNTY Like '%x%'");
        FAIL();
    } catch (const MapError& e) {
        EXPECT_NE(std::string(e.what()).find("COUNTY"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("states.shp"), std::string::npos);
    }
}

TEST_F(MapFixture, DistanceSearch) {
    auto c = MapLayer::Open(fixture_->counties);
    EXPECT_EQ(c->SearchByDistance({5, 5}, 0), (std::vector<int>{0}));
    EXPECT_EQ(c->SearchByDistance({5, 5}, 0.5), (std::vector<int>{0}));
    // On the shared corner of four squares every one is found, in record order.
    EXPECT_EQ(c->SearchByDistance({10, 10}, 0.1), (std::vector<int>{0, 1, 3, 4}));
    // Outside every shape but within the tolerance of the right edge.
    EXPECT_EQ(c->SearchByDistance({30.4, 15}, 0.5), (std::vector<int>{5}));
    EXPECT_EQ(c->SearchByDistance({30.6, 15}, 0.5), (std::vector<int>{}));
    // Beside every shape: nothing.
    EXPECT_TRUE(c->SearchByDistance({35, 30}, 1).empty());
    // The lake is not part of its county unless the shore is near.
    EXPECT_TRUE(c->SearchByDistance({50, 10}, 1).empty());
    EXPECT_EQ(c->SearchByDistance({50, 14.5}, 1), (std::vector<int>{6}));
    EXPECT_EQ(c->SearchByDistance({42, 10}, 0), (std::vector<int>{6}));

    auto line = MapLayer::Open(fixture_->statline);
    EXPECT_EQ(line->SearchByDistance({20.3, 10}, 0.5), (std::vector<int>{0}));
    EXPECT_TRUE(line->SearchByDistance({20.3, 21}, 0.5).empty());
    EXPECT_THROW(c->SearchByDistance({NAN, 0}, 1), MapError);
}

TEST_F(MapFixture, ShapeUnderThePoint) {
    auto c = MapLayer::Open(fixture_->counties);
    // Inside Barton, within the tolerance of Allen's edge: Barton, although
    // Allen comes first in record order.
    EXPECT_EQ(c->SearchByDistance({10.2, 5}, 0.5), (std::vector<int>{0, 1}));
    EXPECT_EQ(c->ShapeAt({10.2, 5}, 0.5), 1);
    EXPECT_EQ(c->ShapeAt({42, 10}, 0), 6);
    // Off every shape: the nearest within the tolerance, not the first.
    EXPECT_EQ(c->ShapeAt({30.2, 10.3}, 0.5), 5);  // Ford 0.2 away, Clay 0.36
    EXPECT_EQ(c->ShapeAt({30.4, 15}, 0.5), 5);
    EXPECT_EQ(c->ShapeAt({30.6, 15}, 0.5), -1);
    EXPECT_EQ(c->ShapeAt({35, 30}, 1), -1);
    // In the lake only its shore counts.
    EXPECT_EQ(c->ShapeAt({50, 10}, 1), -1);
    EXPECT_EQ(c->ShapeAt({50, 14.5}, 1), 6);

    auto line = MapLayer::Open(fixture_->statline);
    EXPECT_EQ(line->ShapeAt({20.3, 10}, 0.5), 0);
    EXPECT_EQ(line->ShapeAt({20.3, 21}, 0.5), -1);
    EXPECT_THROW(c->ShapeAt({0, NAN}, 1), MapError);
}

// A county with a city in a hole of it, and a county with a town drawn over
// it without a hole: the shape drawn on top is the one under the point.
TEST(MapLayer, EnclavesAndOverlapsGiveTheShapeOnTop) {
    const fs::path dir = TempDir("enclaves");
    const maptest::Ring hole{{10, 20, 20, 10, 10}, {10, 10, 20, 20, 10}};  // anticlockwise
    maptest::WriteShapefile(dir / "c.shp", SHPT_POLYGON, {"NAME"},
                            {{{maptest::Square(0, 0, 30), hole}, {"County"}},
                             {{maptest::Square(10, 10, 10)}, {"City"}},
                             {{maptest::Square(40, 0, 30)}, {"Other"}},
                             {{maptest::Square(50, 10, 10)}, {"Town"}}});
    auto c = MapLayer::Open(dir / "c.shp");
    EXPECT_EQ(c->ShapeAt({15, 15}, 3), 1);
    EXPECT_EQ(c->ShapeAt({5, 15}, 3), 0);
    EXPECT_EQ(c->ShapeAt({55, 15}, 3), 3);
    EXPECT_EQ(c->ShapeAt({45, 15}, 3), 2);
    fs::remove_all(dir);
}

TEST(MapControl, ControlToMapKeepsAspectCentred) {
    MapControl m;
    m.SetControlSize(480, 400);
    m.SetExtent({0, 30, 0, 20});  // wider than the control: the width rules
    EXPECT_EQ(m.extent(), (MapRect{0, 30, 0, 20}));
    const double s = 480 / 30.0;  // pixels per mile
    const MapRect v = m.visibleExtent();
    EXPECT_DOUBLE_EQ(v.left, 0);
    EXPECT_DOUBLE_EQ(v.right, 30);
    EXPECT_DOUBLE_EQ(v.bottom, 10 - 200 / s);
    EXPECT_DOUBLE_EQ(v.top, 10 + 200 / s);

    const MapPoint topLeft = m.ToMapPoint(0, 0);
    EXPECT_DOUBLE_EQ(topLeft.x, 0);
    EXPECT_DOUBLE_EQ(topLeft.y, 10 + 200 / s);
    const MapPoint centre = m.ToMapPoint(240 * 15, 200 * 15);
    EXPECT_DOUBLE_EQ(centre.x, 15);
    EXPECT_DOUBLE_EQ(centre.y, 10);
    EXPECT_DOUBLE_EQ(m.ToMapDistance(200), 200 / 15.0 / s);

    m.SetExtent({0, 10, 0, 40});  // taller: the height rules, centred across
    const MapPoint left = m.ToMapPoint(0, 400 * 15);
    EXPECT_DOUBLE_EQ(left.y, 0);
    EXPECT_DOUBLE_EQ(left.x, 5 - 240 / 10.0);

    // A point-sized extent must not divide by zero.
    m.SetExtent({3, 3, 4, 4});
    EXPECT_TRUE(std::isfinite(m.ToMapDistance(200)));
    EXPECT_THROW(m.SetExtent({0, NAN, 0, 1}), MapError);
}

TEST_F(MapFixture, DefaultExtentIsTheLayersAndEventsArePassedOn) {
    MapControl m;
    m.AddLayer(MapLayer::Open(fixture_->counties));
    m.AddLayer(MapLayer::Open(fixture_->statline));
    EXPECT_EQ(m.extent(), (MapRect{0, 60, 0, 20}));
    EXPECT_THROW(m.AddLayer(nullptr), MapError);

    int refreshed = 0;
    m.onRefresh = [&] { ++refreshed; };
    m.Refresh();
    m.Refresh();
    EXPECT_EQ(refreshed, 2);
    EXPECT_EQ(m.refreshCount(), 2);

    std::vector<int> seen;
    m.MouseDown(1, 0, 10, 10);  // no handler yet: nothing happens
    m.onMouseDown = [&](int button, int shift, double x, double y) { seen = {button, shift, int(x), int(y)}; };
    m.MouseDown(2, 1, 150, 300);
    EXPECT_EQ(seen, (std::vector<int>{2, 1, 150, 300}));
    m.ClearLayers();
    EXPECT_TRUE(m.layers().empty());
}

TEST_F(MapFixture, RenderedColours) {
    auto map = MakeScreenMap(fixture_->dir, "20001", "05003", 480, 400);
    auto& counties = map->counties;
    auto& r = map->renderer;
    MapControl& m = map->control;
    m.SetExtent(MapRect{0, 30, 0, 20}.ScaledAboutCentre(1.1));
    const QImage img = m.RenderImage();
    ASSERT_EQ(img.size(), QSize(480, 400));

    const Color neutral = counties->symbol().color;
    EXPECT_EQ(PixelAt(img, PixelOf(m, {5, 5}).x(), PixelOf(m, {5, 5}).y()), kGreen);
    EXPECT_EQ(PixelAt(img, PixelOf(m, {25, 5}).x(), PixelOf(m, {25, 5}).y()), kRed);
    EXPECT_EQ(PixelAt(img, PixelOf(m, {15, 15}).x(), PixelOf(m, {15, 15}).y()), neutral);
    EXPECT_NE(neutral, kGreen);
    EXPECT_NE(neutral, kRed);
    EXPECT_EQ(PixelAt(img, PixelOf(m, {15, 22.5}).x(), PixelOf(m, {15, 22.5}).y()), m.backColor);

    // The state line at x = 20, two pixels wide: some pixel across it is pure blue.
    const QPoint on = PixelOf(m, {20, 12});
    bool blue = false;
    for (int dx = -2; dx <= 2; ++dx) blue = blue || PixelAt(img, on.x() + dx, on.y()) == kBlue;
    EXPECT_TRUE(blue);

    // A county taken out of the renderer goes back to the layer's own colour.
    r->setValueCount(1);
    const QImage after = m.RenderImage();
    EXPECT_EQ(PixelAt(after, PixelOf(m, {25, 5}).x(), PixelOf(m, {25, 5}).y()), neutral);
    EXPECT_EQ(PixelAt(after, PixelOf(m, {5, 5}).x(), PixelOf(m, {5, 5}).y()), kGreen);

    // Drawing into a painter on a larger target fits the same extent there.
    QImage big(960, 800, QImage::Format_RGB32);
    QPainter p(&big);
    m.Render(p, big.rect());
    p.end();
    EXPECT_EQ(PixelAt(big, 2 * PixelOf(m, {5, 5}).x(), 2 * PixelOf(m, {5, 5}).y()), kGreen);
}

TEST(MapLayerOpen, MissingAndMalformedFilesGiveClearErrors) {
    const fs::path dir = TempDir("bad");
    auto messageOf = [](const fs::path& p) {
        try {
            MapLayer::Open(p);
        } catch (const MapError& e) {
            return std::string(e.what());
        }
        return std::string("opened");
    };

    std::string m = messageOf(dir / "nowhere.shp");
    EXPECT_NE(m.find("nowhere.shp"), std::string::npos) << m;
    EXPECT_NE(m.find("does not exist"), std::string::npos) << m;

    {
        std::ofstream out(dir / "garbage.shp", std::ios::binary);
        std::mt19937 rng(7);
        for (int i = 0; i < 4000; ++i) out.put(char(rng()));
    }
    m = messageOf(dir / "garbage.shp");
    EXPECT_NE(m.find("garbage.shp"), std::string::npos) << m;
    EXPECT_NE(m.find("not a shapefile"), std::string::npos) << m;

    std::ofstream(dir / "empty.shp").close();
    m = messageOf(dir / "empty.shp");
    EXPECT_NE(m.find("too short"), std::string::npos) << m;

    // A good shapefile whose attribute file is missing.
    maptest::Fixture f(dir / "nodbf");
    fs::remove(f.dir / "Counties.dbf");
    m = messageOf(f.counties);
    EXPECT_NE(m.find("Counties.dbf"), std::string::npos) << m;
    fs::remove_all(dir);
}

// Truncated and bit-flipped copies of a real layer either open or fail with
// MapError; nothing else may happen.
TEST(MapLayerOpen, DamagedFilesNeverCrash) {
    const fs::path dir = TempDir("damaged");
    maptest::Fixture f(dir / "good");
    auto slurp = [](const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    };
    const auto shp = slurp(f.counties), shx = slurp(f.dir / "Counties.shx"), dbf = slurp(f.dir / "Counties.dbf");
    const fs::path work = dir / "work";
    fs::create_directories(work);
    auto write = [](const fs::path& p, const std::vector<char>& bytes) {
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    };
    auto tryOpen = [&](const std::vector<char>& a, const std::vector<char>& b, const std::vector<char>& c) {
        write(work / "c.shp", a);
        write(work / "c.shx", b);
        write(work / "c.dbf", c);
        try {
            auto l = MapLayer::Open(work / "c.shp");
            l->SearchByDistance({5, 5}, 1);
            l->SearchExpression("NAME Like '%a%'");
            MapControl m;
            m.AddLayer(l);
            m.RenderImage();
        } catch (const MapError&) {}
    };
    auto prefix = [](const std::vector<char>& v, size_t n) {
        return std::vector<char>(v.begin(), v.begin() + long(n));
    };
    for (size_t n = 0; n < shp.size(); n += 7) tryOpen(prefix(shp, n), shx, dbf);
    for (size_t n = 0; n < shx.size(); n += 3) tryOpen(shp, prefix(shx, n), dbf);
    for (size_t n = 0; n < dbf.size(); n += 5) tryOpen(shp, shx, prefix(dbf, n));
    std::mt19937 rng(11);
    for (int k = 0; k < 600; ++k) {
        auto a = shp, b = shx, c = dbf;
        for (int j = 0; j < 4; ++j) a[rng() % a.size()] = char(rng());
        if (k % 2) b[100 + rng() % (b.size() - 100)] = char(rng());
        if (k % 3 == 0) c[rng() % c.size()] = char(rng());
        tryOpen(a, b, c);
    }
    fs::remove_all(dir);
}

// The shipped layers, once they are in data/.
class ShippedMap : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(dir / "Counties.shp") || !fs::exists(dir / "states.shp") || !fs::exists(dir / "statline.shp"))
            GTEST_SKIP() << "the shipped shapefiles are not in data/ yet";
    }
    fs::path dir = VERRANE_SOURCE_DATA_DIR;
};

TEST_F(ShippedMap, CountyAttributesAndSearches) {
    auto c = MapLayer::Open(dir / "Counties.shp");
    EXPECT_GT(c->recordCount(), 3000);
    EXPECT_EQ(c->fieldIndex("NAME"), 2);
    EXPECT_EQ(c->fieldIndex("fips"), 4);
    const auto travis = c->SearchExpression("FIPS = '48453'");
    ASSERT_EQ(travis.size(), 1u);
    EXPECT_EQ(c->attribute(travis[0], 2), "Travis");
    EXPECT_EQ(c->attribute(travis[0], "state_name"), "Texas");
    // A point in the middle of the county finds it and nothing else.
    const MapPoint mid = c->extentOf(travis).centre();
    EXPECT_EQ(c->SearchByDistance(mid, 0.5), travis);

    auto s = MapLayer::Open(dir / "states.shp");
    const auto kansas = s->SearchExpression("STATE_NAME Like '%Kansas%'");
    ASSERT_EQ(kansas.size(), 2u);
    std::vector<std::string> names{s->attribute(kansas[0], "STATE_NAME"), s->attribute(kansas[1], "STATE_NAME")};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Arkansas", "Kansas"}));
    EXPECT_EQ(s->SearchExpression("STATE_FIPS Like '%48%'").size(), 1u);
}

TEST_F(ShippedMap, TexasDrawnWithTheSelection) {
    auto map = MakeScreenMap(dir, "48453", "48491", 800, 600);  // Travis, and Williamson north of it
    auto& counties = map->counties;
    auto& states = map->states;
    MapControl& m = map->control;
    m.SetExtent(states->extentOf(states->SearchExpression("STATE_NAME Like '%Texas%'")).ScaledAboutCentre(1.1));
    const QImage img = m.RenderImage();

    // Find a pixel of each county that the search agrees lies well inside it.
    auto interior = [&](const std::string& fips) {
        const auto rec = counties->SearchExpression("FIPS = '" + fips + "'");
        const MapRect e = counties->extentOf(rec);
        const double tol = m.ToMapDistance(3 * 15);
        for (int i = 1; i < 10; ++i)
            for (int j = 1; j < 10; ++j) {
                const MapPoint p{e.left + e.width() * i / 10, e.bottom + e.height() * j / 10};
                bool clear = counties->SearchByDistance(p, tol) == rec;
                for (const MapPoint q : {MapPoint{p.x - tol, p.y}, MapPoint{p.x + tol, p.y}, MapPoint{p.x, p.y - tol},
                                         MapPoint{p.x, p.y + tol}})
                    clear = clear && counties->SearchByDistance(q, 0) == rec;
                if (clear) return PixelOf(m, p);
            }
        return QPoint(-1, -1);
    };
    const QPoint travis = interior("48453"), williamson = interior("48491"), brewster = interior("48043");
    ASSERT_GE(travis.x(), 0);
    ASSERT_GE(williamson.x(), 0);
    ASSERT_GE(brewster.x(), 0);
    EXPECT_EQ(PixelAt(img, travis.x(), travis.y()), kGreen);
    EXPECT_EQ(PixelAt(img, williamson.x(), williamson.y()), kRed);
    EXPECT_EQ(PixelAt(img, brewster.x(), brewster.y()), counties->symbol().color);

    // Somewhere along the Texas-Oklahoma line, the Red River, the line is blue.
    int bluePixels = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) bluePixels += PixelAt(img, x, y) == kBlue;
    EXPECT_GT(bluePixels, 100);
}

// A batch run reads each shapefile once; every opening still gets a layer of
// its own, and what it reads is what the file holds.
TEST_F(MapFixture, CachedLayersShareTheFileButNotTheirSymbols) {
    const fs::path dir = TempDir("cached");
    fs::create_directories(dir);
    const fs::path shp = dir / "counties.shp";
    for (const char* ext : {".shp", ".shx", ".dbf"})
        fs::copy_file(fs::path(fixture_->counties).replace_extension(ext), fs::path(shp).replace_extension(ext),
                      fs::copy_options::overwrite_existing);
    auto fresh = MapLayer::Open(shp);
    std::shared_ptr<MapLayer> a, b;
    {
        ScopedMapLayerCache cache;
        a = MapLayer::Open(shp);
        a->symbol().color = {1, 2, 3};
        a->setRenderer(std::make_shared<ValueMapRenderer>());
        // The file changes under the cache: the cache keeps what it read.
        fs::remove(shp);
        b = MapLayer::Open(shp);
    }
    ASSERT_NE(a, b);
    EXPECT_EQ(b->symbol().color, fresh->symbol().color);
    EXPECT_EQ(b->renderer(), nullptr);
    EXPECT_EQ(&a->shape(0), &b->shape(0));
    ASSERT_EQ(b->recordCount(), fresh->recordCount());
    for (int r = 0; r < b->recordCount(); ++r) {
        EXPECT_EQ(b->shape(r).bounds, fresh->shape(r).bounds);
        for (int f = 0; f < b->fieldCount(); ++f) EXPECT_EQ(b->attribute(r, f), fresh->attribute(r, f));
    }
    EXPECT_EQ(b->extent(), fresh->extent());
    // Without the cache the file is read again, and its absence is said.
    EXPECT_THROW(MapLayer::Open(shp), MapError);
    fs::remove_all(dir);
}
