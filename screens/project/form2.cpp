#include "screens/project/form2.h"

#include <algorithm>
#include <functional>

#include "model/hazard.h"
#include "platform/number.h"
#include "platform/output_file.h"
#include "platform/refdb.h"
#include "platform/textfile.h"
#include "project/file_result.h"
#include "project/project_file.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/hazard/form7.h"
#include "screens/menus.h"
#include "screens/mitigation/form5.h"
#include "screens/progress/form8.h"
#include "screens/screen_host.h"
#include "screens/start/form1.h"

namespace verrane {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {
// Keeps the first entry of each county the county table knows; returns the
// codes left out because the table does not know them. When the table
// cannot be read the list is only freed of repeats.
std::vector<std::string> KeepKnownCounties(const std::filesystem::path& database, std::vector<std::string>& counties) {
    std::vector<std::string> unique, unknown;
    for (const auto& f : counties)
        if (std::find(unique.begin(), unique.end(), f) == unique.end()) unique.push_back(f);
    counties = unique;
    if (unique.empty()) return unknown;
    std::vector<std::string> known;
    try {
        auto db = platform::Database::Open(database);
        auto rs = db.OpenRecordset("Counties", platform::Query::AnyOf("FIPS", unique));
        for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) known.push_back(rs.Field("FIPS").asText());
    } catch (const std::exception&) {
        return unknown;
    }
    counties.clear();
    for (const auto& f : unique)
        (std::find(known.begin(), known.end(), f) == known.end() ? unknown : counties).push_back(f);
    return unknown;
}

// The characters a project file cannot hold are written as "?": tells the
// user, before the file is written, which texts change and to what.
std::string UnsavableTextNotice(const project::ProjectFileContents& c) {
    std::vector<std::pair<const char*, const std::string*>> fields = {{"Building Name", &c.buildingName},
                                                                      {"Address", &c.address},
                                                                      {"City", &c.city},
                                                                      {"Disaster Number", &c.disasterNumber},
                                                                      {"Project Number", &c.projectNumber},
                                                                      {"Scenario Run ID", &c.scenarioRunId},
                                                                      {"Analyst", &c.analyst}};
    if (c.mitigation) fields.emplace_back("Mitigation Project Description", &c.mitigation->description);
    std::string changes;
    for (const auto& [name, text] : fields) {
        const std::string line = platform::OneLine(*text);
        const std::string saved = platform::Cp1252ToUtf8(platform::Utf8ToCp1252(line));
        if (saved != line) changes += std::string("\n") + name + ": \"" + line + "\" is saved as \"" + saved + "\"";
    }
    if (changes.empty()) return "";
    return "Some characters cannot be stored in a project file and are saved as \"?\":" + changes;
}

// Why a file could not be read, in the words the user is shown.
project::FileResult ReadFailure(const std::exception& e) {
    if (dynamic_cast<const platform::FileAccessError*>(&e))
        return project::FileResult::Failed(project::FileStatus::Unreadable, e.what());  // say what is wrong
    std::string text = "Selected File has incorrect format.";
    const auto* pe = dynamic_cast<const project::ProjectFileError*>(&e);
    if (!(pe && pe->line == 1)) text += std::string(" ") + e.what();
    return project::FileResult::Failed(project::FileStatus::Rejected, text);
}

std::string Pad(int value, int width) {
    std::string s = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
    return value < 0 ? "-" + s : s;
}
}  // namespace

void ShowFileError(platform::Dialogs& dialogs, const project::FileResult& result) {
    if (result.message.empty()) return;
    if (result.status == project::FileStatus::NotWritten)
        dialogs.MsgBox(result.message, Buttons::OK, Icon::Exclamation, "");
    else
        dialogs.MsgBox(result.message, Buttons::OK, Icon::None, "");
}

bool IsHurricaneProne(const std::string& stateName) {
    return std::any_of(model::kHurricaneProneStates.begin(), model::kHurricaneProneStates.end(),
                       [&](std::string_view s) { return stateName == s; });
}

