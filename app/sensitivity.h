#pragma once
// One-at-a-time sensitivity of a project: every variation is a whole
// re-analysis of a copy of the project document with one input changed
// through the field table, as the user would type or choose it; then the
// breakeven project cost and discount rate, and the interval of the tornado
// benefits drawn from the sampling uncertainty of the record.
#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "model/sensitivity.h"
#include "model/uncertainty.h"
#include "platform/reference_data.h"
#include "project/document_analysis.h"
#include "project/project_document.h"

namespace verrane {

// The distinct tornadoes of each class (F0..F5) that touched any of the
// counties (FIPS codes), from the reference table of each tornado's counties.
std::array<double, 6> DistinctTornadoesByF(const std::filesystem::path& database,
                                           const std::vector<std::string>& counties);
// What the uncertainty draws need from an analysis of a document whose
// region is `selectedCounties`.
// `tornadoes`, when given, are the region's distinct tornadoes counted already.
model::UncertaintyInput UncertaintyInputOf(const project::DocumentAnalysis& analysis,
                                           const std::vector<std::string>& selectedCounties,
                                           const platform::ReferenceData& reference,
                                           const std::array<double, 6>* tornadoes = nullptr);

// Why a sensitivity run could not be made: the project cannot be analysed
// (no state and county, an input missing), or an edit was refused.
struct SensitivityError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Edit = std::pair<std::string, std::string>;  // input name, text

// A copy of the document with the edits set in order through the field table
// (project::EditDocument: each rule applies, and a new radius or method
// re-applies the county selection), analysed as "Benefit Cost Analysis" does
// (project::AnalyzeDocument). With `uncertainty`, also what the draws need.
// Throws SensitivityError.
model::Figures AnalyseEdited(const project::ProjectDocument& document, const platform::ReferenceData& reference,
                             const std::vector<Edit>& edits, model::UncertaintyInput* uncertainty = nullptr);

// The variations in this order: DiscountRate "2" "3" "7" "10"; ProjectCost,
// MaintenanceCost, InjuryCost, DeathCost x 0.75 and x 1.25 (left out when the
// box is empty or not a number); ProjectLifetime - 10 (at least 1) and + 10;
// TornadoOccupancy (all 24 hours) and HurricaneOccupancy x 0.75 and x 1.25;
// SelectionRadius "0" "25" "50" "100" "150" "250"; SelectionMethod "1";
// DesignWindSpeed at every speed of its list ("1" to "4"; not the prompt).
// Hurricane occupancy is left out, with a note in `notes`, when there is none
// or the state is not hurricane-prone: it cannot change the result there.
// A scaled number is typed as the shortest text of the scaled single value.
struct PlannedVariation {
    std::string input, value;  // as the result reports them
    std::vector<Edit> edits;   // what is typed or chosen
};
std::vector<PlannedVariation> SensitivityEdits(const project::ProjectDocument& entered,
                                               std::vector<std::string>* notes = nullptr);

// A variation of `input` at `value` (as PlannedVariation names them) with its
// words for the user filled in from the one table of input names and units:
// "Design wind speed 200 mph", "Region radius 25 miles", "Entire state".
model::Variation DescribedVariation(const std::string& input, const std::string& value);

// The whole run on the document as the screens hold it (or File > Open leaves
// it), every re-analysis asking `reference`. Throws SensitivityError.
// `tornadoes`: the distinct tornadoes of the document's region, when they
// were counted already.
model::SensitivityResult RunSensitivity(const project::ProjectDocument& document, std::string file,
                                        const platform::ReferenceData& reference,
                                        const std::array<double, 6>* tornadoes = nullptr);
// The same with the reference tables of the program's database read once.
model::SensitivityResult RunSensitivity(const project::ProjectDocument& document, std::string file);

}  // namespace verrane
