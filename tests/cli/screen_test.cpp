// verrane-cli screen: every row is the analysis of the template moved to that
// county as a user moves it in the window and saves it with Save As.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/analyze.h"
#include "cli/screen.h"
#include "platform/refdb_snapshot.h"
#include "screens/hazard/form4.h"
#include "tests/screens/analysis/open_project.h"
#include "tests/support/recordset_text.h"
#include "tests/support/scratch.h"

namespace verrane {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct CliRun {
    int status = -1;
    std::string out, err;
};

// Scratch files of this test process (ctest runs the cases side by side).
fs::path Scratch(const std::string& name) {
    return test::ScratchFile("verrane-screen-test-" + std::to_string(getpid()), name);
}

// The built program with these arguments, each quoted for the shell.
CliRun Cli(const std::vector<std::string>& args) {
    const fs::path out = Scratch("out.txt");
    const fs::path err = Scratch("err.txt");
    std::string cmd = std::string("'") + VERRANE_CLI_PATH + "'";
    for (const auto& a : args) cmd += " '" + a + "'";
    cmd += " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null";
    const int rc = std::system(cmd.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, test::FileBytes(out), test::FileBytes(err)};
}

std::string Example(const char* name) { return (test::ExamplesDir() / name).string(); }

// How a user gets the template into a county: File > Open, the state and the
// county on the Project Information screen, the Tornado Hazard Information
// button, there the method (the option, then the radius typed and Enter) when
// one is asked for, and File > Save As from that screen.
void MoveAndSave(const std::string& templateFile, const std::string& state, const std::string& county,
                 const std::optional<std::string>& radius, bool entireState, const fs::path& saveAs) {
    test::TestApp t("");
    Form2& f2 = t.Start();
    t.dialogs.answers.push_back(platform::Answer::No);
    t.dialogs.files.push_back(templateFile);
    f2.mnuOpen_Click();
    ASSERT_TRUE(f2.Combo3.selectText(state, 1));
    ASSERT_TRUE(f2.Combo2.selectText(county, 1));
    f2.Command1_Click(1);
    Form4* f4 = t.app->Loaded<Form4>();
    ASSERT_TRUE(f4 && t.app->front() == f4);
    auto choose = [f4](int i) {
        auto& option = f4->Option1[static_cast<size_t>(i)];
        if (option.value())
            option.onClick();
        else
            option.setValue(true);
    };
    if (entireState) {
        choose(1);
    } else if (radius) {
        choose(0);
        f4->Text1.setFocus(true);
        f4->Text1.setText(*radius);
        EXPECT_FALSE(f4->Text1.keyPress(13));
    }
    t.dialogs.files.push_back(saveAs.string());
    f4->FindMenu("mnusaveas")->click();
    ASSERT_TRUE(fs::exists(saveAs));
}

struct Case {
    const char* templateName;
    const char* state;
    std::vector<std::string> options;
    std::optional<std::string> typedRadius;  // what the user types for the same choice
    bool entireState = false;
};

TEST(CliScreen, EveryRowIsTheAnalysisOfTheTemplateMovedThroughTheWindow) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    const std::vector<Case> cases{
        {"oklahoma-school-gym.tor", "Delaware", {}, std::nullopt},              // its region, 50 miles
        {"kansas-community-shelter.tor", "Rhode Island", {}, std::nullopt},     // its entire state
        {"red-river-plant-user-counties.tor", "Delaware", {}, std::nullopt},    // picked counties: the county alone
        {"oklahoma-school-gym.tor", "Rhode Island", {"--radius", "25"}, "25"},  // another radius
        {"mississippi-coast-hospital.tor", "Delaware", {"--entire-state"}, {}, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.templateName) + " in " + c.state);
        std::vector<std::string> args{"screen", Example(c.templateName), "--state", c.state, "--json"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun screened = Cli(args);
        ASSERT_EQ(screened.status, 0) << screened.err;
        const json rows = json::parse(screened.out);
        ASSERT_FALSE(rows.empty());

        std::vector<std::string> analyze{"analyze", "--json"};
        for (const auto& row : rows) {
            const fs::path moved = Scratch("moved-" + std::to_string(++n) + ".tor");
            fs::remove(moved);
            MoveAndSave(Example(c.templateName), c.state, row["County"], c.typedRadius, c.entireState, moved);
            analyze.push_back(moved.string());
        }
        const CliRun analysed = Cli(analyze);
        ASSERT_EQ(analysed.status, 0) << analysed.err;
        const json results = json::parse(analysed.out);
        ASSERT_EQ(results.size(), rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            const json& row = rows[i];
            const json& a = results[i];
            SCOPED_TRACE(row.dump());
            EXPECT_EQ(row["State"], c.state);
            const auto& counties = a["SelectedCounties"];
            EXPECT_NE(std::find(counties.begin(), counties.end(), row["FIPS"]), counties.end());
            EXPECT_EQ(row["SampleCounties"].get<size_t>(), counties.size());
            const double tornado = a["TornadoBenefits"], hurricane = a["HurricaneBenefits"];
            const double cost = a["AnnualizedCost"];
            EXPECT_EQ(row["TornadoBenefits"].get<double>(), tornado);
            EXPECT_EQ(row["HurricaneBenefits"].get<double>(), hurricane);
            EXPECT_EQ(row["AnnualizedCost"].get<double>(), cost);
            EXPECT_EQ(row["TotalBenefits"].get<double>(), tornado + hurricane);
            EXPECT_EQ(row["NetBenefits"].get<double>(), tornado + hurricane - cost);
            EXPECT_EQ(row["BenefitCostRatio"].get<double>(), (tornado + hurricane) / cost);
            const double f3 = a["ReportCountByF"][3];
            EXPECT_EQ(row["F3Tornadoes"].get<double>(), f3);
            EXPECT_EQ(row["Sufficient"].get<bool>(), f3 >= 16);
            // The sufficiency note of the results screen says the same.
            EXPECT_EQ(a["SufficiencyNote"].get<std::string>().empty(), f3 >= 16);
        }
    }
}

