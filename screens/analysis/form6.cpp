#include "screens/analysis/form6.h"

#include <algorithm>
#include <exception>

#include "model/benefits.h"
#include "model/hazard.h"
#include "platform/number.h"
#include "project/document_analysis.h"
#include "screens/building/form3.h"
#include "screens/field_controls.h"
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
}  // namespace

int ResultCaptionLabel(std::size_t box) {
    for (auto [b, label] : kResultRows)
        if (static_cast<std::size_t>(b) == box) return label;
    return -1;
}

std::array<std::string, 8> ResultCaptions(const std::string& lifetime) {
    std::array<std::string, 8> c;
    c[kTornadoBenefitsBox] = "Expected Annual Benefits from Tornado Mitigation ($)";
    c[kHurricaneBenefitsBox] = "Expected Annual Benefits from Hurricane Mitigation ($)";
    c[kTotalBenefitsBox] = "Total Expected Annual Benefits ($)";
    c[kAnnualizedCostBox] = "Annualized Project Costs ($)";
    c[kNetBenefitsBox] = "Expected Annual Net Benefits ($)";
    c[kBenefitCostRatioBox] = "Benefit Cost Ratio";
    c[kLivesSavedBox] = "Total Lives Saved Over Project Lifetime of " + lifetime + " years";
    c[kInjuriesAvoidedBox] = "Total Injuries Avoided Over Project Lifetime of " + lifetime + " years";
    return c;
}

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
    const std::array<std::string, 8> captions = ResultCaptions("");
    for (auto [box, label] : kResultRows)
        Label2[static_cast<size_t>(label)].setCaption(captions[static_cast<size_t>(box)]);
    SetUpNavigation(
        Command1, {2, 3, 4, 5}, [this](int i) { Command1_Click(i); }, Command3, "Command3", 6);
}

void Form6::Form_Load() {}

void Form6::Form_Unload() { Results = {}; }

// Nothing is saved or recomputed when leaving: the same move as the Input menu.
void Form6::Command1_Click(int index) {
    if (index >= 0 && index <= 3) GoToScreen(app, *this, index + 2);
}

// ------------------------------------------------------------------ input

// The input screens only let numbers through, but a project file can still
// carry an empty or damaged entry: such a value counts as 0 and the user is
// told once, at the end of the analysis. The inputs are read as the analysis
// of a document reads them, from the project the screens hold and the values
// they published.
model::AnalysisInput Form6::CollectInput() {
    const Form2& f2 = app.form2();
    const Form3& f3 = app.form3();
    const Form5& f5 = app.form5();
    project::PublishedValues p;
    if (!StatsPending) {
        model::TornadoStats s;
        s.countByF = f2.TornadoCountByF;
        s.avgPathLengthByF = f2.AvgPathLengthByF;
        s.avgPathAreaByF = f2.AvgPathAreaByF;
        s.hourlyFractionByF = f2.HourlyFractionByF;
        s.recordYears = f2.RecordYears;
        s.sampleRegionArea = f2.SampleRegionArea;
        s.countyArea = f2.CountyArea;
        p.record = s;
    }
    p.tornadoHourlyOccupancy = f3.TornadoHourlyOccupancy;
    p.hurricaneOccupancyList = f3.HurricaneOccupancyList;
    p.injury = f5.InjuryOutcome;
    p.death = f5.DeathOutcome;
    p.hurricaneWind = f5.HurricaneWind;
    p.windRangeThresholds = f5.WindRangeThresholds;
    p.projectStateName = f2.ProjectStateName;
    return project::AnalysisInputOf(f2.StoreDocument(), p, unusable_);
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

        const std::array<std::string, 8> captions = ResultCaptions(InputText(f5, "ProjectLifetime"));
        Label2[static_cast<size_t>(ResultCaptionLabel(kLivesSavedBox))].setCaption(captions[kLivesSavedBox]);
        Label2[static_cast<size_t>(ResultCaptionLabel(kInjuriesAvoidedBox))].setCaption(captions[kInjuriesAvoidedBox]);
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
    if (!unusable_.empty())
        dialogs().MsgBox(project::UnusableInputsMessage(unusable_), Buttons::OK, Icon::Exclamation,
                         "Benefit Cost Analysis");
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