Form2::Form2(ScreenHost& a) : Screen(a, "Form2", "Tornado Model: Project Information") {
    SetUpNavigation(
        Command1, {3, 4, 5, 6}, [this](int i) { Command1_Click(i); }, Command2, "Command2", 2);
    for (int i = 0; i < 7; ++i) {
        Text1[static_cast<size_t>(i)].name = "Text1";
        Text1[static_cast<size_t>(i)].index = i;
    }
    Combo3.name = "Combo3";
    Combo2.name = "Combo2";
    Combo3.onClick = [this] { Combo3_Click(); };
    Combo2.onClick = [this] { Combo2_Click(); };
}

std::string Form2::ProjectFips() const { return Pad(ProjectStateCode, 2) + Pad(ProjectCountyCode, 3); }

void Form2::Form_Load() {
    BusyPointer busy(dialogs());
    HelpFile = (app.DataDir() / "torhelp.html").string();
    SelectionMethod = -1;
    Loading = StatePending = SuppressNextBeep = BuildingDataComplete = MitigationDataComplete = false;
    HazardScreenRestored = StatsPending = true;

    Combo3.clear();
    Combo3.addItem(kClickState);
    try {
        auto db = platform::Database::Open(app.ReferenceDatabase());
        auto rs = db.OpenRecordset("states");
        for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) Combo3.addItem(rs.Field("STATE_NAME").asText());
    } catch (const std::exception& e) {
        dialogs().MsgBox(std::string("The list of states could not be read. ") + e.what(), Buttons::OK,
                         Icon::Exclamation, "Reference Data");
    }
    SuppressCountyClick = true;
    Combo3.setListIndex(0);
    if (app.HasFileName) LoadAfterStart();
    SuppressCountyClick = false;
}

void Form2::LoadAfterStart() {
    Hide();
    Form8& progress = app.form8();
    progress.Show();
    if (!Read_File(app.ProjectFileName).ok()) {
        // The rejected file never becomes the project's file.
        app.HasFileName = false;
        app.ProjectFileName.clear();
        return;
    }
    FinishLoad(&progress);
}

void Form2::FinishLoad(Form8* progress) {
    if (progress) progress->SetProgress(80);
    if (auto* f3 = app.Loaded<Form3>()) f3->savedata();
    if (progress) progress->SetProgress(90);
    if (auto* f5 = app.Loaded<Form5>()) f5->savedata();
    BC_On();
    if (progress) progress->SetProgress(100);
    Show();
    if (progress) app.Unload<Form8>();
}

void Form2::OpenDocument(const project::ProjectDocument& document) {
    Show();
    Loading = true;
    HazardScreenRestored = false;
    app.Unload<Form3, Form4, Form5>();
    LoadDocument(document);
    BC_On();
    FinishLoad(nullptr);
    StatsPending = true;
}

void Form2::Combo3_Click() {
    BusyPointer busy(dialogs());
    StatePending = true;
    Combo2.clear();
    const std::string state = Combo3.text();
    if (state == kClickState || Combo3.listIndex() < 0) {
        Combo2.addItem(kClickCounty);
        Combo2.setListIndex(0);
        return;
    }
    if (SuppressCountyClick) return;
    Combo2.addItem(kClickCounty);
    Combo2.setListIndex(0);
    try {
        auto db = platform::Database::Open(app.ReferenceDatabase());
        auto rs = db.OpenRecordset("Counties", platform::Query::Where({{"STATE_NAME", state}}));
        for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) Combo2.addItem(rs.Field("NAME").asText());
    } catch (const std::exception& e) {
        dialogs().MsgBox(std::string("The counties of ") + state + " could not be read. " + e.what(), Buttons::OK,
                         Icon::Exclamation, "Reference Data");
    }
    if (!IsHurricaneProne(state)) {
        if (auto* f3 = app.Loaded<Form3>()) {
            const std::string& occ = f3->Text1[3].text();
            auto v = platform::ParseNumber(occ);
            if (!occ.empty() && v && platform::RoundHalfEven(*v) >= 1)
                dialogs().MsgBox(
                    "This non-hurricane prone state has a hurricane occupancy on the Building Information screen.",
                    Buttons::OK, Icon::Exclamation, "State Should Have No Hurricane Occupancy");
        }
    }
    StatePending = false;
}

