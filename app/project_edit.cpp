#include "app/project_edit.h"

#include <algorithm>
#include <optional>

#include "app/app.h"
#include "project/fields.h"
#include "screens/building/form3.h"
#include "screens/field_controls.h"
#include "screens/hazard/form4.h"
#include "screens/menus.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"

namespace verrane {

namespace {

const char* const kProjectSaved = "Project Saved.";

// Moves to screen `n` as its button does; false when the screen in front
// kept the user.
bool GoTo(App& app, int n) {
    Screen* front = app.front();
    if (!front) {
        app.form2().Show();
        front = app.front();
    }
    if (InputScreenNumber(*front) != n) GoToScreen(app, *front, n);
    return app.front() && InputScreenNumber(*app.front()) == n;
}

// The texts of the messages shown since message number `from`, one a line.
std::string MessagesSince(const platform::ScriptedDialogs& d, size_t from) {
    std::string text;
    for (size_t i = from; i < d.messages.size(); ++i) text += (text.empty() ? "" : "\n") + d.messages[i].text;
    return text;
}

EditResult Refused(std::string message) { return {EditResult::Status::Refused, std::move(message), {}}; }

// A whole number written as digits with an optional sign, and nothing else.
std::optional<int> WholeNumber(const std::string& s) {
    if (s.empty() || s.size() > 9) return std::nullopt;
    size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return std::nullopt;
    for (size_t k = i; k < s.size(); ++k)
        if (s[k] < '0' || s[k] > '9') return std::nullopt;
    return std::stoi(s);
}

// Typing `value` into a box and leaving it. Refused when the screen said
// something and the box no longer holds what was typed.
EditResult Type(platform::TextBox& box, platform::ScriptedDialogs& d, const std::string& value) {
    if (box.locked || !box.visible() || !box.enabled()) return Refused("The box cannot be typed into.");
    std::string typed = value;
    platform::TextBox::Clean(typed, box.multiLine);
    const size_t from = d.messages.size();
    box.setFocus(true);
    box.setText(typed);
    box.setFocus(false);
    if (box.text() != typed && d.messages.size() > from) return Refused(MessagesSince(d, from));
    return {};
}

EditResult Choose(platform::ComboBox& list, bool byPosition, const std::string& value) {
    int position = list.findText(value);
    if (position < 0 && byPosition) {
        const auto n = WholeNumber(value);
        if (n && *n >= 0 && *n < list.listCount()) position = *n;
    }
    if (position < 0) return Refused("\"" + value + "\" is not in the list.");
    list.setListIndex(position);
    return {};
}

EditResult Apply(App& app, platform::ScriptedDialogs& d, const project::Field& f, const std::string& value) {
    if (f.screen == project::FieldScreen::TornadoHazard) {
        Form4& f4 = app.form4();
        if (f.control.name == "Option1") {
            const auto m = WholeNumber(value);
            if (!m || *m < 0 || *m > 2)
                return Refused(
                    "The county selection method is 0 (Region Around County), 1 (Entire State) or 2 (User "
                    "Selected Counties).");
            f4.Option1[static_cast<size_t>(*m)].setValue(true);
            return {};
        }
        // The radius box shows only with the region around the county chosen.
        f4.Option1[0].setValue(true);
    }
    platform::Control* control =
        f.screen == project::FieldScreen::TornadoHazard ? ControlOf(app.form4(), f) : ControlOf(app, f);
    if (auto* box = dynamic_cast<platform::TextBox*>(control)) return Type(*box, d, value);
    if (auto* list = dynamic_cast<platform::ComboBox*>(control))
        return Choose(*list, f.kind == project::FieldKind::ListPosition, value);
    if (auto* check = dynamic_cast<platform::CheckBox*>(control)) {
        if (value != "0" && value != "1") return Refused("The check box takes 0 (clear) or 1 (ticked).");
        check->setValue(value == "1" ? 1 : 0);
        return {};
    }
    return Refused("The input has no control on its screen.");
}

}  // namespace

const std::vector<std::string>& InputNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const project::Field& f : project::Fields()) v.push_back(f.name);
        return v;
    }();
    return names;
}

EditResult SetInput(App& app, platform::ScriptedDialogs& dialogs, const std::string& name, const std::string& value) {
    const project::Field* field = project::FindField(name);
    if (!field) return {EditResult::Status::UnknownName, "", InputNames()};
    const size_t from = dialogs.messages.size();
    if (!GoTo(app, static_cast<int>(field->screen))) return Refused(MessagesSince(dialogs, from));
    EditResult result = Apply(app, dialogs, *field, value);
    // Back on the Project Information screen, through the screen's own way out.
    GoTo(app, Form2::kNumber);
    return result;
}

project::FileResult OpenProjectFile(App& app, platform::ScriptedDialogs& dialogs, const std::filesystem::path& file) {
    Form2& f2 = app.form2();
    f2.Show();
    dialogs.answers.push_back(platform::Answer::No);  // to saving the project in the screens
    dialogs.files.push_back(file.string());
    return f2.OpenProject();
}

bool SaveProjectAs(App& app, platform::ScriptedDialogs& dialogs, const std::filesystem::path& file,
                   std::string& error) {
    if (!GoTo(app, Form2::kNumber)) {
        error = "the Project Information screen could not be reached";
        return false;
    }
    std::error_code ec;
    // A name without an extension gets ".tor", and the program asks before
    // replacing that file: the name was given, so yes.
    if (!file.has_extension() && std::filesystem::exists(file.string() + ".tor", ec))
        dialogs.answers.push_back(platform::Answer::Yes);
    dialogs.files.push_back(file.string());
    const size_t from = dialogs.messages.size();
    if (auto* item = app.front()->FindMenu("mnusaveas"))
        item->click();
    else
        app.form2().mnusaveas_Click();
    for (size_t i = from; i < dialogs.messages.size(); ++i)
        if (dialogs.messages[i].text == kProjectSaved) return true;
    error = MessagesSince(dialogs, from);
    if (error.empty()) error = "the project was not saved";
    return false;
}

}  // namespace verrane
