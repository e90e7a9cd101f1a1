#pragma once
// The report window and the printer dialog: the report's show and print.

#include <string>

#include "platform/report.h"

class QWidget;

namespace verrane::gui {

// Shows the report in a modal preview window with page navigation, zoom and
// its own print button. False with a message when the pages could not be
// drawn.
bool PreviewReport(platform::report::Report& report, QWidget* parent, std::string* error = nullptr);

// Asks for the printer first, then prints. False when the dialog is
// cancelled (the message stays empty) or the printing fails (with a
// message).
bool PrintReport(platform::report::Report& report, QWidget* parent, std::string* error = nullptr);

}  // namespace verrane::gui
