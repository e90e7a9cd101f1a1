#include "model/benefits.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/hazard.h"
#include "model/rounding.h"

using namespace verrane::model;

namespace {
Outcome Flat(float cost, float pre, double post) {
    Outcome o;
    o.cost = cost;
    o.pre.fill(pre);
    o.post.fill(post);
    return o;
}
}  // namespace

TEST(AnnCost, CapitalRecoveryPlusMaintenance) {
    const double c = Ann_Cost(100000, 0, 50, 7.0f / 100.0f);
    EXPECT_NEAR(c, 7246, 1);
    EXPECT_NEAR(c / 100000, 0.07246, 5e-6);
    EXPECT_NEAR(Ann_Cost(100000, 500, 50, 0.07f), c + 500, 1e-9);
    EXPECT_EQ(Ann_Cost(100000, 500, 0, 0.07f), 0);
}

TEST(AnnCost, LifetimeRoundsHalvesToEven) {
    EXPECT_EQ(ToInt16HalfEven(2.5f), 2);
    EXPECT_EQ(ToInt16HalfEven(3.5f), 4);
    EXPECT_DOUBLE_EQ(Ann_Cost(1000, 0, ToInt16HalfEven(2.5f), 0.1f), Ann_Cost(1000, 0, 2, 0.1f));
    EXPECT_DOUBLE_EQ(Ann_Cost(1000, 0, ToInt16HalfEven(3.5f), 0.1f), Ann_Cost(1000, 0, 4, 0.1f));
}

// G finite but G r C beyond double (10,400 years at 7 %): the factor's limit r.
TEST(AnnCost, FiniteFactorWhoseProductOverflowsStaysFinite) {
    const double c = Ann_Cost(100000, 0, 10400, 0.07f);
    EXPECT_TRUE(std::isfinite(c));
    EXPECT_NEAR(c, 100000.0 * 0.07f, 1e-6);
    for (int16_t n : {int16_t{32767}, int16_t{-32768}, int16_t{10400}})
        for (float r : {0.07f, -0.5f, -1.0f, -2.5f, 3.4e36f})
            EXPECT_TRUE(std::isfinite(Ann_Cost(3.4e38f, 3.4e38f, n, r))) << n << " " << r;
}

TEST(AnnCost, ZeroRateIsTheStraightLineLimit) {
    EXPECT_DOUBLE_EQ(Ann_Cost(100000, 250, 50, 0.0f), 100000.0 / 50 + 250);
    EXPECT_DOUBLE_EQ(Ann_Cost(100000, 0, 50, 1e-45f), 2000.0);  // G rounds to 1
    const double huge = Ann_Cost(1000, 0, 50, 1e30f);           // G overflows
    EXPECT_TRUE(std::isfinite(huge));
    EXPECT_GT(huge, 0);
}

TEST(AnnBenefit, HourByHourWithClassRanges) {
    std::array<double, 6> s{};
    s[3] = 0.001;
    std::array<std::array<double, 24>, 6> hourly{};
    hourly[3][14] = 0.25;
    hourly[3][15] = 0.75;
    std::array<float, 24> occ{};
    occ[14] = 100;
    occ[15] = 0;  // no one there: adds nothing
    Outcome injury = Flat(1000, 0, 0);
    Outcome death = Flat(2000000, 0, 0);
    death.pre[6] = 0.25f;  // F3 uses range 6 ("195 - 210")
    death.post[6] = 0.05;
    death.pre[5] = 0.9f;  // range 5 is never used by tornadoes
    const BenefitResult r = Ann_Benefit(s, hourly, occ, injury, death);
    const double e = (0.25 * 0.001) * 100.0;
    const double dD = 0.25 - 0.05;
    EXPECT_DOUBLE_EQ(r.deathsAvoided, e * dD);
    EXPECT_DOUBLE_EQ(r.total, e * (2000000.0 * dD));
    EXPECT_EQ(r.injuriesAvoided, 0);
}

TEST(AnnBenefit, NonPositiveGainAddsNothing) {
    std::array<double, 6> s;
    s.fill(0.01);
    std::array<std::array<double, 24>, 6> hourly;
    for (auto& h : hourly) h.fill(1.0 / 24);
    std::array<float, 24> occ;
    occ.fill(50);
    // Deaths avoided alone are positive, but the injuries added cost more.
    Outcome injury = Flat(1000, 0.1f, 0.5);
    Outcome death = Flat(1000, 0.2f, 0.1);
    const BenefitResult r = Ann_Benefit(s, hourly, occ, injury, death);
    EXPECT_EQ(r.total, 0);
    EXPECT_EQ(r.deathsAvoided, 0);
    EXPECT_EQ(r.injuriesAvoided, 0);
    const HurricaneResult h = Ann_Hurricane(130, WindRangeThresholds, "Florida", 50, injury, death);
    EXPECT_EQ(h.total, 0);
    EXPECT_EQ(h.deathsAvoided, 0);
    EXPECT_EQ(h.injuriesAvoided, 0);
}

TEST(AnnBenefit, NegativeFractionsOrProbabilitiesAreZero) {
    std::array<double, 6> s{};
    s[0] = -0.5;
    s[1] = 0.01;
    std::array<std::array<double, 24>, 6> hourly{};
    hourly[0][0] = 1;
    hourly[1][0] = -1;
    std::array<float, 24> occ;
    occ.fill(10);
    const Outcome injury = Flat(1000, 0.5f, 0.0);
    const Outcome death = Flat(1000, 0.5f, 0.0);
    const BenefitResult r = Ann_Benefit(s, hourly, occ, injury, death);
    EXPECT_EQ(r.total, 0);
}

TEST(AnnHurricane, RangeProbabilitiesAndBenefits) {
    const Outcome injury = Flat(10000, 0.1f, 0.0);
    Outcome death = Flat(1000000, 0.0f, 0.0);
    death.pre[2] = 0.01f;
    const HurricaneResult r = Ann_Hurricane(130, WindRangeThresholds, "Florida", 200, injury, death);
    const auto h = HProbs(130, WindRangeThresholds, "Florida");
    double total = 0, deaths = 0, injuries = 0;
    for (int k = 0; k < 9; ++k) {
        EXPECT_DOUBLE_EQ(r.rangeProbability[k], h[k] - h[k + 1]);
        const double q = (h[k] - h[k + 1]) * 200;
        const double dI = static_cast<double>(0.1f), dD = k == 2 ? static_cast<double>(0.01f) : 0.0;
        total += q * (10000 * dI + 1000000 * dD);
        deaths += q * dD;
        injuries += q * dI;
    }
    EXPECT_EQ(r.rangeProbability[0], 0);  // thresholds 0 and 45 are both capped at 1
    EXPECT_DOUBLE_EQ(r.rangeProbability[8], h[8]);
    EXPECT_DOUBLE_EQ(r.total, total);
    EXPECT_DOUBLE_EQ(r.deathsAvoided, deaths);
    EXPECT_DOUBLE_EQ(r.injuriesAvoided, injuries);
    EXPECT_EQ(r.reportHurricaneWind, 130);

    const HurricaneResult none = Ann_Hurricane(0, WindRangeThresholds, "Florida", 200, injury, death);
    EXPECT_EQ(none.total, 0);
    EXPECT_EQ(none.deathsAvoided, 0);
    for (double p : none.rangeProbability) EXPECT_EQ(p, 0);
}
