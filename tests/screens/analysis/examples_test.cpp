// Each sample project of examples/: opened as File > Open does and analysed
// by the "Benefit Cost Analysis" button, on the shipped reference data. The
// expected texts are kept here and in examples/README.md, which must agree.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/screens/analysis/open_project.h"

namespace verrane {
namespace {

struct Example {
    std::string file;
    test::ResultTexts texts;  // screen order, top to bottom
};

void PrintTo(const Example& e, std::ostream* os) { *os << e.file; }

const std::vector<Example> kExamples = {
    {"oklahoma-school-gym.tor", {" 99,983", " 0", " 99,983", " 64,591", " 35,392", " 1.55", " 2.24", " 6.13"}},
    {"mississippi-coast-hospital.tor",
     {" 87,450", " 6,512,796", " 6,600,246", " 192,022", " 6,408,224", " 34.37", " 114.69", " 935.31"}},
    {"kansas-community-shelter.tor", {" 81,243", " 0", " 81,243", " 50,852", " 30,391", " 1.60", " 1.09", " 3.26"}},
    {"red-river-plant-user-counties.tor",
     {" 42,239", " 0", " 42,239", " 31,300", " 10,939", " 1.35", " 0.41", " 1.44"}},
};

std::string ReadmeSection(const std::string& file) {
    std::ifstream in(test::ExamplesDir() / "README.md");
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string all = ss.str();
    const size_t start = all.find("### " + file);
    if (start == std::string::npos) return {};
    const size_t end = all.find("\n### ", start + 4);
    return all.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

class ExampleProject : public ::testing::TestWithParam<Example> {};

TEST_P(ExampleProject, ShowsTheResultsRecordedInTheReadme) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    const Example& e = GetParam();
    test::TestApp t("");
    Form6* f6 = test::OpenAndAnalyse(t, test::ExamplesDir() / e.file);
    ASSERT_NE(f6, nullptr) << "the analysis screen did not come up";
    const test::ResultTexts shown = test::ScreenTexts(*f6);
    const std::string section = ReadmeSection(e.file);
    ASSERT_FALSE(section.empty()) << e.file << " is not described in examples/README.md";
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(shown[i], e.texts[i]) << e.file << ", result " << i;
        EXPECT_NE(section.find("| `" + e.texts[i] + "` |"), std::string::npos)
            << "examples/README.md does not record " << e.texts[i] << " for " << e.file;
    }
    // The README names each result by its label on the screen.
    EXPECT_NE(section.find("| " + f6->Label2[5].caption() + " |"), std::string::npos);
    // Opening and analysing asks nothing and warns of nothing beyond the save prompt.
    for (const auto& m : t.dialogs.messages)
        EXPECT_EQ(m.text, "Do you want to save changes to the current project?") << e.file;
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleProject, ::testing::ValuesIn(kExamples),
                         [](const ::testing::TestParamInfo<Example>& info) {
                             std::string name;
                             for (char c : info.param.file.substr(0, info.param.file.size() - 4))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(ExampleProjects, CarryTheirKindOfCountySelection) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    struct Case {
        const char* file;
        float method;
        size_t counties;
    };
    for (const Case& c : {Case{"oklahoma-school-gym.tor", 0, 20}, Case{"kansas-community-shelter.tor", 1, 105},
                          Case{"red-river-plant-user-counties.tor", 2, 7}}) {
        test::TestApp t("");
        Form6* f6 = test::OpenAndAnalyse(t, test::ExamplesDir() / c.file);
        ASSERT_NE(f6, nullptr) << c.file;
        const Form2& f2 = t.app->form2();
        EXPECT_EQ(f2.SelectionMethod, c.method) << c.file;
        EXPECT_EQ(f2.SelectedCounties.size(), c.counties) << c.file;
        EXPECT_EQ(f6->Results.countiesNote.empty(), c.method != 2) << c.file;
        EXPECT_EQ(f6->Results.userRatesNote.empty(), c.method != 2) << c.file;
        EXPECT_EQ(f6->Results.sufficiencyNote, "") << c.file;
    }
}

}  // namespace
}  // namespace verrane
