#include "app/app.h"

#include "app/report_glue.h"
#include "platform/paths.h"
#include "screens/menus.h"
#include "screens/start/form1.h"

namespace verrane {

App::App(platform::Dialogs& d) : ScreenHost(d) {}

App::~App() {
    // Discard without running the unload events: the program is ending.
    front_ = nullptr;
    for (auto& s : screens_) s.reset();
}

Screen* App::ScreenAt(int n) const {
    return n >= 0 && n < kScreenSlots ? screens_[static_cast<size_t>(n)].get() : nullptr;
}

void App::Adopt(int n, std::unique_ptr<Screen> made) {
    Screen& s = *made;
    screens_[static_cast<size_t>(n)] = std::move(made);
    InstallMenus(*this, s);
    if (onScreenCreated) onScreenCreated(s);
}

void App::Discard(int n) {
    const auto i = static_cast<size_t>(n);
    if (!ScreenAt(n) || unloading_[i]) return;
    unloading_[i] = true;
    Screen& s = *screens_[i];
    s.Form_Unload();
    if (s.visible()) s.Hide();
    if (front_ == &s) front_ = nullptr;
    if (onScreenDiscarded) onScreenDiscarded(s);
    screens_[i].reset();
    unloading_[i] = false;
}

void App::ScreenShown(Screen& s) {
    if (onScreenShown) onScreenShown(s);
}

void App::ScreenHidden(Screen& s) {
    if (onScreenHidden) onScreenHidden(s);
}

std::filesystem::path App::DataDir() const { return platform::DataDir(); }
std::filesystem::path App::ReferenceDatabase() const { return platform::ReferenceDatabasePath(); }

std::unique_ptr<platform::report::Report> App::MakeReport(bool longReport, std::vector<std::string>& notes) {
    return verrane::MakeReport(*this, longReport, notes);
}

void App::RecentFilesChanged() {
    if (onRecentFilesChanged) onRecentFilesChanged();
}

project::FileResult App::Start(const std::optional<std::filesystem::path>& project) {
    if (!project) {
        form1().Show();
        return {};
    }
    Form1& start = form1();
    project::FileResult opened = start.OpenGivenProject(*project);
    if (!opened.ok()) start.Show();
    return opened;
}

void App::ShowSensitivity() {
    if (onShowSensitivity) onShowSensitivity();
}

void App::ShowScreening() {
    if (onShowScreening) onShowScreening();
}

}  // namespace verrane
