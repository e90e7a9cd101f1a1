#pragma once
// Building Information screen: building and shelter data, the occupancy
// check, and the hourly occupancy schedule on Eastern Standard Time.
#include <array>
#include <string>
#include <string_view>

#include "screens/building/input_box.h"
#include "screens/screen.h"

namespace verrane {

// Verdicts of the occupancy check, shown in Text1(5).
inline const char* const kNeedAllOccupancyData = "Need shelter area and hurricane and tornado occupancy data.";
inline const char* const kAdequateBoth = "Adequate area for both maximum tornado and hurricane occupancy.";
inline const char* const kRequiredDataQuestion =
    "Not all required data has been entered for this screen. Do you want to complete the required data on this screen?";

class Form3 : public Screen {
public:
    static constexpr int kNumber = 3;
    explicit Form3(ScreenHost& app);

    // Text1(0) length, (1) width, (2) shelter area, (3) hurricane occupancy,
    // (5) occupancy check. Index 4 does not exist.
    std::array<platform::TextBox, 6> Text1;
    std::array<platform::TextBox, 24> Text2;   // tornado occupancy, local hours 0..23
    std::array<platform::ComboBox, 2> Combo1;  // (0) time zone, (1) construction type
    platform::CheckBox Check1;                 // minimal window area
    platform::CheckBox Check2;                 // daylight savings
    std::array<platform::CommandButton, 4> Command1;
    platform::CommandButton Command3;  // "Building Information" marker

    bool AreaEntered = false, HurricaneEntered = false, TornadoEntered = false;
    float PeakTornadoOccupancy = 0;
    std::string CheckMessage;

    // Published by savedata.
    std::array<float, 24> TornadoHourlyOccupancy{};
    // The hurricane occupancy as typed; empty stands for the integer 0.
    std::string HurricaneOccupancyList;
    bool Published = false;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload() override;
    void Text1_Change(int index);
    void Text2_Change(int hour);
    void OccupancyCheck();
    void Settime();
    void savedata();
    bool Leave(int target) override;
    void Command1_Click(int index);
    void SetAnalysisCommands(bool enabled) override;

private:
    // An input of this screen by the field table's name (its box or its list).
    platform::TextBox& Box(std::string_view input);
    platform::ComboBox& List(std::string_view input);
    void ScanHourlyBoxes();
    // Sets BuildingDataComplete from the first empty required box, then BC_On.
    void UpdateCompleteness(bool includeShelterArea);
    bool NumericTest(platform::TextBox& box);
    // Refuses a value the box's rule forbids; true when it did.
    bool RuleTest(platform::TextBox& box);
    input::AcceptedValues accepted_{project::FieldScreen::Building};
};

}  // namespace verrane
