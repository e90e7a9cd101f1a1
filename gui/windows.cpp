// The window of each screen. A screen whose window is not built yet gets a
// plain placeholder, so the program still runs.
#include <QLabel>
#include <QVBoxLayout>

#include "gui/binding.h"
#include "gui/window_manager.h"
#include "screens/screen.h"

#include "gui/form1_window.h"
#include "gui/form2_window.h"
#include "gui/form8_window.h"
#if __has_include("gui/form3_window.h")
#include "gui/form3_window.h"
#define VERRANE_HAVE_FORM3_WINDOW
#endif
#if __has_include("gui/form4_window.h")
#include "gui/form4_window.h"
#define VERRANE_HAVE_FORM4_WINDOW
#endif
#if __has_include("gui/form5_window.h")
#include "gui/form5_window.h"
#define VERRANE_HAVE_FORM5_WINDOW
#endif
#if __has_include("gui/form6_window.h")
#include "gui/form6_window.h"
#define VERRANE_HAVE_FORM6_WINDOW
#endif
#if __has_include("gui/form7_window.h")
#include "gui/form7_window.h"
#define VERRANE_HAVE_FORM7_WINDOW
#endif
#if __has_include("gui/form9_window.h")
#include "gui/form9_window.h"
#define VERRANE_HAVE_FORM9_WINDOW
#endif

namespace verrane::gui {

QWidget* CreateWindowFor(Screen& s) {
    const std::string& n = s.name();
    if (n == "Form1") return CreateForm1Window(static_cast<Form1&>(s));
    if (n == "Form2") return CreateForm2Window(static_cast<Form2&>(s));
    if (n == "Form8") return CreateForm8Window(static_cast<Form8&>(s));
#ifdef VERRANE_HAVE_FORM3_WINDOW
    if (n == "Form3") return CreateForm3Window(static_cast<Form3&>(s));
#endif
#ifdef VERRANE_HAVE_FORM4_WINDOW
    if (n == "Form4") return CreateForm4Window(static_cast<Form4&>(s));
#endif
#ifdef VERRANE_HAVE_FORM5_WINDOW
    if (n == "Form5") return CreateForm5Window(static_cast<Form5&>(s));
#endif
#ifdef VERRANE_HAVE_FORM6_WINDOW
    if (n == "Form6") return CreateForm6Window(static_cast<Form6&>(s));
#endif
#ifdef VERRANE_HAVE_FORM7_WINDOW
    if (n == "Form7") return CreateForm7Window(static_cast<Form7&>(s));
#endif
#ifdef VERRANE_HAVE_FORM9_WINDOW
    if (n == "Form9") return CreateForm9Window(static_cast<Form9&>(s));
#endif
    auto* w = new QWidget();
    auto* l = new QVBoxLayout(w);
    l->addWidget(new QLabel(Q(s.caption)));
    w->resize(400, 120);
    return w;
}

}  // namespace verrane::gui
