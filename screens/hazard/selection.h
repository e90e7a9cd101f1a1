#pragma once
// The pieces of the county selection that the hazard screen and the
// county map share: the radius typed, the F3 sufficiency test, the colours
// of the selection and the zoom to the states involved. The region search
// and the state's counties are questions of the reference data
// (platform/reference_data.h).
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/region.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/map.h"
#include "platform/reference_data.h"

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

using platform::CountyNotFound;
using platform::FipsText;

// The largest radius the slider takes, in miles.
inline constexpr int kMaxRadius = model::kMaxRadiusMiles;

// What the hazard screen makes of a radius typed into its box: the whole
// miles the slider moves to (halves to even; an empty box is 0, and so is a
// text that is not a number, with its message), or, for a number outside 0
// to 250, no move and the message refusing it.
struct RadiusEntry {
    std::optional<int> miles;
    std::string message;  // empty when the entry was taken as typed
};
RadiusEntry ReadRadius(const std::string& typed);

// State code of a FIPS text ((n - n mod 1000) / 1000), or nullopt when the
// text is not a number.
std::optional<int> StateCodeOf(const std::string& fips);

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
