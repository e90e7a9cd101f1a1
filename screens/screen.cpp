#include "screens/screen.h"

#include "screens/screen_host.h"

namespace verrane {

Screen::Screen(ScreenHost& a, std::string name, std::string cap)
    : caption(std::move(cap)), app(a), name_(std::move(name)) {}

platform::Dialogs& Screen::dialogs() { return app.dialogs; }

void Screen::Show() {
    const bool wasVisible = visible_;
    visible_ = true;
    if (!wasVisible) {
        app.ScreenShown(*this);
        if (onViewUpdate) onViewUpdate();
    }
    if (app.front_ != this) {
        app.front_ = this;
        Form_Activate();
    }
}

void Screen::Hide() {
    if (!visible_) return;
    visible_ = false;
    if (app.front_ == this) app.front_ = nullptr;
    app.ScreenHidden(*this);
    if (onViewUpdate) onViewUpdate();
}

void Screen::Refresh() { app.dialogs.Refresh(); }

namespace {
platform::MenuItem* Find(std::vector<platform::MenuItem>& items, const std::string& name) {
    for (auto& m : items) {
        if (m.name == name) return &m;
        if (auto* c = Find(m.items, name)) return c;
    }
    return nullptr;
}
}  // namespace

platform::MenuItem* Screen::FindMenu(const std::string& name) { return Find(menuBar, name); }

void Screen::SetAnalysisCommands(bool enabled) {
    for (const char* n : {"mnuBCAnalysis", "mnuPrintPreview", "mnuPrint"})
        if (auto* m = FindMenu(n)) m->setEnabled(enabled);
}

const char* ScreenButtonCaption(int n) {
    switch (n) {
        case 2:
            return "Project Descriptive Information";
        case 3:
            return "Building Information";
        case 4:
            return "Tornado Hazard Information";
        case 5:
            return "Mitigation Project Information";
        case 6:
            return "Benefit Cost Analysis";
        default:
            return "";
    }
}

void SetUpNavigation(std::array<platform::CommandButton, 4>& buttons, const std::array<int, 4>& targets,
                     const std::function<void(int)>& onClick, platform::CommandButton& marker, const char* markerName,
                     int own) {
    for (int i = 0; i < 4; ++i) {
        auto& b = buttons[static_cast<size_t>(i)];
        b.name = "Command1";
        b.index = i;
        b.caption = ScreenButtonCaption(targets[static_cast<size_t>(i)]);
        b.onClick = [onClick, i] { onClick(i); };
        // The analysis button is off until BC_On finds the project complete.
        b.setEnabled(targets[static_cast<size_t>(i)] != 6);
    }
    marker.name = markerName;
    marker.caption = ScreenButtonCaption(own);
}

}  // namespace verrane
