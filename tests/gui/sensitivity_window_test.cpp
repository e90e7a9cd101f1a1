// The sensitivity window as the user reaches and works it: the menu with the
// mouse, the buttons with the mouse, real file and printer dialogs answered
// by script or closed as they appear.
#include "gui/sensitivity_window.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/project_edit.h"
#include "gui/report_preview.h"
#include "gui/screenshot.h"
#include "gui/window_manager.h"
#include "platform/paths.h"
#include "screens/analysis/form6.h"
#include "screens/project/form2.h"
#include "tests/gui/widgets.h"
#include "tests/support/scratch.h"
#include "tests/support/sensitivity_fixture.h"
#include "tests/support/test_app.h"

using namespace verrane;
using test::ClickItem;
using test::EnsureQt;
using test::Find;
using test::OpenMenu;
namespace fs = std::filesystem;

namespace {

fs::path Example(const char* name) { return fs::path(VERRANE_SOURCE_DATA_DIR).parent_path() / "examples" / name; }

QString Shown(QWidget* window, const char* label) {
    auto* l = Find<QLabel>(window, label);
    return l ? l->text() : QString();
}

void Click(QWidget* window, const char* button) {
    auto* b = Find<QPushButton>(window, button);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->isVisible() && b->isEnabled()) << button;
    QTest::mouseClick(b, Qt::LeftButton);
}

// The window on its own, with the sample run and scripted dialogs.
struct Window {
    bool qt = (EnsureQt(), true);  // before the first widget
    platform::ScriptedDialogs dialogs;
    gui::SensitivityWindow window{dialogs};
    fs::path folder;
    explicit Window(const std::string& tag) {
        folder = test::ScratchFile("sensitivity-window", tag);
        fs::remove_all(folder);
        fs::create_directories(folder);
        window.SetResult(test::SampleSensitivity());
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    size_t Files() const { return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {})); }
};

std::string PdfText(const fs::path& pdf) {
    const auto txt = fs::path(pdf).replace_extension(".txt");
    if (std::system(("pdftotext -layout '" + pdf.string() + "' '" + txt.string() + "' 2>/dev/null").c_str()) != 0)
        return {};
    const std::string text = test::FileBytes(txt);
    fs::remove(txt);
    return text;
}

}  // namespace

