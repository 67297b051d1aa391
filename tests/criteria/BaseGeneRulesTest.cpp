#include "criteria/BaseGeneU.h"

#include <gtest/gtest.h>

using namespace basegene;

TEST(BaseGeneMessages, KindsAndFormatting)
{
    EXPECT_EQ(BoxTypeOf(QStringLiteral("E")), mtError);
    EXPECT_EQ(BoxTypeOf(QStringLiteral("Q")), mtConfirmation);
    EXPECT_EQ(BoxTypeOf(QStringLiteral("R")), mtCustom);
    EXPECT_EQ(ButtonsOf(QStringLiteral("C")), TMsgDlgButtons(mbOK) | mbCancel);
    EXPECT_EQ(ButtonsOf(QStringLiteral("I")), TMsgDlgButtons(mbOK));
    bool ok = false;
    EXPECT_EQ(
        FormatMessage(QStringLiteral("%s has %d rows"), {QStringLiteral("A"), QStringLiteral("3")}, &ok),
        QStringLiteral("A has 3 rows"));
    EXPECT_TRUE(ok);
    FormatMessage(QStringLiteral("%d rows"), {QStringLiteral("many")}, &ok);
    EXPECT_FALSE(ok) << "a text where a number belongs";
    FormatMessage(QStringLiteral("%s and %s"), {QStringLiteral("one")}, &ok);
    EXPECT_FALSE(ok);
    const MessageCode code = ParseMessageCode(QStringLiteral("W;000003;a;b;c;d;e;f;g;h;i;j;k"));
    EXPECT_EQ(code.Kind, QStringLiteral("W"));
    EXPECT_EQ(code.Id, QStringLiteral("000003"));
    EXPECT_EQ(code.Args.size(), 9) << "at most nine arguments";
}

TEST(BaseGeneRules, HelpTopicsRequiredListsAndProgramCodes)
{
    EXPECT_EQ(HelpTopic(QStringLiteral("INVR01")), QStringLiteral("12010000"));
    EXPECT_EQ(HelpTopic(QStringLiteral("COPAB3")), QStringLiteral("63B30000"));
    EXPECT_EQ(HelpTopic(QStringLiteral("PURMR9")), QStringLiteral("82R90000"));
    EXPECT_EQ(HelpTopic(QStringLiteral("ZORV52")), QString()) << "V names no help";
    const QList<RequiredEntry> entries = ParseRequiredList(QStringLiteral(" spNo;Y;2 ,edA;N;0,,edB;1;9,cbo"));
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries.at(0).Name, QStringLiteral("spNo"));
    EXPECT_EQ(entries.at(0).Part, 2);
    EXPECT_FALSE(entries.at(1).Checked());
    EXPECT_FALSE(entries.at(2).Checked()) << "a numeric flag is not checked";
    EXPECT_EQ(entries.at(2).Part, 0) << "parts outside 1..3 count as 0";
    EXPECT_TRUE(entries.at(3).Checked());
    EXPECT_EQ(ProgramCodeOf(QStringLiteral("/opt/steward/libZORV52C.so")), QStringLiteral("ZORV52"));
    EXPECT_EQ(ProgramCodeOf(QStringLiteral("D:\\App\\zorv52c.dll")), QStringLiteral("ZORV52"));
}

TEST(BaseGeneMessages, ButtonsSpeakTheUsersLanguageExceptUnderEnglish)
{
    const TMsgDlgButtons yesNoCancel = TMsgDlgButtons(mbYes) | mbNo | mbCancel;
    const QMap<TMsgDlgBtn, QString> chinese = ButtonCaptionsOf(yesNoCancel, QStringLiteral("936"));
    EXPECT_EQ(chinese.size(), 3);
    EXPECT_EQ(chinese.value(mbYes), QString::fromUtf8("是(&Y)"));
    EXPECT_EQ(chinese.value(mbNo), QString::fromUtf8("否(&N)"));
    EXPECT_EQ(chinese.value(mbCancel), QString::fromUtf8("取消"));
    EXPECT_FALSE(chinese.contains(mbOK)) << "only the buttons the box shows";
    EXPECT_EQ(ButtonCaptionsOf(TMsgDlgButtons(mbNoToAll) | mbHelp, QStringLiteral("950")).value(mbNoToAll),
        QString::fromUtf8("全否(&o)"));
    EXPECT_TRUE(ButtonCaptionsOf(yesNoCancel, QStringLiteral("437")).isEmpty());
    EXPECT_TRUE(ButtonCaptionsOf(yesNoCancel, QStringLiteral(" 437 ")).isEmpty());
}
