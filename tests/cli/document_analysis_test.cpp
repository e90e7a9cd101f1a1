// The analysis of a document gives exactly what the window gives for the same
// project: the examples and a few hundred random projects, each opened in the
// screens and analysed with "Benefit Cost Analysis", compared field by field
// with AnalyzeDocument, and the text, JSON and CSV that analyze prints of both.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "cli/analyze.h"
#include "project/document_analysis.h"
#include "project/document_edits.h"
#include "project/fields.h"
#include "project/project_file.h"
#include "screens/analysis/form6.h"
#include "tests/screens/analysis/open_project.h"
#include "tests/support/fixture_db.h"

namespace verrane {
namespace {

using project::ProjectDocument;

void ExpectSameTornado(const model::FProbsResult& a, const model::FProbsResult& b) {
    EXPECT_EQ(a.reportCountyArea, b.reportCountyArea);
    EXPECT_EQ(a.reportRegionArea, b.reportRegionArea);
    EXPECT_EQ(a.reportRecordYears, b.reportRecordYears);
    EXPECT_EQ(a.reportCountByF, b.reportCountByF);
    EXPECT_EQ(a.annualCountByF, b.annualCountByF);
    EXPECT_EQ(a.reportPathLengthByF, b.reportPathLengthByF);
    EXPECT_EQ(a.reportPathAreaByF, b.reportPathAreaByF);
    EXPECT_EQ(a.annualPathAreaByF, b.annualPathAreaByF);
    EXPECT_EQ(a.effectiveAreaByF, b.effectiveAreaByF);
    EXPECT_EQ(a.strikeProbabilityByF, b.strikeProbabilityByF);
    EXPECT_EQ(a.insufficient, b.insufficient);
    EXPECT_EQ(a.lacksData, b.lacksData);
}

void ExpectSameResult(const model::AnalysisResult& window, const model::AnalysisResult& document) {
    EXPECT_EQ(window.tornadoBenefits, document.tornadoBenefits);
    EXPECT_EQ(window.hurricaneBenefits, document.hurricaneBenefits);
    EXPECT_EQ(window.annualizedCost, document.annualizedCost);
    EXPECT_EQ(window.totalBenefits, document.totalBenefits);
    EXPECT_EQ(window.netBenefits, document.netBenefits);
    EXPECT_EQ(window.benefitCostRatio, document.benefitCostRatio);
    EXPECT_EQ(window.annualDeathsAvoided, document.annualDeathsAvoided);
    EXPECT_EQ(window.annualInjuriesAvoided, document.annualInjuriesAvoided);
    EXPECT_EQ(window.livesSaved, document.livesSaved);
    EXPECT_EQ(window.injuriesAvoided, document.injuriesAvoided);
    ASSERT_EQ(window.tornado.has_value(), document.tornado.has_value());
    if (window.tornado) ExpectSameTornado(*window.tornado, *document.tornado);
    EXPECT_EQ(window.reportHurricaneWind, document.reportHurricaneWind);
    EXPECT_EQ(window.hurricaneRangeProbability, document.hurricaneRangeProbability);
    EXPECT_EQ(window.countiesNote, document.countiesNote);
    EXPECT_EQ(window.sufficiencyNote, document.sufficiencyNote);
    EXPECT_EQ(window.userRatesNote, document.userRatesNote);
}

// What analyze prints, in its three forms.
std::string Printed(const cli::AnalysisOutput& o) {
    std::string text;
    for (const auto& line : cli::ResultLines(o)) text += "  " + line.label + ":" + line.text + "\n";
    return text + cli::JsonObject(o, "project.tor") + "\n" + cli::CsvLine(o, "project.tor") + "\n";
}

// The document opened in a program of its own as File > Open leaves it, and
// "Benefit Cost Analysis" pressed on the Project Information screen; compared
// with the analysis of the document.
void ExpectWindowEqualsDocument(const ProjectDocument& document, const platform::ReferenceData& reference) {
    test::TestApp t("");
    Form2& f2 = t.Start();
    f2.OpenDocument(document);
    f2.Command1_Click(3);
    Form6* f6 = t.app->Loaded<Form6>();
    const project::DocumentAnalysis a = project::AnalyzeDocument(document, reference);
    ASSERT_TRUE(f6 && t.app->front() == f6) << a.notAnalysed;
    ASSERT_TRUE(a.ok()) << a.notAnalysed;
    ExpectSameResult(f6->Results, a.result);
    EXPECT_EQ(a.projectFips, f2.ProjectFips());
    EXPECT_EQ(Printed(cli::OutputOf(*t.app)), Printed(cli::OutputOf(a, document)));
}

TEST(DocumentAnalysis, TheExamplesAnalyseAsInTheWindow) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    for (const char* name : {"oklahoma-school-gym.tor", "mississippi-coast-hospital.tor",
                             "kansas-community-shelter.tor", "red-river-plant-user-counties.tor"}) {
        SCOPED_TRACE(name);
        test::TestApp t("");
        Form6* f6 = test::OpenAndAnalyse(t, test::ExamplesDir() / name);
        ASSERT_TRUE(f6);
        const ProjectDocument opened = t.app->form2().StoreDocument();
        const platform::ReferenceData reference(t.app->ReferenceDatabase());
        const project::DocumentAnalysis a = project::AnalyzeDocument(opened, reference);
        ASSERT_TRUE(a.ok()) << a.notAnalysed;
        ExpectSameResult(f6->Results, a.result);
        EXPECT_EQ(Printed(cli::OutputOf(*t.app)), Printed(cli::OutputOf(a, opened)));
        ExpectSameResult(a.result,
                         project::AnalyzeDocument(opened, platform::ReferenceData::InMemory(reference.file())).result);
    }
}

// Random valid projects, every value set through its field's rule.
class RandomProjects {
public:
    RandomProjects(unsigned seed, const platform::ReferenceData& reference) : rng_(seed) {
        for (const std::string& state : reference.StateNames())
            for (const std::string& county : reference.CountyNames(state)) places_.emplace_back(state, county);
        const auto codes = reference.StateCounties("Oklahoma");
        const auto more = reference.StateCounties("Texas");
        fips_.insert(fips_.end(), codes.begin(), codes.end());
        fips_.insert(fips_.end(), more.begin(), more.end());
    }

