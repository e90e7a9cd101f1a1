// verrane-cli edit: what it writes is what the window saves after the same
// typing, every name reaches its own box, and a refused value writes nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>

#include "gui/window_manager.h"
#include "platform/textfile.h"
#include "project/project_file.h"
#include "screens/start/form1.h"
#include "tests/cli/run_cli.h"
#include "tests/support/test_app.h"

namespace verrane {
namespace {

namespace fs = std::filesystem;
using test::ShellWord;

const fs::path kExample = fs::path(VERRANE_SOURCE_DIR) / "examples" / "oklahoma-school-gym.tor";

test::CliRun Edit(const std::vector<std::string>& sets, const fs::path& out, const fs::path& in = kExample) {
    std::string args = "edit " + ShellWord(in.string());
    for (const auto& s : sets) args += " --set " + ShellWord(s);
    return test::RunCli(args + " -o " + ShellWord(out.string()));
}

project::ProjectDocument Read(const fs::path& file) { return project::ParseProjectFile(platform::ReadTextLines(file)); }

// The window, as the user works it: the start screen, buttons, boxes typed
// into key by key and left for another, the File menu.
struct Window {
    test::TestApp t{""};
    gui::WindowManager windows{*t.app};
    Window() { windows.quitWhenEmpty = false; }
    static bool Qt() {
        static int argc = 1;
        static char arg0[] = "cli_edit_tests";
        static char* argv[] = {arg0, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);  // lives for the test process
        return true;
    }
    QWidget* Front() {
        QWidget* w = windows.frontWindow();
        EXPECT_NE(w, nullptr);
        if (!w) return nullptr;
        w->window()->show();
        w->window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w->window()));
        return w;
    }
    template <class W>
    W* Find(const char* name) {
        QWidget* f = Front();
        W* w = f ? f->findChild<W*>(name) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* name) {
        auto* b = Find<QAbstractButton>(name);
        if (!b) return;
        const QPoint at = qobject_cast<QRadioButton*>(b) ? QPoint(8, b->height() / 2) : b->rect().center();
        QTest::mouseClick(b, Qt::LeftButton, {}, at);
    }
    // Clicks into the box, selects what it holds, types over it, then clicks
    // into the box `next` (leaving the first).
    template <class Box>
    void Type(const char* name, const QString& text, const char* next) {
        auto* e = Find<Box>(name);
        if (!e) return;
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(e, text);
        if (auto* n = Find<QLineEdit>(next)) QTest::mouseClick(n, Qt::LeftButton);
    }
    void SaveAs(const fs::path& file) {
        t.dialogs.files = {file.string()};
        auto* bar = Front()->findChild<QMenuBar*>();
        ASSERT_NE(bar, nullptr);
        for (QAction* top : bar->actions())
            if (top->text() == "&File" && top->menu())
                for (QAction* a : top->menu()->actions())
                    if (a->text() == "S&ave As") return a->trigger();
        FAIL() << "no Save As";
    }
};

TEST(CliEdit, WritesWhatTheWindowSavesAfterTheSameTyping) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    ASSERT_TRUE(Window::Qt());
    const fs::path byWindow = test::CliScratch("window.tor"), byCli = test::CliScratch("cli.tor");
    fs::remove(byWindow);
    {
        Window w;
        w.t.app->form1().Show();
        w.Click("Option1_1");  // Existing Project
        w.t.dialogs.files = {kExample.string()};
        w.Click("Command1_0");
        ASSERT_EQ(w.t.app->front()->name(), "Form2");
        w.Type<QLineEdit>("Text1_0", "Gym, \"North\" wing; 'B'", "Text1_1");
        w.Click("Command1_2");  // Mitigation Project Information
        ASSERT_EQ(w.t.app->front()->name(), "Form5");
        w.Type<QPlainTextEdit>("Text1_0", "FALSE", "Text1_1");
        w.Type<QLineEdit>("Text1_6", "3", "Text1_5");
        w.Type<QLineEdit>("Text1_1", "1.5e5", "Text1_5");
        w.Click("Command1_0");  // back to Project Information
        ASSERT_EQ(w.t.app->front()->name(), "Form2");
        w.Click("Command1_1");  // Tornado Hazard Information: a radius, confirmed with Enter
        ASSERT_EQ(w.t.app->front()->name(), "Form4");
        w.Type<QLineEdit>("Text1", "100", "Text1");
        QTest::keyClick(w.Find<QLineEdit>("Text1"), Qt::Key_Return);
        w.Click("Command1_0");
        ASSERT_EQ(w.t.app->front()->name(), "Form2");
        w.SaveAs(byWindow);
        ASSERT_EQ(w.t.dialogs.messages.back().text, "Project Saved.");
    }
    const test::CliRun r = Edit({"BuildingName=Gym, \"North\" wing; 'B'", "MitigationDescription=FALSE",
                                 "DiscountRate=3", "ProjectCost=1.5e5", "SelectionRadius=100"},
                                byCli);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(test::FileBytes(byCli), test::FileBytes(byWindow));
    // "FALSE" as a description keeps the mitigation block.
    const project::ProjectDocument d = Read(byCli);
    ASSERT_TRUE(d.mitigation);
    EXPECT_EQ(d.mitigation->description, "FALSE");
    EXPECT_EQ(d.mitigation->projectCost, "1.5e5");
    EXPECT_EQ(d.selectionRadius, 100);
}