void Form2::Combo2_Click() {
    const std::string county = Combo2.text();
    if (!SuppressCountyClick) {
        ProjectStateName = Combo3.text();
        app.Unload<Form4>();
        LookupCountyFips();
        SelectedCounties.clear();
        if (county != kClickCounty) SelectedCounties.push_back(ProjectFips());
        StatsPending = true;
        BC_On();
    }
    if (county != kClickCounty)
        if (auto* f3 = app.Loaded<Form3>()) f3->Settime();
}

void Form2::LookupCountyFips() {
    if (SuppressCountyClick) return;
    ProjectStateName = Combo3.text();
    ProjectCountyName = Combo2.text();
    if (ProjectCountyName == kClickCounty) return;
    try {
        auto db = platform::Database::Open(app.ReferenceDatabase());
        auto rs = db.OpenRecordset(
            "Counties", platform::Query::Where({{"STATE_NAME", ProjectStateName}, {"NAME", ProjectCountyName}}));
        if (rs.eof()) {
            dialogs().MsgBox("The county " + ProjectCountyName + ", " + ProjectStateName +
                                 " is not in the county table; its codes are unchanged.",
                             Buttons::OK, Icon::Exclamation, "Reference Data");
            return;
        }
        ProjectCountyCode = platform::CInt(rs.Field("Cnty_fips").asDouble());
        ProjectStateCode = platform::CInt(rs.Field("State_fips").asDouble());
    } catch (const std::exception& e) {
        dialogs().MsgBox(std::string("The county codes could not be read. ") + e.what(), Buttons::OK, Icon::Exclamation,
                         "Reference Data");
    }
}

void Form2::ShowNeedLocation() {
    dialogs().MsgBox("You must select a state and county before going to another form.", Buttons::OK, Icon::None, " ");
}

bool Form2::Checkform(const std::string& screenName) const { return app.IsLoaded(screenName); }

void Form2::SetAnalysisCommands(bool enabled) {
    Command1[3].setEnabled(enabled);
    Screen::SetAnalysisCommands(enabled);
}

void Form2::BC_On() {
    // Without a county there is no project to analyse or report ("Click County County").
    if (StatePending || Combo2.text() == kClickCounty || Combo2.listIndex() < 0) {
        SetAnalysisCommands(false);
        return;
    }
    const bool on = BuildingDataComplete && MitigationDataComplete;
    SetAnalysisCommands(on);
    if (auto* s = app.Loaded<Form3>()) s->SetAnalysisCommands(on);
    if (auto* s = app.Loaded<Form4>()) s->SetAnalysisCommands(on);
    if (auto* s = app.Loaded<Form5>()) s->SetAnalysisCommands(on);
}

// The buttons lead to Form3 ... Form6 exactly as the Input and BC Analysis
// menu items do.
bool Form2::Leave(int target) {
    if (Combo2.text() == kClickCounty || Combo2.listIndex() < 0) {
        ShowNeedLocation();
        return false;
    }
    if (target == Form6::kNumber) {
        app.form3().savedata();
        app.form5().savedata();
    }
    return true;
}

void Form2::Command1_Click(int index) {
    if (index >= 0 && index <= 3) GoToScreen(app, *this, index + 3);
}

// ------------------------------------------------ the document <-> the screens
//
// The one place where the controls and the project document meet: each
// Store* reads exactly what the Load* beside it writes.
//
// Loading quiets the input screens' change events while a document is
// loaded. Two boxes are set with it off, so that their change events run as
// when typed: the last hour of the tornado occupancy (the building screen
// then publishes its occupancies) and the discount rate.

