#include "reports/long_report.h"

#include <gtest/gtest.h>

#include <QPageSize>
#include <QPrinter>

#include <limits>
#include <regex>

#include "report_checks.h"
#include "sample_report_data.h"

using namespace verrane::reports;
using namespace verrane::reports::sample;

namespace {

std::vector<std::string> Lines(const rpt::PageModel& m, std::string_view name) {
    for (auto& p : m.pages)
        if (auto* it = p.Find(name)) return it->lines;
    return {};
}

// Each printed item on its own line, its wrapped lines joined by a blank.
std::string Items(const rpt::Page& p) {
    std::string out;
    for (auto& it : p.items) {
        std::string t;
        for (auto& l : it.lines) t += (t.empty() ? "" : " ") + l;
        if (!t.empty()) out += t + "\n";
    }
    return out;
}

int PageOf(const rpt::PageModel& m, const std::string& text) {
    for (size_t i = 0; i < m.pages.size(); ++i)
        if (m.pages[i].Text().find(text) != std::string::npos) return static_cast<int>(i) + 1;
    return 0;
}

}  // namespace

TEST(LongReport, TitlePageThenSixDetailPagesNumberedOfSeven) {
    ActiveReport1 r(SampleLongData());
    rpt::PageModel m = r.Layout();
    ASSERT_EQ(m.pages.size(), 7u);
    EXPECT_EQ(m.margins.left, 1080);
    EXPECT_EQ(m.margins.bottom, 1080);

    EXPECT_EQ(m.pages[0].Find("FooterPageNumber"), nullptr);
    EXPECT_EQ(m.pages[0].Find("HeaderBuildingName"), nullptr);
    ASSERT_NE(m.pages[0].Find("SealImage"), nullptr);
    EXPECT_FALSE(m.pages[0].Find("SealImage")->image.isNull());
    for (int i = 1; i < 7; ++i) {
        const rpt::Page& p = m.pages[i];
        ASSERT_NE(p.Find("FooterPageNumber"), nullptr) << i;
        EXPECT_EQ(p.Find("FooterPageNumber")->Text(), std::to_string(i + 1));
        EXPECT_EQ(p.Find("FooterPageCount")->Text(), "7");
        EXPECT_EQ(p.Find("HeaderBuildingName")->Text(), "Lincoln Elementary School");
        EXPECT_EQ(p.Find("HeaderScenarioId")->Text(), "Run 3");
    }
    EXPECT_EQ(PageOf(m, "Calder"), 1);
    EXPECT_EQ(PageOf(m, "Input Data"), 2);
    EXPECT_EQ(PageOf(m, "Tornado Hazard Information"), 3);
    EXPECT_EQ(PageOf(m, "Mitigation Project Information"), 4);
    EXPECT_EQ(PageOf(m, "Hazard Statistics"), 5);
    EXPECT_EQ(PageOf(m, "Hurricane Hazard for This Shelter"), 6);
    EXPECT_EQ(PageOf(m, "Benefit Cost Analysis"), 7);
    EXPECT_TRUE(r.Messages().empty());
}

TEST(LongReport, EveryPageReadsCleanly) {
    ActiveReport1 r(SampleLongData());
    ExpectReadable(r.Layout());
    // Long values in the page header and a long county list still fit.
    LongReportData d = SampleLongData();
    d.project.scenarioRunId = "Scenario run number 12";
    d.selectedCountyRows.clear();
    for (int i = 0; i < 77; ++i) d.selectedCountyRows.push_back({"Oklahoma", "County" + std::to_string(i)});
    for (int i = 0; i < 60; ++i) d.selectedCountyRows.push_back({"Texas", "Tcounty" + std::to_string(i)});
    ActiveReport1 big(d);
    ExpectReadable(big.Layout());
}

TEST(LongReport, CountiesOfTwoStatesUnderTwoHeadings) {
    ActiveReport1 r(SampleLongData());
    rpt::PageModel m = r.Layout();
    EXPECT_EQ(Lines(m, "SelectionMethod").at(0), "50 mile region around Cleveland County, Oklahoma");
    std::vector<std::string> expected = {
        "Oklahoma Counties:", "Canadian, Cleveland, Grady, McClain, Oklahoma, Pottawatomie", "-",
        "Texas Counties:", "Wichita"};
    EXPECT_EQ(Lines(m, "SelectedCounties"), expected);
}

