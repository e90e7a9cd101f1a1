#include "model/uncertainty.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>

namespace verrane::model {

double Percentile(const std::vector<double>& sorted, double p) {
    const double h = static_cast<double>(sorted.size() - 1) * p;
    const auto lo = static_cast<size_t>(std::floor(h));
    if (lo + 1 >= sorted.size()) return sorted.back();
    return sorted[lo] + (h - static_cast<double>(lo)) * (sorted[lo + 1] - sorted[lo]);
}

Uncertainty DrawUncertainty(const UncertaintyInput& in, int draws, uint64_t seed) {
    Uncertainty u;
    u.draws = draws;
    u.seed = seed;
    u.ratioDefined = in.annualizedCost != 0;
    u.tornadoes = in.tornadoesByF;
    if (draws <= 0) return u;

    // One distribution per class that can vary, drawn in class order.
    std::mt19937_64 engine(seed);
    std::array<std::optional<std::gamma_distribution<double>>, 6> gamma;
    const double y = in.recordYears;
    for (size_t i = 0; i < 6; ++i) {
        const double d = in.tornadoesByF[i];
        if (in.countByF[i] > 0 && d > 0 && y > 0 && in.strikeProbabilityByF[i] > 0) gamma[i].emplace(d + 0.5, 1.0);
    }

    std::vector<double> tornado, ratio;
    tornado.reserve(static_cast<size_t>(draws));
    ratio.reserve(static_cast<size_t>(draws));
    for (int d = 0; d < draws; ++d) {
        std::array<double, 6> strike = in.strikeProbabilityByF;
        for (size_t i = 0; i < 6; ++i) {
            if (!gamma[i]) continue;
            const double rate = (*gamma[i])(engine) / y;
            strike[i] *= rate / (in.tornadoesByF[i] / y);
        }
        const double b = Ann_Benefit(strike, in.hourlyFraction, in.tornadoHourlyOccupancy, in.injury, in.death).total;
        tornado.push_back(b);
        if (u.ratioDefined) ratio.push_back((b + in.hurricaneBenefits) / in.annualizedCost);
    }
    std::sort(tornado.begin(), tornado.end());
    std::sort(ratio.begin(), ratio.end());
    const double ps[3] = {0.05, 0.50, 0.95};
    for (size_t k = 0; k < 3; ++k) {
        u.tornadoBenefits[k] = Percentile(tornado, ps[k]);
        if (u.ratioDefined) u.benefitCostRatio[k] = Percentile(ratio, ps[k]);
    }
    return u;
}

}  // namespace verrane::model
