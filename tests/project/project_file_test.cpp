#include <gtest/gtest.h>

#include "project/project_file.h"

using namespace verrane::project;

namespace {
ProjectFileContents Minimal() {
    ProjectFileContents c;
    c.buildingName = "Central High School";
    c.stateName = "Oklahoma";
    c.countyName = "Oklahoma";
    c.selectedCounties = {"40109"};
    return c;
}
}  // namespace

TEST(ProjectFileFormat, WithoutBlocksIsFourteenPlusNLines) {
    auto c = Minimal();
    auto lines = FormatProjectFile(c);
    ASSERT_EQ(lines.size(), 14u + 1u);
    EXPECT_EQ(lines[0], "Verrane v1.0");
    EXPECT_EQ(lines[10], "FALSE");
    EXPECT_EQ(lines[11], "");  // no method chosen
    EXPECT_EQ(lines[12], "1");
    EXPECT_EQ(lines[13], "40109");
    EXPECT_EQ(lines[14], "FALSE");
    EXPECT_EQ(ParseProjectFile(lines).selectionMethod, -1);
}

TEST(ProjectFileFormat, RadiusLineOnlyForRegionMethod) {
    auto c = Minimal();
    c.selectionMethod = 0;
    c.selectionRadius = 37.5f;
    auto lines = FormatProjectFile(c);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[11], "0");
    EXPECT_EQ(lines[12], "37.5");
    EXPECT_EQ(ParseProjectFile(lines).selectionRadius, 37.5f);
    for (int m : {1, 2}) {
        c.selectionMethod = m;
        auto l = FormatProjectFile(c);
        EXPECT_EQ(l.size(), 15u);
        EXPECT_EQ(l[11], std::to_string(m));
        EXPECT_EQ(l[12], "1");
    }
}

TEST(ProjectFileFormat, BothBlocksGiveEightyEightPlusN) {
    auto c = Minimal();
    c.building = BuildingBlock{};
    c.mitigation = MitigationBlock{};
    c.selectionMethod = 1;
    c.selectedCounties = {"40109", "40027"};
    auto lines = FormatProjectFile(c);
    EXPECT_EQ(lines.size(), 88u + 2u);
    auto back = ParseProjectFile(lines);
    EXPECT_TRUE(back.building && back.mitigation);
    EXPECT_EQ(FormatProjectFile(back), lines);
}

// "FALSE" in the mitigation position means no block only where the file
// ends (an editor's trailing empty line aside); a description that reads
// "FALSE" keeps its costs.
TEST(ProjectFileFormat, DescriptionFalseKeepsTheMitigationBlock) {
    auto c = Minimal();
    c.mitigation = MitigationBlock{};
    c.mitigation->description = "FALSE";
    c.mitigation->projectCost = "250000";
    auto lines = FormatProjectFile(c);
    auto back = ParseProjectFile(lines);
    ASSERT_TRUE(back.mitigation.has_value());
    EXPECT_EQ(back.mitigation->description, "FALSE");
    EXPECT_EQ(back.mitigation->projectCost, "250000");

    auto absent = FormatProjectFile(Minimal());
    EXPECT_FALSE(ParseProjectFile(absent).mitigation.has_value());
    absent.push_back("");
    EXPECT_FALSE(ParseProjectFile(absent).mitigation.has_value());
}

TEST(ProjectFileFormat, RejectsDamagedFilesNamingTheLine) {
    auto lines = FormatProjectFile(Minimal());
    auto expectLine = [](std::vector<std::string> l, int line) {
        try {
            ParseProjectFile(l);
            ADD_FAILURE() << "accepted";
        } catch (const ProjectFileError& e) {
            EXPECT_EQ(e.line, line) << e.what();
        }
    };
    auto header = lines;
    header[0] = "Verrane v1.0 ";
    expectLine(header, 1);
    expectLine({}, 1);
    auto shortFile = lines;
    shortFile.resize(12);
    expectLine(shortFile, 13);
    auto badCount = lines;
    badCount[12] = "two";
    expectLine(badCount, 13);
    auto badMethod = lines;
    badMethod[11] = "7";
    expectLine(badMethod, 12);
    auto badFips = lines;
    badFips[13] = "4010";
    expectLine(badFips, 14);
    auto c = Minimal();
    c.building = BuildingBlock{};
    auto withBuilding = FormatProjectFile(c);
    withBuilding[13] = "1.5";  // construction type list position
    expectLine(withBuilding, 14);
    withBuilding[13] = "1";
    withBuilding[12] = "lots";  // shelter area
    expectLine(withBuilding, 13);
}

