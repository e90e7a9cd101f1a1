#include "screens/building/form3.h"

#include <optional>

#include "model/occupancy.h"
#include "platform/reference_data.h"
#include "screens/analysis/form6.h"
#include "screens/building/input_box.h"
#include "screens/field_controls.h"
#include "screens/hazard/form4.h"
#include "screens/menus.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "screens/screen_host.h"

namespace verrane {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

platform::TextBox& Form3::Box(std::string_view input) { return InputControl<platform::TextBox>(*this, input); }
platform::ComboBox& Form3::List(std::string_view input) { return InputControl<platform::ComboBox>(*this, input); }

Form3::Form3(ScreenHost& a) : Screen(a, "Form3", "Tornado Model: Building Information") {
    for (int i = 0; i < 6; ++i) {
        Text1[static_cast<size_t>(i)].name = "Text1";
        Text1[static_cast<size_t>(i)].index = i;
    }
    Box("HurricaneOccupancy").setText("0");
    Text1[5].setText(kNeedAllOccupancyData);
    Text1[5].locked = true;
    Text1[5].multiLine = true;
    Text1[5].setBackColor(platform::kButtonFace);
    Text1[5].setForeColor(platform::kRed);
    for (int h = 0; h < 24; ++h) {
        Text2[static_cast<size_t>(h)].name = "Text2";
        Text2[static_cast<size_t>(h)].index = h;
        Text2[static_cast<size_t>(h)].setText("0");
    }
    for (const char* z : {"Atlantic ST", "Eastern ST", "Central ST", "Mountain ST", "Pacific ST", "Alaska ST",
                          "Hawaii ST", "Samoa ST", "Guam ST"})
        List("TimeZone").addItem(z);
    for (const char* t : {"Select Type", "Reinforced & Precast Concrete", "Reinforced Masonry", "Unreinforced Masonry",
                          "Steel", "Wood", "User-Defined"})
        List("ConstructionType").addItem(t);
    Combo1[0].name = Combo1[1].name = "Combo1";
    Combo1[0].index = 0;
    Combo1[1].index = 1;
    Check1.name = "Check1";
    Check1.caption = "Building has minimal window area (less than 7% of wall area)";
    Check2.name = "Check2";
    Check2.caption = "Daylight Savings";

    SetUpNavigation(
        Command1, {2, 4, 5, 6}, [this](int i) { Command1_Click(i); }, Command3, "Command3", 3);

    // Handlers are wired after the initial contents, which raise no events.
    for (int i : {0, 1, 2, 3, 5}) {
        auto& t = Text1[static_cast<size_t>(i)];
        t.onChange = [this, i] { Text1_Change(i); };
    }
    for (int h = 0; h < 24; ++h) {
        auto& t = Text2[static_cast<size_t>(h)];
        t.onChange = [this, h] { Text2_Change(h); };
    }
    for (const auto& t : Text1) accepted_.Accept(t);
    for (const auto& t : Text2) accepted_.Accept(t);
}

void Form3::Form_Load() {
    AreaEntered = HurricaneEntered = TornadoEntered = false;
    List("ConstructionType").setListIndex(0);
    Text1_Change(1);
    Settime();
}

void Form3::Form_Activate() {
    AreaEntered = !Box("ShelterArea").empty();
    HurricaneEntered = !Box("HurricaneOccupancy").empty();
    ScanHourlyBoxes();
    OccupancyCheck();
}

void Form3::Form_Unload() {
    TornadoHourlyOccupancy = {};
    HurricaneOccupancyList.clear();
    Published = false;
}

void Form3::ScanHourlyBoxes() {
    PeakTornadoOccupancy = 0;
    TornadoEntered = false;
    for (const auto& box : Text2) {
        if (box.empty()) continue;
        TornadoEntered = true;
        const float v = input::Single(box).value_or(0.0f);
        if (v > PeakTornadoOccupancy) PeakTornadoOccupancy = v;
    }
}

bool Form3::NumericTest(platform::TextBox& box) { return input::RejectNonNumeric(box, dialogs()); }

bool Form3::RuleTest(platform::TextBox& box) {
    if (app.form2().Loading) {
        accepted_.Accept(box);
        return true;
    }
    return accepted_.Refuse(box, dialogs());
}

void Form3::Text1_Change(int i) {
    Form2& f2 = app.form2();
    if (i == 5 || i == 4 || i < 0 || i > 5) return;
    platform::TextBox& box = Text1[static_cast<size_t>(i)];
    if (f2.Loading) {
        RuleTest(box);
        return;
    }
    NumericTest(box);
    if (RuleTest(box)) return;  // the box's change handling ran again with the value in effect

    // Without both dimensions there is no footprint to compare with: clearing
    // the boxes one after another must not warn at each of them.
    const double length = input::Value(Box("BuildingLength")), width = input::Value(Box("BuildingWidth")),
                 area = input::Value(Box("ShelterArea"));
    if (!Box("BuildingLength").empty() && !Box("BuildingWidth").empty() && area > length * width)
        dialogs().MsgBox("Warning: Shelter area is larger than building footprint.", Buttons::OK, Icon::Exclamation,
                         " ");

    if (i == 2) AreaEntered = !Box("ShelterArea").empty();
    if (i == 3) {
        HurricaneEntered = !Box("HurricaneOccupancy").empty();
        // Rounded, not converted to 16 bits: a large occupancy must warn, not overflow.
        if (!IsHurricaneProne(f2.Combo3.text()) && !Box("HurricaneOccupancy").empty() &&
            platform::RoundHalfEven(input::Value(Box("HurricaneOccupancy"))) > 0)
            dialogs().MsgBox("This non-hurricane prone state should have no hurricane occupancy. Enter zero.",
                             Buttons::OK, Icon::Exclamation, kNoHurricaneOccupancyTitle);
    }
    OccupancyCheck();
    UpdateCompleteness(true);
}

void Form3::Text2_Change(int h) {
    if (h < 0 || h > 23) return;
    platform::TextBox& box = Text2[static_cast<size_t>(h)];
    if (app.form2().Loading) {
        RuleTest(box);
        return;
    }
    NumericTest(box);
    if (RuleTest(box)) return;
    ScanHourlyBoxes();
    OccupancyCheck();
    UpdateCompleteness(false);
}

void Form3::UpdateCompleteness(bool includeShelterArea) {
    Form2& f2 = app.form2();
    bool complete = true;
    for (int i : {0, 1, 2, 3}) {
        if (i == 2 && !includeShelterArea) continue;
        if (Text1[static_cast<size_t>(i)].empty()) complete = false;
    }
    for (const auto& box : Text2)
        if (box.empty()) complete = false;
    f2.BuildingDataComplete = complete;
    f2.BC_On();
}

void Form3::OccupancyCheck() {
    Text1[5].setForeColor(platform::kRed);
    bool tornadoOk = false, hurricaneOk = false;
    if (AreaEntered) {
        const double area = input::Value(Box("ShelterArea"));
        const double hurricane = input::Value(Box("HurricaneOccupancy"));
        const double tornadoRatio = PeakTornadoOccupancy <= 0 ? 100.0 : area / PeakTornadoOccupancy;
        const double hurricaneRatio = hurricane <= 0 ? 1000.0 : area / hurricane;
        tornadoOk = tornadoRatio >= 5;
        hurricaneOk = hurricaneRatio >= 10;
    }
    const char* verdict;
    if (!AreaEntered) {
        if (!HurricaneEntered)
            verdict = TornadoEntered ? "Need shelter area and hurricane occupancy data." : kNeedAllOccupancyData;
        else
            verdict = TornadoEntered ? "Need shelter area data." : "Need shelter area and tornado occupancy data.";
    } else if (!HurricaneEntered) {
        if (!TornadoEntered)
            verdict = "Need hurricane and tornado occupancy data.";
        else
            verdict = tornadoOk ? "Adequate area for maximum tornado occupancy; need hurricane occupancy data."
                                : "Inadequate area for maximum tornado occupancy; need hurricane occupancy data.";
    } else if (!TornadoEntered) {
        verdict = hurricaneOk ? "Adequate area for hurricane occupancy; need tornado occupancy data."
                              : "Inadequate area for hurricane occupancy; need tornado occupancy data.";
    } else if (tornadoOk && hurricaneOk) {
        verdict = kAdequateBoth;
    } else if (hurricaneOk) {
        verdict = "Inadequate area for maximum tornado occupancy; adequate area for hurricane occupancy.";
    } else if (tornadoOk) {
        verdict = "Inadequate area for hurricane occupancy; adequate area for maximum tornado occupancy.";
    } else {
        verdict = "Inadequate area for both maximum tornado and hurricane occupancy.";
    }
    CheckMessage = verdict;
    Text1[5].setText(CheckMessage);
    if (CheckMessage == kAdequateBoth) Text1[5].setForeColor(platform::kBlack);
}

void Form3::Settime() {
    Form2& f2 = app.form2();
    const std::string state = f2.Combo3.text(), county = f2.Combo2.text();
    if (county.empty() || county == kClickCounty) return;
    const platform::TimePreset preset =
        platform::ReadTimePreset(platform::ReferenceData(app.ReferenceDatabase()), state, county);
    if (!preset.problem.empty()) {
        dialogs().MsgBox(preset.problem, Buttons::OK, Icon::Exclamation, "Reference Data");
        return;
    }
    // No record: the time zone and daylight saving stay as they are.
    if (!preset.found) return;
    Check2.setValue(preset.daylightSaving ? 1 : 0);
    if (preset.timeZone) List("TimeZone").setListIndex(*preset.timeZone);
}

void Form3::savedata() {
    std::array<std::optional<float>, 24> local;
    for (size_t h = 0; h < 24; ++h) local[h] = input::Single(Text2[h]);
    TornadoHourlyOccupancy = model::TornadoHourlyOccupancy(local, List("TimeZone").listIndex(), Check2.value() == 1);
    HurricaneOccupancyList = Box("HurricaneOccupancy").text();
    Published = true;

    OccupancyCheck();
}

bool Form3::Leave(int target) {
    savedata();
    // With a box still empty the user may choose to stay and fill it in.
    bool complete = true;
    for (int i : {0, 1, 2, 3})
        if (Text1[static_cast<size_t>(i)].empty()) complete = false;
    for (const auto& box : Text2)
        if (box.empty()) complete = false;
    if (!complete && dialogs().MsgBox(kRequiredDataQuestion, Buttons::YesNo, Icon::None, " ") == Answer::Yes)
        return false;
    if (target == Form6::kNumber) app.form5().savedata();
    return true;
}

// The buttons lead where the Input and BC Analysis menu items do, after
// the same savedata with its leaving question.
void Form3::Command1_Click(int index) {
    static constexpr int kTargets[4] = {2, 4, 5, 6};
    if (index >= 0 && index <= 3) GoToScreen(app, *this, kTargets[index]);
}

void Form3::SetAnalysisCommands(bool enabled) {
    Command1[3].setEnabled(enabled);
    Screen::SetAnalysisCommands(enabled);
}

}  // namespace verrane