// In a state that is not hurricane-prone the template's hurricane occupants are
// taken as 0, as the program's warning asks: the row is the analysis of the
// moved project with HurricaneOccupancy=0 entered, the state is named once
// (not pinned to a county), and the rows say so.
TEST(CliScreen, AStateThatIsNotHurricaneProneGetsNoHurricaneOccupants) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    const CliRun kansas = Cli({"screen", Example("mississippi-coast-hospital.tor"), "--state", "Kansas", "--json"});
    ASSERT_EQ(kansas.status, 0) << kansas.err;
    const json rows = json::parse(kansas.out);
    ASSERT_GT(rows.size(), 100U);
    const std::string named = "Kansas is not hurricane-prone";
    const size_t at = kansas.err.find(named);
    ASSERT_NE(at, std::string::npos) << kansas.err;
    EXPECT_EQ(kansas.err.find(named, at + 1), std::string::npos) << kansas.err;
    EXPECT_EQ(kansas.err.find("State Should Have No Hurricane Occupancy"), std::string::npos) << kansas.err;
    EXPECT_EQ(kansas.err.find("20173"), std::string::npos) << kansas.err;  // no county named with it
    const json* sedgwick = nullptr;
    for (const json& row : rows) {
        EXPECT_EQ(row["HurricaneOccupancyIgnored"], true);
        EXPECT_EQ(row["HurricaneBenefits"].get<double>(), 0.0);
        if (row["County"] == "Sedgwick") sedgwick = &row;
    }
    ASSERT_NE(sedgwick, nullptr);

    const fs::path moved = Scratch("sedgwick.tor"), zeroed = Scratch("sedgwick-zero.tor");
    fs::remove(moved);
    fs::remove(zeroed);
    MoveAndSave(Example("mississippi-coast-hospital.tor"), "Kansas", "Sedgwick", std::nullopt, false, moved);
    const CliRun edited = Cli({"edit", moved.string(), "--set", "HurricaneOccupancy=0", "-o", zeroed.string()});
    ASSERT_EQ(edited.status, 0) << edited.err;
    const CliRun analysed = Cli({"analyze", "--json", zeroed.string()});
    ASSERT_EQ(analysed.status, 0) << analysed.err;
    const json a = json::parse(analysed.out)[0];
    for (const char* key : {"TornadoBenefits", "HurricaneBenefits", "AnnualizedCost"})
        EXPECT_EQ((*sedgwick)[key].get<double>(), a[key].get<double>()) << key;

    // A hurricane-prone state keeps them, and its rows say so in the CSV too.
    const CliRun delaware = Cli({"screen", Example("mississippi-coast-hospital.tor"), "--state", "Delaware"});
    ASSERT_EQ(delaware.status, 0) << delaware.err;
    EXPECT_EQ(delaware.err.find("hurricane-prone"), std::string::npos) << delaware.err;
    std::istringstream lines(delaware.out);
    std::string header, line;
    std::getline(lines, header);
    auto fields = [](const std::string& text) {
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string f; std::getline(in, f, ',');) out.push_back(f);
        return out;
    };
    const auto names = fields(header);
    const auto column = std::find(names.begin(), names.end(), "HurricaneOccupancyIgnored");
    ASSERT_NE(column, names.end()) << header;
    EXPECT_EQ(*(column - 1), "Sufficient");
    int n = 0;
    for (; std::getline(lines, line); ++n) EXPECT_EQ(fields(line).at(size_t(column - names.begin())), "false") << line;
    EXPECT_EQ(n, 3);
}

