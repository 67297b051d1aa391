// Text utilities, variants and button captions.

#include "common/LibStrs.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDate>

TEST(LibStrsText, PaddingAndFields)
{
    EXPECT_EQ(PadLeft("7", 3), "  7");
    EXPECT_EQ(PadLeft("7", 3, QLatin1Char('0')), "007");
    EXPECT_EQ(PadLeft("1234", 3), "1234");
    EXPECT_EQ(PadLeft("", 0), "");
    EXPECT_EQ(PadLeft("x", -4), "x");

    EXPECT_EQ(ZeroPad(4, 12), "0012");
    EXPECT_EQ(ZeroPad(2, 12345), "12345");
    EXPECT_EQ(ZeroPad(4, -5), "-0005");
    EXPECT_EQ(ZeroPad(0, 7), "7");

    EXPECT_EQ(GetToken("a;b;c", ";", 1), "a");
    EXPECT_EQ(GetToken("a;b;c", ";", 3), "c");
    EXPECT_EQ(GetToken("a;b;c", ";", 4), "");
    EXPECT_EQ(GetToken("a;;c;", ";", 2), "");
    EXPECT_EQ(GetToken("a;;c;", ";", 3), "c");
    EXPECT_EQ(GetToken("a;;c;", ";", 4), "");
    EXPECT_EQ(GetToken("a::b::c", "::", 2), "b");
    EXPECT_EQ(GetToken("abc", ";", 0), "");

    EXPECT_EQ(CountFields("", ";"), 0);
    EXPECT_EQ(CountFields("a;b;", ";"), 3);
    EXPECT_EQ(CountFields("abc", ";"), 1);
    EXPECT_EQ(CountFields(";", ";"), 2);

    QString text = QStringLiteral("TO001=A001=x");
    QString head = QStringLiteral("stale");
    SplitFirst(text, "=", head);
    EXPECT_EQ(head, "TO001");
    EXPECT_EQ(text, "A001=x");
    SplitFirst(text, "::", head);
    EXPECT_EQ(head, "A001=x");
    EXPECT_EQ(text, "");
}

TEST(LibStrsText, Replacing)
{
    EXPECT_EQ(ReplaceText("a.b.c", ".", "->", false), "a->b->c");
    EXPECT_EQ(ReplaceText(" x ", "y", "z", true), "x");
    EXPECT_EQ(ReplaceText(" x ", "y", "z", false), " x ");
    // Equal ignoring case: nothing replaced.
    EXPECT_EQ(ReplaceText("MOCTO.TO001", "MOCTO.", "mocto.", false), "MOCTO.TO001");
    EXPECT_EQ(ReplaceText("abc", "", "x", false), "abc");
    // Matches formed by a replacement are replaced too, as a search from the start would do.
    EXPECT_EQ(ReplaceText("aab", "ab", "b", false), "b");
    EXPECT_EQ(ReplaceText("xaaabb", "ab", "", false), "xa");
    // A new text holding the old one: each original occurrence replaced once.
    EXPECT_EQ(ReplaceText("a.b", "a", "aa", false), "aa.b");
    EXPECT_EQ(
        ReplaceText("MOCTO.TO001=MOCTO.TO002", "MOCTO.", "XMOCTO.", false), "XMOCTO.TO001=XMOCTO.TO002");
    EXPECT_EQ(ReplaceText("ab", "b", "xbx", false), "axbx");
}

TEST(LibStrsText, NumbersAndFlags)
{
    EXPECT_EQ(CompareFloat(0.1 + 0.2, 0.3), 0);
    EXPECT_EQ(CompareFloat(1.0, 1.0 + 1e-11), 0);
    EXPECT_EQ(CompareFloat(1.0, 1.0 + 1e-9), -1);
    EXPECT_EQ(CompareFloat(2.0, -2.0), 1);

    EXPECT_EQ(TextToFloatDef(" 12.5 ", -1), 12.5);
    EXPECT_EQ(TextToFloatDef("-3e2", -1), -300);
    for (const char* bad : {"", "abc", "1,5", "12x", "nan", "inf"})
        EXPECT_EQ(TextToFloatDef(bad, -1), -1) << bad;

    EXPECT_TRUE(IsEmptyOrNull(Variant()));
    EXPECT_TRUE(IsEmptyOrNull(Variant::Null()));
    EXPECT_FALSE(IsEmptyOrNull(Variant("")));
    EXPECT_FALSE(IsEmptyOrNull(Variant(0)));

    EXPECT_TRUE(IsLocalHost("127.0.0.1"));
    for (const char* other : {"localhost", "127.0.0.1 ", "127.0.0.2", ""})
        EXPECT_FALSE(IsLocalHost(other)) << other;
}

