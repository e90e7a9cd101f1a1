#include "cli/report_cmd.h"

#include <ostream>

#include "app/app.h"
#include "cli/analyze.h"
#include "cli/messages.h"
#include "platform/dialogs.h"
#include "platform/report.h"
#include "screens/analysis/form6.h"
#include "screens/menus.h"

namespace verrane::cli {

int RunReportCommand(const std::filesystem::path& project, bool longReport, const std::filesystem::path& pdf,
                     std::ostream& out, std::ostream& err) {
    if (!IsWritableOutput(pdf, {project}, err)) return 1;
    std::string error;
    bool written = false;
    const bool opened = AnalyzeProject(
        project, err,
        [&](App& app) {
            auto* scripted = dynamic_cast<platform::ScriptedDialogs*>(&app.dialogs);
            if (!scripted) return;
            scripted->reportPdf = pdf.string();
            const size_t before = scripted->reportCalls.size();
            Form6& results = app.form6();
            if (auto* item = results.FindMenu(longReport ? "mnuPreviewLong" : "mnuPreviewShort"))
                item->click();
            else
                RunReport(app, results, longReport, false);
            written = scripted->reportCalls.size() > before && scripted->reportCalls.back().written;
            if (written)
                out << pdf.string() << ": " << scripted->reportCalls.back().pages << " page"
                    << (scripted->reportCalls.back().pages == 1 ? "" : "s") << "\n";
        },
        error);
    if (!opened) {
        err << project.string() << ": " << error << "\n";
        return 1;
    }
    if (!written) {
        err << "verrane-cli: the report was not written to " << pdf.string() << ".\n";
        return 1;
    }
    return 0;
}

}  // namespace verrane::cli
