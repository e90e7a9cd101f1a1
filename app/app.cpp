#include "app/app.h"

#include "platform/paths.h"
#include "screens/menus.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/hazard/form7.h"
#include "screens/hazard/form9.h"
#include "screens/mitigation/form5.h"
#include "screens/progress/form8.h"
#include "screens/project/form2.h"
#include "screens/start/form1.h"

namespace verrane {

App::App(platform::Dialogs& d) : dialogs(d) {}

App::~App() {
    // Discard without running the unload events: the program is ending.
    front_ = nullptr;
    for (auto& s : screens_) s.reset();
}

int App::Number(std::string_view name) {
    if (name.size() == 5 && name.substr(0, 4) == "Form" && name[4] >= '1' && name[4] <= '9') return name[4] - '0';
    return -1;
}

template <class F> F& App::Get(int n) {
    if (!screens_[static_cast<size_t>(n)]) {
        auto s = std::make_unique<F>(*this);
        F& ref = *s;
        screens_[static_cast<size_t>(n)] = std::move(s);
        InstallMenus(*this, ref);
        if (onScreenCreated) onScreenCreated(ref);
        ref.Form_Load();
    }
    return static_cast<F&>(*screens_[static_cast<size_t>(n)]);
}

Form1& App::form1() { return Get<Form1>(1); }
Form2& App::form2() { return Get<Form2>(2); }
Form3& App::form3() { return Get<Form3>(3); }
Form4& App::form4() { return Get<Form4>(4); }
Form5& App::form5() { return Get<Form5>(5); }
Form6& App::form6() { return Get<Form6>(6); }
Form7& App::form7() { return Get<Form7>(7); }
Form8& App::form8() { return Get<Form8>(8); }
Form9& App::form9() { return Get<Form9>(9); }

bool App::IsLoaded(std::string_view name) const {
    const int n = Number(name);
    return n > 0 && screens_[static_cast<size_t>(n)] != nullptr;
}

bool App::AnyLoaded() const {
    for (const auto& s : screens_)
        if (s) return true;
    return false;
}

void App::Unload(std::string_view name) {
    const int n = Number(name);
    if (n <= 0 || !screens_[static_cast<size_t>(n)] || loading_[static_cast<size_t>(n)]) return;
    loading_[static_cast<size_t>(n)] = true;
    Screen& s = *screens_[static_cast<size_t>(n)];
    s.Form_Unload();
    if (s.visible_) s.Hide();
    if (front_ == &s) front_ = nullptr;
    if (onScreenDiscarded) onScreenDiscarded(s);
    screens_[static_cast<size_t>(n)].reset();
    loading_[static_cast<size_t>(n)] = false;
}

void App::UnloadAll() {
    // The start screen first, then the others.
    for (const char* n : {"Form1", "Form9", "Form8", "Form7", "Form6", "Form5", "Form4", "Form3", "Form2"}) Unload(n);
}

std::filesystem::path App::DataDir() const { return platform::DataDir(); }
std::filesystem::path App::ReferenceDatabase() const { return platform::ReferenceDatabasePath(); }

}  // namespace verrane