TEST(CliScreen, EveryQueryOfAScreeningGetsFromMemoryWhatTheFileHolds) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    platform::SetDataDir(VERRANE_SOURCE_DATA_DIR);
    const fs::path file = platform::ReferenceDatabasePath();
    auto snapshot = platform::ReferenceSnapshot::Load(file);
    std::vector<std::pair<std::string, platform::Query>> log;
    snapshot->LogQueriesTo(&log);
    {
        platform::ScopedReferenceSnapshot installed(snapshot);
        std::ostringstream out, err;
        cli::ScreenRequest r;
        r.templateFile = Example("red-river-plant-user-counties.tor");
        r.state = "Rhode Island";
        EXPECT_EQ(cli::RunScreen(r, out, err), 0) << err.str();
        r.templateFile = Example("oklahoma-school-gym.tor");  // a region by radius
        EXPECT_EQ(cli::RunScreen(r, out, err), 0) << err.str();
        r.templateFile = Example("kansas-community-shelter.tor");
        r.state = "Delaware";
        EXPECT_EQ(cli::RunScreen(r, out, err), 0) << err.str();
    }
    snapshot->LogQueriesTo(nullptr);
    std::set<std::string> tables;
    for (const auto& entry : log) tables.insert(entry.first);
    // meta: the provenance every line names.
    EXPECT_EQ(tables, (std::set<std::string>{"Counties", "cntycoor", "meta", "states", "tornado"}));
    const platform::Database onFile = platform::Database::Open(file);
    std::set<std::string> seen;
    for (const auto& [table, q] : log) {
        std::string key = table + "/" + q.anyOfField + q.sortField;
        for (const auto& [f, v] : q.equals) key += "/" + f + "=" + v;
        for (const auto& v : q.anyOfValues) key += "," + v;
        if (!seen.insert(key).second) continue;
        SCOPED_TRACE(key);
        std::string memoryAnswer;
        {
            platform::ScopedReferenceSnapshot installed(snapshot);
            memoryAnswer = test::RecordsetText(platform::Database::Open(file), table, q);
        }
        EXPECT_EQ(memoryAnswer, test::RecordsetText(onFile, table, q));
    }
    EXPECT_GT(seen.size(), 20u);
}

TEST(CliScreen, AWholeAnalysisPrintsTheSameFromMemoryAsFromTheFile) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    platform::SetDataDir(VERRANE_SOURCE_DATA_DIR);
    std::vector<std::string> files;
    for (const char* name : {"oklahoma-school-gym.tor", "mississippi-coast-hospital.tor",
                             "kansas-community-shelter.tor", "red-river-plant-user-counties.tor"})
        files.push_back(Example(name));
    std::ostringstream fromFile, fromMemory, err;
    ASSERT_EQ(cli::RunAnalyze(files, cli::OutputFormat::Json, fromFile, err), 0) << err.str();
    {
        platform::ScopedReferenceSnapshot tables(platform::ReferenceDatabasePath());
        platform::ScopedMapLayerCache layers;
        ASSERT_EQ(cli::RunAnalyze(files, cli::OutputFormat::Json, fromMemory, err), 0) << err.str();
    }
    EXPECT_EQ(fromMemory.str(), fromFile.str());
}