namespace {

project::BuildingBlock StoreBuilding(const Form3& f3) {
    project::BuildingBlock b;
    b.length = f3.Text1[0].text();
    b.width = f3.Text1[1].text();
    b.shelterArea = f3.Text1[2].text();
    b.constructionType = f3.Combo1[1].listIndex();
    b.minimalWindowArea = f3.Check1.value();
    b.hurricaneOccupancy = f3.Text1[3].text();
    b.timeZone = f3.Combo1[0].listIndex();
    b.daylightSaving = f3.Check2.value();
    for (size_t h = 0; h < 24; ++h) b.hourly[h] = f3.Text2[h].text();
    return b;
}

void LoadBuilding(Form2& f2, Form3& f3, const project::BuildingBlock& b) {
    f3.Text1[0].setText(b.length);
    f3.Text1[1].setText(b.width);
    f3.Text1[2].setText(b.shelterArea);
    f3.Combo1[1].setListIndex(b.constructionType);
    f3.Check1.setValue(b.minimalWindowArea);
    f3.Text1[3].setText(b.hurricaneOccupancy);
    f3.Combo1[0].setListIndex(b.timeZone);
    f3.Check2.setValue(b.daylightSaving);
    for (size_t h = 0; h < 23; ++h) f3.Text2[h].setText(b.hourly[h]);
    f2.Loading = false;
    f3.Text2[23].setText(b.hourly[23]);
    f3.Text2_Change(23);
    f3.savedata();
    f2.Loading = true;
}

project::MitigationBlock StoreMitigation(const Form5& f5) {
    project::MitigationBlock m;
    m.description = f5.Text1[0].text();
    m.projectCost = f5.Text1[1].text();
    m.maintenanceCost = f5.Text1[2].text();
    m.lifetime = f5.Text1[3].text();
    m.injuryCost = f5.Text1[4].text();
    m.deathCost = f5.Text1[5].text();
    m.discountRate = f5.Text1[6].text();
    m.designWindSpeed = f5.Combo1.listIndex();
    // The user-defined columns in the order UserRateCells gives them.
    std::array<std::string, 9>* cols[4] = {&m.userInjuryPercent, &m.userInjuryEffectiveness, &m.userDeathPercent,
                                           &m.userDeathEffectiveness};
    for (size_t col = 0; col < 4; ++col)
        for (size_t k = 0; k < 9; ++k) (*cols[col])[k] = f5.Text2[model::UserRateCells(k)[col]].text();
    return m;
}

// `progress` moves the progress window along as the columns are filled.
void LoadMitigation(Form2& f2, Form5& f5, const project::MitigationBlock& m,
                    const std::function<void(double)>& progress) {
    f5.Text1[0].setText(m.description);
    f5.Text1[1].setText(m.projectCost);
    f5.Text1[2].setText(m.maintenanceCost);
    f5.Text1[3].setText(m.lifetime);
    f5.Text1[4].setText(m.injuryCost);
    f5.Text1[5].setText(m.deathCost);
    f2.Loading = false;
    f5.Text1[6].setText(m.discountRate);
    f5.Text1_Change(6);
    f2.Loading = true;
    f5.Combo1.setListIndex(m.designWindSpeed);
    progress(60);
    const std::array<std::string, 9>* cols[4] = {&m.userInjuryPercent, &m.userInjuryEffectiveness, &m.userDeathPercent,
                                                 &m.userDeathEffectiveness};
    for (size_t col = 0; col < 4; ++col) {
        for (size_t k = 0; k < 9; ++k) f5.Text2[model::UserRateCells(k)[col]].setText((*cols[col])[k]);
        progress(65.0 + 5.0 * static_cast<double>(col));
    }
    f2.Loading = false;
    f5.savedata();
}

// The list position of an entry, or the prompt at 0 when it is not listed.
int ItemPosition(const platform::ComboBox& box, const std::string& text) { return std::max(box.findText(text), 0); }

}  // namespace

void Form2::LoadProgress(double value) {
    if (auto* f8 = app.Loaded<Form8>()) f8->SetProgress(value);
}