TEST(LongReport, EntireStateAndMissingCountyList) {
    LongReportData d = SampleLongData();
    d.project.selectionMethod = 1;
    ActiveReport1 r(d);
    rpt::PageModel m = r.Layout();
    EXPECT_EQ(Lines(m, "SelectionMethod").at(0), "Entire state");
    EXPECT_EQ(Lines(m, "SelectedCounties").at(0), "Entire state of Oklahoma");

    d.project.selectionMethod = 2;
    d.selectedCountyRows.clear();
    ActiveReport1 empty(d);
    m = empty.Layout();
    EXPECT_EQ(Lines(m, "SelectionMethod").at(0), "User selected counties");
    EXPECT_TRUE(Lines(m, "SelectedCounties").empty());
    EXPECT_EQ(m.pages.size(), 7u);
}

TEST(LongReport, TablesFormatsAndTotals) {
    ActiveReport1 r(SampleLongData());
    rpt::PageModel m = r.Layout();
    auto text = [&](std::string_view name) {
        auto l = Lines(m, name);
        return l.empty() ? std::string("<none>") : l[0];
    };
    EXPECT_EQ(text("ProjectCost"), "850,000");
    EXPECT_EQ(text("DeathCost"), "2,710,000");
    EXPECT_EQ(text("DiscountRate"), "7");
    EXPECT_EQ(text("CountyArea"), "558");
    EXPECT_EQ(text("RegionArea"), "7,840");
    EXPECT_EQ(text("CountByF_0"), "212");
    EXPECT_EQ(text("CountByF_6"), "963");
    EXPECT_EQ(text("AnnualCountByF_6"), "1.3724");
    EXPECT_EQ(text("PathLengthByF_6"), "398,376");
    EXPECT_EQ(text("StrikeProbabilityByF_0"), "0.00923");
    EXPECT_EQ(text("StrikeProbabilityByF_6"), "0.12901");
    EXPECT_EQ(text("HurricaneWind"), "90");
    EXPECT_EQ(text("RangeProbability_0"), "97.00000");
    EXPECT_EQ(text("RangeProbability_8"), "0.00000");
    EXPECT_EQ(text("Rate_13"), "2");
    EXPECT_EQ(text("Rate_98"), "2.5");
    EXPECT_TRUE(Lines(m, "Rate_10").empty());  // empty user cells print empty
    EXPECT_EQ(text("Hourly_14"), "600");
    EXPECT_EQ(text("WindowSentence"), "Building has minimal window area of less than 7% of wall area.");
    EXPECT_EQ(text("DaylightSentence"), "with Daylight Saving Time");
    EXPECT_EQ(text("TitleCityState"), "Norman, Oklahoma");
    // The label's long blank run starts a new line before the parenthesis.
    std::string page4 = m.pages[3].Text();
    EXPECT_NE(page4.find("Design Wind Speed:^\n(3-second gust in mph)\n"), std::string::npos);
}

TEST(LongReport, ResultsRemarksAndLifetimeCaption) {
    LongReportData d = SampleLongData();
    d.results.countiesNote = "User-selected counties option used.";
    ActiveReport1 r(d);
    rpt::PageModel m = r.Layout();
    const std::string last = Items(m.pages.back());
    EXPECT_NE(last.find("Total Lives Saved Over Project Lifetime of 30 years"), std::string::npos) << last;
    EXPECT_NE(last.find(" -9,679"), std::string::npos);
    EXPECT_NE(last.find("Remarks\nUser-defined pre-mitigation percent or mitigation effectiveness entered.\n"
                        "Selected counties do not have sufficient number of tornadoes for computing signficant "
                        "hazard statistics.\nUser-selected counties option used.\n"),
              std::string::npos)
        << last;
}

TEST(LongReport, PdfReadsAsSevenPagesWithTheirFooters) {
    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    ActiveReport1 r(SampleLongData());
    const auto pdf = OutDir() / "long.pdf";
    std::string error;
    ASSERT_TRUE(r.ExportPdf(pdf, &error)) << error;
    auto pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 7u);
    EXPECT_EQ(pages[0].find("Page "), std::string::npos);
    EXPECT_NE(pages[0].find("Aldmere Disclaimer:"), std::string::npos);
    for (int i = 1; i < 7; ++i)
        EXPECT_TRUE(std::regex_search(pages[i], std::regex("Page +" + std::to_string(i + 1) + " +of +7\\b")))
            << pages[i];
    EXPECT_NE(pages[2].find("Texas Counties:"), std::string::npos);
    EXPECT_TRUE(
        std::regex_search(pages[6], std::regex("Total Lives Saved Over Project Lifetime of 30 +0\\.66\\s+years")))
        << pages[6];
}

