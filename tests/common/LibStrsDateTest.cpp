// Date checks, eight-digit dates and relative dates (the date styles are
// DateStyleTest.cpp's).

#include "common/LibStrs.h"

#include "runtime/system/DateTime.h"

#include <gtest/gtest.h>

namespace {
double day(int y, int m, int d)
{
    return datetime::EncodeDate(y, m, d);
}
} // namespace

TEST(LibStrsDates, ParsingAndChecks)
{
    EXPECT_EQ(ParseDate8("20000229"), day(2000, 2, 29));
    for (const char* bad :
        {"2011102", "201110288", "19000229", "00001028", "20111000", "2011-1-5", " 2011102"})
        EXPECT_EQ(ParseDate8(bad), 0) << bad;
    EXPECT_TRUE(IsValidSqlDate(""));
    EXPECT_TRUE(IsValidSqlDate("17530101"));
    EXPECT_FALSE(IsValidSqlDate("17521231"));
    EXPECT_FALSE(IsValidSqlDate("20110230"));
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2011, 13), 0);
}

TEST(LibStrsDates, ShiftingAndRelativeDates)
{
    EXPECT_EQ(ShiftDate("20110131", "M", 1), "20110228");
    EXPECT_EQ(ShiftDate("20110115", "m", -13), "20091215");
    EXPECT_EQ(ShiftDate("20111215", "M", 12), "20121215");
    EXPECT_EQ(ShiftDate("20080229", "Y", 1), "20090228");
    EXPECT_EQ(ShiftDate(Variant::FromDate(day(2011, 10, 28) + 0.75), "d", 4), "20111101");
    for (const Variant& none : {Variant("20110230"), Variant::FromDate(0), Variant(40000), Variant()})
        EXPECT_EQ(ShiftDate(none, "D", 1), "") << none.DebugText().toStdString();
    EXPECT_EQ(ShiftDate("20111028", "W", 1), "");
    EXPECT_EQ(ShiftDate("99991231", "D", 1), "");
    EXPECT_EQ(ShiftDate("00010115", "M", -1), "");
    EXPECT_EQ(ShiftDate("20111028", "M", 2000000000), "");

    // 26 October 2011 is a Wednesday.
    EXPECT_EQ(RelativeDate("20111026", "0", "0", "0", "1"), "20111023");
    EXPECT_EQ(RelativeDate("20111026", "0", "0", "0", "2"), "20111029");
    EXPECT_EQ(RelativeDate("20111026", "-1", "0", "0", "1"), "20111016");
    EXPECT_EQ(RelativeDate("20111026", "1", "0", "-2", "0"), "20111031");
    EXPECT_EQ(RelativeDate("20111026", "1", "1", "5", "0"), "20111201");
    EXPECT_EQ(RelativeDate("20120131", "1", "1", "0", "2"), "20120229");
    EXPECT_EQ(RelativeDate("20111026", "-1", "1", "0", "1"), "20110901");
    EXPECT_EQ(RelativeDate("201101", " -1", "1", "0", "0"), "201012");
    EXPECT_EQ(RelativeDate("not a date", "0", "1", "0", "1"), "");
    EXPECT_THROW(RelativeDate("20111026", "one", "0", "0", "0"), EConvertError);
    EXPECT_THROW(RelativeDate("20111026", "0", "0", "0", ""), EConvertError);
    EXPECT_THROW(RelativeDate("20111026", "0", "1", "1.5", "0"), EConvertError);
}

TEST(LibStrsDates, RelativeDateRefusesABrokenNumberTheRuleDoesNotUse)
{
    // Each rule shape with a bad text in the one number it ignores: the day
    // offset of a month-start rule, of a week-boundary rule, of a month base;
    // the anchor of a month base.
    const struct {
        const char* base;
        const char* offset;
        const char* monthMode;
        const char* dayOffset;
        const char* anchor;
    } rules[] = {
        {"20111026", "-1", "1", "", "1"},
        {"20111026", "-1", "1", "x", "2"},
        {"20111026", "0", "0", "", "1"},
        {"20111026", "0", "0", "two", "2"},
        {"201101", "-1", "1", "x", "0"},
        {"201101", "-1", "1", "0", ""},
        {"201101", "-1", "0", "0", "x"},
    };
    for (const auto& r : rules)
        EXPECT_THROW(RelativeDate(r.base, r.offset, r.monthMode, r.dayOffset, r.anchor), EConvertError)
            << r.base << " " << r.offset << " " << r.monthMode << " [" << r.dayOffset << "] [" << r.anchor
            << "]";
}

TEST(LibStrsDates, TheDateWhoseDayNumberIsZeroIsARealDate)
{
    EXPECT_TRUE(IsValidSqlDate("18991230"));
    EXPECT_TRUE(IsValidSqlDate("18991229"));
    EXPECT_TRUE(IsValidSqlDate("18991231"));
    EXPECT_TRUE(IsValidSqlDate("99991231"));
    EXPECT_FALSE(IsValidSqlDate("18991232"));
    EXPECT_FALSE(IsValidSqlDate("1899123"));
    // ParseDate8 still answers 0 for it: 0 is both that day and "no date".
    EXPECT_EQ(ParseDate8("18991230"), 0);
}

TEST(LibStrsDates, WeekdayTokens)
{
    EXPECT_EQ(WeekdayToken("2011/10/28", 4), "<五>");
    EXPECT_EQ(WeekdayToken("2011/10/28", 1), "<FRI>");
    EXPECT_EQ(WeekdayToken(" 20111030 ", 3), "<SUN>");
    EXPECT_EQ(WeekdayToken("2011-10-28", 1), "<   >");
    EXPECT_EQ(WeekdayToken("20110230", 5), "    ");
}
