#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/project_edit.h"
#include "platform/textfile.h"
#include "project/fields.h"
#include "project/project_file.h"
#include "screens/project/form2.h"
#include "tests/support/scratch.h"
#include "tests/support/test_app.h"

using namespace verrane::project;

namespace {

ProjectDocument Example(const char* name) {
    return ParseProjectFile(
        verrane::platform::ReadTextLines(std::string(VERRANE_SOURCE_DIR) + "/examples/" + name + ".tor"));
}

// The file's lines without the header and the county list: what the fields
// hold, in the file's order.
std::vector<std::string> FieldLines(const ProjectDocument& d) {
    std::vector<std::string> lines = FormatProjectFile(d);
    lines.erase(lines.begin());
    const size_t method = d.building ? 9 + 32 : 9 + 1;
    const size_t count = method + (d.selectionMethod == 0 ? 2 : 1);
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(count),
                lines.begin() + static_cast<std::ptrdiff_t>(count + 1 + d.selectedCounties.size()));
    return lines;
}

std::string Refusal(ProjectDocument& d, const char* name, const char* text) {
    const ProjectDocument before = d;
    const auto refusal = SetField(d, name, text);
    EXPECT_EQ(FormatProjectFile(d), FormatProjectFile(before)) << name << "=" << text << " changed the project";
    return refusal ? refusal->message : "";
}

}  // namespace

TEST(FieldTable, DeclaresEveryInputEditKnowsOnceInFileOrder) {
    const auto& fields = Fields();
    ASSERT_EQ(fields.size(), 87u);  // 9 + 32 building + 2 + 44 mitigation
    std::vector<std::string> names;
    std::set<std::string> labels;
    for (const Field& f : fields) {
        names.push_back(f.name);
        labels.insert(f.label);
        EXPECT_EQ(FindField(f.name), &f);
    }
    EXPECT_EQ(names, verrane::InputNames());
    EXPECT_EQ(labels.size(), fields.size()) << "two inputs share a label";
    EXPECT_EQ(FindField("NoSuchInput"), nullptr);
    EXPECT_EQ(FindField("ProjectLifetime")->label, "Project useful lifetime (years)");
    EXPECT_EQ(FindField("UserDeathEffectiveness[8]")->control.index, 88);
}

TEST(FieldTable, ReadsEachMemberAsTheFileWritesIt) {
    for (const char* name : {"oklahoma-school-gym", "kansas-community-shelter", "mississippi-coast-hospital",
                             "red-river-plant-user-counties"}) {
        const ProjectDocument d = Example(name);
        std::vector<std::string> texts;
        for (const Field& f : Fields()) {
            const auto text = FieldText(d, f);
            if (!text) continue;  // an absent block, or the radius of another method
            if (f.name == "SelectionRadius" && d.selectionMethod != 0) continue;
            texts.push_back(*text);
        }
        EXPECT_EQ(texts, FieldLines(d)) << name;
    }
}

TEST(FieldTable, SetsEachMemberSoTheFileCarriesIt) {
    ProjectDocument d;
    int n = 0;
    for (const Field& f : Fields()) {
        std::string value = std::to_string(++n % 2);
        if (f.name == "ProjectLifetime" || f.name == "BuildingLength" || f.name == "BuildingWidth" ||
            f.name == "ShelterArea")
            value = "3";
        ASSERT_EQ(SetField(d, f, value), std::nullopt) << f.name;
        EXPECT_EQ(FieldText(d, f), value) << f.name;
    }
    // Each value landed in its own member: the file reads them back.
    const ProjectDocument back = ParseProjectFile(FormatProjectFile(d));
    for (const Field& f : Fields()) EXPECT_EQ(FieldText(back, f), FieldText(d, f)) << f.name;
}

