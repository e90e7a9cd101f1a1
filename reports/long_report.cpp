#include "reports/long_report.h"

#include "model/rates.h"
#include "reports/format_bridge.h"
#include "reports/layout.h"
#include "reports/report_text.h"

namespace verrane::reports {

using namespace layout;
using rpt::Align;
using rpt::ItemKind;

namespace {

constexpr int kMargin = 1080;
constexpr Style kTitle{24, true, Align::Center};
constexpr Style kHeading{16, true, Align::Center};
constexpr Style kSubheading{12, true};
constexpr Style kTitleLabel{11, true};
constexpr Style kTitleValue{11, false};
constexpr Style kSmall{9, false};
constexpr Style kSmallBold{9, true};
constexpr Style kGridHead{7.5, false, Align::Center};
constexpr Style kGridCell{9, false, Align::Center};
constexpr Style kTableCell{9, false, Align::Right};

const char* const kHourLabels[24] = {"12 am", "1 am", "2 am",  "3 am",  "4 am",  "5 am", "6 am",  "7 am",
                                     "8 am",  "9 am", "10 am", "11 am", "12 pm", "1 pm", "2 pm",  "3 pm",
                                     "4 pm",  "5 pm", "6 pm",  "7 pm",  "8 pm",  "9 pm", "10 pm", "11 pm"};

// F-scale rows: caption, top and number format.
struct FRow {
    const char* name;
    const char* caption;
    int top;
    const char* pattern;
};
const FRow kFRows[] = {
    {"CountByF", "Number of Tornadoes in Record", 32400, "###,##0"},
    {"AnnualCountByF", "Average Number of Tornadoes in County per Year", 33120, "###,##0.0000"},
    {"PathLengthByF", "Average On-Ground Length of Tornado Path (ft)", 34020, "###,###,##0"},
    {"PathAreaByF", "Average Area Disturbed by One Tornado (ac)", 34920, "###,###,##0"},
    {"AnnualPathAreaByF", "Average Annual Disturbed Area in County (ac)", 35820, "###,###,##0"},
    {"EffectiveAreaByF", "Average Annual Tornado Hazard Area in County (ac)", 36720, "###,###,##0"},
    {"StrikeProbabilityByF", "Probability of Being in the Path of a Tornado (%)", 37620, "###,##0.00000"},
};

std::string Cell(const std::string& name, int index) { return name + "_" + std::to_string(index); }
// The field of the rate grid cell Text2(index).
std::string RateField(size_t index) { return "Rate_" + std::to_string(index); }

// A labelled value of a detail page: caption, field and top.
struct ValueRow {
    const char* label;
    const char* field;
    int top;
};

// The title page.
void TitlePage(rpt::Section& rh) {
    rh.height = 13620;
    Label(rh, "Calder", 810, 630, 8550, 600, kTitle);
    Image(rh, "SealImage", 3150, 1890, 3870, 3420);
    Label(rh, "Verrane", 810, 5670, 8550, 600, kTitle);
    Label(rh, "Version 1.0 - July 2000", 810, 6570, 8550, 360, {14, false, Align::Center});
    struct TitleRow {
        const char* label;
        const char* field;
        int top;
    };
    const TitleRow rows[] = {{"Building Name:", "TitleBuildingName", 8280},
                             {"Address:", "TitleAddress", 8730},
                             {nullptr, "TitleCityState", 9180},
                             {"County:", "TitleCounty", 9630},
                             {"Disaster Number:", "TitleDisasterNumber", 10080},
                             {"Project Number:", "TitleProjectNumber", 10530},
                             {"Scenario ID:", "TitleScenarioId", 10980},
                             {"Analyst:", "TitleAnalyst", 11430},
                             {"Date:", "TitleDate", 11880}};
    for (const auto& r : rows) {
        if (r.label) Label(rh, r.label, 1980, r.top, 2610, 300, kTitleLabel);
        FixedField(rh, r.field, 4680, r.top, 5400, 440, kTitleValue);
    }
    Label(rh, kDisclaimer, 360, 12600, 9360, 600, kSmall);
    FixedField(rh, "TitleProvenance", 360, 13230, 9360, 360, kSmall);
}

// The header and footer of every page but the title page.
void HeaderAndFooter(rpt::Section& ph, rpt::Section& pf) {
    ph.height = 360;
    Label(ph, "Building Name:", 0, 0, 1440, 240, kSmallBold);
    LineField(ph, "HeaderBuildingName", 1530, 0, 6300, 240, kSmall);
    Label(ph, "Scenario ID:", 7920, 0, 1300, 240, kSmallBold);
    // The scenario's box is narrow: a little smaller still, so that a first
    // word of ten letters and its "..." fit.
    LineField(ph, "HeaderScenarioId", 9270, 0, 810, 240, kSmall).minPointSize = 6.5;
    HRule(ph, 0, 300, 10080, 10).anchorBottom = true;

    pf.height = 480;
    HRule(pf, 0, 60, 10080, 10);
    LineField(pf, "FooterDate", 0, 120, 2500, 240, kSmall);
    Label(pf, "Page", 8280, 120, 500, 240, {9, false, Align::Right});
    LineField(pf, "FooterPageNumber", 8820, 120, 400, 240, {9, false, Align::Center});
    Label(pf, "of", 9270, 120, 250, 240, kSmall);
    Text(pf, ItemKind::PageCount, "FooterPageCount", "", 9540, 120, 540, 240, kSmall);
}

void InputPage(rpt::Section& d) {
    // Detail page 1: input data.
    Label(d, "Input Data", 0, 270, 10080, 400, kHeading);
    Label(d, "Building Information", 360, 1170, 6000, 300, kSubheading);
    const ValueRow building[] = {{"Building Longest Length (ft):", "BuildingLength", 2430},
                                 {"Building Longest Width (ft):", "BuildingWidth", 2970},
                                 {"Shelter Area (square feet):", "ShelterArea", 3510},
                                 {"Shelter Construction Type:", "ConstructionType", 4050}};
    for (const auto& r : building) {
        Label(d, r.label, 630, r.top, 4410);
        Field(d, r.field, 5130, r.top, 4950, 520);
    }
    Field(d, "WindowSentence", 630, 4590, 9450, 520);
    Label(d, "Hurricane  Shelter Occupancy: (people/day)", 630, 5130, 4410);
    Field(d, "HurricaneOccupancy", 5130, 5130, 4950, 780);
    Label(d, "Tornado Shelter Occupancy", 630, 5940, 2610, 270, kBold);
    Label(d, "Time Zone:", 3330, 5940, 1350);
    Field(d, "TimeZone", 4770, 5940, 1890, 960);
    Field(d, "DaylightSentence", 6750, 5940, 3330, 960);
    for (int h = 0; h < 24; ++h) {
        const int top = 6930 + 360 * (h % 12);
        const bool pm = h >= 12;
        Label(d, kHourLabels[h], pm ? 5130 : 2430, top, pm ? 1080 : 1170);
        FixedField(d, Cell("Hourly", h), pm ? 6300 : 3690, top, 1200, 350);
    }
    PageBreak(d, "PageBreak1", 11610);
}

void SelectionAndMitigationPages(rpt::Section& d) {
    // Detail page 2: tornado hazard.
    Label(d, "Tornado Hazard Information", 0, 12060, 10080, 400, kHeading);
    Label(d, "County Selection Method:", 630, 13320, 6000, 300, kSubheading);
    Field(d, "SelectionMethod", 1080, 13770, 8820, 880);
    Label(d, "Selected Counties:", 630, 14670, 6000, 300, kSubheading);
    Field(d, "SelectedCounties", 1080, 15120, 8820, 1620);
    PageBreak(d, "PageBreak2", 17010);

    // Detail page 3: mitigation project.
    Label(d, "Mitigation Project Information", 0, 17100, 10080, 400, kHeading);
    Label(d, "Mitigation Project Description:", 630, 17640, 6000, 300, kSubheading);
    Field(d, "Description", 1080, 18090, 8820, 620);
    const ValueRow mitigation[] = {{"Project Cost ($):", "ProjectCost", 18720},
                                   {"Maintenance Cost ($):", "MaintenanceCost", 19260},
                                   {"Project Lifetime:", "ProjectLifetime", 19800},
                                   {"Discount Rate (%):", "DiscountRate", 20340},
                                   {"Injury Cost ($/injury):", "InjuryCost", 20880},
                                   {"Death Cost ($/life):", "DeathCost", 21420},
                                   {"Design Wind Speed:^           (3-second gust in mph)", "DesignWindSpeed", 21960}};
    for (const auto& r : mitigation) {
        Label(d, r.label, 630, r.top, 4410);
        Field(d, r.field, 5130, r.top, 4950, r.top == 21960 ? 700 : 520);
    }
}

void RateGrids(rpt::Section& d) {
    // The two rate grids: injuries at 360, deaths at 5130.
    for (int g = 0; g < 2; ++g) {
        const bool death = g == 1;
        const int x = death ? 5130 : 360;
        const int col0 = death ? 6030 : 1260;
        const char* kind = death ? "Dead" : "Injured";
        Label(d, death ? "Death" : "Injury", x, 22680, 1500, 240, kSmallBold);
        Label(d, "Pre-Mitigation", col0, 22950, 1420, 200, kGridHead);
        Label(d, "Effectiveness", col0 + 1440, 22950, 1420, 200, kGridHead);
        Label(d, "Post-Mit.", col0 + 2880, 22950, 700, 200, kGridHead);
        HRule(d, col0 + 60, 23160, 1300, 8);
        HRule(d, col0 + 1500, 23160, 1300, 8);
        HRule(d, col0 + 2940, 23160, 580, 8);
        Label(d, "Wind Speeds (mph*)", x, 23220, 880, 540, kGridHead);
        const char* heads[5][3] = {{"Default", "%", kind},
                                   {"User-", "Defined", "%"},
                                   {"", "Default", "%"},
                                   {"User-", "Defined", "%"},
                                   {"Calc.", "%", kind}};
        for (int c = 0; c < 5; ++c)
            for (int line = 0; line < 3; ++line)
                if (*heads[c][line]) Label(d, heads[c][line], col0 + 720 * c, 23220 + 180 * line, 700, 180, kGridHead);
        HRule(d, x, 23790, col0 + 3600 - x, 10);
        for (int k = 0; k < 9; ++k) {
            const int top = 23850 + 360 * k;
            Label(d, model::WindRangeNames[static_cast<size_t>(k)], x, top, 880, 270, kGridCell);
            for (int c = 0; c < 5; ++c) {
                const size_t index = model::RateCell(death ? model::RateTable::Death : model::RateTable::Injury,
                                                     static_cast<model::RateColumn>(c), static_cast<size_t>(k));
                FixedField(d, RateField(index), col0 + 720 * c, top, 700, 350, kGridCell);
            }
        }
        Label(d, "* 3-second gust", x, 27270, 2000, 240, {8});
    }
    Label(d, "^ From Figure 2-2 in Marlowe, Aldmere, July 2000.", 360, 27720, 9000, 240, {8});
    PageBreak(d, "PageBreak3", 28260);
}

void StatisticsPage(rpt::Section& d) {
    // Detail page 4: tornado hazard statistics.
    Label(d, "Hazard Statistics", 0, 28620, 10080, 400, kHeading);
    Label(d, "Tornado Hazard for This Shelter", 360, 29520, 6000, 300, kSubheading);
    const ValueRow areas[] = {{"County Area (sq. miles):", "CountyArea", 30150},
                              {"Statistical Sample Region Area (sq. miles):", "RegionArea", 30690},
                              {"Years in Record:", "RecordYears", 31230}};
    for (const auto& r : areas) {
        Label(d, r.label, 630, r.top, 4410);
        FixedField(d, r.field, 5130, r.top, 1440, 520, kRight);
    }
    Label(d, "Tornado F-Scale:", 0, 31950, 2340, 270, kSmallBold);
    const char* classes[7] = {"F0", "F1", "F2", "F3", "F4", "F5", "Total"};
    for (int c = 0; c < 7; ++c) Label(d, classes[c], 2430 + 990 * c, 31950, 930, 270, {9, true, Align::Right});
    HRule(d, 0, 32250, 9360, 10);
    for (const auto& row : kFRows) {
        Label(d, row.caption, 0, row.top, 2340, 270, kSmall);
        for (int c = 0; c < 7; ++c) FixedField(d, Cell(row.name, c), 2430 + 990 * c, row.top, 930, 700, kTableCell);
    }
    PageBreak(d, "PageBreak4", 39060);
}

void HurricanePage(rpt::Section& d) {
    // Detail page 5: hurricane hazard.
    Label(d, "Hurricane Hazard for This Shelter", 360, 39240, 8000, 300, kSubheading);
    Label(d, "50-year Exceedance Wind Speed From ASCE 7-98: (3-second gust in mph)", 630, 40050, 4410, 540);
    Field(d, "HurricaneWind", 5130, 40050, 1440, 1400);
    Label(d, "Hurricane Wind Annual Probability", 630, 41490, 6000, 300, {11, true});
    Label(d, "Wind Speed (mph*)", 3060, 42480, 1440, 270, {10, true, Align::Center});
    Label(d, "Probability (%)", 4590, 42480, 1440, 270, {10, true, Align::Center});
    HRule(d, 3060, 43020, 2970, 10);
    for (int k = 0; k < 9; ++k) {
        const int top = 43290 + 360 * k;
        Label(d, model::WindRangeNames[static_cast<size_t>(k)], 3060, top, 1440, 270, {10, false, Align::Center});
        FixedField(d, Cell("RangeProbability", k), 4590, top, 1170, 350, kRight);
    }
    Label(d, "* 3-second gust", 3060, 46710, 2000, 240, {8});
    PageBreak(d, "PageBreak5", 47430);
}

void ResultsPage(rpt::Section& d) {
    // Detail page 6: results and remarks.
    Label(d, "Benefit Cost Analysis", 0, 47610, 10080, 400, kHeading);
    const ValueRow results[] = {{"Expected Annual Benefits from Tornado Mitigation ($):", "TornadoBenefits", 48420},
                                {"Expected Annual Benefits from Hurricane Mitigation ($):", "HurricaneBenefits", 49320},
                                {"Total Expected Annual Benefits ($):", "TotalBenefits", 50220},
                                {"Annualized Project Costs ($):", "AnnualizedCost", 51120},
                                {"Expected Annual Net Benefits ($):", "NetBenefits", 52020},
                                {"Benefit Cost Ratio:", "BenefitCostRatio", 52920},
                                {nullptr, "LivesSaved", 53820},
                                {nullptr, "InjuriesAvoided", 54720}};
    for (const auto& r : results) {
        if (r.label) {
            Label(d, r.label, 630, r.top, 4050);
        } else {
            Field(d, std::string(r.field) + "Caption", 630, r.top, 4050, 880);
        }
        Field(d, r.field, 4770, r.top, 1800, 880, kRight);
    }
    Label(d, "Remarks", 630, 56970, 6000, 300, kSubheading);
    Field(d, "UserRatesNote", 630, 57420, 9450, 350, kSmall);
    Field(d, "SufficiencyNote", 630, 57780, 9450, 350, kSmall);
    Field(d, "CountiesNote", 630, 58140, 9450, 350, kSmall);
    Field(d, "DiscountRateNote", 630, 58500, 9450, 240, kSmall);
}

}  // namespace

ActiveReport1::ActiveReport1(LongReportData data) : data_(std::move(data)) {
    Build();
    reportStart = [this] { ActiveReport_ReportStart(); };
    ReportHeader().format = [this] { ReportHeader_Format(); };
    PageHeader().format = [this] { PageHeader_Format(); };
    Detail().format = [this] { Detail_Format(); };
    PageFooter().format = [this] { PageFooter_Format(); };
}

void ActiveReport1::Build() {
    TitlePage(ReportHeader());
    HeaderAndFooter(PageHeader(), PageFooter());
    ReportFooter().height = 0;
    rpt::Section& d = Detail();
    d.height = 58740;

    InputPage(d);
    SelectionAndMitigationPages(d);
    RateGrids(d);
    StatisticsPage(d);
    HurricanePage(d);
    ResultsPage(d);
}

void ActiveReport1::ActiveReport_ReportStart() { margins = {kMargin, kMargin, kMargin, kMargin}; }

void ActiveReport1::ReportHeader_Format() {
    const ProjectPart& p = data_.project;
    LoadSealImage(*this, "SealImage", data_.sealPath);
    SetText("TitleBuildingName", p.buildingName);
    SetText("TitleAddress", p.address);
    SetText("TitleCityState", CityStateText(p.city, p.stateName));
    SetText("TitleCounty", p.countyName);
    SetText("TitleProvenance", ProvenanceText());
    SetText("TitleDisasterNumber", p.disasterNumber);
    SetText("TitleProjectNumber", p.projectNumber);
    SetText("TitleScenarioId", p.scenarioRunId);
    SetText("TitleAnalyst", p.analyst);
    SetText("TitleDate", fmt::LongDate());
}

void ActiveReport1::PageHeader_Format() {
    SetText("HeaderBuildingName", data_.project.buildingName);
    SetText("HeaderScenarioId", data_.project.scenarioRunId);
}

void ActiveReport1::Detail_Format() {
    const ProjectPart& p = data_.project;
    const BuildingPart& b = data_.building;
    const MitigationPart& m = data_.mitigation;
    const ResultsPart& r = data_.results;

    SetText("BuildingLength", b.buildingLength);
    SetText("BuildingWidth", b.buildingWidth);
    SetText("ShelterArea", b.shelterArea);
    SetText("ConstructionType", b.constructionType);
    SetText("WindowSentence", WindowSentence(b.minimalWindowArea));
    SetText("HurricaneOccupancy", b.hurricaneOccupancy);
    SetText("TimeZone", b.timeZoneText);
    SetText("DaylightSentence", DaylightSentence(b.daylightSaving));
    for (int h = 0; h < 24; ++h) SetText(Cell("Hourly", h), b.hourly[h]);

    SetText("SelectionMethod", CountySelectionText(p.selectionMethod, p.selectionRadius, p.countyName, p.stateName));
    SetText("SelectedCounties", SelectedCountiesText(p.selectionMethod, p.stateName, data_.selectedCountyRows));
    // A list longer than its page holds ends by counting what it leaves out.
    if (rpt::Item* list = Control("SelectedCounties"))
        list->shorten = [this](size_t wordsShown) {
            return ShortenedCountiesText(data_.selectedCountyRows, wordsShown);
        };

    FillMitigationAndResults(*this, m, r);
    SetText("DesignWindSpeed", m.designWindSpeedText);
    for (int g = 0; g < 2; ++g)
        for (int c = 0; c < 5; ++c)
            for (int k = 0; k < 9; ++k) {
                const size_t index = model::RateCell(static_cast<model::RateTable>(g),
                                                     static_cast<model::RateColumn>(c), static_cast<size_t>(k));
                SetText(RateField(index), m.rateCells[index]);
            }

    SetText("CountyArea", fmt::FormatNumber(r.reportCountyArea, "###,###,##0"));
    SetText("RegionArea", fmt::FormatNumber(r.reportRegionArea, "###,###,##0"));
    SetText("RecordYears", fmt::FormatNumber(r.reportRecordYears, "###,##0"));
    const std::array<double, 6>* values[] = {&r.reportCountByF,      &r.annualCountByF,    &r.reportPathLengthByF,
                                             &r.reportPathAreaByF,   &r.annualPathAreaByF, &r.effectiveAreaByF,
                                             &r.strikeProbabilityByF};
    for (size_t row = 0; row < std::size(kFRows); ++row) {
        const double scale = row == 6 ? 100.0 : 1.0;  // the probabilities print as percentages
        const auto& v = *values[row];
        for (int c = 0; c < 6; ++c)
            SetText(Cell(kFRows[row].name, c), fmt::FormatNumber(v[c] * scale, kFRows[row].pattern));
        SetText(Cell(kFRows[row].name, 6), fmt::FormatNumber(FScaleTotal(v) * scale, kFRows[row].pattern));
    }

    SetText("HurricaneWind", fmt::GeneralText(r.reportHurricaneWind));
    for (int k = 0; k < 9; ++k)
        SetText(Cell("RangeProbability", k), fmt::FormatNumber(r.hurricaneRangeProbability[k] * 100.0, "##0.00000"));

    SetText("LivesSavedCaption", r.livesSavedCaption);
    SetText("InjuriesAvoidedCaption", r.injuriesAvoidedCaption);
    SetText("UserRatesNote", r.userRatesNote);
    SetText("SufficiencyNote", r.sufficiencyNote);
    SetText("CountiesNote", r.countiesNote);
    SetText("DiscountRateNote", DiscountRateNote(data_.mitigation.discountRate));
}

void ActiveReport1::PageFooter_Format() {
    SetText("FooterDate", fmt::ShortDate());
    SetText("FooterPageNumber", std::to_string(PageNumber()));
}

}  // namespace verrane::reports
