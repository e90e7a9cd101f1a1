// Repaint of a state-sized view and the right-click search, on the shipped
// layers when data/ has them, otherwise on a made-up country of the same size.
#include <unistd.h>
#include <cmath>
#include <memory>

#include <benchmark/benchmark.h>

#include "map_fixture.h"
#include "platform/map.h"

using namespace verrane::platform;
namespace fs = std::filesystem;

namespace {

struct Scene {
    std::shared_ptr<MapLayer> counties, states, lines;
    MapRect state;      // extent of the state to zoom to
    MapPoint inCounty;  // a point inside a county of that state
    std::string source;
};

// 80 x 40 squarish counties of 35 miles with 64 vertices each, in 8 x 4
// states, and a line along every state border.
Scene MadeUp() {
    const fs::path dir = fs::temp_directory_path() / ("verrane_bench_map_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::vector<maptest::Feature> cs, ss, ls;
    const double side = 35;
    for (int row = 0; row < 40; ++row)
        for (int col = 0; col < 80; ++col) {
            maptest::Ring r;
            const double x0 = col * side, y0 = row * side;
            for (int k = 0; k <= 64; ++k) {
                const int edge = (k % 64) / 16;
                const double t = (k % 16) / 16.0, wobble = std::sin(k * 1.3) * 0.4;
                const double xs[] = {x0 + wobble, x0 + t * side, x0 + side + wobble, x0 + side - t * side};
                const double ys[] = {y0 + t * side, y0 + side + wobble, y0 + side - t * side, y0 + wobble};
                r.x.push_back(xs[edge]);
                r.y.push_back(ys[edge]);
            }
            const std::string fips =
                std::to_string(10 + row / 10 * 8 + col / 10) + std::to_string(100 + col % 10 * 10 + row % 10);
            cs.push_back({{r}, {"State", fips.substr(0, 2), "County", fips.substr(2), fips}});
        }
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 8; ++col)
            ss.push_back({{maptest::Square(col * 350.0, row * 350.0, 350)},
                          {"S" + std::to_string(row * 8 + col), std::to_string(10 + row * 8 + col)}});
    for (int col = 1; col < 8; ++col) ls.push_back({{maptest::Ring{{col * 350.0, col * 350.0}, {0, 1400}}}, {"v"}});
    for (int row = 1; row < 4; ++row) ls.push_back({{maptest::Ring{{0, 2800}, {row * 350.0, row * 350.0}}}, {"h"}});
    maptest::WriteShapefile(dir / "Counties.shp", SHPT_POLYGON,
                            {"STATE_NAME", "STATE_FIPS", "NAME", "CNTY_FIPS", "FIPS"}, cs);
    maptest::WriteShapefile(dir / "states.shp", SHPT_POLYGON, {"STATE_NAME", "STATE_FIPS"}, ss);
    maptest::WriteShapefile(dir / "statline.shp", SHPT_ARC, {"ID"}, ls);
    Scene s{MapLayer::Open(dir / "Counties.shp"),
            MapLayer::Open(dir / "states.shp"),
            MapLayer::Open(dir / "statline.shp"),
            {1050, 1400, 350, 700},
            {1230, 530},
            "made-up counties"};
    fs::remove_all(dir);
    return s;
}

Scene Load() {
    const fs::path dir = VERRANE_SOURCE_DATA_DIR;
    if (!fs::exists(dir / "Counties.shp") || !fs::exists(dir / "states.shp") || !fs::exists(dir / "statline.shp"))
        return MadeUp();
    Scene s{MapLayer::Open(dir / "Counties.shp"),
            MapLayer::Open(dir / "states.shp"),
            MapLayer::Open(dir / "statline.shp"),
            {},
            {},
            "shipped counties, Texas"};
    s.state = s.states->extentOf(s.states->SearchExpression("STATE_NAME Like '%Texas%'"));
    s.inCounty = s.counties->extentOf(s.counties->SearchExpression("FIPS = '48453'")).centre();
    return s;
}

const Scene& Shared() {
    static const Scene scene = Load();
    return scene;
}

void BM_RepaintState(benchmark::State& st) {
    const Scene& s = Shared();
    s.states->symbol().style = kTransparentFill;
    s.lines->symbol().color = kBlue;
    s.lines->symbol().size = 2;
    // A whole state selected, as "Entire State" leaves it: 254 values.
    auto r = std::make_shared<ValueMapRenderer>();
    r->field = "FIPS";
    std::vector<int> inside = s.counties->SearchExpression("STATE_NAME = 'Texas'");
    for (int i = 0; inside.empty() && i < s.counties->recordCount(); ++i)
        if (s.state.contains(s.counties->shape(i).bounds.centre())) inside.push_back(i);
    r->setValueCount(int(inside.size()));
    for (size_t i = 0; i < inside.size(); ++i) {
        r->setValue(int(i), s.counties->attribute(inside[i], "FIPS"));
        r->symbol(int(i)).color = i == 0 ? kGreen : kRed;
    }
    s.counties->setRenderer(r);
    MapControl m;
    m.SetControlSize(800, 600);
    m.AddLayer(s.counties);
    m.AddLayer(s.states);
    m.AddLayer(s.lines);
    // Argument 1: the whole map, the worst case of a region spanning states.
    m.SetExtent(st.range(0) ? s.counties->extent() : s.state.ScaledAboutCentre(1.1));
    for (auto _ : st) benchmark::DoNotOptimize(m.RenderImage());
    st.SetLabel(s.source + ", " + std::to_string(inside.size()) + " selected");
    s.counties->setRenderer(nullptr);
}
BENCHMARK(BM_RepaintState)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The 200-twip click tolerance on a 480 x 400 map of the state.
double ClickTolerance(const Scene& s) {
    MapControl m;
    m.SetControlSize(480, 400);
    m.SetExtent(s.state.ScaledAboutCentre(1.1));
    return m.ToMapDistance(200);
}

void BM_DistanceSearch(benchmark::State& st) {
    const Scene& s = Shared();
    const double tolerance = ClickTolerance(s);
    for (auto _ : st) benchmark::DoNotOptimize(s.counties->SearchByDistance(s.inCounty, tolerance));
    st.SetLabel(s.source);
}
BENCHMARK(BM_DistanceSearch)->Unit(benchmark::kMicrosecond);

// The county a click picks, on the hazard screen's map: argument 0 a click
// inside a county, 1 a click in the sea beside the coast (the nearest county
// within the tolerance).
void BM_ClickLookup(benchmark::State& st) {
    const Scene& s = Shared();
    const double tolerance = ClickTolerance(s);
    MapPoint p = s.inCounty;
    if (st.range(0)) {
        // Step from the county towards the bottom edge of the view until off every county.
        while (p.y > s.state.bottom - 50 && s.counties->ShapeAt(p, 0) >= 0) p.y -= tolerance / 4;
    }
    for (auto _ : st) benchmark::DoNotOptimize(s.counties->ShapeAt(p, tolerance));
    st.SetLabel(s.source);
}
BENCHMARK(BM_ClickLookup)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_OpenCounties(benchmark::State& st) {
    const fs::path p = Shared().counties->path();
    if (!fs::exists(p)) {
        st.SkipWithError("made-up layers are not kept on disk");
        return;
    }
    for (auto _ : st) benchmark::DoNotOptimize(MapLayer::Open(p));
}
BENCHMARK(BM_OpenCounties)->Unit(benchmark::kMillisecond);

}  // namespace
