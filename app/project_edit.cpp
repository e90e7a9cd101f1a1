#include "app/project_edit.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "app/app.h"
#include "model/rates.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/menus.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"

namespace verrane {

namespace {

const char* const kProjectSaved = "Project Saved.";

enum class Kind { Text, List, Check, Method, Radius };

struct Input {
    Input(std::string n, int s, Kind k, bool positions = false)
        : name(std::move(n)), screen(s), kind(k), byPosition(positions) {}
    std::string name;
    int screen;
    Kind kind;
    bool byPosition;  // a list the file keeps as a position
    std::function<platform::TextBox&(App&)> text;
    std::function<platform::ComboBox&(App&)> list;
    std::function<platform::CheckBox&(App&)> check;
};

Input TextInput(std::string name, int screen, std::function<platform::TextBox&(App&)> box) {
    Input in(std::move(name), screen, Kind::Text);
    in.text = std::move(box);
    return in;
}

Input ListInput(std::string name, int screen, bool byPosition, std::function<platform::ComboBox&(App&)> box) {
    Input in(std::move(name), screen, Kind::List, byPosition);
    in.list = std::move(box);
    return in;
}

Input CheckInput(std::string name, std::function<platform::CheckBox&(App&)> box) {
    Input in(std::move(name), Form3::kNumber, Kind::Check);
    in.check = std::move(box);
    return in;
}

std::vector<Input> MakeInputs() {
    std::vector<Input> v;
    auto f2Text = [&v](const char* name, size_t i) {
        v.push_back(TextInput(name, Form2::kNumber, [i](App& a) -> platform::TextBox& { return a.form2().Text1[i]; }));
    };
    f2Text("BuildingName", 0);
    f2Text("Address", 1);
    f2Text("City", 2);
    v.push_back(ListInput("ProjectStateName", Form2::kNumber, false,
                          [](App& a) -> platform::ComboBox& { return a.form2().Combo3; }));
    v.push_back(ListInput("ProjectCountyName", Form2::kNumber, false,
                          [](App& a) -> platform::ComboBox& { return a.form2().Combo2; }));
    f2Text("DisasterNumber", 3);
    f2Text("ProjectNumber", 4);
    f2Text("ScenarioRunId", 5);
    f2Text("Analyst", 6);

    auto f3Text = [&v](const std::string& name, size_t i) {
        v.push_back(TextInput(name, Form3::kNumber, [i](App& a) -> platform::TextBox& { return a.form3().Text1[i]; }));
    };
    f3Text("BuildingLength", 0);
    f3Text("BuildingWidth", 1);
    f3Text("ShelterArea", 2);
    v.push_back(ListInput("ConstructionType", Form3::kNumber, true,
                          [](App& a) -> platform::ComboBox& { return a.form3().Combo1[1]; }));
    v.push_back(CheckInput("MinimalWindowArea", [](App& a) -> platform::CheckBox& { return a.form3().Check1; }));
    f3Text("HurricaneOccupancy", 3);
    v.push_back(
        ListInput("TimeZone", Form3::kNumber, true, [](App& a) -> platform::ComboBox& { return a.form3().Combo1[0]; }));
    v.push_back(CheckInput("DaylightSaving", [](App& a) -> platform::CheckBox& { return a.form3().Check2; }));
    for (size_t h = 0; h < 24; ++h)
        v.push_back(TextInput("TornadoOccupancy[" + std::to_string(h) + "]", Form3::kNumber,
                              [h](App& a) -> platform::TextBox& { return a.form3().Text2[h]; }));

    v.emplace_back("SelectionMethod", Form4::kNumber, Kind::Method);
    v.emplace_back("SelectionRadius", Form4::kNumber, Kind::Radius);

    auto f5Text = [&v](const std::string& name, size_t i) {
        v.push_back(TextInput(name, Form5::kNumber, [i](App& a) -> platform::TextBox& { return a.form5().Text1[i]; }));
    };
    f5Text("MitigationDescription", 0);
    f5Text("ProjectCost", 1);
    f5Text("MaintenanceCost", 2);
    f5Text("ProjectLifetime", 3);
    f5Text("InjuryCost", 4);
    f5Text("DeathCost", 5);
    f5Text("DiscountRate", 6);
    v.push_back(ListInput("DesignWindSpeed", Form5::kNumber, true,
                          [](App& a) -> platform::ComboBox& { return a.form5().Combo1; }));
    const char* columns[4] = {"UserInjuryPercent", "UserInjuryEffectiveness", "UserDeathPercent",
                              "UserDeathEffectiveness"};
    for (size_t col = 0; col < 4; ++col)
        for (size_t k = 0; k < 9; ++k)
            v.push_back(TextInput(
                std::string(columns[col]) + "[" + std::to_string(k) + "]", Form5::kNumber,
                [col, k](App& a) -> platform::TextBox& { return a.form5().Text2[model::UserRateCells(k)[col]]; }));
    return v;
}

const std::vector<Input>& Inputs() {
    static const std::vector<Input> inputs = MakeInputs();
    return inputs;
}

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

EditResult Apply(App& app, platform::ScriptedDialogs& d, const Input& in, const std::string& value) {
    switch (in.kind) {
        case Kind::Text:
            return Type(in.text(app), d, value);
        case Kind::List:
            return Choose(in.list(app), in.byPosition, value);
        case Kind::Check: {
            if (value != "0" && value != "1") return Refused("The check box takes 0 (clear) or 1 (ticked).");
            in.check(app).setValue(value == "1" ? 1 : 0);
            return {};
        }
        case Kind::Method: {
            const auto m = WholeNumber(value);
            if (!m || *m < 0 || *m > 2)
                return Refused(
                    "The county selection method is 0 (Region Around County), 1 (Entire State) or 2 (User "
                    "Selected Counties).");
            app.form4().Option1[static_cast<size_t>(*m)].setValue(true);
            return {};
        }
        case Kind::Radius: {
            Form4& f4 = app.form4();
            f4.Option1[0].setValue(true);
            return Type(f4.Text1, d, value);
        }
    }
    return {};
}

}  // namespace

const std::vector<std::string>& InputNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const Input& in : Inputs()) v.push_back(in.name);
        return v;
    }();
    return names;
}

EditResult SetInput(App& app, platform::ScriptedDialogs& dialogs, const std::string& name, const std::string& value) {
    const auto& inputs = Inputs();
    const auto it = std::find_if(inputs.begin(), inputs.end(), [&name](const Input& in) { return in.name == name; });
    if (it == inputs.end()) return {EditResult::Status::UnknownName, "", InputNames()};
    const size_t from = dialogs.messages.size();
    if (!GoTo(app, it->screen)) return Refused(MessagesSince(dialogs, from));
    EditResult result = Apply(app, dialogs, *it, value);
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
