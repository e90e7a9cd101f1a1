#include "model/swing_bars.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace verrane::model;

namespace {

SensitivityResult WithBase(std::optional<double> ratio) {
    SensitivityResult r;
    r.base.benefitCostRatio = ratio;
    return r;
}

void Add(SensitivityResult& r, const char* input, const char* value, std::optional<double> ratio) {
    Variation v;
    v.input = input;
    v.value = value;
    v.figures.benefitCostRatio = ratio;
    r.variations.push_back(v);
}

}  // namespace

TEST(SwingBars, OneBarPerInputFromItsLowestToItsHighestRatio) {
    auto r = WithBase(2.0);
    Add(r, "DiscountRate", "2", 3.5);
    Add(r, "SelectionRadius", "0", 0.8);
    Add(r, "DiscountRate", "10", 1.25);
    Add(r, "DiscountRate", "3", 3.0);
    Add(r, "SelectionRadius", "250", 2.5);
    const auto bars = SwingBars(r);
    ASSERT_EQ(bars.size(), 2u);
    // Radius swings 1.7, the rate 2.25: the rate is on top.
    EXPECT_EQ(bars[0].input, "DiscountRate");
    EXPECT_EQ(*bars[0].low, 1.25);
    EXPECT_EQ(bars[0].lowValue, "10");
    EXPECT_EQ(*bars[0].high, 3.5);
    EXPECT_EQ(bars[0].highValue, "2");
    EXPECT_DOUBLE_EQ(bars[0].Swing(), 2.25);
    EXPECT_EQ(bars[1].input, "SelectionRadius");
    EXPECT_EQ(bars[1].lowValue, "0");
    EXPECT_EQ(bars[1].highValue, "250");
}

// The entered value is one of the input's values: a bar reaches the base,
// so an input tried at one other value still shows how far it moves.
TEST(SwingBars, BarsReachTheBaseRatio) {
    auto r = WithBase(4.0);
    Add(r, "SelectionMethod", "1", 2.5);
    Add(r, "ProjectCost", "75000", 5.0);
    Add(r, "ProjectCost", "125000", 4.5);
    const auto bars = SwingBars(r);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].input, "SelectionMethod");
    EXPECT_EQ(*bars[0].low, 2.5);
    EXPECT_EQ(bars[0].lowValue, "1");
    EXPECT_EQ(*bars[0].high, 4.0);
    EXPECT_EQ(bars[0].highValue, "");  // the base's own end
    EXPECT_EQ(*bars[1].low, 4.0);
    EXPECT_EQ(bars[1].lowValue, "");
    // A variation with exactly the base ratio names its value.
    auto tie = WithBase(4.0);
    Add(tie, "DiscountRate", "7", 4.0);
    Add(tie, "DiscountRate", "10", 3.0);
    EXPECT_EQ(SwingBars(tie)[0].highValue, "7");
}

TEST(SwingBars, EqualSwingsKeepTheirOrderAndBarsWithoutRatioComeLast) {
    auto r = WithBase(std::nullopt);  // annualized cost 0: no base ratio
    Add(r, "MaintenanceCost", "0", std::nullopt);
    Add(r, "InjuryCost", "7500", 1.0);
    Add(r, "InjuryCost", "12500", 2.0);
    Add(r, "DeathCost", "4875000", 3.0);
    Add(r, "DeathCost", "8125000", 4.0);
    Add(r, "ProjectCost", "0", std::numeric_limits<double>::quiet_NaN());
    Add(r, "ProjectCost", "5", std::numeric_limits<double>::infinity());
    Add(r, "HurricaneOccupancy", "0.75", 1.5);
    Add(r, "HurricaneOccupancy", "1.25", std::nullopt);
    const auto bars = SwingBars(r);
    ASSERT_EQ(bars.size(), 5u);
    EXPECT_EQ(bars[0].input, "InjuryCost");
    EXPECT_EQ(bars[1].input, "DeathCost");
    // With no base ratio a bar spans its variations only.
    EXPECT_EQ(*bars[1].low, 3.0);
    EXPECT_EQ(bars[2].input, "HurricaneOccupancy");
    EXPECT_EQ(bars[2].Swing(), 0.0);
    EXPECT_EQ(bars[2].undefinedValues, std::vector<std::string>{"1.25"});
    EXPECT_EQ(bars[3].input, "MaintenanceCost");
    EXPECT_FALSE(bars[3].low.has_value());
    // Not-a-number and infinite ratios are no ratios.
    EXPECT_EQ(bars[4].input, "ProjectCost");
    EXPECT_FALSE(bars[4].high.has_value());
    EXPECT_EQ(bars[4].undefinedValues, (std::vector<std::string>{"0", "5"}));
}

TEST(SwingBars, TheAxisHoldsEveryBarTheBaseAndTheRatioOne) {
    auto r = WithBase(40.0);
    Add(r, "DiscountRate", "2", 55.0);
    Add(r, "DiscountRate", "10", 31.0);
    const auto axis = AxisFor(SwingBars(r), r.base.benefitCostRatio);
    EXPECT_LE(axis.from, 0.0);
    EXPECT_GT(axis.to, 55.0);
    EXPECT_GT(axis.step, 0.0);
    // Ticks land on whole steps.
    EXPECT_NEAR(std::remainder(axis.to, axis.step), 0.0, 1e-9);
    EXPECT_LE((axis.to - axis.from) / axis.step, 13.0);

    // Ratios below 1 only: the axis still shows 1.
    auto low = WithBase(0.3);
    Add(low, "ProjectCost", "1", 0.2);
    const auto lowAxis = AxisFor(SwingBars(low), low.base.benefitCostRatio);
    EXPECT_GT(lowAxis.to, 1.0);
    // Nothing to draw at all.
    const auto empty = AxisFor({}, std::nullopt);
    EXPECT_LT(empty.from, empty.to);
    EXPECT_TRUE(std::isfinite(empty.step) && empty.step > 0);
}
