// The window's file commands and small faults, driven through the real
// widgets: the keyboard, the menus, the buttons and the map.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/app.h"
#include "gui/qt_dialogs.h"
#include "gui/window_manager.h"
#include "platform/paths.h"
#include "platform/textfile.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/hazard/form7.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "tests/gui/widgets.h"
#include "tests/support/scratch.h"
#include "tests/support/test_app.h"

using namespace verrane;
using platform::Answer;
using test::Find;
namespace fs = std::filesystem;

namespace {

fs::path Example(const char* name) { return fs::path(VERRANE_SOURCE_DIR) / "examples" / name; }
fs::path Temp(const std::string& name) { return test::ScratchFile("verrane-window-faults", name); }

struct Program {
    test::TestApp t;
    gui::WindowManager windows;
    explicit Program(const std::string& tag) : t(tag), windows(*t.app) { windows.quitWhenEmpty = false; }
    QWidget* Front() {
        QWidget* w = windows.frontWindow();
        if (!w) return nullptr;
        w->window()->show();
        w->window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w->window()));
        return w;
    }
    QMainWindow* Main() { return windows.mainWindow(); }
    // The title as the desktop shows it.
    std::string Title() {
        QTest::qWait(300);  // typing reaches the title on the window's next look
        QMainWindow* m = Main();
        QString title = m->windowTitle();
        title.replace("[*]", m->isWindowModified() ? "*" : "");
        return title.toStdString();
    }
    // File > Open with the keyboard on the screen in front.
    void CtrlO() { QTest::keyClick(Front(), Qt::Key_O, Qt::ControlModifier); }
};

// Clicks into a box, selects what it holds and types over it key by key, then leaves it.
void TypeInto(QWidget* window, const char* name, const QString& text) {
    auto* e = Find<QLineEdit>(window, name);
    if (!e) return;
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Tab);
}

}  // namespace