TEST(CliEdit, EachNameReachesItsOwnInput) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    const fs::path out = test::CliScratch("names.tor");
    const test::CliRun r =
        Edit({"Address=1 Main St\r\nSuite 2", "Analyst=J. Doe", "ProjectCountyName=Tulsa", "BuildingWidth=90",
              "ConstructionType=Steel", "MinimalWindowArea=1", "TimeZone=1", "DaylightSaving=0",
              "TornadoOccupancy[0]=3", "TornadoOccupancy[23]=4", "SelectionMethod=1", "ProjectLifetime=30",
              "DesignWindSpeed=160", "UserInjuryPercent[0]=5", "UserDeathEffectiveness[8]=50"},
             out);
    ASSERT_EQ(r.status, 0) << r.err;
    const project::ProjectDocument before = Read(kExample), d = Read(out);
    EXPECT_EQ(d.address, "1 Main St Suite 2");  // a line break becomes a space, as in the box
    EXPECT_EQ(d.analyst, "J. Doe");
    EXPECT_EQ(d.countyName, "Tulsa");
    ASSERT_TRUE(d.building && d.mitigation);
    EXPECT_EQ(d.building->length, before.building->length);
    EXPECT_EQ(d.building->width, "90");
    EXPECT_EQ(d.building->constructionType, 4);
    EXPECT_EQ(d.building->minimalWindowArea, 1);
    EXPECT_EQ(d.building->timeZone, 1);
    EXPECT_EQ(d.building->daylightSaving, 0);
    EXPECT_EQ(d.building->hourly[0], "3");
    EXPECT_EQ(d.building->hourly[23], "4");
    EXPECT_EQ(d.building->hourly[12], before.building->hourly[12]);
    // Entire state: every county of Oklahoma.
    EXPECT_EQ(d.selectionMethod, 1);
    EXPECT_EQ(d.selectedCounties.size(), 77u);
    EXPECT_EQ(d.mitigation->lifetime, "30");
    EXPECT_EQ(d.mitigation->designWindSpeed, 2);
    EXPECT_EQ(d.mitigation->userInjuryPercent[0], "5");
    EXPECT_EQ(d.mitigation->userDeathEffectiveness[8], "50");
    EXPECT_EQ(d.mitigation->userDeathEffectiveness[7], "");
    EXPECT_EQ(d.mitigation->discountRate, before.mitigation->discountRate);

    // A character the system code page lacks is saved as "?", with the
    // window's notice; one it has is saved in that code page.
    const test::CliRun text = Edit({"BuildingName=Caf\u00e9 \u0101"}, out, out);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.err.find("is saved as \"Caf\u00e9 ?\""), std::string::npos) << text.err;
    EXPECT_NE(test::FileBytes(out).find("\r\nCaf\xe9 ?\r\n"), std::string::npos);

    // A radius chooses the region around the county.
    const test::CliRun region = Edit({"SelectionRadius=25"}, out, out);
    ASSERT_EQ(region.status, 0) << region.err;
    const project::ProjectDocument around = Read(out);
    EXPECT_EQ(around.selectionMethod, 0);
    EXPECT_EQ(around.selectionRadius, 25);
    EXPECT_LT(around.selectedCounties.size(), 77u);
}

