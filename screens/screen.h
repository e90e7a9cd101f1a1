#pragma once
// Base of the headless screens Form1 ... Form9. A screen owns its controls
// and event procedures; the program creates it on first use (running Form_Load)
// and discards it on Unload (running Form_Unload). Exactly one screen is in
// front at a time: Show() brings a screen to the front and runs its
// Form_Activate when it was not already the front screen.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialogs.h"

namespace verrane {

class ScreenHost;

class Screen {
public:
    Screen(ScreenHost& app, std::string name, std::string caption);
    virtual ~Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    const std::string& name() const { return name_; }
    std::string caption;

    bool visible() const { return visible_; }
    void Show();
    void Hide();
    // Repaints the window now, during long work.
    void Refresh();

    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Unload() {}

    // Does what this screen requires before the user leaves it for screen
    // `target` (2..6), asking where it must, and says whether the user may go.
    virtual bool Leave(int /*target*/) { return true; }

    // The menu bar; empty on screens without one.
    std::vector<platform::MenuItem> menuBar;
    platform::MenuItem* FindMenu(const std::string& name);

    // Switches this screen's analysis commands (its "Benefit Cost Analysis"
    // button, "&BC Analysis", "Print Pre&view" and "&Print").
    virtual void SetAnalysisCommands(bool enabled);

    // Called by the window layer whenever visibility changes.
    std::function<void()> onViewUpdate;

protected:
    ScreenHost& app;
    platform::Dialogs& dialogs();

private:
    std::string name_;
    bool visible_ = false;
};

// The caption of the navigation button that leads to screen n (2..6).
const char* ScreenButtonCaption(int n);

// The row of navigation buttons: Command1(0..3) leading to the screens
// `targets`, each click handed to `onClick` with its index, and the marker
// button (`markerName`, "Command2" or "Command3") naming screen `own`.
void SetUpNavigation(std::array<platform::CommandButton, 4>& buttons, const std::array<int, 4>& targets,
                     const std::function<void(int)>& onClick, platform::CommandButton& marker, const char* markerName,
                     int own);

// Shows the hourglass pointer for as long as it lives.
class BusyPointer {
public:
    explicit BusyPointer(platform::Dialogs& d) : d_(d) { d_.SetBusy(true); }
    ~BusyPointer() { d_.SetBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    platform::Dialogs& d_;
};

}  // namespace verrane
