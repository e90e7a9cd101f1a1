#include "app/sensitivity.h"

#include <cmath>
#include <cstdlib>
#include <exception>
#include <future>
#include <iterator>
#include <set>
#include <thread>

#include "model/hazard.h"
#include "platform/number.h"
#include "platform/paths.h"
#include "platform/refdb.h"
#include "project/document_edits.h"
#include "screens/mitigation/form5.h"

namespace verrane {

namespace {

// The shortest text of a value in single precision, as a box holds it.
std::string SingleText(double v) { return platform::GeneralText(static_cast<float>(v)); }

std::optional<float> EnteredSingle(const std::string& text) {
    const auto v = platform::ParseNumber(text);
    if (!v || !std::isfinite(static_cast<float>(*v))) return std::nullopt;
    return static_cast<float>(*v);
}

const char* const kFactors[2] = {"0.75", "1.25"};
const float kFactorValues[2] = {0.75f, 1.25f};

// Every varied input in the user's terms: the name a row and its chart bar
// carry, and how a value is shown (before and after the number).
struct InputWords {
    const char* input;
    const char* name;
    const char* rowName;  // the row's own words where they differ from the bar's
    const char* before;
    const char* after;
};
constexpr InputWords kInputWords[] = {
    {"DiscountRate", "Discount rate", nullptr, "", " %"},
    {"ProjectCost", "Project cost", nullptr, "$", ""},
    {"MaintenanceCost", "Annual maintenance cost", nullptr, "$", ""},
    {"InjuryCost", "Cost of an injury", nullptr, "$", ""},
    {"DeathCost", "Cost of a death", nullptr, "$", ""},
    {"ProjectLifetime", "Project useful lifetime", nullptr, "", " years"},
    {"TornadoOccupancy", "Tornado occupancy", nullptr, "x ", ""},
    {"HurricaneOccupancy", "Hurricane occupancy", nullptr, "x ", ""},
    {"SelectionRadius", "Region", "Region radius", "", " miles"},
    {"SelectionMethod", "Region", nullptr, "", ""},
    {"DesignWindSpeed", "Design wind speed", nullptr, "", " mph"},
};

// A typed number as the user reads it: money with its separators.
std::string NumberShown(const InputWords& w, const std::string& value) {
    if (std::string(w.before) != "$") return value;
    const auto v = platform::ParseNumber(value);
    return v ? platform::MoneyText(*v) : value;
}

void Describe(model::Variation& v) {
    for (const InputWords& w : kInputWords) {
        if (v.input != w.input) continue;
        v.name = w.name;
        const std::string rowName = w.rowName ? w.rowName : w.name;
        if (v.input == "SelectionRadius" && v.value == "0") {
            v.shown = "the county alone";
            v.label = "County alone";
        } else if (v.input == "SelectionMethod") {
            v.shown = "the entire state";
            v.label = "Entire state";
        } else {
            std::string number = v.value;
            if (v.input == "DesignWindSpeed") {
                const int p = std::atoi(v.value.c_str());
                if (p >= 0 && p < static_cast<int>(std::size(kDesignWindSpeedItems))) number = kDesignWindSpeedItems[p];
            }
            v.shown = w.before + NumberShown(w, number) + w.after;
            v.label = rowName + " " + v.shown;
        }
        return;
    }
}

}  // namespace

model::Variation DescribedVariation(const std::string& input, const std::string& value) {
    model::Variation v;
    v.input = input;
    v.value = value;
    Describe(v);
    return v;
}

std::array<double, 6> DistinctTornadoesByF(const std::filesystem::path& database,
                                           const std::vector<std::string>& counties) {
    std::array<std::set<int64_t>, 6> ids;
    if (!counties.empty()) {
        const auto db = platform::Database::Open(database);
        auto rs = db.OpenRecordset("tornado_counties", platform::Query::AnyOf("FIPS", counties));
        for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
            const double f = rs.Field("F").asDouble();
            if (f >= 0 && f < 6)
                ids[static_cast<size_t>(f)].insert(static_cast<int64_t>(rs.Field("TORNADO").asDouble()));
        }
    }
    std::array<double, 6> out{};
    for (size_t f = 0; f < 6; ++f) out[f] = static_cast<double>(ids[f].size());
    return out;
}

