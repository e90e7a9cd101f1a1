#include "screens/mitigation/form5.h"

#include "app/app.h"

namespace verrane {

// Behaviour of this screen is being completed; the controls and their
// initial contents are final, since the project file addresses them.
Form5::Form5(App& a) : Screen(a, "Form5", "Tornado Model: Mitigation Project Information") {
    for (int i = 0; i < 7; ++i) {
        Text1[static_cast<size_t>(i)].name = "Text1";
        Text1[static_cast<size_t>(i)].index = i;
    }
    Text1[2].setText("0");
    Text1[4].setText("12500");
    Text1[5].setText("2200000");
    Text1[6].setText("7");
    for (int i = 0; i < 99; ++i) {
        auto& t = Text2[static_cast<size_t>(i)];
        t.name = "Text2";
        t.index = i;
        const int col = (i % 50) / 10;
        if (i % 10 != 9 && col != 1 && col != 3) t.setText("0");
    }
    for (const char* s : {"Click Design Wind Speed", "130", "160", "200", "250"}) Combo1.addItem(s);
}

void Form5::Form_Load() {}
void Form5::Form_Activate() {}
void Form5::Form_Unload() {}
void Form5::Activation() {}
void Form5::Text1_Change(int) {}
void Form5::Text2_Change(int) {}
void Form5::Combo1_Click() {}
void Form5::Set_Damage() {}
void Form5::savedata() { MayLeave = true; }
void Form5::Command1_Click(int) {}
void Form5::SetAnalysisCommands(bool enabled) {
    Command1[3].setEnabled(enabled);
    Screen::SetAnalysisCommands(enabled);
}
platform::TextBox* Form5::FocusedTextBox() { return nullptr; }

}  // namespace verrane
