#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "platform/textfile.h"
#include "screens/building/form3.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "screens/start/form1.h"
#include "tests/support/scratch.h"
#include "tests/support/test_app.h"

using namespace verrane;
using platform::Answer;
namespace fs = std::filesystem;

namespace {
fs::path Temp(const std::string& name) { return test::ScratchFile("verrane-lifecycle", name); }
using test::FileBytes;
// "Existing Project" and OK on the start screen, and `file` in the dialog.
void StartWith(test::TestApp& t, const fs::path& file) {
    Form1& f1 = t.app->form1();
    f1.Show();
    f1.Option1[1].setValue(true);
    t.dialogs.files = {file.string()};
    f1.Command1_Click(0);
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
    EXPECT_NE(FileBytes(first).find("Ca\xF1on City\r\n"), std::string::npos);  // Windows-1252 on disk
    test::TestApp t("life-rt2");
    Form2& f2 = t.Start();
    ASSERT_TRUE(f2.Read_File(first).ok());
    EXPECT_EQ(f2.Text1[2].text(), "Ca\xC3\xB1on City");
    EXPECT_EQ(f2.Combo2.text(), "Fremont");
    EXPECT_EQ(f2.SelectionMethod, 0);
    EXPECT_EQ(f2.SelectionRadius, 50);
    EXPECT_EQ(f2.SelectedCounties, (std::vector<std::string>{"08043", "19141"}));
    EXPECT_TRUE(t.app->IsLoaded("Form3"));
    EXPECT_TRUE(t.app->IsLoaded("Form5"));
    f2.Write_File(second);
    EXPECT_EQ(FileBytes(first), FileBytes(second));
}

TEST(ProjectFile, UnknownStateLoadsAsClickState) {
    auto file = Temp("unknown-state.tor");
    platform::WriteTextLinesAtomically(
        file, {"Verrane v1.0", "", "", "", "Atlantis", "Nowhere", "", "", "", "", "FALSE", "", "0", "FALSE"});
    test::TestApp t("life-unknown");
    Form2& f2 = t.Start();
    EXPECT_TRUE(f2.Read_File(file).ok());
    EXPECT_EQ(f2.Combo3.text(), " Click State");
    EXPECT_EQ(f2.Combo2.text(), " Click County");
    EXPECT_EQ(f2.Combo2.listCount(), 1);
    EXPECT_FALSE(t.app->IsLoaded("Form3"));
    EXPECT_FALSE(t.app->IsLoaded("Form5"));
}

TEST(ProjectFile, RejectedFileChangesNothing) {
    test::TestApp t("life-reject");
    Form2& f2 = t.Choose("Oklahoma", "Cleveland");
    Fill(f2);
    t.app->form3();
    auto bad = Temp("bad-header.tor");
    platform::WriteTextLinesAtomically(bad, {"Verrane v1.0 ", "x"});
    EXPECT_FALSE(f2.Read_File(bad).ok());
    EXPECT_FALSE(f2.Loading);
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_EQ(t.dialogs.messages[0].text, "Selected File has incorrect format.");
    EXPECT_EQ(t.dialogs.messages[0].title, "");
    EXPECT_TRUE(t.app->IsLoaded("Form3"));
    EXPECT_EQ(f2.Text1[0].text(), "Fremont Middle School");
    EXPECT_EQ(f2.Combo2.text(), "Cleveland");
    EXPECT_EQ(f2.SelectedCounties, std::vector<std::string>{"40027"});

    // A file cut short is rejected the same way, naming the line.
    auto cut = Temp("cut.tor");
    platform::WriteTextLinesAtomically(
        cut, {"Verrane v1.0", "Name", "", "", "Oklahoma", "Kay", "", "", "", "", "FALSE", ""});
    t.dialogs.messages.clear();
    EXPECT_FALSE(f2.Read_File(cut).ok());
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_EQ(t.dialogs.messages[0].text.rfind("Selected File has incorrect format. Line 13:", 0), 0u)
        << t.dialogs.messages[0].text;
    EXPECT_EQ(f2.Text1[0].text(), "Fremont Middle School");

    // Binary garbage.
    auto bin = Temp("garbage.tor");
    { std::ofstream(bin, std::ios::binary) << std::string("\x89PNG\r\n\x1a\n\0\0\0", 11); }
    EXPECT_FALSE(f2.Read_File(bin).ok());
}

// The file commands say in their result what became of the file, so callers
// need not read the message: rejected contents, an unreadable file and a
// cancelled command are told apart.
TEST(ProjectFile, OpenSaysWhyNoFileWasRead) {
    test::TestApp t("life-result");
    Form2& f2 = t.Choose("Oklahoma", "Kay");
    auto bad = Temp("result-bad.tor");
    platform::WriteTextLinesAtomically(bad, {"not a project"});
    const project::FileResult rejected = f2.Read_File(bad);
    EXPECT_EQ(rejected.status, project::FileStatus::Rejected);
    EXPECT_EQ(rejected.message, t.dialogs.messages.back().text);
    EXPECT_EQ(f2.Read_File(Temp("result-missing.tor")).status, project::FileStatus::Unreadable);

    t.dialogs.answers = {Answer::No};
    t.dialogs.files = {bad.string()};
    EXPECT_EQ(f2.OpenProject().status, project::FileStatus::Rejected);
    t.dialogs.answers = {Answer::Cancel};
    EXPECT_EQ(f2.OpenProject().status, project::FileStatus::Cancelled);
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

// Yes at the save prompt, then no save (the Save As dialog cancelled, or a
// save that failed): New, Open and Exit stop and the project stays as it was.
TEST(Lifecycle, YesThenNoSaveStopsNewOpenAndExit) {
    test::TestApp t("life-yes");
    Form2& f2 = t.Choose("Oklahoma", "Kay");
    Fill(f2);
    Form3& f3 = t.app->form3();
    f3.Text1[0].setText("120");
    const auto readOnly = Temp("read-only.tor");
    fs::remove(readOnly);
    platform::WriteTextLinesAtomically(readOnly, {"kept"});
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    t.dialogs.files = {Temp("yes-first.tor").string()};
    f2.mnusave_Click();  // the file name the project has must stay too
    const std::string name = t.app->ProjectFileName;
    ASSERT_TRUE(t.app->HasFileName);

    for (const char* command : {"mnuNew", "mnuOpen", "mnuExit"}) {
        for (bool cancelled : {true, false}) {
            SCOPED_TRACE(std::string(command) + (cancelled ? " cancelled" : " failed"));
            t.dialogs.messages.clear();
            t.dialogs.fileRequests.clear();
            t.dialogs.answers = {Answer::Yes};
            t.dialogs.files = {cancelled ? std::nullopt : std::optional<std::string>(readOnly.string())};
            f3.FindMenu(command)->click();
            ASSERT_EQ(t.dialogs.fileRequests.size(), 1u);  // the Save As dialog only, no Open dialog
            EXPECT_EQ(t.dialogs.fileRequests[0].flags, 6);
            if (!cancelled) {
                ASSERT_EQ(t.dialogs.messages.size(), 2u);
                EXPECT_EQ(t.dialogs.messages[1].text.rfind("The project was not saved.", 0), 0u);
            }
            ASSERT_TRUE(t.app->IsLoaded("Form2"));
            ASSERT_TRUE(t.app->IsLoaded("Form3"));
            EXPECT_EQ(f2.Text1[0].text(), "Fremont Middle School");
            EXPECT_EQ(f3.Text1[0].text(), "120");
            EXPECT_EQ(f2.Combo2.text(), "Kay");
            EXPECT_FALSE(f2.StatePending);
            EXPECT_EQ(t.app->ProjectFileName, name);
            EXPECT_EQ(FileBytes(readOnly), "kept\r\n");
        }
    }

    // A save that was made lets the command go on.
    const auto saved = Temp("yes-saved.tor");
    t.dialogs.answers = {Answer::Yes};
    t.dialogs.files = {saved.string()};
    f2.mnuNew_Click();
    EXPECT_EQ(t.dialogs.messages.back().text, "Project Saved.");
    EXPECT_EQ(f2.Text1[0].text(), "");
    EXPECT_FALSE(t.app->IsLoaded("Form3"));
    EXPECT_FALSE(t.app->HasFileName);
    EXPECT_NE(FileBytes(saved).find("Fremont Middle School"), std::string::npos);
}

// A file that Open or the start screen rejected never becomes the file that
// Save writes; an Open that was cancelled keeps the file the project had.
TEST(Lifecycle, RejectedOrCancelledOpenKeepsTheProjectsFile) {
    const auto good = Temp("keep-good.tor"), bad = Temp("keep-bad.tor");
    {
        test::TestApp t("life-keep0");
        Form2& f2 = t.Choose("Texas", "Cooke");
        f2.Text1[0].setText("Gainesville Shelter");
        f2.Write_File(good);
    }
    { std::ofstream(bad, std::ios::binary) << "Not a project\r\n" << std::string(1200, 'x') << "\r\n"; }
    const std::string damaged = FileBytes(bad);

    test::TestApp t("life-keep1");
    StartWith(t, good);
    Form2& f2 = t.app->form2();
    f2.Text1[6].setText("first edit");

    t.dialogs.answers = {Answer::No};
    t.dialogs.files = {std::nullopt};
    f2.FindMenu("mnuOpen")->click();  // cancelled: closes the start screen, keeps the name
    t.dialogs.messages.clear();
    f2.FindMenu("mnusave")->click();
    EXPECT_EQ(t.dialogs.texts(), std::vector<std::string>{"Project Saved."});
    EXPECT_NE(FileBytes(good).find("first edit"), std::string::npos);

    t.dialogs.answers = {Answer::No};
    t.dialogs.files = {bad.string()};
    f2.FindMenu("mnuOpen")->click();
    EXPECT_EQ(t.dialogs.messages.back().text, "Selected File has incorrect format.");
    EXPECT_EQ(t.app->front(), &f2);
    f2.Text1[6].setText("second edit");
    const size_t asked = t.dialogs.fileRequests.size();
    f2.FindMenu("mnusave")->click();
    EXPECT_EQ(t.dialogs.fileRequests.size(), asked);
    EXPECT_EQ(FileBytes(bad), damaged);
    EXPECT_NE(FileBytes(good).find("second edit"), std::string::npos);

    // Rejected at start: the project has no file, and Save asks for one.
    test::TestApp s("life-keep2");
    StartWith(s, bad);
    EXPECT_EQ(s.dialogs.texts(), std::vector<std::string>{"Selected File has incorrect format."});
    EXPECT_FALSE(s.app->HasFileName);
    s.dialogs.files = {std::nullopt};
    s.app->form2().FindMenu("mnusave")->click();
    ASSERT_EQ(s.dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(s.dialogs.fileRequests[1].flags, 4);
    EXPECT_EQ(FileBytes(bad), damaged);
}

// ".tor" is added to a name typed without an extension; Save As asks before
// replacing the file of that name (the dialog asked only about the name as
// typed), and No goes back to the dialog.
TEST(Lifecycle, SaveAddsTheExtensionAndSaveAsAsksBeforeReplacingIt) {
    test::TestApp t("life-ext");
    Form2& f2 = t.Choose("Oklahoma", "Kay");
    const auto dir = Temp("ext");
    fs::remove_all(dir);
    fs::create_directories(dir);
    t.dialogs.files = {(dir / "test").string()};
    f2.FindMenu("mnusave")->click();
    EXPECT_FALSE(fs::exists(dir / "test"));
    EXPECT_TRUE(fs::exists(dir / "test.tor"));
    EXPECT_EQ(t.app->ProjectFileName, (dir / "test.tor").string());
    EXPECT_EQ(t.dialogs.texts(), std::vector<std::string>{"Project Saved."});

    f2.Text1[0].setText("second");
    t.dialogs.messages.clear();
    t.dialogs.answers = {Answer::No};
    t.dialogs.files = {(dir / "test").string(), (dir / "other").string()};
    f2.FindMenu("mnusaveas")->click();
    ASSERT_EQ(t.dialogs.messages.size(), 2u);
    EXPECT_EQ(t.dialogs.messages[0].text, (dir / "test.tor").string() + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(t.dialogs.messages[0].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(t.dialogs.messages[1].text, "Project Saved.");
    EXPECT_EQ(FileBytes(dir / "test.tor").find("second"), std::string::npos);
    EXPECT_NE(FileBytes(dir / "other.tor").find("second"), std::string::npos);
    EXPECT_EQ(t.app->ProjectFileName, (dir / "other.tor").string());

    t.dialogs.messages.clear();
    t.dialogs.answers = {Answer::Yes};
    t.dialogs.files = {(dir / "test").string()};
    f2.FindMenu("mnusaveas")->click();
    EXPECT_EQ(t.dialogs.messages.size(), 2u);
    EXPECT_NE(FileBytes(dir / "test.tor").find("second"), std::string::npos);

    // A name typed with its extension is the dialog's business: no second question.
    t.dialogs.messages.clear();
    t.dialogs.files = {(dir / "test.tor").string(), (dir / "notes.txt").string()};
    f2.FindMenu("mnusaveas")->click();
    f2.FindMenu("mnusaveas")->click();
    EXPECT_EQ(t.dialogs.texts(), (std::vector<std::string>{"Project Saved.", "Project Saved."}));
    EXPECT_TRUE(fs::exists(dir / "notes.txt"));
}

// A file that cannot be read is reported for what it is, not as a wrong
// format, and a pipe does not stall the open.
TEST(Lifecycle, UnreadableFilesSayWhatIsWrong) {
    test::TestApp t("life-unreadable");
    Form2& f2 = t.Choose("Oklahoma", "Kay");
    Fill(f2);
    const auto fifo = Temp("pipe.tor");
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const auto folder = Temp("folder.tor");
    fs::create_directories(folder);
    const std::pair<fs::path, std::string> cases[] = {
        {fifo, "\"" + fifo.string() + "\" is a pipe, not a project file."},
        {folder, "\"" + folder.string() + "\" is a folder, not a project file."},
        {"/dev/null", "\"/dev/null\" is a device, not a project file."},
        {Temp("missing.tor"), "\"" + Temp("missing.tor").string() + "\" cannot be opened: No such file or directory."}};
    for (const auto& [file, text] : cases) {
        t.dialogs.messages.clear();
        t.dialogs.answers = {Answer::No};
        t.dialogs.files = {file.string()};
        f2.FindMenu("mnuOpen")->click();
        EXPECT_EQ(t.dialogs.texts(),
                  (std::vector<std::string>{"Do you want to save changes to the current project?", text}));
        EXPECT_EQ(f2.Text1[0].text(), "Fremont Middle School");
        EXPECT_EQ(t.app->front(), &f2);
    }
    EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
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
    EXPECT_NE(FileBytes(file).find("changed"), std::string::npos);

    // A save that cannot be written says so and leaves the old file alone.
    const std::string before = FileBytes(file);
    t.app->ProjectFileName = (Temp("no-such-folder") / "x" / "y.tor").string();
    f2.Text1[0].setText("lost?");
    t.dialogs.messages.clear();
    f2.mnusave_Click();
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    EXPECT_NE(t.dialogs.messages[0].text, "Project Saved.");
    EXPECT_EQ(FileBytes(file), before);
}

// A cancelled or rejected Open leaves the whole project, its file name and
// what Save writes as they were; a project opened is saved into its file.
TEST(Lifecycle, OpenKeepsTheProjectUntilAFileLoads) {
    test::TestApp t("life-open");
    Form2& f2 = t.Choose("Oklahoma", "Kay");
    Fill(f2);
    t.app->form3().Text1[0].setText("120");
    t.app->form5().Text1[1].setText("250000");
    const auto file = Temp("open-keeps.tor");
    t.dialogs.files = {file.string()};
    f2.mnusaveas_Click();
    const std::string saved = test::FileBytes(file);
    auto bad = Temp("open-keeps-bad.tor");
    platform::WriteTextLinesAtomically(bad, {"Verrane v1.0", "x"});
    for (std::optional<std::string> chosen : {std::optional<std::string>(), std::optional(bad.string())}) {
        t.dialogs.answers = {Answer::No};
        t.dialogs.files = {chosen};
        f2.mnuOpen_Click();
        EXPECT_TRUE(t.app->IsLoaded("Form3"));
        EXPECT_TRUE(t.app->IsLoaded("Form5"));
        EXPECT_EQ(t.app->ProjectFileName, file.string());
        EXPECT_TRUE(t.app->HasFileName);
        t.dialogs.fileRequests.clear();
        f2.mnusave_Click();  // into the project's file, without a dialog
        EXPECT_TRUE(t.dialogs.fileRequests.empty());
        EXPECT_EQ(test::FileBytes(file), saved);
    }

    // Another project opened is the one Save writes, without asking.
    const auto other = Temp("open-keeps-other.tor");
    fs::copy_file(file, other, fs::copy_options::overwrite_existing);
    t.dialogs.answers = {Answer::No};
    t.dialogs.files = {other.string()};
    f2.mnuOpen_Click();
    EXPECT_EQ(t.app->ProjectFileName, other.string());
    EXPECT_TRUE(t.app->HasFileName);
    t.dialogs.fileRequests.clear();
    f2.Text1[6].setText("Someone Else");
    f2.mnusave_Click();
    EXPECT_TRUE(t.dialogs.fileRequests.empty());
    EXPECT_NE(test::FileBytes(other).find("Someone Else"), std::string::npos);
    EXPECT_EQ(test::FileBytes(file), saved);
    // The dialogs start in the project's folder.
    t.dialogs.answers = {Answer::No};
    f2.mnuOpen_Click();
    ASSERT_FALSE(t.dialogs.fileRequests.empty());
    EXPECT_EQ(t.dialogs.fileRequests.back().folder, fs::absolute(other).parent_path().string());
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

// A file holding values no project can have opens with those boxes empty
// (the radius at 0) and one message naming each input, the value found and
// the rule; everything else of the project loads and saves as it was.
TEST(ProjectFile, ImpossibleValuesOpenAsEmptyBoxesWithOneMessage) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    std::vector<std::string> lines =
        platform::ReadTextLines(fs::path(VERRANE_SOURCE_DIR) / "examples" / "oklahoma-school-gym.tor");
    ASSERT_EQ(lines[43], "50");  // the radius
    const std::vector<std::pair<size_t, std::string>> impossible = {
        {10, "-5"}, {43, "-50"}, {68, "0.5"}, {71, "150"}, {82, "500"}};
    for (const auto& [line, value] : impossible) lines[line] = value;
    const fs::path file = Temp("impossible.tor"), saved = Temp("impossible-saved.tor");
    platform::WriteTextLinesAtomically(file, lines);

    test::TestApp t("");
    Form2& f2 = t.Start();
    ASSERT_TRUE(f2.Read_File(file).ok());
    ASSERT_EQ(t.dialogs.messages.size(), 1u);
    const std::string& said = t.dialogs.messages[0].text;
    for (const char* part : {"Building longest length (feet): found \"-5\"; it must be greater than 0.",
                             "Radius of the region around the county (miles): found \"-50\"; it must be a whole "
                             "number from 0 to 250.",
                             "Project useful lifetime (years): found \"0.5\"; it must be a whole number from 1 to "
                             "32,767.",
                             "Discount rate (%): found \"150\"; it must be from 0 to 100.",
                             "User-defined injury effectiveness, 0 - 44 mph (%): found \"500\"; it must be from "
                             "0 to 100."})
        EXPECT_NE(said.find(part), std::string::npos) << said;
    EXPECT_EQ(t.app->form3().Text1[0].text(), "");
    EXPECT_EQ(t.app->form5().Text1[3].text(), "");
    EXPECT_EQ(t.app->form5().Text1[6].text(), "");
    EXPECT_EQ(f2.SelectionRadius, 0);
    EXPECT_FALSE(t.app->form2().FindMenu("mnuBCAnalysis")->enabled) << "the analysis is off while inputs are missing";

    f2.Write_File(saved);
    std::vector<std::string> expected = lines;
    for (const auto& [line, value] : impossible) expected[line] = line == 43 ? "0" : "";
    EXPECT_EQ(platform::ReadTextLines(saved), expected);
}
