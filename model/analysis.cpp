#include "model/analysis.h"

#include "model/benefits.h"

namespace verrane::model {

const char* const kUserCountiesNote = "User-selected counties option used.";
const char* const kUserRatesNote = "User-defined pre-mitigation percent or mitigation effectiveness entered.";

namespace {
std::string SufficiencyNote(const FProbsResult& r) {
    std::string note;
    if (r.insufficient) note += kInsufficientNote;
    if (r.lacksData) {
        if (!note.empty()) note += " ";
        note += kLacksDataNote;
    }
    return note;
}
}  // namespace

AnalysisResult Analyze(const AnalysisInput& in) {
    AnalysisResult r;
    if (in.userSelectedCounties) r.countiesNote = kUserCountiesNote;
    if (in.userDefinedRates) r.userRatesNote = kUserRatesNote;

    // Deaths and injuries avoided add up in this order: tornado, hurricane.
    if (in.record) {
        r.tornado = FProbs(*in.record, in.buildingLength, in.buildingWidth);
        r.sufficiencyNote = SufficiencyNote(*r.tornado);
        const BenefitResult b = Ann_Benefit(r.tornado->strikeProbabilityByF, in.record->hourlyFractionByF,
                                            in.tornadoHourlyOccupancy, in.injury, in.death);
        r.tornadoBenefits = b.total;
        r.annualDeathsAvoided += b.deathsAvoided;
        r.annualInjuriesAvoided += b.injuriesAvoided;
    }
    const HurricaneResult h = Ann_Hurricane(in.hurricaneWind, in.windRangeThresholds, in.projectStateName,
                                            in.hurricaneOccupancy, in.injury, in.death);
    r.hurricaneBenefits = h.total;
    r.annualDeathsAvoided += h.deathsAvoided;
    r.annualInjuriesAvoided += h.injuriesAvoided;
    r.reportHurricaneWind = h.reportHurricaneWind;
    r.hurricaneRangeProbability = h.rangeProbability;

    r.annualizedCost = Ann_Cost(in.projectCost, in.maintenanceCost, in.lifetime, in.discountRate);
    r.totalBenefits = r.tornadoBenefits + r.hurricaneBenefits;
    r.netBenefits = r.totalBenefits - r.annualizedCost;
    if (r.annualizedCost != 0) r.benefitCostRatio = r.totalBenefits / r.annualizedCost;
    r.livesSaved = in.lifetimeYears * r.annualDeathsAvoided;
    r.injuriesAvoided = in.lifetimeYears * r.annualInjuriesAvoided;
    return r;
}

}  // namespace verrane::model
