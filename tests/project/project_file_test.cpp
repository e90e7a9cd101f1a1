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

TEST(ProjectFileFormat, DescriptionFalseMeansNoMitigationBlock) {
    auto c = Minimal();
    c.mitigation = MitigationBlock{};
    c.mitigation->description = "FALSE";
    auto lines = FormatProjectFile(c);
    auto back = ParseProjectFile(lines);
    EXPECT_FALSE(back.mitigation.has_value());
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