TEST(FieldTable, RefusesImpossibleValuesNamingInputUnitAndRange) {
    ProjectDocument d = Example("oklahoma-school-gym");
    const std::string lifetime = "Project useful lifetime (years) must be a whole number from 1 to 32,767.";
    for (const char* v : {"0", "0.5", "2.5", "-5", "32768", "1e30"})
        EXPECT_EQ(Refusal(d, "ProjectLifetime", v), lifetime) << v;
    EXPECT_EQ(Refusal(d, "BuildingLength", "-5"), "Building longest length (feet) must be greater than 0.");
    EXPECT_EQ(Refusal(d, "ShelterArea", "0"), "Shelter area (square feet) must be greater than 0.");
    EXPECT_EQ(Refusal(d, "TornadoOccupancy[13]", "-32769"),
              "Tornado shelter occupancy at 1 pm (people) must be 0 or more.");
    EXPECT_EQ(Refusal(d, "ProjectCost", "-1"), "Project cost ($) must be 0 or more.");
    EXPECT_EQ(Refusal(d, "DiscountRate", "100.5"), "Discount rate (%) must be from 0 to 100.");
    EXPECT_EQ(Refusal(d, "UserInjuryEffectiveness[2]", "500"),
              "User-defined injury effectiveness, 78 - 118 mph (%) must be from 0 to 100.");
    EXPECT_EQ(Refusal(d, "SelectionRadius", "251"),
              "Radius of the region around the county (miles) must be a whole number from 0 to 250.");
    EXPECT_EQ(Refusal(d, "SelectionRadius", "12.5"),
              "Radius of the region around the county (miles) must be a whole number from 0 to 250.");
    EXPECT_EQ(Refusal(d, "DesignWindSpeed", "5"),
              "Design wind speed (list position) must be a whole number from 0 to 4.");
    EXPECT_EQ(Refusal(d, "DaylightSaving", "2"), "Daylight savings (0 clear, 1 ticked) must be 0 or 1.");
    EXPECT_EQ(Refusal(d, "DeathCost", "a lot"), kNotANumberMessage);
    EXPECT_EQ(SetField(d, "DeathCost", "x")->reason, RefusalReason::NotANumber);
    const auto unknown = SetField(d, "Lifetime", "5");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->reason, RefusalReason::UnknownName);
}

TEST(FieldTable, TakesTheEdgesOfEachRuleAndEmptyBoxes) {
    ProjectDocument d = Example("oklahoma-school-gym");
    for (auto [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"ProjectLifetime", "1"},
             {"ProjectLifetime", "32767"},
             {"ProjectLifetime", ""},
             {"DiscountRate", "0"},
             {"DiscountRate", "100"},
             {"ProjectCost", "100,000"},
             {"BuildingLength", "0.5"},
             {"HurricaneOccupancy", "0"},
             {"UserDeathPercent[8]", "100"},
             {"SelectionRadius", "250"},
             {"ConstructionType", "6"},
         }) {
        EXPECT_EQ(SetField(d, name, value), std::nullopt) << name << "=" << value;
        EXPECT_EQ(FieldText(d, name), value) << name;
    }
    EXPECT_EQ(d.selectionMethod, 0);  // the radius chose the region around the county
}

TEST(FieldTable, FieldOfAnAbsentBlockCreatesTheBlock) {
    ProjectDocument d;
    EXPECT_EQ(FieldText(d, "ProjectCost"), std::nullopt);
    EXPECT_EQ(SetField(d, "ProjectCost", "5000"), std::nullopt);
    ASSERT_TRUE(d.mitigation);
    EXPECT_EQ(d.mitigation->projectCost, "5000");
    EXPECT_FALSE(d.building);
}

// The inputs MissingForAnalysis names are exactly those that keep the
// window's "Benefit Cost Analysis" off after File > Open: each required box
// emptied in turn, the shelter area (not required) and the county.
TEST(FieldTable, MissingInputsAreThoseThatKeepTheAnalysisOff) {
    if (!verrane::test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    const std::filesystem::path file = verrane::test::ScratchFile("verrane-fields", "blanked.tor");
    const ProjectDocument base = Example("kansas-community-shelter");
    std::vector<std::pair<std::string, std::string>> cases = {{"", ""},
                                                              {"ShelterArea", ""},
                                                              {"MitigationDescription", ""},
                                                              {"ProjectCountyName", "Nowhere"},
                                                              {"ProjectStateName", " Click State"}};
    for (const char* name :
         {"BuildingLength", "BuildingWidth", "HurricaneOccupancy", "TornadoOccupancy[0]", "TornadoOccupancy[23]",
          "ProjectCost", "MaintenanceCost", "ProjectLifetime", "InjuryCost", "DeathCost", "DiscountRate"})
        cases.emplace_back(name, "");
    for (const auto& [name, value] : cases) {
        ProjectDocument d = base;
        if (!name.empty()) {
            ASSERT_EQ(SetField(d, name, value), std::nullopt) << name;
        }
        verrane::platform::WriteTextLinesAtomically(file, FormatProjectFile(d));
        verrane::test::TestApp t("");
        verrane::Form2& f2 = t.Start();
        t.dialogs.files = {file.string()};
        t.dialogs.answers = {verrane::platform::Answer::No};  // to saving the empty project
        const auto opened = f2.OpenProject();
        ASSERT_TRUE(opened.ok()) << name << ": " << opened.message;
        const bool on = f2.FindMenu("mnuBCAnalysis")->enabled;
        const auto missing = MissingForAnalysis(f2.StoreDocument());
        EXPECT_EQ(on, missing.empty()) << name << ": " << MissingInputsText(missing);
        const std::string emptied = name;
        const bool named =
            std::any_of(missing.begin(), missing.end(), [&emptied](const Field* f) { return f->name == emptied; });
        EXPECT_EQ(named, !on && !name.empty()) << name;
    }
    EXPECT_FALSE(MissingForAnalysis(ProjectDocument{}).empty());
}
