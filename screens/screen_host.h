#pragma once
// What a screen may ask of the running program: the other screens (created
// on first use, as naming a form does on the host platform), which screen is
// in front, the dialogs, the project file the start screen chose, where the
// reference data lives, and a report of the project. The application
// implements it; screens never include app/.
//
// Screens are registered by type: each screen class names its slot in
// `kNumber`, and the typed accessors below are the only way to reach one.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "platform/report.h"

namespace verrane {

class Screen;
class Form1;
class Form2;
class Form3;
class Form4;
class Form5;
class Form6;
class Form7;
class Form8;
class Form9;

class ScreenHost {
public:
    explicit ScreenHost(platform::Dialogs& d) : dialogs(d) {}
    virtual ~ScreenHost() = default;
    ScreenHost(const ScreenHost&) = delete;
    ScreenHost& operator=(const ScreenHost&) = delete;

    platform::Dialogs& dialogs;

    Form1& form1();
    Form2& form2();
    Form3& form3();
    Form4& form4();
    Form5& form5();
    Form6& form6();
    Form7& form7();
    Form8& form8();
    Form9& form9();

    // The screen of that type when it exists, without creating it.
    template <class F>
    F* Loaded() const {
        return static_cast<F*>(ScreenAt(F::kNumber));
    }
    // Discards the screens (each one's Form_Unload runs first).
    template <class... F>
    void Unload() {
        (Discard(F::kNumber), ...);
    }
    // The start screen first, then the others.
    void UnloadAll();
    bool AnyLoaded() const;
    // Checkform: true when the screen of that caption-independent name
    // ("Form3", ...) is loaded.
    bool IsLoaded(std::string_view name) const;
    void Unload(std::string_view name);

    Screen* front() const { return front_; }

    // Held by the start screen, alive for the whole run.
    std::string ProjectFileName;
    bool HasFileName = false;
    // Counts the moments the screens and the project's file (or, for a new
    // project, nothing) agree: a project opened, saved or made new. The
    // window compares what the screens hold with what they held then.
    int ProjectAgreesWithFile = 0;

    // The projects last opened or saved, newest first, at most
    // kRecentFileCount, as absolute paths; the File menu lists them. The
    // window keeps them between runs; the command line starts with none and
    // keeps none.
    static constexpr size_t kRecentFileCount = 8;
    std::vector<std::string> RecentFiles;
    // Puts a project opened or saved first in RecentFiles, updates the File
    // menus and tells RecentFilesChanged.
    void NoteRecentFile(const std::string& file);
    // Replaces the list (the window's remembered one) and updates the File menus.
    void SetRecentFiles(std::vector<std::string> files);

    virtual std::filesystem::path ReferenceDatabase() const = 0;
    virtual std::filesystem::path DataDir() const = 0;

    // The long or short report of the project as the screens hold it. `notes`
    // receives what could not be read; the report is still produced.
    virtual std::unique_ptr<platform::report::Report> MakeReport(bool longReport, std::vector<std::string>& notes) = 0;

    // "Sensitivity...": the sensitivity of the results on the results screen,
    // in a window over it. Without windows (the command line) there is none.
    virtual void ShowSensitivity() {}
    // RecentFiles changed (the window stores the list).
    virtual void RecentFilesChanged() {}
    // "Screen Counties...": the project as the screens hold it placed in the
    // counties of its state or of the country, in a window over the screens.
    // Without windows there is none.
    virtual void ShowScreening() {}

    static constexpr int kScreenSlots = 10;

protected:
    // The screen in slot `number`, or null.
    virtual Screen* ScreenAt(int number) const = 0;
    // Keeps a newly made screen in slot `number` and gives it its menus and window.
    virtual void Adopt(int number, std::unique_ptr<Screen> screen) = 0;
    virtual void Discard(int number) = 0;
    // The window layer follows visibility.
    virtual void ScreenShown(Screen& s) = 0;
    virtual void ScreenHidden(Screen& s) = 0;

    Screen* front_ = nullptr;

private:
    friend class Screen;
    template <class F>
    F& Get();
};

}  // namespace verrane
