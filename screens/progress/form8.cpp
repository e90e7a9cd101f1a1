#include "screens/progress/form8.h"

#include "screens/screen_host.h"

namespace verrane {

Form8::Form8(ScreenHost& a) : Screen(a, "Form8", "") {
    Label1.setCaption("File Loading . . .");
    Label2.setCaption("Please Wait");
}

void Form8::Form_Load() {
    ProgressBar1.setValue(0);
    Refresh();
}

void Form8::SetProgress(double value) {
    ProgressBar1.setValue(value);
    Refresh();
}

}  // namespace verrane
