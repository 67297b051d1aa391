#include "options/TypedAddress.h"
#include "options/SendWay.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

QString refused(int mode, const QString& typed)
{
    const TAddressRefusal refusal = CheckTypedAddress(mode, typed);
    return refusal.Refused() ? refusal.Message() : QString();
}

} // namespace

TEST(TypedAddress, MailAddressesAreRefusedWithTheirFault)
{
    EXPECT_EQ(refused(SendModeEmail, QStringLiteral("chen@@x")),
        QStringLiteral("“chen@@x”不是电子邮件地址: 只能有一个 @。"));
    EXPECT_EQ(refused(SendModeEmail, QStringLiteral("chen.example.com")),
        QStringLiteral("“chen.example.com”不是电子邮件地址: 缺少 @ (例如 chen@example.com)。"));
    EXPECT_EQ(refused(SendModeEmail, QStringLiteral("@example.com")),
        QStringLiteral("“@example.com”不是电子邮件地址: @ 前面缺少用户名。"));
    EXPECT_EQ(refused(SendModeEmail, QStringLiteral("chen@x")),
        QStringLiteral("“chen@x”不是电子邮件地址: @ 后面的域名“x”不完整 (例如 example.com)。"));
    EXPECT_EQ(refused(SendModeEmail, QStringLiteral("chen wei@example.com")),
        QStringLiteral("“chen wei@example.com”不是电子邮件地址: 不能含有“空格”。"));
    EXPECT_EQ(refused(SendModeEmail, QStringLiteral("陈@example.com")),
        QStringLiteral("“陈@example.com”不是电子邮件地址: 不能含有“陈”。"));
    EXPECT_EQ(refused(SendModeEmail, QStringLiteral("a..b@example.com")),
        QStringLiteral("“a..b@example.com”不是电子邮件地址。"));
    // Of a list, the entry that is wrong is named.
    EXPECT_EQ(refused(SendModeEmail, QStringLiteral("li@x.cn; 王五 <wang@@y.cn>")),
        QStringLiteral("“王五 <wang@@y.cn>”不是电子邮件地址: 只能有一个 @。"));
    // A "%2" typed in the entry is shown as typed, not filled.
    EXPECT_EQ(refused(SendModeEmail, QStringLiteral("%2@x")),
        QStringLiteral("“%2@x”不是电子邮件地址: @ 后面的域名“x”不完整 (例如 example.com)。"));
}

TEST(TypedAddress, WhatTheMailClientTakesIsAccepted)
{
    for (const char* good : {"chen@example.com", "  chen@example.com  ", "li@x.cn; 王五 <wang@y.cn>",
             "sales@例子.中国", "a.b+c@sub.example.org"})
        EXPECT_FALSE(CheckTypedAddress(SendModeEmail, QString::fromUtf8(good)).Refused()) << good;
    // Nothing typed is E;000003's business, and printing checks nothing.
    EXPECT_FALSE(CheckTypedAddress(SendModeEmail, QStringLiteral("   ")).Refused());
    EXPECT_FALSE(CheckTypedAddress(SendModePrint, QStringLiteral("chen@@x")).Refused());
}

TEST(TypedAddress, FaxNumbersHoldDigitsAndDiallingMarksOnly)
{
    EXPECT_EQ(refused(SendModeFax, QStringLiteral("0512-6688abc")),
        QStringLiteral("“0512-6688abc”不是传真号码: 不能含有“a”, 只能用数字、空格和 + - ( ) . , # *。"));
    EXPECT_EQ(refused(SendModeFax, QStringLiteral("-o 5550101")),
        QStringLiteral("“-o 5550101”不是传真号码: 不能含有“o”, 只能用数字、空格和 + - ( ) . , # *。"));
    EXPECT_EQ(refused(SendModeFax, QStringLiteral("-5550101")),
        QStringLiteral("“-5550101”不是传真号码: 不能以“-”开头。"));
    EXPECT_EQ(refused(SendModeFax, QStringLiteral("(+)")), QStringLiteral("“(+)”不是传真号码: 没有数字。"));
    const QString long65(65, u'5');
    EXPECT_EQ(refused(SendModeFax, long65),
        u'“' + long65 + QStringLiteral("”不是传真号码: 太长 (最多 64 个字符)。"));
    EXPECT_FALSE(CheckTypedAddress(SendModeFax, QString(64, u'5')).Refused());
    EXPECT_EQ(refused(SendModeFax, QStringLiteral("5550101; touch x")),
        QStringLiteral("“5550101; touch x”不是传真号码: 不能含有“;”, 只能用数字、空格和 + - ( ) . , # *。"));
    for (const char* good : {"0512-6688 1234", "+86 (512) 6688-1234", "5550101", "*31#5550101", " 021-5555 "})
        EXPECT_FALSE(CheckTypedAddress(SendModeFax, QString::fromUtf8(good)).Refused()) << good;
}

TEST(TypedAddress, ATranslatedTextGetsTheSameValues)
{
    const TAddressRefusal refusal = CheckTypedAddress(SendModeFax, QStringLiteral("12a"));
    ASSERT_TRUE(refusal.Refused());
    EXPECT_EQ(refusal.Key, QStringLiteral("sFaxBadChar"));
    EXPECT_EQ(refusal.Message(QStringLiteral("「%1」不是傳真號碼:「%2」")),
        QStringLiteral("「12a」不是傳真號碼:「a」"));
    EXPECT_TRUE(refusal.DetailKey.isEmpty()) << "what was typed is shown as typed";
    // The name of a blank is a word of the user's language.
    const TAddressRefusal blank = CheckTypedAddress(SendModeEmail, QStringLiteral("chen wei@example.com"));
    EXPECT_EQ(blank.DetailKey, QStringLiteral("sBlankCharacter"));
    EXPECT_EQ(blank.Message(QStringLiteral("\"%1\" is no e-mail address: it may not hold \"%2\"."),
                  QStringLiteral("a blank")),
        QStringLiteral("\"chen wei@example.com\" is no e-mail address: it may not hold \"a blank\"."));
}
