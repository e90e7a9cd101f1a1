// Values through the file commands, as a user meets them: pasted and typed
// line breaks, letters the file's code page lacks, numbers a box cannot hold
// and county codes the county table does not know.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/textfile.h"
#include "screens/building/form3.h"
#include "screens/mitigation/form5.h"
#include "tests/support/test_app.h"

namespace verrane {
namespace {

using platform::Answer;
namespace fs = std::filesystem;

fs::path Temp(const std::string& name) {
    auto dir = fs::temp_directory_path() / ("verrane-file-values-" + std::to_string(getpid()));
    fs::create_directories(dir);
    return dir / name;
}

void SaveAs(test::TestApp& t, const fs::path& file) {
    t.dialogs.files = {file.string()};
    t.app->front()->FindMenu("mnusaveas")->click();
}

void Open(test::TestApp& t, const fs::path& file) {
    t.dialogs.answers = {Answer::No};
    t.dialogs.files = {file.string()};
    t.dialogs.messages.clear();
    t.app->front()->FindMenu("mnuOpen")->click();
}

std::vector<std::string> MessagesAfterThePrompt(const test::TestApp& t) {
    std::vector<std::string> out;
    for (const auto& m : t.dialogs.messages)
        if (m.buttons != platform::Buttons::YesNoCancel) out.push_back(m.text);
    return out;
}

// A two-line address pasted with Edit > Paste becomes one line; Enter in the
// description is written as a space; the project opens again with its costs.
TEST(FileValues, LineBreaksNeverBreakTheFile) {
    const fs::path file = Temp("line-breaks.tor");
    test::TestApp t("file-values-breaks");
    Form2& f2 = t.Choose("Oklahoma", "Cleveland");
    f2.Text1[1].setFocus(true);
    t.dialogs.clipboard = "100 Main St.\r\nSuite 2";
    f2.FindMenu("mnupaste")->click();
    EXPECT_EQ(f2.Text1[1].text(), "100 Main St. Suite 2");
    f2.Text1[1].setFocus(false);

    f2.Command1_Click(2);
    Form5& f5 = t.app->form5();
    f5.Text1[0].setText("Phase 1: the safe room\r\nPhase 2: the corridor");
    f5.Text1[1].setText("250000");
    f5.Text1[3].setText("30");
    f5.Combo1.setListIndex(1);
    f5.Command1_Click(0);
    SaveAs(t, file);

    Open(t, file);
    EXPECT_EQ(MessagesAfterThePrompt(t), std::vector<std::string>{});
    EXPECT_EQ(f2.Text1[1].text(), "100 Main St. Suite 2");
    Form5* back = t.app->Loaded<Form5>();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Text1[0].text(), "Phase 1: the safe room Phase 2: the corridor");
    EXPECT_EQ(back->Text1[1].text(), "250000");
    EXPECT_EQ(back->Combo1.listIndex(), 1);
    fs::remove_all(file.parent_path());
}

// Letters outside Windows-1252 are saved as "?": the user is told which
// fields change, and how, before the file is written.
TEST(FileValues, LettersTheCodePageLacksAreAnnouncedBeforeSaving) {
    const fs::path file = Temp("code-page.tor");
    test::TestApp t("file-values-cp");
    Form2& f2 = t.Choose("Oklahoma", "Cleveland");
    f2.Text1[6].setText("\xC5\x81ukasz \xE6\x9D\xB1");  // Łukasz 東
    f2.Text1[2].setText("Ca\xC3\xB1on \xE2\x82\xAC");   // Cañon €: all in the code page
    t.dialogs.messages.clear();
    SaveAs(t, file);
    ASSERT_GE(t.dialogs.messages.size(), 1u);
    const std::string& notice = t.dialogs.messages[0].text;
    EXPECT_NE(notice.find("Analyst: \"\xC5\x81ukasz \xE6\x9D\xB1\" is saved as \"?ukasz ?\""), std::string::npos)
        << notice;
    EXPECT_EQ(notice.find("City"), std::string::npos) << notice;

    Open(t, file);
    EXPECT_EQ(f2.Text1[6].text(), "?ukasz ?");
    EXPECT_EQ(f2.Text1[2].text(), "Ca\xC3\xB1on \xE2\x82\xAC");
    t.dialogs.messages.clear();
    SaveAs(t, Temp("code-page-again.tor"));
    EXPECT_EQ(t.dialogs.messages.size(), 1u);  // "Project Saved." only
    fs::remove_all(file.parent_path());
}

// A number no box could hold is refused in a file as in the box: the file
// is rejected naming the line, and the project on screen stays.
TEST(FileValues, NumbersBeyondTheirBoxRejectTheFileWithTheLine) {
    const fs::path good = Temp("good.tor");
    test::TestApp t("file-values-range");
    Form2& f2 = t.Choose("Oklahoma", "Cleveland");
    f2.Command1_Click(2);
    t.app->form5().Text1[4].setText("12500");
    t.app->form5().Command1_Click(0);
    SaveAs(t, good);
    auto lines = platform::ReadTextLines(good);
    const size_t injuryCost = lines.size() - 40;
    ASSERT_EQ(lines[injuryCost], "12500");
    lines[injuryCost] = "1e39";
    const fs::path bad = Temp("bad.tor");
    platform::WriteTextLinesAtomically(bad, lines);

    f2.Text1[0].setText("Still here");
    Open(t, bad);
    const auto texts = MessagesAfterThePrompt(t);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("Selected File has incorrect format. Line " + std::to_string(injuryCost + 1) + ":", 0), 0u)
        << texts[0];
    EXPECT_NE(texts[0].find("injury cost"), std::string::npos) << texts[0];
    EXPECT_EQ(f2.Text1[0].text(), "Still here");
    fs::remove_all(good.parent_path());
}

// County codes the table does not know are left out, and said so; a county
// listed twice counts once.
TEST(FileValues, UnknownAndRepeatedCountyCodesAreLeftOutOnOpen) {
    const fs::path file = Temp("counties.tor");
    platform::WriteTextLinesAtomically(file, {"Verrane v1.0", "Gym", "", "", "Oklahoma", "Cleveland", "", "", "", "",
                                              "FALSE", "2", "5", "40027", "99999", "40109", "40027", "00000", "FALSE"});
    test::TestApp t("file-values-counties");
    Form2& f2 = t.Start();
    Open(t, file);
    EXPECT_EQ(f2.SelectedCounties, (std::vector<std::string>{"40027", "40109"}));
    const auto texts = MessagesAfterThePrompt(t);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("99999, 00000"), std::string::npos) << texts[0];
    EXPECT_EQ(texts[0].find("40027"), std::string::npos) << texts[0];
    fs::remove_all(file.parent_path());
}

}  // namespace
}  // namespace verrane
