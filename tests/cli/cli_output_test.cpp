#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

// The report and screenshot commands of the built verrane-cli, run as a user runs them.
namespace fs = std::filesystem;

namespace {
int RunCli(const std::string& args, std::string* output = nullptr) {
    const std::string cmd = std::string(VERRANE_CLI) + " " + args + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen(cmd.c_str(), "r"), pclose);
    std::array<char, 512> buf{};
    std::string out;
    while (fgets(buf.data(), buf.size(), p.get())) out += buf.data();
    const int status = pclose(p.release());
    if (output) *output = out;
    return WEXITSTATUS(status);
}
std::string Example(const char* name) { return std::string(VERRANE_SOURCE_DIR) + "/examples/" + name; }
std::string PdfText(const fs::path& pdf) {
    std::string text;
    std::unique_ptr<FILE, int (*)(FILE*)> p(
        popen(("pdftotext -layout " + pdf.string() + " - 2>/dev/null").c_str(), "r"), pclose);
    std::array<char, 512> buf{};
    while (p && fgets(buf.data(), buf.size(), p.get())) text += buf.data();
    // Columns are set apart by runs of blanks; one blank will do.
    std::string folded;
    for (char c : text)
        if (!(c == ' ' && !folded.empty() && folded.back() == ' ')) folded += c;
    return folded;
}
}  // namespace

TEST(CliReport, LongAndShortReportsAsPdf) {
    const fs::path longPdf = fs::temp_directory_path() / "verrane-cli-long.pdf";
    const fs::path shortPdf = fs::temp_directory_path() / "verrane-cli-short.pdf";
    fs::remove(longPdf);
    fs::remove(shortPdf);
    std::string out;
    ASSERT_EQ(RunCli("report " + Example("oklahoma-school-gym.tor") + " --long -o " + longPdf.string(), &out), 0)
        << out;
    EXPECT_NE(out.find("7 pages"), std::string::npos) << out;
    ASSERT_EQ(RunCli("report " + Example("oklahoma-school-gym.tor") + " --short -o " + shortPdf.string(), &out), 0)
        << out;
    EXPECT_NE(out.find("1 page"), std::string::npos) << out;
    const std::string text = PdfText(longPdf);
    if (!text.empty()) {
        EXPECT_NE(text.find("Page 7 of 7"), std::string::npos);
        EXPECT_NE(text.find("Benefit Cost Ratio:"), std::string::npos);
    }
    const std::string summary = PdfText(shortPdf);
    if (!summary.empty()) {
        EXPECT_NE(summary.find("50 miles around target county."), std::string::npos);
    }
}

TEST(CliReport, RefusesWhatItCannotDo) {
    std::string out;
    EXPECT_NE(RunCli("report " + Example("oklahoma-school-gym.tor") + " -o x.pdf", &out),
              0);  // neither --long nor --short
    EXPECT_NE(RunCli("report no-such-file.tor --short -o x.pdf", &out), 0);
    EXPECT_NE(RunCli("screenshot nowhere -o x.png", &out), 0);
    EXPECT_NE(out.find("Unknown screen"), std::string::npos) << out;
}

TEST(CliScreenshot, EveryScreenOfAnExample) {
    for (const char* screen : {"start", "project", "building", "hazard", "mitigation", "analysis", "map"}) {
        const fs::path png = fs::temp_directory_path() / (std::string("verrane-cli-") + screen + ".png");
        fs::remove(png);
        std::string out;
        ASSERT_EQ(RunCli(std::string("screenshot ") + screen + " --project " + Example("kansas-community-shelter.tor") +
                             " -o " + png.string(),
                         &out),
                  0)
            << screen << ": " << out;
        EXPECT_GT(fs::file_size(png), 2000u) << screen;
    }
}
