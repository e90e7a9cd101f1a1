#include "platform/dialogs.h"

#include "platform/report.h"

namespace verrane::platform {

Answer ScriptedDialogs::MsgBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title) {
    Answer a = Answer::OK;
    if (buttons != Buttons::OK) {
        if (!answers.empty()) {
            a = answers.front();
            answers.pop_front();
        } else {
            a = buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        }
    }
    messages.push_back({text, title, buttons, icon, a});
    if (onMessage) onMessage(messages.back());
    return a;
}

std::optional<std::string> ScriptedDialogs::FileDialog(const FileDialogRequest& r) {
    fileRequests.push_back(r);
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

bool ScriptedDialogs::ShowReport(report::Report& r, bool print, std::string* error) {
    const auto& model = r.Layout();
    reportCalls.push_back({print, static_cast<int>(model.pages.size()), false});
    if (!reportPdf.empty()) reportCalls.back().written = r.ExportPdf(reportPdf, error);
    return reportPdf.empty() || reportCalls.back().written;
}

std::vector<std::string> ScriptedDialogs::texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

}  // namespace verrane::platform
