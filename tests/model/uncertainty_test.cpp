// The interval from the tornado record, against computations that share no
// code with it: Gamma quantiles from the incomplete gamma function, and the
// tornado benefits as a sum of per-class contributions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>

#include "model/uncertainty.h"

namespace verrane::model {
namespace {

// A region with the given counts over 74 years (each tornado in one county of
// it, so pooled and distinct counts agree); every class strikes, from
// 6 am to 10 pm, with 40 people in the building all day.
UncertaintyInput Region(const std::array<double, 6>& counts) {
    UncertaintyInput in;
    in.countByF = counts;
    in.tornadoesByF = counts;
    in.recordYears = 74;
    for (size_t i = 0; i < 6; ++i) {
        in.strikeProbabilityByF[i] = counts[i] > 0 ? 1e-5 * static_cast<double>(i + 1) * counts[i] / 74 : 0;
        for (size_t h = 6; h < 22; ++h) in.hourlyFraction[i][h] = 1.0 / 16;
    }
    in.tornadoHourlyOccupancy.fill(40);
    in.injury.cost = 12500;
    in.injury.pre.fill(0.2f);
    in.injury.post.fill(0.01);
    in.death.cost = 2200000;
    in.death.pre.fill(0.05f);
    in.death.post.fill(0.001);
    in.hurricaneBenefits = 1500;
    in.annualizedCost = 20000;
    return in;
}

double Benefits(const UncertaintyInput& in, const std::array<double, 6>& strike) {
    return Ann_Benefit(strike, in.hourlyFraction, in.tornadoHourlyOccupancy, in.injury, in.death).total;
}

// Regularized lower incomplete gamma P(a, x): series below a + 1, Lentz's
// continued fraction for the upper part above.
double LowerGammaP(double a, double x) {
    if (x <= 0) return 0;
    const double lead = std::exp(-x + a * std::log(x) - std::lgamma(a));
    if (x < a + 1) {
        double term = 1 / a, sum = term;
        for (int n = 1; n < 1000 && std::fabs(term) > 1e-16 * std::fabs(sum); ++n) {
            term *= x / (a + n);
            sum += term;
        }
        return sum * lead;
    }
    const double tiny = 1e-300;
    double b = x + 1 - a, c = 1 / tiny, d = 1 / b, h = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < tiny) d = tiny;
        c = b + an / c;
        if (std::fabs(c) < tiny) c = tiny;
        d = 1 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1) < 1e-16) break;
    }
    return 1 - lead * h;
}