project::ProjectDocument Form2::StoreDocument() const {
    project::ProjectDocument c;
    c.buildingName = Text1[0].text();
    c.address = Text1[1].text();
    c.city = Text1[2].text();
    c.stateName = Combo3.text();
    c.countyName = Combo2.text();
    c.disasterNumber = Text1[3].text();
    c.projectNumber = Text1[4].text();
    c.scenarioRunId = Text1[5].text();
    c.analyst = Text1[6].text();
    if (const auto* f3 = app.Loaded<Form3>()) c.building = StoreBuilding(*f3);
    c.selectionMethod = static_cast<int>(SelectionMethod);
    c.selectionRadius = SelectionRadius;
    c.selectedCounties = SelectedCounties;
    if (const auto* f5 = app.Loaded<Form5>()) c.mitigation = StoreMitigation(*f5);
    return c;
}

// Expects Loading set and the input screens unloaded (Read_File does both).
void Form2::LoadDocument(const project::ProjectDocument& c) {
    Text1[0].setText(c.buildingName);
    Text1[1].setText(c.address);
    Text1[2].setText(c.city);
    LoadProgress(20);
    SuppressCountyClick = false;
    Combo3.setListIndex(ItemPosition(Combo3, c.stateName));
    LoadProgress(25);
    Combo2.setListIndex(ItemPosition(Combo2, c.countyName));
    Text1[3].setText(c.disasterNumber);
    Text1[4].setText(c.projectNumber);
    Text1[5].setText(c.scenarioRunId);
    Text1[6].setText(c.analyst);
    LoadProgress(30);

    if (c.building) LoadBuilding(*this, app.form3(), *c.building);
    LoadProgress(40);
    SelectionMethod = static_cast<float>(c.selectionMethod);
    SuppressNextBeep = c.selectionMethod != -1;
    LoadProgress(45);
    if (c.selectionMethod == 0) SelectionRadius = c.selectionRadius;
    LoadProgress(50);
    SelectedCounties = c.selectedCounties;
    LoadProgress(55);

    if (c.mitigation)
        LoadMitigation(*this, app.form5(), *c.mitigation, [this](double v) { LoadProgress(v); });
    else
        Loading = false;
}

// ---------------------------------------------------------------- project file

void Form2::Write_File(const std::filesystem::path& file) {
    const project::ProjectDocument c = StoreDocument();
    if (const std::string notice = UnsavableTextNotice(c); !notice.empty())
        dialogs().MsgBox(notice, Buttons::OK, Icon::Exclamation, " ");
    platform::WriteTextLinesAtomically(file, project::FormatProjectFile(c));
}

project::FileResult Form2::Read_File(const std::filesystem::path& file) {
    Loading = true;
    HazardScreenRestored = false;
    app.Unload<Form3, Form4, Form5>();
    LoadProgress(10);

    // The whole file is checked before anything of the project changes, so a
    // damaged file never loads half a project.
    project::ProjectDocument c;
    try {
        c = project::ParseProjectFile(platform::ReadTextLines(file));
    } catch (const std::exception& e) {
        app.Unload<Form8>();
        project::FileResult failed = ReadFailure(e);
        ShowFileError(dialogs(), failed);
        Loading = false;
        return failed;
    }
    const std::vector<std::string> unknownCounties = KeepKnownCounties(app.ReferenceDatabase(), c.selectedCounties);
    LoadDocument(c);
    BC_On();
    LoadProgress(100);
    if (!unknownCounties.empty()) {
        std::string codes;
        for (const auto& f : unknownCounties) codes += (codes.empty() ? "" : ", ") + f;
        dialogs().MsgBox(
            "These county codes of the project file are not in the county table and were left out of the "
            "selected counties: " +
                codes + ".",
            Buttons::OK, Icon::Exclamation, " ");
    }
    return {};
}

// --------------------------------------------------------------- file commands