TEST(LongReport, MissingSealLeavesTheImageBlankAndSaysSo) {
    LongReportData d = SampleLongData();
    d.sealPath = "no/such/aldmereseal.bmp";
    ActiveReport1 r(d);
    std::string error;
    ASSERT_TRUE(r.ExportPdf(OutDir() / "long-noseal.pdf", &error)) << error;
    ASSERT_EQ(r.Messages().size(), 1u);
    EXPECT_NE(r.Messages()[0].find("aldmereseal.bmp"), std::string::npos);
    EXPECT_TRUE(r.LastLayout().pages[0].Find("SealImage")->image.isNull());
    EXPECT_EQ(r.LastLayout().pages.size(), 7u);
}

TEST(LongReport, PrintsOnAPdfPrinter) {
    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    ActiveReport1 r(SampleLongData());
    const auto pdf = OutDir() / "long-printer.pdf";
    ASSERT_TRUE(rpt::EnsureGuiApplication(nullptr));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    std::string error;
    ASSERT_TRUE(r.Print(printer, &error)) << error;
    auto pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 7u);
    EXPECT_TRUE(std::regex_search(pages[6], std::regex("Page +7 +of +7\\b")));
    EXPECT_NE(pages[0].find("Lincoln Elementary School"), std::string::npos);
}

TEST(LongReport, EmptyOrExtremeDataStillPrintsSevenPages) {
    LongReportData empty;  // nothing filled in, no seal path
    ActiveReport1 a(empty);
    std::string error;
    ASSERT_TRUE(a.ExportPdf(OutDir() / "long-empty.pdf", &error)) << error;
    EXPECT_EQ(a.LastLayout().pages.size(), 7u);
    EXPECT_EQ(a.Messages().size(), 1u);  // the seal

    LongReportData d = SampleLongData();
    d.results.reportCountByF.fill(std::numeric_limits<double>::quiet_NaN());
    d.results.strikeProbabilityByF.fill(std::numeric_limits<double>::infinity());
    d.results.reportRegionArea = 1e300;
    d.project.buildingName =
        "The Northeast Regional Consolidated Independent School District Number Twelve Administration and "
        "Gymnasium Building";
    d.mitigation.description = "caf\xc3\xa9 \xff\xfe broken bytes " + std::string(400, 'W');  // wider than any box
    ActiveReport1 b(d);
    ASSERT_TRUE(b.ExportPdf(OutDir() / "long-extreme.pdf", &error)) << error;
    // The long name keeps the page header to one line: smaller, then cut
    // after a whole word; the title page has room for it whole.
    const rpt::PageModel& m = b.LastLayout();
    EXPECT_EQ(m.pages.size(), 7u);
    const rpt::PlacedItem* header = m.pages[1].Find("HeaderBuildingName");
    ASSERT_NE(header, nullptr);
    ASSERT_EQ(header->lines.size(), 1u);
    EXPECT_EQ(header->lines[0].substr(header->lines[0].size() - 3), "...");
    EXPECT_EQ(header->top, m.pages[2].Find("HeaderBuildingName")->top);
    EXPECT_EQ(m.pages[1].Find("Label1_Detail")->top, 1080 + 360 + 270);
    std::string title;
    for (auto& l : m.pages[0].Find("TitleBuildingName")->lines) title += (title.empty() ? "" : " ") + l;
    EXPECT_EQ(title, d.project.buildingName);
    ExpectReadable(m);
}

TEST(LongReport, LongEntriesPrintSmallerInsteadOfOverlapping) {
    LongReportData d = SampleLongData();
    d.project.address = "Building 14, Tinker Air Force Base, 7460 Arnold Street, Suite 200, Midwest City";
    d.building.timeZoneText = "Hawaii-Aleutian Standard Time";
    d.mitigation.description =
        "Reinforced community safe room in the new gymnasium wing with a 250 mph design, backup generator, "
        "ventilation, sanitary facilities, emergency lighting, and a second protected exit corridor to the "
        "parking lot, sized for the whole school, its after-school programmes and the neighbourhood";
    d.mitigation.rateCells[13] = "12.3456789";
    d.results.reportPathLengthByF[5] = 123456789;
    ActiveReport1 r(d);
    std::string error;
    ASSERT_TRUE(r.ExportPdf(OutDir() / "long-entries.pdf", &error)) << error;
    ExpectReadable(r.LastLayout());
}
