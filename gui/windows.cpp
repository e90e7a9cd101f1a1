// The window of each screen, registered by the screen's type.
#include "gui/window_manager.h"
#include "screens/screen.h"

#include "gui/form1_window.h"
#include "gui/form2_window.h"
#include "gui/form3_window.h"
#include "gui/form4_window.h"
#include "gui/form5_window.h"
#include "gui/form6_window.h"
#include "gui/form7_window.h"
#include "gui/form8_window.h"
#include "gui/form9_window.h"

namespace verrane::gui {

namespace {

template <class F>
bool Is(const Screen& s) {
    return dynamic_cast<const F*>(&s) != nullptr;
}

template <class F>
QWidget* Make(Screen& s, QWidget* (*create)(F&)) {
    auto* f = dynamic_cast<F*>(&s);
    return f ? create(*f) : nullptr;
}

}  // namespace

QWidget* CreateWindowFor(Screen& s) {
    QWidget* w = nullptr;
    for (QWidget* made : {Make(s, &CreateForm1Window), Make(s, &CreateForm2Window), Make(s, &CreateForm3Window),
                          Make(s, &CreateForm4Window), Make(s, &CreateForm5Window), Make(s, &CreateForm6Window),
                          Make(s, &CreateForm7Window), Make(s, &CreateForm8Window), Make(s, &CreateForm9Window)})
        if (made) w = made;
    return w;
}

bool IsPage(const Screen& s) { return Is<Form2>(s) || Is<Form3>(s) || Is<Form4>(s) || Is<Form5>(s) || Is<Form6>(s); }

bool IsStartScreen(const Screen& s) { return Is<Form1>(s); }

}  // namespace verrane::gui
