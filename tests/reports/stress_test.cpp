// The reports filled with what analysts really type: every text field at 80
// characters with and without blanks, a 650-character description, regions
// of 1 to 1500 counties, and the example projects. Each must print as the
// title page and six detail pages (long) or one page (short), every item on
// the page its layout gives it, nothing overlapping or outside the margins,
// and no word cut: where a text had to end early it ends with "..." after
// whole words (or the head of a single word wider than its box).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

#include "app/report_glue.h"
#include "report_checks.h"
#include "reports/long_report.h"
#include "reports/report_text.h"
#include "reports/short_report.h"
#include "sample_report_data.h"
#include "tests/screens/analysis/open_project.h"

using namespace verrane;
using namespace verrane::reports;
using namespace verrane::reports::sample;

namespace {

const std::string kSpaced = "Alternative B - community shelter with statewide record and revised FY2026 costs";

std::string Unspaced() {
    std::string s;
    for (char c : kSpaced + kSpaced)
        if (c != ' ') s += c;
    return s.substr(0, 80);
}

void FillEveryTypedField(LongReportData& d, const std::string& v) {
    ProjectPart& p = d.project;
    for (std::string* f : {&p.buildingName, &p.address, &p.city, &p.disasterNumber, &p.projectNumber, &p.scenarioRunId,
                           &p.analyst, &p.countyName, &p.stateName})
        *f = v;
    BuildingPart& b = d.building;
    for (std::string* f : {&b.buildingLength, &b.buildingWidth, &b.shelterArea, &b.hurricaneOccupancy,
                           &b.constructionType, &b.timeZoneText})
        *f = v;
    b.hourly.fill(v);
    MitigationPart& m = d.mitigation;
    for (std::string* f : {&m.description, &m.projectCost, &m.maintenanceCost, &m.projectLifetime, &m.injuryCost,
                           &m.deathCost, &m.discountRate, &m.designWindSpeedText})
        *f = v;
    m.rateCells.fill(v);
}

// Counties under a few states, with names of every length, blanks and all.
std::vector<CountyRow> Counties(size_t n) {
    static const char* const names[] = {
        "Adair",      "Jefferson Davis", "Le Flore", "Pottawatomie", "St. Francois",    "Ste. Genevieve",
        "Washington", "Roger Mills",     "Ellis",    "Cimarron",     "Prince of Wales", "Red River",
        "Jim Wells",  "Okmulgee",        "Doña Ana", "Hot Spring",   "Van Buren",       "McCurtain",
        "Pushmataha", "Saint Charles",   "Ozark",    "Los Alamos",   "De Baca",         "Oklahoma"};
    static const char* const states[] = {"Oklahoma", "Texas", "Kansas", "Arkansas", "Missouri", "New Mexico"};
    std::vector<CountyRow> rows;
    for (size_t i = 0; i < n; ++i) rows.emplace_back(states[std::min<size_t>(i / 100, 5)], names[i % 24]);
    return rows;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

bool EndsWithDots(const std::string& w) { return w.size() >= 3 && w.compare(w.size() - 3, 3, "...") == 0; }

// The printed words of a text against the words it was given.
void ExpectWholeWords(const std::string& name, const std::string& given, const std::vector<std::string>& lines) {
    const std::vector<std::string> want = Words(given);
    std::vector<std::string> got;
    std::map<size_t, bool> alone;  // word index -> alone on its line
    for (auto& l : lines) {
        auto w = Words(l);
        for (auto& x : w) {
            alone[got.size()] = w.size() == 1;
            got.push_back(x);
        }
    }
    size_t j = 0;
    // A shortened list puts ", ..." after its last whole word.
    auto same = [&](size_t i) {
        return got[i] == want[i] || (got[i] == want[i] + "," && i + 1 < got.size() && got[i + 1] == "...");
    };
    while (j < got.size() && j < want.size() && same(j)) ++j;
    if (j == got.size() && j == want.size()) return;
    ASSERT_LT(j, got.size()) << name << " lost words without an ellipsis";
    ASSERT_TRUE(EndsWithDots(got[j])) << name << ": \"" << got[j] << "\" printed for \""
                                      << (j < want.size() ? want[j] : "") << "\"";
    const std::string stem = got[j].substr(0, got[j].size() - 3);
    ASSERT_LT(j, want.size()) << name;
    EXPECT_EQ(want[j].compare(0, stem.size(), stem), 0) << name << ": " << got[j] << " vs " << want[j];
    if (!stem.empty() && stem != want[j]) {
        EXPECT_TRUE(alone[j]) << name << " cut the word " << want[j];
    }
    const std::vector<std::string> rest(got.begin() + static_cast<long>(j) + 1, got.end());
    if (!rest.empty()) {
        ASSERT_EQ(rest.size(), 3u) << name;
        EXPECT_EQ(rest[0], "and");
        EXPECT_EQ(rest[2], "more");
    }
}

// Every check of a laid-out report against the report's items.
void ExpectClean(rpt::Report& r, const rpt::PageModel& m, size_t pages, const std::string& what) {
    SCOPED_TRACE(what);
    ASSERT_EQ(m.pages.size(), pages);
    ExpectReadable(m);
    // The page of every detail item is the one its page breaks give it.
    std::vector<int> breaks;
    for (auto& it : r.Detail().items)
        if (it.kind == rpt::ItemKind::PageBreak) breaks.push_back(it.top);
    const size_t first = r.ReportHeader().visible ? 1 : 0;
    std::map<std::string, std::vector<std::string>> detailLines;
    std::map<std::string, size_t> pageOf;
    for (size_t p = 0; p < m.pages.size(); ++p)
        for (auto& it : m.pages[p].items) {
            // A box that keeps its size (a ruled cell, the page header) holds
            // its text: nothing prints over the rule below it.
            if (const rpt::Item* given = r.Control(it.name); given && !given->canGrow) {
                EXPECT_LE(static_cast<int>(it.lines.size()) * it.lineHeight, given->height) << it.name;
            }
            if (it.section == rpt::SectionKind::Detail) {
                EXPECT_FALSE(pageOf.count(it.name) && pageOf[it.name] != p) << it.name << " runs over two pages";
                pageOf[it.name] = p;
                detailLines[it.name].insert(detailLines[it.name].end(), it.lines.begin(), it.lines.end());
            } else if (const rpt::Item* given = r.Control(it.name);
                       given && it.kind == rpt::ItemKind::Field && it.name != "FooterPageNumber") {
                ExpectWholeWords(it.name, given->text, it.lines);
            } else if (it.kind == rpt::ItemKind::Label) {
                ExpectWholeWords(it.name, r.Control(it.name)->text, it.lines);
            }
        }
    for (auto& it : r.Detail().items) {
        if (it.kind == rpt::ItemKind::PageBreak || !it.visible) continue;
        const size_t want = first + static_cast<size_t>(std::count_if(breaks.begin(), breaks.end(),
                                                                      [&](int b) { return b <= it.top; }));
        ASSERT_TRUE(pageOf.count(it.name)) << it.name << " is missing";
        EXPECT_EQ(pageOf[it.name], want) << it.name << " is on the wrong page";
        if (it.kind == rpt::ItemKind::Label || it.kind == rpt::ItemKind::Field)
            ExpectWholeWords(it.name, it.text, detailLines[it.name]);
    }
}

struct Case {
    std::string name;
    LongReportData data;
};

std::vector<Case> Corpus() {
    std::vector<Case> cases;
    cases.push_back({"sample", SampleLongData()});
    for (const auto& [name, value] : {std::pair{"typed80spaced", kSpaced}, std::pair{"typed80unspaced", Unspaced()}}) {
        LongReportData d = SampleLongData();
        FillEveryTypedField(d, value);
        cases.push_back({name, d});
    }
    LongReportData d = SampleLongData();
    d.project.scenarioRunId = kSpaced.substr(0, 68);
    cases.push_back({"scenario68", d});
    d = SampleLongData();
    std::string description;
    while (description.size() < 650) description += kSpaced + ", ";
    d.mitigation.description = description.substr(0, 650);
    cases.push_back({"description650", d});
    for (size_t n : {1, 77, 282, 533, 1500}) {
        d = SampleLongData();
        d.selectedCountyRows = Counties(n);
        d.project.selectedCounties.assign(n, "40001");
        cases.push_back({"counties" + std::to_string(n), d});
    }
    d = cases[1].data;  // everything at once
    d.mitigation.description = cases[4].data.mitigation.description;
    d.selectedCountyRows = Counties(533);
    cases.push_back({"everything", d});
    return cases;
}

ShortReportData ShortOf(const LongReportData& d) {
    ShortReportData s;
    s.project = d.project;
    s.building = d.building;
    s.mitigation = d.mitigation;
    s.results = d.results;
    s.sealPath = d.sealPath;
    return s;
}

}  // namespace

TEST(ReportStress, EveryProjectOfTheCorpusPrintsSevenPagesAndOneCleanly) {
    // VERRANE_STRESS_PDF_DIR=dir also writes every report there, to look at.
    const char* pdfDir = std::getenv("VERRANE_STRESS_PDF_DIR");
    for (const Case& c : Corpus()) {
        ActiveReport1 lng(c.data);
        ExpectClean(lng, lng.Layout(), 7, c.name + " long");
        ActiveReport2 shrt(ShortOf(c.data));
        ExpectClean(shrt, shrt.Layout(), 1, c.name + " short");
        if (pdfDir) {
            std::string error;
            EXPECT_TRUE(lng.ExportPdf(std::filesystem::path(pdfDir) / (c.name + "-long.pdf"), &error)) << error;
            EXPECT_TRUE(shrt.ExportPdf(std::filesystem::path(pdfDir) / (c.name + "-short.pdf"), &error)) << error;
        }
    }
}

TEST(ReportStress, LongValuesKeepThePageHeaderToOneLine) {
    LongReportData d = SampleLongData();
    d.project.scenarioRunId = kSpaced;
    ActiveReport1 r(d);
    rpt::PageModel m = r.Layout();
    ASSERT_EQ(m.pages.size(), 7u);
    for (size_t p = 1; p < 7; ++p) {
        const rpt::PlacedItem* id = m.pages[p].Find("HeaderScenarioId");
        ASSERT_NE(id, nullptr);
        ASSERT_EQ(id->lines.size(), 1u);
        EXPECT_EQ(id->lines[0].substr(id->lines[0].size() - 3), "...");
        EXPECT_GE(id->font.pointSize, 6.5);
        EXPECT_EQ(m.pages[p].Find("Label1_Detail") ? m.pages[p].Find("Label1_Detail")->top : 1080 + 360 + 270,
                  1080 + 360 + 270);
    }
    // The title page prints it whole.
    std::string title;
    for (auto& l : m.pages[0].Find("TitleScenarioId")->lines) title += (title.empty() ? "" : " ") + l;
    EXPECT_EQ(title, kSpaced);

    // A first word of ten letters stays whole in the narrow box.
    d.project.scenarioRunId = "Community shelter, statewide record";
    ActiveReport1 shorter(d);
    EXPECT_EQ(shorter.Layout().pages.at(1).Find("HeaderScenarioId")->Text(), "Community...");
}

TEST(ReportStress, ACountyListLongerThanItsPageEndsByCountingTheCountiesLeftOut) {
    // 282 counties print whole (smaller); 533 and more fill the page at the
    // smallest size and count the rest.
    LongReportData whole = SampleLongData();
    whole.selectedCountyRows = Counties(282);
    ActiveReport1 full(whole);
    const rpt::PageModel wm = full.Layout();
    ASSERT_NE(wm.pages.at(2).Find("SelectedCounties"), nullptr);
    EXPECT_EQ(wm.pages[2].Find("SelectedCounties")->Text().find("..."), std::string::npos);

    for (size_t n : {533u, 1500u}) {
        LongReportData d = SampleLongData();
        d.selectedCountyRows = Counties(n);
        ActiveReport1 r(d);
        rpt::PageModel m = r.Layout();
        ASSERT_EQ(m.pages.size(), 7u);
        const rpt::PlacedItem* list = m.pages[2].Find("SelectedCounties");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->font.pointSize, 7);
        const std::string last = list->lines.back();
        const size_t at = last.find(", ... and ");
        ASSERT_NE(at, std::string::npos) << last;
        const size_t left = std::stoul(last.substr(at + 10));
        // The names printed, in order, and the count make up the selection.
        std::string printed;
        for (auto& l : list->lines) printed += l + " ";
        const size_t end = printed.find("... and ");
        size_t found = 0, from = 0;
        for (auto& row : d.selectedCountyRows) {
            const size_t pos = printed.find(row.second, from);
            if (pos == std::string::npos || pos > end) break;
            from = pos + row.second.size();
            ++found;
        }
        EXPECT_GT(found, 282u);
        EXPECT_EQ(found + left, n) << last;
    }
}

TEST(ReportStress, ExampleProjectsPrintCleanlyAsTheyAreAndWithEveryEntryLong) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped reference data";
    for (const char* file : {"oklahoma-school-gym.tor", "mississippi-coast-hospital.tor",
                             "kansas-community-shelter.tor", "red-river-plant-user-counties.tor"}) {
        test::TestApp t("");
        ASSERT_NE(test::OpenAndAnalyse(t, test::ExamplesDir() / file), nullptr) << file;
        for (int pass = 0; pass < 2; ++pass) {
            if (pass == 1)
                for (int i = 0; i < 7; ++i) t.app->form2().Text1[i].setText(kSpaced);
            for (bool longReport : {true, false}) {
                std::vector<std::string> notes;
                auto r = MakeReport(*t.app, longReport, notes);
                ExpectClean(*r, r->Layout(), longReport ? 7 : 1,
                            std::string(file) + (pass ? " with long entries" : "") + (longReport ? " long" : " short"));
                EXPECT_TRUE(notes.empty());
            }
        }
    }
}
