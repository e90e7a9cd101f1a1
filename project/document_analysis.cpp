#include "project/document_analysis.h"

#include <algorithm>
#include <exception>

#include "model/occupancy.h"
#include "platform/number.h"
#include "project/fields.h"

namespace verrane::project {

namespace {

const char* const kLength = "Building Longest Length (Building Information)";
const char* const kWidth = "Building Longest Width (Building Information)";
const char* const kHurricaneOccupancy = "Hurricane Shelter Occupancy (Building Information)";
const char* const kCost = "Project Cost (Mitigation Project Information)";
const char* const kMaintenance = "Maintenance Cost (Mitigation Project Information)";
const char* const kLifetime = "Project Lifetime (Mitigation Project Information)";
const char* const kRate = "Discount Rate (Mitigation Project Information)";
const char* const kNoCounty = "not analysed: the project has no state and county";

void Note(std::vector<std::string>& unusable, const char* what) {
    if (std::find(unusable.begin(), unusable.end(), what) == unusable.end()) unusable.emplace_back(what);
}

bool HasUserRates(const MitigationBlock& m) {
    for (const auto* column :
         {&m.userInjuryPercent, &m.userInjuryEffectiveness, &m.userDeathPercent, &m.userDeathEffectiveness})
        for (const std::string& cell : *column)
            if (!cell.empty()) return true;
    return false;
}

// What a default cell of the grid holds: the shortest text of the value, read back.
std::array<double, 9> Shown(const std::array<float, 9>& values) {
    std::array<double, 9> out{};
    for (size_t k = 0; k < 9; ++k) out[k] = platform::ParseNumber(platform::GeneralText(values[k])).value_or(0.0);
    return out;
}

std::array<std::optional<double>, 9> UserCells(const std::array<std::string, 9>& cells) {
    std::array<std::optional<double>, 9> out{};
    for (size_t k = 0; k < 9; ++k)
        if (!cells[k].empty()) out[k] = platform::ParseNumber(cells[k]).value_or(0.0);
    return out;
}

platform::Message Warning(std::string text, std::string title) {
    platform::Message m;
    m.text = std::move(text);
    m.title = std::move(title);
    m.icon = platform::Icon::Exclamation;
    return m;
}

}  // namespace

model::AnalysisInput AnalysisInputOf(const ProjectDocument& d, const PublishedValues& p,
                                     std::vector<std::string>& unusable) {
    // A block the document lacks reads as boxes left empty.
    const BuildingBlock b = d.building.value_or(BuildingBlock{});
    const MitigationBlock m = d.mitigation.value_or(MitigationBlock{});
    auto single = [&unusable](const std::string& text, const char* what) {
        try {
            return platform::CSng(text);
        } catch (const platform::ConversionError&) {
            Note(unusable, what);
            return 0.0f;
        }
    };
    auto number = [&unusable](const std::string& text, const char* what) {
        if (auto v = platform::ParseNumber(text)) return *v;
        Note(unusable, what);
        return 0.0;
    };
    model::AnalysisInput in;
    in.userSelectedCounties = d.selectionMethod == 2;
    in.userDefinedRates = HasUserRates(m);
    if (p.record) {
        in.record = p.record;
        in.buildingLength = single(b.length, kLength);
        in.buildingWidth = single(b.width, kWidth);
    }
    in.tornadoHourlyOccupancy = p.tornadoHourlyOccupancy;
    in.injury = p.injury;
    in.death = p.death;
    in.hurricaneOccupancy =
        p.hurricaneOccupancyList.empty() ? 0.0 : number(p.hurricaneOccupancyList, kHurricaneOccupancy);
    in.hurricaneWind = p.hurricaneWind;
    in.windRangeThresholds = p.windRangeThresholds;
    in.projectStateName = p.projectStateName;
    in.projectCost = single(m.projectCost, kCost);
    in.maintenanceCost = single(m.maintenanceCost, kMaintenance);
    const float years = single(m.lifetime, kLifetime);
    try {
        in.lifetime = platform::CInt(static_cast<double>(years));
    } catch (const platform::ConversionError&) {
        // Beyond a 16-bit number of years: counted as no lifetime, and said so.
        Note(unusable, kLifetime);
    }
    in.discountRate = single(m.discountRate, kRate) / 100.0f;
    in.lifetimeYears = number(m.lifetime, kLifetime);
    return in;
}

std::string UnusableInputsMessage(const std::vector<std::string>& unusable) {
    if (unusable.empty()) return "";
    std::string text = "These inputs are empty or not numbers and were taken as 0 in this analysis:";
    for (const auto& u : unusable) text += "\n" + u;
    return text;
}

std::array<float, 24> TornadoHourlyOccupancyOf(const BuildingBlock& b) {
    std::array<std::optional<float>, 24> local;
    for (size_t h = 0; h < 24; ++h) local[h] = platform::SingleValue(b.hourly[h]);
    return model::TornadoHourlyOccupancy(local, b.timeZone, b.daylightSaving == 1);
}

model::RateGrid RateGridOf(const ProjectDocument& d) {
    // The default percentages follow the building screen when there is one.
    const int type = d.building ? d.building->constructionType : 0;
    const bool minimalWindows = type >= 1 && type <= 5 && d.building->minimalWindowArea != 0;
    const model::DamagePercents damage = model::DefaultDamagePercents(type, minimalWindows);
    const MitigationBlock m = d.mitigation.value_or(MitigationBlock{});
    const std::array<double, 9> effectiveness = Shown(model::DefaultEffectiveness(m.designWindSpeed));
    model::RateGrid g;
    g.injuryCost = platform::SingleValue(m.injuryCost).value_or(0.0f);
    g.deathCost = platform::SingleValue(m.deathCost).value_or(0.0f);
    g.defaultInjuryPercent = Shown(damage.injury);
    g.defaultDeathPercent = Shown(damage.death);
    g.defaultInjuryEffectiveness = g.defaultDeathEffectiveness = effectiveness;
    g.userInjuryPercent = UserCells(m.userInjuryPercent);
    g.userInjuryEffectiveness = UserCells(m.userInjuryEffectiveness);
    g.userDeathPercent = UserCells(m.userDeathPercent);
    g.userDeathEffectiveness = UserCells(m.userDeathEffectiveness);
    return g;
}

std::vector<std::size_t> ClearUserPairsAbove100(ProjectDocument& d) {
    if (!d.mitigation) return {};
    model::RateGrid grid = RateGridOf(d);
    std::vector<std::size_t> cleared = model::ClearPairsAbove100(grid);
    for (std::size_t k : cleared) {
        d.mitigation->userInjuryPercent[k].clear();
        d.mitigation->userDeathPercent[k].clear();
    }
    return cleared;
}

std::string NotAnalysedReason(const ProjectDocument& document, bool needCounty) {
    std::vector<const Field*> missing = MissingForAnalysis(document);
    const auto place = [](const Field* f) { return f->name == "ProjectStateName" || f->name == "ProjectCountyName"; };
    const bool noCounty = std::any_of(missing.begin(), missing.end(), place);
    missing.erase(std::remove_if(missing.begin(), missing.end(), place), missing.end());
    if (needCounty && noCounty) return kNoCounty;
    if (missing.empty()) return "";
    return "not analysed: these inputs are empty: " + MissingInputsText(missing);
}

DocumentAnalysis AnalyzeDocument(const ProjectDocument& document, const platform::ReferenceData& reference) {
    DocumentAnalysis a;
    if (a.notAnalysed = NotAnalysedReason(document); !a.notAnalysed.empty()) return a;

    // The state and county as the lists of the Project Information screen offer them.
    const std::vector<std::string> states = reference.StateNames();
    const std::vector<std::string> counties = reference.CountyNames(document.stateName);
    if (std::find(states.begin(), states.end(), document.stateName) == states.end() ||
        std::find(counties.begin(), counties.end(), document.countyName) == counties.end()) {
        a.notAnalysed = kNoCounty;
        return a;
    }
    const auto county = reference.County(document.stateName, document.countyName);
    try {
        if (!county) throw platform::DatabaseError("It is not in the county table.");
        a.projectFips = county->Fips();
    } catch (const std::exception& e) {
        a.notAnalysed = "not analysed: the codes of " + document.countyName + ", " + document.stateName +
                        " could not be read. " + e.what();
        return a;
    }

    // Opening the project leaves out user-defined pairs above 100 %.
    ProjectDocument opened = document;
    // (Without user-defined cells there is nothing to leave out.)
    if (opened.mitigation && HasUserRates(*opened.mitigation)) ClearUserPairsAbove100(opened);

    PublishedValues p;
    p.projectStateName = document.stateName;
    const platform::HurricaneWindReading wind =
        platform::ReadHurricaneWind(reference, document.stateName, document.countyName);
    p.hurricaneWind = wind.wind.value_or(0.0);
    if (!wind.problem.empty()) a.messages.push_back(Warning(wind.problem, "Reference Data"));
    try {
        p.record = reference.PooledStats(document.selectedCounties, a.projectFips);
    } catch (const std::exception& e) {
        a.messages.push_back(Warning(platform::PoolingFailure(reference.file(), e.what()), "Reference Data"));
    }
    p.tornadoHourlyOccupancy = TornadoHourlyOccupancyOf(*opened.building);
    p.hurricaneOccupancyList = opened.building->hurricaneOccupancy;
    const model::RateResult rates = model::RatesInEffect(RateGridOf(opened));
    p.injury = rates.injury;
    p.death = rates.death;
    p.windRangeThresholds = model::WindRangeThresholds;

    std::vector<std::string> unusable;
    a.input = AnalysisInputOf(opened, p, unusable);
    a.result = model::Analyze(a.input);
    if (!unusable.empty()) a.messages.push_back(Warning(UnusableInputsMessage(unusable), "Benefit Cost Analysis"));
    return a;
}

}  // namespace verrane::project
