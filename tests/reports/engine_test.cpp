#include "platform/report.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace verrane::platform::report;

namespace {

Item Text(std::string name, std::string text, int left, int top, int width, int height = 240) {
    Item it;
    it.kind = ItemKind::Field;
    it.name = std::move(name);
    it.text = std::move(text);
    it.left = left;
    it.top = top;
    it.width = width;
    it.height = height;
    return it;
}

Item Break(int top) {
    Item it;
    it.kind = ItemKind::PageBreak;
    it.top = top;
    return it;
}

}  // namespace

TEST(ReportWrap, RunsOfTenBlanksBreakTheLineShorterRunsKeepTheirWidth) {
    Font f;
    auto lines = WrapText("Design Wind Speed:^           (3-second gust in mph)", f, 20000);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Design Wind Speed:^");
    EXPECT_EQ(lines[1], "(3-second gust in mph)");

    lines = WrapText("a         b", f, 20000);  // nine blanks stay on the line
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "a         b");
    EXPECT_GT(TextWidth("a         b", f), TextWidth("a b", f));

    // A leading blank (the result texts) is printed.
    EXPECT_EQ(WrapText(" 1,234", f, 20000).at(0), " 1,234");
    EXPECT_TRUE(WrapText("", f, 2000).empty());
    lines = WrapText("one\r\ntwo", f, 20000);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "two");
}

TEST(ReportWrap, WordsWrapByWidthAndLongWordsBreak) {
    Font f;
    const std::string text = "the quick brown fox jumps over the lazy dog again and again";
    int width = static_cast<int>(TextWidth("the quick brown fox", f)) + 5;
    auto lines = WrapText(text, f, width);
    ASSERT_GT(lines.size(), 2u);
    for (auto& l : lines) {
        EXPECT_LE(TextWidth(l, f), width) << l;
        EXPECT_NE(l.back(), ' ');
    }
    EXPECT_EQ(lines[0], "the quick brown fox");

    lines = WrapText("Supercalifragilistic", f, 400);
    ASSERT_GT(lines.size(), 1u);
    std::string joined;
    for (auto& l : lines) joined += l;
    EXPECT_EQ(joined, "Supercalifragilistic");

    EXPECT_EQ(WrapText(text, f, 300, false).size(), 1u);
}

TEST(ReportLayout, PageBreaksHeadersFootersAndPageCount) {
    Report r;
    r.margins = {1080, 1080, 1080, 1080};
    r.PageHeader().height = 360;
    r.PageHeader().Add(Text("Head", "Header", 0, 0, 3000));
    r.PageFooter().height = 480;
    Item page = Text("Page", "", 8820, 0, 400);
    r.PageFooter().Add(page);
    Item count = Text("Count", "", 9540, 0, 400);
    count.kind = ItemKind::PageCount;
    r.PageFooter().Add(count);
    r.PageFooter().format = [&r] { r.SetText("Page", std::to_string(r.PageNumber())); };
    r.Detail().height = 20000;
    r.Detail().Add(Text("A", "first", 0, 270, 3000));
    r.Detail().Add(Break(5000));
    r.Detail().Add(Text("B", "second", 0, 5450, 3000));
    r.Detail().Add(Break(9000));
    r.Detail().Add(Text("C", "third", 0, 9090, 3000));

    PageModel m = r.Layout();
    ASSERT_EQ(m.pages.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const Page& p = m.pages[i];
        ASSERT_NE(p.Find("Page"), nullptr);
        EXPECT_EQ(p.Find("Page")->Text(), std::to_string(i + 1));
        EXPECT_EQ(p.Find("Count")->Text(), "3");
        EXPECT_EQ(p.Find("Head")->top, 1080);
        EXPECT_EQ(p.Find("Page")->top, 15840 - 1080 - 480);
    }
    // Each page continues the detail from its break, under the page header.
    EXPECT_EQ(m.pages[0].Find("A")->top, 1080 + 360 + 270);
    EXPECT_EQ(m.pages[1].Find("B")->top, 1080 + 360 + 450);
    EXPECT_EQ(m.pages[2].Find("C")->top, 1080 + 360 + 90);
    EXPECT_EQ(m.pages[1].Find("A"), nullptr);
    EXPECT_EQ(m.pages[0].Find("A")->left, 1080);
}

