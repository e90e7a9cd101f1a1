#pragma once
// The whole analysis of one project as one pure function: the tornado record
// pooled over the sample region, the building, the rates and the costs in,
// the eight results and every value the reports print out. The screens turn
// their texts into an AnalysisInput (telling the user about any they could
// not read); batch work builds one directly.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "model/hazard.h"
#include "model/rates.h"
#include "model/tornado_stats.h"

namespace verrane::model {

struct AnalysisInput {
    // The pooled tornado statistics; empty when they could not be extracted,
    // in which case the tornado benefits are 0.
    std::optional<TornadoStats> record;
    float buildingLength = 0, buildingWidth = 0;  // feet
    std::array<float, 24> tornadoHourlyOccupancy{};
    double hurricaneOccupancy = 0;
    Outcome injury, death;
    double hurricaneWind = 0;  // the design wind speed of the county
    std::array<int, 9> windRangeThresholds{};
    std::string projectStateName;
    float projectCost = 0, maintenanceCost = 0;
    int16_t lifetime = 0;      // whole years, as the cost formula takes them
    float discountRate = 0;    // fraction: float(percent) / 100.0f
    double lifetimeYears = 0;  // the lifetime as typed, for the lifetime totals
    bool userSelectedCounties = false;
    bool userDefinedRates = false;
};

struct AnalysisResult {
    double tornadoBenefits = 0, hurricaneBenefits = 0, annualizedCost = 0;
    double totalBenefits = 0, netBenefits = 0;
    std::optional<double> benefitCostRatio;  // empty when the annualized cost is 0
    double annualDeathsAvoided = 0, annualInjuriesAvoided = 0;
    double livesSaved = 0, injuriesAvoided = 0;  // over the lifetime
    // The tornado hazard values the long report prints; empty when the record
    // was not available.
    std::optional<FProbsResult> tornado;
    double reportHurricaneWind = 0;
    std::array<double, 9> hurricaneRangeProbability{};
    std::string countiesNote, sufficiencyNote, userRatesNote;
};

// Appended to the reports' notes for the user-selected county method and for
// user-defined rate cells.
extern const char* const kUserCountiesNote;
extern const char* const kUserRatesNote;

AnalysisResult Analyze(const AnalysisInput& input);

}  // namespace verrane::model
