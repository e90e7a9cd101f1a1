#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/app.h"
#include "gui/window_manager.h"
#include "platform/paths.h"
#include "screens/analysis/form6.h"
#include "screens/project/form2.h"
#include "screens/start/form1.h"
#include "tests/gui/widgets.h"
#include "tests/support/test_app.h"

using namespace verrane;
using test::Choose;
using test::EnsureQt;
using test::Find;
namespace fs = std::filesystem;

namespace {
void Type(QWidget* window, const char* name, const QString& text) {
    auto* e = Find<QLineEdit>(window, name);
    if (!e) return;
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
}

void Click(QWidget* window, const char* name) {
    if (auto* b = Find<QPushButton>(window, name)) b->click();
}

// Triggers a menu item by its caption ("&Input" > "Tornado Hazard Information").
void Menu(QWidget* window, const QString& menu, const QString& item, const QString& sub = {}) {
    auto* bar = window ? window->findChild<QMenuBar*>() : nullptr;
    ASSERT_NE(bar, nullptr);
    for (QAction* top : bar->actions()) {
        if (top->text() != menu || !top->menu()) continue;
        for (QAction* a : top->menu()->actions()) {
            if (a->text() != item) continue;
            if (sub.isEmpty()) return a->trigger();
            for (QAction* s : a->menu()->actions())
                if (s->text() == sub) return s->trigger();
        }
    }
    FAIL() << "no menu item " << item.toStdString();
}
}  // namespace

// A new user's road through the windows, with the menus and buttons only.
TEST(GuiJourney, ThroughTheWindows) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    EnsureQt();
    platform::SetDataDir(VERRANE_SOURCE_DATA_DIR);
    platform::ScriptedDialogs dialogs;
    App app(dialogs);
    gui::WindowManager windows(app);
    windows.quitWhenEmpty = false;
    app.form1().Show();
    Click(windows.frontWindow(), "Command1_0");  // OK, new project
    ASSERT_EQ(app.front(), &app.form2());

    QWidget* w = windows.frontWindow();
    Choose(w, "Combo3", "Oklahoma");
    Choose(w, "Combo2", "Oklahoma");
    Type(w, "Text1_0", "Central Elementary School");
    Click(w, "Command1_0");  // Building Information
    w = windows.frontWindow();
    ASSERT_EQ(app.front()->name(), "Form3");
    Type(w, "Text1_0", "200");
    Type(w, "Text1_1", "120");
    Type(w, "Text1_2", "4000");
    Choose(w, "Combo1_1", "Reinforced Masonry");
    for (const char* h : {"Text2_8", "Text2_9", "Text2_10", "Text2_11", "Text2_12", "Text2_13", "Text2_14"})
        Type(w, h, "450");
    Menu(w, "&Input", "Tornado Hazard Information");
    w = windows.frontWindow();
    ASSERT_EQ(app.front()->name(), "Form4");
    if (auto* r = Find<QRadioButton>(w, "Option1_0")) r->click();
    Type(w, "Text1", "50");
    QTest::keyClick(Find<QLineEdit>(w, "Text1"), Qt::Key_Return);
    Menu(w, "&Input", "Mitigation Project Information");
    w = windows.frontWindow();
    ASSERT_EQ(app.front()->name(), "Form5");
    EXPECT_GT(app.form2().SelectedCounties.size(), 5u);
    Type(w, "Text1_1", "350,000");
    Type(w, "Text1_3", "30");
    Choose(w, "Combo1", "200");
    Click(w, "Command1_3");  // Benefit Cost Analysis
    w = windows.frontWindow();
    ASSERT_EQ(app.front()->name(), "Form6");
    const std::string ratio = app.form6().Text1[4].text();
    if (auto* box = w->findChild<QLineEdit*>("Text1_4")) {
        EXPECT_EQ(box->text().toStdString(), ratio);
    }
    EXPECT_NE(ratio, " Undefined");

    const fs::path pdf = fs::temp_directory_path() / "verrane-gui-short.pdf";
    fs::remove(pdf);
    dialogs.reportPdf = pdf.string();
    Menu(w, "&File", "Print Pre&view", "Short Report");
    EXPECT_TRUE(fs::exists(pdf));

    const fs::path file = fs::temp_directory_path() / "verrane-gui-journey.tor";
    fs::remove(file);
    dialogs.files = {file.string()};
    Menu(w, "&File", "S&ave As");
    EXPECT_TRUE(fs::exists(file));
    dialogs.answers = {platform::Answer::No};
    Menu(w, "&File", "&New");
    w = windows.frontWindow();
    ASSERT_EQ(app.front()->name(), "Form2");
    dialogs.answers = {platform::Answer::No};
    dialogs.files = {file.string()};
    Menu(w, "&File", "&Open");
    w = windows.frontWindow();
    ASSERT_EQ(app.front()->name(), "Form2");
    EXPECT_EQ(Find<QComboBox>(w, "Combo2")->currentText().toStdString(), "Oklahoma");
    Click(w, "Command1_3");
    EXPECT_EQ(app.form6().Text1[4].text(), ratio);
}
