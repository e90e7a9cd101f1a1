// The importer's rules on a tiny made-up map: four square counties in two
// states, and a handful of tornado rows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "refdata.h"

using namespace refdata;

namespace {

// A 10 x 10 mile square county whose lower left corner is (x, y) in miles.
County square(int state, int county, const std::string& name, double x, double y) {
    County c;
    c.state_fips = state;
    c.cnty_fips = county;
    char fips[8];
    std::snprintf(fips, sizeof fips, "%02d%03d", state, county);
    c.fips = fips;
    c.state_name = state == 40 ? "Oklahoma" : "Kansas";
    c.name = name;
    c.shape = {Polygon{{Ring{{x, y}, {x + 10, y}, {x + 10, y + 10}, {x, y + 10}}}}};
    c.box = extent(c.shape);
    c.center = centroid(c.shape);
    return c;
}

// Inverse of the 48-state projection, so fixture tracks can be given in miles.
LonLat lonlat_at(Pt target) {
    LonLat ll{-96, 37};
    for (int i = 0; i < 60; ++i) {
        Pt p = project(Region::Conus, ll);
        Pt px = project(Region::Conus, {ll.lon + 1e-4, ll.lat});
        Pt py = project(Region::Conus, {ll.lon, ll.lat + 1e-4});
        double a = (px.x - p.x) / 1e-4, b = (py.x - p.x) / 1e-4, c = (px.y - p.y) / 1e-4, d = (py.y - p.y) / 1e-4;
        double ex = target.x - p.x, ey = target.y - p.y, det = a * d - b * c;
        ll.lon += (d * ex - b * ey) / det;
        ll.lat += (a * ey - c * ex) / det;
    }
    return ll;
}

class Fixture : public ::testing::Test {
protected:
    // Oklahoma 40001 | 40003 side by side, Kansas 20001 | 20003 just north.
    void SetUp() override {
        base = project(Region::Conus, {-97, 36});
        counties = {square(20, 1, "North West", base.x, base.y + 10),
                    square(20, 3, "North East", base.x + 10, base.y + 10), square(40, 1, "South West", base.x, base.y),
                    square(40, 3, "South East", base.x + 10, base.y)};
    }
    TornadoRow row(int mag, int f1 = 0) {
        TornadoRow r;
        r.yr = 2000;
        r.om = ++om;
        r.mag = mag;
        r.hour = 15;
        r.tz = "America/Chicago";
        r.st = "OK";
        r.stf = 40;
        r.len = 2;
        r.wid = 110;
        r.f = {f1, 0, 0, 0};
        LonLat s = lonlat_at({base.x + 5, base.y + 5});
        r.slat = s.lat;
        r.slon = s.lon;
        return r;
    }
    void track(TornadoRow& r, Pt from, Pt to) {
        LonLat a = lonlat_at({base.x + from.x, base.y + from.y}), b = lonlat_at({base.x + to.x, base.y + to.y});
        r.slon = a.lon;
        r.slat = a.lat;
        r.elon = b.lon;
        r.elat = b.lat;
    }
    double total(const std::map<std::string, CountyTornado>& m, const std::string& fips) {
        double n = 0;
        for (double v : m.at(fips).count) n += v;
        return n;
    }
    Pt base;
    int om = 0;
    std::vector<County> counties;
    TornadoSummary s;
};

TEST_F(Fixture, CountyCodesAreUsedAsGivenEvenWhenTheTrackLiesElsewhere) {
    TornadoRow r = row(2, 3);  // names 40003, starts inside 40001
    auto m = assign_tornadoes({r}, counties, s);
    EXPECT_EQ(m.at("40003").count[2], 1);
    EXPECT_EQ(total(m, "40001"), 0);
    EXPECT_EQ(s.by_codes, 1);
    EXPECT_EQ(m.size(), counties.size()) << "every county gets a row, with zeros where no tornado";
}

TEST_F(Fixture, RepeatedAndInvalidCodesCountOnceAndUnusableCodesFallBackToGeometry) {
    TornadoRow r = row(1, 3);
    r.f = {3, 3, 77, 0};
    TornadoRow bad = row(1, 99);  // 40099 does not exist: the start point decides
    auto m = assign_tornadoes({r, bad}, counties, s);
    EXPECT_EQ(m.at("40003").count[1], 1);
    EXPECT_EQ(m.at("40001").count[1], 1);
    EXPECT_EQ(s.invalid_codes, 2);
    EXPECT_EQ(s.by_geometry, 1);
}

TEST_F(Fixture, TrackCrossingTwoCountiesCountsInBothAndSharesItsLengthByTheTrackInEach) {
    TornadoRow r = row(3);
    r.len = 13;
    track(r, {2, 5}, {15, 5});  // 8 miles in 40001, 5 in 40003
    auto m = assign_tornadoes({r}, counties, s);
    EXPECT_EQ(m.at("40001").count[3], 1);
    EXPECT_EQ(m.at("40003").count[3], 1);
    EXPECT_EQ(total(m, "20001") + total(m, "20003"), 0);
    EXPECT_EQ(s.county_hits, 2);
    EXPECT_NEAR(average_length_ft(m.at("40001"), 3), 8 * 5280.0, 1);
    EXPECT_NEAR(average_length_ft(m.at("40003"), 3), 5 * 5280.0, 1);
    EXPECT_NEAR(average_acres(m.at("40003"), 3), 5 * 5280.0 * 330 / 43560, 1e-3) << "share of length x width";
    EXPECT_EQ(s.pieces_by_rule[ShareRule::ByTrack], 1);
}

TEST_F(Fixture, ListedCountiesShareEquallyWithoutEndPointOrWhenTheLineMissesOne) {
    TornadoRow no_end = row(2);
    no_end.f = {1, 3, 0, 0};
    no_end.len = 6;
    TornadoRow misses = row(2);
    misses.f = {1, 3, 0, 0};  // the record says both; the line stays in 40001
    misses.len = 6;
    track(misses, {2, 5}, {8, 5});
    TornadoRow follows = row(2);
    follows.f = {1, 3, 0, 0};
    follows.len = 12;  // recorded length, not the drawn line's, is what is shared
    track(follows, {8, 5}, {12, 5});
    auto m = assign_tornadoes({no_end, misses, follows}, counties, s);
    // 40001: 3 + 3 + 6 miles over 3 tornadoes; 40003 the same.
    EXPECT_NEAR(average_length_ft(m.at("40001"), 2), 4 * 5280.0, 1e-6);
    EXPECT_NEAR(average_length_ft(m.at("40003"), 2), 4 * 5280.0, 1e-6);
    EXPECT_EQ(s.pieces_by_rule[ShareRule::NoEndEqual], 1);
    EXPECT_EQ(s.pieces_by_rule[ShareRule::Equal], 1);
    EXPECT_EQ(s.pieces_by_rule[ShareRule::ByTrack], 1);
}

TEST_F(Fixture, SharesAddUpToEachTornadosRecordedLengthOnce) {
    // Whatever the rule, summed over counties as a region pools them
    // (average x count), every tornado's length counts exactly once.
    std::vector<TornadoRow> rs;
    double want = 0;
    for (int i = 0; i < 12; ++i) {
        TornadoRow r = row(4);
        r.len = 1 + i;
        if (i % 3 == 0) r.f = {1, 3, 0, 0};
        if (i % 4 == 1) r.ns = 2, r.sn = 0;
        track(r, {1.0 + i * 0.7, 1.0 + i * 1.3}, {18.5 - i * 0.9, 3.0 + i * 1.4});
        want += r.len * 5280;
        rs.push_back(r);
    }
    TornadoRow unknown_length = row(4, 1);
    unknown_length.len = 0;
    rs.push_back(unknown_length);
    auto m = assign_tornadoes(rs, counties, s);
    double got = 0, entries = 0;
    for (const auto& [fips, c] : m) {
        if (average_length_ft(c, 4) > 0) got += average_length_ft(c, 4) * c.count[4];
        entries += c.count[4];
    }
    EXPECT_NEAR(got, want, 1e-6 * want);
    EXPECT_GT(entries, 13) << "tornadoes still count in every county they touched";
}

TEST_F(Fixture, SingleStateRowWithoutCodesStaysInItsOwnState) {
    TornadoRow r = row(0);
    track(r, {5, 5}, {5, 15});  // the line reaches Kansas, but the row is Oklahoma's alone
    auto m = assign_tornadoes({r}, counties, s);
    EXPECT_EQ(m.at("40001").count[0], 1);
    EXPECT_EQ(total(m, "20001"), 0);
}

TEST_F(Fixture, WholeTrackRowCountsInEveryStateItCrosses) {
    // The record keeps no per-state segment rows, so the whole-track row is
    // the only trace of the tornado in the second state.
    TornadoRow r = row(4);
    r.ns = 2;
    r.sn = 0;
    track(r, {5, 5}, {5, 15});
    auto m = assign_tornadoes({r}, counties, s);
    EXPECT_EQ(m.at("40001").count[4], 1);
    EXPECT_EQ(m.at("20001").count[4], 1);
    EXPECT_EQ(total(m, "40003") + total(m, "20003"), 0);
    EXPECT_EQ(s.whole_track_other_states, 1);
}

TEST_F(Fixture, MissingEndPointUsesTheStartAndNearMissesTakeTheNearestCounty) {
    TornadoRow point = row(1);
    point.elat = point.elon = 0;  // no end point recorded
    TornadoRow offshore = row(1);
    LonLat just_out = lonlat_at({base.x + 25, base.y + 5});  // 5 miles east of 40003
    offshore.slat = just_out.lat;
    offshore.slon = just_out.lon;
    TornadoRow far = row(1);
    LonLat away = lonlat_at({base.x + 60, base.y + 5});
    far.slat = away.lat;
    far.slon = away.lon;
    auto m = assign_tornadoes({point, offshore, far}, counties, s);
    EXPECT_EQ(m.at("40001").count[1], 1);
    EXPECT_EQ(m.at("40003").count[1], 1);
    EXPECT_EQ(s.by_nearest, 1);
    EXPECT_EQ(s.no_county, 1);
}

TEST_F(Fixture, HoursMoveToEasternStandardTimeAcrossMidnight) {
    TornadoRow late = row(2, 1);
    late.hour = 23;  // 23 Central is 0 Eastern
    TornadoRow mountain = row(2, 1);
    mountain.hour = 22;
    mountain.tz = "America/Denver";  // 22 Mountain is 0 Eastern
    TornadoRow utc = row(2, 1);
    utc.hour = 3;
    utc.tz = "UTC";  // 3 UTC is 22 Eastern the day before
    auto m = assign_tornadoes({late, mountain, utc}, counties, s);
    EXPECT_EQ(m.at("40001").hourly[2][0], 2);
    EXPECT_EQ(m.at("40001").hourly[2][22], 1);
    EXPECT_EQ(*est_hour(15, "America/Chicago"), 16);
    EXPECT_FALSE(est_hour(15, "America/Phoenix").has_value());
    EXPECT_FALSE(est_hour(24, "UTC").has_value());
}

TEST_F(Fixture, AveragesAreTheCountySharesOverTheClassCount) {
    TornadoRow a = row(1, 1);
    a.len = 1;
    a.wid = 100;
    TornadoRow b = row(1, 1);
    b.len = 3;
    b.wid = 300;
    TornadoRow unknown_width = row(1, 1);
    unknown_width.len = 2;
    unknown_width.wid = 0;
    TornadoRow other_class = row(3, 1);
    other_class.len = 50;
    auto m = assign_tornadoes({a, b, unknown_width, other_class}, counties, s);
    const CountyTornado& c = m.at("40001");
    EXPECT_EQ(c.count[1], 3);
    EXPECT_DOUBLE_EQ(average_length_ft(c, 1), (1 + 3 + 2) * 5280.0 / 3);
    // (1 mi x 100 yd + 3 mi x 300 yd) over all three: the one of unknown width adds no area
    double acres_a = 1 * 5280.0 * 300 / 43560, acres_b = 3 * 5280.0 * 900 / 43560;
    EXPECT_DOUBLE_EQ(average_acres(c, 1), (acres_a + acres_b) / 3);
    EXPECT_DOUBLE_EQ(average_length_ft(c, 0), 0) << "no tornado of the class: 0";

    TornadoRow no_len = row(5, 3);
    no_len.len = 0;
    auto m2 = assign_tornadoes({no_len}, counties, s);
    EXPECT_EQ(average_length_ft(m2.at("40003"), 5), -9) << "length not recorded for any of the class";
}

TEST_F(Fixture, UnknownRatingsCountInF0) {
    TornadoRow r = row(-1, 1);
    auto m = assign_tornadoes({r, row(0, 1)}, counties, s);
    EXPECT_EQ(m.at("40001").count[0], 2);
    EXPECT_EQ(m.at("40001").hourly[0][16], 2);
    EXPECT_DOUBLE_EQ(average_length_ft(m.at("40001"), 0), 2 * 5280.0);
    EXPECT_EQ(s.unknown_rating, 1);
}

TEST_F(Fixture, SpcOwnFormatGathersStateSegmentsAndFurtherCounties) {
    LonLat ok = lonlat_at({base.x + 5, base.y + 5}), ks = lonlat_at({base.x + 5, base.y + 15});
    char a[64], b[64];
    std::snprintf(a, sizeof a, "%.4f,%.4f", ok.lat, ok.lon);
    std::snprintf(b, sizeof b, "%.4f,%.4f", ks.lat, ks.lon);
    const std::string A = a, B = b;
    std::string text =
        "\xEF\xBB\xBFom,yr,mo,dy,date,time,tz,st,stf,stn,mag,inj,fat,loss,closs,slat,slon,elat,elon,len,wid,ns,sn,sg,"
        "f1,f2,"
        "f3,f4,fc\r\n"
        // one state, no rating, a further county on a continuation row
        "11,2023,01,02,2023-01-02,11:47:00,3,OK,40,0,-9,0,0,0,0," +
        A +
        ",0,0,4.0,100,1,1,1,1,0,0,0,0\n"
        "11,2023,01,02,2023-01-02,11:47:00,3,OK,40,0,0,0,0,0,0,0,0,0,0,0,0,1,0,-9,3,0,0,0,0\n"
        // two states: the whole track, then each state's segment
        "12,2023,01,02,2023-01-02,23:10:00,0,OK,40,0,2,0,0,0,0," +
        A + "," + B +
        ",10.0,200,2,0,1,0,0,0,0,0\n"
        "12,2023,01,02,2023-01-02,23:10:00,0,OK,40,0,2,0,0,0,0," +
        A +
        ",0,0,6.0,200,2,1,2,1,0,0,0,0\n"
        "12,2023,01,02,2023-01-02,23:20:00,0,KS,20,0,2,0,0,0,0," +
        B +
        ",0,0,3.0,150,2,1,2,1,0,0,0,0\n"
        // a continuation row whose tornado is not in the file
        "99,2023,01,02,2023-01-02,12:00:00,3,OK,40,0,0,0,0,0,0,0,0,0,0,0,0,1,0,-9,3,0,0,0,0\n";
    namespace fs = std::filesystem;
    fs::path file = fs::temp_directory_path() / "refdata_2023_torn.csv";
    std::ofstream(file, std::ios::binary) << text;
    RecordSource src = read_record_file(file.string(), s);
    fs::remove(file);
    EXPECT_EQ(src.name, "refdata_2023_torn.csv");
    ASSERT_EQ(src.tornadoes.size(), 2u);
    EXPECT_EQ(s.orphan_rows, 1);
    EXPECT_EQ(s.zone_assumed, 1) << "zone code 0 is read as Central";
    const Tornado& one = src.tornadoes[0];
    EXPECT_EQ(one.whole.mag, -1);
    EXPECT_EQ(one.whole.tz, "America/Chicago");
    ASSERT_EQ(one.pieces.size(), 1u);
    EXPECT_EQ(one.pieces[0].codes.size(), 8u) << "f1..f4 of the row and of its continuation row";
    ASSERT_EQ(src.tornadoes[1].pieces.size(), 2u);

    auto m = assign_tornadoes(src.tornadoes, counties, s);
    // The unrated tornado: F0, in both listed counties, 2 miles each (no end point).
    EXPECT_EQ(m.at("40001").count[0], 1);
    EXPECT_EQ(m.at("40003").count[0], 1);
    EXPECT_DOUBLE_EQ(average_length_ft(m.at("40003"), 0), 2 * 5280.0);
    // The two-state tornado: its recorded 10 miles shared 6 : 3 by the segments,
    // its recorded width (200 yd) for both; 23:10 Central is hour 0 Eastern.
    EXPECT_EQ(m.at("40001").count[2], 1);
    EXPECT_EQ(m.at("20001").count[2], 1);
    EXPECT_NEAR(average_length_ft(m.at("40001"), 2), 10 * 5280.0 * 6 / 9, 1e-6);
    EXPECT_NEAR(average_length_ft(m.at("20001"), 2), 10 * 5280.0 * 3 / 9, 1e-6);
    EXPECT_NEAR(average_acres(m.at("20001"), 2), 10 * 5280.0 * 3 / 9 * 600 / 43560, 1e-6);
    EXPECT_EQ(m.at("20001").hourly[2][0], 1);
    EXPECT_EQ(s.segmented, 1);
}

TEST(TornadoRecord, LaterFilesReplaceTheYearsTheyHold) {
    auto tornado = [](int yr, int om, double len) {
        Tornado t;
        t.whole.yr = yr;
        t.whole.om = om;
        t.whole.mag = 1;
        t.whole.len = len;
        return t;
    };
    RecordSource cleaned{"cleaned", {tornado(2021, 1, 1), tornado(2022, 1, 2), tornado(2022, 2, 4)}};
    RecordSource yearly{"2022_torn.csv", {tornado(2022, 1, 2), tornado(2022, 2, 4), tornado(2022, 3, 8)}};
    RecordSource next{"2023_torn.csv", {tornado(2023, 1, 16)}};
    TornadoSummary s;
    std::vector<Tornado> all = merge_sources({cleaned, next, yearly}, s);
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(s.replaced, 2) << "the cleaned copy's 2022 gives way to the yearly file";
    EXPECT_EQ(all.front().whole.yr, 2021);
    EXPECT_EQ(all.back().whole.yr, 2023) << "in year order whatever the order of the files";
    EXPECT_EQ(s.record_years(), 3);
    add_raw_totals(all, s);
    EXPECT_DOUBLE_EQ(s.raw_len_ft[1], (1 + 2 + 4 + 8 + 16) * 5280.0) << "each tornado once";

    TornadoSummary gap;
    EXPECT_THROW(merge_sources({cleaned, RecordSource{"2024_torn.csv", {tornado(2024, 1, 1)}}}, gap), Error);
    EXPECT_THROW(merge_sources({}, gap), Error);
}

TEST(TornadoRecord, ParsesRowsAndCountsWhatItDrops) {
    const std::string head =
        "om,yr,mo,dy,date,time,tz,datetime_utc,st,stf,mag,inj,fat,loss,slat,slon,elat,elon,len,wid,ns,sn,f1,f2,f3,f4,"
        "fc\n";
    const std::string ok =
        "192,1950,10,1,1950-10-01,21:00:00,America/Chicago,1950-10-02T03:00:00Z,OK,40,1,0,0,50000,36.73,-102.52,36.88,"
        "-102.3,15.8,10,1,1,25,0,0,0,FALSE\n";
    std::string text = head + ok + ok +
                       "5,1951,1,1,1951-01-01,09:30:00,UTC,x,TX,48,NA,0,0,NA,30,-97,0,0,1,10,1,1,1,0,0,0,FALSE\n"
                       "6,1951,1,1,1951-01-01,xx,UTC,x,TX,48,1,0,0,NA,30,-97,0,0,1,10,1,1,1,0,0,0,FALSE\n"
                       "7,1951,1,1\n"
                       "8,1951,1,1,1951-01-01,10:00:00,UTC,x,TX,48,7,0,0,NA,30,-97,0,0,1,10,1,1,1,0,0,0,FALSE\n";
    TornadoSummary s;
    auto rows = parse_tornadoes(text, s);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(s.rows_read, 6);
    EXPECT_EQ(s.duplicates, 1);
    EXPECT_EQ(s.malformed, 3);
    EXPECT_EQ(rows[0].hour, 21);
    EXPECT_EQ(rows[0].f[0], 25);
    EXPECT_DOUBLE_EQ(rows[0].elon, -102.3);
    EXPECT_EQ(rows[1].mag, -1);
    EXPECT_EQ(rows[1].hour, 9);
    EXPECT_THROW(parse_tornadoes("om,yr\n1,2\n", s), Error);
    EXPECT_THROW(parse_tornadoes("", s), Error);
}

TEST(TornadoRecord, OldCountyCodesMapToTodays) {
    EXPECT_EQ(current_fips("12025"), "12086");
    EXPECT_EQ(current_fips("46113"), "46102");
    EXPECT_EQ(current_fips("02270"), "02158");
    EXPECT_EQ(current_fips("51515"), "51019");
    EXPECT_EQ(current_fips("40109"), "40109");
}

TEST(CountyNames, CityThatSharesACountyNameGetsTheSuffix) {
    auto county = [](int st, int code, const char* state, const char* name) {
        County c;
        c.state_fips = st;
        c.cnty_fips = code;
        char f[8];
        std::snprintf(f, sizeof f, "%02d%03d", st, code);
        c.fips = f;
        c.state_name = state;
        c.name = name;
        return c;
    };
    std::vector<County> cs = {county(24, 5, "Maryland", "Baltimore"),    county(24, 510, "Maryland", "Baltimore"),
                              county(51, 59, "Virginia", "Fairfax"),     county(51, 600, "Virginia", "Fairfax"),
                              county(51, 510, "Virginia", "Alexandria"), county(32, 510, "Nevada", "Carson City")};
    std::map<std::string, std::string> gaz = {{"24005", "Baltimore County"},
                                              {"24510", "Baltimore city"},
                                              {"51510", "Alexandria city"},
                                              {"51059", "Fairfax County"}};
    apply_city_rule(cs, gaz);  // 51600 has no gazetteer name: its code (>= 500) decides
    EXPECT_EQ(cs[0].name, "Baltimore");
    EXPECT_EQ(cs[1].name, "Baltimore city");
    EXPECT_EQ(cs[2].name, "Fairfax");
    EXPECT_EQ(cs[3].name, "Fairfax city");
    EXPECT_EQ(cs[4].name, "Alexandria") << "no county of that name: left as it is";
    EXPECT_EQ(cs[5].name, "Carson City");

    std::vector<County> clash = {county(1, 1, "Alabama", "Same"), county(1, 3, "Alabama", "Same")};
    EXPECT_THROW(apply_city_rule(clash, {}), Error);
}

TEST(TimeZones, StateZonesAndCountyExceptions) {
    auto is = [](int st, int co, const char* zone, int dst) {
        TimeZoneRule r = time_zone_of(st, co);
        return std::string(r.zone) == zone && r.daylitsave == dst;
    };
    EXPECT_TRUE(is(40, 109, "Central Standard Time", 1));
    EXPECT_TRUE(is(4, 13, "Mountain Standard Time", 0));
    EXPECT_TRUE(is(12, 33, "Central Standard Time", 1));
    EXPECT_TRUE(is(12, 86, "Eastern Standard Time", 1));
    EXPECT_TRUE(is(21, 111, "Eastern Standard Time", 1));  // Jefferson KY
    EXPECT_TRUE(is(21, 227, "Central Standard Time", 1));  // Warren KY
    EXPECT_TRUE(is(2, 16, "Hawaii-Aleutian Standard Time", 1));
    EXPECT_TRUE(is(66, 10, "Guam Standard Time", 0));
    EXPECT_TRUE(is(60, 50, "Samoan Standard Time", 0));
    EXPECT_TRUE(is(72, 127, "Atlantic Standard Time", 0));
    EXPECT_EQ(zone_of_olson("America/Indiana/Tell_City"), "Central Standard Time");
    EXPECT_EQ(zone_of_olson("America/Kentucky/Monticello"), "Eastern Standard Time");
    EXPECT_FALSE(zone_of_olson("Europe/Paris").has_value());
}

TEST(Geometry, ProjectionIsEqualAreaAndTrueToScaleLocally) {
    // One degree of latitude near Oklahoma City is about 69.0 miles.
    Pt a = project(Region::Conus, {-97.5, 35}), b = project(Region::Conus, {-97.5, 36});
    EXPECT_NEAR(std::hypot(b.x - a.x, b.y - a.y), 69.0, 0.7);
    // Alaska longitudes east of 180 continue the map westwards.
    Pt west = project(Region::Alaska, {179.5, 52}), east = project(Region::Alaska, {-179.5, 52});
    EXPECT_LT(west.x, east.x);
    EXPECT_LT(east.x - west.x, 50);
}

TEST(Geometry, HolesAndTouchingTracks) {
    MultiPolygon donut = {Polygon{{Ring{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, Ring{{4, 4}, {6, 4}, {6, 6}, {4, 6}}}}};
    EXPECT_TRUE(contains(donut, {1, 1}));
    EXPECT_FALSE(contains(donut, {5, 5}));
    EXPECT_DOUBLE_EQ(area(donut), 96);
    Box b = extent(donut);
    EXPECT_TRUE(track_hits(donut, b, {5, 5}, {5, 20}));
    EXPECT_FALSE(track_hits(donut, b, {5, 4.5}, {5, 5.5}));
    EXPECT_FALSE(track_hits(donut, b, {20, 20}, {30, 30}));
    Pt c = centroid(donut);
    EXPECT_NEAR(c.x, 5, 1e-9);
    EXPECT_NEAR(c.y, 5, 1e-9);
}

TEST(Geometry, TrackLengthInsideACountyLeavesOutItsHolesAndSurvivesABowTie) {
    County donut, bow;
    donut.shape = {Polygon{{Ring{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, Ring{{4, 4}, {6, 4}, {6, 6}, {4, 6}}}}};
    donut.box = extent(donut.shape);
    // A ring that crosses itself, as a simplified boundary can: two triangles meeting at (5, 5).
    bow.shape = {Polygon{{Ring{{20, 0}, {30, 10}, {30, 0}, {20, 10}}}}};
    bow.box = extent(bow.shape);
    TrackClipper clip({donut, bow});
    EXPECT_NEAR(clip.inside(0, {-5, 5}, {15, 5}), 8, 1e-9) << "10 across, less 2 of hole";
    EXPECT_NEAR(clip.inside(0, {2, 2}, {3, 2}), 1, 1e-9);
    EXPECT_EQ(clip.inside(0, {20, 20}, {30, 30}), 0);
    EXPECT_EQ(clip.inside(0, {5, 5}, {5, 5}), 0) << "a point has no length";
    EXPECT_NEAR(clip.inside(1, {20, 2}, {30, 2}), 4, 1e-9) << "2 in each triangle";
}

TEST(RawInputs, MalformedFilesGiveClearErrors) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "refdata_bad_inputs";
    fs::create_directories(dir);
    auto write = [&](const char* name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return (dir / name).string();
    };
    EXPECT_THROW(read_topology(write("a.json", "{not json")), Error);
    EXPECT_THROW(read_topology(write("b.json", "{\"arcs\": []}")), Error);
    EXPECT_THROW(read_topology(write("c.json",
                                     "{\"transform\":{\"scale\":[1,1],\"translate\":[0,0]},\"arcs\":[],"
                                     "\"objects\":{\"states\":{\"geometries\":[{\"type\":\"Polygon\",\"id\":\"01\","
                                     "\"properties\":{\"name\":\"A\"},\"arcs\":[[5]]}]}}}")),
                 Error);
    EXPECT_THROW(read_zip_entry(write("d.zip", "PK not really"), ".csv"), Error);
    EXPECT_THROW(read_zip_entry((dir / "missing.zip").string(), ".csv"), Error);
    EXPECT_THROW(read_gazetteer(write("e.txt", "AL|01001|x\n")), Error);
    EXPECT_THROW(read_gazetteer(write("f.txt", "AL|01001|1|A|1|2|abc|3|30|-86\n")), Error);
    fs::remove_all(dir);
}

TEST(RawInputs, CsvFieldsWithQuotes) {
    auto f = split_csv("a,\"b, c\",\"say \"\"hi\"\"\",\r");
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[1], "b, c");
    EXPECT_EQ(f[2], "say \"hi\"");
    EXPECT_EQ(f[3], "");
}

}  // namespace
