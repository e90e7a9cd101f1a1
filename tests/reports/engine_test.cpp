#include "platform/report.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

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

TEST(ReportWrap, WordsWrapByWidthAndLongWordsStandWhole) {
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

    // Lines break only at blanks: a word wider than the box is never cut.
    lines = WrapText("a Supercalifragilistic b", f, 400);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "Supercalifragilistic", "b"}));

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

// A drawing paints itself in its box as placed, moving to the next page with
// the detail like any item; a page number's text gets both numbers; colours
// reach the painted page.
TEST(ReportLayout, DrawingsPageNumberTextsAndColours) {
    Report r;
    r.margins = {0, 0, 0, 0};
    r.PageFooter().height = 600;
    Item page = Text("Page", "Page {page} of {pages}", 8000, 0, 3000);
    page.kind = ItemKind::PageNumber;
    page.color = qRgb(200, 0, 0);
    r.PageFooter().Add(page);
    std::vector<QRectF> painted;
    Item drawing;
    drawing.kind = ItemKind::Drawing;
    drawing.name = "Blue";
    drawing.left = 1000;
    drawing.top = 14500;  // does not fit above the footer: the next page
    drawing.width = 2000;
    drawing.height = 1000;
    drawing.draw = [&painted](QPainter& p, const QRectF& box) {
        painted.push_back(box);
        p.fillRect(box, QColor(0, 0, 255));
    };
    r.Detail().Add(Text("First", "first", 0, 100, 3000));
    r.Detail().Add(drawing);

    const PageModel m = r.Layout();
    ASSERT_EQ(m.pages.size(), 2u);
    EXPECT_EQ(m.pages[0].Find("Page")->Text(), "Page 1 of 2");
    EXPECT_EQ(m.pages[1].Find("Page")->Text(), "Page 2 of 2");
    ASSERT_NE(m.pages[1].Find("Blue"), nullptr);
    EXPECT_EQ(m.pages[1].Find("Blue")->top, 0);

    QImage image(kLetterWidth / 20, kLetterHeight / 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(0.05, 0.05);
        Report::RenderPage(painter, m, 1);
    }
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0], QRectF(1000, 0, 2000, 1000));
    EXPECT_EQ(image.pixel(100, 25), qRgb(0, 0, 255));  // inside the drawing
    bool red = false;
    for (int y = (kLetterHeight - 600) / 20; y < kLetterHeight / 20 && !red; ++y)
        for (int x = 8000 / 20; x < 11000 / 20 && !red; ++x) {
            const QRgb c = image.pixel(x, y);
            red = qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 90;  // antialiased edges blend with white
        }
    EXPECT_TRUE(red) << "the page number prints in its colour";
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
    EXPECT_NO_THROW(r.SetText("Long", "one two three four five six seven eight nine ten eleven"));
    EXPECT_THROW(r.SetText("Missing", "x"), std::logic_error);
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

namespace {

Item Fitted(std::string text, int width, int height) {
    Item it = Text("F", std::move(text), 0, 0, width, height);
    it.shrinkToFit = true;
    it.ellipsis = true;
    it.canGrow = false;
    return it;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (auto& l : lines) out += (out.empty() ? "" : "|") + l;
    return out;
}

}  // namespace

TEST(ReportFit, ShrinksToTheFloorThenEndsWithAnEllipsisAtAWord) {
    const int lh = LineHeight(Font{});
    // Fits at its own size.
    FittedText fit = FitText(Fitted("short text", 3000, lh));
    EXPECT_EQ(fit.font.pointSize, 10);
    EXPECT_FALSE(fit.cut);
    // A little too long for one line: smaller, still whole.
    const std::string sentence = "The quick brown fox jumps over the lazy dog";
    const int w = static_cast<int>(TextWidth(sentence, Font{})) - 200;
    fit = FitText(Fitted(sentence, w, lh));
    EXPECT_LT(fit.font.pointSize, 10);
    EXPECT_GE(fit.font.pointSize, 7);
    EXPECT_EQ(Joined(fit.lines), sentence);
    // Far too long: at the floor, one line, cut after a whole word.
    std::string longText;
    for (int i = 0; i < 20; ++i) longText += sentence + " ";
    fit = FitText(Fitted(longText, 3000, lh));
    ASSERT_EQ(fit.lines.size(), 1u);
    EXPECT_TRUE(fit.cut);
    EXPECT_EQ(fit.font.pointSize, 7);
    const std::string& line = fit.lines[0];
    ASSERT_GE(line.size(), 4u);
    EXPECT_EQ(line.substr(line.size() - 3), "...");
    EXPECT_EQ(longText.compare(0, line.size() - 3, line, 0, line.size() - 3), 0);
    EXPECT_EQ(longText[line.size() - 3], ' ');  // cut between words
    EXPECT_LE(TextWidth(line, fit.font), 3000);
    // A single word wider than the box at the floor: its head and "...".
    fit = FitText(Fitted(std::string(60, 'W'), 1000, lh));
    ASSERT_EQ(fit.lines.size(), 1u);
    EXPECT_EQ(fit.lines[0].substr(fit.lines[0].size() - 3), "...");
    EXPECT_LE(TextWidth(fit.lines[0], fit.font), 1000);
    // Several lines: the last one kept ends the text.
    Item tall = Fitted(longText, 3000, 3 * LineHeight(Font{"Arial", 7}));
    fit = FitText(tall);
    EXPECT_EQ(fit.lines.size(), 3u);
    EXPECT_EQ(fit.lines.back().substr(fit.lines.back().size() - 3), "...");
}

