#pragma once
// Reading and checking the numeric text boxes of the input screens (this one
// and the mitigation screen share them).
#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/number.h"
#include "project/fields.h"
#include "screens/screen.h"

namespace verrane::input {

inline const char* const kNumberMessage = "You must enter a number for this input.";

// The value of a box, 0 when it is empty (or, after a load, not a number).
inline double Value(const platform::TextBox& box) { return platform::ParseNumber(box.text()).value_or(0.0); }

// The value in single precision; nullopt for an empty box. A value beyond the
// single range becomes an infinity rather than undefined behaviour.
inline std::optional<float> Single(const platform::TextBox& box) { return platform::SingleValue(box.text()); }

// Empties a box that holds something other than a number, or a number that
// does not fit what the box is read into (which raises its change handling
// again), and tells the user. True when it did so.
inline bool RejectNonNumeric(platform::TextBox& box, platform::Dialogs& dialogs,
                             platform::NumberKind kind = platform::NumberKind::Single) {
    if (box.empty()) return false;
    std::string message;
    if (!platform::IsNumeric(box.text()))
        message = kNumberMessage;
    else if (const std::string problem = platform::NumberRangeProblem(box.text(), kind); !problem.empty())
        message = "This number " + problem + ".";
    else
        return false;
    box.setText("");
    dialogs.MsgBox(message, platform::Buttons::OK, platform::Icon::None, " ");
    return true;
}

// The last value each number box of a screen accepted, so that a value its
// field's rule refuses gives way to the value in effect before it.
class AcceptedValues {
public:
    explicit AcceptedValues(project::FieldScreen screen) : screen_(screen) {}

    // Takes the box's text as accepted when its field's rule allows it (an
    // empty box and a text that is not a number are the number check's
    // business). Otherwise puts the last accepted text back, which raises the
    // box's change handling again, tells the user the rule, and returns true.
    bool Refuse(platform::TextBox& box, platform::Dialogs& dialogs) {
        const project::Field* field = project::FieldOfControl(screen_, box.name, box.index);
        std::optional<project::FieldRefusal> refusal;
        if (field && !box.empty() && platform::IsNumeric(box.text())) refusal = project::CheckField(*field, box.text());
        if (!refusal) {
            texts_[&box] = box.text();
            return false;
        }
        box.setText(texts_[&box]);
        dialogs.MsgBox(refusal->message, platform::Buttons::OK, platform::Icon::Exclamation, " ");
        return true;
    }
    // Takes the box's text as accepted without a check (a project being loaded).
    void Accept(const platform::TextBox& box) { texts_[&box] = box.text(); }

private:
    project::FieldScreen screen_;
    std::unordered_map<const platform::TextBox*, std::string> texts_;
};

}  // namespace verrane::input
