// Verrane: the window. Starts on the start screen.
#include <QApplication>

#include "app/app.h"
#include "gui/qt_dialogs.h"
#include "gui/screening_window.h"
#include "gui/sensitivity_window.h"
#include "gui/window_manager.h"
#include "screens/start/form1.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    QApplication::setApplicationName("Verrane");
    QFont f = QApplication::font();
    f.setFamily("Arial");
    QApplication::setFont(f);
    verrane::gui::QtDialogs dialogs;
    verrane::App app(dialogs);
    verrane::gui::WindowManager windows(app);
    dialogs.parent = [&windows]() -> QWidget* {
        // The sensitivity and screening windows' file dialogs and messages stand over them.
        if (auto* s = windows.sensitivityWindow(); s && s->isVisible()) return s;
        if (auto* s = windows.screeningWindow(); s && s->isVisible()) return s;
        return windows.frontWindow();
    };
    app.form1().Show();
    return QApplication::exec();
}
