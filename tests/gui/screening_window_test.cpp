// The screening window as the user reaches and works it: the menu, the
// choices and Run with the mouse, a click on the map, the headings of the
// table, Cancel in the progress window, and the exports; its rows against
// those of `verrane-cli screen` for the same project.
#include "gui/screening_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

#include <filesystem>
#include <sstream>

#include <nlohmann/json.hpp>

#include "app/project_edit.h"
#include "cli/screen.h"
#include "gui/window_manager.h"
#include "screens/building/form3.h"
#include "screens/project/form2.h"
#include "tests/gui/widgets.h"
#include "tests/support/scratch.h"
#include "tests/support/test_app.h"

using namespace verrane;
using test::ClickItem;
using test::EnsureQt;
using test::Find;
using test::OpenMenu;
namespace fs = std::filesystem;
using nlohmann::json;

namespace {

fs::path Example(const char* name) { return fs::path(VERRANE_SOURCE_DATA_DIR).parent_path() / "examples" / name; }

fs::path Scratch(const std::string& name) {
    return test::ScratchFile("screening-window-" + std::to_string(getpid()), name);
}

QString Shown(QWidget* window, const char* label) {
    auto* l = Find<QLabel>(window, label);
    return l ? l->text() : QString();
}

void Click(QWidget* window, const char* button) {
    auto* b = Find<QAbstractButton>(window, button);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->isVisible() && b->isEnabled()) << button;
    // An option takes a click on its circle or its words, not beside them.
    if (qobject_cast<QRadioButton*>(b))
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    else
        QTest::mouseClick(b, Qt::LeftButton);
}

// The program with its windows, a project opened with File > Open.
struct Session {
    bool qt = (EnsureQt(), true);  // before the first widget
    test::TestApp t{""};
    gui::WindowManager windows{*t.app};
    explicit Session(const fs::path& project) {
        windows.quitWhenEmpty = false;
        EXPECT_TRUE(OpenProjectFile(*t.app, t.dialogs, project.string()).ok());
        QWidget* w = windows.frontWindow();
        w->window()->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w->window()));
    }
    // "BC Analysis" > "Screen Counties..." with the mouse.
    gui::ScreeningWindow* Open() {
        QMenu* menu = OpenMenu(windows.frontWindow(), "&BC Analysis");
        QStringList items;
        for (QAction* a : menu ? menu->actions() : QList<QAction*>()) items << a->text();
        EXPECT_EQ(items.join(" | "), "BC Analysis Results | Sensitivity... | Screen Counties...");
        ClickItem(menu, "Screen Counties...");
        gui::ScreeningWindow* s = windows.screeningWindow();
        if (s) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(s));
        }
        return s;
    }
};

struct CliRun {
    int status = -1;
    std::string out, err;
};

CliRun ScreenWithCli(const cli::ScreenRequest& r) {
    std::ostringstream out, err;
    const int status = cli::RunScreen(r, out, err);
    return {status, out.str(), err.str()};
}

QTableWidget* TableOf(QWidget* w) { return Find<QTableWidget>(w, "ScreenTable"); }

// The column of a CSV name, by the heading's tip.
int ColumnOf(QTableWidget* table, const char* csvName) {
    for (int c = 0; c < table->columnCount(); ++c)
        if (table->horizontalHeaderItem(c)->toolTip() == csvName) return c;
    ADD_FAILURE() << csvName;
    return -1;
}

// Every cell of the table against the command's JSON rows, in the table's
// present order: the same county, the same numbers to the last bit, empty
// where the JSON has null.
void ExpectTableHolds(QTableWidget* table, const json& rows) {
    ASSERT_EQ(table->rowCount(), static_cast<int>(rows.size()));
    std::map<std::string, const json*> byFips;
    for (const json& row : rows) byFips[row["FIPS"]] = &row;
    for (int r = 0; r < table->rowCount(); ++r) {
        const json& row = *byFips.at(table->item(r, 0)->text().toStdString());
        SCOPED_TRACE(row.dump());
        EXPECT_EQ(table->item(r, ColumnOf(table, "State"))->text().toStdString(), row["State"]);
        EXPECT_EQ(table->item(r, ColumnOf(table, "County"))->text().toStdString(), row["County"]);
        for (const char* key :
             {"TornadoBenefits", "HurricaneBenefits", "TotalBenefits", "AnnualizedCost", "NetBenefits",
              "BenefitCostRatio", "SampleCounties", "F3Tornadoes", "Sufficient", "HurricaneOccupancyIgnored"}) {
            const QVariant v = table->item(r, ColumnOf(table, key))->data(Qt::UserRole);
            if (row[key].is_null()) {
                EXPECT_FALSE(v.isValid()) << key;
            } else if (row[key].is_boolean()) {
                EXPECT_EQ(v.toDouble(), row[key].get<bool>() ? 1.0 : 0.0) << key;
            } else {
                EXPECT_EQ(v.toDouble(), row[key].get<double>()) << key;
            }
        }
    }
}