TEST(LibStrsText, LookupFlagInTwoRowTables)
{
    Variant grid = Variant::CreateArray(0, 1, 0, 2);
    grid.At(0, 0) = "Print";
    grid.At(0, 1) = "Mail";
    grid.At(0, 2) = "Fax";
    grid.At(1, 0) = true;
    grid.At(1, 1) = false;
    grid.At(1, 2) = "yes";
    EXPECT_TRUE(LookupFlag(grid, "PRINT"));
    EXPECT_FALSE(LookupFlag(grid, "mail"));
    EXPECT_TRUE(LookupFlag(grid, "Design")); // absent
    EXPECT_FALSE(LookupFlag(grid, "Fax")); // unreadable flag

    const Variant rows = Variant::ArrayOf({Variant::ArrayOf({"Print", "Mail"}), Variant::ArrayOf({0, 1})});
    EXPECT_FALSE(LookupFlag(rows, "print"));
    EXPECT_TRUE(LookupFlag(rows, "MAIL"));
    EXPECT_TRUE(LookupFlag(rows, "Fax"));

    EXPECT_FALSE(LookupFlag(Variant(), "Print"));
    EXPECT_FALSE(LookupFlag(Variant::ArrayOf({Variant::ArrayOf({"Print"})}), "Print"));
    EXPECT_FALSE(LookupFlag(Variant::CreateArray(0, 0, 0, 1), "")); // no row 1
}

TEST(LibStrsText, PackingLists)
{
    const QString m(QChar(3));
    EXPECT_EQ(PackList("KEYS", Variant::ArrayOf({2, "A001", 7, "ignored"})),
        "KEYS" + m + "2" + m + "A001" + m + "7" + m);
    EXPECT_EQ(PackList("", Variant::ArrayOf({0})), m + "0" + m);
    EXPECT_THROW(PackList("x", Variant::ArrayOf({3, "only one"})), EVariantBadIndexError);
}

TEST(LibStrsText, ButtonCaptions)
{
    const std::pair<const char*, const char*> table[] = {
        {"Yes", "是(&Y)"},
        {"No", "否(&N)"},
        {"OK", "确定"},
        {"Cancel", "取消"},
        {"Abort", "中断(&A)"},
        {"Retry", "重试(&R)"},
        {"Ignore", "忽略(&I)"},
        {"All", "全部(&A)"},
        {"NoToAll", "全否(&o)"},
        {"YesToAll", "全是(&A)"},
        {"Help", "帮助(&H)"},
        {"yes", "yes"},
        {"Close", "Close"},
        {"", ""},
    };
    for (const auto& [name, expected] : table) {
        QString caption = QStringLiteral("stale");
        ButtonCaption(QString::fromUtf8(name), caption);
        EXPECT_EQ(caption, QString::fromUtf8(expected)) << name;
    }
}

TEST(LibStrsText, RecodingVariants)
{
    using testsupport::ScopedEnv;
    using testsupport::TempFolder;
    const ScopedEnv acp("STEWARD_ACP", "1252");
    // "é" written in UTF-8 and read back in code page 1252.
    const QString garbled = QString::fromUtf8("Ã©t");
    const QString repaired = QString::fromUtf8("ét");

    Variant out;
    RecodeVariant(Variant(garbled), 65001, out);
    EXPECT_EQ(out, Variant(repaired));

    RecodeVariant(
        Variant::ArrayOf({garbled, 5, Variant::ArrayOf({garbled, Variant::Null()}), Variant()}), 65001, out);
    EXPECT_EQ(out, Variant::ArrayOf({repaired, 5, Variant::ArrayOf({repaired, Variant::Null()}), Variant()}));

    Variant grid = Variant::CreateArray(1, 2, 0, 0);
    grid.At(1, 0) = garbled;
    grid.At(2, 0) = 1.5;
    RecodeVariant(grid, 65001, out);
    EXPECT_EQ(out.At(1, 0), Variant(repaired));
    EXPECT_EQ(out.At(2, 0), Variant(1.5));

    // Plain values and texts the system code page cannot hold are copied unchanged.
    for (const Variant& kept : {Variant(), Variant::Null(), Variant(42), Variant("abc"), Variant("中文")}) {
        RecodeVariant(kept, 936, out);
        EXPECT_EQ(out, kept) << kept.DebugText().toStdString();
    }

    // A code page that cannot be read: logged, the value copied.
    TempFolder home;
    const QString reg = home.write("registry.reg",
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\HVN\\Steward]\r\n\"ClientPath\"=\""
            + home.path().toUtf8() + "\"\r\n");
    const ScopedEnv registry("STEWARD_REGISTRY", reg.toUtf8());
    RecodeVariant(Variant::ArrayOf({garbled}), 12345, out);
    EXPECT_EQ(out, Variant::ArrayOf({garbled}));
    const QByteArray log
        = home.read("Log/Alert_libstrs_" + QDate::currentDate().toString("yyyyMMdd") + ".log");
    EXPECT_TRUE(log.contains("] LINE[115] ")) << log.toStdString();
}
