// Every output a reviewer may be handed names the program and the reference
// data that made it: the same three facts everywhere, read from the database.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>

#include "tests/cli/run_cli.h"

namespace verrane::test {
namespace {

std::string Example(const char* name) { return ShellWord(std::string(VERRANE_SOURCE_DIR) + "/examples/" + name); }

std::string PdfText(const std::filesystem::path& pdf) {
    const auto txt = CliScratch("pdf.txt");
    const std::string cmd = "pdftotext " + ShellWord(pdf.string()) + " " + ShellWord(txt.string()) + " 2>/dev/null";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return FileBytes(txt);
}

// The SHA-256 the --version text names: the one every other output must repeat.
std::string DatabaseHash() {
    const CliRun v = RunCli("--version");
    EXPECT_EQ(v.status, 0) << v.err;
    std::smatch m;
    const std::regex re("reference data sha256 ([0-9a-f]{64})");
    EXPECT_TRUE(std::regex_search(v.out, m, re)) << v.out;
    return m.size() > 1 ? m[1].str() : std::string("missing");
}

TEST(Provenance, VersionNamesProgramRecordAndDatabase) {
    const CliRun v = RunCli("--version");
    ASSERT_EQ(v.status, 0) << v.err;
    EXPECT_EQ(v.out.rfind(std::string("Verrane ") + VERRANE_VERSION + "\n", 0), 0u) << v.out;
    EXPECT_NE(v.out.find("tornado record 1950-2023 (1950-2022_tornados_tidytuesday.zip,2023_torn.csv)"),
              std::string::npos)
        << v.out;
    EXPECT_EQ(DatabaseHash().size(), 64u);
}

TEST(Provenance, AnalyzeJsonAndCsvCarryIt) {
    const std::string hash = DatabaseHash();
    const CliRun j =
        RunCli("analyze --json " + Example("kansas-community-shelter.tor") + " " + Example("oklahoma-school-gym.tor"));
    ASSERT_EQ(j.status, 0) << j.err;
    const auto arr = nlohmann::ordered_json::parse(j.out);
    ASSERT_EQ(arr.size(), 2u);
    for (const auto& o : arr) {
        const auto& p = o.at("Provenance");
        ASSERT_EQ(p.size(), 3u) << p.dump();
        auto it = p.begin();
        EXPECT_EQ(it.key(), "Program");
        EXPECT_EQ(it->get<std::string>(), std::string("Verrane ") + VERRANE_VERSION);
        EXPECT_EQ((++it).key(), "TornadoRecord");
        EXPECT_EQ(it->get<std::string>(), "1950-2023");
        EXPECT_EQ((++it).key(), "Database");
        EXPECT_EQ(it->get<std::string>(), hash);
    }

    // CSV: three trailing columns, as many fields on every line as in the header.
    const CliRun c = RunCli("analyze --csv " + Example("kansas-community-shelter.tor"));
    ASSERT_EQ(c.status, 0) << c.err;
    std::istringstream lines(c.out);
    std::string header, row;
    std::getline(lines, header);
    std::getline(lines, row);
    EXPECT_NE(header.find(",Program,TornadoRecord,Database"), std::string::npos) << header;
    EXPECT_EQ(row.substr(row.size() - 64 - 11 - 12), std::string(",Verrane ") + VERRANE_VERSION + ",1950-2023," + hash);
}

TEST(Provenance, ScreenJsonCarriesIt) {
    const std::string hash = DatabaseHash();
    const CliRun s = RunCli("screen " + Example("oklahoma-school-gym.tor") + " --state Delaware --json");
    ASSERT_EQ(s.status, 0) << s.err;
    const auto arr = nlohmann::json::parse(s.out);
    ASSERT_EQ(arr.size(), 3u);  // Delaware's three counties
    for (const auto& o : arr) EXPECT_EQ(o.at("Provenance").at("Database"), hash);
}

// The long report's title page, the short report's footer and the sensitivity
// document; the long report remarks on a discount rate other than 7 %.
TEST(Provenance, ReportsPrintItAndTheDiscountRateRemark) {
    const std::string hash = DatabaseHash();
    const auto edited = CliScratch("rate31.tor");
    ASSERT_EQ(RunCli("edit " + Example("oklahoma-school-gym.tor") + " --set DiscountRate=3.1 -o " +
                     ShellWord(edited.string()))
                  .status,
              0);
    const auto longPdf = CliScratch("long.pdf"), shortPdf = CliScratch("short.pdf"), sens = CliScratch("sens.pdf"),
               plainLong = CliScratch("long7.pdf");
    ASSERT_EQ(RunCli("report " + ShellWord(edited.string()) + " --long -o " + ShellWord(longPdf.string())).status, 0);
    ASSERT_EQ(RunCli("report " + ShellWord(edited.string()) + " --short -o " + ShellWord(shortPdf.string())).status, 0);
    ASSERT_EQ(RunCli("sensitivity " + ShellWord(edited.string()) + " --pdf " + ShellWord(sens.string())).status, 0);
    ASSERT_EQ(
        RunCli("report " + Example("oklahoma-school-gym.tor") + " --long -o " + ShellWord(plainLong.string())).status,
        0);

    const std::string longText = PdfText(longPdf);
    EXPECT_NE(longText.find(hash), std::string::npos);
    EXPECT_NE(longText.find("Version 1.0 - July 2000"), std::string::npos) << "the layout's own header stays";
    EXPECT_NE(longText.find("A discount rate of 3.1 % was used instead of 7 %."), std::string::npos);
    EXPECT_EQ(PdfText(plainLong).find("A discount rate of"), std::string::npos) << "7 % needs no remark";
    EXPECT_NE(PdfText(shortPdf).find("Verrane 1.0; tornado record 1950-2023; reference data sha256 " + hash),
              std::string::npos);
    EXPECT_NE(PdfText(sens).find(hash), std::string::npos);
}

}  // namespace
}  // namespace verrane::test
