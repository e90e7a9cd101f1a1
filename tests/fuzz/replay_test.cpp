// The fuzz entry as part of the suite: the example projects and a few
// thousand deterministic mutations of them, each opened, analysed and saved
// again with no fault (see project_fuzz.h).
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

#include "tests/fuzz/project_fuzz.h"
#include "tests/support/test_app.h"

namespace verrane {
namespace {

std::vector<std::string> Seeds() {
    std::vector<std::string> seeds;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(VERRANE_SOURCE_DIR) / "examples")) {
        if (e.path().extension() != ".tor") continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        seeds.push_back(s.str());
    }
    return seeds;
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\n";
    return out;
}

// Line-level mutations aimed at the values: numbers a box cannot hold,
// words where numbers belong, lines lost, repeated or swapped, and some
// byte noise.
std::string Mutate(const std::string& seed, std::mt19937& rng) {
    static const char* const kValues[] = {
        "1e39",   "-1e39", "3.4028235e38", "3.4e38",    "1e-45",  "0",     "-0",    "32767",     "32768",
        "-32769", "10400", "4294967296",   "1e308",     "nan",    "inf",   "FALSE", "",          "-1",
        "2.5",    "99999", "00000",        "1,000,000", "1e5000", "\t7\t", "\"7\"", "Phase 2",   "1e38",
        "-100",   "100",   "250",          "300",       "6",      "7",     "-2",    "2147483648"};
    std::vector<std::string> lines = Lines(seed);
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    const int edits = 1 + static_cast<int>(pick(4));
    for (int e = 0; e < edits && !lines.empty(); ++e) {
        const size_t at = pick(lines.size());
        switch (pick(7)) {
            case 0:
            case 1:
            case 2:
                lines[at] = kValues[pick(std::size(kValues))];
                break;
            case 3:
                lines.erase(lines.begin() + static_cast<long>(at));
                break;
            case 4:
                lines.insert(lines.begin() + static_cast<long>(at), lines[pick(lines.size())]);
                break;
            case 5:
                lines.resize(at + 1);
                break;
            default: {
                std::string& l = lines[at];
                if (!l.empty()) l[pick(l.size())] = static_cast<char>(pick(256));
                break;
            }
        }
    }
    return Join(lines);
}

TEST(ProjectFuzzReplay, ExamplesAndTheirMutationsOpenAnalyseAndSaveCleanly) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    const auto scratch =
        std::filesystem::temp_directory_path() / ("verrane-replay-" + std::to_string(getpid()) + ".tor");
    const std::vector<std::string> seeds = Seeds();
    ASSERT_FALSE(seeds.empty());
    for (const auto& seed : seeds) ASSERT_EQ(fuzz::CheckProjectBytes(seed, VERRANE_SOURCE_DATA_DIR, scratch), "");
    std::mt19937 rng(20261208);
    for (int i = 0; i < 2000; ++i) {
        const std::string input = Mutate(seeds[static_cast<size_t>(i) % seeds.size()], rng);
        const std::string fault = fuzz::CheckProjectBytes(input, VERRANE_SOURCE_DATA_DIR, scratch);
        ASSERT_EQ(fault, "") << "mutation " << i << ":\n" << input;
    }
    std::filesystem::remove(scratch);
    std::filesystem::remove(std::filesystem::path(scratch.string() + ".saved"));
}

}  // namespace
}  // namespace verrane
