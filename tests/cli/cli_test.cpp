// verrane-cli as a user runs it: the built program, its output streams and
// its exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/textfile.h"
#include "tests/screens/analysis/open_project.h"
#include "tests/support/test_app.h"

namespace verrane {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

fs::path Scratch() {
    static const fs::path dir = [] {
        auto d = fs::temp_directory_path() / ("verrane-cli-test-" + std::to_string(getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// Arguments are passed through the shell; the tests quote their own paths.
CliRun Cli(const std::string& args) {
    const fs::path out = Scratch() / "out.txt", err = Scratch() / "err.txt";
    const std::string cmd = std::string("'") + VERRANE_CLI_PATH + "' " + args + " >'" + out.string() + "' 2>'" +
                            err.string() + "' </dev/null";
    const int rc = std::system(cmd.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, Slurp(out), Slurp(err)};
}

std::string Quoted(const fs::path& p) { return "'" + p.string() + "'"; }

fs::path Example(const char* name) { return test::ExamplesDir() / name; }

const char* const kExampleFiles[] = {"oklahoma-school-gym.tor", "mississippi-coast-hospital.tor",
                                     "kansas-community-shelter.tor", "red-river-plant-user-counties.tor"};

TEST(CliAnalyze, GivesTheTextsOfTheWindowPathForEveryExample) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    std::string args = "analyze --json";
    for (const char* f : kExampleFiles) args += " " + Quoted(Example(f));
    const CliRun r = Cli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto json = nlohmann::json::parse(r.out);
    ASSERT_EQ(json.size(), 4u);
    const char* keys[8] = {"TornadoBenefitsText", "HurricaneBenefitsText", "TotalBenefitsText", "AnnualizedCostText",
                           "NetBenefitsText",     "BenefitCostRatioText",  "LivesSavedText",    "InjuriesAvoidedText"};
    for (size_t i = 0; i < 4; ++i) {
        test::TestApp t("");
        Form6* f6 = test::OpenAndAnalyse(t, Example(kExampleFiles[i]));
        ASSERT_NE(f6, nullptr);
        const auto& o = json[i];
        EXPECT_EQ(o["File"], Example(kExampleFiles[i]).string());
        const test::ResultTexts texts = test::ScreenTexts(*f6);
        for (size_t k = 0; k < 8; ++k) EXPECT_EQ(o[keys[k]], texts[k]) << kExampleFiles[i] << " " << keys[k];
        EXPECT_EQ(o["TornadoBenefits"].template get<double>(), f6->Results.tornadoBenefits);
        EXPECT_EQ(o["AnnualDeathsAvoided"].template get<double>(), f6->Results.annualDeathsAvoided);
        ASSERT_TRUE(f6->Results.tornado);
        const auto& strike = f6->Results.tornado->strikeProbabilityByF;
        EXPECT_EQ(o["StrikeProbabilityByF"].get<std::vector<double>>(),
                  std::vector<double>(strike.begin(), strike.end()));
        EXPECT_EQ(o["HurricaneRangeProbability"].size(), 9u);
        EXPECT_EQ(o["SelectedCounties"].get<std::vector<std::string>>(), t.app->form2().SelectedCounties);
        EXPECT_EQ(o["UserRatesNote"], f6->Results.userRatesNote);
        for (const char* k : {"ReportCountyArea", "ReportRegionArea", "ReportRecordYears", "ReportCountByF",
                              "AnnualCountByF", "ReportPathLengthByF", "ReportPathAreaByF", "AnnualPathAreaByF",
                              "EffectiveAreaByF", "ReportHurricaneWind", "CountiesNote", "SufficiencyNote",
                              "HurricaneBenefits", "AnnualizedCost", "AnnualInjuriesAvoided"})
            EXPECT_TRUE(o.contains(k)) << k;
    }
}

TEST(CliAnalyze, PrintsTheResultsWithTheirScreenLabels) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    const CliRun r = Cli("analyze " + Quoted(Example("oklahoma-school-gym.tor")));
    ASSERT_EQ(r.status, 0) << r.err;
    test::TestApp t("");
    Form6* f6 = test::OpenAndAnalyse(t, Example("oklahoma-school-gym.tor"));
    ASSERT_NE(f6, nullptr);
    std::string expected = Example("oklahoma-school-gym.tor").string() + "\n";
    const std::pair<int, int> order[8] = {{0, 1}, {1, 11}, {5, 3}, {2, 2}, {3, 4}, {4, 0}, {6, 5}, {7, 6}};
    for (auto [box, label] : order)
        expected += "  " + f6->Label2[static_cast<size_t>(label)].caption() + ":" +
                    f6->Text1[static_cast<size_t>(box)].text() + "\n";
    EXPECT_EQ(r.out, expected);
}

TEST(CliAnalyze, ARejectedFileFailsAndTheOthersAreStillAnalysed) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    const fs::path bad = Scratch() / "bad, \"quoted\".tor";
    std::ofstream(bad) << "Not a project\r\n";
    const fs::path missing = Scratch() / "missing.tor";
    const CliRun r = Cli("analyze --csv " + Quoted(bad) + " " + Quoted(missing) + " " +
                         Quoted(Example("kansas-community-shelter.tor")));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Selected File has incorrect format."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(bad.string() + ": rejected"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(missing.string() + ": no such file"), std::string::npos) << r.err;
    // The save prompt is answered by the program itself and not shown.
    EXPECT_EQ(r.err.find("Do you want to save"), std::string::npos) << r.err;
    std::istringstream lines(r.out);
    std::string header, line, extra;
    std::getline(lines, header);
    std::getline(lines, line);
    EXPECT_FALSE(std::getline(lines, extra)) << "only the analysed project has a line";
    EXPECT_EQ(header.rfind("File,TornadoBenefitsText,", 0), 0u);
    EXPECT_EQ(line.rfind("\"" + Example("kansas-community-shelter.tor").string() + "\",\" 81,243\",\" 0\",", 0), 0u)
        << line;
}

TEST(CliAnalyze, MessagesGoToStandardErrorWithTheirTitle) {
    // A reference database without any table: the state list cannot be read.
    const fs::path data = Scratch() / "empty-data";
    fs::create_directories(data);
    std::ofstream(data / "verrane.sqlite").close();
    const CliRun r = Cli("--data " + Quoted(data) + " analyze " + Quoted(Example("kansas-community-shelter.tor")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("Reference Data: The list of states could not be read.", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("kansas-community-shelter.tor: not analysed: the project has no state and county"),
              std::string::npos)
        << r.err;
}

// A project whose "Benefit Cost Analysis" the window keeps off for missing
// inputs gives no figures: the inputs are named and the exit status is 1, and
// the other files are analysed all the same.
TEST(CliAnalyze, MissingInputsGiveNoFiguresAndAreNamed) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    std::vector<std::string> lines = platform::ReadTextLines(Example("oklahoma-school-gym.tor"));
    lines[68] = "";   // the lifetime
    lines[66] = "";   // the project cost
    lines[10] = "0";  // a building length of 0: refused on opening, so empty
    const fs::path missing = Scratch() / "missing.tor";
    platform::WriteTextLinesAtomically(missing, lines);
    for (const char* format : {"", "--json ", "--csv "}) {
        const CliRun r = Cli(std::string("analyze ") + format + Quoted(missing) + " " +
                             Quoted(Example("kansas-community-shelter.tor")));
        EXPECT_EQ(r.status, 1) << format;
        EXPECT_NE(r.err.find("missing.tor: not analysed: these inputs are empty: Building longest length (feet) "
                             "[BuildingLength], Project cost ($) [ProjectCost], Project useful lifetime (years) "
                             "[ProjectLifetime]\n"),
                  std::string::npos)
            << r.err;
        // Blank titles are left out.
        EXPECT_NE(r.err.find("\nBuilding longest length (feet): found \"0\"; it must be greater than 0."),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(r.out.find("missing.tor"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("kansas-community-shelter.tor"), std::string::npos) << format;
    }
    for (const char* command : {"sensitivity ", "screen --state Kansas "}) {
        const CliRun r = Cli(command + Quoted(missing));
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_EQ(r.out, "") << command;
        EXPECT_NE(r.err.find("not analysed: these inputs are empty: Building longest length (feet)"), std::string::npos)
            << r.err;
    }
}

TEST(CliUsage, ErrorsAreClearAndFail) {
    CliRun r = Cli("--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("analyze"), std::string::npos);
    EXPECT_NE(r.out.find("counties"), std::string::npos);
    EXPECT_EQ(r.out.find("write-examples"), std::string::npos) << "hidden command listed";
    for (const char* help : {"analyze --help", "counties --help"}) {
        r = Cli(help);
        EXPECT_EQ(r.status, 0) << help;
        EXPECT_NE(r.out.find("Usage:"), std::string::npos) << help;
    }
    r = Cli("frobnicate");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("unknown command \"frobnicate\""), std::string::npos) << r.err;
    r = Cli("analyze --xml x.tor");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("--xml"), std::string::npos) << r.err;
    r = Cli("analyze");
    EXPECT_NE(r.status, 0);
    r = Cli("--data " + Quoted(Scratch() / "nowhere") + " analyze x.tor");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("nowhere"), std::string::npos) << r.err;
    r = Cli("counties --state Kansas --county Sedgwick");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("--radius"), std::string::npos) << r.err;
    r = Cli("counties --state Kansas --county Sedgwick --radius 10 --entire-state");
    EXPECT_NE(r.status, 0);
}

TEST(CliCounties, PrintsTheSelectionAndItsSufficiency) {
    const fs::path data = test::MakeFixtureDataDir("cli-counties");
    CliRun r = Cli("--data " + Quoted(data) + " counties --state Oklahoma --county Oklahoma --entire-state");
    ASSERT_EQ(r.status, 0) << r.err;
    // The four Oklahoma counties of the fixture, the project county among them.
    std::istringstream lines(r.out);
    std::vector<std::string> got;
    for (std::string l; std::getline(lines, l);) got.push_back(l);
    ASSERT_EQ(got.size(), 5u) << r.out;
    for (const char* fips : {"40017", "40027", "40071", "40109"})
        EXPECT_NE(std::find(got.begin(), got.end() - 1, fips), got.end() - 1) << fips;
    EXPECT_NE(got.back().find("tornadoes"), std::string::npos) << got.back();

    r = Cli("--data " + Quoted(data) + " counties --state Oklahoma --county Oklahoma --radius 0");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 6), "40109\n");

