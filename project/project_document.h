#pragma once
// The project as the user describes it: every input of the four input
// screens as the file carries it (texts as typed, list positions, check box
// states, the county selection, the two optional blocks). The file
// conversions (project_file.h) and the screens' load and store (Form2's
// LoadDocument / StoreDocument) read and write this one value.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace verrane::project {

struct BuildingBlock {
    std::string length, width, shelterArea;
    int constructionType = 0;   // list position
    int minimalWindowArea = 0;  // check box state
    std::string hurricaneOccupancy;
    int timeZone = -1;       // list position
    int daylightSaving = 0;  // check box state
    std::array<std::string, 24> hourly;
};

struct MitigationBlock {
    std::string description, projectCost, maintenanceCost, lifetime, injuryCost, deathCost, discountRate;
    int designWindSpeed = 0;  // list position
    std::array<std::string, 9> userInjuryPercent, userInjuryEffectiveness, userDeathPercent, userDeathEffectiveness;
};

struct ProjectDocument {
    // Lines 2 to 10: building name, address, city, state, county, disaster
    // number, project number, scenario run id, analyst.
    std::string buildingName, address, city, stateName, countyName, disasterNumber, projectNumber, scenarioRunId,
        analyst;
    std::optional<BuildingBlock> building;
    int selectionMethod = -1;
    float selectionRadius = 0;  // only written and read for method 0
    std::vector<std::string> selectedCounties;
    std::optional<MitigationBlock> mitigation;
};

}  // namespace verrane::project
