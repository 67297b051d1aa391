// Date texts, date checks and relative dates.

#include "common/LibStrs.h"

#include "runtime/system/DateTime.h"

#include <gtest/gtest.h>

namespace {
double day(int y, int m, int d)
{
    return datetime::EncodeDate(y, m, d);
}
} // namespace

TEST(LibStrsDates, FormatsInTheFiveOrders)
{
    const double d = day(2011, 10, 8);
    EXPECT_EQ(FormatDateText(1, "/", d), "2011/10/08");
    EXPECT_EQ(FormatDateText(2, "-", d), "10-08-2011");
    EXPECT_EQ(FormatDateText(3, ".", d), "08.10.2011");
    EXPECT_EQ(FormatDateText(4, "/", d), "100/10/08");
    EXPECT_EQ(FormatDateText(5, "/", d), "100/10/08");
    EXPECT_EQ(FormatDateText(4, "/", day(1999, 1, 2)), "88/01/02");
    EXPECT_EQ(FormatDateText(5, "/", day(1999, 1, 2)), "088/01/02");
    // Only the first character separates; an empty separator gives none.
    EXPECT_EQ(FormatDateText(1, "年月", d), "2011年10年08");
    EXPECT_EQ(FormatDateText(1, "", d), "20111008");
    EXPECT_EQ(FormatDateText(1, "/", 0), "");
    EXPECT_EQ(FormatDateText(6, "/", d), "");
    EXPECT_EQ(FormatDateText(0, "/", d), "");

    EXPECT_EQ(FormatYearMonthText(1, "/", d), "2011/10");
    EXPECT_EQ(FormatYearMonthText(2, "/", d), "10/2011");
    EXPECT_EQ(FormatYearMonthText(3, "/", d), "10/2011");
    EXPECT_EQ(FormatYearMonthText(4, "/", day(1999, 1, 2)), "88/01");
    EXPECT_EQ(FormatYearMonthText(5, "/", day(1999, 1, 2)), "088/01");
    EXPECT_EQ(FormatYearMonthText(5, "/", 0), "");
    EXPECT_EQ(FormatYearMonthText(9, "/", d), "");
}

TEST(LibStrsDates, ParsingAndChecking)
{
    EXPECT_EQ(ParseDate8("20111028"), day(2011, 10, 28));
    EXPECT_EQ(ParseDate8("20000229"), day(2000, 2, 29));
    for (const char* bad : {"", "2011102", "201110288", "19000229", "20110230", "00001028", "20110028",
             "20111000", "2011-1-5", "+2011102", " 2011102", "2011102x", "２０１１1028"})
        EXPECT_EQ(ParseDate8(QString::fromUtf8(bad)), 0) << bad;

    EXPECT_TRUE(IsValidSqlDate(""));
    EXPECT_TRUE(IsValidSqlDate("17530101"));
    EXPECT_TRUE(IsValidSqlDate("99991231"));
    EXPECT_FALSE(IsValidSqlDate("17521231"));
    EXPECT_FALSE(IsValidSqlDate("20110230"));
    EXPECT_FALSE(IsValidSqlDate("2011/10/28"));

    EXPECT_EQ(DaysInMonth(2011, 2), 28);
    EXPECT_EQ(DaysInMonth(2012, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2011, 4), 30);
    EXPECT_EQ(DaysInMonth(2011, 12), 31);
    EXPECT_EQ(DaysInMonth(2011, 0), 0);
    EXPECT_EQ(DaysInMonth(2011, 13), 0);
}