double GammaQuantile(double a, double p) {
    double lo = 0, hi = a + 20 * std::sqrt(a) + 20;
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        (LowerGammaP(a, mid) < p ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

TEST(Uncertainty, OneClassFollowsTheGammaQuantilesOfItsDistinctTornadoes) {
    // Only F3 tornadoes, n of them, each counted in three counties of the
    // region: the benefits are the base benefits times G / n, G drawn from
    // Gamma(n + 0.5), whatever the pooled count.
    for (double n : {2.0, 16.0, 150.0}) {
        UncertaintyInput in = Region({0, 0, 0, n, 0, 0});
        in.countByF[3] = 3 * n;
        const double base = Benefits(in, in.strikeProbabilityByF);
        ASSERT_GT(base, 0);
        const Uncertainty u = DrawUncertainty(in);
        EXPECT_EQ(u.draws, 10000);
        EXPECT_EQ(u.seed, 1u);
        EXPECT_EQ(u.tornadoes[3], n);
        const double ps[3] = {0.05, 0.5, 0.95};
        for (size_t k = 0; k < 3; ++k) {
            const double a = n + 0.5, q = GammaQuantile(a, ps[k]);
            // Four standard errors of a percentile of 10,000 draws:
            // sqrt(p (1 - p) / 10000) / density at the quantile.
            const double density = std::exp((a - 1) * std::log(q) - q - std::lgamma(a));
            const double error = 4 * std::sqrt(ps[k] * (1 - ps[k]) / 10000) / density;
            EXPECT_NEAR(u.tornadoBenefits[k], base * q / n, base * error / n) << "N " << n << " p " << ps[k];
            EXPECT_DOUBLE_EQ(u.benefitCostRatio[k], (u.tornadoBenefits[k] + 1500) / 20000);
        }
        EXPECT_LT(u.tornadoBenefits[0], u.tornadoBenefits[1]);
        EXPECT_LT(u.tornadoBenefits[1], u.tornadoBenefits[2]);
    }
}

TEST(Uncertainty, EqualsTheSumOfPerClassContributionsDrawForDraw) {
    const UncertaintyInput in = Region({120, 80, 30, 16, 3, 0});
    // The benefits are linear in each class's strike probability.
    std::array<double, 6> share{};
    for (size_t i = 0; i < 6; ++i) {
        std::array<double, 6> only{};
        only[i] = in.strikeProbabilityByF[i];
        share[i] = Benefits(in, only);
    }
    std::mt19937_64 engine(1);
    std::array<std::optional<std::gamma_distribution<double>>, 6> gamma;
    for (size_t i = 0; i < 6; ++i)
        if (in.countByF[i] > 0) gamma[i].emplace(in.countByF[i] + 0.5, 1.0);
    std::vector<double> sums;
    for (int d = 0; d < 10000; ++d) {
        double sum = 0;
        for (size_t i = 0; i < 6; ++i)
            if (gamma[i]) sum += share[i] * (*gamma[i])(engine) / in.countByF[i];
        sums.push_back(sum);
    }
    std::sort(sums.begin(), sums.end());
    auto at = [&sums](double p) {  // linear between closest ranks
        const double h = 9999 * p;
        const size_t lo = static_cast<size_t>(h);
        return sums[lo] + (h - static_cast<double>(lo)) * (sums[lo + 1] - sums[lo]);
    };
    const Uncertainty u = DrawUncertainty(in);
    const double ps[3] = {0.05, 0.5, 0.95};
    for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(u.tornadoBenefits[k], at(ps[k]), 1e-9 * at(ps[k])) << ps[k];
}

TEST(Uncertainty, ClassesWithoutTornadoesOrStrikeStayAtZero) {
    // No tornadoes at all: no benefits in any draw.
    const Uncertainty none = DrawUncertainty(Region({0, 0, 0, 0, 0, 0}));
    for (size_t k = 0; k < 3; ++k) EXPECT_EQ(none.tornadoBenefits[k], 0);
    // A class with tornadoes but no strike probability (its record lacks
    // areas) draws nothing; the other classes vary as before.
    UncertaintyInput lacking = Region({0, 0, 0, 16, 4, 0});
    const Uncertainty f3Only = DrawUncertainty(Region({0, 0, 0, 16, 0, 0}));
    lacking.strikeProbabilityByF[4] = 0;
    const Uncertainty u = DrawUncertainty(lacking);
    for (size_t k = 0; k < 3; ++k) EXPECT_EQ(u.tornadoBenefits[k], f3Only.tornadoBenefits[k]);
}

TEST(Uncertainty, RatioIsUndefinedWithoutCostAndTheSeedRepeats) {
    UncertaintyInput in = Region({50, 20, 10, 16, 2, 1});
    in.annualizedCost = 0;
    const Uncertainty u = DrawUncertainty(in);
    EXPECT_FALSE(u.ratioDefined);
    for (double r : u.benefitCostRatio) EXPECT_TRUE(std::isfinite(r));
    const Uncertainty again = DrawUncertainty(in);
    EXPECT_EQ(u.tornadoBenefits, again.tornadoBenefits);
    EXPECT_NE(DrawUncertainty(in, 10000, 2).tornadoBenefits, u.tornadoBenefits);
}

TEST(Uncertainty, PercentilesInterpolateBetweenClosestRanks) {
    const std::vector<double> v{1, 2, 4, 8, 16};
    EXPECT_EQ(Percentile(v, 0), 1);
    EXPECT_EQ(Percentile(v, 0.5), 4);
    EXPECT_EQ(Percentile(v, 1), 16);
    EXPECT_DOUBLE_EQ(Percentile(v, 0.05), 1.2);   // h = 0.2
    EXPECT_DOUBLE_EQ(Percentile(v, 0.95), 14.4);  // h = 3.8
    EXPECT_EQ(Percentile({7}, 0.95), 7);
}

}  // namespace
}  // namespace verrane::model