    ProjectDocument Make(ProjectDocument d) {
        if (Chance(85)) {
            const auto& [state, county] = places_[Index(places_.size())];
            Set(d, "ProjectStateName", state);
            Set(d, "ProjectCountyName", county);
        }
        for (const char* name : {"BuildingLength", "BuildingWidth", "ShelterArea"})
            if (Chance(60)) Set(d, name, Number(1, 900));
        if (Chance(60)) Set(d, "ConstructionType", std::to_string(Int(0, 6)));
        if (Chance(60)) Set(d, "MinimalWindowArea", std::to_string(Int(0, 1)));
        if (Chance(60)) Set(d, "TimeZone", std::to_string(Int(0, 8)));
        if (Chance(50)) Set(d, "DaylightSaving", std::to_string(Int(0, 1)));
        if (Chance(70)) {
            const int peak = Int(0, 3000);
            for (int h = 0; h < 24; ++h)
                if (Chance(70)) Set(d, "TornadoOccupancy[" + std::to_string(h) + "]", Number(0, peak));
        }
        if (Chance(50)) Set(d, "HurricaneOccupancy", Number(0, 4000));
        Select(d);
        for (const char* name : {"ProjectCost", "MaintenanceCost", "InjuryCost", "DeathCost"})
            if (Chance(50)) Set(d, name, Number(0, 5000000));
        if (Chance(50)) Set(d, "ProjectLifetime", std::to_string(Int(1, 150)));
        if (Chance(50)) Set(d, "DiscountRate", Chance(10) ? "0" : Number(0, 100));
        if (Chance(60)) Set(d, "DesignWindSpeed", std::to_string(Int(0, 4)));
        if (Chance(40))
            for (const char* column :
                 {"UserInjuryPercent", "UserInjuryEffectiveness", "UserDeathPercent", "UserDeathEffectiveness"})
                for (int k = 0; k < 9; ++k)
                    if (Chance(20)) Set(d, std::string(column) + "[" + std::to_string(k) + "]", Number(0, 100));
        return d;
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    size_t Index(size_t n) { return static_cast<size_t>(Int(0, static_cast<int>(n) - 1)); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }
    // A number as an analyst types it: whole, with decimals or a half, with
    // thousands separators, in exponent form.
    std::string Number(int lo, int hi) {
        const int v = Int(lo, hi), below = Int(lo, std::max(lo, hi - 1));  // room for decimals
        switch (Int(0, 5)) {
            case 0:
                return std::to_string(below) + "." + std::to_string(Int(0, 99));
            case 1:
                return std::to_string(below) + ".5";
            case 2:
                return v >= 1000 ? std::to_string(v / 1000) + "," + std::to_string(1000 + v % 1000).substr(1)
                                 : std::to_string(v);
            case 3:
                return v >= 10 ? std::to_string(v / 10) + "." + std::to_string(v % 10) + "E1"
                               : std::to_string(v) + "E0";
            default:
                return std::to_string(v);
        }
    }
    static void Set(ProjectDocument& d, const std::string& name, const std::string& value) {
        const auto refusal = project::SetField(d, name, value);
        ASSERT_FALSE(refusal) << name << "=" << value << ": " << refusal->message;
    }
    // Any method, and any list of counties: the window analyses the list the
    // project holds (the project county or not, repeated or unknown codes).
    void Select(ProjectDocument& d) {
        switch (Int(0, 4)) {
            case 0:
                Set(d, "SelectionRadius", std::to_string(Int(0, 250)));
                break;
            case 1:
                Set(d, "SelectionMethod", std::to_string(Int(1, 2)));
                break;
            default:
                return;  // as the example had it
        }
        d.selectedCounties.clear();
        for (int n = Int(0, 25); n > 0; --n) d.selectedCounties.push_back(fips_[Index(fips_.size())]);
        if (Chance(10)) d.selectedCounties.push_back("99999");
    }

    std::mt19937 rng_;
    std::vector<std::pair<std::string, std::string>> places_;
    std::vector<std::string> fips_;
};

TEST(DocumentAnalysis, RandomProjectsAnalyseAsInTheWindow) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    std::vector<ProjectDocument> examples;
    for (const char* name : {"oklahoma-school-gym.tor", "mississippi-coast-hospital.tor",
                             "kansas-community-shelter.tor", "red-river-plant-user-counties.tor"}) {
        test::TestApp t("");
        ASSERT_TRUE(test::OpenAndAnalyse(t, test::ExamplesDir() / name));
        examples.push_back(t.app->form2().StoreDocument());
    }
    const platform::ReferenceData onFile(platform::ReferenceDatabasePath());
    const platform::ReferenceData inMemory = platform::ReferenceData::InMemory(onFile.file());
    RandomProjects random(21, onFile);
    for (int i = 0; i < 300; ++i) {
        const ProjectDocument d = random.Make(examples[static_cast<size_t>(i) % examples.size()]);
        SCOPED_TRACE("project " + std::to_string(i) + " in " + d.countyName + ", " + d.stateName);
        ExpectWindowEqualsDocument(d, i % 2 ? inMemory : onFile);
        if (HasFailure()) break;
    }
}

TEST(DocumentAnalysis, GivesNoFiguresWhereTheWindowKeepsTheAnalysisOff) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    test::TestApp t("");
    ASSERT_TRUE(test::OpenAndAnalyse(t, test::ExamplesDir() / "kansas-community-shelter.tor"));
    const ProjectDocument opened = t.app->form2().StoreDocument();
    const platform::ReferenceData reference(t.app->ReferenceDatabase());

