// Saving through File > Save and Save As onto the files a user may meet:
// links, a link planted where a temporary file could go, read-only and
// private files, very long names, a pipe, and a folder the user may not
// write into. The tests run as root, who may write anywhere; what only an
// ordinary user can observe is checked in a child process that has dropped
// to the user "nobody".
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "platform/textfile.h"
#include "screens/project/form2.h"
#include "tests/support/scratch.h"
#include "tests/support/test_app.h"

using namespace verrane;
namespace fs = std::filesystem;

namespace {
fs::path Dir(const std::string& name) {
    auto dir = fs::temp_directory_path() / "verrane-save" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::permissions(dir.parent_path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::group_read |
                                           fs::perms::others_exec | fs::perms::others_read);
    return dir;
}
using test::FileBytes;
void Put(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
fs::perms Mode(const fs::path& p) { return fs::status(p).permissions() & fs::perms::mask; }
std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

struct Saver {
    test::TestApp t;
    Form2& f2;
    explicit Saver(const std::string& tag) : t(tag), f2(t.Choose("Oklahoma", "Kay")) {
        f2.Text1[0].setText("Central High");
    }
    // File > Save As with `file` typed in the dialog; the messages shown.
    std::vector<std::string> SaveAs(const fs::path& file) {
        t.dialogs.messages.clear();
        t.dialogs.files = {file.string()};
        f2.FindMenu("mnusaveas")->click();
        return t.dialogs.texts();
    }
    std::vector<std::string> Save() {
        t.dialogs.messages.clear();
        f2.FindMenu("mnusave")->click();
        return t.dialogs.texts();
    }
};
const std::vector<std::string> kSaved{"Project Saved."};
}  // namespace

TEST(SaveFile, LinksAreFollowedAndNeverReplaced) {
    Saver s("save-links");
    const auto dir = Dir("links");
    Put(dir / "real.tor", "old\r\n");
    fs::create_symlink("real.tor", dir / "link.tor");
    EXPECT_EQ(s.SaveAs(dir / "link.tor"), kSaved);
    EXPECT_TRUE(fs::is_symlink(dir / "link.tor"));
    EXPECT_NE(FileBytes(dir / "real.tor").find("Central High"), std::string::npos);

    // A link planted under a name a temporary file might take leads nowhere
    // the save goes: the file it points at keeps its contents.
    Put(dir / "victim", "precious\r\n");
    for (const char* planted : {"project.tor.saving", "project.tor.tmp", "project.tor~", ".project.tor.swp"})
        fs::create_symlink(dir / "victim", dir / planted);
    EXPECT_EQ(s.SaveAs(dir / "project.tor"), kSaved);
    s.f2.Text1[0].setText("again");
    EXPECT_EQ(s.Save(), kSaved);
    EXPECT_EQ(FileBytes(dir / "victim"), "precious\r\n");
    EXPECT_NE(FileBytes(dir / "project.tor").find("again"), std::string::npos);
    EXPECT_FALSE(fs::is_symlink(dir / "project.tor"));
    EXPECT_EQ(Names(dir), (std::vector<std::string>{".project.tor.swp", "link.tor", "project.tor", "project.tor.saving",
                                                    "project.tor.tmp", "project.tor~", "real.tor", "victim"}));
}

TEST(SaveFile, PermissionsAreKeptAndAReadOnlyFileIsRefused) {
    Saver s("save-perms");
    const auto dir = Dir("perms");
    Put(dir / "private.tor", "old\r\n");
    fs::permissions(dir / "private.tor", fs::perms::owner_read | fs::perms::owner_write);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown((dir / "private.tor").c_str(), 65534, 65534), 0);
    }
    EXPECT_EQ(s.SaveAs(dir / "private.tor"), kSaved);
    EXPECT_EQ(Mode(dir / "private.tor"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_NE(FileBytes(dir / "private.tor").find("Central High"), std::string::npos);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "private.tor").c_str(), &st), 0);
    if (root) {
        EXPECT_EQ(st.st_uid, 65534u);  // still the user's own file
    }

    // Nobody may write it: refused with the reason, even for a user whom the
    // system would let write, and the file is left exactly as it was.
    const auto ro = dir / "read-only.tor";
    Put(ro, "old\r\n");
    fs::permissions(ro, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(s.SaveAs(ro), std::vector<std::string>{"The project was not saved. Cannot save to \"" + ro.string() +
                                                     "\": the file is read-only."});
    EXPECT_EQ(FileBytes(ro), "old\r\n");
    EXPECT_EQ(Mode(ro), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(s.t.app->ProjectFileName, (dir / "private.tor").string());

    // A pipe or a folder is not replaced by a file.
    ASSERT_EQ(::mkfifo((dir / "pipe.tor").c_str(), 0644), 0);
    fs::create_directory(dir / "folder.tor");
    EXPECT_EQ(s.SaveAs(dir / "pipe.tor"), std::vector<std::string>{"The project was not saved. Cannot save to \"" +
                                                                   (dir / "pipe.tor").string() + "\": it is a pipe."});
    EXPECT_EQ(s.SaveAs(dir / "folder.tor").size(), 1u);
    EXPECT_EQ(fs::status(dir / "pipe.tor").type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::is_directory(dir / "folder.tor"));
}

// Names up to the longest the file system takes can be saved and saved
// again, with the permissions of the file kept and nothing left behind.
TEST(SaveFile, LongestNamesSaveAndSaveAgain) {
    Saver s("save-long");
    const auto dir = Dir("long");
    for (size_t length : {246u, 250u, 255u}) {
        const auto file = dir / (std::string(length - 4, 'n') + ".tor");
        SCOPED_TRACE(length);
        EXPECT_EQ(s.SaveAs(file), kSaved);
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        }
        s.f2.Text1[1].setText("address " + std::to_string(length));
        EXPECT_EQ(s.Save(), kSaved);
        EXPECT_NE(FileBytes(file).find("address " + std::to_string(length)), std::string::npos);
        EXPECT_EQ(Mode(file), fs::perms::owner_read | fs::perms::owner_write);
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        if (::geteuid() == 0) {
            EXPECT_EQ(st.st_uid, 65534u);
        }
    }
    EXPECT_EQ(Names(dir).size(), 3u);
}

