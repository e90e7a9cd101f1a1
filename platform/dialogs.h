#pragma once
// What the program asks of the desktop: modal message boxes, file dialogs,
// the busy pointer, the beep, the clipboard and the help window. The Qt
// implementation shows real dialogs; the scripted one answers from a queue
// and records every message, for the tests and the command line.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace verrane::platform {

namespace report {
class Report;
}

enum class Buttons { OK, YesNo, YesNoCancel };
enum class Icon { None, Exclamation, Question, Information, Critical };
enum class Answer { OK, Yes, No, Cancel };

struct FileDialogRequest {
    bool save = false;
    std::string filter;  // "Tornado Project (*.tor)|*.tor"
    int flags = 0;       // 4 hide read-only, 2 prompt before overwrite, 4096 file must exist
    std::string folder;  // where the dialog starts; empty: the last folder the user chose a file in
};

struct Message {
    std::string text, title;
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    Answer answer = Answer::OK;
};

// A warning (OK, exclamation icon) as a screen would show it.
inline Message WarningMessage(std::string text, std::string title) {
    Message m;
    m.text = std::move(text);
    m.title = std::move(title);
    m.icon = Icon::Exclamation;
    return m;
}

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Answer MsgBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title) = 0;
    // The chosen path, or nullopt when the user cancels.
    virtual std::optional<std::string> FileDialog(const FileDialogRequest&) = 0;
    virtual void SetBusy(bool busy) = 0;
    virtual void Beep() = 0;
    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string&) = 0;
    virtual void ShowHelp(const std::string& helpFile, int command) = 0;
    // Lets the window repaint during long work (the progress windows).
    virtual void Refresh() {}
    // The report's preview window (print = false) or the printer dialog and
    // printing (print = true). False when cancelled or when it failed; a
    // failure is explained in `error`.
    virtual bool ShowReport(report::Report& report, bool print, std::string* error) = 0;

    Answer MsgBox(const std::string& text, const std::string& title = "") {
        return MsgBox(text, Buttons::OK, Icon::None, title);
    }
};

// Answers from queues; when a queue is empty a question gets its default
// (No for Yes/No, Cancel for Yes/No/Cancel) and a file dialog is cancelled.
class ScriptedDialogs : public Dialogs {
public:
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> files;
    std::vector<Message> messages;
    std::vector<FileDialogRequest> fileRequests;
    int beeps = 0;
    int busyDepth = 0;
    std::string clipboard;
    std::vector<std::pair<std::string, int>> helpCalls;
    // Called for every message as it is shown (the command line prints them).
    std::function<void(const Message&)> onMessage;

    Answer MsgBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title) override;
    std::optional<std::string> FileDialog(const FileDialogRequest& r) override;
    void SetBusy(bool busy) override { busyDepth = busy ? 1 : 0; }
    void Beep() override { ++beeps; }
    std::string ClipboardText() override { return clipboard; }
    void SetClipboardText(const std::string& t) override { clipboard = t; }
    void ShowHelp(const std::string& file, int command) override { helpCalls.emplace_back(file, command); }
    // Reports are laid out and, when `reportPdf` is set, written there as PDF.
    bool ShowReport(report::Report& report, bool print, std::string* error) override;
    std::string reportPdf;
    struct ReportCall {
        bool print;
        int pages;
        bool written;  // to `reportPdf`
    };
    std::vector<ReportCall> reportCalls;

    // Texts of all messages shown so far, in order.
    std::vector<std::string> texts() const;
    using Dialogs::MsgBox;
};

}  // namespace verrane::platform