    ProjectDocument d = opened;
    d.mitigation->lifetime.clear();
    d.building->hourly[7].clear();
    EXPECT_EQ(project::AnalyzeDocument(d, reference).notAnalysed,
              "not analysed: these inputs are empty: Tornado shelter occupancy at 7 am (people) [TornadoOccupancy[7]], "
              "Project useful lifetime (years) [ProjectLifetime]");
    d = opened;
    d.countyName = "Atlantis";
    EXPECT_EQ(project::AnalyzeDocument(d, reference).notAnalysed, "not analysed: the project has no state and county");
    d = opened;
    d.building.reset();
    EXPECT_FALSE(project::AnalyzeDocument(d, reference).ok());
}

// What a batch run gets from the tables read once, after every row was read
// up front, equals what the file gives question by question: every county's
// region and its pooled statistics, and a row that cannot be used refused
// with the same words wherever it is pooled.
TEST(DocumentAnalysis, TablesReadOnceAnswerAsTheFile) {
    const auto data = test::MakeFixtureDataDir("read-once");
    const std::vector<test::FixtureCounty> counties = test::FixtureCounties();
    ASSERT_GE(counties.size(), 3u);
    const std::string broken = counties[1].fips;
    test::ExecSql(data, "UPDATE tornado SET FCOUNT2 = 'many' WHERE FIPS = '" + broken + "'");
    const platform::ReferenceData onFile(data / "verrane.sqlite");
    const platform::ReferenceData inMemory = platform::ReferenceData::InMemory(onFile.file());
    inMemory.ReadAllOnce();

    auto pooled = [](const platform::ReferenceData& r, const std::vector<std::string>& region,
                     const std::string& fips) {
        try {
            const model::TornadoStats s = r.PooledStats(region, fips);
            return std::to_string(s.countByF[3]) + " " + std::to_string(s.avgPathAreaByF[2]) + " " +
                   std::to_string(s.sampleRegionArea) + " " + std::to_string(s.recordYears) + " " +
                   std::to_string(s.hourlyFractionByF[1][17]);
        } catch (const platform::DatabaseError& e) {
            return std::string("refused: ") + e.what();
        }
    };
    size_t refused = 0;
    for (const test::FixtureCounty& c : counties) {
        for (double radius : {0.0, 20.0, 45.0, 250.0}) {
            SCOPED_TRACE(c.fips + " within " + std::to_string(radius));
            const std::vector<std::string> region =
                radius > 0 ? onFile.RegionCounties(c.state, c.name, radius) : std::vector<std::string>{c.fips};
            EXPECT_EQ(inMemory.RegionCounties(c.state, c.name, radius == 0 ? 0.5 : radius),
                      onFile.RegionCounties(c.state, c.name, radius == 0 ? 0.5 : radius));
            const std::string a = pooled(onFile, region, c.fips), b = pooled(inMemory, region, c.fips);
            EXPECT_EQ(a, b);
            if (std::find(region.begin(), region.end(), broken) != region.end()) {
                EXPECT_NE(a.find("refused: The field FCOUNT2 of table tornado holds \"many\""), std::string::npos) << a;
                ++refused;
            }
        }
    }
    EXPECT_GT(refused, 0u);
}

