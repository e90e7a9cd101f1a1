// verrane-cli sensitivity against verrane-cli edit + analyze: every row is the
// analysis of the project edited to that value, and the breakeven values
// give a ratio of 1 when typed.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>

#include <nlohmann/json.hpp>

#include "platform/number.h"
#include "platform/textfile.h"
#include "project/project_file.h"
#include "tests/cli/run_cli.h"
#include "tests/support/test_app.h"

namespace verrane {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

fs::path Example(const char* name) { return fs::path(VERRANE_SOURCE_DIR) / "examples" / name; }

json Sensitivity(const fs::path& file) {
    const test::CliRun r = test::RunCli("sensitivity --json " + test::ShellWord(file.string()));
    EXPECT_EQ(r.status, 0) << r.err;
    return r.status == 0 ? json::parse(r.out) : json();
}

json Analyse(const fs::path& file) {
    const test::CliRun r = test::RunCli("analyze --json " + test::ShellWord(file.string()));
    EXPECT_EQ(r.status, 0) << r.err;
    return r.status == 0 ? json::parse(r.out)[0] : json();
}

// verrane-cli edit with these settings, then analyze --json of its file.
json AnalyseEdited(const fs::path& file, const std::vector<std::pair<std::string, std::string>>& sets) {
    const fs::path out = test::CliScratch("edited.tor");
    fs::remove(out);
    std::string args = "edit " + test::ShellWord(file.string());
    for (const auto& [name, value] : sets) args += " --set " + test::ShellWord(name + "=" + value);
    const test::CliRun edit = test::RunCli(args + " -o " + test::ShellWord(out.string()));
    EXPECT_EQ(edit.status, 0) << args << "\n" << edit.err;
    return Analyse(out);
}

void ExpectSameFigures(const json& row, const json& analysed, const std::string& what) {
    const double total = analysed["TornadoBenefits"].get<double>() + analysed["HurricaneBenefits"].get<double>();
    const double cost = analysed["AnnualizedCost"].get<double>();
    EXPECT_EQ(row["TotalBenefits"].get<double>(), total) << what;
    EXPECT_EQ(row["AnnualizedCost"].get<double>(), cost) << what;
    EXPECT_EQ(row["NetBenefits"].get<double>(), total - cost) << what;
    if (cost == 0)
        EXPECT_TRUE(row["BenefitCostRatio"].is_null()) << what;
    else
        EXPECT_EQ(row["BenefitCostRatio"].get<double>(), total / cost) << what;
}

// The --set arguments of a row: the occupancy rows scale every hour (or the
// hurricane occupancy) the file holds by the factor in Value.
std::vector<std::pair<std::string, std::string>> SetsOf(const json& row, const project::ProjectDocument& d) {
    const std::string input = row["Input"], value = row["Value"];
    const float factor = value == "0.75" ? 0.75f : 1.25f;
    auto scaled = [factor](const std::string& text) {
        return platform::GeneralText(static_cast<float>(*platform::ParseNumber(text)) * factor);
    };
    std::vector<std::pair<std::string, std::string>> sets;
    if (input == "TornadoOccupancy") {
        for (size_t h = 0; h < 24; ++h)
            if (!d.building->hourly[h].empty())
                sets.emplace_back("TornadoOccupancy[" + std::to_string(h) + "]", scaled(d.building->hourly[h]));
    } else if (input == "HurricaneOccupancy") {
        sets.emplace_back(input, scaled(d.building->hurricaneOccupancy));
    } else {
        sets.emplace_back(input, value);
    }
    return sets;
}

void ExpectEveryRowEqualsAnalyze(const fs::path& file, const json& s) {
    const project::ProjectDocument d = project::ParseProjectFile(platform::ReadTextLines(file));
    ExpectSameFigures(s["Base"], Analyse(file), file.filename().string() + " base");
    for (const json& row : s["Variations"]) {
        const std::string what =
            file.filename().string() + " " + row["Input"].get<std::string>() + "=" + row["Value"].get<std::string>();
        ExpectSameFigures(row, AnalyseEdited(file, SetsOf(row, d)), what);
    }
}

TEST(CliSensitivity, EveryRowIsTheAnalysisOfTheEditedProject) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    const fs::path file = Example("oklahoma-school-gym.tor");
    const json s = Sensitivity(file);
    ASSERT_TRUE(s.is_object());
    EXPECT_EQ(s["File"], file.string());

