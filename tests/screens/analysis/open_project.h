#pragma once
// Opens a project file as File > Open does and presses "Benefit Cost
// Analysis" on the Project Information screen: the path of the window.
#include <array>
#include <filesystem>
#include <string>

#include "screens/analysis/form6.h"
#include "tests/support/test_app.h"

namespace verrane::test {

// The eight result texts in the order of the screen, top to bottom.
using ResultTexts = std::array<std::string, 8>;

inline ResultTexts ScreenTexts(const Form6& f6) {
    return {f6.Text1[0].text(), f6.Text1[1].text(), f6.Text1[5].text(), f6.Text1[2].text(),
            f6.Text1[3].text(), f6.Text1[4].text(), f6.Text1[6].text(), f6.Text1[7].text()};
}

// Null when the analysis screen did not come up.
inline Form6* OpenAndAnalyse(TestApp& t, const std::filesystem::path& file) {
    Form2& f2 = t.Start();
    t.dialogs.answers.push_back(platform::Answer::No);
    t.dialogs.files.push_back(file.string());
    f2.mnuOpen_Click();
    f2.Command1_Click(3);
    Form6* f6 = t.app->Loaded<Form6>();
    return f6 && t.app->front() == f6 ? f6 : nullptr;
}

inline std::filesystem::path ExamplesDir() { return std::filesystem::path(VERRANE_SOURCE_DIR) / "examples"; }

}  // namespace verrane::test