// The project moved to Delaware on the Project Information screen and saved
// there with File > Save As: the same project for the window and the command.
fs::path MovedToDelaware(Session& s) {
    QWidget* w = s.windows.frontWindow();
    test::Choose(w, "Combo3", "Delaware");
    test::Choose(w, "Combo2", "Kent");
    const fs::path saved = Scratch("delaware.tor");
    fs::remove(saved);
    s.t.dialogs.files.push_back(saved.string());
    s.t.app->form2().FindMenu("mnusaveas")->click();
    EXPECT_TRUE(fs::exists(saved));
    return saved;
}

// Clicks Cancel in the progress window as soon as it is up.
void CancelWhenProgressShows(QWidget* window, bool& cancelled) {
    QTimer::singleShot(0, window, [window, &cancelled] {
        auto* progress = window->findChild<QProgressDialog*>("ScreeningProgress");
        auto* cancel = progress ? progress->findChild<QPushButton*>() : nullptr;
        if (!cancel || !progress->isVisible()) return CancelWhenProgressShows(window, cancelled);
        QTest::mouseClick(cancel, Qt::LeftButton);
        cancelled = true;
    });
}

}  // namespace

// The menu opens the window over the project; Run over the project's state
// (Delaware) shows the rows of `verrane-cli screen` for the same project,
// every number the same; the headings of the table sort it, numbers as
// numbers; a click on a county on the map picks its row.
TEST(ScreeningWindow, RunsTheCommandsRowsAndFindsACountyFromTheMap) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    Session s(Example("oklahoma-school-gym.tor"));
    const fs::path project = MovedToDelaware(s);
    gui::ScreeningWindow* w = s.Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), static_cast<QWidget*>(s.windows.mainWindow()));
    EXPECT_EQ(w->windowTitle(), "Screen Counties");
    EXPECT_EQ(Shown(w, "BuildingName"), "Prairie Ridge Elementary School Gymnasium");
    EXPECT_EQ(Shown(w, "ProjectFile"), QString::fromStdString("Project file: " + project.string()));
    EXPECT_EQ(Find<QRadioButton>(w, "ScopeState")->text(), "The counties of Delaware");
    EXPECT_TRUE(Find<QRadioButton>(w, "ScopeState")->isChecked());
    EXPECT_EQ(Find<QComboBox>(w, "RegionRule")->currentText(), "The project's own: counties within 50 miles");
    EXPECT_FALSE(Find<QPushButton>(w, "ExportCsv")->isEnabled());
    EXPECT_EQ(TableOf(w)->rowCount(), 0);

    Click(w, "Run");
    cli::ScreenRequest request;
    request.templateFile = project.string();
    request.state = "Delaware";
    request.json = true;
    const CliRun cli = ScreenWithCli(request);
    ASSERT_EQ(cli.status, 0) << cli.err;
    EXPECT_EQ(cli::ScreenJson(w->rows()), cli.out);
    const json rows = json::parse(cli.out);
    ASSERT_EQ(rows.size(), 3u);
    QTableWidget* table = TableOf(w);
    // The counties' own order first.
    for (int r = 0; r < 3; ++r) EXPECT_EQ(table->item(r, 0)->text().toStdString(), rows[r]["FIPS"]);
    ExpectTableHolds(table, rows);
    const auto atLeastOne = std::count_if(rows.begin(), rows.end(), [](const json& r) {
        return !r["BenefitCostRatio"].is_null() && r["BenefitCostRatio"].get<double>() >= 1;
    });
    EXPECT_EQ(Shown(w, "Summary"),
              QString("The counties of Delaware; region of each: counties within 50 miles. 3 screened; the "
                      "benefit-cost ratio is 1 or more in %1.")
                  .arg(atLeastOne));
    EXPECT_FALSE(Find<QLabel>(w, "HurricaneNote")->isVisible());
    QStringList headings;
    for (int c = 0; c < table->columnCount(); ++c)
        headings << table->horizontalHeaderItem(c)->text().replace('\n', ' ');
    EXPECT_EQ(headings.join(" | "),
              "FIPS | State | County | Tornado Benefits ($) | Hurricane Benefits ($) | Total Benefits ($) | "
              "Annualized Cost ($) | Net Benefits ($) | Benefit Cost Ratio | Sample Counties | F3 Tornadoes | "
              "Sufficient Record | Hurricane Occupancy Taken as 0");

    // A click on the ratio's heading sorts by the ratio, up then down.
    const int ratio = ColumnOf(table, "BenefitCostRatio");
    auto clickHeading = [table](int column) {
        QHeaderView* header = table->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    auto ratios = [table, ratio] {
        std::vector<double> out;
        for (int r = 0; r < table->rowCount(); ++r) out.push_back(table->item(r, ratio)->data(Qt::UserRole).toDouble());
        return out;
    };
    clickHeading(ratio);
    std::vector<double> up = ratios();
    EXPECT_TRUE(std::is_sorted(up.begin(), up.end()));
    clickHeading(ratio);
    std::vector<double> down = ratios();
    EXPECT_TRUE(std::is_sorted(down.rbegin(), down.rend()));
    EXPECT_NE(up, down);
    ExpectTableHolds(table, rows);

    // A click inside each county on the map picks its row, wherever the sort put it.
    auto* view = Find<gui::ScreenMapView>(w, "ScreenMap");
    ASSERT_NE(w->map(), nullptr);
    for (const json& row : rows) {
        const std::string fips = row["FIPS"];
        SCOPED_TRACE(fips);
        const QRect bounds = w->map()->CountyBounds(fips);
        ASSERT_FALSE(bounds.isEmpty());
        // A pixel well inside the county: it and its neighbours show it.
        std::optional<QPoint> inside;
        for (int y = bounds.top(); y <= bounds.bottom() && !inside; ++y)
            for (int x = bounds.left(); x <= bounds.right() && !inside; ++x) {
                bool all = true;
                for (int d = -6; d <= 6 && all; d += 3)
                    all = w->map()->FipsAt({x + d, y}) == fips && w->map()->FipsAt({x, y + d}) == fips;
                if (all) inside = QPoint(x, y);
            }
        ASSERT_TRUE(inside);
        QTest::mouseClick(view, Qt::LeftButton, {}, view->WidgetPointOf(*inside));
        const QList<QTableWidgetItem*> picked = table->selectedItems();
        ASSERT_FALSE(picked.isEmpty());
        EXPECT_EQ(table->item(picked.front()->row(), 0)->text().toStdString(), fips);
        EXPECT_EQ(table->currentRow(), picked.front()->row());
        // and is outlined on the map.
        EXPECT_EQ(view->selected(), fips);
    }
    // Outside every county nothing changes.
    const int before = table->currentRow();
    QTest::mouseClick(view, Qt::LeftButton, {}, view->WidgetPointOf({4, 4}));
    EXPECT_EQ(table->currentRow(), before);
}