// From the project screen, "BC Analysis" > "Sensitivity..." goes to the
// results as "BC Analysis Results" does, then opens the window over them,
// showing what the results screen shows.
TEST(SensitivityWindow, TheMenuWithTheMouseAnalysesThenOpensTheWindow) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    EnsureQt();
    test::TestApp t("");
    gui::WindowManager windows(*t.app);
    windows.quitWhenEmpty = false;
    App& app = *t.app;
    ASSERT_TRUE(OpenProjectFile(app, t.dialogs, Example("oklahoma-school-gym.tor")).ok());
    QWidget* w = windows.frontWindow();
    ASSERT_NE(w, nullptr);
    w->window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w->window()));
    EXPECT_EQ(app.Loaded<Form6>(), nullptr);

    ClickItem(OpenMenu(w, "&BC Analysis"), "Sensitivity...");
    Form6* f6 = app.Loaded<Form6>();
    ASSERT_NE(f6, nullptr);
    EXPECT_EQ(app.front(), f6);
    gui::SensitivityWindow* s = windows.sensitivityWindow();
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(s));
    EXPECT_EQ(s->parentWidget(), static_cast<QWidget*>(windows.mainWindow()));
    EXPECT_EQ(Shown(s, "TotalBenefits"), QString::fromStdString(f6->Texts[kTotalBenefitsBox]).trimmed());
    EXPECT_EQ(Shown(s, "AnnualizedCost"), QString::fromStdString(f6->Texts[kAnnualizedCostBox]).trimmed());
    EXPECT_EQ(Shown(s, "NetBenefits"), QString::fromStdString(f6->Texts[kNetBenefitsBox]).trimmed());
    EXPECT_EQ(Shown(s, "BenefitCostRatio"), QString::fromStdString(f6->Texts[kBenefitCostRatioBox]).trimmed());
    EXPECT_EQ(s->result().file, app.ProjectFileName);
    EXPECT_EQ(Shown(s, "BuildingName").toStdString(), app.form2().StoreDocument().buildingName);
    for (const char* b : {"PrintPreview", "Print", "ExportPdf", "Close"}) EXPECT_NE(Find<QPushButton>(s, b), nullptr);
    // In words, on the window itself: the largest swing and the input left out.
    EXPECT_EQ(Shown(s, "SwingSentence"),
              "The region moves the ratio most, from 0.67 (250 miles) to 2.93 (the county alone); the ratio crosses "
              "1 between 50 miles and 100 miles.");
    EXPECT_TRUE(Find<QLabel>(s, "SwingSentence")->isVisible());
    EXPECT_EQ(Shown(s, "SensitivityNotes"),
              "Hurricane occupancy is not varied: the project has none, so scaling it cannot change the result.");
    EXPECT_TRUE(Find<QLabel>(s, "SensitivityNotes")->isVisible());
    for (const auto& v : s->result().variations) {
        EXPECT_FALSE(v.label.empty()) << v.input;
        EXPECT_FALSE(v.input == "DesignWindSpeed" && v.value == "0");
    }
    Click(s, "Close");
    EXPECT_FALSE(s->isVisible());

    // On the results screen the menu leads to the same window, computed
    // again with the busy pointer on while the results are in front.
    int runs = 0;
    bool busy = false, resultsInFront = false;
    windows.sensitivityResult = [&] {
        ++runs;
        busy = t.dialogs.busyDepth > 0;
        resultsInFront = app.front() == f6;
        return test::SampleSensitivity();
    };
    w = windows.frontWindow();
    QMenu* menu = OpenMenu(w, "&BC Analysis");
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(test::Action(menu, "BC Analysis Results")->isEnabled());
    ClickItem(menu, "Sensitivity...");
    EXPECT_EQ(windows.sensitivityWindow(), s);
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(busy);
    EXPECT_TRUE(resultsInFront);
    EXPECT_EQ(t.dialogs.busyDepth, 0);
    EXPECT_EQ(Shown(s, "BuildingName"), "Lincoln Elementary School Gymnasium");
    EXPECT_EQ(Shown(s, "BreakevenDiscountRate"), "none between 0 and 20 %");
    s->close();

    // A run that fails says so and opens nothing.
    windows.sensitivityResult = []() -> model::SensitivityResult { throw std::runtime_error("No data."); };
    ClickItem(OpenMenu(w, "&BC Analysis"), "Sensitivity...");
    ASSERT_FALSE(t.dialogs.messages.empty());
    EXPECT_EQ(t.dialogs.messages.back().text, "The sensitivity could not be computed. No data.");
    EXPECT_FALSE(s->isVisible());
}

