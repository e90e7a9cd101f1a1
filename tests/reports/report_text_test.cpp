#include "reports/report_text.h"

#include <gtest/gtest.h>

using namespace verrane::reports;

TEST(CountiesText, OneStateListsItsCountiesAfterItsHeading) {
    std::string t = SelectedCountiesText(0, "Oklahoma", {{"Oklahoma", "Canadian"}, {"Oklahoma", "Cleveland"}});
    EXPECT_EQ(t, "Oklahoma Counties:" + std::string(125, ' ') + "Canadian, Cleveland");
}

TEST(CountiesText, SecondStateFollowsADashLineUnderItsOwnHeading) {
    std::string t =
        SelectedCountiesText(2, "Oklahoma", {{"Oklahoma", "Cleveland"}, {"Texas", "Clay"}, {"Texas", "Wichita"}});
    EXPECT_EQ(t, "Oklahoma Counties:" + std::string(125, ' ') + "Cleveland" + std::string(125, ' ') + "-" +
                     std::string(124, ' ') + "Texas Counties:" + std::string(102, ' ') + "Clay, Wichita");
    // A state met again after another starts a new heading: the rows come in
    // FIPS order, so this only happens when the caller passes them so.
    t = SelectedCountiesText(0, "A", {{"A", "x"}, {"B", "y"}, {"A", "z"}});
    EXPECT_EQ(std::count(t.begin(), t.end(), '-'), 2);
}

TEST(CountiesText, EntireStateAndEmptyList) {
    EXPECT_EQ(SelectedCountiesText(1, "Kansas", {{"Kansas", "Butler"}}), "Entire state of Kansas");
    EXPECT_EQ(SelectedCountiesText(0, "Kansas", {}), "");
    EXPECT_EQ(SelectedCountiesText(2, "Kansas", {}), "");
}

TEST(CountiesText, ShortenedListStopsAtAWholeCountyWithinTheWordsShownAndCountsTheRest) {
    const std::vector<CountyRow> rows = {
        {"Oklahoma", "Le Flore"}, {"Oklahoma", "Roger Mills"}, {"Oklahoma", "Adair"}, {"Texas", "Red River"}};
    // "Oklahoma Counties: Le Flore, Roger Mills, Adair" is 7 words.
    EXPECT_EQ(ShortenedCountiesText(rows, 7),
              "Oklahoma Counties:" + std::string(125, ' ') + "Le Flore, Roger Mills, Adair, ... and 1 more");
    EXPECT_EQ(ShortenedCountiesText(rows, 6),
              "Oklahoma Counties:" + std::string(125, ' ') + "Le Flore, Roger Mills, ... and 2 more");
    EXPECT_EQ(ShortenedCountiesText(rows, 1), "... and 4 more");
    EXPECT_EQ(ShortenedCountiesText(rows, 100), SelectedCountiesText(0, "Oklahoma", rows));
}

TEST(CountiesText, SelectionSentences) {
    EXPECT_EQ(CountySelectionText(-1, 0, "Cleveland", "Oklahoma"), "Only Cleveland County, Oklahoma");
    EXPECT_EQ(CountySelectionText(0, 50, "Cleveland", "Oklahoma"), "50 mile region around Cleveland County, Oklahoma");
    EXPECT_EQ(CountySelectionText(0, 37.5f, "Cleveland", "Oklahoma"),
              "37.5 mile region around Cleveland County, Oklahoma");
    EXPECT_EQ(CountySelectionText(1, 50, "Cleveland", "Oklahoma"), "Entire state");
    EXPECT_EQ(CountySelectionText(2, 50, "Cleveland", "Oklahoma"), "User selected counties");

    EXPECT_EQ(ShortCountiesText(-1, 0), "Only target county.");
    EXPECT_EQ(ShortCountiesText(0, 50), "50 miles around target county.");
    EXPECT_EQ(ShortCountiesText(1, 50), "Entire state");
    EXPECT_EQ(ShortCountiesText(2, 50), "User selected counties");
}

TEST(MaxOccupancy, LargestHourAsSixteenBitWholeNumber) {
    std::array<std::string, 24> h;
    h.fill("0");
    h[10] = "150";
    h[14] = "200";
    EXPECT_EQ(MaxTornadoOccupancy(h), 200);

    h.fill("0");
    h[3] = "12.5";
    EXPECT_EQ(MaxTornadoOccupancy(h), 12);
    h[4] = "13.5";
    EXPECT_EQ(MaxTornadoOccupancy(h), 14);
    h.fill("12.5");
    h[0] = "12.6";
    EXPECT_EQ(MaxTornadoOccupancy(h), 13);
}

TEST(MaxOccupancy, EmptyOrNonNumericHoursCountAsZeroAndLargeValuesDoNotWrap) {
    std::array<std::string, 24> h;
    h.fill("");
    EXPECT_EQ(MaxTornadoOccupancy(h), 0);
    h[5] = "abc";
    h[6] = "7";
    EXPECT_EQ(MaxTornadoOccupancy(h), 7);
    h[0] = "-3";
    EXPECT_EQ(MaxTornadoOccupancy(h), 7);
    h[7] = "40000";  // beyond 16 bits
    EXPECT_EQ(MaxTornadoOccupancy(h), 40000);
    h[8] = "1e300";
    EXPECT_EQ(MaxTornadoOccupancy(h), INT32_MAX);
}

TEST(ReportTexts, SentencesTotalsAndTypedNumbers) {
    EXPECT_EQ(WindowSentence(false), "Building has a window area greater than 7% of wall area.");
    EXPECT_EQ(WindowSentence(true), "Building has minimal window area of less than 7% of wall area.");
    EXPECT_EQ(DaylightSentence(false), "with no Daylight Saving Time");
    EXPECT_EQ(DaylightSentence(true), "with Daylight Saving Time");
    EXPECT_EQ(ShortConstructionText("Steel", false), "Steel & > 7% window area.");
    EXPECT_EQ(ShortConstructionText("Steel", true), "Steel & < 7% window area.");
    EXPECT_EQ(LocationText("Norman", "Cleveland", "Oklahoma"), "Norman in Cleveland County, Oklahoma");
    EXPECT_EQ(CityStateText("Norman", "Oklahoma"), "Norman, Oklahoma");
    EXPECT_EQ(LifetimeYearsText("30"), "in 30 years");
    EXPECT_DOUBLE_EQ(FScaleTotal({1, 2, 3, 4, 5, 6.5}), 21.5);
    EXPECT_EQ(FormatTyped("1234567", "###,###,##0"), "1,234,567");
    EXPECT_EQ(FormatTyped("", "###,###,##0"), "");
    EXPECT_EQ(FormatTyped("n/a", "###,###,##0"), "n/a");
}
