#include "model/rates.h"

#include <gtest/gtest.h>

#include <string>

using namespace verrane::model;

namespace {
RateInputs FromDefaults(int constructionType, bool window, int designSpeed) {
    const DamagePercents d = DefaultDamagePercents(constructionType, window);
    const auto eff = DefaultEffectiveness(designSpeed);
    RateInputs in;
    for (int k = 0; k < 9; ++k) {
        // The screens pass the numeric value of the cell text, i.e. the short
        // decimal ("0.6"), not the float widened to double.
        in.injuryPercent[k] = std::stod(std::to_string(d.injury[k]));
        in.deathPercent[k] = std::stod(std::to_string(d.death[k]));
        in.injuryEffectiveness[k] = eff[k];
        in.deathEffectiveness[k] = eff[k];
    }
    return in;
}
}  // namespace

TEST(Rates, DefaultTables) {
    const DamagePercents concrete = DefaultDamagePercents(1, false);
    EXPECT_EQ(concrete.injury[1], 0.6f);
    EXPECT_EQ(concrete.injury[5], 85.0f);
    EXPECT_EQ(concrete.death[2], 0.3f);
    EXPECT_EQ(DefaultDamagePercents(1, true).death[3], 0.5f);
    EXPECT_EQ(DefaultDamagePercents(5, true).death[2], 0.7f);
    EXPECT_EQ(DefaultDamagePercents(3, false).injury[3], 85.0f);
    for (int t : {0, 6, -1, 7}) {
        const DamagePercents z = DefaultDamagePercents(t, true);
        for (int k = 0; k < 9; ++k) EXPECT_EQ(z.injury[k] + z.death[k], 0.0f) << t;
    }
    // No default pair exceeds 100 %.
    for (int t = 1; t <= 5; ++t)
        for (bool w : {false, true}) {
            const DamagePercents p = DefaultDamagePercents(t, w);
            for (int k = 0; k < 9; ++k) EXPECT_FALSE(PairExceeds100(p.injury[k], p.death[k])) << t << w << k;
        }

    EXPECT_EQ(DefaultEffectiveness(1), (std::array<float, 9>{100, 100, 100, 98, 85, 55, 20, 0, 0}));
    EXPECT_EQ(DefaultEffectiveness(4)[8], 85.0f);
    EXPECT_EQ(DefaultEffectiveness(0), (std::array<float, 9>{}));
    EXPECT_EQ(DefaultEffectiveness(-1), (std::array<float, 9>{}));
}

TEST(Rates, SinglePrecisionFractionsDecideTheShownValue) {
    const RateResult r = RecalculateRates(FromDefaults(1, false, 1));
    EXPECT_NEAR(r.postInjuryPercent[4], 4.5, 1e-5);
    EXPECT_GT(r.postInjuryPercent[5], 38.25);  // shown 38.3, not 38.2
    EXPECT_LT(r.postInjuryPercent[5], 38.2501);
    EXPECT_GT(r.postDeathPercent[5], 6.75);  // shown 6.8
    EXPECT_EQ(r.injury.pre[5], 0.85f);
    EXPECT_EQ(r.postInjuryPercent[0], 0.0);  // effectiveness 100

    RateInputs in;
    in.deathPercent[4] = 3;
    in.deathEffectiveness[4] = 85;
    in.injuryCost = 1000;
    in.deathCost = 2000;
    const RateResult t = RecalculateRates(in);
    EXPECT_LT(t.postDeathPercent[4], 0.45);  // shown 0.4, not 0.5
    EXPECT_GT(t.postDeathPercent[4], 0.4499);
    EXPECT_EQ(t.death.pre[4], 0.03f);
    EXPECT_EQ(t.injury.cost, 1000.0f);
    EXPECT_EQ(t.death.cost, 2000.0f);
}

TEST(Rates, NoDesignSpeedLeavesPreMitigationValues) {
    const RateResult r = RecalculateRates(FromDefaults(1, false, 0));
    EXPECT_NEAR(r.postInjuryPercent[5], 85.0, 1e-5);
    EXPECT_DOUBLE_EQ(r.injury.post[5], static_cast<double>(r.injury.pre[5]));
}

TEST(Rates, PairSumInSinglePrecision) {
    EXPECT_FALSE(PairExceeds100(85, 15));  // exactly 1 in float
    EXPECT_FALSE(PairExceeds100(70, 30));
    EXPECT_FALSE(PairExceeds100(75, 25));
    EXPECT_TRUE(PairExceeds100(90, 15));
    EXPECT_TRUE(PairExceeds100(85, 15.001));
}

// The grid indices are those the project file and the reports name
// (Text2(10) to Text2(88) for the user columns), so they must not drift.
TEST(RateGrid, CellIndicesMatchTheScreenLayout) {
    EXPECT_EQ(RateCell(RateTable::Injury, RateColumn::DefaultPercent, 0), 0u);
    EXPECT_EQ(RateCell(RateTable::Injury, RateColumn::UserPercent, 8), 18u);
    EXPECT_EQ(RateCell(RateTable::Injury, RateColumn::PostPercent, 0), 40u);
    EXPECT_EQ(RateCell(RateTable::Death, RateColumn::DefaultPercent, 0), 50u);
    EXPECT_EQ(RateCell(RateTable::Death, RateColumn::UserEffectiveness, 8), 88u);
    EXPECT_EQ(RateCell(RateTable::Death, RateColumn::PostPercent, 8), kRateCellCount - 1);
    const std::array<std::size_t, 4> user{10, 30, 60, 80};
    EXPECT_EQ(UserRateCells(0), user);
    EXPECT_EQ(WindRangeNames.front(), std::string("0 - 44"));
    EXPECT_EQ(WindRangeNames.back(), std::string("263 +"));
}
