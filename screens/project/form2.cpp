#include "screens/project/form2.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "model/hazard.h"
#include "platform/number.h"
#include "platform/output_file.h"
#include "platform/refdb.h"
#include "platform/reference_data.h"
#include "platform/textfile.h"
#include "project/document_edits.h"
#include "project/fields.h"
#include "project/file_result.h"
#include "project/project_file.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/field_controls.h"
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

bool IsHurricaneProne(const std::string& stateName) { return model::IsHurricaneProne(stateName); }

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
        for (std::string& name : platform::ReferenceData(app.ReferenceDatabase()).StateNames())
            Combo3.addItem(std::move(name));
    } catch (const std::exception& e) {
        dialogs().MsgBox(std::string("The list of states could not be read. ") + e.what(), Buttons::OK,
                         Icon::Exclamation, "Reference Data");
    }
    SuppressCountyClick = true;
    Combo3.setListIndex(0);
    if (app.HasFileName) LoadAfterStart();
    SuppressCountyClick = false;
    ++app.ProjectAgreesWithFile;
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
    app.NoteRecentFile(app.ProjectFileName);
}

void Form2::FinishLoad(Form8* progress) {
    if (progress) progress->SetProgress(80);
    if (auto* f3 = app.Loaded<Form3>()) f3->savedata();
    if (progress) progress->SetProgress(90);
    if (auto* f5 = app.Loaded<Form5>()) f5->savedata();
    BC_On();
    if (progress) progress->SetProgress(100);
    // The screens and the file agree before the screen shows: its title
    // never marks the project just read as changed.
    ++app.ProjectAgreesWithFile;
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
        for (std::string& name : platform::ReferenceData(app.ReferenceDatabase()).CountyNames(state))
            Combo2.addItem(std::move(name));
    } catch (const std::exception& e) {
        dialogs().MsgBox(std::string("The counties of ") + state + " could not be read. " + e.what(), Buttons::OK,
                         Icon::Exclamation, "Reference Data");
    }
    if (auto* f3 = app.Loaded<Form3>())
        if (const auto warning = project::HurricaneOccupancyWarning(state, InputText(*f3, "HurricaneOccupancy")))
            dialogs().MsgBox(warning->text, Buttons::OK, Icon::Exclamation, warning->title);
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
    const platform::CountyCodes codes = platform::ReadCountyCodes(platform::ReferenceData(app.ReferenceDatabase()),
                                                                  ProjectStateName, ProjectCountyName);
    if (codes.county) ProjectCountyCode = *codes.county;
    if (codes.state) ProjectStateCode = *codes.state;
    if (!codes.problem.empty()) dialogs().MsgBox(codes.problem, Buttons::OK, Icon::Exclamation, "Reference Data");
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
        Command1[3].setToolTip("Choose the project's state and county first.");
        return;
    }
    const bool on = BuildingDataComplete && MitigationDataComplete;
    SetAnalysisCommands(on);
    if (auto* s = app.Loaded<Form3>()) s->SetAnalysisCommands(on);
    if (auto* s = app.Loaded<Form4>()) s->SetAnalysisCommands(on);
    if (auto* s = app.Loaded<Form5>()) s->SetAnalysisCommands(on);
    const std::string why = on ? "" : MissingForAnalysis();
    Command1[3].setToolTip(why);
    if (auto* s = app.Loaded<Form3>()) s->Command1[3].setToolTip(why);
    if (auto* s = app.Loaded<Form4>()) s->Command1[3].setToolTip(why);
}

