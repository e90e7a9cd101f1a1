// One whole analysis as the results screen runs it, on a Texas-sized region.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "model/benefits.h"
#include "model/hazard.h"
#include "model/occupancy.h"
#include "model/rates.h"
#include "model/tornado_stats.h"

using namespace verrane::model;

namespace {
constexpr int kCounties = 254;

struct Region {
    std::vector<TornadoRow> tornado;
    std::vector<CountyAreaRow> areas;
};

Region MakeRegion() {
    Region r;
    for (int c = 0; c < kCounties; ++c) {
        TornadoRow row;
        row.fips = "48" + std::to_string(1001 + 2 * c).substr(1);
        row.ryears = 53;
        for (int f = 0; f < 6; ++f) {
            row.fcount[f] = (c * 7 + f * 3) % (40 >> f);
            row.flenft[f] = (c % 9 == 0) ? -9 : 1500.0 * (f + 1) + c;
            row.fac[f] = 0.5 * (f + 1) + 0.01 * c;
            for (int h = 0; h < 24; ++h) row.fcnt[f][h] = (c + h * (f + 1)) % 5;
        }
        r.tornado.push_back(row);
        r.areas.push_back({row.fips, 600.0 + (c % 50) * 20});
    }
    return r;
}

void BM_WholeAnalysis(benchmark::State& state) {
    const Region region = MakeRegion();
    const std::string projectFips = region.tornado[100].fips;

    std::array<std::optional<float>, 24> local;
    for (int h = 0; h < 24; ++h) local[h] = (h >= 8 && h < 17) ? 120.0f : 15.0f;
    const auto occupancy = AverageDaylightSaving(ToEasternStandardTime(local, 2));

    const DamagePercents pre = DefaultDamagePercents(2, false);
    const auto eff = DefaultEffectiveness(2);
    RateInputs in;
    in.injuryCost = 10000;
    in.deathCost = 3000000;
    for (int k = 0; k < 9; ++k) {
        in.injuryPercent[k] = pre.injury[k];
        in.deathPercent[k] = pre.death[k];
        in.injuryEffectiveness[k] = eff[k];
        in.deathEffectiveness[k] = eff[k];
    }
    const RateResult rates = RecalculateRates(in);

    for (auto _ : state) {
        TornadoStatsBuilder builder;
        for (const TornadoRow& row : region.tornado) builder.AddTornadoRow(row);
        if (builder.NeedsCountyAreas())
            for (const CountyAreaRow& row : region.areas) builder.AddCountyArea(row, projectFips);
        const TornadoStats stats = builder.Finish();

        const FProbsResult f = FProbs(stats, 120.0f, 80.0f);
        const auto h = HProbs(130, WindRangeThresholds, "Texas");
        const BenefitResult b =
            Ann_Benefit(f.strikeProbabilityByF, stats.hourlyFractionByF, occupancy, rates.injury, rates.death);
        const HurricaneResult hu = Ann_Hurricane(130, WindRangeThresholds, "Texas", 150, rates.injury, rates.death);
        const double cost = Ann_Cost(250000, 2000, 30, 0.07f);
        benchmark::DoNotOptimize(h);
        benchmark::DoNotOptimize(b.total + hu.total + cost);
    }
}
BENCHMARK(BM_WholeAnalysis);
}  // namespace
