#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/textfile.h"
#include "screens/building/form3.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "screens/start/form1.h"
#include "tests/support/test_app.h"

using namespace verrane;
using platform::Answer;
namespace fs = std::filesystem;

namespace {
fs::path Temp(const std::string& name) {
    auto dir = fs::temp_directory_path() / "verrane-lifecycle";
    fs::create_directories(dir);
    return dir / name;
}
std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
void Fill(Form2& f2) {
    f2.Text1[0].setText("Fremont Middle School");
    f2.Text1[1].setText("100 Main St.");
    f2.Text1[2].setText("Ca\xC3\xB1on City");
    f2.Text1[3].setText("DR-1234");
    f2.Text1[6].setText("J. Analyst");
}
}  // namespace

TEST(ProjectFile, SaveOpenSaveGivesIdenticalBytes) {
    auto first = Temp("roundtrip1.tor"), second = Temp("roundtrip2.tor");
    {
        test::TestApp t("life-rt1");
        Form2& f2 = t.Choose("Colorado", "Fremont");
        Fill(f2);
        f2.SelectionMethod = 0;
        f2.SelectionRadius = 50;
        f2.SelectedCounties = {"08043", "19141"};
        t.app->form3();
        t.app->form5();
        f2.Write_File(first);
    }
    EXPECT_NE(Bytes(first).find("Ca\xF1on City\r\n"), std::string::npos);  // Windows-1252 on disk
    test::TestApp t("life-rt2");
    Form2& f2 = t.Start();
    f2.Read_File(first);
    ASSERT_FALSE(f2.LoadFailed);
    EXPECT_EQ(f2.Text1[2].text(), "Ca\xC3\xB1on City");
    EXPECT_EQ(f2.Combo2.text(), "Fremont");
    EXPECT_EQ(f2.SelectionMethod, 0);
    EXPECT_EQ(f2.SelectionRadius, 50);
    EXPECT_EQ(f2.SelectedCounties, (std::vector<std::string>{"08043", "19141"}));
    EXPECT_TRUE(t.app->IsLoaded("Form3"));
    EXPECT_TRUE(t.app->IsLoaded("Form5"));
    f2.Write_File(second);
    EXPECT_EQ(Bytes(first), Bytes(second));
}

TEST(ProjectFile, UnknownStateLoadsAsClickState) {
    auto file = Temp("unknown-state.tor");
    platform::WriteTextLinesAtomically(file, {"Verrane v1.0", "", "", "", "Atlantis", "Nowhere", "", "", "", "", "FALSE",
                                              "", "0", "FALSE"});
    test::TestApp t("life-unknown");
    Form2& f2 = t.Start();
    f2.Read_File(file);
    EXPECT_FALSE(f2.LoadFailed);
    EXPECT_EQ(f2.Combo3.text(), " Click State");
    EXPECT_EQ(f2.Combo2.text(), " Click County");
    EXPECT_EQ(f2.Combo2.listCount(), 1);
    EXPECT_FALSE(t.app->IsLoaded("Form3"));
    EXPECT_FALSE(t.app->IsLoaded("Form5"));
}

TEST(ProjectFile, RejectedFileChangesNothingButTheDiscardedScreens) {
    test::TestApp t("life-reject");
    Form2& f2 = t.Choose("Oklahoma", "Cleveland");
    Fill(f2);
    t.app->form3();
    auto bad = Temp("bad-header.tor");
    platform::WriteTextLinesAtomically(bad, {"Verrane v1.0 ", "x"});
    f2.Read_File(bad);
    EXPECT_TRUE(f2.LoadFailed);
    EXPECT_FALSE(f2.Loading);
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_EQ(t.dialogs.messages[0].text, "Selected File has incorrect format.");
    EXPECT_EQ(t.dialogs.messages[0].title, "");
    EXPECT_FALSE(t.app->IsLoaded("Form3"));
    EXPECT_EQ(f2.Text1[0].text(), "Fremont Middle School");
    EXPECT_EQ(f2.Combo2.text(), "Cleveland");
    EXPECT_EQ(f2.SelectedCounties, std::vector<std::string>{"40027"});

    // A file cut short is rejected the same way, naming the line.
    auto cut = Temp("cut.tor");
    platform::WriteTextLinesAtomically(cut, {"Verrane v1.0", "Name", "", "", "Oklahoma", "Kay", "", "", "", "", "FALSE", ""});
    t.dialogs.messages.clear();
    f2.LoadFailed = false;
    f2.Read_File(cut);
    EXPECT_TRUE(f2.LoadFailed);
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_EQ(t.dialogs.messages[0].text.rfind("Selected File has incorrect format. Line 13:", 0), 0u)
        << t.dialogs.messages[0].text;
    EXPECT_EQ(f2.Text1[0].text(), "Fremont Middle School");

    // Binary garbage.
    auto bin = Temp("garbage.tor");
    { std::ofstream(bin, std::ios::binary) << std::string("\x89PNG\r\n\x1a\n\0\0\0", 11); }
    f2.LoadFailed = false;
    f2.Read_File(bin);
    EXPECT_TRUE(f2.LoadFailed);
}

