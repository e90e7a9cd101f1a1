#pragma once
// Annualized project cost and the expected annual benefits of the shelter.
#include <array>
#include <cstdint>
#include <string_view>

#include "model/rates.h"

namespace verrane::model {

// Wind speed range whose rates apply to each F-scale class F0..F5.
inline constexpr std::array<int, 6> TornadoClassRange{1, 2, 4, 6, 7, 8};

// Per person exposed in range k: deaths avoided, injuries avoided, dollars.
struct RangeGain {
    double dD = 0, dI = 0, B = 0;
};
RangeGain RangeGainOf(const Outcome& injury, const Outcome& death, int k);

// Capital recovery of the project cost over the lifetime plus maintenance.
// discountRate is a fraction (float(percent) / 100.0f). Lifetime 0 gives 0; a
// rate of 0 gives C / n + M, the limit of the formula.
double Ann_Cost(float projectCost, float maintenanceCost, int16_t lifetime, float discountRate);

// One call's contribution; the caller adds deathsAvoided / injuriesAvoided to
// its running totals.
struct BenefitResult {
    double total = 0, deathsAvoided = 0, injuriesAvoided = 0;
};

// Tornado benefits, class by class and hour by hour (Eastern Standard Time).
BenefitResult Ann_Benefit(const std::array<double, 6>& strikeProbability,
                          const std::array<std::array<double, 24>, 6>& hourlyFraction,
                          const std::array<float, 24>& tornadoHourlyOccupancy, const Outcome& injury,
                          const Outcome& death);

struct HurricaneResult {
    double total = 0, deathsAvoided = 0, injuriesAvoided = 0, reportHurricaneWind = 0;
    std::array<double, 9> rangeProbability{};  // H(k) - H(k+1)
};

// Hurricane benefits, range by range, with one occupancy for every range.
HurricaneResult Ann_Hurricane(double hurricaneWind, const std::array<int, 9>& thresholds,
                              std::string_view projectStateName, double hurricaneOccupancy, const Outcome& injury,
                              const Outcome& death);

}  // namespace verrane::model
