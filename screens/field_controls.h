#pragma once
// Where each field of the project file lives on its screen: the control the
// field table names (project/fields.h), found on the screen's object. The
// screens' load and store and `edit` reach an input only through here, so no
// control index of an input is written anywhere but in the table.
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/controls.h"
#include "project/fields.h"

namespace verrane {

class Form2;
class Form3;
class Form4;
class Form5;
class ScreenHost;

// The control of `field` on its screen; nullptr when the field is not on
// that screen. Works on a const screen too (the control is then const).

platform::Control* ControlOf(Form2& screen, const project::Field& field);
platform::Control* ControlOf(Form3& screen, const project::Field& field);
platform::Control* ControlOf(Form4& screen, const project::Field& field);
platform::Control* ControlOf(Form5& screen, const project::Field& field);
template <class Form>
requires std::is_same_v<Form, Form2> || std::is_same_v<Form, Form3> || std::is_same_v<Form, Form4> ||
    std::is_same_v<Form, Form5>
const platform::Control* ControlOf(const Form& screen, const project::Field& field) {
    return ControlOf(const_cast<Form&>(screen), field);  // only looked up, never changed here
}

// An input's control on its screen as its type (a box, a list), found by the
// field's name; the screen's own code reaches its inputs through here rather
// than by a control index. Throws std::logic_error for a name or type the
// table does not give that screen, a fault in the code.
template <class C, class Form>
C& InputControl(Form& screen, std::string_view name) {
    const project::Field* field = project::FindField(name);
    auto* control = field ? dynamic_cast<C*>(ControlOf(screen, *field)) : nullptr;
    if (!control) throw std::logic_error("no control for the input " + std::string(name));
    return *control;
}

// The text an input's box or list shows on its screen, the input named as
// the field table names it; "" when it has no such control there.
template <class Form>
std::string InputText(const Form& screen, std::string_view name) {
    const project::Field* field = project::FindField(name);
    const platform::Control* control = field ? ControlOf(screen, *field) : nullptr;
    if (const auto* box = dynamic_cast<const platform::TextBox*>(control)) return box->text();
    if (const auto* list = dynamic_cast<const platform::ComboBox*>(control)) return list->text();
    return {};
}

// The control of `field` on its screen, the screen created (as naming it
// does) when it is not loaded yet; nullptr for the county selection, which
// lives in the Project Information screen's variables.
platform::Control* ControlOf(ScreenHost& app, const project::Field& field);
// The same, without creating the screen: nullptr when it is not loaded.
const platform::Control* LoadedControlOf(const ScreenHost& app, const project::Field& field);

}  // namespace verrane
