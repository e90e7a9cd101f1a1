#include "screens/mitigation/form5.h"

#include "app/app.h"
#include "platform/number.h"
#include "platform/refdb.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/building/input_box.h"
#include "screens/hazard/form4.h"
#include "screens/project/form2.h"

namespace verrane {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {
const char* const kClickDesignWindSpeed = "Click Design Wind Speed";

// A flag that is set for the lifetime of the guard.
class Guard {
public:
    explicit Guard(bool& flag) : flag_(flag) { flag_ = true; }
    ~Guard() { flag_ = false; }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    bool& flag_;
};
}  // namespace

Form5::Form5(App& a) : Screen(a, "Form5", "Tornado Model: Mitigation Project Information") {
    for (int i = 0; i < 7; ++i) {
        Text1[static_cast<size_t>(i)].name = "Text1";
        Text1[static_cast<size_t>(i)].index = i;
    }
    Text1[0].multiLine = true;
    Text1[2].setText("0");
    Text1[4].setText("12500");
    Text1[5].setText("2200000");
    Text1[6].setText("7");
    for (int i = 0; i < 99; ++i) {
        auto& t = Text2[static_cast<size_t>(i)];
        t.name = "Text2";
        t.index = i;
        if (!CellExists(i)) {
            t.setVisible(false);
            t.locked = true;
            continue;
        }
        if (!UserCell(i)) {
            // Default and calculated cells are the program's: locked and grey.
            t.setText("0");
            t.locked = true;
            t.setBackColor(platform::kButtonFace);
        }
    }
    Combo1.name = "Combo1";
    for (const char* s : {kClickDesignWindSpeed, "130", "160", "200", "250"}) Combo1.addItem(s);

    SetUpNavigation(Command1, {2, 3, 4, 6}, [this](int i) { Command1_Click(i); }, Command3, "Command3", 5);

    // Handlers are wired after the initial contents, which raise no events.
    for (int i = 0; i < 7; ++i) {
        auto& t = Text1[static_cast<size_t>(i)];
        t.onChange = [this, i] { Text1_Change(i); };
    }
    for (int i = 0; i < 99; ++i) {
        if (!CellExists(i)) continue;
        auto& t = Text2[static_cast<size_t>(i)];
        t.onChange = [this, i] { Text2_Change(i); };
    }
    Combo1.onClick = [this] { Combo1_Click(); };
}

void Form5::Form_Load() {
    Combo1.setListIndex(0);
    Activation();
}

void Form5::Form_Activate() { Activation(); }

void Form5::Form_Unload() {
    InjuryOutcome = {};
    DeathOutcome = {};
    OutcomesValid = false;
}

void Form5::Activation() {
    if (inActivation_) return;
    Guard guard(inActivation_);
    Form2& f2 = app.form2();
    const std::string state = f2.Combo3.text(), county = f2.Combo2.text();
    if (!county.empty() && county != kClickCounty) {
        try {
            auto db = platform::Database::Open(app.ReferenceDatabase());
            auto rs = db.OpenRecordset("Counties", platform::Query::Where({{"STATE_NAME", state}, {"NAME", county}}));
            // No record: the hurricane wind stays as it is.
            if (!rs.eof()) HurricaneWind = rs.Field("Hur_wind").asDouble();
        } catch (const std::exception& e) {
            dialogs().MsgBox(std::string("The hurricane wind of ") + county + ", " + state + " could not be read. " +
                                 e.what(),
                             Buttons::OK, Icon::Exclamation, "Reference Data");
        }
    }
    Set_Damage();
}

void Form5::Set_Damage() {
    int type = 0;
    bool minimalWindows = false;
    if (auto* f3 = app.Loaded<Form3>()) {
        type = f3->Combo1[1].listIndex();
        if (type >= 1 && type <= 5) minimalWindows = f3->Check1.value() != 0;
    }
    const model::DamagePercents p = model::DefaultDamagePercents(type, minimalWindows);
    for (size_t k = 0; k < 9; ++k) {
        Text2[k].setText(platform::GeneralText(p.injury[k]));
        Text2[50 + k].setText(platform::GeneralText(p.death[k]));
    }
}

void Form5::Text1_Change(int i) {
    if (i < 0 || i > 6) return;
    Form2& f2 = app.form2();
    if (!f2.Loading && i != 0) {
        input::RejectNonNumeric(Text1[static_cast<size_t>(i)], dialogs());
        bool complete = true;
        for (size_t j = 1; j <= 6; ++j)
            if (Text1[j].empty()) complete = false;
        f2.MitigationDataComplete = complete;
        f2.BC_On();
    }
    savedata();
}

void Form5::Combo1_Click() {
    const std::array<float, 9> eff = model::DefaultEffectiveness(Combo1.listIndex());
    for (size_t k = 0; k < 9; ++k) {
        const std::string text = platform::GeneralText(eff[k]);
        Text2[20 + k].setText(text);
        Text2[70 + k].setText(text);
    }
    savedata();
}

void Form5::Text2_Change(int i) {
    if (!CellExists(i) || app.form2().Loading) return;
    platform::TextBox& cell = Text2[static_cast<size_t>(i)];
    if (input::RejectNonNumeric(cell, dialogs())) return;
    const int r = i % 10, b = i - r;
    if (b == 10 || b == 60) {
        const auto& injury = Text2[static_cast<size_t>(10 + r)].empty() ? Text2[static_cast<size_t>(r)]
                                                                         : Text2[static_cast<size_t>(10 + r)];
        const auto& death = Text2[static_cast<size_t>(60 + r)].empty() ? Text2[static_cast<size_t>(50 + r)]
                                                                       : Text2[static_cast<size_t>(60 + r)];
        if (model::PairExceeds100(input::Value(injury), input::Value(death))) {
            dialogs().MsgBox("The sum of the injuries and deaths for this wind speed range can not exceed 100%.",
                             Buttons::OK, Icon::Exclamation, "Deaths + Injuries must be <= 100%");
            cell.setText("");
            return;
        }
    }
    savedata();
}

void Form5::savedata() {
    if (inSavedata_) return;
    Guard guard(inSavedata_);
    if (!visible()) Activation();

    model::RateInputs in;
    in.injuryCost = input::Single(Text1[4]).value_or(0.0f);
    in.deathCost = input::Single(Text1[5]).value_or(0.0f);
    // An empty user-defined cell means the default applies.
    auto pick = [this](size_t user, size_t fallback) {
        return input::Value(Text2[user].empty() ? Text2[fallback] : Text2[user]);
    };
    for (size_t k = 0; k < 9; ++k) {
        in.injuryPercent[k] = pick(10 + k, k);
        in.injuryEffectiveness[k] = pick(30 + k, 20 + k);
        in.deathPercent[k] = pick(60 + k, 50 + k);
        in.deathEffectiveness[k] = pick(80 + k, 70 + k);
    }
    const model::RateResult result = model::RecalculateRates(in);
    for (size_t k = 0; k < 9; ++k) {
        Text2[40 + k].setText(platform::FormatNumber(result.postInjuryPercent[k], "##0.0"));
        Text2[90 + k].setText(platform::FormatNumber(result.postDeathPercent[k], "##0.0"));
    }
    InjuryOutcome = result.injury;
    DeathOutcome = result.death;
    WindRangeThresholds = model::WindRangeThresholds;
    OutcomesValid = true;

    MayLeave = true;
    if (!LeavingScreen) return;
    for (size_t j = 1; j <= 6; ++j) {
        if (!Text1[j].empty()) continue;
        if (dialogs().MsgBox(kRequiredDataQuestion, Buttons::YesNo, Icon::None, " ") == Answer::Yes) MayLeave = false;
        break;
    }
    if (Combo1.text() == kClickDesignWindSpeed &&
        dialogs().MsgBox("A design wind speed has not been selected. Do you want to stay on this screen to select a design "
                         "wind speed?",
                         Buttons::YesNo, Icon::None, " ") == Answer::Yes)
        MayLeave = false;
}

void Form5::Command1_Click(int index) {
    BusyPointer busy(dialogs());
    LeavingScreen = true;
    savedata();
    if (MayLeave) {
        switch (index) {
            case 0: app.form2().Show(); break;
            case 1: app.form3().Show(); break;
            case 2: app.form4().Show(); break;
            case 3:
                app.form3().savedata();
                app.form6().Show();
                break;
            default: break;
        }
        if (index >= 0 && index <= 3) Hide();
    }
    LeavingScreen = false;
}

void Form5::SetAnalysisCommands(bool enabled) {
    Command1[3].setEnabled(enabled);
    Screen::SetAnalysisCommands(enabled);
}

platform::TextBox* Form5::FocusedTextBox() {
    for (auto& t : Text1)
        if (t.hasFocus()) return &t;
    for (auto& t : Text2)
        if (t.hasFocus()) return &t;
    return nullptr;
}

}  // namespace verrane