TEST(Lifecycle, CancelAtTheSavePromptChangesNothing) {
    test::TestApp t("life-cancel");
    Form2& f2 = t.Choose("Oklahoma", "Kay");
    Fill(f2);
    t.app->form3();
    t.dialogs.answers = {Answer::Cancel};
    f2.mnuNew_Click();
    EXPECT_EQ(f2.Text1[0].text(), "Fremont Middle School");
    EXPECT_TRUE(t.app->IsLoaded("Form3"));
    EXPECT_FALSE(f2.StatePending);
    t.dialogs.answers = {Answer::Cancel};
    f2.mnuOpen_Click();
    EXPECT_TRUE(t.app->IsLoaded("Form3"));
    EXPECT_TRUE(t.dialogs.fileRequests.empty());
    t.dialogs.answers = {Answer::Cancel};
    f2.mnuExit_Click();
    EXPECT_TRUE(t.app->IsLoaded("Form2"));
}

TEST(Lifecycle, YesThenCancelledSaveAsStillGoesAhead) {
    test::TestApp t("life-yes");
    Form2& f2 = t.Choose("Oklahoma", "Kay");
    Fill(f2);
    t.dialogs.answers = {Answer::Yes};
    t.dialogs.files = {std::nullopt};
    f2.mnuNew_Click();
    ASSERT_EQ(t.dialogs.fileRequests.size(), 1u);
    EXPECT_TRUE(t.dialogs.fileRequests[0].save);
    EXPECT_EQ(t.dialogs.fileRequests[0].flags, 6);
    EXPECT_EQ(t.dialogs.fileRequests[0].filter, "Tornado Project (*.tor)|*.tor");
    EXPECT_EQ(f2.Text1[0].text(), "");
    EXPECT_EQ(f2.Combo3.text(), " Click State");
    EXPECT_EQ(f2.SelectionMethod, -1);
    EXPECT_FALSE(t.app->HasFileName);
}

TEST(Lifecycle, SaveAsksForANameOnlyOnceAndNeverClaimsAFailedSave) {
    test::TestApp t("life-save");
    Form2& f2 = t.Choose("Oklahoma", "Kay");
    auto file = Temp("saved.tor");
    fs::remove(file);
    t.dialogs.files = {file.string()};
    f2.mnusave_Click();
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(t.dialogs.messages.back().text, "Project Saved.");
    EXPECT_EQ(t.dialogs.fileRequests.back().flags, 4);
    const size_t asked = t.dialogs.fileRequests.size();
    f2.Text1[0].setText("changed");
    f2.mnusave_Click();
    EXPECT_EQ(t.dialogs.fileRequests.size(), asked);  // no dialog the second time
    EXPECT_NE(Bytes(file).find("changed"), std::string::npos);

    // A save that cannot be written says so and leaves the old file alone.
    const std::string before = Bytes(file);
    t.app->ProjectFileName = (Temp("no-such-folder") / "x" / "y.tor").string();
    f2.Text1[0].setText("lost?");
    t.dialogs.messages.clear();
    f2.mnusave_Click();
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_NE(t.dialogs.messages[0].text, "Project Saved.");
    EXPECT_EQ(Bytes(file), before);
}

TEST(Lifecycle, OpenCancelledKeepsFieldsButDiscardsScreens) {
    test::TestApp t("life-open");
    Form2& f2 = t.Choose("Oklahoma", "Kay");
    Fill(f2);
    t.app->form3();
    t.app->form5();
    t.dialogs.answers = {Answer::No};
    t.dialogs.files = {std::nullopt};
    f2.mnuOpen_Click();
    EXPECT_EQ(f2.Text1[0].text(), "Fremont Middle School");
    EXPECT_EQ(f2.SelectedCounties, std::vector<std::string>{"40071"});
    EXPECT_FALSE(t.app->IsLoaded("Form3"));
    EXPECT_FALSE(t.app->IsLoaded("Form5"));
    auto file = Temp("after-open-cancel.tor");
    f2.Write_File(file);
    auto lines = platform::ReadTextLines(file);
    EXPECT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[10], "FALSE");
    EXPECT_EQ(lines.back(), "FALSE");
}

TEST(Lifecycle, StartScreenOpensAnExistingProject) {
    auto file = Temp("start.tor");
    {
        test::TestApp t("life-start1");
        Form2& f2 = t.Choose("Texas", "Cooke");
        f2.Text1[0].setText("Gainesville Shelter");
        f2.Write_File(file);
    }
    test::TestApp t("life-start2");
    Form1& f1 = t.app->form1();
    f1.Show();
    f1.Option1[1].setValue(true);
    t.dialogs.files = {std::nullopt};
    f1.Command1_Click(0);  // cancelled: the start screen stays
    EXPECT_FALSE(t.app->IsLoaded("Form2"));
    EXPECT_EQ(t.app->front(), &f1);
    t.dialogs.files = {file.string()};
    f1.Command1_Click(0);
    ASSERT_TRUE(t.app->IsLoaded("Form2"));
    Form2& f2 = t.app->form2();
    EXPECT_EQ(t.app->front(), &f2);
    EXPECT_EQ(f2.Text1[0].text(), "Gainesville Shelter");
    EXPECT_EQ(f2.ProjectFips(), "48097");
    EXPECT_FALSE(t.app->IsLoaded("Form8"));
    EXPECT_TRUE(t.app->HasFileName);
}
