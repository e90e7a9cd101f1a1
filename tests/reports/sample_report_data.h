#pragma once
// A filled project as the screens would hand it to the reports: a school
// shelter in Oklahoma with a 50-mile region reaching into Texas.

#include <filesystem>

#include "reports/report_data.h"

namespace verrane::reports::sample {

inline ProjectPart SampleProject() {
    ProjectPart p;
    p.buildingName = "Lincoln Elementary School";
    p.address = "1200 West Main Street";
    p.city = "Norman";
    p.stateName = "Oklahoma";
    p.countyName = "Cleveland";
    p.disasterNumber = "DR-1355";
    p.projectNumber = "0042";
    p.scenarioRunId = "Run 3";
    p.analyst = "J. Morales";
    p.selectionMethod = 0;
    p.selectionRadius = 50;
    p.selectedCounties = {"40017", "40027", "40051", "40087", "40109", "40125", "48485"};
    return p;
}

inline BuildingPart SampleBuilding() {
    BuildingPart b;
    b.buildingLength = "320";
    b.buildingWidth = "180";
    b.shelterArea = "4500";
    b.hurricaneOccupancy = "0";
    b.constructionType = "Reinforced Masonry";
    b.minimalWindowArea = true;
    b.timeZoneText = "Central Standard Time";
    b.daylightSaving = true;
    for (int h = 0; h < 24; ++h) b.hourly[h] = (h >= 7 && h <= 15) ? "450" : "5";
    b.hourly[10] = "150";
    b.hourly[14] = "600";
    return b;
}

inline MitigationPart SampleMitigation() {
    MitigationPart m;
    m.description = "Reinforced safe room in the gymnasium, designed for 250 mph winds";
    m.projectCost = "850000";
    m.maintenanceCost = "2500";
    m.projectLifetime = "30";
    m.discountRate = "7";
    m.injuryCost = "10000";
    m.deathCost = "2710000";
    m.designWindSpeedText = "250";
    const char* inj[9] = {"0", "0.01", "0.1", "1", "5", "20", "40", "60", "80"};
    const char* eff[9] = {"0", "100", "100", "100", "100", "100", "100", "95", "0"};
    for (int k = 0; k < 9; ++k) {
        m.rateCells[k] = inj[k];
        m.rateCells[20 + k] = eff[k];
        m.rateCells[40 + k] = std::string(inj[k]) == "0" ? "0" : "0.004";
        m.rateCells[50 + k] = k < 3 ? "0" : "2.5";
        m.rateCells[70 + k] = eff[k];
        m.rateCells[90 + k] = k == 8 ? "2.5" : "0";
    }
    m.rateCells[13] = "2";  // one user-defined cell
    return m;
}

inline ResultsPart SampleResults() {
    ResultsPart r;
    r.tornadoBenefitsText = " 61,318";
    r.hurricaneBenefitsText = " 0";
    r.totalBenefitsText = " 61,318";
    r.annualizedCostText = " 70,997";
    r.netBenefitsText = " -9,679";
    r.benefitCostRatioText = " 0.86";
    r.livesSavedText = " 0.66";
    r.injuriesAvoidedText = " 8.25";
    r.livesSavedCaption = "Total Lives Saved Over Project Lifetime of 30 years";
    r.injuriesAvoidedCaption = "Total Injuries Avoided Over Project Lifetime of 30 years";
    r.userRatesNote = "User-defined pre-mitigation percent or mitigation effectiveness entered.";
    r.sufficiencyNote =
        "Selected counties do not have sufficient number of tornadoes for computing signficant hazard statistics.";
    r.countiesNote = "";
    r.reportCountyArea = 558.3;
    r.reportRegionArea = 7839.6;
    r.reportRecordYears = 50;
    r.reportCountByF = {212, 398, 271, 62, 17, 3};
    r.annualCountByF = {0.3021, 0.5672, 0.3862, 0.0884, 0.0242, 0.0043};
    r.reportPathLengthByF = {2904, 9504, 26928, 63360, 105600, 190080};
    r.reportPathAreaByF = {3, 24, 163, 727, 2424, 6545};
    r.annualPathAreaByF = {1, 14, 63, 64, 59, 28};
    r.effectiveAreaByF = {33, 69, 141, 109, 78, 31};
    r.strikeProbabilityByF = {0.0000923, 0.000193, 0.000395, 0.000305, 0.000218, 0.0000868};
    r.reportHurricaneWind = 90;
    r.hurricaneRangeProbability = {0.97, 0.028, 0.0017, 0.00009, 0.00001, 0.000001, 0, 0, 0};
    return r;
}

inline std::vector<CountyRow> SampleCountyRows() {
    return {{"Oklahoma", "Canadian"}, {"Oklahoma", "Cleveland"},    {"Oklahoma", "Grady"}, {"Oklahoma", "McClain"},
            {"Oklahoma", "Oklahoma"}, {"Oklahoma", "Pottawatomie"}, {"Texas", "Wichita"}};
}

inline std::filesystem::path SealPath() { return std::filesystem::path(VERRANE_SOURCE_DATA_DIR) / "aldmereseal.bmp"; }

inline LongReportData SampleLongData() {
    LongReportData d;
    d.project = SampleProject();
    d.building = SampleBuilding();
    d.mitigation = SampleMitigation();
    d.results = SampleResults();
    d.selectedCountyRows = SampleCountyRows();
    d.sealPath = SealPath();
    return d;
}

inline ShortReportData SampleShortData() {
    ShortReportData d;
    d.project = SampleProject();
    d.building = SampleBuilding();
    d.mitigation = SampleMitigation();
    d.results = SampleResults();
    d.sealPath = SealPath();
    return d;
}

}  // namespace verrane::reports::sample
