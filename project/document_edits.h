#pragma once
// Changes of a project document that the screens make beyond setting one
// field, for batch runs on documents: the county selection the Tornado Hazard
// Information screen makes when it is opened (its method re-applied to the
// project county), and the project moved to another county on the Project
// Information screen. Each tells, in `messages`, what the screens show on the
// way. A field alone is set with SetField (project/fields.h).
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/reference_data.h"
#include "project/fields.h"
#include "project/project_document.h"

namespace verrane::project {

// The warning of the Project Information screen when a state that is not
// hurricane-prone is chosen for a building whose hurricane occupancy rounds
// to 1 or more; nullopt when there is nothing to say.
std::optional<platform::Message> HurricaneOccupancyWarning(const std::string& state,
                                                           const std::string& hurricaneOccupancy);

// The selection the hazard screen makes for the document when it is opened
// and left: a region around the project county of the radius in whole miles
// (halves to even, 0 to 250), every county of the state, the counties picked
// on the map as they are, or, without a method, the project county alone;
// the method, radius and counties stored as leaving the screen stores them.
// False, with nothing changed, when the project county has no record.
bool SelectCounties(ProjectDocument& document, const platform::ReferenceData& reference,
                    std::vector<platform::Message>& messages);

// The project moved to another county as choosing the state and then the
// county on the Project Information screen moves it: a new state warns about
// a hurricane occupancy it should not have; a new county becomes the selected
// counties alone and presets the time zone and daylight saving. Then the
// hazard screen's selection (SelectCounties). False when the county has no
// record.
bool MoveToCounty(ProjectDocument& document, const std::string& state, const std::string& county,
                  const platform::ReferenceData& reference, std::vector<platform::Message>& messages);

// One input set through the field table, as entering it on its screen sets
// it: a refused value leaves the document unchanged and comes back as the
// refusal. The selection radius and method re-apply the hazard screen's
// selection (SelectCounties), as choosing them there does.
std::optional<FieldRefusal> EditDocument(ProjectDocument& document, std::string_view name, std::string_view text,
                                         const platform::ReferenceData& reference,
                                         std::vector<platform::Message>& messages);

}  // namespace verrane::project
