// What makes the window a desktop program: a project dropped on it opens,
// the recent projects and the window's place are kept between runs (in the
// tests' own settings folder), and the File menu's recent projects open.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QMainWindow>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>
#include <fstream>

#include "app/app.h"
#include "gui/session_settings.h"
#include "gui/window_manager.h"
#include "screens/project/form2.h"
#include "screens/start/form1.h"
#include "tests/gui/widgets.h"
#include "tests/support/scratch.h"
#include "tests/support/test_app.h"

using namespace verrane;
using platform::Answer;
namespace fs = std::filesystem;

namespace {

fs::path Temp(const std::string& name) { return test::ScratchFile("verrane-desktop", name); }

void WriteProject(const fs::path& file, const std::string& building) {
    test::TestApp t("desktop-write");
    Form2& f2 = t.Choose("Texas", "Cooke");
    f2.Text1[0].setText(building);
    f2.Write_File(file);
}

// Drags `file` over `target` and drops it; true when the window took the drag.
bool Drop(QWidget* target, const fs::path& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
}

// Settings of this test alone (ctest runs the cases side by side), empty.
void UseOwnSettings(const char* test) {
    QCoreApplication::setOrganizationName("VerraneTests");
    QCoreApplication::setApplicationName(test);
    QSettings().clear();
    QSettings().sync();
}

}  // namespace

TEST(Desktop, TestsKeepTheirSettingsApartFromTheUsers) {
    test::EnsureQt();
    EXPECT_TRUE(QSettings().fileName().contains(".qttest")) << QSettings().fileName().toStdString();
}

// A .tor dropped on the main window asks to save, then opens as File > Open
// does; anything else is not taken; a refused file keeps the project.
TEST(Desktop, AProjectDroppedOnTheWindowOpens) {
    test::EnsureQt();
    const fs::path file = Temp("dropped.tor"), other = Temp("dropped.txt"), bad = Temp("dropped-bad.tor");
    WriteProject(file, "Dropped Shelter");
    fs::copy_file(file, other, fs::copy_options::overwrite_existing);
    { std::ofstream(bad, std::ios::binary) << "Not a project\r\n"; }
    test::TestApp t("desktop-drop");
    gui::WindowManager windows(*t.app);
    windows.quitWhenEmpty = false;
    t.Choose("Oklahoma", "Cleveland").Text1[0].setText("Current");
    QMainWindow* main = windows.mainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->acceptDrops());

    EXPECT_FALSE(Drop(main, other));
    EXPECT_TRUE(t.dialogs.messages.empty());

    t.dialogs.answers = {Answer::No};
    EXPECT_TRUE(Drop(main, bad));
    EXPECT_EQ(t.dialogs.messages.back().text, "Selected File has incorrect format.");
    EXPECT_EQ(t.app->form2().Text1[0].text(), "Current");
    EXPECT_FALSE(t.app->HasFileName);

    t.dialogs.messages.clear();
    t.dialogs.answers = {Answer::No};
    EXPECT_TRUE(Drop(main, file));
    EXPECT_EQ(t.dialogs.texts(), std::vector<std::string>{kSaveChangesPrompt});
    EXPECT_EQ(t.app->ProjectFileName, file.string());
    EXPECT_EQ(t.app->form2().Text1[0].text(), "Dropped Shelter");
    EXPECT_TRUE(main->windowTitle().startsWith("dropped.tor[*] - ")) << main->windowTitle().toStdString();
    EXPECT_FALSE(main->isWindowModified());
}

// On the start screen there is no project to save: the file opens at once.
TEST(Desktop, AProjectDroppedOnTheStartScreenOpens) {
    test::EnsureQt();
    const fs::path file = Temp("start-drop.tor");
    WriteProject(file, "From The Start");
    test::TestApp t("desktop-start-drop");
    gui::WindowManager windows(*t.app);
    windows.quitWhenEmpty = false;
    t.app->Start(std::nullopt);
    QWidget* start = windows.frontWindow();
    ASSERT_NE(start, nullptr);
    EXPECT_TRUE(Drop(start, file));
    EXPECT_TRUE(t.dialogs.messages.empty());
    EXPECT_EQ(t.app->Loaded<Form1>(), nullptr);
    EXPECT_EQ(t.app->form2().Text1[0].text(), "From The Start");
}

// The recent projects survive the program: stored when they change, listed
// on the next run's File menu, and opened from it with the mouse.
TEST(Desktop, RecentProjectsAreKeptBetweenRuns) {
    test::EnsureQt();
    UseOwnSettings("recent");
    const fs::path a = Temp("recent-a.tor"), b = Temp("recent-b.tor");
    WriteProject(a, "Recent A");
    WriteProject(b, "Recent B");
    {
        test::TestApp t("desktop-recent1");
        gui::RememberRecentFiles(*t.app);
        ASSERT_TRUE(t.app->Start(a).ok());
        t.dialogs.answers = {Answer::No};
        t.dialogs.files = {b.string()};
        t.app->form2().FindMenu("mnuOpen")->click();
    }
    EXPECT_EQ(gui::StoredRecentFiles(), (std::vector<std::string>{b.string(), a.string()}));

    test::TestApp t("desktop-recent2");
    gui::WindowManager windows(*t.app);
    windows.quitWhenEmpty = false;
    gui::RememberRecentFiles(*t.app);
    t.Choose("Oklahoma", "Cleveland");
    QMainWindow* main = windows.mainWindow();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    QMenu* file = test::OpenMenu(main, "&File");
    ASSERT_NE(file, nullptr);
    ASSERT_NE(test::Action(file, "&2 recent-a.tor"), nullptr);
    EXPECT_TRUE(test::Action(file, "&2 recent-a.tor")->isVisible());
    t.dialogs.answers = {Answer::No};
    test::ClickItem(file, "&2 recent-a.tor");
    EXPECT_EQ(t.app->form2().Text1[0].text(), "Recent A");
    EXPECT_EQ(gui::StoredRecentFiles(), (std::vector<std::string>{a.string(), b.string()}));
}

// The main window opens where it was when the program last closed it.
TEST(Desktop, TheWindowKeepsItsSizeAndPlace) {
    test::EnsureQt();
    UseOwnSettings("place");
    const QRect place(40, 30, 820, 610);
    {
        test::TestApp t("desktop-place1");
        gui::WindowManager windows(*t.app);
        windows.quitWhenEmpty = false;
        windows.rememberPlace = true;
        t.Start();
        QMainWindow* main = windows.mainWindow();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
        main->setGeometry(place);
        QApplication::processEvents();
        t.app->UnloadAll();  // Exit: the window closes
    }
    EXPECT_FALSE(QSettings().value(gui::kMainWindowPlaceKey).toByteArray().isEmpty());
    test::TestApp t("desktop-place2");
    gui::WindowManager windows(*t.app);
    windows.quitWhenEmpty = false;
    windows.rememberPlace = true;
    t.Start();
    EXPECT_EQ(windows.mainWindow()->geometry(), place);
}
