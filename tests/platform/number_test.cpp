#include <gtest/gtest.h>

#include <cmath>

#include "platform/number.h"

using namespace verrane::platform;

TEST(Numeric, AcceptsWhatAnalystsType) {
    for (const char* s : {"25", " 25 ", "-3", "+4.5", ".5", "5.", "1e3", "1.5E-2", "100,000", "2,200,000.50", "0"})
        EXPECT_TRUE(IsNumeric(s)) << s;
    EXPECT_DOUBLE_EQ(CDbl("100,000"), 100000.0);
    EXPECT_DOUBLE_EQ(CDbl(" -1.5e2 "), -150.0);
}

TEST(Numeric, RejectsEverythingElse) {
    for (const char* s :
         {"", " ", "abc", "1a", "-", ".", "1e", "1e+", ",5", "1.2.3", "nan", "inf", "1e400", "5-", "0x10", "1 000"})
        EXPECT_FALSE(IsNumeric(s)) << s;
    EXPECT_THROW(CDbl("x"), ConversionError);
}

TEST(Conversions, SixteenBitHalvesToEven) {
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(0.6), 1);
    EXPECT_EQ(CInt(0.4), 0);
    EXPECT_EQ(CInt(std::string_view("12.5")), 12);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_THROW(CInt(32767.5), ConversionError);  // rounds to 32768
    EXPECT_THROW(CInt(-32769.0), ConversionError);
    EXPECT_THROW(CInt(std::nan("")), ConversionError);
}

TEST(Conversions, SinglePrecisionGoesThroughDouble) {
    EXPECT_EQ(CSng("0.03"), 0.03f);
    EXPECT_EQ(CSng("7"), 7.0f);
    EXPECT_THROW(CSng("1e39"), ConversionError);
}

TEST(Format, WholeDollarsWithGrouping) {
    EXPECT_EQ(FormatNumber(1234567.4, "###,###,###,##0"), "1,234,567");
    EXPECT_EQ(FormatNumber(-1234567.6, "###,###,###,##0"), "-1,234,568");
    EXPECT_EQ(FormatNumber(0, "###,###,###,##0"), "0");
    EXPECT_EQ(FormatNumber(999.5, "###,###,##0"), "1,000");
    EXPECT_EQ(FormatNumber(7246.0, "###,###,##0"), "7,246");
    EXPECT_EQ(FormatNumber(100, "###,##0"), "100");
}

TEST(Format, DecimalsAndRoundingHalfAwayFromZero) {
    EXPECT_EQ(FormatNumber(1.0, "##0.00"), "1.00");
    EXPECT_EQ(FormatNumber(0.995, "##0.00"), "1.00");  // 0.995 is 0.99499999999999999556 in binary; 15 digits say .995
    EXPECT_EQ(FormatNumber(4.5, "##0.0"), "4.5");
    EXPECT_EQ(FormatNumber(38.25000005960464, "##0.0"), "38.3");
    EXPECT_EQ(FormatNumber(0.44999992549419, "##0.0"), "0.4");
    EXPECT_EQ(FormatNumber(0.05, "##0.0"), "0.1");
    EXPECT_EQ(FormatNumber(1234.5678, "###,###,###,##0.00"), "1,234.57");
    EXPECT_EQ(FormatNumber(0.0012345, "###,##0.00000"), "0.00123");
    EXPECT_EQ(FormatNumber(12.34567, "###,##0.0000"), "12.3457");
    EXPECT_EQ(FormatNumber(5, "00"), "05");
    EXPECT_EQ(FormatNumber(7, "000"), "007");
    EXPECT_EQ(FormatNumber(123456, "00"), "123456");
}

TEST(Format, NegativeValuesKeepTheirSign) {
    EXPECT_EQ(FormatNumber(-5.25, "##0.00"), "-5.25");
    EXPECT_EQ(FormatNumber(-0.3, "###,###,###,##0"), "-0");
}

TEST(GeneralText, ShortestDigits) {
    EXPECT_EQ(GeneralText(25.0f), "25");
    EXPECT_EQ(GeneralText(37.5f), "37.5");
    EXPECT_EQ(GeneralText(0.6f), "0.6");
    EXPECT_EQ(GeneralText(0.3f), "0.3");
    EXPECT_EQ(GeneralText(85.0f), "85");
    EXPECT_EQ(GeneralText(-2.0f), "-2");
    EXPECT_EQ(GeneralText(0.0f), "0");
    EXPECT_EQ(GeneralText(1000000.0f), "1000000");
    EXPECT_EQ(GeneralText(0.0001f), "0.0001");
    EXPECT_EQ(GeneralText(112.3), "112.3");
    EXPECT_EQ(GeneralText(0.1 + 0.2), "0.3");
    EXPECT_EQ(GeneralText(146.0), "146");
}

TEST(Dates, LookLikeDates) {
    EXPECT_NE(ShortDate().find('/'), std::string::npos);
    EXPECT_GT(LongDate().size(), 8u);
}

TEST(Conversions, NumberBoxesTakeOnlyWhatTheirTypeHolds) {
    EXPECT_EQ(NumberRangeProblem("3.4028234e38", NumberKind::Single), "");
    EXPECT_NE(NumberRangeProblem("3.5e38", NumberKind::Single), "");
    EXPECT_NE(NumberRangeProblem("-1e39", NumberKind::Single), "");
    EXPECT_EQ(NumberRangeProblem("not a number", NumberKind::Single), "");  // IsNumeric's business
    EXPECT_EQ(NumberRangeProblem("32767.4", NumberKind::Whole16), "");
    EXPECT_EQ(NumberRangeProblem("-32768.5", NumberKind::Whole16), "");  // halves to even: -32768
    EXPECT_NE(NumberRangeProblem("32767.5", NumberKind::Whole16), "");   // 32768
    EXPECT_NE(NumberRangeProblem("1e39", NumberKind::Whole16), "");
}

TEST(Rounding, OneHalvesToEvenForModelAndConversions) {
    // platform's conversions and the model share the one helper.
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(3.5), 4.0);
    EXPECT_TRUE(std::isinf(RoundHalfEven(INFINITY)));
    // Each caller keeps its own overflow error.
    EXPECT_THROW(CInt(32767.5), ConversionError);
    EXPECT_EQ(CInt(-32768.5), -32768);
}
