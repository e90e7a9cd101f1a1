// Verrane: the window. Starts on the start screen.
#include <QApplication>

#include "app/app.h"
#include "gui/qt_dialogs.h"
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
    dialogs.parent = [&windows] { return windows.frontWindow(); };
    app.form1().Show();
    return QApplication::exec();
}
