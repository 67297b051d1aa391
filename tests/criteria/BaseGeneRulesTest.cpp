#include "criteria/BaseGeneU.h"

#include "runtime/forms/Mask.h"

#include <QDate>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace basegene;

TEST(BaseGeneDates, EveryStyleBothWays)
{
    struct Case {
        int style;
        const char* shown;
    };
    const Case cases[] = {{1, "2024/05/31"}, {2, "05/31/2024"}, {3, "31/05/2024"}, {4, "113/05/31"}, {5, "113/05/31"}};
    for (const Case& c : cases) {
        const QString shown = QString::fromLatin1(c.shown);
        EXPECT_EQ(DateToStorage(shown, c.style, QStringLiteral("/")), QStringLiteral("20240531")) << c.style;
        EXPECT_EQ(StorageToDate(QStringLiteral("20240531"), c.style, QStringLiteral("/")), shown) << c.style;
    }
    EXPECT_EQ(DateToStorage(QStringLiteral(" 2024 / 5 / 7 "), 1, QStringLiteral("/")), QStringLiteral("20240507"));
    EXPECT_EQ(DateToStorage(QStringLiteral("2024/AB/07"), 1, QStringLiteral("/")), QStringLiteral("2024/AB/07"))
        << "unreadable: unchanged";
    EXPECT_EQ(DateToStorage(QStringLiteral("2024/02/30"), 1, QStringLiteral("/")), QStringLiteral("20240230"))
        << "not checked here: the check refuses it";
    EXPECT_EQ(DateToStorage(QStringLiteral("    /  /  "), 1, QStringLiteral("/"), QStringLiteral("    /  /  ")),
        QString());
    EXPECT_EQ(DateToStorage(QStringLiteral("2024-05-31"), 1, QStringLiteral("-")), QStringLiteral("20240531"));
    EXPECT_EQ(StorageToDate(QStringLiteral("20240230"), 1, QStringLiteral("/")), QStringLiteral("20240230"));
    EXPECT_EQ(YearMonthToStorage(QStringLiteral("05/2024"), 2, QStringLiteral("/")), QStringLiteral("202405"));
    EXPECT_EQ(YearMonthToStorage(QStringLiteral("113/05"), 5, QStringLiteral("/")), QStringLiteral("202405"));
    EXPECT_EQ(StorageToYearMonth(QStringLiteral("202405"), 1, QStringLiteral("/")), QStringLiteral("2024/05"));
}

// Any date shown in any style and read back gives the same storage text.
TEST(BaseGeneDates, RandomDatesRoundTrip)
{
    constexpr quint32 seed = 3110;
    QRandomGenerator random(seed);
    for (int n = 0; n < 1500; ++n) {
        const QDate date = QDate(1912, 1, 1).addDays(random.bounded(70000));
        const int style = 1 + random.bounded(5);
        const QString separator = random.bounded(2) ? QStringLiteral("/") : QStringLiteral(".");
        const QString stored = date.toString(QStringLiteral("yyyyMMdd"));
        const QString shown = StorageToDate(stored, style, separator);
        ASSERT_EQ(DateToStorage(shown, style, separator), stored)
            << "seed " << seed << " case " << n << " style " << style << ": " << shown.toStdString();
    }
}

TEST(BaseGeneDates, MasksFitTheStyles)
{
    EXPECT_EQ(DateMask(1, QStringLiteral("/")), QStringLiteral("!9999/99/99;1;_"));
    EXPECT_EQ(DateMask(3, QStringLiteral("-")), QStringLiteral("!99-99-9999;1;_"));
    EXPECT_EQ(DateMask(5, QStringLiteral("/")), QStringLiteral("!999/99/99;1;_"));
    EXPECT_EQ(YearMonthMask(2, QStringLiteral("/")), QStringLiteral("!99/9999;1;_"));
    for (int style = 1; style <= 5; ++style) {
        TEditMask mask(DateMask(style, QStringLiteral("/")));
        const QString shown = StorageToDate(QStringLiteral("20240105"), style, QStringLiteral("/"));
        EXPECT_EQ(mask.Text(mask.Format(shown)), shown) << "style " << style << " fits its mask";
    }
}

TEST(BaseGeneMessages, KindsAndFormatting)
{
    EXPECT_EQ(BoxTypeOf(QStringLiteral("E")), mtError);
    EXPECT_EQ(BoxTypeOf(QStringLiteral("Q")), mtConfirmation);
    EXPECT_EQ(BoxTypeOf(QStringLiteral("R")), mtCustom);
    EXPECT_EQ(ButtonsOf(QStringLiteral("C")), TMsgDlgButtons(mbOK) | mbCancel);
    EXPECT_EQ(ButtonsOf(QStringLiteral("I")), TMsgDlgButtons(mbOK));
    bool ok = false;
    EXPECT_EQ(FormatMessage(QStringLiteral("%s has %d rows"), {QStringLiteral("A"), QStringLiteral("3")}, &ok),
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
