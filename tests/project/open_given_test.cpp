// A project given to the program and the File menu's recent projects: both
// open through File > Open's own steps once the file is chosen.
#include <gtest/gtest.h>

#include <fstream>

#include "screens/building/form3.h"
#include "screens/menus.h"
#include "screens/project/form2.h"
#include "screens/start/form1.h"
#include "tests/support/scratch.h"
#include "tests/support/test_app.h"

using namespace verrane;
using platform::Answer;
namespace fs = std::filesystem;

namespace {

fs::path Temp(const std::string& name) { return test::ScratchFile("verrane-open-given", name); }

// A project of `building` in Cooke County, Texas, written to `file`.
void WriteProject(const fs::path& file, const std::string& building) {
    test::TestApp t("given-write");
    Form2& f2 = t.Choose("Texas", "Cooke");
    f2.Text1[0].setText(building);
    f2.Write_File(file);
}

fs::path Broken() {
    const fs::path bad = Temp("broken.tor");
    std::ofstream(bad, std::ios::binary) << "Not a project\r\n";
    return bad;
}

// The File menu as the user sees it: the captions of the visible items.
std::vector<std::string> FileMenu(Screen& s) {
    std::vector<std::string> shown;
    for (const auto& m : s.FindMenu("mnuFile")->items)
        if (m.visible) shown.push_back(m.caption);
    return shown;
}

}  // namespace

TEST(OpenGiven, AProjectGivenAtTheStartOpensWithoutAskingAnything) {
    const fs::path file = Temp("given.tor");
    WriteProject(file, "Gainesville Shelter");
    test::TestApp t("given-start");
    ASSERT_TRUE(t.app->Start(file).ok());
    Form2* f2 = t.app->Loaded<Form2>();
    ASSERT_NE(f2, nullptr);
    EXPECT_EQ(t.app->front(), f2);
    EXPECT_EQ(t.app->Loaded<Form1>(), nullptr);
    EXPECT_EQ(f2->Text1[0].text(), "Gainesville Shelter");
    EXPECT_TRUE(t.app->HasFileName);
    EXPECT_EQ(t.app->ProjectFileName, file.string());
    EXPECT_TRUE(t.dialogs.messages.empty());  // no save prompt: there was no project
    EXPECT_EQ(t.app->RecentFiles, std::vector<std::string>{file.string()});
}

TEST(OpenGiven, ARefusedProjectAtTheStartLeavesTheStartScreen) {
    test::TestApp t("given-refused");
    EXPECT_EQ(t.app->Start(Broken()).status, project::FileStatus::Rejected);
    EXPECT_EQ(t.dialogs.texts(), std::vector<std::string>{"Selected File has incorrect format."});
    EXPECT_EQ(t.app->front(), t.app->Loaded<Form1>());
    EXPECT_EQ(t.app->Loaded<Form2>(), nullptr);
    EXPECT_FALSE(t.app->HasFileName);
    EXPECT_TRUE(t.app->RecentFiles.empty());
    // The start screen still opens a project of its own.
    const fs::path file = Temp("after-refused.tor");
    WriteProject(file, "Second Try");
    t.dialogs.messages.clear();
    EXPECT_TRUE(t.app->Start(file).ok());
    EXPECT_EQ(t.app->form2().Text1[0].text(), "Second Try");
}

// Opened and saved projects are listed newest first on every input
// screen's File menu; choosing one asks to save the current project and
// opens it; a refused one keeps the current project.
TEST(OpenGiven, RecentProjectsOnTheFileMenu) {
    const fs::path a = Temp("a.tor"), b = Temp("b.tor");
    WriteProject(a, "Shelter A");
    test::TestApp t("given-recent");
    Form2& f2 = t.Choose("Texas", "Cooke");
    EXPECT_EQ(FileMenu(f2), (std::vector<std::string>{"&New", "&Open", "&Save", "S&ave As", "-", "Print Pre&view",
                                                      "&Print", "-", "E&xit"}));
    f2.Text1[0].setText("Shelter B");
    t.dialogs.files = {b.string()};
    f2.FindMenu("mnusaveas")->click();
    t.dialogs.answers = {Answer::No};
    t.dialogs.files = {a.string()};
    f2.FindMenu("mnuOpen")->click();
    ASSERT_EQ(t.app->ProjectFileName, a.string());
    Form2& opened = t.app->form2();
    EXPECT_EQ(FileMenu(opened), (std::vector<std::string>{"&New", "&Open", "&Save", "S&ave As", "-", "Print Pre&view",
                                                          "&Print", "-", "&1 a.tor", "&2 b.tor", "-", "E&xit"}));
    // Another screen's menu shows the same list.
    EXPECT_EQ(FileMenu(t.app->form3())[9], "&2 b.tor");

    t.dialogs.messages.clear();
    t.dialogs.answers = {Answer::No};
    opened.FindMenu("mnuRecent2")->click();
    EXPECT_EQ(t.dialogs.texts(), std::vector<std::string>{kSaveChangesPrompt});
    EXPECT_EQ(t.app->ProjectFileName, b.string());
    EXPECT_EQ(t.app->form2().Text1[0].text(), "Shelter B");
    EXPECT_EQ(t.app->RecentFiles, (std::vector<std::string>{b.string(), a.string()}));

    // Cancel at the save prompt: nothing changes.
    t.dialogs.answers = {Answer::Cancel};
    t.app->form2().FindMenu("mnuRecent2")->click();
    EXPECT_EQ(t.app->ProjectFileName, b.string());

    // A recent file damaged since: its message, and the project stays.
    const fs::path bad = Broken();
    t.app->NoteRecentFile(bad.string());
    t.dialogs.messages.clear();
    t.dialogs.answers = {Answer::No};
    t.app->form2().FindMenu("mnuRecent1")->click();
    EXPECT_EQ(t.dialogs.messages.back().text, "Selected File has incorrect format.");
    EXPECT_EQ(t.app->ProjectFileName, b.string());
    EXPECT_EQ(t.app->form2().Text1[0].text(), "Shelter B");
}

TEST(OpenGiven, TheListKeepsTheLastEightAndTellsSameNamesApart) {
    test::TestApp t("given-eight");
    Form2& f2 = t.Start();
    for (int i = 0; i < 10; ++i) t.app->NoteRecentFile(Temp("p" + std::to_string(i) + ".tor").string());
    ASSERT_EQ(t.app->RecentFiles.size(), 8u);
    EXPECT_EQ(t.app->RecentFiles.front(), Temp("p9.tor").string());
    EXPECT_EQ(t.app->RecentFiles.back(), Temp("p2.tor").string());
    // Noting a listed file again moves it to the top.
    t.app->NoteRecentFile(Temp("p5.tor").string());
    EXPECT_EQ(t.app->RecentFiles.size(), 8u);
    EXPECT_EQ(t.app->RecentFiles[0], Temp("p5.tor").string());
    EXPECT_EQ(t.app->RecentFiles[1], Temp("p9.tor").string());

    const fs::path other = test::ScratchFile("verrane-open-given-other", "p5.tor");
    t.app->SetRecentFiles({Temp("p5.tor").string(), other.string(), Temp("Smith & Sons.tor").string()});
    EXPECT_EQ(f2.FindMenu("mnuRecent1")->caption, "&1 " + Temp("p5.tor").string());
    EXPECT_EQ(f2.FindMenu("mnuRecent2")->caption, "&2 " + other.string());
    EXPECT_EQ(f2.FindMenu("mnuRecent3")->caption, "&3 Smith && Sons.tor");
    EXPECT_FALSE(f2.FindMenu("mnuRecent4")->visible);
}
