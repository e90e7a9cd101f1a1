#pragma once
// What a sensitivity run reports: the project's own figures, the figures of
// each one-at-a-time variation (a whole re-analysis with one input changed as
// it would be typed into its box), the breakeven values and the interval of
// the tornado benefits drawn from the sampling uncertainty of the record.
// Filled by the application layer; read by the command line, the window and
// the sensitivity report. No Qt, no I/O.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/analysis.h"

namespace verrane::model {

// The figures of one analysis, at full precision, as the results screen holds
// them. The ratio is empty when the annualized cost is 0 (the results screen
// shows "Undefined").
struct Figures {
    std::optional<double> benefitCostRatio;
    double netBenefits = 0, totalBenefits = 0, annualizedCost = 0;
    double tornadoBenefits = 0, hurricaneBenefits = 0;
    double f3Tornadoes = 0;   // F3 tornadoes of the pooled region
    bool sufficient = false;  // enough of them for the analysis
};

// The one reading of an analysis's figures, for every batch run.
Figures FiguresOf(const AnalysisResult& result);

// One re-analysis. `input` is the line-table name (DiscountRate, ProjectCost,
// TornadoOccupancy, SelectionRadius, ...); `value` the exact text put into the
// box, or the scale factor ("0.75", "1.25") for the occupancy rows. The rest
// says it in the user's terms: `name` the input ("Region", "Discount rate";
// one chart bar per name), `shown` the value with its unit ("25 miles",
// "3 %", "the county alone"), `label` the whole row ("Region radius 25
// miles", "Entire state"). Empty words fall back to the machine names.
struct Variation {
    std::string input, value;
    Figures figures;
    std::string name, shown, label;
};

// 5th, 50th and 95th percentiles.
using Percentiles = std::array<double, 3>;

struct Uncertainty {
    int draws = 10000;
    uint64_t seed = 1;
    Percentiles tornadoBenefits{}, benefitCostRatio{};
    bool ratioDefined = true;           // false when the annualized cost is 0
    std::array<double, 6> tornadoes{};  // distinct tornadoes per class in the pooled region
};

struct SensitivityResult {
    std::string file;          // as given on the command line or opened in the window
    std::string buildingName;  // for the report's heading
    Figures base;
    std::vector<Variation> variations;
    std::optional<double> breakevenProjectCost, breakevenDiscountRate;
    Uncertainty uncertainty;
    // Inputs left unvaried and why ("Hurricane occupancy is not varied: ...").
    std::vector<std::string> notes;
};

}  // namespace verrane::model
