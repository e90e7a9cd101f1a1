#pragma once
// Reading and checking the numeric text boxes of the input screens (this one
// and the mitigation screen share them).
#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/number.h"
#include "screens/screen.h"

namespace verrane::input {

inline const char* const kNumberMessage = "You must enter a number for this input.";

// The value of a box, 0 when it is empty (or, after a load, not a number).
inline double Value(const platform::TextBox& box) { return platform::ParseNumber(box.text()).value_or(0.0); }

// The value in single precision; nullopt for an empty box. A value beyond the
// single range becomes an infinity rather than undefined behaviour.
inline std::optional<float> Single(const platform::TextBox& box) {
    auto v = platform::ParseNumber(box.text());
    if (!v) return std::nullopt;
    if (std::fabs(*v) > FLT_MAX)
        return *v < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return static_cast<float>(*v);
}

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

}  // namespace verrane::input
