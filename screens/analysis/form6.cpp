#include "screens/analysis/form6.h"

#include <algorithm>
#include <exception>

#include "model/benefits.h"
#include "model/hazard.h"
#include "platform/number.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/hazard/form9.h"
#include "screens/menus.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "screens/screen_host.h"

namespace verrane {

using platform::Buttons;
using platform::Icon;

namespace {
const char* const kLifetimeTotal = "###,###,###,##0.00";

std::string LifetimeCaption(const char* head, const std::string& lifetime) {
    return std::string(head) + lifetime + " years";
}
}  // namespace

Form6::Form6(ScreenHost& a) : Screen(a, "Form6", "Tornado Model: Benefit Cost Analysis") {
    Label1.setCaption("Benefit Cost Analysis");
    for (int i = 0; i < 8; ++i) {
        auto& t = Text1[static_cast<size_t>(i)];
        t.name = "Text1";
        t.index = i;
        t.locked = true;
        t.setBackColor(platform::kButtonFace);
    }
    for (int i = 0; i < 12; ++i) {
        Label2[static_cast<size_t>(i)].name = "Label2";
        Label2[static_cast<size_t>(i)].index = i;
    }
    Label2[1].setCaption("Expected Annual Benefits from Tornado Mitigation ($)");
    Label2[11].setCaption("Expected Annual Benefits from Hurricane Mitigation ($)");
    Label2[3].setCaption("Total Expected Annual Benefits ($)");
    Label2[2].setCaption("Annualized Project Costs ($)");
    Label2[4].setCaption("Expected Annual Net Benefits ($)");
    Label2[0].setCaption("Benefit Cost Ratio");
    Label2[5].setCaption("Total Lives Saved Over Project Lifetime of  years");
    Label2[6].setCaption("Total Injuries Avoided Over Project Lifetime of  years");
    SetUpNavigation(
        Command1, {2, 3, 4, 5}, [this](int i) { Command1_Click(i); }, Command3, "Command3", 6);
}

void Form6::Form_Load() {}

void Form6::Form_Unload() { Results = {}; }

// Nothing is saved or recomputed when leaving: the same move as the Input menu.
void Form6::Command1_Click(int index) {
    if (index >= 0 && index <= 3) GoToScreen(app, *this, index + 2);
}

// ------------------------------------------------------------------ inputs

// The input screens only let numbers through, but a project file can still
// carry an empty or damaged entry: such a value counts as 0 and the user is
// told once, at the end of the analysis.
float Form6::Single(const platform::TextBox& box, const char* what) {
    try {
        return platform::CSng(box.text());
    } catch (const platform::ConversionError&) {
        if (std::find(unusable_.begin(), unusable_.end(), what) == unusable_.end()) unusable_.emplace_back(what);
        return 0.0f;
    }
}

double Form6::Double(const std::string& text, const char* what) {
    auto v = platform::ParseNumber(text);
    if (v) return *v;
    if (std::find(unusable_.begin(), unusable_.end(), what) == unusable_.end()) unusable_.emplace_back(what);
    return 0.0;
}

namespace {
const char* const kLength = "Building Longest Length (Building Information)";
const char* const kWidth = "Building Longest Width (Building Information)";
const char* const kHurricaneOccupancy = "Hurricane Shelter Occupancy (Building Information)";
const char* const kCost = "Project Cost (Mitigation Project Information)";
const char* const kMaintenance = "Maintenance Cost (Mitigation Project Information)";
const char* const kLifetime = "Project Lifetime (Mitigation Project Information)";
const char* const kRate = "Discount Rate (Mitigation Project Information)";
}  // namespace

// ------------------------------------------------------------------ input

namespace {
bool HasUserRates(const Form5& f5) {
    for (size_t k = 0; k < 9; ++k)
        for (size_t cell : model::UserRateCells(k))
            if (!f5.Text2[cell].empty()) return true;
    return false;
}
}  // namespace

// Reads the inputs in the order the user is told about unusable ones:
// building length and width (only with tornado statistics), hurricane
// occupancy, project cost, maintenance, lifetime, discount rate.
model::AnalysisInput Form6::CollectInput() {
    const Form2& f2 = app.form2();
    const Form3& f3 = app.form3();
    const Form5& f5 = app.form5();
    model::AnalysisInput in;
    in.userSelectedCounties = f2.SelectionMethod == 2;
    in.userDefinedRates = HasUserRates(f5);
    if (!StatsPending) {
        model::TornadoStats s;
        s.countByF = f2.TornadoCountByF;
        s.avgPathLengthByF = f2.AvgPathLengthByF;
        s.avgPathAreaByF = f2.AvgPathAreaByF;
        s.hourlyFractionByF = f2.HourlyFractionByF;
        s.recordYears = f2.RecordYears;
        s.sampleRegionArea = f2.SampleRegionArea;
        s.countyArea = f2.CountyArea;
        in.record = s;
        in.buildingLength = Single(f3.Text1[0], kLength);
        in.buildingWidth = Single(f3.Text1[1], kWidth);
    }
    in.tornadoHourlyOccupancy = f3.TornadoHourlyOccupancy;
    in.injury = f5.InjuryOutcome;
    in.death = f5.DeathOutcome;
    const std::string& occupancy = f3.HurricaneOccupancyList;
    in.hurricaneOccupancy = occupancy.empty() ? 0.0 : Double(occupancy, kHurricaneOccupancy);
    in.hurricaneWind = f5.HurricaneWind;
    in.windRangeThresholds = f5.WindRangeThresholds;
    in.projectStateName = f2.ProjectStateName;
    in.projectCost = Single(f5.Text1[1], kCost);
    in.maintenanceCost = Single(f5.Text1[2], kMaintenance);
    const float years = Single(f5.Text1[3], kLifetime);
    try {
        in.lifetime = platform::CInt(static_cast<double>(years));
    } catch (const platform::ConversionError&) {
        // Beyond a 16-bit number of years: counted as no lifetime, and said so.
        if (std::find(unusable_.begin(), unusable_.end(), kLifetime) == unusable_.end())
            unusable_.emplace_back(kLifetime);
    }
    in.discountRate = Single(f5.Text1[6], kRate) / 100.0f;
    in.lifetimeYears = Double(f5.Text1[3].text(), kLifetime);
    return in;
}

// -------------------------------------------------------------- activation

void Form6::RunExtraction() {
    Form2& f2 = app.form2();
    Screen* const front = app.front();
    try {
        Form9& f9 = app.form9();
        f9.Show();
        f9.Get_Data();  // says itself why it failed
    } catch (const std::exception& e) {
        dialogs().MsgBox(
            std::string("The tornado statistics could not be extracted; the tornado benefits are taken as 0. ") +
                e.what(),
            Buttons::OK, Icon::Exclamation, "Extracting Tornado Statistics");
    }
    if (auto* f9 = app.Loaded<Form9>()) f9->Hide();
    app.Unload<Form9>();
    // This screen is in front again once the progress window has gone,
    // without a second activation (activating_ guards it).
    if (front == this) Show();
    StatsPending = f2.StatsPending;
}

void Form6::Form_Activate() {
    if (activating_) return;
    activating_ = true;
    unusable_.clear();
    try {
        // The analysis reads both input screens; create them with their
        // defaults and published values if they are not there.
        if (auto* f5 = app.Loaded<Form5>()) f5->ForgetTold();
        if (!app.Loaded<Form3>()) app.form3().savedata();
        if (!app.Loaded<Form5>()) app.form5().savedata();
        Form2& f2 = app.form2();
        Form5& f5 = app.form5();

        const std::string lifetime = f5.Text1[3].text();
        Label2[5].setCaption(LifetimeCaption("Total Lives Saved Over Project Lifetime of ", lifetime));
        Label2[6].setCaption(LifetimeCaption("Total Injuries Avoided Over Project Lifetime of ", lifetime));
        LivesSavedCaption = Label2[5].caption();
        InjuriesAvoidedCaption = Label2[6].caption();

        StatsPending = f2.StatsPending;
        if (StatsPending) RunExtraction();

        // Without the statistics the tornado values of the last analysis
        // that had them stay for the reports.
        const auto lastTornado = Results.tornado;
        Results = model::Analyze(CollectInput());
        if (!Results.tornado) Results.tornado = lastTornado;
        ShowResults();
    } catch (const std::exception& e) {
        dialogs().MsgBox(std::string("The benefit cost analysis could not be completed. ") + e.what(), Buttons::OK,
                         Icon::Exclamation, "Benefit Cost Analysis");
    }
    if (!unusable_.empty()) {
        std::string text = "These inputs are empty or not numbers and were taken as 0 in this analysis:";
        for (const auto& u : unusable_) text += "\n" + u;
        dialogs().MsgBox(text, Buttons::OK, Icon::Exclamation, "Benefit Cost Analysis");
    }
    activating_ = false;
}

ResultTexts FormatResults(const model::AnalysisResult& r) {
    auto money = [](double v) { return " " + platform::MoneyText(v); };
    ResultTexts t;
    t[kTornadoBenefitsBox] = money(r.tornadoBenefits);
    t[kHurricaneBenefitsBox] = money(r.hurricaneBenefits);
    t[kAnnualizedCostBox] = money(r.annualizedCost);
    t[kNetBenefitsBox] = money(r.netBenefits);
    t[kBenefitCostRatioBox] = " " + platform::RatioText(r.benefitCostRatio);
    t[kTotalBenefitsBox] = money(r.totalBenefits);
    t[kLivesSavedBox] = " " + platform::FormatNumber(r.livesSaved, kLifetimeTotal);
    t[kInjuriesAvoidedBox] = " " + platform::FormatNumber(r.injuriesAvoided, kLifetimeTotal);
    return t;
}

void Form6::ShowResults() {
    Texts = FormatResults(Results);
    for (size_t i = 0; i < Texts.size(); ++i) Text1[i].setText(Texts[i]);
    Text1[kNetBenefitsBox].setForeColor(Results.netBenefits < 0 ? platform::kRed : platform::kBlack);
    const bool below = !Results.benefitCostRatio || *Results.benefitCostRatio < 1;
    Text1[kBenefitCostRatioBox].setForeColor(below ? platform::kRed : platform::kBlack);
}

}  // namespace verrane
