#include "project/fields.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>

#include "model/rates.h"
#include "model/region.h"
#include "platform/number.h"

namespace verrane::project {

namespace {

// The largest value a single-precision number box holds.
constexpr double kSingleMax = 3.4028234663852886e38;
// The longest lifetime the cost formula takes: its lifetime is a 16-bit
// whole number of years (the formula itself stays finite for every one).
constexpr double kLongestLifetime = 32767;
// The largest radius of the region around the county, whole miles.
constexpr double kLargestRadius = model::kMaxRadiusMiles;

constexpr FieldRule kAny{};
constexpr FieldRule kAboveZero{0, kSingleMax, true};
constexpr FieldRule kZeroOrMore{0, kSingleMax};
constexpr FieldRule kPercent{0, 100};
constexpr FieldRule kLifetime{1, kLongestLifetime};
constexpr FieldRule kRadius{0, kLargestRadius};
constexpr FieldRule kFlag{0, 1};
constexpr FieldRule Positions(int count) { return {0, static_cast<double>(count - 1)}; }

// Builders of the table's rows, one per kind of member.
Field Row(std::string name, std::string label, FieldKind kind, FieldRule rule, FieldScreen screen, FieldControl control,
          FieldBlock block, std::function<FieldMember(ProjectDocument&)> member) {
    return Field{std::move(name), std::move(label), kind, rule, screen, control, block, std::move(member)};
}

template <typename M>
Field ProjectRow(std::string name, std::string label, FieldKind kind, FieldControl control, M ProjectDocument::*m) {
    return Row(std::move(name), std::move(label), kind, kAny, FieldScreen::ProjectInformation, control,
               FieldBlock::Project, [m](ProjectDocument& d) -> FieldMember { return &(d.*m); });
}

// The document's optional block of each block type.
std::optional<BuildingBlock>& BlockOf(ProjectDocument& d, const BuildingBlock*) { return d.building; }
std::optional<MitigationBlock>& BlockOf(ProjectDocument& d, const MitigationBlock*) { return d.mitigation; }

// A row of the building or mitigation block: no member while the block is absent.
template <typename Block, typename M>
Field BlockRow(std::string name, std::string label, FieldKind kind, FieldRule rule, FieldControl control, M Block::*m) {
    constexpr bool building = std::is_same_v<Block, BuildingBlock>;
    return Row(std::move(name), std::move(label), kind, rule,
               building ? FieldScreen::Building : FieldScreen::Mitigation, control,
               building ? FieldBlock::Building : FieldBlock::Mitigation, [m](ProjectDocument& d) -> FieldMember {
                   auto& block = BlockOf(d, static_cast<const Block*>(nullptr));
                   if (!block) return std::monostate{};
                   return &(*block.*m);
               });
}

// The hours of the day as the building screen names them.
std::string HourName(size_t h) {
    const size_t twelve = h % 12 == 0 ? 12 : h % 12;
    return std::to_string(twelve) + (h < 12 ? " am" : " pm");
}

void AddProjectInformation(std::vector<Field>& v) {
    using D = ProjectDocument;
    const auto text = FieldKind::Text;
    v.push_back(ProjectRow("BuildingName", "Building name", text, {"Text1", 0}, &D::buildingName));
    v.push_back(ProjectRow("Address", "Address", text, {"Text1", 1}, &D::address));
    v.push_back(ProjectRow("City", "City", text, {"Text1", 2}, &D::city));
    v.push_back(ProjectRow("ProjectStateName", "State", FieldKind::ListEntry, {"Combo3"}, &D::stateName));
    v.push_back(ProjectRow("ProjectCountyName", "County", FieldKind::ListEntry, {"Combo2"}, &D::countyName));
    v.push_back(ProjectRow("DisasterNumber", "Disaster number", text, {"Text1", 3}, &D::disasterNumber));
    v.push_back(ProjectRow("ProjectNumber", "Project number", text, {"Text1", 4}, &D::projectNumber));
    v.push_back(ProjectRow("ScenarioRunId", "Scenario run ID", text, {"Text1", 5}, &D::scenarioRunId));
    v.push_back(ProjectRow("Analyst", "Analyst", text, {"Text1", 6}, &D::analyst));
}

void AddBuilding(std::vector<Field>& v) {
    using B = BuildingBlock;
    const auto number = FieldKind::Number;
    v.push_back(
        BlockRow("BuildingLength", "Building longest length (feet)", number, kAboveZero, {"Text1", 0}, &B::length));
    v.push_back(
        BlockRow("BuildingWidth", "Building longest width (feet)", number, kAboveZero, {"Text1", 1}, &B::width));
    v.push_back(
        BlockRow("ShelterArea", "Shelter area (square feet)", number, kAboveZero, {"Text1", 2}, &B::shelterArea));
    v.push_back(BlockRow("ConstructionType", "Shelter construction type (list position)", FieldKind::ListPosition,
                         Positions(7), {"Combo1", 1}, &B::constructionType));
    v.push_back(BlockRow("MinimalWindowArea", "Building has minimal window area (0 clear, 1 ticked)", FieldKind::Flag,
                         kFlag, {"Check1"}, &B::minimalWindowArea));
    v.push_back(BlockRow("HurricaneOccupancy", "Hurricane shelter occupancy (people)", number, kZeroOrMore,
                         {"Text1", 3}, &B::hurricaneOccupancy));
    v.push_back(BlockRow("TimeZone", "Time zone (list position)", FieldKind::ListPosition, Positions(9), {"Combo1", 0},
                         &B::timeZone));
    v.push_back(BlockRow("DaylightSaving", "Daylight savings (0 clear, 1 ticked)", FieldKind::Flag, kFlag, {"Check2"},
                         &B::daylightSaving));
    for (size_t h = 0; h < 24; ++h)
        v.push_back(Row("TornadoOccupancy[" + std::to_string(h) + "]",
                        "Tornado shelter occupancy at " + HourName(h) + " (people)", number, kZeroOrMore,
                        FieldScreen::Building, {"Text2", static_cast<int>(h)}, FieldBlock::Building,
                        [h](ProjectDocument& d) -> FieldMember {
                            if (!d.building) return std::monostate{};
                            return &d.building->hourly[h];
                        }));
}

void AddCountySelection(std::vector<Field>& v) {
    v.push_back(Row("SelectionMethod",
                    "County selection method (0 Region Around County, 1 Entire State, 2 User Selected Counties)",
                    FieldKind::ListPosition, Positions(3), FieldScreen::TornadoHazard, {"Option1"}, FieldBlock::Project,
                    [](ProjectDocument& d) -> FieldMember { return &d.selectionMethod; }));
    v.push_back(Row("SelectionRadius", "Radius of the region around the county (miles)", FieldKind::WholeNumber,
                    kRadius, FieldScreen::TornadoHazard, {"Text1"}, FieldBlock::Project,
                    [](ProjectDocument& d) -> FieldMember { return &d.selectionRadius; }));
}

void AddMitigation(std::vector<Field>& v) {
    using M = MitigationBlock;
    const auto number = FieldKind::Number;
    v.push_back(BlockRow("MitigationDescription", "Mitigation project description", FieldKind::Text, kAny, {"Text1", 0},
                         &M::description));
    v.push_back(BlockRow("ProjectCost", "Project cost ($)", number, kZeroOrMore, {"Text1", 1}, &M::projectCost));
    v.push_back(BlockRow("MaintenanceCost", "Maintenance cost ($ per year)", number, kZeroOrMore, {"Text1", 2},
                         &M::maintenanceCost));
    v.push_back(BlockRow("ProjectLifetime", "Project useful lifetime (years)", FieldKind::WholeNumber, kLifetime,
                         {"Text1", 3}, &M::lifetime));
    v.push_back(BlockRow("InjuryCost", "Cost of an injury ($)", number, kZeroOrMore, {"Text1", 4}, &M::injuryCost));
    v.push_back(BlockRow("DeathCost", "Cost of a death ($)", number, kZeroOrMore, {"Text1", 5}, &M::deathCost));
    v.push_back(BlockRow("DiscountRate", "Discount rate (%)", number, kPercent, {"Text1", 6}, &M::discountRate));
    v.push_back(BlockRow("DesignWindSpeed", "Design wind speed (list position)", FieldKind::ListPosition, Positions(5),
                         {"Combo1"}, &M::designWindSpeed));
    struct Column {
        const char* name;
        const char* words;
        std::array<std::string, 9> M::*cells;
    };
    const std::array<Column, 4> columns{{
        {"UserInjuryPercent", "User-defined percent injured", &M::userInjuryPercent},
        {"UserInjuryEffectiveness", "User-defined injury effectiveness", &M::userInjuryEffectiveness},
        {"UserDeathPercent", "User-defined percent dead", &M::userDeathPercent},
        {"UserDeathEffectiveness", "User-defined death effectiveness", &M::userDeathEffectiveness},
    }};
    for (size_t col = 0; col < columns.size(); ++col)
        for (size_t k = 0; k < 9; ++k) {
            const auto cells = columns[col].cells;
            v.push_back(Row(std::string(columns[col].name) + "[" + std::to_string(k) + "]",
                            std::string(columns[col].words) + ", " + model::WindRangeNames[k] + " mph (%)", number,
                            kPercent, FieldScreen::Mitigation,
                            {"Text2", static_cast<int>(model::UserRateCells(k)[col])}, FieldBlock::Mitigation,
                            [cells, k](ProjectDocument& d) -> FieldMember {
                                if (!d.mitigation) return std::monostate{};
                                return &((*d.mitigation).*cells)[k];
                            }));
        }
}

std::vector<Field> MakeFields() {
    std::vector<Field> v;
    AddProjectInformation(v);
    AddBuilding(v);
    AddCountySelection(v);
    AddMitigation(v);
    return v;
}

// A bound as the rule's words print it: grouped digits for whole numbers.
std::string BoundText(double value) {
    return value == std::floor(value) ? platform::FormatNumber(value, "###,###,###,##0") : platform::GeneralText(value);
}

FieldRefusal Refuse(const Field& field, std::string_view text, RefusalReason reason, std::string message) {
    return {reason, field.name, std::string(text), std::move(message)};
}

FieldRefusal OutOfRange(const Field& field, std::string_view text) {
    return Refuse(field, text, RefusalReason::OutOfRange, field.label + " must be " + field.RuleWords() + ".");
}

// The whole number a position or flag is given as: digits with an optional
// sign and nothing else.
std::optional<int> WholeText(std::string_view s) {
    if (s.empty() || s.size() > 9) return std::nullopt;
    const size_t start = s[0] == '-' ? 1 : 0;
    if (start == s.size()) return std::nullopt;
    int value = 0;
    for (size_t k = start; k < s.size(); ++k) {
        if (s[k] < '0' || s[k] > '9') return std::nullopt;
        value = value * 10 + (s[k] - '0');
    }
    return start ? -value : value;
}

std::optional<FieldRefusal> CheckNumber(const Field& field, std::string_view text) {
    if (text.empty()) return std::nullopt;
    if (!platform::IsNumeric(text)) return Refuse(field, text, RefusalReason::NotANumber, kNotANumberMessage);
    const double value = *platform::ParseNumber(text);
    const bool whole = field.kind == FieldKind::WholeNumber;
    // The value the box is read into: single precision.
    const double kept = std::fabs(value) > kSingleMax ? value : static_cast<double>(static_cast<float>(value));
    if (std::fabs(value) > kSingleMax || !field.rule.Allows(kept) || (whole && kept != std::floor(kept)))
        return OutOfRange(field, text);
    return std::nullopt;
}

}  // namespace

bool FieldRule::Allows(double value) const {
    if (std::isnan(value)) return false;
    return (aboveMin ? value > min : value >= min) && value <= max;
}

bool FieldRule::Bounded() const { return std::isfinite(min) || std::isfinite(max); }

std::string Field::RuleWords() const {
    if (!rule.Bounded()) return "";
    if (kind == FieldKind::Flag) return "0 or 1";
    const std::string whole = kind == FieldKind::Number ? "" : "a whole number ";
    if (rule.max < kSingleMax) return whole + "from " + BoundText(rule.min) + " to " + BoundText(rule.max);
    if (rule.aboveMin) return whole + "greater than " + BoundText(rule.min);
    return whole + BoundText(rule.min) + " or more";
}

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = MakeFields();
    return fields;
}

