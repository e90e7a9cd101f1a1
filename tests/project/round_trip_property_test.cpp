// Random projects, typed into the screens, saved with File > Save As and
// opened again with File > Open: every control and the analysis come back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <random>

#include "platform/textfile.h"
#include "project/project_file.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/mitigation/form5.h"
#include "tests/support/test_app.h"

namespace verrane {
namespace {

using platform::Answer;

class Random {
public:
    explicit Random(unsigned seed) : rng_(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }
    template <class T, size_t N>
    const T& Pick(const T (&a)[N]) {
        return a[static_cast<size_t>(Int(0, N - 1))];
    }

    // What an analyst may type or paste into a text box, all of it
    // representable in the file's code page.
    std::string Text() {
        static const char* const kPieces[] = {"Main St.",
                                              "O'Brien",
                                              "\"Safe\" room",
                                              "\t",
                                              "\r\n",
                                              "\n",
                                              "\r",
                                              "FALSE",
                                              "Ca\xC3\xB1on",
                                              "\xE2\x82\xAC 5",
                                              " ",
                                              "\xC5\x92uvre",
                                              "\xE2\x80\x9Cquoted\xE2\x80\x9D",
                                              "Phase 2",
                                              "12",
                                              "na\xC3\xAFve \xC3\xBF",
                                              "-",
                                              "  "};
        if (Chance(8)) return "";
        if (Chance(5)) return "FALSE";
        if (Chance(3)) return std::string(1000, static_cast<char>('a' + Int(0, 25)));
        std::string t;
        for (int n = Int(1, 6); n > 0; --n) t += Pick(kPieces);
        return t;
    }
    // A number as an analyst types it.
    std::string Number(bool mayBeEmpty, int hi = 100000) {
        if (mayBeEmpty && Chance(10)) return "";
        const int v = Int(0, hi);
        switch (Int(0, 6)) {
            case 0:
                return std::to_string(v) + "." + std::to_string(Int(0, 99));
            case 1:
                return " " + std::to_string(v) + " ";
            case 2:
                return v >= 1000 ? std::to_string(v / 1000) + "," + std::to_string(1000 + v % 1000).substr(1)
                                 : std::to_string(v);
            case 3:
                return std::to_string(v % 10) + ".5E" + std::to_string(Int(0, 3));
            default:
                return std::to_string(v);
        }
    }

private:
    std::mt19937 rng_;
};

// Every value a control holds, labelled, in a fixed order; nullopt screens
// are marked absent.
std::vector<std::string> Controls(App& app) {
    std::vector<std::string> out;
    Form2& f2 = app.form2();
    for (const auto& t : f2.Text1) out.push_back("Form2.Text1(" + std::to_string(t.index) + ")=" + t.text());
    out.push_back("Form2.Combo3=" + f2.Combo3.text());
    out.push_back("Form2.Combo2=" + f2.Combo2.text());
    out.push_back("SelectionMethod=" + std::to_string(f2.SelectionMethod));
    for (const auto& c : f2.SelectedCounties) out.push_back("SelectedCounties=" + c);
    if (auto* f3 = app.Loaded<Form3>()) {
        for (int i : {0, 1, 2, 3})
            out.push_back("Form3.Text1(" + std::to_string(i) + ")=" + f3->Text1[static_cast<size_t>(i)].text());
        for (const auto& t : f3->Text2) out.push_back("Form3.Text2(" + std::to_string(t.index) + ")=" + t.text());
        for (const auto& c : f3->Combo1)
            out.push_back("Form3.Combo1(" + std::to_string(c.index) + ")=" + std::to_string(c.listIndex()));
        out.push_back("Form3.Check1=" + std::to_string(f3->Check1.value()));
        out.push_back("Form3.Check2=" + std::to_string(f3->Check2.value()));
    } else {
        out.push_back("Form3 absent");
    }
    if (auto* f5 = app.Loaded<Form5>()) {
        for (const auto& t : f5->Text1) out.push_back("Form5.Text1(" + std::to_string(t.index) + ")=" + t.text());
        for (const auto& t : f5->Text2)
            if (Form5::CellExists(t.index)) out.push_back("Form5.Text2(" + std::to_string(t.index) + ")=" + t.text());
        out.push_back("Form5.Combo1=" + std::to_string(f5->Combo1.listIndex()));
    } else {
        out.push_back("Form5 absent");
    }
    return out;
}

std::vector<std::string> Results(App& app) {
    Form6& f6 = app.form6();
    std::vector<std::string> out;
    for (const auto& t : f6.Text1) out.push_back(t.text());
    for (double v : {f6.Results.tornadoBenefits, f6.Results.hurricaneBenefits, f6.Results.annualizedCost,
                     f6.Results.annualDeathsAvoided, f6.Results.annualInjuriesAvoided}) {
        char exact[32];
        std::snprintf(exact, sizeof exact, "%.17g", v);
        out.push_back(exact);
    }
    return out;
}

void TypeProject(App& app, Random& rnd, const std::vector<test::FixtureCounty>& counties) {
    Form2& f2 = app.form2();
    const auto& county = counties[static_cast<size_t>(rnd.Int(0, static_cast<int>(counties.size()) - 1))];
    f2.Combo3.selectText(county.state);
    f2.Combo2.selectText(county.name);
    for (auto& t : f2.Text1) t.setText(rnd.Text());

    if (rnd.Chance(85)) {
        f2.Command1_Click(0);  // "Building Information"
        Form3& f3 = app.form3();
        for (int i : {0, 1, 2, 3}) f3.Text1[static_cast<size_t>(i)].setText(rnd.Number(true, i == 3 ? 500 : 100000));
        f3.Combo1[1].setListIndex(rnd.Int(0, 6));
        f3.Check1.setValue(rnd.Int(0, 1));
        f3.Combo1[0].setListIndex(rnd.Int(0, 8));
        f3.Check2.setValue(rnd.Int(0, 1));
        for (auto& t : f3.Text2) t.setText(rnd.Number(true, 300));
        f3.Command1_Click(0);  // back to the project screen
    }
    if (rnd.Chance(85)) {
        f2.Command1_Click(2);  // "Mitigation Project Information"
        Form5& f5 = app.form5();
        f5.Text1[0].setText(rnd.Text());
        for (int i = 1; i <= 6; ++i) f5.Text1[static_cast<size_t>(i)].setText(rnd.Number(true, i == 3 ? 80 : 3000000));
        f5.Combo1.setListIndex(rnd.Int(0, 4));
        for (int base : {10, 30, 60, 80})
            for (int k = 0; k < 9; ++k)
                if (rnd.Chance(25))
                    f5.Text2[static_cast<size_t>(base + k)].setText(rnd.Number(false, base % 50 == 10 ? 60 : 100));
        f5.Command1_Click(0);
    }
}

// 2,000 projects in four shards of 500, so that ctest can run them side by side.
class ProjectRoundTripProperty : public ::testing::TestWithParam<int> {};

TEST_P(ProjectRoundTripProperty, RandomProjectsComeBackThroughSaveAsAndOpen) {
    const int shard = GetParam();
    test::TestApp t("roundtrip-property-" + std::to_string(shard));
    const auto counties = test::FixtureCounties();
    const auto dir = std::filesystem::temp_directory_path() /
                     ("verrane-property-" + std::to_string(getpid()) + "-" + std::to_string(shard));
    std::filesystem::create_directories(dir);
    Form2& f2 = t.Start();
    Random rnd(1300 + static_cast<unsigned>(shard));
    for (int n = 0; n < 500; ++n) {
        SCOPED_TRACE("project " + std::to_string(n));
        t.dialogs.answers = {Answer::No};  // do not save the previous project
        f2.FindMenu("mnuNew")->click();
        TypeProject(*t.app, rnd, counties);

        std::vector<std::string> typed = Controls(*t.app);
        // The description's line breaks are written as single spaces.
        for (auto& c : typed)
            if (c.rfind("Form5.Text1(0)=", 0) == 0) c = "Form5.Text1(0)=" + platform::OneLine(c.substr(15));

        const auto file = dir / ("project" + std::to_string(n) + ".tor");
        t.dialogs.files = {file.string()};
        t.app->front()->FindMenu("mnusaveas")->click();
        ASSERT_TRUE(std::filesystem::exists(file));
        f2.Command1_Click(3);
        const std::vector<std::string> results = Results(*t.app);

        t.dialogs.answers = {Answer::No};
        t.dialogs.files = {file.string()};
        t.dialogs.messages.clear();
        t.app->front()->FindMenu("mnuOpen")->click();
        for (const auto& m : t.dialogs.messages)  // nothing but the save prompt
            ASSERT_EQ(m.buttons, platform::Buttons::YesNoCancel) << m.text;
        ASSERT_EQ(Controls(*t.app), typed);
        f2.Command1_Click(3);
        ASSERT_EQ(Results(*t.app), results);
        std::filesystem::remove(file);
    }
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Shards, ProjectRoundTripProperty, ::testing::Range(0, 4));

}  // namespace
}  // namespace verrane
