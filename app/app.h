#pragma once
// The running program: the screens that exist, which one is in front, and
// the two variables the start screen keeps for the whole run. It implements
// the interface the screens talk to (screens/screen_host.h) and tells the window
// layer when a screen is created, discarded, shown or hidden.
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "platform/dialogs.h"
#include "project/file_result.h"
#include "screens/screen.h"
#include "screens/screen_host.h"

namespace verrane {

class App : public ScreenHost {
public:
    explicit App(platform::Dialogs& dialogs);
    ~App() override;

    std::filesystem::path ReferenceDatabase() const override;
    std::filesystem::path DataDir() const override;
    std::unique_ptr<platform::report::Report> MakeReport(bool longReport, std::vector<std::string>& notes) override;
    void ShowSensitivity() override;
    void RecentFilesChanged() override;
    // The first screen: the start screen, or, for a project given to the
    // program, that project opened through File > Open's steps (the start
    // screen when it is refused).
    project::FileResult Start(const std::optional<std::filesystem::path>& project);
    void ShowScreening() override;

    // Window layer hooks.
    std::function<void(Screen&)> onScreenCreated;
    std::function<void(Screen&)> onScreenDiscarded;
    std::function<void(Screen&)> onScreenShown;
    std::function<void(Screen&)> onScreenHidden;
    std::function<void()> onShowSensitivity;
    std::function<void()> onRecentFilesChanged;
    std::function<void()> onShowScreening;

protected:
    Screen* ScreenAt(int number) const override;
    void Adopt(int number, std::unique_ptr<Screen> screen) override;
    void Discard(int number) override;
    void ScreenShown(Screen& s) override;
    void ScreenHidden(Screen& s) override;

private:
    std::array<std::unique_ptr<Screen>, kScreenSlots> screens_;
    std::array<bool, kScreenSlots> unloading_{};
};

}  // namespace verrane
