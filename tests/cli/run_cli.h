#pragma once
// Runs the built verrane-cli through the shell, as a user does, and keeps its
// output streams and exit status.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/scratch.h"

namespace verrane::test {

struct CliRun {
    int status = -1;
    std::string out, err;
};

// One argument for the shell, whatever it holds.
inline std::string ShellWord(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::filesystem::path CliScratch(const std::string& name) {
    return ScratchFile("verrane-cli-" + std::to_string(getpid()), name);
}

inline CliRun RunCli(const std::string& args) {
    const auto out = CliScratch("stdout.txt"), err = CliScratch("stderr.txt");
    const std::string cmd = ShellWord(VERRANE_CLI_PATH) + " " + args + " >" + ShellWord(out.string()) + " 2>" +
                            ShellWord(err.string()) + " </dev/null";
    const int rc = std::system(cmd.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, FileBytes(out), FileBytes(err)};
}

}  // namespace verrane::test