    // A radius the screen refuses is an error, not the project county alone.
    for (const char* radius : {"300", "1e308"}) {
        r = Cli("--data " + Quoted(data) + " counties --state Oklahoma --county Oklahoma --radius " + radius);
        EXPECT_EQ(r.status, 2) << radius;
        EXPECT_EQ(r.out, "") << radius;
        EXPECT_NE(r.err.find("You must enter a number"), std::string::npos) << r.err;
    }

    r = Cli("--data " + Quoted(data) + " counties --state Atlantis --county Oklahoma --radius 5");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown state \"Atlantis\""), std::string::npos) << r.err;
    r = Cli("--data " + Quoted(data) + " counties --state Oklahoma --county Gotham --radius 5");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown county \"Gotham\" in Oklahoma"), std::string::npos) << r.err;
    fs::remove_all(data);
}

// The shipped examples are what the example writer types into the screens,
// input by input through the field table: regenerated, they are the same bytes.
TEST(CliExamples, RegeneratedExamplesAreTheShippedFiles) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    const fs::path dir = Scratch() / "regenerated-examples";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const CliRun r = Cli("write-examples " + Quoted(dir));
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* name : kExampleFiles) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(fs::exists(dir / name));
        EXPECT_EQ(Slurp(dir / name), Slurp(Example(name)));
    }
}

}  // namespace
}  // namespace verrane
