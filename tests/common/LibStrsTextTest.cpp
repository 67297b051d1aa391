// Text utilities, variants and button captions.

#include "common/LibStrs.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QRandomGenerator>

TEST(LibStrsText, PaddingFieldsAndReplacing)
{
    EXPECT_EQ(PadLeft("7", 3, QLatin1Char('0')), "007");
    EXPECT_EQ(PadLeft("1234", 3), "1234");
    EXPECT_EQ(ZeroPad(4, -5), "-0005");
    EXPECT_EQ(GetToken("a;;c;", ";", 3), "c");
    EXPECT_EQ(GetToken("a;;c;", ";", 4), "");
    EXPECT_EQ(GetToken("a::b::c", "::", 2), "b");
    EXPECT_EQ(GetToken("a;b", ";", 3), "");
    EXPECT_EQ(CountFields("", ";"), 0);
    EXPECT_EQ(CountFields("a;b;", ";"), 3);
    QString text = QStringLiteral("TO001=A001=x");
    QString head;
    SplitFirst(text, "=", head);
    EXPECT_EQ(head + "|" + text, "TO001|A001=x");
    SplitFirst(text, "::", head);
    EXPECT_EQ(head + "|" + text, "A001=x|");

    EXPECT_EQ(ReplaceText(" a.b ", ".", "->", true), "a->b");
    EXPECT_EQ(ReplaceText("MOCTO.TO001", "MOCTO.", "mocto.", false), "MOCTO.TO001"); // equal ignoring case
    // Matches formed by a replacement are replaced too, as a search from the start would do.
    EXPECT_EQ(ReplaceText("xaaabb", "ab", "", false), "xa");
    // A new text holding the old one: each original occurrence replaced once.
    EXPECT_EQ(
        ReplaceText("MOCTO.TO001=MOCTO.TO002", "MOCTO.", "XMOCTO.", false), "XMOCTO.TO001=XMOCTO.TO002");
}

TEST(LibStrsText, CountFieldsCountsTheFieldsGetTokenCuts)
{
    EXPECT_EQ(CountFields(";;;;", ";;"), 3);
    EXPECT_EQ(GetToken(";;;;", ";;", 3), "");
    EXPECT_EQ(CountFields("a;;;b", ";;"), 2);
    EXPECT_EQ(GetToken("a;;;b", ";;", 2), ";b");
    EXPECT_EQ(CountFields("aaaa", "aa"), 3);

    // Against QString::split, which cuts left to right the same way: short
    // texts over the separators' own characters, where overlaps are common.
    constexpr quint32 seed = 20111026;
    QRandomGenerator rnd(seed);
    const QString separators[] = {";", ";;", "a;", ";a;"};
    for (int round = 0; round < 3000; ++round) {
        QString text;
        for (int n = rnd.bounded(0, 9); n > 0; --n)
            text += rnd.bounded(3) == 0 ? QLatin1Char('a') : QLatin1Char(';');
        const QString& separator = separators[rnd.bounded(4)];
        const int expected = text.isEmpty() ? 0 : static_cast<int>(text.split(separator).size());
        ASSERT_EQ(CountFields(text, separator), expected)
            << "seed " << seed << ", round " << round << ": \"" << text.toStdString() << "\" by \""
            << separator.toStdString() << "\"";
        // The last field GetToken finds is the last one counted.
        ASSERT_EQ(GetToken(text, separator, expected), text.split(separator).value(expected - 1))
            << "seed " << seed << ", round " << round;
    }
}

TEST(LibStrsText, NumbersFlagsListsAndCaptions)
{
    EXPECT_EQ(CompareFloat(0.1 + 0.2, 0.3), 0);
    EXPECT_EQ(CompareFloat(1.0, 1.0 + 1e-9), -1);
    EXPECT_EQ(CompareFloat(2.0, -2.0), 1);
    EXPECT_EQ(TextToFloatDef(" -3e2 ", -1), -300);
    for (const char* bad : {"", "1,5", "12x", "nan", "inf"})
        EXPECT_EQ(TextToFloatDef(bad, -1), -1) << bad;
    EXPECT_TRUE(IsLocalHost("127.0.0.1"));
    EXPECT_FALSE(IsLocalHost("localhost"));

    Variant grid = Variant::CreateArray(0, 1, 0, 2);
    const Variant cells[] = {"Print", "Mail", "Fax", true, false, "yes"};
    for (int i = 0; i < 6; ++i)
        grid.At(i / 3, i % 3) = cells[i];
    EXPECT_TRUE(LookupFlag(grid, "PRINT"));
    EXPECT_FALSE(LookupFlag(grid, "mail"));
    EXPECT_TRUE(LookupFlag(grid, "Design")); // absent
    EXPECT_FALSE(LookupFlag(grid, "Fax")); // unreadable flag
    EXPECT_TRUE(LookupFlag(Variant::ArrayOf({Variant::ArrayOf({"Print"}), Variant::ArrayOf({1})}), "print"));
    EXPECT_FALSE(LookupFlag(Variant::ArrayOf({Variant::ArrayOf({"Print"})}), "Print"));

    const QString m(QChar(3));
    EXPECT_EQ(PackList("K", Variant::ArrayOf({2, "A001", 7, "x"})), "K" + m + "2" + m + "A001" + m + "7" + m);

    QString caption;
    ButtonCaption("NoToAll", caption);
    EXPECT_EQ(caption, "全否(&o)");
    ButtonCaption("yes", caption);
    EXPECT_EQ(caption, "yes");
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
