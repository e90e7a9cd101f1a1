#include "screens/hazard/form4.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "platform/number.h"
#include "platform/refdb.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/hazard/form7.h"
#include "screens/hazard/form9.h"
#include "screens/hazard/selection.h"
#include "screens/menus.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "screens/screen_host.h"

namespace verrane {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {
const char* const kEditWarning =
    "This option is generally not used unless substantial evidence merits changing the automatically selected "
    "counties.  If you choose to modify the selection, then all counties should be contiguous.  Do you wish to "
    "modify the selected counties? ";
const char* const kEditWarningTitle = "User-Selected Counties Warning";
constexpr int kEnter = 13;
using hazard::kMaxRadius;
}  // namespace

Form4::Form4(ScreenHost& a) : Screen(a, "Form4", "Tornado Model: Tornado Hazard Information") {
    Label1.name = "Label1";
    Label1.setCaption("Tornado Hazard Information");
    SetUpNavigation(
        Command1, {2, 3, 5, 6}, [this](int i) { Command1_Click(i); }, Command3, "Command3", 4);
    for (int i = 0; i < 20; ++i) {
        Label2[static_cast<size_t>(i)].name = "Label2";
        Label2[static_cast<size_t>(i)].index = i;
    }
    Label2[0].setCaption("Select Counties for Tornado Statistics based on:");
    Label2[1].setCaption(
        "The selection of at least one county is required.  Beep indicates insufficient number of counties.");
    Label2[6].setCaption("State");
    Label2[18].setCaption("County");
    Label2[8].setCaption(hazard::kCalculating);
    Label3.name = "Label3";
    Label3.setCaption("Automated County Selection");
    Label4.name = "Label4";
    Label4.setCaption("Right Click on County to View County Name.");

    const char* methods[3] = {"Region Around County", "Entire State", "User Selected Counties"};
    for (int i = 0; i < 3; ++i) {
        auto& o = Option1[static_cast<size_t>(i)];
        o.name = "Option1";
        o.index = i;
        o.caption = methods[i];
        o.onClick = [this, i] { Option1_Click(i); };
    }
    platform::MakeOptionGroup({&Option1[0], &Option1[1], &Option1[2]});

    Label5[0].name = "Label5";
    Label5[0].index = 0;
    Label5[0].setCaption("Select Radius (miles):");
    Slider1.name = "Slider1";
    Slider1.min = 0;
    Slider1.max = kMaxRadius;
    Slider1.onChange = [this] { Slider1_Change(); };
    const char* ticks[6] = {"0", "50", "100", "250", "150", "200"};
    for (int i = 0; i < 6; ++i) {
        Label7[static_cast<size_t>(i)].name = "Label7";
        Label7[static_cast<size_t>(i)].index = i;
        Label7[static_cast<size_t>(i)].setCaption(ticks[i]);
    }
    Text1.name = "Text1";
    Text1.setText("0");
    Text1.onKeyPress = [this](int k) { return Text1_KeyPress(k); };
    Text1.onLostFocus = [this] { Text1_LostFocus(); };
    Command2.name = "Command2";
    Command2.caption = "Edit Counties";
    Command2.onClick = [this] { Command2_Click(); };

    // Until a method is chosen only the options show.
    Command2.setVisible(false);
    Label5[0].setVisible(false);
    Slider1.setVisible(false);
    Text1.setVisible(false);
    for (auto& l : Label7) l.setVisible(false);

    Map1.onMouseDown = [this](int button, int shift, double x, double y) { Map1_MouseDown(button, shift, x, y); };
}

std::string Form4::ProjectFips() const { return hazard::FipsText(ProjectStateCode, ProjectCountyCode); }

void Form4::SetAnalysisCommands(bool enabled) {
    Command1[3].setEnabled(enabled);
    Screen::SetAnalysisCommands(enabled);
}

// ------------------------------------------------------------------ lifecycle

void Form4::Form_Load() {
    BusyPointer busy(dialogs());
    restoring_ = !app.form2().HazardScreenRestored;
    app.form2().BC_On();
    Get_Project();
    Load_Layers();
    Set_Map();
    Addem_Up();
}

void Form4::Get_Project() {
    const Form2& f2 = app.form2();
    ProjectStateName = f2.ProjectStateName;
    ProjectCountyName = f2.ProjectCountyName;
    ProjectStateCode = f2.ProjectStateCode;
    ProjectCountyCode = f2.ProjectCountyCode;
    Label2[7].setCaption(ProjectStateName);
    Label2[19].setCaption(ProjectCountyName);
}

void Form4::Load_Layers() {
    CountiesLayer.reset();
    StatesLayer.reset();
    StateLinesLayer.reset();
    Map1.ClearLayers();
    try {
        const auto dir = app.DataDir();
        auto lines = platform::MapLayer::Open(dir / "statline.shp");
        auto states = platform::MapLayer::Open(dir / "states.shp");
        auto counties = platform::MapLayer::Open(dir / "Counties.shp");
        CountiesLayer = std::move(counties);
        StatesLayer = std::move(states);
        StateLinesLayer = std::move(lines);
    } catch (const std::exception& e) {
        dialogs().MsgBox(std::string("The map could not be loaded. ") + e.what() +
                             " The counties can still be selected, without the map.",
                         Buttons::OK, Icon::Exclamation, "Map");
        return;
    }
    Map1.AddLayer(CountiesLayer);
    Map1.AddLayer(StatesLayer);
    Map1.AddLayer(StateLinesLayer);
}

void Form4::Set_Map() {
    if (HasMap()) {
        StateLinesLayer->symbol().color = platform::kBlue;
        StateLinesLayer->symbol().size = 2;
        StatesLayer->symbol().style = platform::kTransparentFill;
        CountiesLayer->symbol().style = platform::kSolidFill;
    }
    Renderer = std::make_shared<platform::ValueMapRenderer>();
    Renderer->symbolType = CountiesLayer ? CountiesLayer->symbol().symbolType : platform::kFillSymbol;
    Renderer->field = "FIPS";
    Renderer->setValueCount(1);
    Renderer->setValue(0, ProjectFips());
    CountyList.push_back(ProjectFips());
    Renderer->symbol(0).color = platform::kGreen;
    if (CountiesLayer) CountiesLayer->setRenderer(Renderer);
    if (!StatesLayer) return;
    try {
        if (auto e = hazard::SelectionExtent(*StatesLayer, {ProjectFips()}, ProjectStateCode, ProjectStateName))
            Map1.SetExtent(*e);
    } catch (const std::exception& e) {
        dialogs().MsgBox(std::string("The map cannot show the state. ") + e.what(), Buttons::OK, Icon::Exclamation,
                         "Map");
    }
    Map1.Refresh();
}

void Form4::Form_Activate() {
    Form2& f2 = app.form2();
    f2.BC_On();
    Label2[7].setCaption(f2.ProjectStateName);
    Label2[19].setCaption(f2.ProjectCountyName);
    if (f2.HazardScreenRestored) return;
    restoring_ = true;

    const float m = f2.SelectionMethod;
    if (m == 0 || m == 1 || m == 2) {
        const int index = static_cast<int>(m);
        auto& option = Option1[static_cast<size_t>(index)];
        if (option.value())
            Option1_Click(index);
        else
            option.setValue(true);
        if (index == 0) {
            // Choosing the option left the slider at 0; moving it to the stored
            // radius runs the region search through the slider's change event.
            Slider1.setValue(model::SliderMiles(f2.SelectionRadius));
        }
        if (index == 2) {
            Show();
            app.Unload<Form7>();
            CountyList = f2.SelectedCounties;
            Showem_Off();
            Addem_Up();
        }
    }
    f2.HazardScreenRestored = true;
    restoring_ = false;
    f2.SuppressNextBeep = false;
}

void Form4::Form_Unload() {
    BusyPointer busy(dialogs());
    CountyList.clear();
    Renderer.reset();
    Map1.ClearLayers();
    CountiesLayer.reset();
    StatesLayer.reset();
    StateLinesLayer.reset();
}

// ----------------------------------------------------------------- navigation

bool Form4::StoreSelectionAndExtract() {
    Save_Counties();
    Form9& progress = app.form9();
    progress.Show();
    const bool ok = progress.Get_Data();
    progress.Hide();
    app.Unload<Form9>();
    return ok;
}

// The buttons lead where the Input and BC Analysis menu items do, after the
// same storing of the selection and extraction. A failed extraction has said
// so and left StatsPending set; the user may still move on (the results
// screen extracts again).
bool Form4::Leave(int target) {
    // The file holds the selection, and the statistics follow it.
    StoreSelectionAndExtract();
    if (target == Form6::kNumber) {
        app.form3().savedata();
        app.form5().savedata();
    }
    return true;
}

void Form4::Command1_Click(int index) {
    static constexpr int kTargets[4] = {2, 3, 5, 6};
    if (index >= 0 && index <= 3) GoToScreen(app, *this, kTargets[index]);
}

void Form4::Command2_Click() {
    if (dialogs().MsgBox(kEditWarning, Buttons::YesNo, Icon::None, kEditWarningTitle) != Answer::Yes) return;
    app.form7().Show();
    Hide();
}

// --------------------------------------------------------------- radius entry

bool Form4::Text1_KeyPress(int keyAscii) {
    if (keyAscii != kEnter) return true;
    RadiusEntered();
    return false;
}

void Form4::Text1_LostFocus() { RadiusEntered(); }

void Form4::RadiusEntered() {
    const hazard::RadiusEntry entry = hazard::ReadRadius(Text1.text());
    if (entry.miles) {
        // An empty box reads as 0; so does a text that is not a number, said so.
        if (Text1.empty() || !entry.message.empty()) Text1.setText("0");
        if (!entry.message.empty()) dialogs().MsgBox(entry.message, Buttons::OK, Icon::None, " ");
        Slider1.setValue(*entry.miles);
        return;
    }
    // A refused radius gives way to the radius in effect (the slider's), so
    // the box shows what the region, the map and the analysis use.
    Text1.setText(platform::GeneralText(Slider1.value()));
    dialogs().MsgBox(entry.message, Buttons::OK, Icon::None, " ");
}

// ------------------------------------------------------------------- map click

void Form4::Map1_MouseDown(int button, int, double xTwips, double yTwips) {
    if (button != 2) return;
    BusyPointer busy(dialogs());
    if (!CountiesLayer) return;
    try {
        const int county = hazard::CountyAt(Map1, *CountiesLayer, xTwips, yTwips);
        if (county < 0) {
            dialogs().MsgBox(hazard::kPointToCounty, Buttons::OK, Icon::Exclamation, "");
            return;
        }
        dialogs().MsgBox("County Name = " + CountiesLayer->attribute(county, 2), Buttons::OK, Icon::None,
                         hazard::kIdentifyTitle);
    } catch (const std::exception& e) {
        dialogs().MsgBox(std::string("The county could not be identified. ") + e.what(), Buttons::OK, Icon::Exclamation,
                         "Map");
    }
}

// ----------------------------------------------------------- county selection

void Form4::SetSliderSilently(int value) {
    auto handler = std::move(Slider1.onChange);
    Slider1.onChange = nullptr;
    Slider1.setValue(value);
    Slider1.onChange = std::move(handler);
}

void Form4::Option1_Click(int index) {
    if (index < 0 || index > 2) return;
    BusyPointer busy(dialogs());
    Command2.setVisible(index == 2);
    // Choosing a method never runs the region search of the old radius.
    SetSliderSilently(0);
    Text1.setText("0");
    const bool radius = index == 0;
    Label5[0].setVisible(radius);
    Text1.setVisible(radius);
    Slider1.setVisible(radius);
    for (auto& l : Label7) l.setVisible(radius);
    if (index != 2) {
        Label2[8].setCaption(hazard::kCalculating);
        Refresh();
        Sortem_Up(index);
    }
    if (index == 0) {
        Slider1_Change();
    } else if (index == 1) {
        Showem_Off();
        Addem_Up();
    }
    if (index != 2) Map1.Refresh();
}

void Form4::Sortem_Up(int index) {
    if (index != 2) CountyList.clear();
    if (index != 1) return;
    Select(platform::StateSelection(platform::ReferenceData(app.ReferenceDatabase()), ProjectStateName, ProjectFips()));
}

void Form4::Select(platform::CountySelection selection) {
    if (!selection.problem.empty())
        dialogs().MsgBox(selection.problem, Buttons::OK, Icon::Exclamation, hazard::kReferenceDataTitle);
    CountyList = std::move(selection.counties);
}

void Form4::Slider1_Change() {
    BusyPointer busy(dialogs());
    Label2[8].setCaption(hazard::kCalculating);
    const int r = Slider1.value();
    Text1.setText(std::to_string(r));
    Refresh();
    Select(platform::RegionSelection(platform::ReferenceData(app.ReferenceDatabase()), ProjectStateName,
                                     ProjectCountyName, r, ProjectFips()));
    Showem_Off();
    Addem_Up();
    Map1.Refresh();
}

void Form4::Showem_Off() {
    if (!Renderer) Renderer = std::make_shared<platform::ValueMapRenderer>();
    if (CountiesLayer) CountiesLayer->setRenderer(Renderer);
    hazard::ColourSelection(*Renderer, CountyList, ProjectFips());
    if (StatesLayer) {
        try {
            if (auto e = hazard::SelectionExtent(*StatesLayer, CountyList, ProjectStateCode, ProjectStateName))
                Map1.SetExtent(*e);
        } catch (const std::exception& e) {
            dialogs().MsgBox(std::string("The map cannot show the selected counties. ") + e.what(), Buttons::OK,
                             Icon::Exclamation, "Map");
        }
    }
    Map1.Refresh();
}

void Form4::Addem_Up() {
    const auto sufficient = hazard::TestSufficiency(app.ReferenceDatabase(), CountyList, Label2[8], dialogs());
    if (!sufficient || *sufficient) return;
    Form2& f2 = app.form2();
    // Re-applying a stored selection passes through the project county alone
    // on its way; none of those steps beeps while the flag is set.
    if (f2.SuppressNextBeep) {
        if (!restoring_) f2.SuppressNextBeep = false;
    } else {
        dialogs().Beep();
    }
}

void Form4::Save_Counties() {
    Form2& f2 = app.form2();
    for (int i = 0; i < 3; ++i)
        if (Option1[static_cast<size_t>(i)].value()) f2.SelectionMethod = static_cast<float>(i);
    f2.SelectionRadius = static_cast<float>(Slider1.value());
    f2.SelectedCounties = CountyList;
}

// --------------------------------------------------------------- command line

bool DriveCountySelection(Form4& f4, bool entireState, const std::optional<std::string>& radius) {
    // Choosing the option already chosen runs its click again, as the user's click would.
    auto choose = [&f4](int i) {
        if (f4.Option1[static_cast<size_t>(i)].value())
            f4.Option1_Click(i);
        else
            f4.Option1[static_cast<size_t>(i)].setValue(true);
    };
    bool accepted = true;
    if (entireState) {
        choose(1);
    } else if (radius) {
        choose(0);
        f4.Text1.setFocus(true);
        f4.Text1.setText(*radius);
        f4.Text1.keyPress(kEnter);
        accepted = hazard::ReadRadius(*radius).message.empty();
    }
    f4.Save_Counties();
    return accepted;
}

}  // namespace verrane
