#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "gui/screenshot.h"
#include "platform/paths.h"
#include "tests/support/test_app.h"

namespace {
int argc = 1;
char arg0[] = "gui_tests";
char* argv[] = {arg0, nullptr};
void QtApp() {
    if (!QApplication::instance()) new QApplication(argc, argv);  // lives for the test process
}
}  // namespace

// Every window renders headless, and what it draws is a real window (not a blank).
TEST(Screenshots, StartAndProjectScreensRender) {
    QtApp();
    verrane::platform::SetDataDir(verrane::test::MakeFixtureDataDir("gui"));
    for (const char* screen : {"start", "project", "building", "mitigation"}) {
        const std::string out =
            (std::filesystem::temp_directory_path() / (std::string("verrane-") + screen + ".png")).string();
        std::string error, messages;
        ASSERT_EQ(verrane::gui::RenderScreenToPng(screen, "", out, error, messages), 0) << screen << ": " << error;
        QImage img(QString::fromStdString(out));
        ASSERT_FALSE(img.isNull()) << screen;
        EXPECT_GT(img.width(), 300) << screen;
        EXPECT_GT(img.height(), 100) << screen;
    }
    std::string error, messages;
    EXPECT_NE(verrane::gui::RenderScreenToPng("nonsense", "", "x.png", error, messages), 0);
    EXPECT_FALSE(error.empty());
}
