#pragma once
// One-at-a-time sensitivity of a project: every variation is a whole
// re-analysis of the project with one input changed as the user would type
// or choose it (SetInput), run in a fresh program; then the breakeven project
// cost and discount rate, and the interval of the tornado benefits drawn
// from the sampling uncertainty of the record.
#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "model/sensitivity.h"
#include "model/uncertainty.h"
#include "project/project_document.h"

namespace verrane {

class App;
class Form6;

// The one place that reads the analysis results for these runs.
model::Figures FiguresOf(const Form6& f6);
// What the uncertainty draws need from an analysed program.
model::UncertaintyInput UncertaintyInputOf(App& app);
// The distinct tornadoes of each class (F0..F5) that touched any of the
// counties (FIPS codes), from the reference table of each tornado's counties.
std::array<double, 6> DistinctTornadoesByF(const std::filesystem::path& database,
                                           const std::vector<std::string>& counties);

// Why a sensitivity run could not be made: the project has no state and
// county, an edit was refused, or the analysis did not come up.
struct SensitivityError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Edit = std::pair<std::string, std::string>;  // input name, text

// The project opened in a fresh program, the edits applied in order, saved and
// read back as its project file would be, and analysed as "Benefit Cost
// Analysis" on the Project Information screen does. With `entered`, also the
// project as the screens hold it after the analysis (both optional blocks
// present). Throws SensitivityError.
model::Figures AnalyseEdited(const project::ProjectDocument& document, const std::vector<Edit>& edits,
                             project::ProjectDocument* entered = nullptr,
                             model::UncertaintyInput* uncertainty = nullptr);

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

// Throws SensitivityError.
model::SensitivityResult RunSensitivity(const project::ProjectDocument& document, std::string file);

}  // namespace verrane
