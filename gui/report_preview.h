#pragma once
// The report window and the printer dialog: the report's show and print.

#include <QSize>
#include <functional>
#include <string>

#include "platform/report.h"

class QPrinter;
class QWidget;

namespace verrane::gui {

// Shows the report in a modal preview window with page navigation, zoom and
// its own print button. False with a message when the pages could not be
// drawn.
bool PreviewReport(platform::report::Report& report, QWidget* parent, std::string* error = nullptr);

// `wanted`, cut down to fit the free area of the screen `near` is on (or the
// primary screen), with `margin` pixels to spare for the frame. The preview,
// the help and the main window use it.
QSize FitToScreen(QSize wanted, QWidget* near = nullptr, int margin = 40);

// Asks for the printer first, then prints. False when the dialog is
// cancelled (the message stays empty) or the printing fails (with a
// message).
bool PrintReport(platform::report::Report& report, QWidget* parent, std::string* error = nullptr);

// The same two for any paged document of the given page size: `print` lays
// the document out on the printer it is handed, false with a message when it
// could not.
using PrintPages = std::function<bool(QPrinter& printer, std::string* error)>;
bool PreviewPages(const PrintPages& print, QSizeF pageInches, QWidget* parent, std::string* error = nullptr);
bool PrintPagesAfterDialog(const PrintPages& print, QSizeF pageInches, QWidget* parent, std::string* error = nullptr);

}  // namespace verrane::gui
