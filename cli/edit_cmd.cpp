#include "cli/edit_cmd.h"

#include <exception>
#include <ostream>
#include <utility>

#include "app/app.h"
#include "app/project_edit.h"
#include "cli/messages.h"
#include "platform/dialogs.h"
#include "platform/output_file.h"
#include "screens/project/form2.h"

namespace verrane::cli {

namespace {
const char* const kProjectSaved = "Project Saved.";
}  // namespace

int RunEdit(const std::filesystem::path& project, const std::vector<std::string>& sets,
            const std::filesystem::path& output, std::ostream& err) {
    std::vector<std::pair<std::string, std::string>> edits;
    for (const std::string& s : sets) {
        const size_t eq = s.find('=');
        if (eq == std::string::npos || eq == 0) {
            err << "verrane-cli: --set takes NAME=VALUE, not \"" << s << "\"\n";
            return 2;
        }
        edits.emplace_back(s.substr(0, eq), s.substr(eq + 1));
    }
    const auto& names = InputNames();
    for (const auto& [name, value] : edits) {
        if (std::find(names.begin(), names.end(), name) != names.end()) continue;
        err << "verrane-cli: unknown input \"" << name << "\"; the inputs are:\n";
        for (const auto& n : names) err << "  " << n << "\n";
        return 2;
    }
    if (!IsProjectFile(project, err)) return 1;
    if (!IsWritableOutput(platform::WithExtension(output, ".tor"), {project}, err)) return 1;

    platform::ScriptedDialogs dialogs;
    dialogs.onMessage = [&err](const platform::Message& m) {
        if (m.text != kSaveChangesPrompt && m.text != kProjectSaved) PrintMessage(err, m);
    };
    try {
        App app(dialogs);
        if (!OpenProjectFile(app, dialogs, project).ok()) {
            err << "verrane-cli: " << project.string() << ": rejected: incorrect format\n";
            return 1;
        }
        for (const auto& [name, value] : edits) {
            const size_t shown = dialogs.messages.size();
            const EditResult r = SetInput(app, dialogs, name, value);
            if (r.ok()) continue;
            // The screen's own messages were printed as it showed them.
            err << "verrane-cli: " << name << "=" << value << " was refused";
            if (dialogs.messages.size() == shown && !r.message.empty()) err << ": " << r.message;
            err << "\nverrane-cli: nothing was written\n";
            return 2;
        }
        std::string error;
        if (!SaveProjectAs(app, dialogs, output, error)) {
            err << "verrane-cli: " << output.string() << ": not written: " << error << "\n";
            return 1;
        }
    } catch (const std::exception& e) {
        err << "verrane-cli: " << project.string() << ": failed: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace verrane::cli
