// The sensitivity document: where its parts land on the pages, what the
// exported PDF says, and that a failed export never passes for a written one.
#include "reports/sensitivity_report.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>

#include "platform/report.h"
#include "tests/support/scratch.h"
#include "tests/support/sensitivity_fixture.h"

using namespace verrane;
using reports::SensitivityPart;
namespace fs = std::filesystem;

namespace {

void EnsureGui() {
    std::string error;
    ASSERT_TRUE(platform::report::EnsureGuiApplication(&error)) << error;
}

// The text pdftotext reads from the file; empty when it is not installed.
std::string PdfText(const fs::path& pdf) {
    const auto txt = fs::path(pdf).replace_extension(".txt");
    const std::string command = "pdftotext -layout '" + pdf.string() + "' '" + txt.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return {};
    return test::FileBytes(txt);
}

bool HavePdfToText() { return std::system("pdftotext -v >/dev/null 2>&1") == 0; }

model::SensitivityResult WithRows(size_t rows) {
    auto r = test::SampleSensitivity();
    const auto sample = r.variations;
    r.variations.clear();
    for (size_t i = 0; i < rows; ++i) r.variations.push_back(sample[i % sample.size()]);
    return r;
}

}  // namespace

// Every variation is one row, in order; parts never overlap or run into the
// footer; a page the table continues on starts with its heading again.
TEST(SensitivityDocument, TheTableFlowsOverAsManyPagesAsItNeeds) {
    EnsureGui();
    for (size_t rows : {0u, 1u, 30u, 75u, 200u}) {
        const auto r = WithRows(rows);
        const auto pages = reports::LayOutSensitivity(r);
        SCOPED_TRACE(rows);
        std::vector<size_t> shown;
        for (size_t p = 0; p < pages.size(); ++p) {
            ASSERT_FALSE(pages[p].empty());
            int previousBottom = 1080;
            for (size_t i = 0; i < pages[p].size(); ++i) {
                const auto& part = pages[p][i];
                EXPECT_GE(part.top, previousBottom) << "page " << p << " part " << i;
                EXPECT_LE(part.bottom(), reports::kSensitivityPageHeight - 1080 - 420) << "page " << p;
                previousBottom = part.bottom();
                if (part.part == SensitivityPart::TableRow) shown.push_back(part.row);
            }
            if (p > 0 && rows > 0 && pages[p].front().part != SensitivityPart::TableNote) {
                ASSERT_EQ(pages[p].front().part, SensitivityPart::TableHeader) << "page " << p;
                ASSERT_GT(pages[p].size(), 1u);
                EXPECT_EQ(pages[p].front().row, pages[p][1].row);
            }
        }
        ASSERT_EQ(shown.size(), rows);
        for (size_t i = 0; i < rows; ++i) EXPECT_EQ(shown[i], i);
        // The summary parts are on the first page, once each.
        std::multiset<SensitivityPart> first;
        for (const auto& part : pages[0]) first.insert(part.part);
        for (auto part : {SensitivityPart::Heading, SensitivityPart::BaseFigures, SensitivityPart::Chart,
                          SensitivityPart::Breakeven, SensitivityPart::Interval})
            EXPECT_EQ(first.count(part), 1u);
        EXPECT_EQ(reports::SensitivityPageCount(r), static_cast<int>(pages.size()));
    }
    EXPECT_EQ(reports::SensitivityPageCount(WithRows(0)), 1);
    EXPECT_GE(reports::SensitivityPageCount(WithRows(200)), 4);
}

TEST(SensitivityDocument, TextsForMissingBreakevenAndRatio) {
    auto r = test::SampleSensitivity();
    EXPECT_EQ(reports::BreakevenCostText(r), "$337,480");
    EXPECT_EQ(reports::BreakevenRateText(r), "none between 0 and 20 %");
    r.breakevenDiscountRate = 5.235;
    r.breakevenProjectCost.reset();
    EXPECT_EQ(reports::BreakevenRateText(r), "5.24 %");
    EXPECT_EQ(reports::BreakevenCostText(r), "none");
    auto unsearched = r;
    unsearched.variations.clear();
    unsearched.breakevenDiscountRate.reset();
    EXPECT_EQ(reports::BreakevenCostText(unsearched), "\u2013");
    EXPECT_EQ(reports::BreakevenRateText(unsearched), "\u2013");
    r.uncertainty.draws = 10000;
    r.uncertainty.seed = 7;
    EXPECT_NE(reports::IntervalSentence(r).find("10,000 draws, seed 7"), std::string::npos);
    EXPECT_EQ(reports::PercentileText(r, 1.0302, true), "1.03");
    EXPECT_EQ(reports::PercentileText(r, 29876.11, false), "29,876");
    r.uncertainty.ratioDefined = false;
    EXPECT_EQ(reports::PercentileText(r, 1.0302, true), "Undefined");
    // No draws: a dash, not a zero that reads as a result.
    r.uncertainty.draws = 0;
    EXPECT_EQ(reports::PercentileText(r, 0, false), "\u2013");
    EXPECT_EQ(reports::IntervalSentence(r), "No interval was computed for this project.");
}

