#include "screens/mitigation/form5.h"

#include <cmath>
#include <utility>

#include "platform/number.h"
#include "platform/reference_data.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/building/input_box.h"
#include "screens/field_controls.h"
#include "screens/hazard/form4.h"
#include "screens/project/form2.h"
#include "screens/screen_host.h"

namespace verrane {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {
const char* const kClickDesignWindSpeed = kDesignWindSpeedItems[0];
const char* const kPairMessage = "The sum of the injuries and deaths for this wind speed range can not exceed 100%.";
const char* const kPairTitle = "Deaths + Injuries must be <= 100%";

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

using model::RateCell;
using model::RateColumn;
constexpr model::RateTable kInjury = model::RateTable::Injury;
constexpr model::RateTable kDeath = model::RateTable::Death;
}  // namespace

Form5::Form5(ScreenHost& a) : Screen(a, "Form5", "Tornado Model: Mitigation Project Information") {
    for (int i = 0; i < 7; ++i) {
        Text1[static_cast<size_t>(i)].name = "Text1";
        Text1[static_cast<size_t>(i)].index = i;
    }
    InputControl<platform::TextBox>(*this, "MitigationDescription").multiLine = true;
    for (const auto& [input, text] : {std::pair<const char*, const char*>{"MaintenanceCost", "0"},
                                      {"InjuryCost", "12500"},
                                      {"DeathCost", "2200000"},
                                      {"DiscountRate", "7"}})
        InputControl<platform::TextBox>(*this, input).setText(text);
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
    for (const char* s : kDesignWindSpeedItems) Combo1.addItem(s);

    SetUpNavigation(
        Command1, {2, 3, 4, 6}, [this](int i) { Command1_Click(i); }, Command3, "Command3", 5);

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
    for (const auto& t : Text1) accepted_.Accept(t);
    for (const auto& t : Text2) accepted_.Accept(t);
    Combo1.onClick = [this] { Combo1_Click(); };
}

void Form5::Form_Load() {
    Combo1.setListIndex(0);
    Activation();
}

void Form5::Form_Activate() {
    toldWindProblem_.clear();
    Activation();
}

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
        const platform::HurricaneWindReading reading =
            platform::ReadHurricaneWind(platform::ReferenceData(app.ReferenceDatabase()), state, county);
        if (reading.wind) HurricaneWind = *reading.wind;
        const std::string& problem = reading.problem;
        // Every recalculation comes here (eleven times in one analysis): a
        // cause is told once until the user comes back to this screen or
        // starts another analysis.
        if (!problem.empty() && problem != toldWindProblem_)
            dialogs().MsgBox(problem, Buttons::OK, Icon::Exclamation, "Reference Data");
        toldWindProblem_ = problem;
    }
    Set_Damage();
}

void Form5::Set_Damage() {
    int type = 0;
    bool minimalWindows = false;
    if (auto* f3 = app.Loaded<Form3>()) {
        type = InputControl<platform::ComboBox>(*f3, "ConstructionType").listIndex();
        if (type >= 1 && type <= 5) minimalWindows = f3->Check1.value() != 0;
    }
    const model::DamagePercents p = model::DefaultDamagePercents(type, minimalWindows);
    for (size_t k = 0; k < 9; ++k) {
        Text2[RateCell(kInjury, RateColumn::DefaultPercent, k)].setText(platform::GeneralText(p.injury[k]));
        Text2[RateCell(kDeath, RateColumn::DefaultPercent, k)].setText(platform::GeneralText(p.death[k]));
    }
}

void Form5::Text1_Change(int i) {
    if (i < 0 || i > 6) return;
    Form2& f2 = app.form2();
    platform::TextBox& box = Text1[static_cast<size_t>(i)];
    if (f2.Loading) accepted_.Accept(box);
    if (!f2.Loading && i != 0) {
        input::RejectNonNumeric(box, dialogs(), i == 3 ? platform::NumberKind::Whole16 : platform::NumberKind::Single);
        // Refused: the box's change handling ran again with the value in effect.
        if (accepted_.Refuse(box, dialogs())) return;
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
        Text2[RateCell(kInjury, RateColumn::DefaultEffectiveness, k)].setText(text);
        Text2[RateCell(kDeath, RateColumn::DefaultEffectiveness, k)].setText(text);
    }
    savedata();
}

void Form5::Text2_Change(int i) {
    if (!CellExists(i)) return;
    platform::TextBox& cell = Text2[static_cast<size_t>(i)];
    if (app.form2().Loading) {
        accepted_.Accept(cell);
        return;
    }
    if (input::RejectNonNumeric(cell, dialogs()) || accepted_.Refuse(cell, dialogs())) return;
    const int r = i % 10, b = i - r;
    const bool userPercent = b == static_cast<int>(RateCell(kInjury, RateColumn::UserPercent, 0)) ||
                             b == static_cast<int>(RateCell(kDeath, RateColumn::UserPercent, 0));
    // Cells this screen clears itself (inside savedata) need no check.
    if (userPercent && !inSavedata_ && PairTooHigh(r, i, cell.text())) {
        if (!restoringCell_) dialogs().MsgBox(kPairMessage, Buttons::OK, Icon::Exclamation, kPairTitle);
        // The entry is emptied; when the default it brings back is itself too
        // high with the other cell (clearing 70 % injured beside a user 30 %
        // dead where the default is 85 %), the cell keeps its last accepted
        // value instead, so the pair in effect is always the one shown.
        const std::string back =
            !cell.empty() && !PairTooHigh(r, i, "") ? std::string() : acceptedCell_[static_cast<size_t>(i)];
        if (back != cell.text()) {
            Guard guard(restoringCell_);
            cell.setText(back);
        } else {
            savedata();
        }
        return;
    }
    savedata();
}

