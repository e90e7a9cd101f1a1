// The Benefit Cost Analysis window shows what the screen holds: the eight
// texts in their boxes, read-only, with the warning colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPalette>

#include "gui/form6_window.h"
#include "gui/screenshot.h"
#include "screens/mitigation/form5.h"
#include "tests/screens/analysis/open_project.h"

namespace verrane {
namespace {

int argc = 1;
char arg0[] = "analysis_window_tests";
char* argv[] = {arg0, nullptr};
void QtApp() {
    if (!QApplication::instance()) new QApplication(argc, argv);  // lives for the test process
}

TEST(Form6Window, ShowsTheResultsAndFollowsTheScreen) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    QtApp();
    test::TestApp t("");
    Form6* f6 = test::OpenAndAnalyse(t, test::ExamplesDir() / "oklahoma-school-gym.tor");
    ASSERT_NE(f6, nullptr);
    std::unique_ptr<QWidget> w(gui::CreateForm6Window(*f6));
    const auto boxes = w->findChildren<QLineEdit*>();
    ASSERT_EQ(boxes.size(), 8);
    // Top to bottom as on the screen: tornado benefits first, injuries last.
    const test::ResultTexts texts = test::ScreenTexts(*f6);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(boxes[i]->text().toStdString(), texts[static_cast<size_t>(i)]);
        EXPECT_TRUE(boxes[i]->isReadOnly());
    }
    // A later analysis reaches the window: net benefits turn red.
    t.app->form5().Text1[1].setText("90000000");
    f6->Hide();
    f6->Show();
    EXPECT_EQ(boxes[4]->text().toStdString(), f6->Text1[3].text());
    EXPECT_EQ(f6->Text1[3].text().substr(0, 2), " -");
    EXPECT_EQ(boxes[4]->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(boxes[5]->palette().color(QPalette::Text), QColor(255, 0, 0));
}

TEST(Form6Window, RendersAsAnImage) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    QtApp();
    platform::SetDataDir(VERRANE_SOURCE_DATA_DIR);
    const std::string out = (std::filesystem::temp_directory_path() / "verrane-analysis.png").string();
    std::string error, messages;
    ASSERT_EQ(gui::RenderScreenToPng("analysis", (test::ExamplesDir() / "red-river-plant-user-counties.tor").string(),
                                     out, error, messages),
              0)
        << error;
    QImage img(QString::fromStdString(out));
    ASSERT_FALSE(img.isNull());
    EXPECT_GT(img.width(), 300);
}

}  // namespace
}  // namespace verrane
