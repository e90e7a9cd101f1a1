#pragma once
// Tornado Hazard Information screen: the county selection for the tornado
// statistics (region around the county, entire state or counties picked on
// the map), its map and sufficiency message, and the extraction whenever the
// screen is left.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/map.h"
#include "platform/reference_data.h"
#include "screens/screen.h"

namespace verrane {

class Form4 : public Screen {
public:
    static constexpr int kNumber = 4;
    explicit Form4(ScreenHost& app);

    platform::Label Label1;            // "Tornado Hazard Information"
    platform::CommandButton Command3;  // marks this screen among the buttons
    std::array<platform::CommandButton, 4> Command1;
    // Label2(0) options heading, (1) fixed note, (6) "State", (7) state name,
    // (8) sufficiency message, (18) "County", (19) county name.
    std::array<platform::Label, 20> Label2;
    platform::Label Label3;  // "Automated County Selection"
    platform::Label Label4;  // map hint
    std::array<platform::OptionButton, 3> Option1;
    std::array<platform::Label, 1> Label5;  // "Select Radius (miles):"
    platform::Slider Slider1;
    std::array<platform::Label, 6> Label7;  // slider tick labels
    platform::TextBox Text1;                // radius in miles
    platform::CommandButton Command2;       // "Edit Counties"
    platform::MapControl Map1;

    std::vector<std::string> CountyList;

    // Project identity, copied by Get_Project.
    std::string ProjectStateName, ProjectCountyName;
    int16_t ProjectStateCode = 0, ProjectCountyCode = 0;
    std::string ProjectFips() const;

    // Shared with the county map window, which draws the same layer objects.
    std::shared_ptr<platform::MapLayer> CountiesLayer, StatesLayer, StateLinesLayer;
    std::shared_ptr<platform::ValueMapRenderer> Renderer;
    bool HasMap() const { return CountiesLayer && StatesLayer && StateLinesLayer; }

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload() override;
    void SetAnalysisCommands(bool enabled) override;
    bool Leave(int target) override;

    void Command1_Click(int index);
    void Command2_Click();
    // Returns false when the key was consumed (Enter).
    bool Text1_KeyPress(int keyAscii);
    void Text1_LostFocus();
    void Map1_MouseDown(int button, int shift, double xTwips, double yTwips);
    void Load_Layers();
    void Set_Map();

    void Get_Project();
    void Option1_Click(int index);
    void Sortem_Up(int index);
    void Slider1_Change();
    void Showem_Off();
    void Addem_Up();
    void Save_Counties();

    // What every departure from this screen does first: store the selection
    // in the project and extract its statistics behind the progress window.
    // False when the extraction failed (its message has been shown).
    bool StoreSelectionAndExtract();

private:
    void RadiusEntered();
    // The selection made by a rule becomes the list, and its problem is told.
    void Select(platform::CountySelection selection);
    // Sets the slider without running the region search.
    void SetSliderSilently(int value);
    // Between the load after a file was read and the end of re-applying its selection.
    bool restoring_ = false;
};

// Drives the county selection as a user does: for the entire state the
// option button; for a region the option button, then the radius typed and
// confirmed with Enter (the screen refuses, with its message, a radius it
// cannot take). Neither leaves the options alone. Then stores the selection
// in the project. False when the screen refused the typed radius with its
// message (hazard::ReadRadius); the box then shows the radius in effect.
bool DriveCountySelection(Form4& f4, bool entireState, const std::optional<std::string>& radius);

}  // namespace verrane
