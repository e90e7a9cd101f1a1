#include "model/occupancy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace verrane::model;

namespace {
std::array<std::optional<float>, 24> Hours(float v) {
    std::array<std::optional<float>, 24> a;
    a.fill(v);
    return a;
}
std::array<std::optional<float>, 24> Ramp() {  // entry h = h + 1, so each lands recognisably
    std::array<std::optional<float>, 24> a;
    for (int h = 0; h < 24; ++h) a[h] = static_cast<float>(h + 1);
    return a;
}
}  // namespace

TEST(Rounding, HalvesGoToEven) {
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(3.5), 4.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
    EXPECT_EQ(RoundHalfEven(2.4999), 2.0);
    EXPECT_EQ(RoundHalfEven(-0.4), 0.0);
    EXPECT_EQ(ToInt16HalfEven(32767.4), 32767);
    EXPECT_EQ(ToInt16HalfEven(-32768.5), -32768);
    EXPECT_THROW(ToInt16HalfEven(32767.5), std::overflow_error);
    EXPECT_THROW(ToInt16HalfEven(-32769), std::overflow_error);
    EXPECT_THROW(ToInt16HalfEven(std::nan("")), std::overflow_error);
}

TEST(Occupancy, TimeZoneOffsets) {
    EXPECT_EQ(TimeZoneOffset(0), -1);   // Atlantic
    EXPECT_EQ(TimeZoneOffset(1), 0);    // Eastern
    EXPECT_EQ(TimeZoneOffset(2), 1);    // Central
    EXPECT_EQ(TimeZoneOffset(7), 6);    // Samoa
    EXPECT_EQ(TimeZoneOffset(8), -15);  // Guam
    EXPECT_EQ(TimeZoneOffset(-1), -2);  // nothing selected
}

TEST(Occupancy, ShiftsToEasternStandardTime) {
    const auto local = Ramp();
    const auto eastern = ToEasternStandardTime(local, 1);
    for (int h = 0; h < 24; ++h) EXPECT_EQ(eastern[h], h + 1);

    const auto central = ToEasternStandardTime(local, 2);
    EXPECT_EQ(central[0], 24);  // 11 pm
    EXPECT_EQ(central[1], 1);   // 12 am

    const auto guam = ToEasternStandardTime(local, 8);
    EXPECT_EQ(guam[0], 16);  // 3 pm
    EXPECT_EQ(guam[9], 1);   // 12 am

    const auto atlantic = ToEasternStandardTime(local, 0);
    EXPECT_EQ(atlantic[23], 1);

    const auto none = ToEasternStandardTime(local, -1);
    EXPECT_EQ(none[22], 1);
}

TEST(Occupancy, EmptyAndNegativeEntriesLeaveZero) {
    auto local = Hours(5);
    local[3].reset();
    local[4] = -1.0f;
    const auto est = ToEasternStandardTime(local, 1);
    EXPECT_EQ(est[3], 0);
    EXPECT_EQ(est[4], 0);
    EXPECT_EQ(est[5], 5);
}

TEST(Occupancy, OutOfTableIndexStaysInsideTheDay) {
    const auto local = Ramp();
    for (int idx : {-1000, -30, 9, 25, 1000}) {
        const auto est = ToEasternStandardTime(local, idx);
        float sum = 0;
        for (float v : est) sum += v;
        EXPECT_EQ(sum, 300) << idx;  // every entry landed somewhere, once
    }
}

TEST(Occupancy, DaylightSavingAveragesRoundedNeighbours) {
    std::array<float, 24> est;
    est.fill(10);
    est[13] = 40;
    const auto avg = AverageDaylightSaving(est);
    EXPECT_EQ(avg[12], 27.5f);
    EXPECT_EQ(avg[13], 22.5f);
    for (int e = 0; e < 24; ++e) {
        if (e != 12 && e != 13) {
            EXPECT_EQ(avg[e], 10.0f) << e;
        }
    }

    std::array<float, 24> halves;
    halves.fill(2.5f);  // rounded to 2 before averaging
    EXPECT_EQ(AverageDaylightSaving(halves)[5], 2.0f);
    halves.fill(3.5f);  // rounded to 4
    EXPECT_EQ(AverageDaylightSaving(halves)[5], 4.0f);

    std::array<float, 24> wrap{};
    wrap[0] = 12;  // hour 23 takes its neighbour from hour 0
    EXPECT_EQ(AverageDaylightSaving(wrap)[23], 7.0f);
}