TEST(LibStrsDates, ShiftingByYearsMonthsAndDays)
{
    EXPECT_EQ(ShiftDate("20110131", "M", 1), "20110228");
    EXPECT_EQ(ShiftDate("20110115", "M", -1), "20101215");
    EXPECT_EQ(ShiftDate("20080229", "Y", 1), "20090228");
    EXPECT_EQ(ShiftDate("20080229", "y", 4), "20120229");
    EXPECT_EQ(ShiftDate("20111215", "m", 1), "20120115");
    EXPECT_EQ(ShiftDate("20111215", "M", 12), "20121215");
    EXPECT_EQ(ShiftDate("20110115", "M", -13), "20091215");
    EXPECT_EQ(ShiftDate("20110331", "M", -1), "20110228");
    EXPECT_EQ(ShiftDate("20111231", "D", 1), "20120101");
    EXPECT_EQ(ShiftDate("20120301", "d", -1), "20120229");
    EXPECT_EQ(ShiftDate(Variant::FromDate(day(2011, 10, 28) + 0.75), "D", 3), "20111031");

    // No date, another unit or type, or a result outside the calendar: empty.
    EXPECT_EQ(ShiftDate("20110230", "D", 1), "");
    EXPECT_EQ(ShiftDate(Variant::FromDate(0), "D", 1), "");
    EXPECT_EQ(ShiftDate(Variant(40000), "D", 1), "");
    EXPECT_EQ(ShiftDate(Variant(), "D", 1), "");
    EXPECT_EQ(ShiftDate("20111028", "W", 1), "");
    EXPECT_EQ(ShiftDate("20111028", "", 1), "");
    EXPECT_EQ(ShiftDate("99991231", "D", 1), "");
    EXPECT_EQ(ShiftDate("00010115", "M", -1), "");
    EXPECT_EQ(ShiftDate("99990115", "Y", 1), "");
    EXPECT_EQ(ShiftDate("20111028", "M", 2000000000), "");
}

TEST(LibStrsDates, RelativeDates)
{
    // 26 October 2011 is a Wednesday.
    EXPECT_EQ(RelativeDate("20111026", "0", "0", "0", "1"), "20111023");
    EXPECT_EQ(RelativeDate("20111026", "0", "0", "0", "2"), "20111029");
    EXPECT_EQ(RelativeDate("20111026", "-1", "0", "0", "1"), "20111016");
    EXPECT_EQ(RelativeDate("20111023", "0", "0", "0", "1"), "20111023");
    EXPECT_EQ(RelativeDate("20111029", "0", "0", "0", "2"), "20111029");
    EXPECT_EQ(RelativeDate("20111026", "1", "0", "-2", "0"), "20111031");

    EXPECT_EQ(RelativeDate("20111026", "1", "1", "5", "0"), "20111201");
    EXPECT_EQ(RelativeDate("20111026", "-1", "1", "0", "1"), "20110901");
    EXPECT_EQ(RelativeDate("20120131", "1", "1", "0", "2"), "20120229");
    EXPECT_EQ(RelativeDate("20111026", "2", "1", "0", "7"), "20111226");

    // Year-month bases move by whole months.
    EXPECT_EQ(RelativeDate("201110", "3", "0", "", ""), "201201");
    EXPECT_EQ(RelativeDate("201101", " -1", "1", "x", "x"), "201012");

    EXPECT_THROW(RelativeDate("20111026", "one", "0", "0", "0"), EConvertError);
    EXPECT_THROW(RelativeDate("20111026", "0", "0", "0", ""), EConvertError);
    EXPECT_THROW(RelativeDate("20111026", "0", "0", "1.5", "0"), EConvertError);
    EXPECT_THROW(RelativeDate("20111026", "0", "1", "?", "0"), EConvertError);
    // The day offset is only read when a rule uses it.
    EXPECT_EQ(RelativeDate("20111026", "0", "1", "", "1"), "20111001");
    EXPECT_EQ(RelativeDate("not a date", "0", "1", "0", "1"), "");
}

TEST(LibStrsDates, WeekdayTokens)
{
    EXPECT_EQ(WeekdayToken("2011/10/28", 4), "<五>");
    EXPECT_EQ(WeekdayToken("2011/10/28", 1), "<FRI>");
    EXPECT_EQ(WeekdayToken(" 20111030 ", 3), "<SUN>");
    EXPECT_EQ(WeekdayToken("20111029", 5), "<六>");
    EXPECT_EQ(WeekdayToken("20111024", 2), "<MON>");
    EXPECT_EQ(WeekdayToken("2011-10-28", 1), "<   >");
    EXPECT_EQ(WeekdayToken("", 4), "    ");
    EXPECT_EQ(WeekdayToken("20110230", 5), "    ");
}
