#pragma once
// A sensitivity result made by hand, shaped like a real run: a school gym
// whose base ratio is 1.42, thirty variations of the usual inputs (some
// below a ratio of 1, one without a ratio), a breakeven project cost and no
// breakeven discount rate. The figures hang together (net = total - cost,
// ratio = total / cost) but come from no analysis.
#include <string>
#include <vector>

#include "model/sensitivity.h"

namespace verrane::test {

inline model::Figures FiguresFrom(double totalBenefits, double annualizedCost) {
    model::Figures f;
    f.totalBenefits = totalBenefits;
    f.annualizedCost = annualizedCost;
    f.netBenefits = totalBenefits - annualizedCost;
    if (annualizedCost != 0) f.benefitCostRatio = totalBenefits / annualizedCost;
    return f;
}

inline model::SensitivityResult SampleSensitivity() {
    model::SensitivityResult r;
    r.file = "examples/oklahoma-school-gym.tor";
    r.buildingName = "Lincoln Elementary School Gymnasium";
    const double benefits = 41234.56, cost = 29000.25;
    r.base = FiguresFrom(benefits, cost);
    auto add = [&r](const char* input, const char* value, double total, double annual) {
        model::Variation v;
        v.input = input;
        v.value = value;
        v.figures = FiguresFrom(total, annual);
        r.variations.push_back(v);
    };
    add("DiscountRate", "2", benefits, 15201.10);
    add("DiscountRate", "3", benefits, 17660.40);
    add("DiscountRate", "7", benefits, cost);
    add("DiscountRate", "10", benefits, 37950.75);
    add("ProjectCost", "180000", benefits, 22280.19);
    add("ProjectCost", "300000", benefits, 35720.31);
    add("MaintenanceCost", "1500", benefits, 28500.25);
    add("MaintenanceCost", "2500", benefits, 29500.25);
    add("InjuryCost", "7500", 39870.12, cost);
    add("InjuryCost", "12500", 42598.99, cost);
    add("DeathCost", "4875000", 31567.33, cost);
    add("DeathCost", "8125000", 50901.78, cost);
    add("ProjectLifetime", "20", benefits, 33652.08);
    add("ProjectLifetime", "40", benefits, 26506.91);
    add("TornadoOccupancy", "0.75", 31100.42, cost);
    add("TornadoOccupancy", "1.25", 51368.70, cost);
    add("HurricaneOccupancy", "0.75", benefits, cost);
    add("HurricaneOccupancy", "1.25", benefits, cost);
    add("SelectionRadius", "0", 18412.05, cost);
    add("SelectionRadius", "25", 36877.40, cost);
    add("SelectionRadius", "50", benefits, cost);
    add("SelectionRadius", "100", 45120.66, cost);
    add("SelectionRadius", "150", 47002.13, cost);
    add("SelectionRadius", "250", 44310.90, cost);
    add("SelectionMethod", "1", 39017.25, cost);
    add("DesignWindSpeed", "160", 27811.02, cost);
    add("DesignWindSpeed", "200", benefits, cost);
    add("DesignWindSpeed", "250", 44100.37, cost);
    // As a project whose only cost is its maintenance would give it: no ratio.
    add("MaintenanceCost", "0", benefits, 0);
    add("DesignWindSpeed", "130", 20950.84, cost);
    r.breakevenProjectCost = 337480.12;
    r.uncertainty.draws = 10000;
    r.uncertainty.seed = 1;
    r.uncertainty.tornadoBenefits = {29876.11, 40112.42, 55320.95};
    r.uncertainty.benefitCostRatio = {1.0302, 1.3832, 1.9076};
    return r;
}

}  // namespace verrane::test