model::UncertaintyInput UncertaintyInputOf(const project::DocumentAnalysis& a,
                                           const std::vector<std::string>& selectedCounties,
                                           const platform::ReferenceData& reference,
                                           const std::array<double, 6>* tornadoes) {
    const model::AnalysisResult& r = a.result;
    model::UncertaintyInput in;
    // Without statistics the tornado benefits were not computed: nothing to vary.
    if (r.tornado && a.input.record) {
        in.countByF = r.tornado->reportCountByF;
        in.strikeProbabilityByF = r.tornado->strikeProbabilityByF;
        in.recordYears = r.tornado->reportRecordYears;
        in.tornadoesByF = tornadoes ? *tornadoes : DistinctTornadoesByF(reference.file(), selectedCounties);
        in.hourlyFraction = a.input.record->hourlyFractionByF;
    }
    in.tornadoHourlyOccupancy = a.input.tornadoHourlyOccupancy;
    in.injury = a.input.injury;
    in.death = a.input.death;
    in.hurricaneBenefits = r.hurricaneBenefits;
    in.annualizedCost = r.annualizedCost;
    return in;
}

model::Figures AnalyseEdited(const project::ProjectDocument& document, const platform::ReferenceData& reference,
                             const std::vector<Edit>& edits, model::UncertaintyInput* uncertainty) {
    project::ProjectDocument edited = document;
    std::vector<platform::Message> messages;
    for (const auto& [name, value] : edits)
        if (const auto refusal = project::EditDocument(edited, name, value, reference, messages))
            throw SensitivityError(name + "=" + value + " was refused: " + refusal->message);
    const project::DocumentAnalysis a = project::AnalyzeDocument(edited, reference);
    if (!a.ok()) throw SensitivityError(a.notAnalysed);
    if (uncertainty) *uncertainty = UncertaintyInputOf(a, edited.selectedCounties, reference);
    return model::FiguresOf(a.result);
}

std::vector<PlannedVariation> SensitivityEdits(const project::ProjectDocument& entered,
                                               std::vector<std::string>* notes) {
    auto note = [notes](std::string text) {
        if (notes) notes->push_back(std::move(text));
    };
    std::vector<PlannedVariation> v;
    for (const char* rate : {"2", "3", "3.1", "7", "10"}) v.push_back({"DiscountRate", rate, {{"DiscountRate", rate}}});

    const project::MitigationBlock m = entered.mitigation.value_or(project::MitigationBlock{});
    const std::pair<const char*, const std::string*> costs[4] = {{"ProjectCost", &m.projectCost},
                                                                 {"MaintenanceCost", &m.maintenanceCost},
                                                                 {"InjuryCost", &m.injuryCost},
                                                                 {"DeathCost", &m.deathCost}};
    for (const auto& [name, text] : costs) {
        const auto value = EnteredSingle(*text);
        if (!value) continue;
        for (float f : kFactorValues) {
            const std::string scaled = SingleText(*value * f);
            v.push_back({name, scaled, {{name, scaled}}});
        }
    }
    if (const auto years = EnteredSingle(m.lifetime)) {
        const std::string shorter = SingleText(std::max(1.0, static_cast<double>(*years) - 10.0));
        const std::string longer = SingleText(static_cast<double>(*years) + 10.0);
        v.push_back({"ProjectLifetime", shorter, {{"ProjectLifetime", shorter}}});
        v.push_back({"ProjectLifetime", longer, {{"ProjectLifetime", longer}}});
    }

    const project::BuildingBlock b = entered.building.value_or(project::BuildingBlock{});
    for (size_t k = 0; k < 2; ++k) {
        PlannedVariation hourly{"TornadoOccupancy", kFactors[k], {}};
        for (size_t h = 0; h < 24; ++h)
            if (const auto people = EnteredSingle(b.hourly[h]))
                hourly.edits.emplace_back("TornadoOccupancy[" + std::to_string(h) + "]",
                                          SingleText(*people * kFactorValues[k]));
        v.push_back(hourly);
    }
    // Hurricane occupancy moves the result only where there is some, in a
    // state the hurricane hazard reaches.
    const auto hurricanePeople = EnteredSingle(b.hurricaneOccupancy);
    if (!hurricanePeople || !(*hurricanePeople > 0)) {
        note("Hurricane occupancy is not varied: the project has none, so scaling it cannot change the result.");
    } else if (!model::IsHurricaneProne(entered.stateName)) {
        note("Hurricane occupancy is not varied: " + entered.stateName +
             " is not hurricane-prone, so it cannot change the result.");
    } else {
        for (size_t k = 0; k < 2; ++k)
            v.push_back({"HurricaneOccupancy",
                         kFactors[k],
                         {{"HurricaneOccupancy", SingleText(*hurricanePeople * kFactorValues[k])}}});
    }

    for (const char* r : {"0", "25", "50", "100", "150", "250"})
        v.push_back({"SelectionRadius", r, {{"SelectionRadius", r}}});
    v.push_back({"SelectionMethod", "1", {{"SelectionMethod", "1"}}});
    // Every list position but the prompt (0: no speed chosen, which is no
    // design a project would be built to).
    for (const char* p : {"1", "2", "3", "4"}) v.push_back({"DesignWindSpeed", p, {{"DesignWindSpeed", p}}});
    return v;
}

