#pragma once
// The pieces of the county selection that the hazard screen and the
// county map share: the region search, the state's counties, the F3
// sufficiency test, the colours of the selection and the zoom to the
// states involved.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/map.h"
#include "platform/refdb.h"

namespace verrane::hazard {

inline const char* const kCalculating = "Calculating";
inline const char* const kSufficient =
    "Selected counties have sufficient number of tornadoes for computing hazard statistics.";
inline const char* const kInsufficient =
    "Selected counties do not have sufficient number of tornadoes for computing hazard statistics. Select more "
    "counties.";
inline const char* const kPointToCounty = "You must point to a county.";
inline const char* const kIdentifyTitle = "County Identify";
inline const char* const kReferenceDataTitle = "Reference Data";

// 16 or more F3 tornadoes make the sample sufficient.
inline constexpr double kSufficientF3 = 16;

// The project county is not in the coordinate table.
struct CountyNotFound : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// "01" + "001": the county code as the selection lists hold it.
std::string FipsText(int stateCode, int countyCode);

// State code of a FIPS text ((n - n mod 1000) / 1000), or nullopt when the
// text is not a number.
std::optional<int> StateCodeOf(const std::string& fips);

// Every county that has its centroid or a corner of its extent box within
// radius miles of the project county's centroid, in table order. Throws
// CountyNotFound, or platform::DatabaseError.
std::vector<std::string> RegionCounties(const platform::Database& db, const std::string& stateName,
                                        const std::string& countyName, double radius);

// The counties of the state in the county table's order.
std::vector<std::string> StateCounties(const platform::Database& db, const std::string& stateName);

// Non-negative FCOUNT3 of the counties' tornado rows, summed until the sum
// reaches 16 (the rest need not be read).
double SumF3(const platform::Database& db, const std::vector<std::string>& counties);

// The sufficiency test of a screen: reads the tornado record of the
// counties and shows the message, black or red, in the label. When the
// record cannot be read, says why and returns nullopt.
std::optional<bool> TestSufficiency(const std::filesystem::path& database, const std::vector<std::string>& counties,
                                    platform::Label& label, platform::Dialogs& dialogs);

// The county a click on the map picks (its record in the counties layer,
// -1 for none): the county under the pointer; off every county, the nearest
// one within 200 twips.
int CountyAt(const platform::MapControl& map, const platform::MapLayer& counties, double xTwips, double yTwips);

// Project county green, the other listed counties red.
void ColourSelection(platform::ValueMapRenderer& renderer, const std::vector<std::string>& counties,
                     const std::string& projectFips);

// The extent of the states involved, scaled by 1.1: the union of every
// other state of the list (in order of first appearance) and the project
// state, or the project state alone found by name. nullopt when no state
// shape matches.
std::optional<platform::MapRect> SelectionExtent(const platform::MapLayer& states,
                                                 const std::vector<std::string>& counties, int projectStateCode,
                                                 const std::string& projectStateName);

}  // namespace verrane::hazard
