#pragma once
// The analysis of a project document without screens: exactly what the
// window shows for the same project after File > Open and "Benefit Cost
// Analysis". The values the input screens publish for the analysis (the
// hourly occupancy on Eastern Standard Time, the hurricane occupancy, the
// rates in effect and the wind thresholds, the county's hurricane design wind
// speed, the tornado statistics pooled over the selected counties) are
// computed from the document and the reference data by the functions the
// screens call (model/, platform/reference_data.h); the results screen reads
// its inputs with AnalysisInputOf, as AnalyzeDocument does.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/analysis.h"
#include "model/rates.h"
#include "platform/dialogs.h"
#include "platform/reference_data.h"
#include "project/project_document.h"

namespace verrane::project {

// What the input screens publish for the analysis (their savedata, the
// county's record and the extraction).
struct PublishedValues {
    // The pooled tornado statistics; empty when they could not be extracted.
    std::optional<model::TornadoStats> record;
    std::array<float, 24> tornadoHourlyOccupancy{};  // TornadoHourlyOccupancy
    std::string hurricaneOccupancyList;              // the box as typed; empty stands for 0
    model::Outcome injury, death;                    // InjuryOutcome, DeathOutcome
    double hurricaneWind = 0;                        // HurricaneWind
    std::array<int, 9> windRangeThresholds{};        // WindRangeThresholds
    std::string projectStateName;
};

// The inputs of model::Analyze, read as the results screen reads them: the
// document's texts (the building's length and width only with the tornado
// statistics) and the published values. An input that is empty or not a
// number counts as 0 and is added to `unusable` (once), in the order the
// user is told.
model::AnalysisInput AnalysisInputOf(const ProjectDocument& document, const PublishedValues& published,
                                     std::vector<std::string>& unusable);
// The one message about them ("" when there are none).
std::string UnusableInputsMessage(const std::vector<std::string>& unusable);

// The building screen's TornadoHourlyOccupancy for the building block.
std::array<float, 24> TornadoHourlyOccupancyOf(const BuildingBlock& building);
// The mitigation screen's rate grid for the document: the default cells as
// the construction type, the window box and the design wind speed fill them,
// and the user-defined cells.
model::RateGrid RateGridOf(const ProjectDocument& document);
// Empties the user-defined percentages of every range whose pair is above
// 100 %, as the mitigation screen does when the project is opened. Returns the
// ranges.
std::vector<std::size_t> ClearUserPairsAbove100(ProjectDocument& document);

// Why the window would keep "Benefit Cost Analysis" off for this document,
// naming the inputs that are missing ("" when it can be analysed). Without
// `needCounty` the state and county are not asked for (a template that is
// moved to each county).
std::string NotAnalysedReason(const ProjectDocument& document, bool needCounty = true);

struct DocumentAnalysis {
    // Why there are no figures ("not analysed: ..."); empty when analysed.
    std::string notAnalysed;
    model::AnalysisInput input;
    model::AnalysisResult result;
    std::string projectFips;
    // What the window tells on the way (a county without a hurricane design
    // wind speed, statistics that could not be extracted), in order.
    std::vector<platform::Message> messages;
    bool ok() const { return notAnalysed.empty(); }
};

// The analysis of the document as the window makes it. The document's values
// are those its fields' rules accept (as File > Open and SetField leave
// them); user-defined percentage pairs above 100 % are left out as opening
// the project does.
DocumentAnalysis AnalyzeDocument(const ProjectDocument& document, const platform::ReferenceData& reference);

}  // namespace verrane::project
