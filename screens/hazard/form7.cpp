#include "screens/hazard/form7.h"

#include <algorithm>

#include "platform/refdb.h"
#include "screens/hazard/form4.h"
#include "screens/hazard/selection.h"
#include "screens/project/form2.h"
#include "screens/screen_host.h"

namespace verrane {

using platform::Buttons;
using platform::Icon;

Form7::Form7(ScreenHost& a) : Screen(a, "Form7", "Tornado Model: User Selected Counties") {
    Label1.name = "Label1";
    Label1.setCaption("User Selected Counties");
    Label3.name = "Label3";
    Label3.setCaption("Select Counties for Tornado Hazard Data ");
    Label4.name = "Label4";
    Label4.setCaption("Left click selects county, Right click identifies county.");
    for (int i = 0; i < 13; ++i) {
        Label2[static_cast<size_t>(i)].name = "Label2";
        Label2[static_cast<size_t>(i)].index = i;
    }
    Label2[12].setCaption(hazard::kCalculating);
    const char* captions[3] = {"Done", "Reset", "Cancel"};
    for (int i = 0; i < 3; ++i) {
        auto& b = Command1[static_cast<size_t>(i)];
        b.name = "Command1";
        b.index = i;
        b.caption = captions[i];
        b.onClick = [this, i] { Command1_Click(i); };
    }
    Map1.onMouseDown = [this](int button, int shift, double x, double y) { Map1_MouseDown(button, shift, x, y); };
}

std::string Form7::ProjectFips() const {
    const Form2& f2 = app.form2();
    return hazard::FipsText(f2.ProjectStateCode, f2.ProjectCountyCode);
}

void Form7::Form_Load() {
    Form4& f4 = app.form4();
    counties_ = f4.CountiesLayer;
    states_ = f4.StatesLayer;
    // The same layer objects as the hazard screen's map.
    for (const auto& layer : {f4.CountiesLayer, f4.StatesLayer, f4.StateLinesLayer})
        if (layer) Map1.AddLayer(layer);
    Renderer = std::make_shared<platform::ValueMapRenderer>();
    Renderer->symbolType = counties_ ? counties_->symbol().symbolType : platform::kFillSymbol;
    Renderer->field = "FIPS";
    MapCountyList = f4.CountyList;
    Map1.SetControlSize(f4.Map1.widthPixels(), f4.Map1.heightPixels());
    Map1.SetExtent(f4.Map1.extent());
    // Show_Maps tests the sufficiency itself; a second test would beep twice.
    Show_Maps();
    Map1.Refresh();
}

void Form7::Form_Unload() {
    MapCountyList.clear();
    Renderer.reset();
    Map1.ClearLayers();
    counties_.reset();
    states_.reset();
}

void Form7::Show_Maps() {
    if (!Renderer) Renderer = std::make_shared<platform::ValueMapRenderer>();
    if (counties_) counties_->setRenderer(Renderer);
    hazard::ColourSelection(*Renderer, MapCountyList, ProjectFips());
    if (states_) {
        const Form2& f2 = app.form2();
        try {
            if (auto e = hazard::SelectionExtent(*states_, MapCountyList, f2.ProjectStateCode, f2.ProjectStateName))
                Map1.SetExtent(*e);
        } catch (const std::exception& e) {
            dialogs().MsgBox(std::string("The map cannot show the selected counties. ") + e.what(), Buttons::OK,
                             Icon::Exclamation, "Map");
        }
    }
    Map1.Refresh();
    Addem_Up2();
}

void Form7::Addem_Up2() {
    Label2[12].setCaption(hazard::kCalculating);
    Refresh();
    const auto sufficient = hazard::TestSufficiency(app.ReferenceDatabase(), MapCountyList, Label2[12], dialogs());
    if (sufficient && !*sufficient) dialogs().Beep();
}

void Form7::Project_Warning() {
    dialogs().MsgBox("This is the project county and can not be removed.", Buttons::OK, Icon::None, " ");
}

void Form7::Map1_MouseDown(int button, int, double xTwips, double yTwips) {
    BusyPointer busy(dialogs());
    if (!counties_) return;
    int county = -1;
    try {
        county = hazard::CountyAt(Map1, *counties_, xTwips, yTwips);
    } catch (const std::exception& e) {
        dialogs().MsgBox(std::string("The county could not be found. ") + e.what(), Buttons::OK, Icon::Exclamation,
                         "Map");
        return;
    }
    if (county < 0) {
        dialogs().MsgBox(hazard::kPointToCounty, Buttons::OK, Icon::Exclamation, "");
        return;
    }
    CountyClicked(button, county);
}

void Form7::CountyClicked(int button, int county) {
    if (!counties_ || county < 0 || county >= counties_->recordCount()) return;
    if (button == 2) {
        dialogs().MsgBox("County Name = " + counties_->attribute(county, "NAME"), Buttons::OK, Icon::None,
                         hazard::kIdentifyTitle);
        return;
    }
    const std::string f = counties_->attribute(county, "FIPS");
    auto it = std::find(MapCountyList.begin(), MapCountyList.end(), f);
    if (it == MapCountyList.end()) {
        MapCountyList.push_back(f);
    } else if (f == ProjectFips()) {
        Project_Warning();
        return;
    } else {
        MapCountyList.erase(it);
    }
    Show_Maps();
}

std::vector<Form7::CountyEntry> Form7::StateCounties() const {
    std::vector<CountyEntry> list;
    if (!counties_) return list;
    const std::string state = ProjectFips().substr(0, 2);
    const int name = counties_->fieldIndex("NAME"), fips = counties_->fieldIndex("FIPS");
    if (name < 0 || fips < 0) return list;
    for (int r = 0; r < counties_->recordCount(); ++r) {
        std::string code = counties_->attribute(r, fips);
        if (code.size() == 5 && code.compare(0, 2, state) == 0)
            list.push_back({r, counties_->attribute(r, name), std::move(code)});
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const CountyEntry& a, const CountyEntry& b) { return a.name < b.name; });
    return list;
}

std::string Form7::StateName() const { return app.form2().ProjectStateName; }

bool Form7::IsSelected(const std::string& fips) const {
    return std::find(MapCountyList.begin(), MapCountyList.end(), fips) != MapCountyList.end();
}

void Form7::Command1_Click(int index) {
    BusyPointer busy(dialogs());
    if (index == 1) {
        Renderer->setValueCount(1);
        Map1.Refresh();
        MapCountyList.clear();
        MapCountyList.push_back(ProjectFips());
        Show_Maps();
        return;
    }
    if (index != 0 && index != 2) return;
    Form4& f4 = app.form4();
    if (index == 2) {
        f4.Show();
        f4.Showem_Off();  // puts the hazard screen's own renderer back on the shared layer
        f4.Map1.Refresh();
        f4.Addem_Up();
    } else {
        f4.CountyList = MapCountyList;
        f4.Renderer = Renderer;
        f4.Map1.SetExtent(Map1.extent());
        f4.Label2[8].setCaption(Label2[12].caption());
        f4.Label2[8].setForeColor(Label2[12].foreColor());
        if (f4.Option1[2].value())
            f4.Option1_Click(2);
        else
            f4.Option1[2].setValue(true);
        f4.Refresh();
        f4.Showem_Off();
        f4.Map1.Refresh();
        f4.Show();
    }
    Hide();
    app.Unload<Form7>();  // discards this window: nothing may follow
}

}  // namespace verrane