// A figure is never cut: "1,000,000,00..." would read as a smaller sum.
TEST(ReportFit, AFigureShrinksPastTheFloorRatherThanBeingCut) {
    const int lh = LineHeight(Font{});
    const std::string figure = " 1,000,000,000,000,000,000";
    const int w = static_cast<int>(TextWidth(figure, Font{"Arial", 7})) / 2;
    FittedText fit = FitText(Fitted(figure, w, lh));
    ASSERT_EQ(fit.lines.size(), 1u);
    EXPECT_EQ(fit.lines[0], figure);
    EXPECT_FALSE(fit.cut);
    EXPECT_LT(fit.font.pointSize, 7);
    EXPECT_LE(TextWidth(fit.lines[0], fit.font), w);
    // Words with digits in them are text: cut as before.
    fit = FitText(Fitted("Phase 2 of 1,000,000,000,000 units", w, lh));
    EXPECT_TRUE(fit.cut);
}

TEST(ReportFit, GrowsIntoItsRoomAtFullSizeAndShortensWithACount) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "word" + std::to_string(i) + " ";
    Item it = Fitted(text, 2000, 240);
    it.canGrow = true;
    FittedText fit = FitText(it, 20000);
    EXPECT_EQ(fit.font.pointSize, 10);  // grows rather than shrinks
    EXPECT_FALSE(fit.cut);
    EXPECT_GT(fit.lines.size(), 5u);

    size_t asked = 0;
    it.shorten = [&](size_t shown) {
        asked = shown;
        std::string head;
        for (size_t i = 0; i < shown; ++i) head += "word" + std::to_string(i) + " ";
        return head + "... and " + std::to_string(60 - shown) + " more";
    };
    fit = FitText(it, 1000);
    EXPECT_TRUE(fit.cut);
    EXPECT_LE(fit.Height(), 1000);
    ASSERT_FALSE(fit.lines.empty());
    EXPECT_EQ(fit.lines.back(), fit.lines.back().substr(0, fit.lines.back().find("... and")) + "... and " +
                                    std::to_string(60 - asked) + " more");
}

TEST(ReportLayout, AGrowingTextMovesWhatLiesBelowAndStaysOnItsPage) {
    Report r;
    r.margins = {1080, 1080, 1080, 1080};
    r.Detail().height = 3000;
    std::string text;
    for (int i = 0; i < 40; ++i) text += "grow" + std::to_string(i) + " ";
    Item grows = Text("Grows", text, 0, 0, 2000, 240);
    grows.ellipsis = true;
    r.Detail().Add(grows);
    r.Detail().Add(Text("Beside", "beside", 2500, 0, 2000, 240));
    r.Detail().Add(Text("Below", "below", 0, 300, 2000, 240));
    r.Detail().Add(Text("RowMate", "row mate", 2500, 300, 2000, 240));
    r.Detail().Add(Break(1000));
    r.Detail().Add(Text("Next", "next page", 0, 1000, 2000, 240));
    PageModel m = r.Layout();
    ASSERT_EQ(m.pages.size(), 2u);
    const PlacedItem* g = m.pages[0].Find("Grows");
    ASSERT_NE(g, nullptr);
    EXPECT_GT(g->lines.size(), 3u);
    EXPECT_EQ(m.pages[0].Find("Beside")->top, 1080);
    // Below moves down to keep 90 twips under the growing text; its row
    // mate moves with it.
    EXPECT_EQ(m.pages[0].Find("Below")->top, g->bottom() + 90);
    EXPECT_EQ(m.pages[0].Find("RowMate")->top, g->bottom() + 90);
    EXPECT_EQ(m.pages[1].Find("Next")->top, 1080);

    // Longer than its page: it grows to the page's end and no further.
    std::string huge;
    for (int i = 0; i < 3000; ++i) huge += "grow" + std::to_string(i) + " ";
    r.SetText("Grows", huge);
    m = r.Layout();
    ASSERT_EQ(m.pages.size(), 2u);
    for (auto& it : m.pages[0].items) EXPECT_LE(it.bottom(), 15840 - 1080) << it.name;
    EXPECT_EQ(m.pages[0].Find("Grows")->lines.back().substr(m.pages[0].Find("Grows")->lines.back().size() - 3), "...");
}
