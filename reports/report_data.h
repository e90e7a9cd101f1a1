#pragma once
// What the two reports print, read by the caller from the screens and from
// the values the Benefit Cost Analysis screen keeps for the reports. Texts
// are as the screens hold them (UTF-8); the reports format the numbers.

#include <array>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace verrane::reports {

// Form2: project information and the county selection.
struct ProjectPart {
    std::string buildingName;    // Form2.Text1(0)
    std::string address;         // Text1(1)
    std::string city;            // Text1(2)
    std::string disasterNumber;  // Text1(3)
    std::string projectNumber;   // Text1(4)
    std::string scenarioRunId;   // Text1(5)
    std::string analyst;         // Text1(6)
    std::string stateName;       // shown in Combo3
    std::string countyName;      // shown in Combo2
    int selectionMethod = -1;    // -1 none, 0 radius, 1 entire state, 2 user selected
    float selectionRadius = 0;
    std::vector<std::string> selectedCounties;  // FIPS codes, collection order
};

// Form3: building information.
struct BuildingPart {
    std::string buildingLength;          // Text1(0)
    std::string buildingWidth;           // Text1(1)
    std::string shelterArea;             // Text1(2)
    std::string hurricaneOccupancy;      // Text1(3)
    std::string constructionType;        // shown in Combo1(1)
    bool minimalWindowArea = false;      // Check1 ticked
    std::string timeZoneText;            // shown in Combo1(0)
    bool daylightSaving = false;         // Check2 ticked
    std::array<std::string, 24> hourly;  // Text2(0..23) as typed
};

// Form5: mitigation project.
struct MitigationPart {
    std::string description;                 // Text1(0)
    std::string projectCost;                 // Text1(1)
    std::string maintenanceCost;             // Text1(2)
    std::string projectLifetime;             // Text1(3)
    std::string injuryCost;                  // Text1(4)
    std::string deathCost;                   // Text1(5)
    std::string discountRate;                // Text1(6)
    std::string designWindSpeedText;         // shown in Combo1
    std::array<std::string, 100> rateCells;  // Text2(0..99) as they stand
};

// Form6: result texts (with their leading blank) and the report values.
struct ResultsPart {
    std::string tornadoBenefitsText, hurricaneBenefitsText, totalBenefitsText, annualizedCostText, netBenefitsText,
        benefitCostRatioText, livesSavedText, injuriesAvoidedText;
    std::string livesSavedCaption, injuriesAvoidedCaption;
    std::string userRatesNote, sufficiencyNote, countiesNote;

    double reportCountyArea = 0;
    double reportRegionArea = 0;
    double reportRecordYears = 0;
    std::array<double, 6> reportCountByF{};
    std::array<double, 6> annualCountByF{};
    std::array<double, 6> reportPathLengthByF{};
    std::array<double, 6> reportPathAreaByF{};
    std::array<double, 6> annualPathAreaByF{};
    std::array<double, 6> effectiveAreaByF{};
    std::array<double, 6> strikeProbabilityByF{};  // fractions
    double reportHurricaneWind = 0;
    std::array<double, 9> hurricaneRangeProbability{};  // fractions
};

// One county record of the selection: (State_name, Name).
using CountyRow = std::pair<std::string, std::string>;

struct LongReportData {
    ProjectPart project;
    BuildingPart building;
    MitigationPart mitigation;
    ResultsPart results;
    // The selected counties as read from the county table in FIPS order;
    // codes missing from the table are simply absent. Not needed for the
    // entire-state method.
    std::vector<CountyRow> selectedCountyRows;
    std::filesystem::path sealPath;  // data/aldmereseal.bmp
};

struct ShortReportData {
    ProjectPart project;
    BuildingPart building;
    MitigationPart mitigation;
    ResultsPart results;
    std::filesystem::path sealPath;
};

}  // namespace verrane::reports
