#include "screens/screen_host.h"

#include <algorithm>
#include <system_error>

#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/hazard/form7.h"
#include "screens/hazard/form9.h"
#include "screens/menus.h"
#include "screens/mitigation/form5.h"
#include "screens/progress/form8.h"
#include "screens/project/form2.h"
#include "screens/start/form1.h"

namespace verrane {

template <class F>
F& ScreenHost::Get() {
    if (Screen* s = ScreenAt(F::kNumber)) return static_cast<F&>(*s);
    auto made = std::make_unique<F>(*this);
    F& ref = *made;
    Adopt(F::kNumber, std::move(made));
    ref.Form_Load();
    return ref;
}

Form1& ScreenHost::form1() { return Get<Form1>(); }
Form2& ScreenHost::form2() { return Get<Form2>(); }
Form3& ScreenHost::form3() { return Get<Form3>(); }
Form4& ScreenHost::form4() { return Get<Form4>(); }
Form5& ScreenHost::form5() { return Get<Form5>(); }
Form6& ScreenHost::form6() { return Get<Form6>(); }
Form7& ScreenHost::form7() { return Get<Form7>(); }
Form8& ScreenHost::form8() { return Get<Form8>(); }
Form9& ScreenHost::form9() { return Get<Form9>(); }

void ScreenHost::UnloadAll() { Unload<Form1, Form9, Form8, Form7, Form6, Form5, Form4, Form3, Form2>(); }

bool ScreenHost::AnyLoaded() const {
    for (int n = 0; n < kScreenSlots; ++n)
        if (ScreenAt(n)) return true;
    return false;
}

bool ScreenHost::IsLoaded(std::string_view name) const {
    for (int n = 0; n < kScreenSlots; ++n)
        if (const Screen* s = ScreenAt(n); s && s->name() == name) return true;
    return false;
}

void ScreenHost::NoteRecentFile(const std::string& file) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(file, ec);
    const std::string path = (ec ? std::filesystem::path(file) : full).lexically_normal().string();
    std::vector<std::string> files{path};
    for (const std::string& f : RecentFiles)
        if (f != path && files.size() < kRecentFileCount) files.push_back(f);
    SetRecentFiles(std::move(files));
    RecentFilesChanged();
}

void ScreenHost::SetRecentFiles(std::vector<std::string> files) {
    if (files.size() > kRecentFileCount) files.resize(kRecentFileCount);
    RecentFiles = std::move(files);
    for (int n = 0; n < kScreenSlots; ++n)
        if (Screen* s = ScreenAt(n)) ShowRecentFiles(*this, *s);
}

void ScreenHost::Unload(std::string_view name) {
    for (int n = 0; n < kScreenSlots; ++n)
        if (const Screen* s = ScreenAt(n); s && s->name() == name) Discard(n);
}

}  // namespace verrane
