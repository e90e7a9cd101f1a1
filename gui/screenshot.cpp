#include "gui/screenshot.h"

#include <QApplication>
#include <QMainWindow>
#include <map>

#include "app/app.h"
#include "gui/binding.h"
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

int RenderScreenToPng(const std::string& screen, const std::string& projectFile, const std::string& outFile,
                      std::string& error, std::string& messages) {
    static const std::map<std::string, std::string> kAliases = {
        {"start", "Form1"},      {"project", "Form2"},  {"building", "Form3"}, {"hazard", "Form4"},
        {"mitigation", "Form5"}, {"analysis", "Form6"}, {"map", "Form7"},      {"progress", "Form8"},
        {"extraction", "Form9"}};
    std::string name = screen;
    if (auto it = kAliases.find(screen); it != kAliases.end()) name = it->second;
    if (name.size() != 5 || name.rfind("Form", 0) != 0 || name[4] < '1' || name[4] > '9') {
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
    Screen* target = nullptr;
    if (name == "Form1") {
        target = &app.form1();
    } else {
        Form2& f2 = app.form2();
        f2.Show();
        const bool located = f2.Combo2.listIndex() > 0;
        switch (name[4]) {
            case '2': target = &f2; break;
            case '3': target = &app.form3(); break;
            case '5': target = &app.form5(); break;
            case '8': target = &app.form8(); break;
            case '9': target = &app.form9(); break;
            default:
                if (!located) {
                    error = "The " + screen + " screen needs a project with a state and county (give a .tor file).";
                    return 2;
                }
                if (name == "Form4") target = &app.form4();
                if (name == "Form6") {
                    f2.Command1_Click(3);
                    target = &app.form6();
                }
                if (name == "Form7") {
                    app.form4().Show();
                    target = &app.form7();
                }
        }
    }
    target->Show();
    QWidget* w = windows.windowOf(*target);
    if (!w) {
        error = "The " + screen + " screen has no window.";
        return 1;
    }
    // The main window as it stands on a 1024x768 screen, whatever screen renders it.
    if (auto* main = windows.mainWindow()) main->resize(kMainWindowSize);
    if (!SaveWindowImage(w, Q(outFile))) {
        error = "Cannot write " + outFile + ".";
        return 1;
    }
    return 0;
}

}  // namespace verrane::gui
