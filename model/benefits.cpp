#include "model/benefits.h"

#include <cmath>

#include "model/hazard.h"

namespace verrane::model {

RangeGain RangeGainOf(const Outcome& injury, const Outcome& death, int k) {
    RangeGain g;
    g.dD = static_cast<double>(death.pre[k]) - death.post[k];
    g.dI = static_cast<double>(injury.pre[k]) - injury.post[k];
    g.B = static_cast<double>(injury.cost) * g.dI + static_cast<double>(death.cost) * g.dD;
    return g;
}

double Ann_Cost(float projectCost, float maintenanceCost, int16_t lifetime, float discountRate) {
    if (lifetime == 0) return 0.0;
    const double c = projectCost, m = maintenanceCost, r = discountRate;
    const double n = lifetime;
    const double g = std::pow(1.0 + r, n);
    // The capital recovery factor tends to 1/n as r -> 0 and to r as G grows
    // without bound; use those limits instead of 0/0 or inf/inf.
    if (g - 1.0 == 0.0) return c / n + m;
    if (std::isinf(g)) return r * c + m;
    // G finite but so large that G r C overflows (a lifetime of 10,400 years
    // at 7 %): the same factor as r / (1 - 1/G), which is finite.
    if (!std::isfinite(g * r * c)) return r * c / (1.0 - 1.0 / g) + m;
    return ((g * r * c) / (g - 1.0)) + m;
}

BenefitResult Ann_Benefit(const std::array<double, 6>& strikeProbability,
                          const std::array<std::array<double, 24>, 6>& hourlyFraction,
                          const std::array<float, 24>& tornadoHourlyOccupancy, const Outcome& injury,
                          const Outcome& death) {
    BenefitResult res;
    for (int i = 0; i < 6; ++i) {
        const RangeGain g = RangeGainOf(injury, death, TornadoClassRange[i]);
        if (!(g.B > 0)) continue;
        const double s = strikeProbability[i];
        for (int j = 0; j < 24; ++j) {
            const double frac = hourlyFraction[i][j];
            const double t = (frac >= 0 && s >= 0) ? frac * s : 0.0;
            if (!(t > 0)) continue;
            const double e = t * static_cast<double>(tornadoHourlyOccupancy[j]);
            res.deathsAvoided += e * g.dD;
            res.injuriesAvoided += e * g.dI;
            res.total += e * g.B;
        }
    }
    return res;
}

HurricaneResult Ann_Hurricane(double hurricaneWind, const std::array<int, 9>& thresholds,
                              std::string_view projectStateName, double hurricaneOccupancy, const Outcome& injury,
                              const Outcome& death) {
    HurricaneResult res;
    const std::array<double, 10> h = HProbs(hurricaneWind, thresholds, projectStateName);
    for (int k = 0; k < 9; ++k) {
        const RangeGain g = RangeGainOf(injury, death, k);
        if (g.B > 0) {
            const double q = (h[k] - h[k + 1]) * hurricaneOccupancy;
            res.total += q * g.B;
            res.deathsAvoided += q * g.dD;
            res.injuriesAvoided += q * g.dI;
        }
    }
    res.reportHurricaneWind = hurricaneWind;
    for (int k = 0; k < 9; ++k) res.rangeProbability[k] = h[k] - h[k + 1];
    return res;
}

}  // namespace verrane::model