// Every county of the country, from a project with hurricane occupants: the
// rows and the notes on the states that are not hurricane-prone are the
// command's, in its words.
TEST(ScreeningWindow, EveryCountyWithTheCommandsHurricaneNotes) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    const fs::path project = Example("mississippi-coast-hospital.tor");
    Session s(project);
    gui::ScreeningWindow* w = s.Open();
    ASSERT_NE(w, nullptr);
    Click(w, "ScopeAll");
    ASSERT_TRUE(Find<QRadioButton>(w, "ScopeAll")->isChecked());
    Click(w, "Run");
    cli::ScreenRequest request;
    request.templateFile = project.string();
    request.all = true;
    request.json = true;
    const CliRun cli = ScreenWithCli(request);
    ASSERT_EQ(cli.status, 0) << cli.err;
    EXPECT_EQ(cli::ScreenJson(w->rows()), cli.out);
    EXPECT_EQ(TableOf(w)->rowCount(), static_cast<int>(w->rows().size()));

    // Each "verrane-cli: X is not hurricane-prone: ..." line, as a sentence.
    QStringList notes;
    std::istringstream lines(cli.err);
    for (std::string line; std::getline(lines, line);)
        if (line.find("is not hurricane-prone") != std::string::npos)
            notes << QString::fromStdString(line.substr(std::string("verrane-cli: ").size()) + ".");
    ASSERT_GT(notes.size(), 10);
    EXPECT_EQ(Shown(w, "HurricaneNote"), notes.join("\n"));
    EXPECT_TRUE(Find<QLabel>(w, "HurricaneNote")->isVisible());
    EXPECT_TRUE(
        Shown(w, "Summary").startsWith("Every county; region of each: counties within 50 miles. 3231 screened; "));
}