// A batch edit goes through the field table: a refused value comes back as a
// value and changes nothing; a new radius re-selects the region as the hazard
// screen does, and moving the project presets its county's time zone.
TEST(DocumentAnalysis, EditsOfADocumentFollowTheFieldRulesAndTheSelection) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    test::TestApp t("");
    ASSERT_TRUE(test::OpenAndAnalyse(t, test::ExamplesDir() / "oklahoma-school-gym.tor"));
    const ProjectDocument opened = t.app->form2().StoreDocument();
    const platform::ReferenceData reference = platform::ReferenceData::InMemory(t.app->ReferenceDatabase());
    std::vector<platform::Message> messages;

    ProjectDocument d = opened;
    const auto refusal = project::EditDocument(d, "ProjectLifetime", "-5", reference, messages);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->reason, project::RefusalReason::OutOfRange);
    EXPECT_NE(refusal->message.find("Project useful lifetime (years)"), std::string::npos) << refusal->message;
    EXPECT_EQ(project::FormatProjectFile(d), project::FormatProjectFile(opened));
    EXPECT_TRUE(project::EditDocument(d, "NoSuchInput", "1", reference, messages));

    ASSERT_FALSE(project::EditDocument(d, "SelectionRadius", "0", reference, messages));
    EXPECT_EQ(d.selectedCounties.size(), 1u);
    ASSERT_FALSE(project::EditDocument(d, "SelectionRadius", "100", reference, messages));
    EXPECT_EQ(d.selectedCounties, reference.RegionCounties(d.stateName, d.countyName, 100));
    ASSERT_FALSE(project::EditDocument(d, "SelectionMethod", "1", reference, messages));
    EXPECT_EQ(d.selectedCounties, reference.StateCounties(d.stateName));

    d = opened;
    ASSERT_TRUE(project::MoveToCounty(d, "Arizona", "Maricopa", reference, messages));
    const auto preset = platform::ReadTimePreset(reference, "Arizona", "Maricopa");
    ASSERT_TRUE(preset.found && preset.timeZone);
    EXPECT_EQ(d.building->timeZone, *preset.timeZone);
    EXPECT_EQ(d.building->daylightSaving, preset.daylightSaving ? 1 : 0);
    EXPECT_EQ(d.selectedCounties, reference.RegionCounties("Arizona", "Maricopa", d.selectionRadius));
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace verrane