std::string Form2::MissingForAnalysis() const {
    // The field table names the inputs; the twenty-four hours count as one.
    const project::ProjectDocument document = StoreDocument();
    std::vector<std::string> missing;
    if (!document.building) missing.emplace_back("the Building Information");
    if (!document.mitigation) missing.emplace_back("the Mitigation Project Information");
    bool hours = false;
    for (const project::Field* f : project::MissingForAnalysis(document)) {
        if (f->screen == project::FieldScreen::ProjectInformation) continue;  // the county is asked for above
        if (f->block == project::FieldBlock::Building && !document.building) continue;
        if (f->block == project::FieldBlock::Mitigation && !document.mitigation) continue;
        if (f->name.rfind("TornadoOccupancy[", 0) == 0) {
            if (!std::exchange(hours, true)) missing.emplace_back("Tornado shelter occupancy of every hour");
            continue;
        }
        missing.push_back(f->label);
    }
    if (missing.empty()) return "";
    std::string text = "Benefit Cost Analysis needs ";
    for (size_t i = 0; i < missing.size(); ++i)
        text += (i == 0 ? "" : i + 1 == missing.size() ? " and " : ", ") + missing[i];
    return text + ".";
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

// The control's value into the field's member of the document.
void StoreField(project::ProjectDocument& c, const project::Field& f, const platform::Control& control) {
    const project::FieldMember member = f.member(c);
    if (auto* const* s = std::get_if<std::string*>(&member)) {
        if (const auto* box = dynamic_cast<const platform::TextBox*>(&control)) **s = box->text();
        if (const auto* list = dynamic_cast<const platform::ComboBox*>(&control)) **s = list->text();
    } else if (auto* const* i = std::get_if<int*>(&member)) {
        if (const auto* list = dynamic_cast<const platform::ComboBox*>(&control)) **i = list->listIndex();
        if (const auto* check = dynamic_cast<const platform::CheckBox*>(&control)) **i = check->value();
    }
}

// The list position of an entry, or the prompt at 0 when it is not listed.
int ItemPosition(const platform::ComboBox& box, const std::string& text) { return std::max(box.findText(text), 0); }

// The field's member of the document into its control, raising the
// control's events as typing or choosing does.
void LoadField(const project::ProjectDocument& c, const project::Field& f, platform::Control& control) {
    // The member is only read.
    const project::FieldMember member = f.member(const_cast<project::ProjectDocument&>(c));
    if (const auto* const* s = std::get_if<std::string*>(&member)) {
        if (auto* box = dynamic_cast<platform::TextBox*>(&control)) box->setText(**s);
        if (auto* list = dynamic_cast<platform::ComboBox*>(&control)) list->setListIndex(ItemPosition(*list, **s));
    } else if (const auto* const* i = std::get_if<int*>(&member)) {
        if (auto* list = dynamic_cast<platform::ComboBox*>(&control)) list->setListIndex(**i);
        if (auto* check = dynamic_cast<platform::CheckBox*>(&control)) check->setValue(**i);
    }
}

bool InDocument(const project::ProjectDocument& c, const project::Field& f) {
    switch (f.block) {
        case project::FieldBlock::Project:
            return true;
        case project::FieldBlock::Building:
            return c.building.has_value();
        case project::FieldBlock::Mitigation:
            return c.mitigation.has_value();
    }
    return false;
}

}  // namespace

void Form2::LoadProgress(double value) {
    if (auto* f8 = app.Loaded<Form8>()) f8->SetProgress(value);
}

project::ProjectDocument Form2::StoreDocument() const {
    project::ProjectDocument c;
    if (app.Loaded<Form3>()) c.building.emplace();
    if (app.Loaded<Form5>()) c.mitigation.emplace();
    for (const project::Field& f : project::Fields())
        if (const platform::Control* control = LoadedControlOf(app, f)) StoreField(c, f, *control);
    c.selectionMethod = static_cast<int>(SelectionMethod);
    c.selectionRadius = SelectionRadius;
    c.selectedCounties = SelectedCounties;
    return c;
}

// Expects Loading set and the input screens unloaded (Read_File does both).
// The fields load in the file's order; the steps between them are those of
// reading the file: the progress, the county click, the two boxes set with
// Loading off, the screens' savedata.
void Form2::LoadDocument(const project::ProjectDocument& c) {
    int userColumns = 0;
    for (const project::Field& f : project::Fields()) {
        if (!InDocument(c, f)) continue;
        const std::string& name = f.name;
        if (name == "ProjectStateName") {
            LoadProgress(20);
            SuppressCountyClick = false;
        }
        if (name == "ProjectCountyName") LoadProgress(25);
        if (name == "TornadoOccupancy[23]" || name == "DiscountRate") Loading = false;
        if (name == "SelectionMethod") {
            LoadProgress(40);
            SelectionMethod = static_cast<float>(c.selectionMethod);
            SuppressNextBeep = c.selectionMethod != -1;
            LoadProgress(45);
            if (c.selectionMethod == 0) SelectionRadius = c.selectionRadius;
            LoadProgress(50);
            SelectedCounties = c.selectedCounties;
            LoadProgress(55);
        }
        if (platform::Control* control = ControlOf(app, f)) LoadField(c, f, *control);
        if (name == "Analyst") LoadProgress(30);
        if (name == "TornadoOccupancy[23]") {
            Form3& f3 = app.form3();
            f3.Text2_Change(f.control.index);
            f3.savedata();
            Loading = true;
        }
        if (name == "DiscountRate") {
            app.form5().Text1_Change(f.control.index);
            Loading = true;
        }
        if (name == "DesignWindSpeed") LoadProgress(60);
        if (f.block == project::FieldBlock::Mitigation && name.rfind("User", 0) == 0 && name.back() == ']' &&
            name[name.size() - 2] == '8')
            LoadProgress(65.0 + 5.0 * static_cast<double>(userColumns++));
    }
    Loading = false;
    if (c.mitigation) app.form5().savedata();
}

// ---------------------------------------------------------------- project file

void Form2::Write_File(const std::filesystem::path& file) {
    const project::ProjectDocument c = StoreDocument();
    if (const std::string notice = UnsavableTextNotice(c); !notice.empty())
        dialogs().MsgBox(notice, Buttons::OK, Icon::Exclamation, " ");
    platform::WriteTextLinesAtomically(file, project::FormatProjectFile(c));
}