TEST(SensitivityDocument, ExportedPdfCarriesEveryPartAndEveryRow) {
    EnsureGui();
    const auto r = test::SampleSensitivity();
    const auto pdf = test::ScratchFile("sensitivity-doc", "sample.pdf");
    fs::remove(pdf);
    std::string error = "stale";
    ASSERT_TRUE(reports::WriteSensitivityPdf(r, pdf, error)) << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(test::FileBytes(pdf).substr(0, 5), "%PDF-");
    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    const std::string text = PdfText(pdf);
    for (const char* expected : {"Sensitivity of the Benefit Cost Ratio",
                                 "Lincoln Elementary School Gymnasium",
                                 "oklahoma-school-gym.tor",
                                 "Total Expected Annual Benefits ($)",
                                 "41,235",
                                 "29,000",
                                 "12,234",
                                 "1.42",
                                 "Ratio = 1",
                                 "Base 1.42",
                                 "Benefit Cost Ratio by Input",
                                 "$337,480",
                                 "none between 0 and 20 %",
                                 "29,876",
                                 "40,112",
                                 "55,321",
                                 "1.03",
                                 "1.91",
                                 "10,000 draws, seed 1",
                                 "All Variations",
                                 "Undefined",
                                 "Page 1 of 2",
                                 "Page 2 of 2"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    for (const auto& v : r.variations) EXPECT_NE(text.find(v.input), std::string::npos) << v.input;
    // A ratio below 1 and its net benefits below 0 (SelectionRadius 0: 18,412 / 29,000).
    EXPECT_NE(text.find("-10,588"), std::string::npos);
    EXPECT_NE(text.find("0.63"), std::string::npos);
}

// A failed write says so and leaves what was there: here the target is a
// folder, and a folder that does not exist.
TEST(SensitivityDocument, AFailedExportIsReportedAndChangesNothing) {
    EnsureGui();
    const auto r = test::SampleSensitivity();
    const auto folder = test::ScratchFile("sensitivity-doc", "a-folder.pdf");
    fs::create_directories(folder);
    fs::create_directories(folder / "kept");
    std::string error;
    EXPECT_FALSE(reports::WriteSensitivityPdf(r, folder, error));
    EXPECT_NE(error.find("a-folder.pdf"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(folder / "kept"));
    for (const auto& e : fs::directory_iterator(folder.parent_path()))
        EXPECT_EQ(e.path().filename().string().find("a-folder.pdf."), std::string::npos) << "left a temporary file";

    const auto missing = test::ScratchFile("sensitivity-doc", "no-such-folder") / "out.pdf";
    fs::remove_all(missing.parent_path());
    error.clear();
    EXPECT_FALSE(reports::WriteSensitivityPdf(r, missing, error));
    EXPECT_NE(error.find("could not be written"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(missing));

    // Over an existing file the new document replaces the old whole.
    const auto existing = test::ScratchFile("sensitivity-doc", "existing.pdf");
    { std::ofstream(existing) << "old"; }
    ASSERT_TRUE(reports::WriteSensitivityPdf(r, existing, error)) << error;
    EXPECT_EQ(test::FileBytes(existing).substr(0, 5), "%PDF-");
}

// The same routine paints on an image: the page scaled to it, the ratio-1
// line in red and bars in both colours.
TEST(SensitivityDocument, PaintsOnAnImageAtAnySize) {
    EnsureGui();
    const auto r = test::SampleSensitivity();
    for (QSize size : {QSize(850, 1100), QSize(425, 550)}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            reports::PaintSensitivityPage(p, r, 0);
        }
        int red = 0, blue = 0, dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 140 && c.blue() < 140;
                blue += c.blue() > 180 && c.red() < 130;
                dark += c.lightness() < 80;
            }
        EXPECT_GT(red, 20) << size.width();
        EXPECT_GT(blue, 100) << size.width();
        EXPECT_GT(dark, 500) << size.width();
    }
}

// On a printer: every page, or the range its dialog asked for.
TEST(SensitivityDocument, PrintsEveryPageOrTheRangeAsked) {
    EnsureGui();
    if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    const auto r = test::SampleSensitivity();
    for (int from : {0, 2}) {
        const auto out = test::ScratchFile("sensitivity-doc", "printed-" + std::to_string(from) + ".pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(out.string()));
        if (from > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, from);
        }
        std::string error;
        ASSERT_TRUE(reports::PrintSensitivity(r, printer, error)) << error;
        const std::string text = PdfText(out);
        EXPECT_EQ(text.find("Page 1 of 2") != std::string::npos, from == 0);
        EXPECT_NE(text.find("Page 2 of 2"), std::string::npos);
    }
}

namespace {

model::Variation Worded(const char* name, const char* shown, std::optional<double> ratio) {
    model::Variation v;
    v.input = name;
    v.value = shown;
    v.name = name;
    v.shown = shown;
    v.label = std::string(name) + " " + shown;
    v.figures.benefitCostRatio = ratio;
    return v;
}

}  // namespace

// The sentence under the chart: the input of the largest swing, its two ends
// in the user's terms, and the neighbouring values between which it crosses 1.
TEST(SensitivitySentence, NamesTheLargestSwingAndWhereTheRatioCrossesOne) {
    model::SensitivityResult r;
    r.base.benefitCostRatio = 1.55;
    r.variations = {Worded("Discount rate", "2 %", 1.9),        Worded("Discount rate", "10 %", 1.13),
                    Worded("Region", "the county alone", 2.93), Worded("Region", "50 miles", 1.55),
                    Worded("Region", "100 miles", 0.95),        Worded("Region", "250 miles", 0.67),
                    Worded("Region", "the entire state", 0.79)};
    EXPECT_EQ(reports::SwingSentence(r),
              "The region moves the ratio most, from 0.67 (250 miles) to 2.93 (the county alone); the ratio crosses "
              "1 between 50 miles and 100 miles.");

    // An end that is the project as entered says so; a ratio that never
    // reaches 1 says on which side it stays.
    r.base.benefitCostRatio = 0.2;
    r.variations = {Worded("Design wind speed", "130 mph", 0.3), Worded("Design wind speed", "250 mph", 0.9),
                    Worded("Discount rate", "2 %", 0.25)};
    EXPECT_EQ(reports::SwingSentence(r),
              "The design wind speed moves the ratio most, from 0.20 (as entered) to 0.90 (250 mph); the ratio stays "
              "below 1 at every value tried.");
    r.base.benefitCostRatio = 3;
    for (auto& v : r.variations) *v.figures.benefitCostRatio += 3;
    EXPECT_NE(reports::SwingSentence(r).find("stays at 1 or above"), std::string::npos);

    // No ratio anywhere: nothing to say.
    r.base.benefitCostRatio.reset();
    for (auto& v : r.variations) v.figures.benefitCostRatio.reset();
    EXPECT_EQ(reports::SwingSentence(r), "");
}

// End labels stay inside the chart whatever the values: long words at the
// far right end, a bar that reaches the axis's end, a tiny swing at 0.
TEST(SensitivitySentence, BarLabelsStayInsideTheChart) {
    EnsureGui();
    model::SensitivityResult r;
    r.base.benefitCostRatio = 2.99;
    r.variations = {Worded("Region", "the county alone and every county around it", 2.99),
                    Worded("Region", "250 miles", 0.01), Worded("Discount rate", "2 %", 2.995),
                    Worded("Project cost", "$1", 0.0)};
    QImage image(700, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRect area(60, 20, 580, 260);
    {
        QPainter p(&image);
        reports::PaintSwingChart(p, area, r, 1.33);
    }
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!area.adjusted(-1, -1, 1, 1).contains(x, y)) {
                ASSERT_EQ(image.pixel(x, y), QColor(Qt::white).rgb()) << x << "," << y;
            }
        }
    }
}
