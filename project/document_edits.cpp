#include "project/document_edits.h"

#include <algorithm>
#include <cmath>

#include "model/hazard.h"
#include "model/region.h"
#include "platform/number.h"

namespace verrane::project {

namespace {

const char* const kReferenceData = "Reference Data";

// The project county's code, or nullopt (said why) when it cannot be looked up.
std::optional<std::string> ProjectFips(const ProjectDocument& d, const platform::ReferenceData& reference,
                                       std::vector<platform::Message>& messages) {
    const platform::CountyCodes codes = platform::ReadCountyCodes(reference, d.stateName, d.countyName);
    if (!codes.problem.empty()) messages.push_back(platform::WarningMessage(codes.problem, kReferenceData));
    if (!codes.state || !codes.county) return std::nullopt;
    return platform::FipsText(*codes.state, *codes.county);
}

void Keep(platform::CountySelection selection, ProjectDocument& d, std::vector<platform::Message>& messages) {
    if (!selection.problem.empty()) messages.push_back(platform::WarningMessage(selection.problem, kReferenceData));
    d.selectedCounties = std::move(selection.counties);
}

}  // namespace

std::optional<platform::Message> HurricaneOccupancyWarning(const std::string& state,
                                                           const std::string& hurricaneOccupancy) {
    if (model::IsHurricaneProne(state) || hurricaneOccupancy.empty()) return std::nullopt;
    const auto v = platform::ParseNumber(hurricaneOccupancy);
    if (!v || platform::RoundHalfEven(*v) < 1) return std::nullopt;
    return platform::WarningMessage(
        "This non-hurricane prone state has a hurricane occupancy on the Building Information screen.",
        "State Should Have No Hurricane Occupancy");
}

bool SelectCounties(ProjectDocument& d, const platform::ReferenceData& reference,
                    std::vector<platform::Message>& messages) {
    const auto fips = ProjectFips(d, reference, messages);
    if (!fips) return false;
    int radius = 0;
    switch (d.selectionMethod) {
        case 0: {
            // The stored radius moves the slider: whole miles within its range.
            radius = model::SliderMiles(d.selectionRadius);
            Keep(platform::RegionSelection(reference, d.stateName, d.countyName, radius, *fips), d, messages);
            break;
        }
        case 1:
            Keep(platform::StateSelection(reference, d.stateName, *fips), d, messages);
            break;
        case 2:
            break;  // the counties picked on the map
        default:
            d.selectedCounties = {*fips};
            break;
    }
    d.selectionRadius = static_cast<float>(radius);
    return true;
}

bool MoveToCounty(ProjectDocument& d, const std::string& state, const std::string& county,
                  const platform::ReferenceData& reference, std::vector<platform::Message>& messages) {
    const bool newState = d.stateName != state;
    if (newState && d.building)
        if (auto w = HurricaneOccupancyWarning(state, d.building->hurricaneOccupancy)) messages.push_back(*w);
    if (newState || d.countyName != county) {
        d.stateName = state;
        d.countyName = county;
        const auto fips = ProjectFips(d, reference, messages);
        if (!fips) return false;
        d.selectedCounties = {*fips};
        if (d.building) {
            const platform::TimePreset preset = platform::ReadTimePreset(reference, state, county);
            if (!preset.problem.empty()) messages.push_back(platform::WarningMessage(preset.problem, kReferenceData));
            if (preset.found) {
                d.building->daylightSaving = preset.daylightSaving ? 1 : 0;
                if (preset.timeZone) d.building->timeZone = *preset.timeZone;
            }
        }
    }
    return SelectCounties(d, reference, messages);
}

std::optional<FieldRefusal> EditDocument(ProjectDocument& d, std::string_view name, std::string_view text,
                                         const platform::ReferenceData& reference,
                                         std::vector<platform::Message>& messages) {
    if (auto refusal = SetField(d, name, text)) return refusal;
    if (name == "SelectionRadius" || name == "SelectionMethod") SelectCounties(d, reference, messages);
    return std::nullopt;
}

}  // namespace verrane::project
