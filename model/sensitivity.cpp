#include "model/sensitivity.h"

namespace verrane::model {

Figures FiguresOf(const AnalysisResult& r) {
    Figures f;
    f.tornadoBenefits = r.tornadoBenefits;
    f.hurricaneBenefits = r.hurricaneBenefits;
    f.totalBenefits = r.totalBenefits;
    f.annualizedCost = r.annualizedCost;
    f.netBenefits = r.netBenefits;
    f.benefitCostRatio = r.benefitCostRatio;
    f.f3Tornadoes = r.tornado ? r.tornado->reportCountByF[3] : 0;
    f.sufficient = r.tornado && !r.tornado->insufficient;
    return f;
}

}  // namespace verrane::model
