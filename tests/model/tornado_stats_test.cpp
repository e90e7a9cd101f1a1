#include "model/tornado_stats.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace verrane::model;

namespace {
TornadoRow Row(const std::string& fips, double years) {
    TornadoRow r;
    r.fips = fips;
    r.ryears = years;
    return r;
}
}  // namespace

TEST(TornadoStats, SingleCountyYieldsItsOwnRow) {
    TornadoRow r = Row("20173", 50);
    r.fcount = {10, 5, 2, 1, 0, 0};
    r.flenft = {1000, 2000, 3000, 4000, 5000, 6000};
    r.fac = {1, 2, 3, 4, 5, 6};
    r.fcnt[0][15] = 6;
    r.fcnt[0][16] = 4;
    TornadoStatsBuilder b;
    b.AddTornadoRow(r);
    EXPECT_EQ(b.Total(), 18);
    ASSERT_TRUE(b.NeedsCountyAreas());
    b.AddCountyArea({"20173", 1000}, "20173");
    b.AddCountyArea({"20015", 1400}, "20173");
    const TornadoStats s = b.Finish();
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(s.countByF[f], r.fcount[f]);
        EXPECT_DOUBLE_EQ(s.avgPathLengthByF[f], r.flenft[f]);
        EXPECT_DOUBLE_EQ(s.avgPathAreaByF[f], r.fac[f]);
    }
    // Classes without tornadoes keep 0 (no division by zero).
    EXPECT_EQ(s.avgPathLengthByF[4], 0);
    EXPECT_EQ(s.avgPathAreaByF[5], 0);
    EXPECT_EQ(s.recordYears, 50);
    EXPECT_EQ(s.sampleRegionArea, 2400);
    EXPECT_EQ(s.countyArea, 1000.0f);
    EXPECT_DOUBLE_EQ(s.hourlyFractionByF[0][15], 0.6);
    EXPECT_DOUBLE_EQ(s.hourlyFractionByF[0][16], 0.4);
    for (double v : s.hourlyFractionByF[1]) EXPECT_EQ(v, 0);  // no hourly counts: 24 zeros
}

TEST(TornadoStats, PoolsWeightedByCountAndSkipsMissingFields) {
    TornadoRow a = Row("01001", 45);
    a.fcount[2] = 4;
    a.flenft[2] = -9;  // no data: nothing added, the count still divides
    a.fac[2] = 10;
    a.fcnt[2][0] = -1;
    a.fcnt[2][1] = 3;
    TornadoRow b = Row("01003", 99);  // later RYEARS are ignored
    b.fcount[2] = 6;
    b.flenft[2] = 1000;
    b.fac[2] = 20;
    b.fcnt[2][0] = 1;
    b.fcount[0] = -9;
    b.fcnt[2][5] = 0;
    TornadoStatsBuilder builder;
    builder.AddTornadoRow(a);
    builder.AddTornadoRow(b);
    builder.AddCountyArea({"01001", -9}, "01003");  // negative area adds nothing
    builder.AddCountyArea({"01003", 600}, "01003");
    const TornadoStats s = builder.Finish();
    EXPECT_EQ(s.recordYears, 45);
    EXPECT_EQ(s.countByF[2], 10);
    EXPECT_EQ(s.countByF[0], 0);
    EXPECT_DOUBLE_EQ(s.avgPathLengthByF[2], 6000.0 / 10);
    EXPECT_DOUBLE_EQ(s.avgPathAreaByF[2], (40.0 + 120.0) / 10);
    EXPECT_DOUBLE_EQ(s.hourlyFractionByF[2][0], 0.25);
    EXPECT_DOUBLE_EQ(s.hourlyFractionByF[2][1], 0.75);
    EXPECT_EQ(s.sampleRegionArea, 600);
    EXPECT_EQ(s.countyArea, 600.0f);
}

TEST(TornadoStats, RawCountMultipliesEvenWhenNegative) {
    TornadoRow r = Row("01001", 10);
    r.fcount = {-9, 2, 0, 0, 0, 0};
    r.flenft = {100, 50, 0, 0, 0, 0};
    TornadoStatsBuilder b;
    b.AddTornadoRow(r);
    const TornadoStats s = b.Finish();
    EXPECT_EQ(s.countByF[0], 0);
    EXPECT_EQ(s.avgPathLengthByF[0], -900);  // kept as the raw sum: class has no count
    EXPECT_EQ(s.avgPathLengthByF[1], 50);
}

TEST(TornadoStats, CountyAreaMatchesTheFullFips) {
    TornadoRow r = Row("05001", 10);
    r.fcount[0] = 1;
    TornadoStatsBuilder b;
    b.AddTornadoRow(r);
    b.AddCountyArea({"05001", 700}, "05001");
    b.AddCountyArea({"29001", 500}, "05001");  // same county code, other state
    const TornadoStats s = b.Finish();
    EXPECT_EQ(s.countyArea, 700.0f);
    EXPECT_EQ(s.sampleRegionArea, 1200);
}

TEST(TornadoStats, NoTornadoesKeepsRawHourlySumsAndNoAreas) {
    TornadoStatsBuilder empty;
    EXPECT_EQ(empty.Total(), 0);
    EXPECT_FALSE(empty.NeedsCountyAreas());
    const TornadoStats e = empty.Finish();
    EXPECT_EQ(e.recordYears, 0);
    EXPECT_EQ(e.countByF[0], 0);

    TornadoRow r = Row("48001", 30);
    r.fcnt[1][3] = 2;  // hourly counts without class counts
    TornadoStatsBuilder b;
    b.AddTornadoRow(r);
    EXPECT_FALSE(b.NeedsCountyAreas());
    b.AddCountyArea({"48001", 900}, "48001");  // ignored when no tornadoes
    const TornadoStats s = b.Finish();
    EXPECT_EQ(s.hourlyFractionByF[1][3], 2);
    EXPECT_EQ(s.sampleRegionArea, 0);
    EXPECT_EQ(s.countyArea, 0);
    EXPECT_EQ(s.recordYears, 30);
}

TEST(TornadoStats, TotalBeyondSixteenBits) {
    TornadoStatsBuilder b;
    for (int c = 0; c < 254; ++c) {
        TornadoRow r = Row("48" + std::to_string(100 + c), 60);
        r.fcount = {100, 40, 10, 2, 1, 0};
        b.AddTornadoRow(r);
    }
    EXPECT_EQ(b.Total(), 254LL * 153);
    EXPECT_GT(b.Total(), 32767);
    EXPECT_EQ(b.Finish().countByF[0], 25400);
}

TEST(TornadoStats, RecordYearsOutOfRangeIsAnError) {
    TornadoStatsBuilder b;
    EXPECT_THROW(b.AddTornadoRow(Row("01001", 40000)), std::overflow_error);
    TornadoStatsBuilder c;
    c.AddTornadoRow(Row("01001", 44.5));
    EXPECT_EQ(c.Finish().recordYears, 44);
}