// The region choices are the command's options: a radius typed into the
// box is --radius, the entire state is --entire-state.
TEST(ScreeningWindow, TheRegionChoicesAreTheCommandsOptions) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    const fs::path project = Example("oklahoma-school-gym.tor");
    Session s(project);
    gui::ScreeningWindow* w = s.Open();
    ASSERT_NE(w, nullptr);
    auto* radius = Find<QSpinBox>(w, "RadiusMiles");
    EXPECT_FALSE(radius->isEnabled());
    test::Choose(w, "RegionRule", "Counties within a radius");
    ASSERT_TRUE(radius->isEnabled());
    radius->setFocus();
    radius->selectAll();
    QTest::keyClicks(radius, "25");
    EXPECT_EQ(radius->value(), 25);
    Click(w, "Run");
    cli::ScreenRequest request;
    request.templateFile = project.string();
    request.state = "Oklahoma";
    request.json = true;
    request.radius = 25;
    EXPECT_EQ(cli::ScreenJson(w->rows()), ScreenWithCli(request).out);
    EXPECT_TRUE(Shown(w, "Summary").startsWith("The counties of Oklahoma; region of each: counties within 25 miles. "));

    test::Choose(w, "RegionRule", "The entire state");
    EXPECT_FALSE(radius->isEnabled());
    Click(w, "Run");
    request.radius.reset();
    request.entireState = true;
    EXPECT_EQ(cli::ScreenJson(w->rows()), ScreenWithCli(request).out);
    EXPECT_TRUE(Shown(w, "Summary").startsWith("The counties of Oklahoma; region of each: entire state. "));
}

// Cancel in the progress window: no half table. A first run leaves the table
// empty; a later one leaves the last finished run's rows and map.
TEST(ScreeningWindow, CancelLeavesNoHalfTable) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    Session s(Example("kansas-community-shelter.tor"));
    gui::ScreeningWindow* w = s.Open();
    ASSERT_NE(w, nullptr);
    Click(w, "ScopeAll");
    bool cancelled = false;
    CancelWhenProgressShows(w, cancelled);
    Click(w, "Run");
    ASSERT_TRUE(cancelled);
    EXPECT_TRUE(w->rows().empty());
    EXPECT_EQ(TableOf(w)->rowCount(), 0);
    EXPECT_EQ(w->map(), nullptr);
    EXPECT_EQ(Shown(w, "Summary"), "The screening was cancelled.");
    EXPECT_FALSE(Find<QPushButton>(w, "ExportCsv")->isEnabled());

    Click(w, "ScopeState");
    Click(w, "Run");
    ASSERT_EQ(TableOf(w)->rowCount(), 105);
    const std::string kansas = cli::ScreenJson(w->rows());
    Click(w, "ScopeAll");
    cancelled = false;
    CancelWhenProgressShows(w, cancelled);
    Click(w, "Run");
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(cli::ScreenJson(w->rows()), kansas);
    EXPECT_EQ(TableOf(w)->rowCount(), 105);
    for (int r = 0; r < 105; ++r) EXPECT_EQ(TableOf(w)->item(r, 1)->text(), "Kansas");
    EXPECT_NE(w->map(), nullptr);
    EXPECT_EQ(Shown(w, "Summary"), "The screening was cancelled; the table shows the last one finished.");
}

