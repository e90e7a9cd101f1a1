#pragma once
// The desktop's dialogs: real modal message boxes and file dialogs, the
// hourglass pointer, the system beep, the clipboard and the help window.
#include <QPointer>
#include <QWidget>

#include "platform/dialogs.h"

namespace verrane::gui {

// The settings key of the folder the file dialogs last chose a file in.
inline constexpr const char* kLastFolderKey = "files/lastFolder";

class QtDialogs : public platform::Dialogs {
public:
    platform::Answer MsgBox(const std::string& text, platform::Buttons buttons, platform::Icon icon,
                            const std::string& title) override;
    std::optional<std::string> FileDialog(const platform::FileDialogRequest& r) override;
    void SetBusy(bool busy) override;
    void Beep() override;
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& t) override;
    void ShowHelp(const std::string& helpFile, int command) override;
    void Refresh() override;
    bool ShowReport(platform::report::Report& report, bool print, std::string* error) override;
    using platform::Dialogs::MsgBox;

    // The window the dialogs are modal to (the screen in front).
    std::function<QWidget*()> parent;
    // With nobody at the screen (`verrane --check-start`): each message is
    // written to standard error and answered with its default (No, Cancel),
    // and a file dialog is cancelled.
    bool unattended = false;

private:
    int busy_ = 0;
};

}  // namespace verrane::gui