TEST(CliScreen, RefusesWhatItCannotScreen) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    const std::string gym = Example("oklahoma-school-gym.tor");

    CliRun r = Cli({"screen", gym, "--state", "Atlantis"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown state \"Atlantis\"; the states are: Alabama, Alaska, "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Wyoming"), std::string::npos);
    EXPECT_EQ(r.out, "");

    // A template that cannot be read is a file error, as for analyze.
    r = Cli({"screen", (test::ExamplesDir() / "no-such-template.tor").string(), "--state", "Delaware"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no such file"), std::string::npos) << r.err;

    const fs::path garbage = Scratch("garbage.tor");
    { std::ofstream(garbage) << "not a project\n"; }
    r = Cli({"screen", garbage.string(), "--state", "Delaware"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("rejected"), std::string::npos) << r.err;

    // The hazard screen's own refusals of a radius.
    r = Cli({"screen", gym, "--state", "Delaware", "--radius", "251"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("You must enter a number less than 250."), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    r = Cli({"screen", gym, "--state", "Delaware", "--radius", "-5"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("You must enter a number from 0 to 250."), std::string::npos) << r.err;

    EXPECT_NE(Cli({"screen", gym}).status, 0);
    EXPECT_NE(Cli({"screen", gym, "--state", "Delaware", "--all"}).status, 0);
    EXPECT_NE(Cli({"screen", gym, "--all", "--radius", "10", "--entire-state"}).status, 0);
}

TEST(CliScreen, ACountyThatCannotBeAnalysedGetsAnEmptyRowAndAReason) {
    const fs::path data = test::MakeFixtureDataDir("screen-broken");
    // Canadian's record has no number of years: its extraction fails.
    test::ExecSql(data, "UPDATE tornado SET RYEARS = NULL WHERE FIPS = '40017'");
    const CliRun r = Cli({"--data", data.string(), "screen", Example("oklahoma-school-gym.tor"), "--state", "Oklahoma",
                          "--radius", "0"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string header, line;
    std::getline(lines, header);
    EXPECT_EQ(header, cli::ScreenCsvHeader());
    std::vector<std::string> rows;
    while (std::getline(lines, line)) rows.push_back(line);
    ASSERT_EQ(rows.size(), 4u);
    // No figures, then the provenance (the fixture data has no identity).
    EXPECT_EQ(rows[0], "40017,Oklahoma,Canadian,,,,,,,,,,,Verrane 1.0,unknown,unknown");
    for (size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i].find(",,"), std::string::npos) << rows[i];
    EXPECT_NE(r.err.find("40017 Canadian, Oklahoma: not analysed"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("RYEARS"), std::string::npos) << r.err;

    const CliRun asJson = Cli({"--data", data.string(), "screen", Example("oklahoma-school-gym.tor"), "--state",
                               "Oklahoma", "--radius", "0", "--json"});
    const auto parsed = json::parse(asJson.out);
    EXPECT_TRUE(parsed[0]["TornadoBenefits"].is_null());
    EXPECT_TRUE(parsed[0]["Sufficient"].is_null());
    EXPECT_TRUE(parsed[1]["TornadoBenefits"].is_number());
}

TEST(CliScreen, WritesTheCsvFileAndTheMap) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    const std::string gym = Example("oklahoma-school-gym.tor");
    const fs::path csv = Scratch("delaware.csv");
    const fs::path png = Scratch("delaware.png");
    fs::remove(csv);
    fs::remove(png);
    const CliRun printed = Cli({"screen", gym, "--state", "Delaware"});
    const CliRun written = Cli({"screen", gym, "--state", "Delaware", "--csv", csv.string(), "--map", png.string()});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(test::FileBytes(csv), printed.out);
    EXPECT_EQ(std::count(printed.out.begin(), printed.out.end(), '\n'), 4);

    // Every Delaware county is below 1 with this template: the map shows the
    // class colour and no county without a ratio.
    const QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1100, 900));
    int belowOne = 0, grey = 0;
    for (int y = 90; y < image.height() - 200; y += 2)
        for (int x = 10; x < 800; x += 2) {
            const QColor c = image.pixelColor(x, y);
            if (c == QColor(215, 48, 39)) ++belowOne;
            if (c == QColor(160, 160, 160)) ++grey;
        }
    EXPECT_GT(belowOne, 1000);
    EXPECT_EQ(grey, 0);

    const CliRun unwritable = Cli({"screen", gym, "--state", "Delaware", "--csv", "/nonexistent-dir/x.csv"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("Cannot save to \"/nonexistent-dir/x.csv\""), std::string::npos) << unwritable.err;
}

}  // namespace
}  // namespace verrane