namespace {
ProjectFileContents WithBothBlocks() {
    auto c = Minimal();
    c.building = BuildingBlock{};
    c.mitigation = MitigationBlock{};
    return c;
}
int LineOf(const std::vector<std::string>& lines, const std::string& what) {
    try {
        ParseProjectFile(lines);
    } catch (const ProjectFileError& e) {
        EXPECT_NE(std::string(e.what()).find(what), std::string::npos) << e.what();
        return e.line;
    }
    return 0;
}
}  // namespace

// Any line break in any text (Enter in the description, a pasted address)
// is written as one space, so the file keeps one value a line and reads back.
TEST(ProjectFileFormat, LineBreaksInTextsAreWrittenAsSpaces) {
    auto c = WithBothBlocks();
    c.address = "1 Main St.\r\nSuite 2";
    c.analyst = "A\nB\rC";
    c.mitigation->description = "Phase 1\r\nPhase 2\n\nPhase 3";
    c.mitigation->projectCost = "5000";
    const auto lines = FormatProjectFile(c);
    EXPECT_EQ(lines.size(), 88u + 1u);
    const auto back = ParseProjectFile(lines);
    EXPECT_EQ(back.address, "1 Main St. Suite 2");
    EXPECT_EQ(back.analyst, "A B C");
    EXPECT_EQ(back.mitigation->description, "Phase 1 Phase 2  Phase 3");
    EXPECT_EQ(back.mitigation->projectCost, "5000");
}

// The user-defined rate cells are empty unless rates were typed, so an editor
// that trims trailing empty lines cuts the file inside them: the missing
// cells read as empty. A cut anywhere else is still an error.
TEST(ProjectFileFormat, FileCutInsideTheUserRateCellsReadsThemAsEmpty) {
    auto c = WithBothBlocks();
    c.mitigation->designWindSpeed = 2;
    c.mitigation->userInjuryPercent[0] = "12";
    const auto full = FormatProjectFile(c);
    const size_t m7 = full.size() - 37;  // the design wind speed line
    ASSERT_EQ(full[m7], "2");
    for (size_t keep : {m7 + 1, m7 + 2, full.size() - 1}) {
        auto cut = full;
        cut.resize(keep);
        const auto back = ParseProjectFile(cut);
        ASSERT_TRUE(back.mitigation);
        EXPECT_EQ(back.mitigation->userInjuryPercent[0], keep > m7 + 1 ? "12" : "");
        EXPECT_EQ(back.mitigation->userDeathEffectiveness[8], "");
    }
    auto cut = full;
    cut.resize(m7);
    EXPECT_EQ(LineOf(cut, "the file ends there"), static_cast<int>(m7) + 1);
}

// A number a box could not hold is refused in the file as in the box, with
// the line: single-precision boxes up to 3.4E+38, the lifetime a 16-bit
// number of years once rounded.
TEST(ProjectFileFormat, NumbersThatDoNotFitTheirBoxAreRejectedWithTheLine) {
    const auto lines = FormatProjectFile(WithBothBlocks());
    const size_t b0 = 10, m0 = lines.size() - 44;
    struct Case {
        size_t line;
        const char* value;
        bool accepted;
    };
    for (const Case& k : {Case{b0 + 8, "1e39", false}, Case{b0 + 8, "3.4e38", true}, Case{b0, "-1e39", false},
                          Case{m0 + 4, "1e39", false}, Case{m0 + 3, "32767.4", true}, Case{m0 + 3, "32768", false},
                          Case{m0 + 3, "-32768", true}, Case{m0 + 3, "-32769", false}, Case{m0 + 6, "4294967296", true},
                          Case{m0 + 8, "1e39", false}, Case{m0 + 43, "1e39", false}}) {
        auto l = lines;
        l[k.line] = k.value;
        if (k.accepted)
            EXPECT_NO_THROW(ParseProjectFile(l)) << k.value;
        else
            EXPECT_EQ(LineOf(l, "is too large"), static_cast<int>(k.line) + 1) << k.value;
    }
}