// What root cannot see: an ordinary user who may not write into the folder,
// or read the file, is told so, and nothing is written or claimed.
TEST(SaveFile, AUserWithoutPermissionIsToldWhy) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs to run as root to become another user";
    Saver s("save-denied");
    const auto dir = Dir("denied");
    Put(dir / "theirs.tor", "old\r\n");
    fs::permissions(dir / "theirs.tor", fs::perms::owner_read | fs::perms::owner_write);
    s.t.app->ProjectFileName = (dir / "theirs.tor").string();
    s.t.app->HasFileName = true;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(10);
        // Save onto the file, and beside it into the folder, neither of
        // which the user may write.
        const std::string notSaved = "The project was not saved. Cannot save to \"";
        const auto saved = s.Save();
        if (saved != std::vector<std::string>{notSaved + (dir / "theirs.tor").string() + "\": Permission denied."})
            ::_exit(11);
        const auto savedAs = s.SaveAs(dir / "new.tor");
        if (savedAs.size() != 1 || savedAs[0].rfind(notSaved + (dir / "new.tor").string() + "\": ", 0) != 0 ||
            savedAs[0].find("ermission denied") == std::string::npos)
            ::_exit(12);
        // Open the file the user may not read.
        s.t.dialogs.answers = {platform::Answer::No};
        s.t.dialogs.files = {(dir / "theirs.tor").string()};
        s.t.dialogs.messages.clear();
        s.f2.FindMenu("mnuOpen")->click();
        const auto opened = s.t.dialogs.texts();
        const std::string denied = "\"" + (dir / "theirs.tor").string() + "\" cannot be opened: Permission denied.";
        if (opened.size() != 2 || opened[1] != denied) ::_exit(13);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: could not become nobody, 11: Save, 12: Save As, 13: Open";
    EXPECT_EQ(FileBytes(dir / "theirs.tor"), "old\r\n");
    EXPECT_EQ(Names(dir), std::vector<std::string>{"theirs.tor"});
}

// A full disk: the save says so, the old file keeps its contents, and a
// save asked for at the save prompt stops the command. Needs a small file
// system of its own, mounted in a child process's private mount namespace.
TEST(SaveFile, AFullDiskLosesNothing) {
    Saver s("save-full");
    const auto dir = Dir("full");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=16k") != 0)
            ::_exit(77);
        Put(dir / "project.tor", "old\r\n");
        {
            std::ofstream filler(dir / "filler", std::ios::binary);
            const std::string block(512, 'f');
            while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {}
        }
        const std::string notSaved = "The project was not saved. ";
        s.t.app->ProjectFileName = (dir / "project.tor").string();
        s.t.app->HasFileName = true;
        const auto saved = s.Save();
        if (saved.size() != 1 || saved[0].rfind(notSaved, 0) != 0 ||
            saved[0].find("No space left on device") == std::string::npos)
            ::_exit(11);
        if (FileBytes(dir / "project.tor") != "old\r\n") ::_exit(12);
        s.t.dialogs.answers = {platform::Answer::Yes};
        s.t.dialogs.files = {(dir / "other.tor").string()};
        s.t.dialogs.messages.clear();
        s.f2.FindMenu("mnuNew")->click();
        if (s.t.dialogs.messages.size() != 2 || s.t.dialogs.messages[1].text.rfind(notSaved, 0) != 0) ::_exit(13);
        if (s.f2.Text1[0].text() != "Central High") ::_exit(14);
        if (Names(dir) != std::vector<std::string>{"filler", "project.tor"}) ::_exit(15);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot mount a small file system here";
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "11: Save message, 12: old file, 13: save prompt, 14: New went on, 15: files left behind";
}