    // The rows of the table, in order, with the values typed.
    std::vector<std::string> rows;
    for (const json& v : s["Variations"])
        rows.push_back(v["Input"].get<std::string>() + " " + v["Value"].get<std::string>());
    // No hurricane occupancy in the gym: that row is left out with a note;
    // the design wind speed is not varied to its prompt (no speed chosen).
    const std::vector<std::string> expected = {
        "DiscountRate 2",        "DiscountRate 3",      "DiscountRate 3.1",    "DiscountRate 7",
        "DiscountRate 10",       "ProjectCost 637500",  "ProjectCost 1062500", "MaintenanceCost 2250",
        "MaintenanceCost 3750",  "InjuryCost 9375",     "InjuryCost 15625",    "DeathCost 1650000",
        "DeathCost 2750000",     "ProjectLifetime 40",  "ProjectLifetime 60",  "TornadoOccupancy 0.75",
        "TornadoOccupancy 1.25", "SelectionRadius 0",   "SelectionRadius 25",  "SelectionRadius 50",
        "SelectionRadius 100",   "SelectionRadius 150", "SelectionRadius 250", "SelectionMethod 1",
        "DesignWindSpeed 1",     "DesignWindSpeed 2",   "DesignWindSpeed 3",   "DesignWindSpeed 4"};
    // Each row also says it in the user's terms.
    std::vector<std::string> labels;
    for (const json& v : s["Variations"]) labels.push_back(v["Label"].get<std::string>());
    const std::vector<std::string> expectedLabels = {"Discount rate 2 %",
                                                     "Discount rate 3 %",
                                                     "Discount rate 3.1 %",
                                                     "Discount rate 7 %",
                                                     "Discount rate 10 %",
                                                     "Project cost $637,500",
                                                     "Project cost $1,062,500",
                                                     "Annual maintenance cost $2,250",
                                                     "Annual maintenance cost $3,750",
                                                     "Cost of an injury $9,375",
                                                     "Cost of an injury $15,625",
                                                     "Cost of a death $1,650,000",
                                                     "Cost of a death $2,750,000",
                                                     "Project useful lifetime 40 years",
                                                     "Project useful lifetime 60 years",
                                                     "Tornado occupancy x 0.75",
                                                     "Tornado occupancy x 1.25",
                                                     "County alone",
                                                     "Region radius 25 miles",
                                                     "Region radius 50 miles",
                                                     "Region radius 100 miles",
                                                     "Region radius 150 miles",
                                                     "Region radius 250 miles",
                                                     "Entire state",
                                                     "Design wind speed 130 mph",
                                                     "Design wind speed 160 mph",
                                                     "Design wind speed 200 mph",
                                                     "Design wind speed 250 mph"};
    EXPECT_EQ(labels, expectedLabels);
    ASSERT_EQ(s["Notes"].size(), 1u);
    EXPECT_NE(s["Notes"][0].get<std::string>().find("Hurricane occupancy is not varied"), std::string::npos);
    EXPECT_EQ(rows, expected);
    ExpectEveryRowEqualsAnalyze(file, s);
}

// Counties picked on the map (the radius rows leave them for a region), and a
// coastal project whose hurricane occupancy counts.
TEST(CliSensitivity, EveryRowHoldsForUserCountiesAndHurricanes) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    for (const char* name : {"red-river-plant-user-counties.tor", "mississippi-coast-hospital.tor"}) {
        const fs::path file = Example(name);
        const json s = Sensitivity(file);
        ASSERT_TRUE(s.is_object()) << name;
        ExpectEveryRowEqualsAnalyze(file, s);
    }
}

// Hurricane occupancy is varied where it counts (the coast) and left out with
// a note naming the state where it cannot (Kansas is not hurricane-prone).
TEST(CliSensitivity, HurricaneOccupancyIsVariedOnlyWhereItCanMatter) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    auto hurricaneRows = [](const json& s) {
        std::vector<std::string> labels;
        for (const json& v : s["Variations"])
            if (v["Input"] == "HurricaneOccupancy") labels.push_back(v["Label"].get<std::string>());
        return labels;
    };
    const json coast = Sensitivity(Example("mississippi-coast-hospital.tor"));
    ASSERT_TRUE(coast.is_object());
    EXPECT_EQ(hurricaneRows(coast),
              (std::vector<std::string>{"Hurricane occupancy x 0.75", "Hurricane occupancy x 1.25"}));
    EXPECT_TRUE(coast["Notes"].empty());

    const fs::path inland = test::CliScratch("kansas-hurricane.tor");
    ASSERT_EQ(test::RunCli("edit " + test::ShellWord(Example("kansas-community-shelter.tor").string()) +
                           " --set HurricaneOccupancy=120 -o " + test::ShellWord(inland.string()))
                  .status,
              0);
    const json kansas = Sensitivity(inland);
    ASSERT_TRUE(kansas.is_object());
    EXPECT_TRUE(hurricaneRows(kansas).empty());
    ASSERT_EQ(kansas["Notes"].size(), 1u);
    EXPECT_EQ(kansas["Notes"][0],
              "Hurricane occupancy is not varied: Kansas is not hurricane-prone, so it cannot change the result.");
}

