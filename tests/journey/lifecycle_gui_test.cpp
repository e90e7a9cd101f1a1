// The file commands through the Qt windows on the offscreen platform: the
// menus, radio buttons and the window's close button a user touches, with
// scripted answers to the dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>

#include "gui/window_manager.h"
#include "platform/textfile.h"
#include "screens/hazard/form4.h"
#include "screens/start/form1.h"
#include "tests/support/scratch.h"
#include "tests/support/test_app.h"

using namespace verrane;
using platform::Answer;
namespace fs = std::filesystem;

namespace {
int argc = 1;
char arg0[] = "lifecycle_gui";
char* argv[] = {arg0, nullptr};

fs::path Temp(const std::string& name) { return test::ScratchFile("verrane-lifecycle-gui", name); }

// A program on the fixture data with its windows.
struct Windows {
    test::TestApp t;
    gui::WindowManager windows;
    explicit Windows(const std::string& tag) : t((Qt(), tag)), windows(*t.app) { windows.quitWhenEmpty = false; }
    static bool Qt() {
        if (!QApplication::instance()) new QApplication(argc, argv);  // lives for the test process
        return true;
    }
    QWidget* front() const { return windows.frontWindow(); }
    template <class W>
    W* Find(const char* name) {
        W* w = front() ? front()->findChild<W*>(name) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* name) {
        auto* b = Find<QAbstractButton>(name);
        ASSERT_NE(b, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(front()));
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << name;
        // On the button's indicator or text, where a user clicks it.
        const QPoint at = qobject_cast<QRadioButton*>(b) ? QPoint(8, b->height() / 2) : b->rect().center();
        QTest::mouseClick(b, Qt::LeftButton, {}, at);
    }
    void Choose(const char* name, const QString& entry) {
        auto* c = Find<QComboBox>(name);
        ASSERT_NE(c, nullptr);
        const int i = c->findText(entry);
        ASSERT_GE(i, 0) << entry.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    void Menu(const QString& menu, const QString& item) {
        auto* bar = front() ? front()->findChild<QMenuBar*>() : nullptr;
        ASSERT_NE(bar, nullptr);
        for (QAction* top : bar->actions())
            if (top->text() == menu && top->menu())
                for (QAction* a : top->menu()->actions())
                    if (a->text() == item) return a->trigger();
        FAIL() << "no menu item " << item.toStdString();
    }
    // Start screen: "Existing Project", OK, and `file` chosen in the dialog.
    void OpenAtStart(const fs::path& file) {
        t.app->form1().Show();
        Click("Option1_1");
        t.dialogs.files = {file.string()};
        Click("Command1_0");
    }
};
}  // namespace

// A damaged file, rejected at start or by File > Open, never becomes the
// file File > Save writes.
TEST(LifecycleWindows, RejectedFileIsNeverSavedOver) {
    const auto good = Temp("good.tor"), bad = Temp("damaged.tor");
    {
        test::TestApp t("lgui-write");
        Form2& f2 = t.Choose("Oklahoma", "Kay");
        f2.Text1[0].setText("Newkirk Shelter");
        f2.Write_File(good);
    }
    { std::ofstream(bad, std::ios::binary) << "Verrane v0.9\r\n" << std::string(1230, 'x') << "\r\n"; }
    const std::string damaged = test::FileBytes(bad);

    Windows w("lgui-reject");
    w.OpenAtStart(bad);
    EXPECT_EQ(w.t.dialogs.texts(), std::vector<std::string>{"Selected File has incorrect format."});
    ASSERT_EQ(w.t.app->front()->name(), "Form2");
    w.t.dialogs.files = {std::nullopt};
    w.Menu("&File", "&Save");
    ASSERT_EQ(w.t.dialogs.fileRequests.size(), 2u);  // Save asks for a name
    EXPECT_TRUE(w.t.dialogs.fileRequests[1].save);
    EXPECT_EQ(test::FileBytes(bad), damaged);

    Windows v("lgui-reject2");
    v.OpenAtStart(good);
    ASSERT_EQ(v.t.app->front()->name(), "Form2");
    v.t.dialogs.answers = {Answer::No};
    v.t.dialogs.files = {bad.string()};
    v.Menu("&File", "&Open");
    EXPECT_EQ(v.t.dialogs.messages.back().text, "Selected File has incorrect format.");
    ASSERT_EQ(v.t.app->front()->name(), "Form2");
    v.t.dialogs.messages.clear();
    v.Menu("&File", "&Save");
    EXPECT_EQ(v.t.dialogs.texts(), std::vector<std::string>{"Project Saved."});
    EXPECT_EQ(test::FileBytes(bad), damaged);
    EXPECT_NE(test::FileBytes(good).find("Newkirk Shelter"), std::string::npos);
}

// "Entire State" on the hazard screen, then Exit (from the menu, or the
// window's close button), Yes and Save As: the file holds the selection on
// the screen.
TEST(LifecycleWindows, ExitFromTheHazardScreenSavesItsSelection) {
    for (bool closeButton : {false, true}) {
        SCOPED_TRACE(closeButton ? "close button" : "File > Exit");
        Windows w(closeButton ? "lgui-close" : "lgui-exit");
        w.t.app->form1().Show();
        w.Click("Command1_0");
        w.Choose("Combo3", "Oklahoma");
        w.Choose("Combo2", "Oklahoma");
        w.Menu("&Input", "Tornado Hazard Information");
        ASSERT_EQ(w.t.app->front()->name(), "Form4");
        w.Click("Option1_1");  // Entire State
        const std::vector<std::string> onScreen = w.t.app->form4().CountyList;
        ASSERT_GT(onScreen.size(), 1u);

        const auto file = Temp(closeButton ? "closed.tor" : "exited.tor");
        fs::remove(file);
        w.t.dialogs.answers = {Answer::Yes};
        w.t.dialogs.files = {file.string()};
        if (closeButton)
            w.front()->close();
        else
            w.Menu("&File", "E&xit");
        EXPECT_FALSE(w.t.app->AnyLoaded());
        const auto lines = platform::ReadTextLines(file);
        ASSERT_EQ(lines.size(), 14u + onScreen.size());
        EXPECT_EQ(lines[11], "1");  // Entire State, so no radius line
        EXPECT_EQ(lines[12], std::to_string(onScreen.size()));
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 13, lines.end() - 1), onScreen);
    }
}
