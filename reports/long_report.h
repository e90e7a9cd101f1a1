#pragma once
// The long report: a title page and six pages of input data, hazard
// statistics and results.

#include <string>
#include <vector>

#include "platform/report.h"
#include "reports/report_data.h"

namespace verrane::reports {

class ActiveReport1 : public platform::report::Report {
public:
    explicit ActiveReport1(LongReportData data);

    // The report's events, run by the engine during layout.
    void ActiveReport_ReportStart();
    void ReportHeader_Format();
    void PageHeader_Format();
    void Detail_Format();
    void PageFooter_Format();

    LongReportData& data() { return data_; }

private:
    void Build();

    LongReportData data_;
};

}  // namespace verrane::reports