TEST(CliSensitivity, BreakevenValuesGiveARatioOfOneWhenTyped) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    const fs::path file = Example("kansas-community-shelter.tor");
    const json s = Sensitivity(file);
    ASSERT_TRUE(s.is_object());
    const double cost = s["Breakeven"]["ProjectCost"].get<double>();
    const json atCost = AnalyseEdited(file, {{"ProjectCost", platform::GeneralText(static_cast<float>(cost))}});
    const double total = atCost["TornadoBenefits"].get<double>() + atCost["HurricaneBenefits"].get<double>();
    EXPECT_NEAR(total / atCost["AnnualizedCost"].get<double>(), 1.0, 1e-6);

    const double rate = s["Breakeven"]["DiscountRate"].get<double>();
    ASSERT_GT(rate, 0);
    ASSERT_LT(rate, 20);
    auto ratioAt = [&file](double r) {
        const json a = AnalyseEdited(file, {{"DiscountRate", platform::GeneralText(static_cast<float>(r))}});
        return (a["TornadoBenefits"].get<double>() + a["HurricaneBenefits"].get<double>()) /
               a["AnnualizedCost"].get<double>();
    };
    EXPECT_NEAR(ratioAt(rate), 1.0, 1e-6);
    EXPECT_GT(ratioAt(rate - 0.01), 1.0);
    EXPECT_LT(ratioAt(rate + 0.01), 1.0);

    // The interval holds the project's own tornado benefits near its middle.
    const json& u = s["Uncertainty"];
    EXPECT_EQ(u["Draws"], 10000);
    EXPECT_EQ(u["Seed"], 1);
    const json base = Analyse(file);
    const double tornado = base["TornadoBenefits"].get<double>();
    EXPECT_LT(u["TornadoBenefits"][0].get<double>(), tornado);
    EXPECT_GT(u["TornadoBenefits"][2].get<double>(), tornado);
    EXPECT_LT(u["BenefitCostRatio"][0].get<double>(), u["BenefitCostRatio"][2].get<double>());
}

TEST(CliSensitivity, NoCostNoCountyAndPdf) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    const fs::path file = Example("oklahoma-school-gym.tor");
    // A project that costs nothing has no ratio; the breakeven cost still exists.
    const fs::path free = test::CliScratch("free.tor");
    ASSERT_EQ(test::RunCli("edit " + test::ShellWord(file.string()) +
                           " --set ProjectCost=0 --set MaintenanceCost=0 -o " + test::ShellWord(free.string()))
                  .status,
              0);
    const json s = Sensitivity(free);
    ASSERT_TRUE(s.is_object());
    EXPECT_TRUE(s["Base"]["BenefitCostRatio"].is_null());
    EXPECT_EQ(s["Base"]["AnnualizedCost"], 0.0);
    EXPECT_TRUE(s["Uncertainty"]["BenefitCostRatio"].is_null());
    EXPECT_TRUE(s["Breakeven"]["DiscountRate"].is_null());
    EXPECT_GT(s["Breakeven"]["ProjectCost"].get<double>(), 0);
    for (const json& v : s["Variations"]) EXPECT_TRUE(v["Input"] != "MaintenanceCost" || v["Value"] == "0") << v;

    // Without a state and county there is nothing to analyse.
    const fs::path nowhere = test::CliScratch("nowhere.tor");
    ASSERT_EQ(test::RunCli("edit " + test::ShellWord(file.string()) + " --set 'ProjectStateName= Click State' -o " +
                           test::ShellWord(nowhere.string()))
                  .status,
              0);
    const test::CliRun r = test::RunCli("sensitivity " + test::ShellWord(nowhere.string()));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no state and county"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");

    // --pdf writes the sensitivity document; a folder that is not there is
    // reported and nothing is claimed.
    const fs::path written = test::CliScratch("s.pdf");
    fs::remove(written);
    const test::CliRun pdf =
        test::RunCli("sensitivity " + test::ShellWord(file.string()) + " --pdf " + test::ShellWord(written.string()));
    EXPECT_EQ(pdf.status, 0) << pdf.err;
    std::ifstream in(written, std::ios::binary);
    std::string head(4, '\0');
    in.read(head.data(), 4);
    EXPECT_EQ(head, "%PDF");
    const test::CliRun bad =
        test::RunCli("sensitivity " + test::ShellWord(file.string()) + " --pdf " +
                     test::ShellWord((written.parent_path() / "no-such-folder" / "s.pdf").string()));
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("verrane-cli: "), std::string::npos);
}

}  // namespace
}  // namespace verrane
