#include "reports/short_report.h"

#include <gtest/gtest.h>

#include "report_checks.h"
#include "sample_report_data.h"

using namespace verrane::reports;
using namespace verrane::reports::sample;

namespace {

std::string Value(const rpt::PageModel& m, std::string_view name) {
    auto* it = m.pages.at(0).Find(name);
    return it ? it->Text() : "<none>";
}

}  // namespace

TEST(ShortReport, OnePageSummary) {
    ActiveReport2 r(SampleShortData());
    rpt::PageModel m = r.Layout();
    ASSERT_EQ(m.pages.size(), 1u);
    ExpectReadable(m);
    EXPECT_EQ(Value(m, "TornadoCounties"), "50 miles around target county.");
    EXPECT_EQ(Value(m, "NumberOfCounties"), "7");
    EXPECT_EQ(Value(m, "MaxTornadoOccupancy"), "600");
    EXPECT_EQ(Value(m, "Location"), "Norman in Cleveland County, Oklahoma");
    EXPECT_EQ(Value(m, "ShelterConstruction"), "Reinforced Masonry & < 7% window area.");
    EXPECT_EQ(Value(m, "BuildingDimensions"), "320 X 180");
    EXPECT_EQ(Value(m, "ProjectCost"), "850,000");
    EXPECT_EQ(Value(m, "LivesSavedYears"), "in 30 years");
    EXPECT_EQ(Value(m, "FooterPageNumber"), "<none>");
    // The page header: the product name on both of its label lines, the
    // version at the right.
    std::vector<std::string> header;
    for (auto& it : m.pages[0].items)
        if (it.section == rpt::SectionKind::PageHeader && !it.lines.empty()) header.push_back(it.Text());
    EXPECT_EQ(header, (std::vector<std::string>{"Verrane", "Verrane", "Version 1.0 - July 2000"}));
    const std::string text = m.pages[0].Text();
    // No page number and none of the remarks.
    EXPECT_EQ(text.find("Page"), std::string::npos);
    EXPECT_EQ(text.find("User-defined pre-mitigation"), std::string::npos);
    EXPECT_EQ(text.find("signficant"), std::string::npos);
    EXPECT_TRUE(r.Messages().empty());
}

TEST(ShortReport, UndefinedRatioAndOtherCountyMethods) {
    ShortReportData d = SampleShortData();
    d.results.benefitCostRatioText = " Undefined";
    d.project.selectionMethod = -1;
    ActiveReport2 r(d);
    rpt::PageModel m = r.Layout();
    EXPECT_EQ(Value(m, "BenefitCostRatio"), " Undefined");
    EXPECT_EQ(Value(m, "TornadoCounties"), "Only target county.");
    d.project.selectionMethod = 1;
    ActiveReport2 state(d);
    EXPECT_EQ(Value(state.Layout(), "TornadoCounties"), "Entire state");
}

TEST(ShortReport, PdfText) {
    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    ShortReportData d = SampleShortData();
    d.results.benefitCostRatioText = " Undefined";
    d.building.hourly.fill("0");
    d.building.hourly[10] = "150";
    d.building.hourly[14] = "200";
    ActiveReport2 r(d);
    const auto pdf = OutDir() / "short.pdf";
    std::string error;
    ASSERT_TRUE(r.ExportPdf(pdf, &error)) << error;
    auto pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const std::string& t = pages[0];
    EXPECT_NE(t.find("50 miles around target county."), std::string::npos) << t;
    EXPECT_NE(t.find("Undefined"), std::string::npos);
    EXPECT_NE(t.find("Max. Tornado"), std::string::npos);
    EXPECT_NE(t.find("200"), std::string::npos);
    EXPECT_NE(t.find("SUMMARY"), std::string::npos);
    EXPECT_NE(t.find("Aldmere Disclaimer:"), std::string::npos);
}

TEST(ShortReport, MissingSealStillPrints) {
    ShortReportData d = SampleShortData();
    d.sealPath.clear();
    ActiveReport2 r(d);
    std::string error;
    ASSERT_TRUE(r.ExportPdf(OutDir() / "short-noseal.pdf", &error)) << error;
    EXPECT_EQ(r.Messages().size(), 1u);
}

TEST(ShortReport, LongEntriesPrintSmallerInsteadOfOverlapping) {
    ShortReportData d = SampleShortData();
    d.project.city = "Oklahoma City";
    d.project.countyName = "Pottawatomie";
    d.project.address = "Building 14, Tinker Air Force Base, 7460 Arnold Street, Suite 200";
    d.project.analyst = "Dr. Maria-Elena Castellanos-Whitfield, P.E., Regional Hazard Analyst";
    d.mitigation.description = std::string(
        "Reinforced community safe room in the new gymnasium wing with a 250 mph design, backup generator, "
        "ventilation, sanitary facilities, emergency lighting, and a second protected exit corridor to the "
        "parking lot, for the whole school and the neighbourhood");
    d.results.tornadoBenefitsText = " 123,456,789,012";
    ActiveReport2 r(d);
    std::string error;
    ASSERT_TRUE(r.ExportPdf(OutDir() / "short-entries.pdf", &error)) << error;
    const rpt::PageModel& m = r.LastLayout();
    ASSERT_EQ(m.pages.size(), 1u);
    ExpectReadable(m);
    // Every value stays inside its ruled cell.
    for (const char* name : {"Address", "Analyst", "Description", "Location", "TornadoBenefits"}) {
        const rpt::PlacedItem* it = m.pages[0].Find(name);
        ASSERT_NE(it, nullptr);
        const rpt::Item* given = r.Control(name);
        EXPECT_LE(static_cast<int>(it->lines.size()) * it->lineHeight, given->height) << name;
    }
}
