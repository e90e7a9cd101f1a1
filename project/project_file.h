#pragma once
// The project file: one value per line in a fixed order. This is the pure
// text side (lines in, checked contents out, and back); Form2's Read_File
// and Write_File move the contents between the file and the screens.
#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace verrane::project {

// Why a file was rejected: the line (1-based) and what was expected there.
struct ProjectFileError : std::runtime_error {
    ProjectFileError(int line, const std::string& what);
    int line;
};

struct BuildingBlock {
    std::string length, width, shelterArea;
    int constructionType = 0;      // list position
    int minimalWindowArea = 0;     // check box state
    std::string hurricaneOccupancy;
    int timeZone = -1;             // list position
    int daylightSaving = 0;        // check box state
    std::array<std::string, 24> hourly;
};

struct MitigationBlock {
    std::string description, projectCost, maintenanceCost, lifetime, injuryCost, deathCost, discountRate;
    int designWindSpeed = 0;       // list position
    std::array<std::string, 9> userInjuryPercent, userInjuryEffectiveness, userDeathPercent, userDeathEffectiveness;
};

struct ProjectFileContents {
    // Lines 2 to 10: building name, address, city, state, county, disaster
    // number, project number, scenario run id, analyst.
    std::string buildingName, address, city, stateName, countyName, disasterNumber, projectNumber, scenarioRunId,
        analyst;
    std::optional<BuildingBlock> building;
    int selectionMethod = -1;
    float selectionRadius = 0;     // only written and read for method 0
    std::vector<std::string> selectedCounties;
    std::optional<MitigationBlock> mitigation;
};

// Throws ProjectFileError for a wrong first line (line 1), a file that ends
// early, a whole number that is not one, a list position out of range, a
// number box holding text or a number that does not fit the box, or a county
// code that is not five digits. A file that ends inside the user-defined rate
// cells is read with the missing cells empty.
ProjectFileContents ParseProjectFile(const std::vector<std::string>& lines);
// Never fails: a line break in a text becomes a single space, and a NUL
// character is left out, so every file it writes reads back.
std::vector<std::string> FormatProjectFile(const ProjectFileContents& contents);

}  // namespace verrane::project
