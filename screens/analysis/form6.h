#pragma once
// Benefit Cost Analysis screen: runs the whole analysis every time it becomes
// the active window, shows the eight results and keeps copies of them, of the
// hazard values and of three notes for the reports.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "screens/screen.h"

namespace verrane {

inline const char* const kUserCountiesNote = "User-selected counties option used.";
inline const char* const kUserRatesNote = "User-defined pre-mitigation percent or mitigation effectiveness entered.";

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
    std::string CountiesNote, SufficiencyNote, UserRatesNote;
    std::string TornadoBenefitsText, HurricaneBenefitsText, TotalBenefitsText, AnnualizedCostText, NetBenefitsText,
        BenefitCostRatioText, LivesSavedText, InjuriesAvoidedText;
    double AnnualDeathsAvoided = 0, AnnualInjuriesAvoided = 0;

    // Written by FProbs; empty lists until the first analysis that runs it.
    float ReportCountyArea = 0;
    double ReportRegionArea = 0;
    int16_t ReportRecordYears = 0;
    std::vector<double> ReportCountByF, AnnualCountByF, ReportPathLengthByF, ReportPathAreaByF, AnnualPathAreaByF,
        EffectiveAreaByF, StrikeProbabilityByF;
    // Written by Ann_Hurricane.
    double ReportHurricaneWind = 0;
    std::vector<double> HurricaneRangeProbability;

    // The results at full precision, as computed before formatting.
    double TornadoBenefits = 0, HurricaneBenefits = 0, AnnualizedCost = 0;

    // The copy of Form2's StatsPending taken during activation.
    bool StatsPending = false;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload() override;
    void Command1_Click(int index);

    double Ann_Benefit();
    double Ann_Hurricane();
    double Ann_Cost();
    std::array<double, 6> FProbs();

    // The report items are always available here.
    void SetAnalysisCommands(bool) override {}

private:
    // Inputs that were empty or not numbers in this analysis, taken as 0.
    std::vector<std::string> unusable_;
    bool activating_ = false;
    float Single(const platform::TextBox& box, const char* what);
    double Double(const std::string& text, const char* what);
    void RunExtraction();
    void ShowResults();
};

}  // namespace verrane
