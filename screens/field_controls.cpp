#include "screens/field_controls.h"

#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "screens/screen_host.h"

namespace verrane {

namespace {

using project::Field;
using project::FieldScreen;

template <class Array>
platform::Control* At(Array& controls, int index) {
    return index >= 0 && static_cast<size_t>(index) < controls.size() ? &controls[static_cast<size_t>(index)] : nullptr;
}

bool Is(const Field& f, FieldScreen screen, std::string_view control) {
    return f.screen == screen && f.control.name == control;
}

}  // namespace

platform::Control* ControlOf(Form2& s, const Field& f) {
    if (Is(f, FieldScreen::ProjectInformation, "Text1")) return At(s.Text1, f.control.index);
    if (Is(f, FieldScreen::ProjectInformation, "Combo3")) return &s.Combo3;
    if (Is(f, FieldScreen::ProjectInformation, "Combo2")) return &s.Combo2;
    return nullptr;
}

platform::Control* ControlOf(Form3& s, const Field& f) {
    if (Is(f, FieldScreen::Building, "Text1")) return At(s.Text1, f.control.index);
    if (Is(f, FieldScreen::Building, "Text2")) return At(s.Text2, f.control.index);
    if (Is(f, FieldScreen::Building, "Combo1")) return At(s.Combo1, f.control.index);
    if (Is(f, FieldScreen::Building, "Check1")) return &s.Check1;
    if (Is(f, FieldScreen::Building, "Check2")) return &s.Check2;
    return nullptr;
}

platform::Control* ControlOf(Form4& s, const Field& f) {
    if (Is(f, FieldScreen::TornadoHazard, "Text1")) return &s.Text1;
    return nullptr;
}

platform::Control* ControlOf(Form5& s, const Field& f) {
    if (Is(f, FieldScreen::Mitigation, "Text1")) return At(s.Text1, f.control.index);
    if (Is(f, FieldScreen::Mitigation, "Text2")) return At(s.Text2, f.control.index);
    if (Is(f, FieldScreen::Mitigation, "Combo1")) return &s.Combo1;
    return nullptr;
}

platform::Control* ControlOf(ScreenHost& app, const Field& f) {
    switch (f.screen) {
        case FieldScreen::ProjectInformation:
            return ControlOf(app.form2(), f);
        case FieldScreen::Building:
            return ControlOf(app.form3(), f);
        case FieldScreen::TornadoHazard:
            return nullptr;
        case FieldScreen::Mitigation:
            return ControlOf(app.form5(), f);
    }
    return nullptr;
}

const platform::Control* LoadedControlOf(const ScreenHost& app, const Field& f) {
    switch (f.screen) {
        case FieldScreen::ProjectInformation:
            if (const auto* s = app.Loaded<Form2>()) return ControlOf(*s, f);
            return nullptr;
        case FieldScreen::Building:
            if (const auto* s = app.Loaded<Form3>()) return ControlOf(*s, f);
            return nullptr;
        case FieldScreen::TornadoHazard:
            return nullptr;
        case FieldScreen::Mitigation:
            if (const auto* s = app.Loaded<Form5>()) return ControlOf(*s, f);
            return nullptr;
    }
    return nullptr;
}

}  // namespace verrane
