#include "app/report_glue.h"

#include <algorithm>

#include "app/app.h"
#include "platform/refdb.h"
#include "reports/long_report.h"
#include "reports/short_report.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"

namespace verrane {

namespace {

template <size_t N>
std::array<double, N> ToArray(const std::vector<double>& v) {
    std::array<double, N> a{};
    std::copy_n(v.begin(), std::min(v.size(), N), a.begin());
    return a;
}

reports::ProjectPart Project(App& app) {
    Form2& f = app.form2();
    reports::ProjectPart p;
    p.buildingName = f.Text1[0].text();
    p.address = f.Text1[1].text();
    p.city = f.Text1[2].text();
    p.disasterNumber = f.Text1[3].text();
    p.projectNumber = f.Text1[4].text();
    p.scenarioRunId = f.Text1[5].text();
    p.analyst = f.Text1[6].text();
    p.stateName = f.Combo3.text();
    p.countyName = f.Combo2.text();
    p.selectionMethod = static_cast<int>(f.SelectionMethod);
    p.selectionRadius = f.SelectionRadius;
    p.selectedCounties = f.SelectedCounties;
    return p;
}

reports::BuildingPart Building(App& app) {
    Form3& f = app.form3();
    reports::BuildingPart b;
    b.buildingLength = f.Text1[0].text();
    b.buildingWidth = f.Text1[1].text();
    b.shelterArea = f.Text1[2].text();
    b.hurricaneOccupancy = f.Text1[3].text();
    b.constructionType = f.Combo1[1].text();
    b.minimalWindowArea = f.Check1.value() != 0;
    b.timeZoneText = f.Combo1[0].text();
    b.daylightSaving = f.Check2.value() != 0;
    for (size_t h = 0; h < 24; ++h) b.hourly[h] = f.Text2[h].text();
    return b;
}

reports::MitigationPart Mitigation(App& app) {
    Form5& f = app.form5();
    reports::MitigationPart m;
    m.description = f.Text1[0].text();
    m.projectCost = f.Text1[1].text();
    m.maintenanceCost = f.Text1[2].text();
    m.projectLifetime = f.Text1[3].text();
    m.injuryCost = f.Text1[4].text();
    m.deathCost = f.Text1[5].text();
    m.discountRate = f.Text1[6].text();
    m.designWindSpeedText = f.Combo1.text();
    for (size_t i = 0; i < 99; ++i) m.rateCells[i] = f.Text2[i].text();
    return m;
}

reports::ResultsPart Results(App& app) {
    Form6& f = app.form6();
    reports::ResultsPart r;
    r.tornadoBenefitsText = f.TornadoBenefitsText;
    r.hurricaneBenefitsText = f.HurricaneBenefitsText;
    r.totalBenefitsText = f.TotalBenefitsText;
    r.annualizedCostText = f.AnnualizedCostText;
    r.netBenefitsText = f.NetBenefitsText;
    r.benefitCostRatioText = f.BenefitCostRatioText;
    r.livesSavedText = f.LivesSavedText;
    r.injuriesAvoidedText = f.InjuriesAvoidedText;
    r.livesSavedCaption = f.LivesSavedCaption;
    r.injuriesAvoidedCaption = f.InjuriesAvoidedCaption;
    r.userRatesNote = f.UserRatesNote;
    r.sufficiencyNote = f.SufficiencyNote;
    r.countiesNote = f.CountiesNote;
    r.reportCountyArea = f.ReportCountyArea;
    r.reportRegionArea = f.ReportRegionArea;
    r.reportRecordYears = f.ReportRecordYears;
    r.reportCountByF = ToArray<6>(f.ReportCountByF);
    r.annualCountByF = ToArray<6>(f.AnnualCountByF);
    r.reportPathLengthByF = ToArray<6>(f.ReportPathLengthByF);
    r.reportPathAreaByF = ToArray<6>(f.ReportPathAreaByF);
    r.annualPathAreaByF = ToArray<6>(f.AnnualPathAreaByF);
    r.effectiveAreaByF = ToArray<6>(f.EffectiveAreaByF);
    r.strikeProbabilityByF = ToArray<6>(f.StrikeProbabilityByF);
    r.reportHurricaneWind = f.ReportHurricaneWind;
    r.hurricaneRangeProbability = ToArray<9>(f.HurricaneRangeProbability);
    return r;
}

}  // namespace

reports::LongReportData CollectLongReportData(App& app, std::vector<std::string>& notes) {
    reports::LongReportData d;
    d.project = Project(app);
    d.building = Building(app);
    d.mitigation = Mitigation(app);
    d.results = Results(app);
    d.sealPath = app.DataDir() / "aldmereseal.bmp";
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
    d.project = Project(app);
    d.building = Building(app);
    d.mitigation = Mitigation(app);
    d.results = Results(app);
    d.sealPath = app.DataDir() / "aldmereseal.bmp";
    return d;
}

std::vector<std::string> ReportMessages(platform::report::Report& r) { return r.Messages(); }

std::unique_ptr<platform::report::Report> MakeReport(App& app, bool longReport, std::vector<std::string>& notes) {
    if (longReport) return std::make_unique<reports::ActiveReport1>(CollectLongReportData(app, notes));
    return std::make_unique<reports::ActiveReport2>(CollectShortReportData(app));
}

}  // namespace verrane