TEST(CliEdit, RefusedOrUnknownWritesNothing) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    const fs::path out = test::CliScratch("kept.tor");
    const std::string kept = "an earlier file\r\n";
    const struct {
        std::vector<std::string> sets;
        const char* said;
    } cases[] = {
        {{"DiscountRate=3", "ProjectCost=abc"}, "You must enter a number for this input."},
        {{"ProjectLifetime=40000"}, "This number"},
        {{"SelectionRadius=300"}, "You must enter a number less than 250."},
        {{"SelectionRadius=-5"}, "You must enter a number from 0 to 250."},
        {{"UserInjuryPercent[0]=99", "UserDeathPercent[0]=5"}, "can not exceed 100%"},
        {{"ProjectStateName=Atlantis"}, "\"Atlantis\" is not in the list."},
        {{"DesignWindSpeed=5"}, "\"5\" is not in the list."},
        {{"DaylightSaving=yes"}, "0 (clear) or 1 (ticked)"},
        {{"SelectionMethod=3"}, "Entire State"},
        {{"ProjectStateName= Click State", "BuildingLength=10"},
         "You must select a state and county before going to another form."},
        // Values no project can have, each refused by its rule.
        {{"ProjectLifetime=0.5"}, "Project useful lifetime (years) must be a whole number from 1 to 32,767."},
        {{"ProjectLifetime=0"}, "Project useful lifetime (years) must be a whole number from 1 to 32,767."},
        {{"ProjectLifetime=-5"}, "Project useful lifetime (years) must be a whole number from 1 to 32,767."},
        {{"BuildingLength=-5"}, "Building longest length (feet) must be greater than 0."},
        {{"BuildingWidth=0"}, "Building longest width (feet) must be greater than 0."},
        {{"ShelterArea=-1"}, "Shelter area (square feet) must be greater than 0."},
        {{"HurricaneOccupancy=-1"}, "Hurricane shelter occupancy (people) must be 0 or more."},
        {{"TornadoOccupancy[13]=-32769"}, "Tornado shelter occupancy at 1 pm (people) must be 0 or more."},
        {{"ProjectCost=-1"}, "Project cost ($) must be 0 or more."},
        {{"MaintenanceCost=-1"}, "Maintenance cost ($ per year) must be 0 or more."},
        {{"InjuryCost=-12500"}, "Cost of an injury ($) must be 0 or more."},
        {{"DeathCost=-1"}, "Cost of a death ($) must be 0 or more."},
        {{"DiscountRate=-1"}, "Discount rate (%) must be from 0 to 100."},
        {{"DiscountRate=100.5"}, "Discount rate (%) must be from 0 to 100."},
        {{"UserInjuryEffectiveness[0]=500"},
         "User-defined injury effectiveness, 0 - 44 mph (%) must be from 0 to 100."},
        {{"UserDeathEffectiveness[8]=-500"}, "User-defined death effectiveness, 263 + mph (%) must be from 0 to 100."},
        {{"SelectionRadius=251"}, "You must enter a number less than 250."},
    };
    for (const auto& c : cases) {
        { std::ofstream(out, std::ios::binary) << kept; }
        const test::CliRun r = Edit(c.sets, out);
        EXPECT_EQ(r.status, 2) << c.sets.back();
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
        EXPECT_EQ(test::FileBytes(out), kept) << c.sets.back();
    }

    { std::ofstream(out, std::ios::binary) << kept; }
    const test::CliRun unknown = Edit({"DiscountRate=3", "TornadoOccupancy[24]=1"}, out);
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown input \"TornadoOccupancy[24]\""), std::string::npos) << unknown.err;
    for (const char* name : {"BuildingName", "TornadoOccupancy[23]", "SelectionRadius", "UserDeathEffectiveness[8]"})
        EXPECT_NE(unknown.err.find(std::string("\n  ") + name + "\n"), std::string::npos) << name;
    EXPECT_EQ(test::FileBytes(out), kept);
    EXPECT_EQ(Edit({"DiscountRate"}, out).status, 2);
    EXPECT_EQ(test::FileBytes(out), kept);

    // A file that cannot be written is said so.
    const fs::path nowhere = test::CliScratch("no-such-folder") / "x.tor";
    const test::CliRun unwritten = Edit({"DiscountRate=3"}, nowhere);
    EXPECT_EQ(unwritten.status, 1);
    EXPECT_NE(unwritten.err.find("The project was not saved."), std::string::npos) << unwritten.err;
    EXPECT_FALSE(fs::exists(nowhere));

    // A file that is not a project stays unread and unwritten.
    const test::CliRun rejected = Edit({"DiscountRate=3"}, out, out);
    EXPECT_EQ(rejected.status, 1);
    EXPECT_NE(rejected.err.find("Selected File has incorrect format."), std::string::npos) << rejected.err;
    EXPECT_EQ(test::FileBytes(out), kept);
}

}  // namespace
}  // namespace verrane
