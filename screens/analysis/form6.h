#pragma once
// Benefit Cost Analysis screen: every time it becomes the active window it
// reads the inputs off the other screens, runs model::Analyze and shows the
// eight results. The result it keeps is what the reports and the command line
// read.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/analysis.h"
#include "screens/analysis/result_rows.h"
#include "screens/screen.h"

namespace verrane {

using model::kUserCountiesNote;
using model::kUserRatesNote;

class Form6 : public Screen {
public:
    static constexpr int kNumber = 6;
    explicit Form6(ScreenHost& app);

    // Text1(0) tornado benefits, (1) hurricane benefits, (2) annualized cost,
    // (3) net benefits, (4) ratio, (5) total benefits, (6) lives saved,
    // (7) injuries avoided. All locked, on the button-face colour.
    std::array<platform::TextBox, 8> Text1;
    // Label2(0..6) and (11) stand beside the boxes; 7..10 do not exist.
    std::array<platform::Label, 12> Label2;
    platform::Label Label1;  // heading "Benefit Cost Analysis"
    std::array<platform::CommandButton, 4> Command1;
    platform::CommandButton Command3;  // "Benefit Cost Analysis" marker

    // Kept for the reports.
    std::string LivesSavedCaption, InjuriesAvoidedCaption;
    // The last analysis. Its tornado values stay those of the last analysis
    // that had the tornado statistics (empty before the first one).
    model::AnalysisResult Results;
    // The eight result texts as the boxes show them, by box (Text1) index.
    ResultTexts Texts;

    // The copy of Form2's StatsPending taken during activation.
    bool StatsPending = false;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload() override;
    void Command1_Click(int index);

    // The report items are always available here.
    void SetAnalysisCommands(bool) override {}

private:
    // Inputs that were empty or not numbers in this analysis, taken as 0.
    std::vector<std::string> unusable_;
    bool activating_ = false;
    model::AnalysisInput CollectInput();
    void RunExtraction();
    void ShowResults();
};

}  // namespace verrane
