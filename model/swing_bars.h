#pragma once
// The bars of the sensitivity chart: one per input, spanning the benefit-cost
// ratios its variations give, ordered by how far they swing. No Qt, no I/O.
#include <optional>
#include <string>
#include <vector>

#include "model/sensitivity.h"

namespace verrane::model {

struct SwingBar {
    std::string input;  // the line-table name of its first variation
    std::string name;   // the user's name of the input (the input when none)
    // The lowest and highest ratio over the input's variations and the base
    // (the input at its entered value). Empty when no variation of the input
    // has a ratio and neither has the base.
    std::optional<double> low, high;
    // The typed values that give the two ends; empty where the end is the
    // base's own ratio.
    std::string lowValue, highValue;
    // The same in the user's terms ("250 miles"); "as entered" for the base.
    std::string lowShown, highShown;
    // Values whose re-analysis has no ratio (an annualized cost of 0).
    std::vector<std::string> undefinedValues;

    double Swing() const { return low && high ? *high - *low : 0; }
};

// Groups the variations by name (by input where a variation has no name), in order of first appearance, and sorts
// the bars by swing, largest first; equal swings keep that order, and bars
// without a ratio come last. A ratio that is not a finite number counts as
// undefined.
std::vector<SwingBar> SwingBars(const SensitivityResult& result);

// Lower and upper end of a chart axis holding every bar, the base ratio and
// the ratio 1, widened to whole steps of `step` so ticks fall on round values.
struct RatioAxis {
    double from = 0, to = 1, step = 0.5;
};
RatioAxis AxisFor(const std::vector<SwingBar>& bars, std::optional<double> baseRatio);

}  // namespace verrane::model