TEST(ReportLayout, FullPageReportHeaderIsACoverAndDetailOverflowMovesOn) {
    Report r;
    r.margins = {1080, 1080, 1080, 1080};
    r.ReportHeader().height = 13620;
    r.ReportHeader().Add(Text("Title", "Title", 0, 630, 8000));
    r.ReportHeader().Add(Text("Bottom", "Last line", 0, 13300, 8000));
    r.PageHeader().height = 360;
    r.PageHeader().Add(Text("Head", "Header", 0, 0, 3000));
    r.PageFooter().height = 480;
    r.PageFooter().Add(Text("Foot", "Footer", 0, 0, 3000));
    // A detail taller than one page with no break in it.
    r.Detail().height = 20000;
    r.Detail().Add(Text("Top", "top", 0, 0, 3000));
    r.Detail().Add(Text("Low", "low", 0, 15000, 3000));

    PageModel m = r.Layout();
    ASSERT_EQ(m.pages.size(), 3u);
    EXPECT_EQ(m.pages[0].Find("Head"), nullptr);
    EXPECT_EQ(m.pages[0].Find("Foot"), nullptr);
    EXPECT_EQ(m.pages[0].Find("Title")->top, 1080 + 630);
    EXPECT_NE(m.pages[1].Find("Top"), nullptr);
    ASSERT_NE(m.pages[2].Find("Low"), nullptr);
    EXPECT_EQ(m.pages[2].Find("Low")->top, 1080 + 360);
    for (auto& p : m.pages)
        for (auto& it : p.items) EXPECT_LE(it.bottom(), 15840 - 1080) << it.name;
}

TEST(ReportLayout, TextGrowsDownAndControlsAreFoundByName) {
    Report r;
    r.Detail().height = 1000;
    r.Detail().Add(Text("Long", "one two three four five six seven eight nine ten", 0, 0, 1000, 240));
    EXPECT_TRUE(r.SetText("Long", "one two three four five six seven eight nine ten eleven"));
    EXPECT_FALSE(r.SetText("Missing", "x"));
    EXPECT_EQ(r.Control("Missing"), nullptr);
    PageModel m = r.Layout();
    const PlacedItem* it = m.pages.at(0).Find("Long");
    ASSERT_NE(it, nullptr);
    EXPECT_GT(it->lines.size(), 1u);
    EXPECT_EQ(it->height, static_cast<int>(it->lines.size()) * it->lineHeight);
}

TEST(ReportPdf, WritesPagesAndReportsAnUnwritablePath) {
    Report r;
    r.Detail().height = 3000;
    r.Detail().Add(Text("A", "Hello report", 0, 0, 4000));
    r.Detail().Add(Break(1000));
    r.Detail().Add(Text("B", "Second page", 0, 1200, 4000));
    auto dir = std::filesystem::temp_directory_path() / "verrane_report_engine_test";
    std::filesystem::create_directories(dir);
    auto pdf = dir / "engine.pdf";
    std::string error;
    ASSERT_TRUE(r.ExportPdf(pdf, &error)) << error;
    std::ifstream in(pdf, std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
    EXPECT_EQ(r.LastLayout().pages.size(), 2u);

    EXPECT_FALSE(r.ExportPdf(dir / "no such dir" / "x.pdf", &error));
    EXPECT_NE(error.find("could not be written"), std::string::npos);
}

TEST(ReportFont, ArialResolvesToAnInstalledFace) {
    std::string face = ResolveFace("Arial");
    EXPECT_TRUE(face == "Arial" || face == "Liberation Sans") << face;
}

TEST(ReportLayout, TextTallerThanAPageContinuesOnTheNextWithoutLosingLines) {
    Report r;
    r.margins = {1080, 1080, 1080, 1080};
    r.Detail().height = 2000;
    std::string text;
    for (int i = 0; i < 80; ++i) text += "line" + std::to_string(i) + std::string(12, ' ');
    r.Detail().Add(Text("List", text, 0, 1000, 6000, 1620));
    const int listHeight = 80 * LineHeight(Font{});
    Item after = Text("After", "after", 0, 1000 + listHeight + 300, 3000);
    r.Detail().Add(after);
    PageModel m = r.Layout();
    ASSERT_EQ(m.pages.size(), 2u);
    std::string all;
    for (auto& p : m.pages)
        for (auto& it : p.items) {
            EXPECT_LE(it.bottom(), 15840 - 1080) << it.name;
            if (it.name == "List") all += it.Text() + "\n";
        }
    EXPECT_EQ(all.find("line0\nline1\n"), 0u);
    EXPECT_NE(all.find("\nline79\n"), std::string::npos);
    const PlacedItem* a = m.pages[1].Find("After");
    ASSERT_NE(a, nullptr);
    int listBottom = 0;
    for (auto& it : m.pages[1].items)
        if (it.name == "List") listBottom = it.bottom();
    EXPECT_EQ(a->top, listBottom + 300);
}
