#include "model/hazard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "model/rates.h"

using namespace verrane::model;

namespace {
void ExpectRounded(const std::array<double, 10>& p, const std::array<double, 9>& expected) {
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(p[i], expected[i], 5e-7) << "threshold " << i;
    EXPECT_EQ(p[9], 0.0);
}
double Set0(double v, double dwind) { return std::exp((v / dwind - 0.60957337) / -0.09934831); }
double Set1(double v, double dwind) { return std::exp((v / dwind - 0.41041414) / -0.14836141); }

TornadoStats Stats(double n, double lf, double af) {
    TornadoStats s;
    s.recordYears = 50;
    s.sampleRegionArea = 1000;
    s.countyArea = 500;
    s.countByF[2] = n;
    s.avgPathLengthByF[2] = lf;
    s.avgPathAreaByF[2] = af;
    return s;
}
}  // namespace

TEST(HProbs, WorkedValues) {
    ExpectRounded(HProbs(90, WindRangeThresholds, "Kansas"), {1, 1, 0.084082, 0.000858, 0.000092, 0.000006, 0, 0, 0});
    ExpectRounded(HProbs(130, WindRangeThresholds, "Florida"),
                  {1, 1, 0.293459, 0.035021, 0.010575, 0.001526, 0.000138, 0.00004, 0.000001});
}

TEST(HProbs, CoefficientSetBoundaries) {
    const auto at100 = HProbs(100, WindRangeThresholds, "Texas");
    for (int i = 2; i < 9; ++i) EXPECT_DOUBLE_EQ(at100[i], Set0(WindRangeThresholds[i], 100));
    const auto above = HProbs(100.5, WindRangeThresholds, "Texas");
    EXPECT_DOUBLE_EQ(above[2], Set1(77, 100.5));
    EXPECT_DOUBLE_EQ(above[3], Set0(118, 100.5));
    // A threshold equal to Dwind belongs to set 0.
    const auto equal = HProbs(118, WindRangeThresholds, "Texas");
    EXPECT_DOUBLE_EQ(equal[3], Set0(118, 118));
    EXPECT_DOUBLE_EQ(equal[2], Set1(77, 118));
}

TEST(HProbs, AlaskaRuleIsCaseSensitive) {
    const auto alaska = HProbs(130, WindRangeThresholds, "Alaska");
    EXPECT_DOUBLE_EQ(alaska[4], std::exp((138.0 / 130 - 0.68081467) / -0.081524829));
    const auto capitals = HProbs(130, WindRangeThresholds, "ALASKA");
    EXPECT_DOUBLE_EQ(capitals[4], HProbs(130, WindRangeThresholds, "Florida")[4]);
    EXPECT_NE(alaska[4], capitals[4]);
}

TEST(HProbs, NoDesignWindSpeedMeansNoHazard) {
    for (double d : {0.0, -5.0, std::nan("")}) {
        const auto p = HProbs(d, WindRangeThresholds, "Alaska");
        for (double v : p) EXPECT_EQ(v, 0.0) << d;
    }
}

TEST(FProbs, StrikeAreaOfTheWorkedBuilding) {
    // R1 = (50 / 50) x (500 / 1000) = 0.5 per year.
    const FProbsResult r = FProbs(Stats(50, 26400, 100), 100, 50);
    EXPECT_DOUBLE_EQ(r.annualCountByF[2], 0.5);
    EXPECT_DOUBLE_EQ(r.annualPathAreaByF[2], 50);
    const double d = std::sqrt(12500.0);
    EXPECT_DOUBLE_EQ(r.effectiveAreaByF[2], 100 + 0.5 * 26400 * d / 43560);
    EXPECT_NEAR(r.effectiveAreaByF[2], 133.88, 0.005);
    EXPECT_DOUBLE_EQ(r.strikeProbabilityByF[2], r.effectiveAreaByF[2] / 320000.0);
    EXPECT_EQ(r.reportCountyArea, 500.0f);
    EXPECT_EQ(r.reportRegionArea, 1000);
    EXPECT_EQ(r.reportRecordYears, 50);
    EXPECT_EQ(r.reportPathLengthByF[2], 26400);
    EXPECT_FALSE(r.lacksData);
    EXPECT_TRUE(r.insufficient);
}

TEST(FProbs, CountyAcresRoundedToSingle) {
    TornadoStats s = Stats(10, 1000, 1);
    s.countyArea = 0.1f;  // 0.1f x 640 is not the double product
    const FProbsResult r = FProbs(s, 10, 10);
    EXPECT_DOUBLE_EQ(r.strikeProbabilityByF[2], r.effectiveAreaByF[2] / static_cast<double>(0.1f * 640.0f));
}

TEST(FProbs, ZeroClassesAndSufficiency) {
    TornadoStats s = Stats(0, 0, 0);
    s.countByF[3] = 16;
    s.avgPathLengthByF[3] = 5000;
    const FProbsResult r = FProbs(s, 100, 50);
    EXPECT_FALSE(r.insufficient);
    EXPECT_GT(r.strikeProbabilityByF[3], 0);
    for (int i : {0, 1, 2, 4, 5}) {
        EXPECT_EQ(r.annualCountByF[i], 0);
        EXPECT_EQ(r.strikeProbabilityByF[i], 0);
    }
    s.countByF[3] = 15;
    EXPECT_TRUE(FProbs(s, 100, 50).insufficient);
    EXPECT_EQ(std::string(kInsufficientNote),
              "Selected counties do not have sufficient number of tornadoes for computing signficant hazard "
              "statistics.");
}

TEST(FProbs, MissingYearsOrAreasGiveZeroAndAFlag) {
    auto check = [](TornadoStats s, const char* what) {
        const FProbsResult r = FProbs(s, 100, 50);
        EXPECT_TRUE(r.lacksData) << what;
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(r.annualCountByF[i], 0) << what;
            EXPECT_EQ(r.annualPathAreaByF[i], 0) << what;
            EXPECT_EQ(r.effectiveAreaByF[i], 0) << what;
            EXPECT_EQ(r.strikeProbabilityByF[i], 0) << what;
        }
    };
    TornadoStats s = Stats(5, 1000, 10);
    s.recordYears = 0;
    check(s, "years");
    s = Stats(5, 1000, 10);
    s.sampleRegionArea = 0;
    check(s, "region");
    s = Stats(5, 1000, 10);
    s.countyArea = 0;
    check(s, "county");
    s = Stats(5, 1000, 10);
    s.countyArea = -9;  // "no data" in the county table
    check(s, "negative county");
    s = Stats(5, std::numeric_limits<double>::quiet_NaN(), 10);
    check(s, "NaN length");

    // Missing data does not matter when no class has tornadoes.
    TornadoStats none;
    EXPECT_FALSE(FProbs(none, 100, 50).lacksData);
}
