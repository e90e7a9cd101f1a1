// Every command that writes a file, pointed at outputs it must not harm: a
// device, a pipe nobody reads, a folder, a read-only file, a link loop, its
// own input, a full disk, an empty name and a folder's name. Each run has a
// time limit, so a command that blocks fails instead of hanging the suite;
// afterwards nothing in the folder may have changed.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/cli/run_cli.h"

namespace verrane::test {
namespace {

namespace fs = std::filesystem;

// Runs the program under a time limit; status 124 means it had to be stopped.
CliRun RunLimited(const std::string& args) {
    const auto out = CliScratch("targets-stdout.txt"), err = CliScratch("targets-stderr.txt");
    const std::string cmd = "timeout 20 " + ShellWord(VERRANE_CLI_PATH) + " " + args + " >" +
                            ShellWord(out.string()) + " 2>" + ShellWord(err.string()) + " </dev/null";
    const int rc = std::system(cmd.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, FileBytes(out), FileBytes(err)};
}

// What a folder holds: each entry's kind, permissions, owner, link target and bytes.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
    std::map<std::string, std::string> entries;
    for (const auto& e : fs::directory_iterator(dir)) {
        struct stat st {};
        ::lstat(e.path().c_str(), &st);
        std::string what = std::to_string(st.st_mode) + " " + std::to_string(st.st_uid) + " ";
        if (S_ISLNK(st.st_mode)) what += fs::read_symlink(e.path()).string();
        if (S_ISREG(st.st_mode)) what += FileBytes(e.path());
        entries[e.path().filename().string()] = what;
    }
    return entries;
}

// One writing command: its arguments with the output put in place of {}.
struct Writer {
    const char* name;
    std::string args;  // "{}" is the output, "{p}" the project
    std::string successLine;  // printed only when the file was written ("{}": the output's name)
    std::string SuccessLine(const std::string& output) const { return successLine == "{}" ? output : successLine; }
};

std::vector<Writer> Writers() {
    return {{"edit", "edit {p} --set DiscountRate=4 -o {}", ""},
            {"report", "report {p} --short -o {}", "page"},
            {"sensitivity", "sensitivity {p} --pdf {}", ""},
            {"screen --csv", "screen {p} --state Delaware --csv {}", ""},
            {"screen --map", "screen {p} --state Delaware --map {}", ""},
            {"screenshot", "screenshot project --project {p} -o {}", "{}"}};
}

std::string Fill(std::string args, const std::string& output, const fs::path& project) {
    args.replace(args.find("{p}"), 3, ShellWord(project.string()));
    args.replace(args.find("{}"), 2, ShellWord(output));
    return args;
}

class OutputTargets : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = CliScratch("targets");
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        project_ = dir_ / "project.tor";
        fs::copy_file(fs::path(VERRANE_SOURCE_DIR) / "examples" / "kansas-community-shelter.tor", project_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_ / "read-only.pdf", fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    fs::path dir_, project_;
};

TEST_F(OutputTargets, EveryCommandRefusesWhatItMustNotReplaceAndChangesNothing) {
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0644), 0);
    fs::create_directory(dir_ / "folder");
    std::ofstream(dir_ / "read-only.pdf") << "keep me";
    fs::permissions(dir_ / "read-only.pdf", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_symlink("loop-b", dir_ / "loop-a");
    fs::create_symlink("loop-a", dir_ / "loop-b");
    fs::create_symlink("pipe", dir_ / "link-to-pipe");
    fs::create_symlink("/dev/null", dir_ / "link-to-device");
    fs::create_symlink("project.tor", dir_ / "link-to-project");
    // A device of its own where the system lets us make one (root), else the system's.
    const bool ownDevice = ::mknod((dir_ / "device").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    const std::string device = ownDevice ? (dir_ / "device").string() : "/dev/null";

    const std::vector<std::pair<std::string, std::string>> targets = {
        {device, "a device"},
        {(dir_ / "link-to-device").string(), "a device"},
        {(dir_ / "pipe").string(), "a pipe"},
        {(dir_ / "link-to-pipe").string(), "a pipe"},
        {(dir_ / "folder").string(), "a folder"},
        {(dir_ / "folder").string() + "/", "names a folder"},
        {(dir_ / "read-only.pdf").string(), "read-only"},
        {(dir_ / "loop-a").string(), "circle"},
        {project_.string(), "the input file"},
        {(dir_ / "link-to-project").string(), "the input file"},
    };
    const auto before = Snapshot(dir_);
    const auto folderBefore = Snapshot(dir_ / "folder");
    for (const Writer& w : Writers()) {
        for (const auto& [target, reason] : targets) {
            SCOPED_TRACE(std::string(w.name) + " -> " + target);
            const CliRun r = RunLimited(Fill(w.args, target, project_));
            EXPECT_EQ(r.status, 1) << r.err;
            EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
            EXPECT_EQ(r.out, "");  // refused before any work
            EXPECT_EQ(Snapshot(dir_), before);
            EXPECT_EQ(Snapshot(dir_ / "folder"), folderBefore);
        }
        // No name at all is a bad argument.
        EXPECT_EQ(RunLimited(Fill(w.args, "", project_)).status, 2) << w.name;
        EXPECT_EQ(Snapshot(dir_), before);
    }
}

TEST_F(OutputTargets, ALinkStaysALinkAndTheFileBehindItKeepsItsMode) {
    for (const Writer& w : Writers()) {
        SCOPED_TRACE(w.name);
        const fs::path real = dir_ / "real.out", link = dir_ / "out-link";
        fs::remove(real);
        fs::remove(link);
        std::ofstream(real) << "old";
        fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        fs::create_symlink("real.out", link);
        const CliRun r = RunLimited(Fill(w.args, link.string(), project_));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_NE(FileBytes(real), "old");
        EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        if (!w.successLine.empty()) EXPECT_NE(r.out.find(w.SuccessLine(link.string())), std::string::npos);
    }
}

TEST_F(OutputTargets, AFullDiskLeavesTheOldFileWholeAndNoTemporaryFile) {
    const fs::path disk = dir_ / "full";
    fs::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=16k") != 0) GTEST_SKIP() << "cannot mount a small tmpfs here";
    struct Unmount {
        fs::path at;
        ~Unmount() { ::umount(at.c_str()); }
    } unmount{disk};
    const std::string old(6000, 'x');
    std::ofstream(disk / "old.out") << old;
    {  // the rest of the disk taken
        std::ofstream filler(disk / "filler", std::ios::binary);
        const std::string block(512, 'f');
        for (int i = 0; i < 64 && filler; ++i) filler.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    for (const Writer& w : Writers()) {
        SCOPED_TRACE(w.name);
        const std::string target = (disk / "old.out").string();
        const CliRun r = RunLimited(Fill(w.args, target, project_));
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find("failed"), std::string::npos) << r.err;
        if (!w.successLine.empty()) EXPECT_EQ(r.out.find(w.SuccessLine(target)), std::string::npos) << r.out;
        EXPECT_TRUE(FileBytes(disk / "old.out") == old);
        EXPECT_EQ(std::distance(fs::directory_iterator(disk), fs::directory_iterator()), 2);  // old.out, filler
    }
}

TEST(CliExitStatus, ArgumentErrorsAreTwoAndUnreadableFilesOne) {
    const std::string gym = ShellWord(std::string(VERRANE_SOURCE_DIR) + "/examples/oklahoma-school-gym.tor");
    for (const std::string& args : std::vector<std::string>{"analyze", "screen " + gym, "analyze --json --csv " + gym,
                                    "report " + gym + " --short -o", "analyze --no-such-option " + gym,
                                    "edit " + gym + " --set Nonsense=1 -o x.tor", "nonsense"})
        EXPECT_EQ(RunLimited(args).status, 2) << args;
    for (const std::string& args : std::vector<std::string>{"analyze /no/such.tor", "screen /no/such.tor --state Delaware",
                                    "sensitivity /no/such.tor", "report /no/such.tor --short -o x.pdf",
                                    "edit /no/such.tor -o x.tor", "screenshot project --project /no/such.tor -o x.png"})
        EXPECT_EQ(RunLimited(args).status, 1) << args;
    const CliRun help = RunLimited("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Exit status: 0 done; 1 a file could not be read or written"), std::string::npos);
    EXPECT_NE(RunLimited("report --help").out.find("2 bad arguments"), std::string::npos);
}

}  // namespace
}  // namespace verrane::test
