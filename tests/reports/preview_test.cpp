// The preview window draws every page, and closes cleanly.
#include "gui/report_preview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "reports/short_report.h"
#include "sample_report_data.h"

using namespace verrane::reports;

TEST(ReportPreview, DrawsThePagesAndCloses) {
    static int argc = 1;
    static char arg0[] = "report_preview_tests";
    static char* argv[] = {arg0, nullptr};
    static QApplication* app = new QApplication(argc, argv);  // outlives every font
    (void)app;
    ActiveReport2 r(sample::SampleShortData());
    QTimer::singleShot(300, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    std::string error;
    EXPECT_TRUE(verrane::gui::PreviewReport(r, nullptr, &error)) << error;
    EXPECT_EQ(r.LastLayout().pages.size(), 1u);
}
