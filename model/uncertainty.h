#pragma once
// The interval of the annual tornado benefits that comes from the sampling
// uncertainty of the pooled record: the number of distinct tornadoes of each
// F-scale class in the pooled region, D, is one sample of its rate (the pooled
// count N counts a tornado once in every county of the region it touched, so
// it overstates the sample). For each class the annual rate is drawn from
// Gamma(D + 0.5, 1) / Y (the Jeffreys posterior of a Poisson rate), the
// class's strike probability is scaled by the drawn rate over D / Y, and the
// tornado benefits are recomputed with Ann_Benefit; everything else stays as
// entered. A class without tornadoes has no strike probability (its path
// length and area are unknown) and stays at 0.
#include <array>
#include <cstdint>
#include <vector>

#include "model/benefits.h"
#include "model/sensitivity.h"

namespace verrane::model {

struct UncertaintyInput {
    std::array<double, 6> countByF{};      // N per class in the pooled record
    std::array<double, 6> tornadoesByF{};  // D: distinct tornadoes per class in the pooled region
    double recordYears = 0;                // Y
    std::array<double, 6> strikeProbabilityByF{};
    std::array<std::array<double, 24>, 6> hourlyFraction{};
    std::array<float, 24> tornadoHourlyOccupancy{};
    Outcome injury, death;
    double hurricaneBenefits = 0, annualizedCost = 0;
};

// Linear interpolation between the closest ranks of the sorted values:
// position h = (n - 1) p, value x[floor h] + (h - floor h)(x[floor h + 1] - x[floor h]).
// `sorted` must be sorted ascending and not empty; p in [0, 1].
double Percentile(const std::vector<double>& sorted, double p);

// 10,000 draws with std::mt19937_64 seeded `seed`; the 5th, 50th and 95th
// percentiles of the tornado benefits and of the benefit-cost ratio (the
// ratio is undefined, and left 0, when the annualized cost is 0).
Uncertainty DrawUncertainty(const UncertaintyInput& input, int draws = 10000, uint64_t seed = 1);

}  // namespace verrane::model
