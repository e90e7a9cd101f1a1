#include "screens/menus.h"

#include "platform/provenance.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "screens/screen_host.h"
#include "screens/start/form1.h"

namespace verrane {

using platform::MenuItem;

namespace {

MenuItem Item(std::string name, std::string caption, std::function<void()> onClick, std::string shortcut = {}) {
    MenuItem m;
    m.name = std::move(name);
    m.caption = std::move(caption);
    m.onClick = std::move(onClick);
    m.shortcut = std::move(shortcut);
    return m;
}

MenuItem Separator() {
    MenuItem m;
    m.caption = "-";
    return m;
}

MenuItem Menu(std::string name, std::string caption, std::vector<MenuItem> items) {
    MenuItem m;
    m.name = std::move(name);
    m.caption = std::move(caption);
    m.items = std::move(items);
    return m;
}

}  // namespace

int InputScreenNumber(const Screen& s) {
    if (dynamic_cast<const Form2*>(&s)) return Form2::kNumber;
    if (dynamic_cast<const Form3*>(&s)) return Form3::kNumber;
    if (dynamic_cast<const Form4*>(&s)) return Form4::kNumber;
    if (dynamic_cast<const Form5*>(&s)) return Form5::kNumber;
    if (dynamic_cast<const Form6*>(&s)) return Form6::kNumber;
    return 0;
}

namespace {

// The hazard screen stores its selection and re-extracts before it is left.
void LeaveHazardScreen(ScreenHost& app) {
    if (auto* f4 = app.Loaded<Form4>()) f4->StoreSelectionAndExtract();
}

Screen& Target(ScreenHost& app, int n) {
    switch (n) {
        case 2:
            return app.form2();
        case 3:
            return app.form3();
        case 4:
            return app.form4();
        case 5:
            return app.form5();
        default:
            return app.form6();
    }
}

// The text boxes whose focus switches the Edit menu (none on the hazard screen).
std::vector<platform::TextBox*> EditBoxes(Screen& s) {
    std::vector<platform::TextBox*> out;
    auto add = [&out](auto& array) {
        for (auto& b : array) out.push_back(&b);
    };
    if (auto* f = dynamic_cast<Form2*>(&s)) add(f->Text1);
    if (auto* f = dynamic_cast<Form3*>(&s)) {
        add(f->Text1);
        add(f->Text2);
    }
    if (auto* f = dynamic_cast<Form5*>(&s)) {
        add(f->Text1);
        add(f->Text2);
    }
    if (auto* f = dynamic_cast<Form6*>(&s)) add(f->Text1);
    return out;
}

// Cut, Copy and Paste act on the text box that has the focus on the screen in front.
void EditCommand(ScreenHost& app, int which) {
    Screen* front = app.front();
    if (!front) return;
    platform::TextBox* box = nullptr;
    for (auto* b : EditBoxes(*front))
        if (b->hasFocus()) box = b;
    if (!box) return;
    // The results screen offers Copy only, and locked boxes take no text.
    if (which != 1 && (dynamic_cast<Form6*>(front) || box->locked)) return;
    auto& d = app.dialogs;
    if (which == 0) {
        d.SetClipboardText(box->selText());
        box->replaceSelection("");
    } else if (which == 1) {
        d.SetClipboardText(box->selText());
    } else {
        box->replaceSelection(d.ClipboardText());
    }
}

}  // namespace

void GoToScreen(ScreenHost& app, Screen& from, int target) {
    BusyPointer busy(app.dialogs);
    if (!from.Leave(target)) return;
    Screen& to = Target(app, target);
    if (&to == &from) return;
    to.Show();
    from.Hide();
}

void ShowSensitivity(ScreenHost& app, Screen& from) {
    if (InputScreenNumber(from) != Form6::kNumber) {
        GoToScreen(app, from, Form6::kNumber);
        if (!dynamic_cast<Form6*>(app.front())) return;  // the screen kept the user
    }
    app.ShowSensitivity();
}

void RunReport(ScreenHost& app, Screen& from, bool longReport, bool print) {
    switch (InputScreenNumber(from)) {
        case 2:
            app.form6().Form_Activate();
            break;
        case 4:
            LeaveHazardScreen(app);
            [[fallthrough]];
        case 3:
        case 5:
            app.form3().savedata();
            app.form5().savedata();
            app.form6().Form_Activate();
            break;
        default:
            break;  // the results on the screen are reported
    }
    std::vector<std::string> notes;
    auto report = app.MakeReport(longReport, notes);
    for (const auto& n : notes) app.dialogs.MsgBox(n, platform::Buttons::OK, platform::Icon::Exclamation, "Report");
    std::string error;
    const bool shown = app.dialogs.ShowReport(*report, print, &error);
    for (const auto& m : report->Messages())
        app.dialogs.MsgBox(m, platform::Buttons::OK, platform::Icon::Exclamation, "Report");
    if (!shown && !error.empty())
        app.dialogs.MsgBox("The report could not be produced. " + error, platform::Buttons::OK,
                           platform::Icon::Exclamation, "Report");
    // Coming back from the preview activates the results screen again.
    if (InputScreenNumber(from) == 6 && app.front() == &from && !print) from.Form_Activate();
}

project::FileResult OpenGivenProject(ScreenHost& app, Screen& from, const std::filesystem::path& file) {
    if (auto* start = dynamic_cast<Form1*>(&from)) return start->OpenGivenProject(file);
    if (dynamic_cast<Form4*>(&from))
        if (auto* f4 = app.Loaded<Form4>()) f4->Save_Counties();
    return app.form2().OpenNamedFile(file);
}

namespace {

std::string RecentItemName(size_t i) { return "mnuRecent" + std::to_string(i + 1); }

// "&1 school.tor"; the whole path when two recent files share a name. An
// ampersand of the name is shown as itself.
std::string RecentCaption(const std::vector<std::string>& files, size_t i) {
    const std::filesystem::path path(files[i]);
    std::string shown = path.filename().string();
    for (size_t j = 0; j < files.size(); ++j)
        if (j != i && std::filesystem::path(files[j]).filename() == path.filename()) shown = files[i];
    std::string escaped;
    for (char c : shown) escaped += c == '&' ? std::string("&&") : std::string(1, c);
    return "&" + std::to_string(i + 1) + " " + escaped;
}

}  // namespace

void ShowRecentFiles(ScreenHost& app, Screen& s) {
    if (MenuItem* line = s.FindMenu("mnuRecentEnd")) line->setVisible(!app.RecentFiles.empty());
    for (size_t i = 0; i < ScreenHost::kRecentFileCount; ++i) {
        MenuItem* item = s.FindMenu(RecentItemName(i));
        if (!item) return;
        const bool listed = i < app.RecentFiles.size();
        if (listed) item->setCaption(RecentCaption(app.RecentFiles, i));
        item->setVisible(listed);
    }
}

namespace {

// Initial enabled state: the item of this screen is never available.
void SetInitialMenuStates(Screen& s, int n) {
    auto off = [&s](const char* name) {
        if (auto* m = s.FindMenu(name)) m->enabled = false;
    };
    off("mnuEdit");
    off("mnuCut");
    off("mnuCopy");
    off("mnupaste");
    if (n != 6) {
        off("mnuPrintPreview");
        off("mnuPrint");
        off("mnuBCAnalysis");
    } else {
        off("mnuBCResults");
    }
    const char* own[] = {"", "", "mnuProject", "mnuBuilding", "mnuHazard", "mnuMitigation", ""};
    if (*own[n]) off(own[n]);
}

// The Edit menu follows the focus: on while a text box of the screen has it.
void FollowFocusWithEditMenu(Screen& s, int n) {
    const bool resultsScreen = n == 6;
    for (platform::TextBox* box : EditBoxes(s)) {
        auto gained = box->onGotFocus, lost = box->onLostFocus;
        box->onGotFocus = [&s, gained, resultsScreen] {
            for (const char* name : {"mnuEdit", "mnuCut", "mnuCopy", "mnupaste"})
                if (!resultsScreen || std::string(name) == "mnuEdit" || std::string(name) == "mnuCopy")
                    if (auto* m = s.FindMenu(name)) m->setEnabled(true);
            if (gained) gained();
        };
        box->onLostFocus = [&s, lost] {
            for (const char* name : {"mnuEdit", "mnuCut", "mnuCopy", "mnupaste"})
                if (auto* m = s.FindMenu(name)) m->setEnabled(false);
            if (lost) lost();
        };
    }
}

// Help > About: which program this is and which reference data it reads.
void ShowAbout(ScreenHost& app) {
    const platform::Provenance p = platform::CurrentProvenance();
    app.dialogs.MsgBox(p.program + "\n\nA benefit-cost model for tornado and hurricane shelters.\n\nTornado record: " +
                           p.tornadoRecord + " (" + p.tornadoFiles + ")\nReference data SHA-256: " + p.database +
                           "\nData folder: " + app.DataDir().string(),
                       platform::Buttons::OK, platform::Icon::Information, "About Verrane");
}

}  // namespace

void InstallMenus(ScreenHost& app, Screen& s) {
    const int n = InputScreenNumber(s);
    if (n < 2 || n > 6) return;
    Form2* f2 = n == 2 ? &static_cast<Form2&>(s) : nullptr;
    auto project = [&app, f2]() -> Form2& { return f2 ? *f2 : app.form2(); };
    // On the hazard screen the selection is stored first, so the file holds
    // it (Exit too: its save prompt may save, and the window's close button
    // runs Exit).
    auto fileCommand = [&app, &s, project](void (Form2::*cmd)()) {
        return [&app, &s, project, cmd] {
            if (dynamic_cast<Form4*>(&s))
                if (auto* f4 = app.Loaded<Form4>()) f4->Save_Counties();
            (project().*cmd)();
        };
    };
    auto report = [&app, &s](bool longReport, bool print) {
        return [&app, &s, longReport, print] { RunReport(app, s, longReport, print); };
    };
    auto go = [&app, &s](int target) { return [&app, &s, target] { GoToScreen(app, s, target); }; };

    std::vector<MenuItem> file{Item("mnuNew", "&New", fileCommand(&Form2::mnuNew_Click)),
                               Item("mnuOpen", "&Open", fileCommand(&Form2::mnuOpen_Click), n == 2 ? "Ctrl+O" : ""),
                               Item("mnusave", "&Save", fileCommand(&Form2::mnusave_Click)),
                               Item("mnusaveas", "S&ave As", fileCommand(&Form2::mnusaveas_Click)),
                               Separator(),
                               Menu("mnuPrintPreview", "Print Pre&view",
                                    {Item("mnuPreviewShort", "Short Report", report(false, false)),
                                     Item("mnuPreviewLong", "Long Report", report(true, false))}),
                               Menu("mnuPrint", "&Print",
                                    {Item("mnuPrintShort", "Short Report", report(false, true)),
                                     Item("mnuPrintLong", "Long Report", report(true, true))}),
                               Separator()};
    for (size_t i = 0; i < ScreenHost::kRecentFileCount; ++i)
        file.push_back(Item(RecentItemName(i), "", [&app, &s, i] {
            if (i < app.RecentFiles.size()) OpenGivenProject(app, s, app.RecentFiles[i]);
        }));
    MenuItem recentEnd = Separator();
    recentEnd.name = "mnuRecentEnd";
    file.push_back(std::move(recentEnd));
    file.push_back(Item("mnuExit", "E&xit", fileCommand(&Form2::mnuExit_Click)));
    std::vector<MenuItem> edit;
    if (n != 4)
        edit = {Item(
                    "mnuCut", "Cu&t", [&app] { EditCommand(app, 0); }, "Ctrl+X"),
                Item(
                    "mnuCopy", "&Copy", [&app] { EditCommand(app, 1); }, "Ctrl+C"),
                Item(
                    "mnupaste", "&Paste", [&app] { EditCommand(app, 2); }, "Ctrl+V")};
    std::vector<MenuItem> input{
        Item("mnuProject", "Project Descriptive Information", go(2)),
        Item("mnuBuilding", "Building Information", go(3)), Item("mnuHazard", "Tornado Hazard Information", go(4)),
        Item("mnuMitigation", n == 3 ? "Mitigation Project" : "Mitigation Project Information", go(5))};
    s.menuBar = {Menu("mnuFile", "&File", std::move(file)), Menu("mnuEdit", "&Edit", std::move(edit)),
                 Menu("mnuInput", "&Input", std::move(input)),
                 Menu("mnuBCAnalysis", "&BC Analysis",
                      {Item("mnuBCResults", "BC Analysis Results", go(6)),
                       Item("mnuSensitivity", "Sensitivity...", [&app, &s] { ShowSensitivity(app, s); }),
                       Item("mnuScreening", "Screen Counties...", [&app] { app.ShowScreening(); })}),
                 Menu("mnuHelpMenu", "&Help",
                      {Item("mnuHelp", "&Contents", [&app] { app.dialogs.ShowHelp(app.form2().HelpFile, 3); }),
                       Item("mnuAbout", "&About Verrane", [&app] { ShowAbout(app); })})};

    SetInitialMenuStates(s, n);
    FollowFocusWithEditMenu(s, n);
    ShowRecentFiles(app, s);
}

}  // namespace verrane
