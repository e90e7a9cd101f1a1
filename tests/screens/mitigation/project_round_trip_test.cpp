#include <gtest/gtest.h>

#include <unistd.h>
#include <fstream>
#include <sstream>

#include "screens/building/form3.h"
#include "screens/mitigation/form5.h"
#include "tests/support/test_app.h"

namespace verrane {
namespace {

std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Opens a project the way the Open command does once the file is chosen.
void Open(Form2& f2, App& app, const std::filesystem::path& file) {
    ASSERT_TRUE(f2.Read_File(file).ok());
    if (auto* f3 = app.Loaded<Form3>()) f3->savedata();
    if (auto* f5 = app.Loaded<Form5>()) f5->savedata();
    f2.BC_On();
}

void ExpectSameOutcome(const model::Outcome& a, const model::Outcome& b) {
    EXPECT_EQ(a.cost, b.cost);
    EXPECT_EQ(a.pre, b.pre);
    EXPECT_EQ(a.post, b.post);
}

TEST(ProjectRoundTrip, TypedProjectReopensWithTheSameControlsAndValues) {
    const auto file =
        std::filesystem::temp_directory_path() / ("verrane-roundtrip-" + std::to_string(getpid()) + ".tor");
    std::array<float, 24> hourly{};
    std::string hurricane, checkText;
    model::Outcome injury, death;
    std::array<std::string, 99> cells;
    {
        test::TestApp t("roundtrip-typed");
        Form2& f2 = t.Choose("Oklahoma", "Cleveland");
        f2.Command1_Click(0);
        Form3& f3 = t.app->form3();
        f3.Text1[0].setText("120");
        f3.Text1[1].setText("80");
        f3.Text1[2].setText("900");
        f3.Combo1[1].setListIndex(3);
        f3.Check1.setValue(1);
        f3.Text1[3].setText("0");
        for (int h = 0; h < 24; ++h) f3.Text2[static_cast<size_t>(h)].setText(h >= 8 && h < 17 ? "150" : "4.5");
        f3.Text2[13].setText("");
        f3.savedata();
        hourly = f3.TornadoHourlyOccupancy;
        hurricane = f3.HurricaneOccupancyList;
        checkText = f3.Text1[5].text();

        Form5& f5 = t.app->form5();
        f5.Text1[0].setText("Safe room in the gym");
        f5.Text1[1].setText("250000");
        f5.Text1[3].setText("40");
        f5.Text1[6].setText("3.5");
        f5.Combo1.setListIndex(2);
        f5.Text2[11].setText("2.5");
        f5.Text2[33].setText("90");
        f5.Text2[64].setText("12");
        f5.Text2[87].setText("50");
        f5.savedata();
        injury = f5.InjuryOutcome;
        death = f5.DeathOutcome;
        for (size_t i = 0; i < 99; ++i) cells[i] = f5.Text2[i].text();
        t.dialogs.messages.clear();
        f2.Write_File(file);
    }

    test::TestApp t("roundtrip-read");
    Form2& f2 = t.Start();
    Open(f2, *t.app, file);
    EXPECT_TRUE(t.dialogs.messages.empty()) << t.dialogs.messages.front().text;
    EXPECT_EQ(f2.Combo2.text(), "Cleveland");
    Form3* f3 = t.app->Loaded<Form3>();
    Form5* f5 = t.app->Loaded<Form5>();
    ASSERT_TRUE(f3 && f5);
    EXPECT_EQ(f3->Text1[2].text(), "900");
    EXPECT_EQ(f3->Combo1[1].listIndex(), 3);
    EXPECT_EQ(f3->Check1.value(), 1);
    EXPECT_EQ(f3->Combo1[0].text(), "Central ST");
    EXPECT_EQ(f3->Text2[13].text(), "");
    EXPECT_EQ(f3->TornadoHourlyOccupancy, hourly);
    EXPECT_EQ(f3->HurricaneOccupancyList, hurricane);
    // The verdict follows the flags that the screen's activation sets.
    f3->Show();
    EXPECT_EQ(f3->Text1[5].text(), checkText);
    EXPECT_FALSE(f2.BuildingDataComplete);  // the empty hour
    EXPECT_TRUE(f2.MitigationDataComplete);

    EXPECT_EQ(f5->Text1[0].text(), "Safe room in the gym");
    EXPECT_EQ(f5->Combo1.text(), "160");
    ExpectSameOutcome(f5->InjuryOutcome, injury);
    ExpectSameOutcome(f5->DeathOutcome, death);
    for (size_t i = 0; i < 99; ++i) EXPECT_EQ(f5->Text2[i].text(), cells[i]) << i;

    const auto again = std::filesystem::path(file).replace_extension(".again.tor");
    f2.Write_File(again);
    EXPECT_EQ(Slurp(again), Slurp(file));
    std::filesystem::remove(file);
    std::filesystem::remove(again);
}

TEST(ProjectRoundTrip, FileRatesAreNotCheckedWhileLoadingButGiveTheTypedOutcome) {
    // The same user-defined rates, typed on one program and read by another.
    const auto file = std::filesystem::temp_directory_path() / ("verrane-rates-" + std::to_string(getpid()) + ".tor");
    model::Outcome injury, death;
    {
        test::TestApp t("rates-typed");
        Form2& f2 = t.Choose("Kansas", "Cowley");
        t.app->form3().Combo1[1].setListIndex(6);
        Form5& f5 = t.app->form5();
        for (int k = 0; k < 9; ++k) {
            f5.Text2[static_cast<size_t>(10 + k)].setText(std::to_string(10 * k));
            f5.Text2[static_cast<size_t>(60 + k)].setText(k < 8 ? "1.5" : "20");
            f5.Text2[static_cast<size_t>(30 + k)].setText("33.3");
        }
        injury = f5.InjuryOutcome;
        death = f5.DeathOutcome;
        f2.Write_File(file);
    }
    test::TestApp t("rates-read");
    Form2& f2 = t.Start();
    Open(f2, *t.app, file);
    Form5* f5 = t.app->Loaded<Form5>();
    ASSERT_NE(f5, nullptr);
    EXPECT_EQ(f5->Text2[18].text(), "80");
    EXPECT_EQ(f5->Text2[68].text(), "20");
    ExpectSameOutcome(f5->InjuryOutcome, injury);
    ExpectSameOutcome(f5->DeathOutcome, death);
    EXPECT_EQ(f5->Text2[48].text(), "53.4");
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace verrane
