#pragma once
// The field table: one declaration per input of the project file, in the
// order of the file's lines. Each field knows its file name, its label in
// words with its unit, its kind, the rule that makes a value valid, the
// screen and control that show it, and its member in the project document.
// Everything that maps inputs by name (the screens' load and store, `edit`,
// the reports' glue, the example writer, the command line's JSON names)
// reads this one table.
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "project/project_document.h"

namespace verrane::project {

enum class FieldKind {
    Text,          // any text, kept as typed
    ListEntry,     // a list entry kept by its shown text (state, county)
    Number,        // empty, or a number that fits a single-precision value
    WholeNumber,   // empty, or a whole number that fits a 16-bit value
    ListPosition,  // a list or option position, kept as a whole number
    Flag,          // a check box state, 0 (clear) or 1 (ticked)
};

// The input screen a field is typed on, by the screen's number.
enum class FieldScreen { ProjectInformation = 2, Building = 3, TornadoHazard = 4, Mitigation = 5 };

// The optional block of the document a field belongs to.
enum class FieldBlock { Project, Building, Mitigation };

// The control of its screen: "Text1" with index 3 is the fourth box of the
// array Text1; index -1 is a control that is no array (or, for the county
// selection method, the option array as a whole).
struct FieldControl {
    std::string_view name;
    int index = -1;
};

// The values a number or position may take: from `min` to `max`, `min`
// itself excluded when `aboveMin`.
struct FieldRule {
    double min = -std::numeric_limits<double>::infinity();
    double max = std::numeric_limits<double>::infinity();
    bool aboveMin = false;

    bool Allows(double value) const;
    bool Bounded() const;
};

// The member of the document a field reads and writes; monostate when the
// field's block is absent from the document.
using FieldMember = std::variant<std::monostate, std::string*, int*, float*>;

struct Field {
    std::string name;   // as the project file and `edit` name it: "ProjectLifetime"
    std::string label;  // in words with its unit: "Project useful lifetime (years)"
    FieldKind kind = FieldKind::Text;
    FieldRule rule;
    FieldScreen screen = FieldScreen::ProjectInformation;
    FieldControl control;
    FieldBlock block = FieldBlock::Project;
    std::function<FieldMember(ProjectDocument&)> member;

    // The rule in words, as a message ends it: "greater than 0", "0 or
    // more", "a whole number from 1 to 32,767"; "" for a field without one.
    std::string RuleWords() const;
};

// Why a value was not taken.
enum class RefusalReason {
    UnknownName,  // no field of that name
    NotANumber,   // a number field given a text that is not a number
    OutOfRange,   // a number or position outside the field's rule
};

struct FieldRefusal {
    RefusalReason reason = RefusalReason::OutOfRange;
    std::string field;    // the field's name as given
    std::string value;    // the text refused
    std::string message;  // what the user is told, one sentence
};

// The message a number box shows for a text that is not a number.
inline constexpr const char* kNotANumberMessage = "You must enter a number for this input.";

// Every field, in the order of the project file's lines.
const std::vector<Field>& Fields();
// The field of that name; nullptr when there is none.
const Field* FindField(std::string_view name);

// Whether `text` is a valid value of the field: nullopt when it is, else the
// refusal. An empty number box is valid here (an input not yet given; the
// analysis asks for it).
std::optional<FieldRefusal> CheckField(const Field& field, std::string_view text);

// Sets a field of the document from text through its rule. A refused value
// leaves the document unchanged and comes back as the refusal. A field of a
// block the document lacks creates that block first (with the document's
// defaults). Setting the selection radius also chooses the method "Region
// Around County" (0), as typing into the radius box does.
std::optional<FieldRefusal> SetField(ProjectDocument& document, const Field& field, std::string_view text);
std::optional<FieldRefusal> SetField(ProjectDocument& document, std::string_view name, std::string_view text);

// The field's value as the project file writes it; nullopt when its block
// is absent from the document.
std::optional<std::string> FieldText(const ProjectDocument& document, const Field& field);
std::optional<std::string> FieldText(const ProjectDocument& document, std::string_view name);

// The field a screen's control shows; nullptr for a control that shows none.
const Field* FieldOfControl(FieldScreen screen, std::string_view control, int index);

// Empties every value of the document that its field's rule refuses (a file
// written by hand or by another program may hold one), so that nothing is
// computed from it, and returns the refusals in the file's order. A refused
// selection radius becomes 0, as the radius box reads an empty entry.
std::vector<FieldRefusal> ClearRefusedValues(ProjectDocument& document);

// One message naming each refused input, the value found and the rule.
std::string RefusedValuesMessage(const std::vector<FieldRefusal>& refusals);

// The inputs whose absence keeps "Benefit Cost Analysis" off in the window,
// in the file's order: the state and county (none chosen), the building's
// length, width, hurricane occupancy and 24 hourly occupancies, and the
// mitigation's project and maintenance costs, lifetime, injury and death
// costs and discount rate; all of a block when the block is absent. The
// shelter area enters no figure and the window does not ask for it on
// opening a file, so neither does this. Empty when the analysis can run.
std::vector<const Field*> MissingForAnalysis(const ProjectDocument& document);

// The missing inputs named for the user: "Project useful lifetime (years)
// [ProjectLifetime], Project cost ($) [ProjectCost]".
std::string MissingInputsText(const std::vector<const Field*>& missing);

}  // namespace verrane::project
