#include "screens/building/form3.h"

#include "app/app.h"

namespace verrane {

// Behaviour of this screen is being completed; the controls and their
// initial contents are final, since the project file addresses them.
Form3::Form3(App& a) : Screen(a, "Form3", "Tornado Model: Building Information") {
    for (int i = 0; i < 6; ++i) {
        Text1[static_cast<size_t>(i)].name = "Text1";
        Text1[static_cast<size_t>(i)].index = i;
    }
    Text1[3].setText("0");
    Text1[5].setText("Need shelter area and hurricane and tornado occupancy data.");
    for (int h = 0; h < 24; ++h) {
        Text2[static_cast<size_t>(h)].name = "Text2";
        Text2[static_cast<size_t>(h)].index = h;
        Text2[static_cast<size_t>(h)].setText("0");
    }
    for (const char* z : {"Atlantic ST", "Eastern ST", "Central ST", "Mountain ST", "Pacific ST", "Alaska ST", "Hawaii ST",
                          "Samoa ST", "Guam ST"})
        Combo1[0].addItem(z);
    for (const char* t : {"Select Type", "Reinforced & Precast Concrete", "Reinforced Masonry", "Unreinforced Masonry",
                          "Steel", "Wood", "User-Defined"})
        Combo1[1].addItem(t);
}

void Form3::Form_Load() { Combo1[1].setListIndex(0); }
void Form3::Form_Activate() {}
void Form3::Form_Unload() {}
void Form3::Text1_Change(int) {}
void Form3::Text2_Change(int) {}
void Form3::OccupancyCheck() {}
void Form3::Settime() {}
void Form3::savedata() { MayLeave = true; }
void Form3::Command1_Click(int) {}
void Form3::SetAnalysisCommands(bool enabled) {
    Command1[3].setEnabled(enabled);
    Screen::SetAnalysisCommands(enabled);
}
platform::TextBox* Form3::FocusedTextBox() { return nullptr; }

}  // namespace verrane