namespace {

std::optional<double> BreakevenProjectCost(const project::ProjectDocument& document,
                                           const platform::ReferenceData& reference, double benefits) {
    // The annualized cost is affine in the project cost: two re-analyses fix
    // it, and a third, at the solution as typed, confirms the ratio is 1.
    const double high = 1e6;
    const model::Figures atZero = AnalyseEdited(document, reference, {{"ProjectCost", "0"}});
    const model::Figures atHigh = AnalyseEdited(document, reference, {{"ProjectCost", SingleText(high)}});
    const double slope = (atHigh.annualizedCost - atZero.annualizedCost) / high;
    if (!(slope > 0) || !std::isfinite(slope)) return std::nullopt;
    const double cost = (benefits - atZero.annualizedCost) / slope;
    if (!(cost > 0) || !std::isfinite(static_cast<float>(cost))) return std::nullopt;
    const model::Figures check = AnalyseEdited(document, reference, {{"ProjectCost", SingleText(cost)}});
    if (!check.benefitCostRatio || std::fabs(*check.benefitCostRatio - 1.0) > 1e-5) return std::nullopt;
    return cost;
}

std::optional<double> BreakevenDiscountRate(const project::ProjectDocument& document,
                                            const platform::ReferenceData& reference) {
    auto ratioAt = [&document, &reference](float rate) {
        return AnalyseEdited(document, reference, {{"DiscountRate", SingleText(rate)}}).benefitCostRatio;
    };
    float lo = 0, hi = 20;
    const auto atLo = ratioAt(lo), atHi = ratioAt(hi);
    if (!atLo || !atHi) return std::nullopt;
    if (*atLo == 1) return 0.0;
    if (*atHi == 1) return 20.0;
    if ((*atLo > 1) == (*atHi > 1)) return std::nullopt;
    const bool fallsWithRate = *atLo > 1;
    // Bisection on the rates a box can hold, to a millionth of a percent.
    while (hi - lo > 1e-6f) {
        const float mid = static_cast<float>((static_cast<double>(lo) + hi) / 2);
        if (mid <= lo || mid >= hi) break;
        const auto r = ratioAt(mid);
        if (!r) return std::nullopt;
        if (*r == 1) return mid;
        ((*r > 1) == fallsWithRate ? lo : hi) = mid;
    }
    return (static_cast<double>(lo) + hi) / 2;
}

}  // namespace

model::SensitivityResult RunSensitivity(const project::ProjectDocument& document, std::string file,
                                        const platform::ReferenceData& reference,
                                        const std::array<double, 6>* tornadoes) {
    model::SensitivityResult result;
    result.file = std::move(file);
    result.buildingName = document.buildingName;
    // The project's own figures first: a project that cannot be analysed stops here.
    result.base = AnalyseEdited(document, reference, {});

    // The variations are independent re-analyses: a helper thread runs them
    // while this one counts the region's tornadoes, searches the breakeven
    // values and makes the draws. From here on the tables are only read.
    reference.ReadAllOnce();
    const std::vector<PlannedVariation> planned = SensitivityEdits(document, &result.notes);
    std::vector<model::Variation> variations(planned.size());
    std::exception_ptr failed;
    {
        const std::jthread helper([&] {
            try {
                for (size_t i = 0; i < planned.size(); ++i) {
                    variations[i] = DescribedVariation(planned[i].input, planned[i].value);
                    variations[i].figures = AnalyseEdited(document, reference, planned[i].edits);
                }
            } catch (...) {
                failed = std::current_exception();
            }
        });
        const model::UncertaintyInput uncertainty = UncertaintyInputOf(project::AnalyzeDocument(document, reference),
                                                                       document.selectedCounties, reference, tornadoes);
        result.breakevenProjectCost = BreakevenProjectCost(document, reference, result.base.totalBenefits);
        result.breakevenDiscountRate = BreakevenDiscountRate(document, reference);
        result.uncertainty = model::DrawUncertainty(uncertainty);
    }
    if (failed) std::rethrow_exception(failed);
    result.variations = std::move(variations);
    return result;
}

model::SensitivityResult RunSensitivity(const project::ProjectDocument& document, std::string file) {
    // The region's tornadoes are counted from the file while the tables are read into memory.
    const std::filesystem::path database = platform::ReferenceDatabasePath();
    auto tornadoes = std::async(std::launch::async, [&database, &document] {
        return DistinctTornadoesByF(database, document.selectedCounties);
    });
    const platform::ReferenceData reference = platform::ReferenceData::InMemory(database);
    const std::array<double, 6> counted = tornadoes.get();
    return RunSensitivity(document, std::move(file), reference, &counted);
}

}  // namespace verrane