const Field* FindField(std::string_view name) {
    const auto& fields = Fields();
    const auto it = std::find_if(fields.begin(), fields.end(), [name](const Field& f) { return f.name == name; });
    return it == fields.end() ? nullptr : &*it;
}

std::optional<FieldRefusal> CheckField(const Field& field, std::string_view text) {
    switch (field.kind) {
        case FieldKind::Text:
        case FieldKind::ListEntry:
            return std::nullopt;
        case FieldKind::Number:
        case FieldKind::WholeNumber:
            return CheckNumber(field, text);
        case FieldKind::ListPosition:
        case FieldKind::Flag: {
            const auto n = WholeText(text);
            if (!n || !field.rule.Allows(*n)) return OutOfRange(field, text);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<FieldRefusal> SetField(ProjectDocument& document, const Field& field, std::string_view text) {
    if (auto refusal = CheckField(field, text)) return refusal;
    if (field.block == FieldBlock::Building && !document.building) document.building.emplace();
    if (field.block == FieldBlock::Mitigation && !document.mitigation) document.mitigation.emplace();
    const FieldMember member = field.member(document);
    if (auto* s = std::get_if<std::string*>(&member)) **s = std::string(text);
    if (auto* i = std::get_if<int*>(&member)) **i = *WholeText(text);
    if (auto* f = std::get_if<float*>(&member)) {
        // The radius: an empty box is read as 0, as the hazard screen does.
        **f = text.empty() ? 0.0f : platform::CSng(text);
        document.selectionMethod = 0;
    }
    return std::nullopt;
}

std::optional<FieldRefusal> SetField(ProjectDocument& document, std::string_view name, std::string_view text) {
    if (const Field* field = FindField(name)) return SetField(document, *field, text);
    return FieldRefusal{RefusalReason::UnknownName, std::string(name), std::string(text),
                        "There is no input named \"" + std::string(name) + "\"."};
}

std::optional<std::string> FieldText(const ProjectDocument& document, const Field& field) {
    // The member is only read here.
    const FieldMember member = field.member(const_cast<ProjectDocument&>(document));  // NOLINT
    if (const auto* s = std::get_if<std::string*>(&member)) return **s;
    if (const auto* i = std::get_if<int*>(&member)) {
        // The file keeps "no method chosen" as an empty line.
        if (field.name == "SelectionMethod" && **i == -1) return std::string();
        return std::to_string(**i);
    }
    if (const auto* f = std::get_if<float*>(&member)) return platform::GeneralText(**f);
    return std::nullopt;
}

std::optional<std::string> FieldText(const ProjectDocument& document, std::string_view name) {
    const Field* field = FindField(name);
    return field ? FieldText(document, *field) : std::nullopt;
}

const Field* FieldOfControl(FieldScreen screen, std::string_view control, int index) {
    for (const Field& f : Fields())
        if (f.screen == screen && f.control.name == control && f.control.index == index) return &f;
    return nullptr;
}

std::vector<FieldRefusal> ClearRefusedValues(ProjectDocument& document) {
    std::vector<FieldRefusal> refused;
    for (const Field& f : Fields()) {
        if (f.kind != FieldKind::Number && f.kind != FieldKind::WholeNumber) continue;
        const FieldMember member = f.member(document);
        if (auto* s = std::get_if<std::string*>(&member)) {
            if (auto refusal = CheckField(f, **s)) {
                refused.push_back(*refusal);
                (*s)->clear();
            }
        } else if (auto* radius = std::get_if<float*>(&member)) {
            // Only the region around the county has a radius. The hazard
            // screen rounds a fractional one to whole miles, as it does typing.
            if (document.selectionMethod != 0 || f.rule.Allows(**radius)) continue;
            refused.push_back(Refuse(f, platform::GeneralText(**radius), RefusalReason::OutOfRange,
                                     f.label + " must be " + f.RuleWords() + "."));
            **radius = 0;
        }
    }
    return refused;
}

std::string RefusedValuesMessage(const std::vector<FieldRefusal>& refusals) {
    if (refusals.empty()) return "";
    std::string text =
        "These values of the project file are not possible and were left out; their boxes are empty (a radius "
        "is 0). Enter them again:";
    for (const FieldRefusal& r : refusals) {
        const Field* f = FindField(r.field);
        text += "\n" + (f ? f->label : r.field) + ": found \"" + r.value + "\"; it must be " +
                (f ? f->RuleWords() : std::string("a number")) + ".";
    }
    return text;
}

std::vector<const Field*> MissingForAnalysis(const ProjectDocument& document) {
    // The first entries of the state and county lists, which stand for none chosen.
    static const std::string kNoState = " Click State", kNoCounty = " Click County";
    static const std::vector<std::string> kRequired = {"BuildingLength", "BuildingWidth",   "HurricaneOccupancy",
                                                       "ProjectCost",    "MaintenanceCost", "ProjectLifetime",
                                                       "InjuryCost",     "DeathCost",       "DiscountRate"};
    std::vector<const Field*> missing;
    for (const Field& f : Fields()) {
        bool absent = false;
        if (f.name == "ProjectStateName")
            absent = document.stateName.empty() || document.stateName == kNoState;
        else if (f.name == "ProjectCountyName")
            absent = document.countyName.empty() || document.countyName == kNoCounty;
        else if (f.name.rfind("TornadoOccupancy[", 0) == 0 ||
                 std::find(kRequired.begin(), kRequired.end(), f.name) != kRequired.end())
            absent = FieldText(document, f).value_or("").empty();
        if (absent) missing.push_back(&f);
    }
    return missing;
}

std::string MissingInputsText(const std::vector<const Field*>& missing) {
    std::string text;
    for (const Field* f : missing) text += (text.empty() ? "" : ", ") + f->label + " [" + f->name + "]";
    return text;
}

}  // namespace verrane::project