// Export CSV... writes the command's CSV and Export PNG... the map, each
// asked for in the project's folder with its extension added; a folder as
// the target is refused with the reason and nothing is written.
TEST(ScreeningWindow, ExportsTheCommandsCsvAndTheMapOrSaysWhyNot) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    const fs::path folder = Scratch("exports");
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path project = folder / "gym.tor";
    fs::copy_file(Example("oklahoma-school-gym.tor"), project);
    Session s(project);
    gui::ScreeningWindow* w = s.Open();
    ASSERT_NE(w, nullptr);
    Click(w, "Run");
    ASSERT_EQ(w->rows().size(), 77u);

    s.t.dialogs.files = {(folder / "rows").string()};
    s.t.dialogs.fileRequests.clear();
    s.t.dialogs.messages.clear();
    Click(w, "ExportCsv");
    ASSERT_EQ(s.t.dialogs.fileRequests.size(), 1u);
    EXPECT_TRUE(s.t.dialogs.fileRequests[0].save);
    EXPECT_EQ(fs::path(s.t.dialogs.fileRequests[0].folder), folder);
    EXPECT_NE(s.t.dialogs.fileRequests[0].filter.find("*.csv"), std::string::npos);
    EXPECT_TRUE(s.t.dialogs.messages.empty());
    cli::ScreenRequest request;
    request.templateFile = project.string();
    request.state = "Oklahoma";
    request.csvFile = (folder / "cli.csv").string();
    ASSERT_EQ(ScreenWithCli(request).status, 0);
    ASSERT_TRUE(fs::exists(folder / "rows.csv"));
    EXPECT_EQ(test::FileBytes(folder / "rows.csv"), test::FileBytes(folder / "cli.csv"));

    s.t.dialogs.files = {(folder / "map").string()};
    Click(w, "ExportPng");
    EXPECT_EQ(fs::path(s.t.dialogs.fileRequests.back().folder), folder);
    QImage png;
    ASSERT_TRUE(png.load(QString::fromStdString((folder / "map.png").string()), "PNG"));
    EXPECT_EQ(png.size(), w->map()->image().size());
    EXPECT_TRUE(s.t.dialogs.messages.empty());

    // A folder is refused, with the reason; nothing is written into it or beside it.
    const fs::path target = folder / "a folder";
    fs::create_directory(target);
    const auto filesBefore = std::distance(fs::directory_iterator(folder), {});
    for (const char* button : {"ExportCsv", "ExportPng"}) {
        s.t.dialogs.messages.clear();
        s.t.dialogs.files = {target.string()};
        Click(w, button);
        ASSERT_EQ(s.t.dialogs.messages.size(), 1u) << button;
        EXPECT_NE(s.t.dialogs.messages[0].text.find("folder"), std::string::npos) << s.t.dialogs.messages[0].text;
        EXPECT_EQ(s.t.dialogs.messages[0].title, button == std::string("ExportCsv") ? "Export CSV" : "Export PNG");
        EXPECT_TRUE(fs::is_empty(target));
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), filesBefore);
    }
    // Nor is the project itself.
    const std::string before = test::FileBytes(project);
    s.t.dialogs.messages.clear();
    s.t.dialogs.files = {project.string()};
    Click(w, "ExportCsv");
    ASSERT_EQ(s.t.dialogs.messages.size(), 1u);
    EXPECT_EQ(test::FileBytes(project), before);
}

// A project that lacks inputs an analysis needs is not screened: the
// message names them and no window opens.
TEST(ScreeningWindow, AProjectThatCannotBeAnalysedIsRefusedWithTheMissingInputs) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    Session s(Example("oklahoma-school-gym.tor"));
    s.t.app->form3().Text1[0].setText("");  // the building's length
    s.t.dialogs.messages.clear();
    // (The menu is off for such a project; the host is asked as the menu asks it.)
    s.t.app->ShowScreening();
    EXPECT_EQ(s.windows.screeningWindow(), nullptr);
    ASSERT_EQ(s.t.dialogs.messages.size(), 1u);
    EXPECT_EQ(s.t.dialogs.messages[0].title, "Screen Counties");
    EXPECT_EQ(s.t.dialogs.messages[0].text,
              "The counties cannot be screened until these inputs of the project are entered: Building longest "
              "length (feet) [BuildingLength].");
}

// The window fits a 1024x768 screen with its frame, its table's columns
// side by side without scrolling, with the country and its notes.
TEST(ScreeningWindow, FitsA1024By768Screen) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    Session s(Example("mississippi-coast-hospital.tor"));
    gui::ScreeningWindow* w = s.Open();
    ASSERT_NE(w, nullptr);
    Click(w, "ScopeAll");
    Click(w, "Run");
    EXPECT_TRUE(w->SelectCounty("28047"));  // Harrison, Mississippi
    w->resize(gui::kScreeningWindowSize);
    QApplication::processEvents();
    EXPECT_LE(w->frameGeometry().width(), 1024);
    EXPECT_LE(w->frameGeometry().height(), 768 - 24);
    EXPECT_FALSE(TableOf(w)->horizontalScrollBar()->isVisible());
    std::string error;
    EXPECT_TRUE(gui::WriteWidgetPng(w, Scratch("screening-1024x768.png"), error)) << error;
}
