#include "model/hazard.h"

#include <algorithm>
#include <cmath>

namespace verrane::model {

const char* const kInsufficientNote =
    "Selected counties do not have sufficient number of tornadoes for computing signficant hazard "
    "statistics.";
const char* const kLacksDataNote =
    "The tornado record lacks data for the project county (record years, region area or county area "
    "is missing); its tornado strike probability is taken as 0.";

namespace {
struct Coefficients {
    double a, b;
};
// Wind speed ratio law V / Dwind = b + a ln(P).
constexpr Coefficients kSet0{-0.09934831, 0.60957337};
constexpr Coefficients kSet1{-0.14836141, 0.41041414};
constexpr Coefficients kAlaska{-0.081524829, 0.68081467};

bool Missing(double v) { return !(v > 0.0); }
}  // namespace

bool IsHurricaneProne(std::string_view stateName) {
    return std::find(kHurricaneProneStates.begin(), kHurricaneProneStates.end(), stateName) !=
           kHurricaneProneStates.end();
}

double HurricaneWindOf(double recordValue) { return std::isfinite(recordValue) ? recordValue : 0.0; }

std::array<double, 10> HProbs(double dwind, const std::array<int, 9>& thresholds, std::string_view projectStateName) {
    std::array<double, 10> p{};
    // A county without a hurricane design wind speed has no hurricane hazard.
    if (!(dwind > 0.0)) return p;
    const bool alaska = projectStateName == "Alaska";
    for (int i = 0; i < 9; ++i) {
        const double ai = thresholds[i];
        const Coefficients& c = alaska ? kAlaska : (dwind > 100.0 && ai < dwind) ? kSet1 : kSet0;
        p[i] = std::exp((ai / dwind - c.b) / c.a);
        if (p[i] > 1.0) p[i] = 1.0;
    }
    p[9] = 0.0;
    return p;
}

FProbsResult FProbs(const TornadoStats& stats, float buildingLength, float buildingWidth) {
    FProbsResult r;
    const double y = stats.recordYears;
    const double ar = stats.sampleRegionArea;
    const float ac = stats.countyArea;
    r.reportCountyArea = ac;
    r.reportRegionArea = ar;
    r.reportRecordYears = stats.recordYears;
    r.reportCountByF = stats.countByF;
    r.reportPathLengthByF = stats.avgPathLengthByF;
    r.reportPathAreaByF = stats.avgPathAreaByF;

    const double lb = buildingLength, wb = buildingWidth;
    const double d = std::sqrt(lb * lb + wb * wb);
    const float countyAcres = ac * 640.0f;
    for (int i = 0; i < 6; ++i) {
        const double n = stats.countByF[i];
        if (n == 0) continue;
        // Negative areas and years mean "no data" in the reference tables.
        if (Missing(y) || Missing(ar) || Missing(ac) || std::isnan(n)) {
            r.lacksData = true;
            continue;
        }
        const double r1 = (n / y) * (static_cast<double>(ac) / ar);
        const double r2 = r1 * stats.avgPathAreaByF[i];
        const double r3 = 2 * r2 + (r1 * stats.avgPathLengthByF[i] * d) / 43560;
        const double r4 = r3 / countyAcres;
        if (!std::isfinite(r1) || !std::isfinite(r2) || !std::isfinite(r3) || !std::isfinite(r4)) {
            r.lacksData = true;
            continue;
        }
        r.annualCountByF[i] = r1;
        r.annualPathAreaByF[i] = r2;
        r.effectiveAreaByF[i] = r3;
        r.strikeProbabilityByF[i] = r4;
    }
    r.insufficient = r.reportCountByF[3] < kSufficientF3Count;
    return r;
}

}  // namespace verrane::model
