#pragma once
// Map on which the user picks the counties of the sample region by hand:
// left click adds or removes a county, right click names it; "Done" hands
// the list back to the hazard screen.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/map.h"
#include "screens/screen.h"

namespace verrane {

class Form7 : public Screen {
public:
    static constexpr int kNumber = 7;
    explicit Form7(ScreenHost& app);

    platform::Label Label1;                           // "User Selected Counties"
    platform::Label Label3;                           // heading
    platform::Label Label4;                           // usage hint
    std::array<platform::Label, 13> Label2;           // (12) sufficiency message
    std::array<platform::CommandButton, 3> Command1;  // Done, Reset, Cancel
    platform::MapControl Map1;

    std::vector<std::string> MapCountyList;
    std::shared_ptr<platform::ValueMapRenderer> Renderer;

    void Form_Load() override;
    void Form_Unload() override;
    void Command1_Click(int index);
    void Map1_MouseDown(int button, int shift, double xTwips, double yTwips);
    // What a click on county `record` of the counties layer does, wherever
    // it comes from (the map, or the list of the state's counties): button 1
    // adds or removes it, button 2 names it.
    void CountyClicked(int button, int record);

    // The counties of the project's state, by name: the list beside the map,
    // for choosing a county without the mouse.
    struct CountyEntry {
        int record;  // in the counties layer
        std::string name, fips;
    };
    std::vector<CountyEntry> StateCounties() const;
    std::string StateName() const;
    bool IsSelected(const std::string& fips) const;
    void Show_Maps();
    void Addem_Up2();
    void Project_Warning();

private:
    std::string ProjectFips() const;
    std::shared_ptr<platform::MapLayer> counties_, states_;
};

}  // namespace verrane
