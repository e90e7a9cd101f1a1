#pragma once
// The running program: the screens that exist, which one is in front, and
// the two variables the start screen keeps for the whole run. Referring to
// a screen through its accessor creates it when it does not exist yet, as
// naming a form does on the host platform.
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "screens/screen.h"

namespace verrane {

class Form1;
class Form2;
class Form3;
class Form4;
class Form5;
class Form6;
class Form7;
class Form8;
class Form9;

class App {
public:
    explicit App(platform::Dialogs& dialogs);
    ~App();

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

    // Checkform: true when a screen of that name ("Form3", ...) is loaded.
    bool IsLoaded(std::string_view name) const;
    template <class F> F* Loaded() const;
    // Discards a screen with all its contents (Form_Unload runs first).
    void Unload(std::string_view name);
    void UnloadAll();
    bool AnyLoaded() const;

    Screen* front() const { return front_; }

    // Held by the start screen, alive for the whole run.
    std::string ProjectFileName;
    bool HasFileName = false;

    std::filesystem::path ReferenceDatabase() const;
    std::filesystem::path DataDir() const;

    // Window layer hooks.
    std::function<void(Screen&)> onScreenCreated;
    std::function<void(Screen&)> onScreenDiscarded;
    std::function<void(Screen&)> onScreenShown;
    std::function<void(Screen&)> onScreenHidden;

private:
    friend class Screen;
    template <class F> F& Get(int n);
    static int Number(std::string_view name);
    std::array<std::unique_ptr<Screen>, 10> screens_;
    std::array<bool, 10> loading_{};
    Screen* front_ = nullptr;
};

}  // namespace verrane

namespace verrane {
template <class F> F* App::Loaded() const { return static_cast<F*>(screens_[F::kNumber].get()); }
}  // namespace verrane
