#include "gui/screenshot.h"

#include <QApplication>
#include <QMainWindow>

#include "app/app.h"
#include "gui/binding.h"
#include "gui/screening_window.h"
#include "gui/sensitivity_window.h"
#include "gui/window_manager.h"
#include "platform/dialogs.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/hazard/form7.h"
#include "screens/hazard/form9.h"
#include "screens/mitigation/form5.h"
#include "screens/progress/form8.h"
#include "screens/project/form2.h"
#include "screens/start/form1.h"

namespace verrane::gui {

namespace {

// The screens the command renders, by their everyday name or their own, and
// how each is brought up. All but the start screen come up over the project.
struct ScreenEntry {
    const char* alias;
    const char* name;
    bool needsLocation;
    Screen& (*open)(App&);
};

// The project screen's "Benefit Cost Analysis" button: the results of the project.
Screen& Analysed(App& a) {
    a.form2().Command1_Click(3);
    return a.form6();
}

const ScreenEntry kScreens[] = {
    {"start", "Form1", false, [](App& a) -> Screen& { return a.form1(); }},
    {"project", "Form2", false, [](App& a) -> Screen& { return a.form2(); }},
    {"building", "Form3", false, [](App& a) -> Screen& { return a.form3(); }},
    {"hazard", "Form4", true, [](App& a) -> Screen& { return a.form4(); }},
    {"mitigation", "Form5", false, [](App& a) -> Screen& { return a.form5(); }},
    {"analysis", "Form6", true, Analysed},
    // Not a screen: the window "BC Analysis" > "Sensitivity..." opens over the results.
    {"sensitivity", "Sensitivity", true, Analysed},
    // Not a screen: "BC Analysis" > "Screen Counties..." over the project
    // screen, run over the counties of the project's state.
    {"screening", "Screening", true, [](App& a) -> Screen& { return a.form2(); }},
    {"map", "Form7", true,
     [](App& a) -> Screen& {
         a.form4().Show();
         return a.form7();
     }},
    {"progress", "Form8", false, [](App& a) -> Screen& { return a.form8(); }},
    {"extraction", "Form9", false, [](App& a) -> Screen& { return a.form9(); }},
};

}  // namespace

int RenderScreenToPng(const std::string& screen, const std::string& projectFile, const std::string& outFile,
                      std::string& error, std::string& messages) {
    const ScreenEntry* entry = nullptr;
    for (const auto& e : kScreens)
        if (screen == e.alias || screen == e.name) entry = &e;
    if (!entry) {
        error = "Unknown screen \"" + screen + "\".";
        return 2;
    }
    platform::ScriptedDialogs dialogs;
    dialogs.onMessage = [&messages](const platform::Message& m) {
        messages += (m.title.find_first_not_of(' ') == std::string::npos ? "" : m.title + ": ") + m.text + "\n";
    };
    App app(dialogs);
    WindowManager windows(app);
    windows.quitWhenEmpty = false;
    if (!projectFile.empty()) {
        app.ProjectFileName = projectFile;
        app.HasFileName = true;
    }
    if (entry != &kScreens[0]) {
        Form2& f2 = app.form2();
        f2.Show();
        if (entry->needsLocation && f2.Combo2.listIndex() <= 0) {
            error = "The " + screen + " screen needs a project with a state and county (give a .tor file).";
            return 2;
        }
    }
    Screen* target = &entry->open(app);
    target->Show();
    QWidget* w = windows.windowOf(*target);
    if (std::string_view(entry->alias) == "sensitivity") {
        if (auto* item = target->FindMenu("mnuSensitivity")) item->click();
        auto* s = windows.sensitivityWindow();
        if (!s) {
            error = "The sensitivity window did not open.";
            return 1;
        }
        s->resize(kSensitivityWindowSize);
        QApplication::processEvents();
        return WriteWidgetPng(s, outFile, error) ? 0 : 1;
    }
    if (std::string_view(entry->alias) == "screening") {
        if (auto* item = target->FindMenu("mnuScreening")) item->click();
        auto* s = windows.screeningWindow();
        if (!s) {
            error = "The screening window did not open.";
            return 1;
        }
        s->resize(kScreeningWindowSize);
        s->setAttribute(Qt::WA_DontShowOnScreen, true);
        s->show();
        s->Run();
        QApplication::processEvents();
        return WriteWidgetPng(s, outFile, error) ? 0 : 1;
    }
    if (!w) {
        error = "The " + screen + " screen has no window.";
        return 1;
    }
    // The main window as it stands on a 1024x768 screen, whatever screen renders it.
    if (auto* main = windows.mainWindow()) main->resize(kMainWindowSize);
    return SaveWindowImage(w, outFile, error) ? 0 : 1;
}

}  // namespace verrane::gui
