#pragma once
// Reads what the two reports print from the screens and from the values the
// Benefit Cost Analysis screen keeps for them.
#include <memory>
#include <string>
#include <vector>

#include "platform/report.h"
#include "reports/report_data.h"

namespace verrane {

class App;

reports::LongReportData CollectLongReportData(App& app, std::vector<std::string>& notes);
reports::ShortReportData CollectShortReportData(App& app);

// The long (ActiveReport1) or short (ActiveReport2) report of the project,
// ready for preview, printing or export. `notes` receives what could not be
// read (a missing county table, say); the report is still produced.
// What went wrong during the report's last layout (a missing seal bitmap, say).
std::vector<std::string> ReportMessages(platform::report::Report& report);

std::unique_ptr<platform::report::Report> MakeReport(App& app, bool longReport, std::vector<std::string>& notes);

}  // namespace verrane
