#include "format/PrintTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintTextsTest, DatesInTheRunsStyle)
{
    EXPECT_EQ(DatePrintText("20111008", 3, "."), "08.10.2011");
    EXPECT_EQ(DatePrintText("19990102", 5, "/"), "088/01/02");
    EXPECT_EQ(DatePrintText(" 20111008 ", 1, ""), "20111008");
    // What is no date prints as it is.
    EXPECT_EQ(DatePrintText("20110230", 1, "/"), "20110230");
    EXPECT_EQ(DatePrintText("2011108", 1, "/"), "2011108");
    EXPECT_EQ(DatePrintText("", 1, "/"), "");
    EXPECT_EQ(DatePrintText("20111008", 6, "/"), "20111008");
}

TEST(PrintTextsTest, Percent)
{
    EXPECT_EQ(PercentPrintText("0.125"), "12.5%");
    EXPECT_EQ(PercentPrintText("0.07"), "7%");
    EXPECT_EQ(PercentPrintText(" 1 "), "100%");
    EXPECT_EQ(PercentPrintText("-0.5"), "-50%");
    EXPECT_EQ(PercentPrintText("-0"), "0%");
    EXPECT_EQ(PercentPrintText("0.333333333333333333"), "33.3333333333333%");
    EXPECT_EQ(PercentPrintText("abc"), "abc");
    EXPECT_EQ(PercentPrintText(""), "");
}

TEST(PrintTextsTest, DictionaryMatchesWholeKeys)
{
    const QString yesNo = QStringLiteral("Y\x03是||N\x03否");
    EXPECT_EQ(DictionaryPrintText("N", yesNo), "否");
    EXPECT_EQ(DictionaryPrintText(" Y ", yesNo), "是");
    EXPECT_EQ(DictionaryPrintText("X", yesNo), "X");
    // An empty value, or the tail of a longer key, took that key's text in
    // the old lookup.
    EXPECT_EQ(DictionaryPrintText("", yesNo), "");
    EXPECT_EQ(DictionaryPrintText("1", QStringLiteral("11\x03十一||1\x03一")), "一");
    EXPECT_EQ(DictionaryPrintText("", QStringLiteral("A\x03甲||\x03空")), "空");
    // Entries without a separator and an empty dictionary match nothing.
    EXPECT_EQ(DictionaryPrintText("A", QStringLiteral("A||B\x03乙")), "A");
    EXPECT_EQ(DictionaryPrintText("A", ""), "A");
}

TEST(PrintTextsTest, SlipAmountsShowOnTheLastPageOnly)
{
    // A slip of three pages.
    EXPECT_EQ(SlipAmountText("1,500.00", "1", "3", false), "***********");
    EXPECT_EQ(SlipAmountText("1,500.00", "2", "3", false), "***********");
    EXPECT_EQ(SlipAmountText("1,500.00", "3", "3", false), "1,500.00");
    EXPECT_EQ(SlipAmountText("1,500.00", "1", "3", true), "1,500.00");
}

} // namespace
