#include "app/sensitivity_source.h"

#include "project/project_document.h"
#include "screens/analysis/form6.h"
#include "screens/project/form2.h"
#include "screens/screen_host.h"

namespace verrane {

model::Figures FiguresOf(const Form6& results) {
    model::Figures f;
    f.totalBenefits = results.TornadoBenefits + results.HurricaneBenefits;
    f.annualizedCost = results.AnnualizedCost;
    f.netBenefits = f.totalBenefits - f.annualizedCost;
    // As the results screen: no ratio when the annualized cost is 0.
    if (f.annualizedCost != 0) f.benefitCostRatio = f.totalBenefits / f.annualizedCost;
    return f;
}

model::SensitivityResult CurrentSensitivity(ScreenHost& app) {
    model::SensitivityResult r;
    r.file = app.HasFileName ? app.ProjectFileName : std::string();
    r.buildingName = app.form2().StoreDocument().buildingName;
    r.base = FiguresOf(app.form6());
    r.uncertainty.draws = 0;
    return r;
}

}  // namespace verrane
