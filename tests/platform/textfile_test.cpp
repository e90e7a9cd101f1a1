#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/textfile.h"

using namespace verrane::platform;
namespace fs = std::filesystem;

namespace {
fs::path Temp(const std::string& name) { return fs::temp_directory_path() / ("verrane-textfile-" + name); }
std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
}  // namespace

TEST(TextFile, WritesCp1252WithCrLfAndReadsItBack) {
    auto p = Temp("roundtrip.tor");
    WriteTextLinesAtomically(p, {"Ca\xC3\xB1on City", "", "\xE2\x82\xAC 5"});
    EXPECT_EQ(Bytes(p), std::string("Ca\xF1on City\r\n\r\n\x80 5\r\n"));
    auto lines = ReadTextLines(p);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Ca\xC3\xB1on City");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "\xE2\x82\xAC 5");
}

TEST(TextFile, EveryByteSurvivesAReadAndAWrite) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != '\n' && b != '\r') all += static_cast<char>(b);
    auto p = Temp("bytes.tor");
    { std::ofstream(p, std::ios::binary) << all << "\r\n"; }
    auto again = Temp("bytes2.tor");
    WriteTextLinesAtomically(again, ReadTextLines(p));
    EXPECT_EQ(Bytes(again), Bytes(p));
}

TEST(TextFile, RejectsBinaryMissingAndHugeFiles) {
    auto bin = Temp("binary.tor");
    { std::ofstream(bin, std::ios::binary) << std::string("Verrane\0\x01\x02", 10); }
    EXPECT_THROW(ReadTextLines(bin), TextFileError);
    EXPECT_THROW(ReadTextLines(Temp("does-not-exist.tor")), TextFileError);
    auto huge = Temp("huge.tor");
    { std::ofstream(huge, std::ios::binary) << std::string(kMaxTextFileBytes + 1, 'x'); }
    EXPECT_THROW(ReadTextLines(huge), TextFileError);
}

TEST(TextFile, FailedWriteLeavesTheOldFileIntact) {
    auto dir = Temp("dir");
    fs::create_directories(dir / "blocker");
    // The target is a directory: the rename fails after the temporary was written.
    EXPECT_THROW(WriteTextLinesAtomically(dir / "blocker", {"x"}), TextFileError);
    EXPECT_TRUE(fs::is_directory(dir / "blocker"));
    EXPECT_FALSE(fs::exists(dir / "blocker.saving"));
    auto p = Temp("keep.tor");
    WriteTextLinesAtomically(p, {"old"});
    EXPECT_THROW(WriteTextLinesAtomically(Temp("no-such-dir") / "x.tor", {"new"}), TextFileError);
    EXPECT_EQ(Bytes(p), "old\r\n");
}