bool Form2::OfferToSave() {
    const Answer a = dialogs().MsgBox(kSaveChangesPrompt, Buttons::YesNoCancel, Icon::None, "");
    if (a == Answer::Cancel) return false;
    return a == Answer::No || SaveAs();
}

std::optional<std::string> Form2::AskSaveName(int flags) {
    for (;;) {
        auto file = dialogs().FileDialog({true, kProjectFilter, flags});
        if (!file) return file;
        const std::string typed = *file;
        *file = platform::WithExtension(typed, ".tor").string();
        // The dialog asked, if at all, about the name as typed.
        if (*file == typed) return file;
        std::error_code ec;
        if (!(flags & 2) || !std::filesystem::exists(std::filesystem::symlink_status(*file, ec))) return file;
        if (dialogs().MsgBox(*file + " already exists.\nDo you want to replace it?", Buttons::YesNo, Icon::Exclamation,
                             "Save As") == Answer::Yes)
            return file;
    }
}

bool Form2::SaveTo(const std::string& file) {
    try {
        Write_File(file);
    } catch (const std::exception& e) {
        ShowFileError(dialogs(), project::FileResult::Failed(project::FileStatus::NotWritten,
                                                             std::string("The project was not saved. ") + e.what()));
        return false;
    }
    dialogs().MsgBox("Project Saved.", Buttons::OK, Icon::None, "");
    return true;
}

void Form2::mnuNew_Click() {
    StatePending = true;
    if (!OfferToSave()) {
        StatePending = false;
        return;
    }
    BusyPointer busy(dialogs());
    Show();
    app.Unload<Form3, Form4, Form5, Form6, Form7>();
    Combo3.setListIndex(0);
    Combo2.clear();
    Combo2.addItem(kClickCounty);
    Combo2.setListIndex(0);
    for (auto& t : Text1) t.setText("");
    BuildingDataComplete = MitigationDataComplete = false;
    app.HasFileName = false;
    BC_On();
    SelectionMethod = -1;
    StatsPending = true;
    Loading = false;
    HazardScreenRestored = true;
    StatePending = false;
}

void Form2::mnuOpen_Click() { OpenProject(); }

project::FileResult Form2::OpenProject() {
    // A cancelled or rejected open leaves the project with the file it had
    // (closing the start screen empties the name).
    project::FileResult cancelled{project::FileStatus::Cancelled, ""};
    std::string keptName;
    {
        BusyPointer busy(dialogs());
        if (!OfferToSave()) return cancelled;
        keptName = app.ProjectFileName;
        Show();
        app.Unload<Form1>();
        app.Unload<Form3, Form4, Form5, Form6, Form7>();
    }
    auto file = dialogs().FileDialog({false, kProjectFilter, 4100});
    if (!file) {
        app.ProjectFileName = keptName;
        return cancelled;
    }
    BusyPointer busy(dialogs());
    app.ProjectFileName = *file;
    Hide();
    Form8& progress = app.form8();
    progress.Show();
    progress.Refresh();
    project::FileResult result = Read_File(app.ProjectFileName);
    if (!result.ok()) {
        app.ProjectFileName = keptName;
        Show();
        return result;
    }
    FinishLoad(&progress);
    StatsPending = true;
    return result;
}

// The project takes a new file name only once it was written there.
void Form2::mnusave_Click() {
    std::string file = app.ProjectFileName;
    if (!app.HasFileName) {
        auto chosen = AskSaveName(4);
        if (!chosen) return;
        file = *chosen;
    }
    BusyPointer busy(dialogs());
    if (!SaveTo(file)) return;
    app.ProjectFileName = file;
    app.HasFileName = true;
}

void Form2::mnusaveas_Click() { SaveAs(); }

bool Form2::SaveAs() {
    auto file = AskSaveName(6);
    if (!file) return false;
    BusyPointer busy(dialogs());
    if (!SaveTo(*file)) return false;
    app.ProjectFileName = *file;
    app.HasFileName = true;
    return true;
}

void Form2::mnuExit_Click() {
    if (!OfferToSave()) return;
    app.UnloadAll();
}

}  // namespace verrane