// Export PDF: ".pdf" added when missing, the same document as the command
// line's; a cancelled dialog writes nothing; a failed write says why.
TEST(SensitivityWindow, ExportPdfWritesTheDocumentOrSaysWhyNot) {
    Window t("export");
    t.dialogs.files = {(t.folder / "gym").string()};
    Click(&t.window, "ExportPdf");
    ASSERT_EQ(t.dialogs.fileRequests.size(), 1u);
    EXPECT_TRUE(t.dialogs.fileRequests[0].save);
    EXPECT_NE(t.dialogs.fileRequests[0].filter.find("*.pdf"), std::string::npos);
    const fs::path pdf = t.folder / "gym.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(test::FileBytes(pdf).substr(0, 5), "%PDF-");
    EXPECT_TRUE(t.dialogs.messages.empty());
    const std::string text = PdfText(pdf);
    if (!text.empty()) {
        for (const char* label : {"Sensitivity of the Benefit Cost Ratio", "Benefit Cost Ratio by Input", "Ratio = 1",
                                  "Breakeven Values", "90 % Interval from the Tornado Record", "All Variations"})
            EXPECT_NE(text.find(label), std::string::npos) << label;
    }

    // Cancelled: nothing new, nothing said.
    t.dialogs.files = {std::nullopt};
    Click(&t.window, "ExportPdf");
    EXPECT_EQ(t.Files(), 1u);
    EXPECT_TRUE(t.dialogs.messages.empty());

    // A name that ends in .pdf in any case is kept as it is.
    t.dialogs.files = {(t.folder / "Upper.PDF").string()};
    Click(&t.window, "ExportPdf");
    EXPECT_TRUE(fs::exists(t.folder / "Upper.PDF"));
    EXPECT_FALSE(fs::exists(t.folder / "Upper.PDF.pdf"));

    // The dialog asked about "old", not "old.pdf": that question is ours.
    { std::ofstream(t.folder / "old.pdf") << "kept"; }
    t.dialogs.files = {(t.folder / "old").string()};
    t.dialogs.answers = {platform::Answer::No};
    Click(&t.window, "ExportPdf");
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_EQ(t.dialogs.messages[0].text, "old.pdf already exists.\nDo you want to replace it?");
    EXPECT_EQ(test::FileBytes(t.folder / "old.pdf"), "kept");
    t.dialogs.files = {(t.folder / "old").string()};
    t.dialogs.answers = {platform::Answer::Yes};
    Click(&t.window, "ExportPdf");
    EXPECT_EQ(test::FileBytes(t.folder / "old.pdf").substr(0, 5), "%PDF-");

    // A folder where the file should go: the write fails, and says so.
    t.dialogs.messages.clear();
    fs::create_directories(t.folder / "taken.pdf" / "inside");
    t.dialogs.files = {(t.folder / "taken.pdf").string()};
    Click(&t.window, "ExportPdf");
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_EQ(t.dialogs.messages[0].title, "Export PDF");
    EXPECT_EQ(t.dialogs.messages[0].icon, platform::Icon::Exclamation);
    EXPECT_NE(t.dialogs.messages[0].text.find("could not be written"), std::string::npos);
    EXPECT_NE(t.dialogs.messages[0].text.find("it is a folder"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(t.folder / "taken.pdf" / "inside"));
    EXPECT_EQ(t.dialogs.busyDepth, 0);
}

// Print Preview shows both pages of the document; Print asks for the
// printer first, and a cancelled printer dialog prints nothing and says
// nothing.
TEST(SensitivityWindow, PrintPreviewAndPrintOpenTheirDialogs) {
    Window t("print");
    int previewPages = -1;
    bool sawPrintDialog = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
            if (auto* pages = preview->findChild<QPrintPreviewWidget*>()) previewPages = pages->pageCount();
            preview->reject();
        } else if (auto* print = qobject_cast<QPrintDialog*>(modal)) {
            sawPrintDialog = true;
            print->reject();
        }
    });
    closer.start(50);
    Click(&t.window, "PrintPreview");
    EXPECT_EQ(previewPages, 2);
    Click(&t.window, "Print");
    EXPECT_TRUE(sawPrintDialog);
    EXPECT_TRUE(t.dialogs.messages.empty());
    EXPECT_EQ(t.Files(), 0u);
}

// At 1024x768 the window, its chart and its buttons lie whole on the
// screen, whatever the length of the project's path and building name.
TEST(SensitivityWindow, FitsA1024By768Screen) {
    Window t("look");
    auto r = t.window.result();
    r.file = std::string(300, 'x') + ".tor";
    r.buildingName = "A building whose name runs on and on " + std::string(12, 'y') + " " + std::string(200, 'z');
    t.window.SetResult(r);
    // The offscreen screen is smaller: size the window as on a 1024x768 one.
    t.window.resize(gui::kSensitivityWindowSize);
    QApplication::processEvents();
    EXPECT_EQ(t.window.size(), gui::kSensitivityWindowSize);
    const QRect inside = t.window.rect();
    for (QWidget* child : t.window.findChildren<QWidget*>()) {
        if (!child->isVisible()) continue;
        EXPECT_TRUE(inside.contains(QRect(child->mapTo(&t.window, QPoint()), child->size())))
            << child->objectName().toStdString();
    }
    auto* chart = Find<QWidget>(&t.window, "SwingChart");
    ASSERT_NE(chart, nullptr);
    EXPECT_GE(chart->height(), chart->minimumSizeHint().height());
    EXPECT_TRUE(t.window.grab().save(QString::fromStdString((t.folder / "window.png").string())));
}

// "verrane-cli screenshot sensitivity" renders the window over a project's results.
TEST(SensitivityWindow, RendersForTheScreenshotCommand) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    EnsureQt();
    platform::SetDataDir(VERRANE_SOURCE_DATA_DIR);
    const auto png = test::ScratchFile("sensitivity-window", "screenshot.png");
    fs::remove(png);
    std::string error, messages;
    ASSERT_EQ(gui::RenderScreenToPng("sensitivity", Example("kansas-community-shelter.tor").string(), png.string(),
                                     error, messages),
              0)
        << error;
    const QImage image(QString::fromStdString(png.string()));
    EXPECT_EQ(image.size(), gui::kSensitivityWindowSize);
}
