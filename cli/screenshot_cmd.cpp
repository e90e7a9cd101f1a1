#include "cli/screenshot_cmd.h"

#include <QApplication>
#include <QFont>
#include <ostream>

#include "cli/messages.h"
#include "gui/screenshot.h"

namespace verrane::cli {

int RunScreenshot(const std::string& screen, const std::string& project, const std::string& png, std::ostream& out,
                  std::ostream& err) {
    std::vector<std::filesystem::path> inputs;
    if (!project.empty()) {
        if (!IsProjectFile(project, err)) return 1;
        inputs.emplace_back(project);
    }
    if (!IsWritableOutput(png, inputs, err)) return 1;
    // No display is needed: the windows are drawn offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "verrane-cli";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
    QFont f = QApplication::font();
    f.setFamily("Arial");
    QApplication::setFont(f);
    std::string error, messages;
    const int status = gui::RenderScreenToPng(screen, project, png, error, messages);
    err << messages;
    if (status != 0) {
        err << "verrane-cli screenshot: " << error << "\n";
        return status;
    }
    out << png << "\n";
    return 0;
}

}  // namespace verrane::cli
