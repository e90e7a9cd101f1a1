#include "model/analysis.h"

#include <gtest/gtest.h>

#include "model/benefits.h"

using namespace verrane::model;

namespace {
// One F3 tornado a year over a region of one square mile that holds the
// county: every class-3 strike is certain, so the benefits are hand-countable.
AnalysisInput Certain() {
    AnalysisInput in;
    TornadoStats s;
    s.countByF[3] = 10;
    s.avgPathLengthByF[3] = 5280;
    s.avgPathAreaByF[3] = 1;
    s.hourlyFractionByF[3][14] = 1;
    s.recordYears = 10;
    s.sampleRegionArea = 1;
    s.countyArea = 1;
    in.record = s;
    in.buildingLength = 100;
    in.buildingWidth = 50;
    in.tornadoHourlyOccupancy.fill(10);
    in.death.cost = 1000;
    in.death.pre.fill(1.0f);
    in.hurricaneWind = 0;
    in.windRangeThresholds = WindRangeThresholds;
    in.projectStateName = "Kansas";
    in.projectCost = 100000;
    in.lifetime = 50;
    in.discountRate = 0.07f;
    in.lifetimeYears = 50;
    return in;
}
}  // namespace

// The result is the sum of its parts, each from the model function that owns
// it, with deaths added tornado first.
TEST(Analyze, CombinesTheModelFunctions) {
    const AnalysisInput in = Certain();
    const AnalysisResult r = Analyze(in);
    ASSERT_TRUE(r.tornado);
    const FProbsResult f = FProbs(*in.record, in.buildingLength, in.buildingWidth);
    EXPECT_EQ(r.tornado->strikeProbabilityByF, f.strikeProbabilityByF);
    const BenefitResult b = Ann_Benefit(f.strikeProbabilityByF, in.record->hourlyFractionByF, in.tornadoHourlyOccupancy,
                                        in.injury, in.death);
    EXPECT_EQ(r.tornadoBenefits, b.total);
    EXPECT_GT(r.tornadoBenefits, 0);
    EXPECT_EQ(r.annualizedCost, Ann_Cost(100000, 0, 50, 0.07f));
    EXPECT_EQ(r.totalBenefits, r.tornadoBenefits + r.hurricaneBenefits);
    EXPECT_EQ(r.netBenefits, r.totalBenefits - r.annualizedCost);
    ASSERT_TRUE(r.benefitCostRatio);
    EXPECT_EQ(*r.benefitCostRatio, r.totalBenefits / r.annualizedCost);
    EXPECT_EQ(r.livesSaved, 50 * r.annualDeathsAvoided);
    // Fewer than 16 F3 tornadoes are not enough for a reliable estimate.
    EXPECT_EQ(r.sufficiencyNote, kInsufficientNote);
    EXPECT_EQ(r.countiesNote, "");
}

TEST(Analyze, WithoutTheRecordTheTornadoPartIsEmptyAndZero) {
    AnalysisInput in = Certain();
    in.record.reset();
    in.userSelectedCounties = true;
    in.userDefinedRates = true;
    const AnalysisResult r = Analyze(in);
    EXPECT_FALSE(r.tornado);
    EXPECT_EQ(r.tornadoBenefits, 0);
    EXPECT_EQ(r.sufficiencyNote, "");
    EXPECT_EQ(r.countiesNote, kUserCountiesNote);
    EXPECT_EQ(r.userRatesNote, kUserRatesNote);
}

TEST(Analyze, NoCostLeavesTheRatioUndefinedNotInfinite) {
    AnalysisInput in = Certain();
    in.projectCost = 0;
    const AnalysisResult r = Analyze(in);
    EXPECT_EQ(r.annualizedCost, 0);
    EXPECT_FALSE(r.benefitCostRatio);
    EXPECT_EQ(r.netBenefits, r.totalBenefits);
}
