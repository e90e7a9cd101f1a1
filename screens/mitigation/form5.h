#pragma once
// Mitigation Project Information screen: costs, lifetime, discount rate,
// design wind speed and the death and injury rate grid.
#include <array>
#include <string>

#include "model/rates.h"
#include "screens/building/input_box.h"
#include "screens/screen.h"

namespace verrane {

// The design wind speed list, position 0 the prompt (no speed chosen).
inline constexpr const char* kDesignWindSpeedItems[] = {"Click Design Wind Speed", "130", "160", "200", "250"};

class Form5 : public Screen {
public:
    static constexpr int kNumber = 5;
    explicit Form5(ScreenHost& app);

    // Text1(0) description, (1) project cost, (2) maintenance, (3) lifetime,
    // (4) injury cost, (5) death cost, (6) discount rate.
    std::array<platform::TextBox, 7> Text1;
    // The rate grid: injuries 0..48, deaths 50..98, column c of a table at
    // 10c + k; indices 9, 19, ... 89 do not exist.
    std::array<platform::TextBox, 99> Text2;
    platform::ComboBox Combo1;  // design wind speed
    std::array<platform::CommandButton, 4> Command1;
    platform::CommandButton Command3;  // "Mitigation Project Information" marker

    double HurricaneWind = 0;
    model::Outcome InjuryOutcome, DeathOutcome;
    bool OutcomesValid = false;
    std::array<int, 9> WindRangeThresholds{};

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload() override;
    void Activation();
    void Text1_Change(int index);
    void Text2_Change(int index);
    void Combo1_Click();
    void Set_Damage();
    void savedata();
    bool Leave(int target) override;
    void Command1_Click(int index);
    // A new command (an analysis) tells the county's data problems afresh.
    void ForgetTold() { toldWindProblem_.clear(); }
    void SetAnalysisCommands(bool enabled) override;

    // Rate grid cells that exist (9, 19, ... 89 do not) and those the user
    // may edit (the user-defined columns).
    static bool CellExists(int index) { return index >= 0 && index < 99 && index % 10 != 9; }
    static bool UserCell(int index) { return CellExists(index) && ((index % 50) / 10 == 1 || (index % 50) / 10 == 3); }

private:
    // The questions about incomplete input when the user leaves: true to stay.
    bool AskedToStay();
    // Nested recalculations, raised by the cells this screen writes itself,
    // would only repeat the outer one (and its leaving questions).
    bool inSavedata_ = false, inActivation_ = false;

    // The pre-mitigation pair of range r is above 100 % when cell `index`
    // (a user-defined percent cell of that range) holds `text`.
    bool PairTooHigh(int r, int index, const std::string& text) const;
    // The grid's values as the cells hold them.
    model::RateGrid Grid() const;
    // Clears the user-defined percentages of every range whose pair is above
    // 100 % (a project file's, or a default that changed under them), with
    // one message; so the analysis never uses such a pair.
    void KeepPairsWithin100();
    // The last message about the county's hurricane wind; see ForgetTold.
    std::string toldWindProblem_;
    // The user-defined percent cells as last accepted, and the flag set while
    // a refused edit is being undone.
    std::array<std::string, 99> acceptedCell_;
    input::AcceptedValues accepted_{project::FieldScreen::Mitigation};
    bool restoringCell_ = false;
};

}  // namespace verrane
