// Verrane: the window. Starts on the start screen, or on the project given
// as its argument (what a file manager runs for a .tor file).
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QMainWindow>
#include <QTimer>
#include <iostream>
#include <optional>

#include "app/app.h"
#include "gui/binding.h"
#include "gui/qt_dialogs.h"
#include "gui/screening_window.h"
#include "gui/sensitivity_window.h"
#include "gui/session_settings.h"
#include "gui/window_manager.h"
#include "platform/paths.h"
#include "platform/provenance.h"

namespace {

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) icon.addFile(QString(":/icons/verrane-%1.png").arg(size));
    return QIcon::fromTheme("verrane", icon);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    QApplication::setOrganizationName("Verrane");
    QApplication::setApplicationName("Verrane");
    QApplication::setApplicationVersion(QString::fromStdString(verrane::platform::ProgramVersion()).section(' ', 1));
    QGuiApplication::setDesktopFileName("verrane");
    QApplication::setWindowIcon(ProgramIcon());
    verrane::platform::SetProgramDir(argc, argv);

    QCommandLineParser options;
    options.setApplicationDescription("Verrane benefit-cost model for tornado and hurricane shelters.");
    options.addHelpOption();
    options.addVersionOption();
    options.addPositionalArgument("PROJECT", "A project file (.tor) to open.", "[PROJECT]");
    const QCommandLineOption checkStart(
        "check-start",
        "Start as usual with nobody at the screen (messages go to standard error), print the title of the window in "
        "front and the data folder, and quit: exit status 0 when the program started (and the project given was "
        "opened), 1 otherwise.");
    options.addOption(checkStart);
    options.process(qt);
    const QStringList given = options.positionalArguments();
    if (given.size() > 1) {
        std::cerr << "verrane: give one project file at most.\n";
        return 2;
    }
    std::optional<std::filesystem::path> project;
    if (!given.isEmpty()) project = verrane::gui::S(given.front());

    QFont f = QApplication::font();
    f.setFamily("Arial");
    QApplication::setFont(f);
    verrane::gui::QtDialogs dialogs;
    dialogs.unattended = options.isSet(checkStart);
    verrane::App app(dialogs);
    verrane::gui::WindowManager windows(app);
    windows.rememberPlace = !dialogs.unattended;
    dialogs.parent = [&windows]() -> QWidget* {
        // The sensitivity and screening windows' file dialogs and messages stand over them.
        if (auto* s = windows.sensitivityWindow(); s && s->isVisible()) return s;
        if (auto* s = windows.screeningWindow(); s && s->isVisible()) return s;
        return windows.frontWindow();
    };
    // A check leaves the user's recent files alone.
    if (!dialogs.unattended) verrane::gui::RememberRecentFiles(app);
    const bool opened = app.Start(project).ok();
    if (dialogs.unattended) {
        QTimer::singleShot(0, &qt, [&] {
            QWidget* front = windows.frontWindow();
            if (front) front = front->window();
            QString title = front ? front->windowTitle() : QStringLiteral("none");
            title.replace("[*]", front && front->isWindowModified() ? "*" : "");
            std::cout << "window: " << verrane::gui::S(title) << '\n'
                      << "data folder: " << verrane::platform::DataDir().string() << '\n';
            QApplication::exit(opened && front ? 0 : 1);
        });
    }
    return QApplication::exec();
}
