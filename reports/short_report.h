#pragma once
// The short report: a one-page summary of the project and its results.

#include <string>
#include <vector>

#include "platform/report.h"
#include "reports/report_data.h"

namespace verrane::reports {

class ActiveReport2 : public platform::report::Report {
public:
    explicit ActiveReport2(ShortReportData data);

    void ActiveReport_ReportStart();
    void Detail_Format();
    void PageFooter_Format();

    ShortReportData& data() { return data_; }

private:
    void Build();

    ShortReportData data_;
};

}  // namespace verrane::reports
