#include "model/swing_bars.h"

#include <algorithm>
#include <cmath>

namespace verrane::model {

namespace {

std::optional<double> Finite(const std::optional<double>& v) {
    if (v && std::isfinite(*v)) return v;
    return std::nullopt;
}

// Extends the bar's span to `ratio`; a value already at an end keeps it.
void Take(SwingBar& bar, double ratio, const Variation& v) {
    const std::string& shown = v.shown.empty() ? v.value : v.shown;
    if (!bar.low || ratio < *bar.low) {
        bar.low = ratio;
        bar.lowValue = v.value;
        bar.lowShown = shown;
    }
    if (!bar.high || ratio > *bar.high) {
        bar.high = ratio;
        bar.highValue = v.value;
        bar.highShown = shown;
    }
}

// 1, 2 or 5 times a power of ten, about a sixth of the span.
double NiceStep(double span) {
    if (!(span > 0)) return 0.5;
    const double raw = span / 6;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * power) return m * power;
    return 10 * power;
}

}  // namespace

std::vector<SwingBar> SwingBars(const SensitivityResult& result) {
    std::vector<SwingBar> bars;
    for (const Variation& v : result.variations) {
        const std::string& name = v.name.empty() ? v.input : v.name;
        auto it = std::find_if(bars.begin(), bars.end(), [&](const SwingBar& b) { return b.name == name; });
        if (it == bars.end()) {
            SwingBar bar;
            bar.input = v.input;
            bar.name = name;
            bars.push_back(bar);
            it = std::prev(bars.end());
        }
        if (auto r = Finite(v.figures.benefitCostRatio)) {
            Take(*it, *r, v);
        } else {
            it->undefinedValues.push_back(v.shown.empty() ? v.value : v.shown);
        }
    }
    // The entered value is one of each input's values, so the bar reaches
    // the base ratio too: an input with one variation still shows its swing.
    if (auto base = Finite(result.base.benefitCostRatio)) {
        for (SwingBar& b : bars) {
            if (!b.low) continue;
            if (*base < *b.low) b.low = *base, b.lowValue.clear(), b.lowShown = "as entered";
            if (*base > *b.high) b.high = *base, b.highValue.clear(), b.highShown = "as entered";
        }
    }
    std::stable_sort(bars.begin(), bars.end(), [](const SwingBar& a, const SwingBar& b) {
        if (a.low.has_value() != b.low.has_value()) return a.low.has_value();
        return a.Swing() > b.Swing();
    });
    return bars;
}

RatioAxis AxisFor(const std::vector<SwingBar>& bars, std::optional<double> baseRatio) {
    double lo = 1, hi = 1;
    auto take = [&](double v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    };
    for (const SwingBar& b : bars)
        if (b.low && b.high) take(*b.low), take(*b.high);
    if (auto base = Finite(baseRatio)) take(*base);
    lo = std::min(lo, 0.0);  // ratios start at 0; a bar's length then reads as its size
    RatioAxis axis;
    axis.step = NiceStep(hi - lo);
    axis.from = std::floor(lo / axis.step) * axis.step;
    axis.to = std::ceil(hi / axis.step) * axis.step;
    if (axis.to <= hi) axis.to += axis.step;  // room for the end labels
    return axis;
}

}  // namespace verrane::model