project::FileResult Form2::CheckFile(const std::filesystem::path& file, project::ProjectDocument& document) {
    try {
        document = project::ParseProjectFile(platform::ReadTextLines(file));
    } catch (const std::exception& e) {
        app.Unload<Form8>();
        project::FileResult failed = ReadFailure(e);
        ShowFileError(dialogs(), failed);
        return failed;
    }
    return {};
}

project::FileResult Form2::Read_File(const std::filesystem::path& file) {
    // The whole file is checked before anything of the project changes, so a
    // damaged file never loads half a project.
    project::ProjectDocument c;
    if (project::FileResult checked = CheckFile(file, c); !checked.ok()) return checked;
    LoadCheckedFile(c);
    return {};
}

void Form2::LoadCheckedFile(project::ProjectDocument c) {
    Loading = true;
    HazardScreenRestored = false;
    app.Unload<Form3, Form4, Form5>();
    LoadProgress(10);
    const std::vector<std::string> unknownCounties = KeepKnownCounties(app.ReferenceDatabase(), c.selectedCounties);
    // A value no project can have opens as an empty box, told once; the rest
    // of the project loads as it is.
    const std::string refused = project::RefusedValuesMessage(project::ClearRefusedValues(c));
    LoadDocument(c);
    BC_On();
    LoadProgress(100);
    if (!refused.empty()) dialogs().MsgBox(refused, Buttons::OK, Icon::Exclamation, " ");
    if (!unknownCounties.empty()) {
        std::string codes;
        for (const auto& f : unknownCounties) codes += (codes.empty() ? "" : ", ") + f;
        dialogs().MsgBox(
            "These county codes of the project file are not in the county table and were left out of the "
            "selected counties: " +
                codes + ".",
            Buttons::OK, Icon::Exclamation, " ");
    }
}

// --------------------------------------------------------------- file commands

bool Form2::OfferToSave() {
    const Answer a = dialogs().MsgBox(kSaveChangesPrompt, Buttons::YesNoCancel, Icon::None, "");
    if (a == Answer::Cancel) return false;
    return a == Answer::No || SaveAs();
}

std::optional<std::string> Form2::AskSaveName(int flags) {
    for (;;) {
        auto file = dialogs().FileDialog({true, kProjectFilter, flags, ProjectFolder()});
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
    ++app.ProjectAgreesWithFile;
}

void Form2::mnuOpen_Click() { OpenProject(); }

project::FileResult Form2::OpenProject() {
    // The chosen file is read and checked before anything of the project
    // changes: a cancelled or rejected Open leaves every screen, the file
    // name and the title as they were.
    project::FileResult cancelled{project::FileStatus::Cancelled, ""};
    {
        BusyPointer busy(dialogs());
        if (!OfferToSave()) return cancelled;
    }
    auto file = dialogs().FileDialog({false, kProjectFilter, 4100, ProjectFolder()});
    if (!file) return cancelled;
    return OpenFile(*file);
}

project::FileResult Form2::OpenNamedFile(const std::filesystem::path& file) {
    {
        BusyPointer busy(dialogs());
        if (!OfferToSave()) return {project::FileStatus::Cancelled, ""};
    }
    return OpenFile(file);
}

project::FileResult Form2::OpenFile(const std::filesystem::path& file) {
    BusyPointer busy(dialogs());
    project::ProjectDocument document;
    if (project::FileResult checked = CheckFile(file, document); !checked.ok()) return checked;
    Show();
    app.Unload<Form1>();
    app.Unload<Form3, Form4, Form5, Form6, Form7>();
    // The project opened is the one Save writes.
    app.ProjectFileName = file.string();
    app.HasFileName = true;
    Hide();
    Form8& progress = app.form8();
    progress.Show();
    progress.Refresh();
    LoadCheckedFile(std::move(document));
    FinishLoad(&progress);
    StatsPending = true;
    app.NoteRecentFile(app.ProjectFileName);
    return {};
}

std::string Form2::ProjectFolder() const {
    if (!app.HasFileName || app.ProjectFileName.empty()) return "";
    return std::filesystem::absolute(app.ProjectFileName).parent_path().string();
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
    ++app.ProjectAgreesWithFile;
    app.NoteRecentFile(file);
}

void Form2::mnusaveas_Click() { SaveAs(); }

bool Form2::SaveAs() {
    auto file = AskSaveName(6);
    if (!file) return false;
    BusyPointer busy(dialogs());
    if (!SaveTo(*file)) return false;
    app.ProjectFileName = *file;
    app.HasFileName = true;
    ++app.ProjectAgreesWithFile;
    app.NoteRecentFile(*file);
    return true;
}

void Form2::mnuExit_Click() {
    if (!OfferToSave()) return;
    app.UnloadAll();
}

}  // namespace verrane