bool Form5::PairTooHigh(int r, int index, const std::string& text) const {
    const auto k = static_cast<size_t>(r);
    // The user cell when filled (the text about to be accepted for the cell being
    // changed), else the default beside it.
    auto percent = [&](model::RateTable table) {
        const size_t user = RateCell(table, RateColumn::UserPercent, k);
        const std::string& t = static_cast<int>(user) == index ? text : Text2[user].text();
        return t.empty() ? input::Value(Text2[RateCell(table, RateColumn::DefaultPercent, k)])
                         : platform::ParseNumber(t).value_or(0.0);
    };
    return model::PairExceeds100(percent(kInjury), percent(kDeath));
}

model::RateGrid Form5::Grid() const {
    model::RateGrid g;
    g.injuryCost = input::Single(InputControl<const platform::TextBox>(*this, "InjuryCost")).value_or(0.0f);
    g.deathCost = input::Single(InputControl<const platform::TextBox>(*this, "DeathCost")).value_or(0.0f);
    // An empty user-defined cell means the default applies.
    auto user = [this](model::RateTable table, RateColumn column, size_t k) -> std::optional<double> {
        const platform::TextBox& u = Text2[RateCell(table, column, k)];
        if (u.empty()) return std::nullopt;
        return input::Value(u);
    };
    auto value = [this](model::RateTable table, RateColumn column, size_t k) {
        return input::Value(Text2[RateCell(table, column, k)]);
    };
    for (size_t k = 0; k < 9; ++k) {
        g.defaultInjuryPercent[k] = value(kInjury, RateColumn::DefaultPercent, k);
        g.defaultInjuryEffectiveness[k] = value(kInjury, RateColumn::DefaultEffectiveness, k);
        g.defaultDeathPercent[k] = value(kDeath, RateColumn::DefaultPercent, k);
        g.defaultDeathEffectiveness[k] = value(kDeath, RateColumn::DefaultEffectiveness, k);
        g.userInjuryPercent[k] = user(kInjury, RateColumn::UserPercent, k);
        g.userInjuryEffectiveness[k] = user(kInjury, RateColumn::UserEffectiveness, k);
        g.userDeathPercent[k] = user(kDeath, RateColumn::UserPercent, k);
        g.userDeathEffectiveness[k] = user(kDeath, RateColumn::UserEffectiveness, k);
    }
    return g;
}

void Form5::KeepPairsWithin100() {
    model::RateGrid grid = Grid();
    std::string ranges;
    for (size_t r : model::ClearPairsAbove100(grid)) {
        ranges += std::string(ranges.empty() ? "" : ", ") + model::WindRangeNames[r];
        // With both cells cleared the defaults apply, and no default pair is above 100 %.
        Text2[RateCell(kInjury, RateColumn::UserPercent, r)].setText("");
        Text2[RateCell(kDeath, RateColumn::UserPercent, r)].setText("");
    }
    for (size_t k = 0; k < 9; ++k)
        for (size_t i : {RateCell(kInjury, RateColumn::UserPercent, k), RateCell(kDeath, RateColumn::UserPercent, k)})
            acceptedCell_[i] = Text2[i].text();
    if (!ranges.empty())
        dialogs().MsgBox(std::string(kPairMessage) +
                             " The user-defined percentages injured and dead of these wind speed "
                             "ranges were cleared: " +
                             ranges + ".",
                         Buttons::OK, Icon::Exclamation, kPairTitle);
}

void Form5::savedata() {
    if (inSavedata_) return;
    Guard guard(inSavedata_);
    if (!visible()) Activation();
    KeepPairsWithin100();

    const model::RateResult result = model::RatesInEffect(Grid());
    for (size_t k = 0; k < 9; ++k) {
        Text2[RateCell(kInjury, RateColumn::PostPercent, k)].setText(
            platform::FormatNumber(result.postInjuryPercent[k], "##0.0"));
        Text2[RateCell(kDeath, RateColumn::PostPercent, k)].setText(
            platform::FormatNumber(result.postDeathPercent[k], "##0.0"));
    }
    InjuryOutcome = result.injury;
    DeathOutcome = result.death;
    WindRangeThresholds = model::WindRangeThresholds;
    OutcomesValid = true;
}

bool Form5::AskedToStay() {
    // Both questions are asked; a Yes to either keeps the user here.
    bool stay = false;
    for (size_t j = 1; j <= 6; ++j) {
        if (!Text1[j].empty()) continue;
        if (dialogs().MsgBox(kRequiredDataQuestion, Buttons::YesNo, Icon::None, " ") == Answer::Yes) stay = true;
        break;
    }
    if (Combo1.text() == kClickDesignWindSpeed &&
        dialogs().MsgBox(
            "A design wind speed has not been selected. Do you want to stay on this screen to select a design "
            "wind speed?",
            Buttons::YesNo, Icon::None, " ") == Answer::Yes)
        stay = true;
    return stay;
}

bool Form5::Leave(int target) {
    if (target == Form6::kNumber) app.form3().savedata();
    savedata();
    return !AskedToStay();
}

void Form5::Command1_Click(int index) {
    BusyPointer busy(dialogs());
    savedata();
    if (!AskedToStay()) {
        switch (index) {
            case 0:
                app.form2().Show();
                break;
            case 1:
                app.form3().Show();
                break;
            case 2:
                app.form4().Show();
                break;
            case 3:
                app.form3().savedata();
                app.form6().Show();
                break;
            default:
                break;
        }
        if (index >= 0 && index <= 3) Hide();
    }
}

void Form5::SetAnalysisCommands(bool enabled) {
    Command1[3].setEnabled(enabled);
    Screen::SetAnalysisCommands(enabled);
}

}  // namespace verrane
