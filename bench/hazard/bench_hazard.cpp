// The hazard screen's heavy steps on the shipped data: a 250-mile region
// around Reno County, Kansas (every coordinate row visited), and the whole
// of Texas (254 counties) with its sufficiency test and extraction.
#include <benchmark/benchmark.h>

#include "platform/reference_data.h"
#include "screens/hazard/form4.h"
#include "screens/hazard/form9.h"
#include "screens/hazard/selection.h"
#include "tests/support/test_app.h"

namespace {

using namespace verrane;

void RegionSearch250(benchmark::State& state) {
    test::TestApp t("");
    size_t n = 0;
    for (auto _ : state) {
        n = platform::ReferenceData(t.app->ReferenceDatabase()).RegionCounties("Kansas", "Reno", 250).size();
        benchmark::DoNotOptimize(n);
    }
    state.counters["counties"] = static_cast<double>(n);
}
BENCHMARK(RegionSearch250)->Unit(benchmark::kMillisecond);

// The whole slider change: search, colours, zoom and sufficiency test.
void RegionSlider250(benchmark::State& state) {
    test::TestApp t("");
    t.Choose("Kansas", "Reno");
    Form4& f4 = t.app->form4();
    f4.Option1[0].setValue(true);
    for (auto _ : state) {
        f4.Slider1.setValue(250);
        f4.Slider1.setValue(249);
    }
    state.counters["counties"] = static_cast<double>(f4.CountyList.size());
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(RegionSlider250)->Unit(benchmark::kMillisecond);

void EntireStateTexas(benchmark::State& state) {
    test::TestApp t("");
    t.Choose("Texas", "Travis");
    Form4& f4 = t.app->form4();
    for (auto _ : state) f4.Option1_Click(1);
    state.counters["counties"] = static_cast<double>(f4.CountyList.size());
}
BENCHMARK(EntireStateTexas)->Unit(benchmark::kMillisecond);

void ExtractTexas(benchmark::State& state) {
    test::TestApp t("");
    Form2& f2 = t.Choose("Texas", "Travis");
    Form4& f4 = t.app->form4();
    f4.Option1_Click(1);
    f4.Save_Counties();
    Form9& f9 = t.app->form9();
    for (auto _ : state) benchmark::DoNotOptimize(f9.Get_Data());
    state.counters["counties"] = static_cast<double>(f2.SelectedCounties.size());
}
BENCHMARK(ExtractTexas)->Unit(benchmark::kMillisecond);

}  // namespace