// File > Open, cancelled or given a damaged file, leaves every screen, the
// file name and the title as they were; a project opened with Ctrl+O from any
// screen is the one Ctrl+S writes, without a dialog.
TEST(WindowFaults, OpenKeepsTheProjectAndSaveWritesTheOpenedFile) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    test::EnsureQt();
    Program p("");
    auto& t = p.t;
    const fs::path file = Temp("hospital.tor");
    fs::copy_file(Example("mississippi-coast-hospital.tor"), file, fs::copy_options::overwrite_existing);
    const std::string original = test::FileBytes(file);
    t.app->form2();
    t.app->form2().Show();
    t.dialogs.answers = {Answer::No};
    t.dialogs.files = {file.string()};
    p.CtrlO();
    ASSERT_EQ(t.app->ProjectFileName, file.string());
    EXPECT_EQ(p.Title(), "hospital.tor - Tornado Model: Project Information");
    ASSERT_NE(t.app->Loaded<Form3>(), nullptr);

    const fs::path damaged = Temp("damaged.tor");
    platform::WriteTextLinesAtomically(damaged, {"Verrane v1.0", "only a name"});
    // Ctrl+O again, cancelled, then a damaged file.
    const std::string title = p.Title();
    for (std::optional<std::string> chosen : {std::optional<std::string>(), std::optional(damaged.string())}) {
        t.dialogs.answers = {Answer::No};
        t.dialogs.files = {chosen};
        t.dialogs.fileRequests.clear();
        p.CtrlO();
        ASSERT_EQ(t.dialogs.fileRequests.size(), 1u);  // the shortcut reached File > Open
        EXPECT_NE(t.app->Loaded<Form3>(), nullptr);
        EXPECT_NE(t.app->Loaded<Form5>(), nullptr);
        EXPECT_EQ(t.app->ProjectFileName, file.string());
        EXPECT_EQ(p.Title(), title);
    }
    // Save writes the same project into the same file, without a dialog.
    t.dialogs.fileRequests.clear();
    QTest::keyClick(p.Front(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(t.dialogs.fileRequests.empty());
    EXPECT_EQ(test::FileBytes(file), original);
}

// The title names the file being edited, "Untitled" for a new project, and
// marks changes not yet saved; cancelling New leaves it alone.
TEST(WindowFaults, TitleNamesTheFileAndMarksUnsavedChanges) {
    test::EnsureQt();
    Program p("faults-title");
    auto& t = p.t;
    t.Choose("Oklahoma", "Cleveland");
    QWidget* w = p.Front();
    TypeInto(w, "Text1_0", "Fremont Middle School");
    EXPECT_EQ(p.Title(), "Untitled* - Tornado Model: Project Information");
    const fs::path file = Temp("title.tor");
    fs::remove(file);
    t.dialogs.files = {file.string()};
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(p.Title(), "title.tor - Tornado Model: Project Information");
    TypeInto(w, "Text1_6", "J. Analyst");
    EXPECT_EQ(p.Title(), "title.tor* - Tornado Model: Project Information");

    // New, cancelled at its question: nothing changes.
    t.dialogs.answers = {Answer::Cancel};
    QTest::keyClick(w, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(p.Title(), "title.tor* - Tornado Model: Project Information");
    // New, not saved: a new project without a file.
    t.dialogs.answers = {Answer::No};
    QTest::keyClick(w, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(p.Title(), "Untitled - Tornado Model: Project Information");
    EXPECT_FALSE(t.app->HasFileName);
}

// Emptying length, width and area one after another warns about the
// footprint not once: without both dimensions there is no footprint.
TEST(WindowFaults, ClearingTheDimensionsDoesNotWarnAboutTheFootprint) {
    test::EnsureQt();
    Program p("faults-footprint");
    auto& t = p.t;
    t.Choose("Oklahoma", "Cleveland");
    t.app->form2().Command1_Click(0);
    QWidget* w = p.Front();
    TypeInto(w, "Text1_0", "100");
    TypeInto(w, "Text1_1", "10");
    TypeInto(w, "Text1_2", "900");
    const auto warned = [&] {
        int n = 0;
        for (const auto& m : t.dialogs.messages)
            n += m.text == "Warning: Shelter area is larger than building footprint.";
        return n;
    };
    EXPECT_EQ(warned(), 0);
    for (const char* box : {"Text1_0", "Text1_1", "Text1_2"}) TypeInto(w, box, "");
    EXPECT_EQ(t.app->form3().Text1[0].text(), "");
    EXPECT_EQ(t.app->form3().Text1[2].text(), "");
    EXPECT_EQ(warned(), 0);
}

// A greyed "Benefit Cost Analysis" button says what it still needs.
TEST(WindowFaults, TheGreyedAnalysisButtonNamesTheMissingInputs) {
    test::EnsureQt();
    Program p("faults-tooltip");
    auto& t = p.t;
    t.Choose("Oklahoma", "Cleveland");
    t.app->form2().Command1_Click(0);
    QWidget* w = p.Front();
    auto* button = Find<QPushButton>(w, "Command1_3");
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isEnabled());
    const QString tip = button->toolTip();
    EXPECT_TRUE(tip.contains("Building longest length")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("Mitigation Project Information")) << tip.toStdString();
    TypeInto(w, "Text1_0", "100");
    EXPECT_FALSE(button->toolTip().contains("Building longest length")) << button->toolTip().toStdString();
    EXPECT_TRUE(button->toolTip().contains("Building longest width")) << button->toolTip().toStdString();
}

// A message box is wide enough for its whole title.
TEST(WindowFaults, MessageBoxTitlesAreNotCut) {
    test::EnsureQt();
    gui::QtDialogs dialogs;
    int boxWidth = 0, titleWidth = 0;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxWidth = box->width();
            titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle());
            box->accept();
        }
    });
    dialogs.MsgBox("County Name = Cleveland", platform::Buttons::OK, platform::Icon::None, "County Identify");
    EXPECT_GT(titleWidth, 0);
    EXPECT_GE(boxWidth, titleWidth + 100);
}

// The county map keeps its frame when a county is added with a left click.
TEST(WindowFaults, TheCountyMapKeepsItsFrameOnTheFirstClick) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    test::EnsureQt();
    Program p("");
    auto& t = p.t;
    t.Choose("Oklahoma", "Cleveland");
    Form4& f4 = t.app->form4();
    f4.Show();
    QApplication::processEvents();
    t.dialogs.answers.push_back(Answer::Yes);
    f4.Option1[2].setValue(true);
    f4.Command2.click();
    Form7* f7 = t.app->Loaded<Form7>();
    ASSERT_NE(f7, nullptr);
    QWidget* window = p.windows.windowOf(*f7);
    ASSERT_NE(window, nullptr);
    window->show();
    QApplication::processEvents();
    QWidget* map = window->findChild<QWidget*>("Map1");
    ASSERT_NE(map, nullptr);
    const platform::MapRect before = f7->Map1.extent();
    const std::size_t counties = f7->MapCountyList.size();
    // Clicks beside the middle until a county is added.
    for (int dx = 30; dx < 200 && f7->MapCountyList.size() == counties; dx += 10)
        QTest::mouseClick(map, Qt::LeftButton, {}, map->rect().center() + QPoint(dx, 0));
    ASSERT_GT(f7->MapCountyList.size(), counties);
    const platform::MapRect after = f7->Map1.extent();
    EXPECT_NEAR(after.left, before.left, 1e-9);
    EXPECT_NEAR(after.right, before.right, 1e-9);
    EXPECT_NEAR(after.top, before.top, 1e-9);
    EXPECT_NEAR(after.bottom, before.bottom, 1e-9);
}
