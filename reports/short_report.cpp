#include "reports/short_report.h"

#include "reports/format_bridge.h"
#include "reports/layout.h"
#include "reports/report_text.h"

namespace verrane::reports {

using namespace layout;
using rpt::Align;
using rpt::ItemKind;
using rpt::VAlign;

namespace {

constexpr int kMargin = 1080;
constexpr Style kCellLabel{9, true, Align::Left, VAlign::Middle};
constexpr Style kCellValue{9, false, Align::Left, VAlign::Middle};
constexpr Style kCellNumber{9, false, Align::Right, VAlign::Middle};
constexpr Style kBlockHeading{11, true};

// Boxed blocks span 180 to 9900; texts sit 90 inside their cell.
constexpr int kBoxLeft = 180;
constexpr int kBoxWidth = 9720;

// The header and footer of every page.
void HeaderAndFooter(rpt::Section& ph, rpt::Section& pf) {
    ph.height = 744;
    Label(ph, "Verrane", 0, 0, 3150, 270, {11, true});
    Label(ph, "Verrane", 0, 270, 3150, 270, {9});
    Label(ph, "Version 1.0 - July 2000", 7650, 0, 2430, 270, {9, false, Align::Right});
    HRule(ph, 0, 600, 10080, 10).anchorBottom = true;

    pf.height = 468;
    HRule(pf, 0, 60, 10080, 10);
    LineField(pf, "FooterDate", 0, 120, 2500, 240, {9});
    LineField(pf, "FooterProvenance", 1800, 120, 8280, 240, {6, false, Align::Right});
}

// The seal, the summary lines and the identification block.
void SummaryBlocks(rpt::Section& d) {
    Image(d, "SealImage", 270, 90, 2880, 1800);
    Label(d, "SUMMARY", 3240, 90, 6750, 400, {14, true});

    // Summary lines.
    Shape(d, ItemKind::Box, 3240, 630, 6750, 1080);
    HRule(d, 3240, 990, 6750);
    HRule(d, 3240, 1350, 6750);
    VRule(d, 5130, 630, 1080);
    const struct {
        const char* label;
        const char* field;
        int top;
    } summary[] = {
        {"Building Name:", "BuildingName", 630}, {"Address:", "Address", 990}, {"Location:", "Location", 1350}};
    for (const auto& s : summary) {
        Label(d, s.label, 3330, s.top, 1710, 360, kCellLabel);
        FixedField(d, s.field, 5220, s.top, 4680, 360, kCellValue);
    }

    // Identification.
    Shape(d, ItemKind::Box, kBoxLeft, 1980, kBoxWidth, 900);
    HRule(d, kBoxLeft, 2430, kBoxWidth);
    VRule(d, 2070, 1980, 900);
    VRule(d, 4860, 1980, 900);
    VRule(d, 6390, 1980, 900);
    Label(d, "Disaster No.:", 270, 1980, 1710, 450, kCellLabel);
    FixedField(d, "DisasterNumber", 2160, 1980, 2610, 450, kCellValue);
    Label(d, "Project No.:", 4950, 1980, 1350, 450, kCellLabel);
    FixedField(d, "ProjectNumber", 6480, 1980, 3330, 450, kCellValue);
    Label(d, "Scenario Run ID:", 270, 2430, 1710, 450, kCellLabel);
    FixedField(d, "ScenarioRunId", 2160, 2430, 2610, 450, kCellValue);
    Label(d, "Analyst:", 4950, 2430, 1350, 450, kCellLabel);
    FixedField(d, "Analyst", 6480, 2430, 3330, 450, kCellValue);
}

// The input data and the counties.
void InputBlocks(rpt::Section& d) {
    // Input data (not boxed).
    Label(d, "INPUT DATA", 270, 3060, 6000, 300, kBlockHeading);
    Label(d, "Shelter Construction:", 270, 3600, 2700, 360, kCellLabel);
    FixedField(d, "ShelterConstruction", 3060, 3600, 6840, 360, kCellValue);
    Label(d, "Building Dimensions (ft):", 270, 3960, 1800, 630, kCellLabel);
    FixedField(d, "BuildingDimensions", 2160, 3960, 2700, 630, kCellValue);
    Label(d, "Shelter Area (sq. ft):", 4950, 3960, 1800, 630, kCellLabel);
    FixedField(d, "ShelterArea", 6840, 3960, 3060, 630, kCellValue);
    Label(d, "Hurricane Occupancy:", 270, 4590, 1800, 630, kCellLabel);
    FixedField(d, "HurricaneOccupancy", 2160, 4590, 2700, 630, kCellValue);
    Label(d, "Max. Tornado Occupancy:", 4950, 4590, 1800, 630, kCellLabel);
    FixedField(d, "MaxTornadoOccupancy", 6840, 4590, 3060, 630, kCellValue);

    // Counties.
    Shape(d, ItemKind::Box, kBoxLeft, 5310, kBoxWidth, 630);
    VRule(d, 2070, 5310, 630);
    VRule(d, 4860, 5310, 630);
    VRule(d, 6750, 5310, 630);
    Label(d, "Tornado Counties:", 270, 5310, 1710, 630, kCellLabel);
    FixedField(d, "TornadoCounties", 2160, 5310, 2610, 630, kCellValue);
    Label(d, "No. of Counties:", 4950, 5310, 1710, 630, kCellLabel);
    FixedField(d, "NumberOfCounties", 6840, 5310, 3060, 630, kCellValue);
}

void MitigationBlock(rpt::Section& d) {
    // Mitigation.
    Shape(d, ItemKind::Box, kBoxLeft, 6030, kBoxWidth, 1710);
    HRule(d, kBoxLeft, 6660, kBoxWidth);
    HRule(d, kBoxLeft, 7020, kBoxWidth);
    HRule(d, kBoxLeft, 7380, kBoxWidth);
    VRule(d, 2070, 6030, 1710);
    VRule(d, 4860, 6660, 1080);
    VRule(d, 7110, 6660, 1080);
    Label(d, "Mitigation Description:", 270, 6030, 1710, 630, kCellLabel);
    FixedField(d, "Description", 2160, 6030, 7650, 630, kCellValue);
    const struct {
        const char* label;
        const char* field;
        int top;
        bool right;
    } mitigation[] = {
        {"Project Cost ($):", "ProjectCost", 6660, false},       {"Maintenance ($/yr):", "MaintenanceCost", 6660, true},
        {"Project Life (yr.):", "ProjectLifetime", 7020, false}, {"Discount Rate (%):", "DiscountRate", 7020, true},
        {"Injury Cost ($):", "InjuryCost", 7380, false},         {"Death Cost ($):", "DeathCost", 7380, true}};
    for (const auto& m : mitigation) {
        Label(d, m.label, m.right ? 4950 : 270, m.top, m.right ? 2070 : 1710, 360, kCellLabel);
        FixedField(d, m.field, m.right ? 7200 : 2160, m.top, 2610, 360, kCellValue);
    }
}

// The results and the disclaimer.
void ResultsBlock(rpt::Section& d) {
    // Results.
    Label(d, "BENEFIT COSTS ANALYSIS", 270, 8190, 6000, 300, kBlockHeading);
    Shape(d, ItemKind::Box, kBoxLeft, 8910, kBoxWidth, 1440);
    HRule(d, kBoxLeft, 9270, kBoxWidth);
    HRule(d, kBoxLeft, 9630, kBoxWidth);
    HRule(d, kBoxLeft, 9990, kBoxWidth);
    VRule(d, 2880, 8910, 1440);
    VRule(d, 4860, 8910, 1440);
    VRule(d, 6930, 8910, 1440);
    VRule(d, 8550, 8910, 1440);
    const struct {
        const char* label;
        const char* field;
        int top;
        bool right;
    } results[] = {{"Tornado Benefits ($/yr):", "TornadoBenefits", 8910, false},
                   {"Net Benefits ($/yr):", "NetBenefits", 8910, true},
                   {"Hurricane Benefits ($/yr):", "HurricaneBenefits", 9270, false},
                   {"BC Ratio:", "BenefitCostRatio", 9270, true},
                   {"Total Benefits ($/yr):", "TotalBenefits", 9630, false},
                   {"Lives Saved:", "LivesSaved", 9630, true},
                   {"Total Cost ($/yr):", "AnnualizedCost", 9990, false},
                   {"Injuries Avoided:", "InjuriesAvoided", 9990, true}};
    for (const auto& r : results) {
        Label(d, r.label, r.right ? 4950 : 270, r.top, r.right ? 1890 : 2520, 360, kCellLabel);
        FixedField(d, r.field, r.right ? 7020 : 2970, r.top, r.right ? 1440 : 1800, 360, kCellNumber);
    }
    FixedField(d, "LivesSavedYears", 8640, 9630, 1260, 360, kCellValue);
    FixedField(d, "InjuriesAvoidedYears", 8640, 9990, 1260, 360, kCellValue);

    Label(d, kDisclaimer, 270, 10710, 9360, 600, {9});
}

}  // namespace

ActiveReport2::ActiveReport2(ShortReportData data) : data_(std::move(data)) {
    Build();
    reportStart = [this] { ActiveReport_ReportStart(); };
    Detail().format = [this] { Detail_Format(); };
    PageFooter().format = [this] { PageFooter_Format(); };
}

void ActiveReport2::Build() {
    ReportHeader().visible = false;
    ReportFooter().visible = false;
    HeaderAndFooter(PageHeader(), PageFooter());

    rpt::Section& d = Detail();
    d.height = 11748;
    SummaryBlocks(d);
    InputBlocks(d);
    MitigationBlock(d);
    ResultsBlock(d);
}

void ActiveReport2::ActiveReport_ReportStart() { margins = {kMargin, kMargin, kMargin, kMargin}; }

void ActiveReport2::Detail_Format() {
    const ProjectPart& p = data_.project;
    const BuildingPart& b = data_.building;
    const MitigationPart& m = data_.mitigation;
    const ResultsPart& r = data_.results;

    LoadSealImage(*this, "SealImage", data_.sealPath);

    SetText("BuildingName", p.buildingName);
    SetText("Address", p.address);
    SetText("Location", LocationText(p.city, p.countyName, p.stateName));
    SetText("DisasterNumber", p.disasterNumber);
    SetText("ProjectNumber", p.projectNumber);
    SetText("ScenarioRunId", p.scenarioRunId);
    SetText("Analyst", p.analyst);
    SetText("ShelterConstruction", ShortConstructionText(b.constructionType, b.minimalWindowArea));
    SetText("BuildingDimensions", b.buildingLength + " X " + b.buildingWidth);
    SetText("ShelterArea", b.shelterArea);
    SetText("HurricaneOccupancy", b.hurricaneOccupancy);
    SetText("MaxTornadoOccupancy", std::to_string(MaxTornadoOccupancy(b.hourly)));
    SetText("TornadoCounties", ShortCountiesText(p.selectionMethod, p.selectionRadius));
    SetText("NumberOfCounties", std::to_string(p.selectedCounties.size()));
    FillMitigationAndResults(*this, m, r);
    SetText("LivesSavedYears", LifetimeYearsText(m.projectLifetime));
    SetText("InjuriesAvoidedYears", LifetimeYearsText(m.projectLifetime));
}

void ActiveReport2::PageFooter_Format() {
    SetText("FooterDate", fmt::ShortDate());
    SetText("FooterProvenance", ProvenanceText());
}

}  // namespace verrane::reports
