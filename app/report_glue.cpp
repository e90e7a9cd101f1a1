#include "app/report_glue.h"

#include "app/app.h"
#include "platform/refdb.h"
#include "reports/long_report.h"
#include "reports/short_report.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/field_controls.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"

namespace verrane {

namespace {

reports::ProjectPart Project(const project::ProjectDocument& c) {
    reports::ProjectPart p;
    p.buildingName = c.buildingName;
    p.address = c.address;
    p.city = c.city;
    p.disasterNumber = c.disasterNumber;
    p.projectNumber = c.projectNumber;
    p.scenarioRunId = c.scenarioRunId;
    p.analyst = c.analyst;
    p.stateName = c.stateName;
    p.countyName = c.countyName;
    p.selectionMethod = c.selectionMethod;
    p.selectionRadius = c.selectionRadius;
    p.selectedCounties = c.selectedCounties;
    return p;
}

// The reports print the names the lists show, read from the screen.
reports::BuildingPart Building(const project::BuildingBlock& b, const Form3& f) {
    reports::BuildingPart r;
    r.buildingLength = b.length;
    r.buildingWidth = b.width;
    r.shelterArea = b.shelterArea;
    r.hurricaneOccupancy = b.hurricaneOccupancy;
    r.constructionType = InputText(f, "ConstructionType");
    r.minimalWindowArea = b.minimalWindowArea != 0;
    r.timeZoneText = InputText(f, "TimeZone");
    r.daylightSaving = b.daylightSaving != 0;
    r.hourly = b.hourly;
    return r;
}

// Every rate cell as it stands, the computed ones included.
reports::MitigationPart Mitigation(const project::MitigationBlock& m, const Form5& f) {
    reports::MitigationPart r;
    r.description = m.description;
    r.projectCost = m.projectCost;
    r.maintenanceCost = m.maintenanceCost;
    r.projectLifetime = m.lifetime;
    r.injuryCost = m.injuryCost;
    r.deathCost = m.deathCost;
    r.discountRate = m.discountRate;
    r.designWindSpeedText = f.Combo1.text();
    for (size_t i = 0; i < 99; ++i) r.rateCells[i] = f.Text2[i].text();
    return r;
}

reports::ResultsPart Results(App& app) {
    const Form6& f = app.form6();
    const model::AnalysisResult& a = f.Results;
    reports::ResultsPart r;
    r.tornadoBenefitsText = f.Texts[kTornadoBenefitsBox];
    r.hurricaneBenefitsText = f.Texts[kHurricaneBenefitsBox];
    r.totalBenefitsText = f.Texts[kTotalBenefitsBox];
    r.annualizedCostText = f.Texts[kAnnualizedCostBox];
    r.netBenefitsText = f.Texts[kNetBenefitsBox];
    r.benefitCostRatioText = f.Texts[kBenefitCostRatioBox];
    r.livesSavedText = f.Texts[kLivesSavedBox];
    r.injuriesAvoidedText = f.Texts[kInjuriesAvoidedBox];
    r.livesSavedCaption = f.LivesSavedCaption;
    r.injuriesAvoidedCaption = f.InjuriesAvoidedCaption;
    r.userRatesNote = a.userRatesNote;
    r.sufficiencyNote = a.sufficiencyNote;
    r.countiesNote = a.countiesNote;
    if (a.tornado) {
        const model::FProbsResult& t = *a.tornado;
        r.reportCountyArea = t.reportCountyArea;
        r.reportRegionArea = t.reportRegionArea;
        r.reportRecordYears = t.reportRecordYears;
        r.reportCountByF = t.reportCountByF;
        r.annualCountByF = t.annualCountByF;
        r.reportPathLengthByF = t.reportPathLengthByF;
        r.reportPathAreaByF = t.reportPathAreaByF;
        r.annualPathAreaByF = t.annualPathAreaByF;
        r.effectiveAreaByF = t.effectiveAreaByF;
        r.strikeProbabilityByF = t.strikeProbabilityByF;
    }
    r.reportHurricaneWind = a.reportHurricaneWind;
    r.hurricaneRangeProbability = a.hurricaneRangeProbability;
    return r;
}

// The parts both reports print. The reports read both input screens: they
// are created, with their defaults, when they are not there.
template <class Data>
void CollectParts(App& app, Data& d) {
    const Form3& f3 = app.form3();
    const Form5& f5 = app.form5();
    const project::ProjectDocument c = app.form2().StoreDocument();
    d.project = Project(c);
    d.building = Building(*c.building, f3);
    d.mitigation = Mitigation(*c.mitigation, f5);
    d.results = Results(app);
    d.sealPath = app.DataDir() / "aldmereseal.bmp";
}

}  // namespace

reports::LongReportData CollectLongReportData(App& app, std::vector<std::string>& notes) {
    reports::LongReportData d;
    CollectParts(app, d);
    // The selected counties, grouped by state in FIPS order (not needed for
    // the entire-state method).
    if (d.project.selectionMethod != 1 && !d.project.selectedCounties.empty()) {
        try {
            auto db = platform::Database::Open(app.ReferenceDatabase());
            auto rs = db.OpenRecordset("Counties", platform::Query::AnyOf("FIPS", d.project.selectedCounties, "FIPS"));
            for (rs.MoveFirst(); !rs.eof(); rs.MoveNext())
                d.selectedCountyRows.emplace_back(rs.Field("State_name").asText(), rs.Field("Name").asText());
        } catch (const std::exception& e) {
            notes.push_back(std::string("The list of selected counties could not be read. ") + e.what());
        }
    }
    return d;
}

reports::ShortReportData CollectShortReportData(App& app) {
    reports::ShortReportData d;
    CollectParts(app, d);
    return d;
}

std::vector<std::string> ReportMessages(platform::report::Report& r) { return r.Messages(); }

std::unique_ptr<platform::report::Report> MakeReport(App& app, bool longReport, std::vector<std::string>& notes) {
    if (longReport) return std::make_unique<reports::ActiveReport1>(CollectLongReportData(app, notes));
    return std::make_unique<reports::ActiveReport2>(CollectShortReportData(app));
}

}  // namespace verrane
