#include "format/SendList.h"
#include "format/PrintCounts.h"

#include <gtest/gtest.h>

TEST(SendList, SlipsOfOneRecipientShareALine)
{
    TSendList list;
    // Slip 1 of C001 spans pages 1 and 2 (its header prints on both), then C002, then C001 again.
    const TSendGroup slip1 {
        1, QStringLiteral("MOCTO"), QStringLiteral("TO030"), QStringLiteral("TO001='5101' AND TO002='1'")};
    TSendGroup slip1page2 = slip1;
    slip1page2.Page = 2;
    list.Register(QStringLiteral("C001"), QStringLiteral("555-0101"), QStringLiteral("a@x.com"), slip1);
    list.Register(QStringLiteral("c001"), QString(), QString(), slip1page2);
    list.Register(QStringLiteral("C002"), QString(), QStringLiteral("b@x.com"),
        TSendGroup {3, QStringLiteral("MOCTO"), QStringLiteral("TO030"),
            QStringLiteral("TO001='5101' AND TO002='2'")});
    list.Register(QStringLiteral("C001"), QString(), QString(),
        TSendGroup {4, QStringLiteral("MOCTO"), QStringLiteral("TO030"),
            QStringLiteral("TO001='5101' AND TO002='3'")});

    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Text(),
        (QStringList {
            QStringLiteral(
                "C001=555-0101|a@x.com|1,MOCTO;TO030;TO001='5101' AND TO002='1';"
                "2,MOCTO;TO030;TO001='5101' AND TO002='1';4,MOCTO;TO030;TO001='5101' AND TO002='3';"),
            QStringLiteral("C002=|b@x.com|3,MOCTO;TO030;TO001='5101' AND TO002='2';")}));
    const TSendRecipient& first = list.Recipients().first();
    EXPECT_EQ(first.FaxNumber, QStringLiteral("555-0101")) << "a later registration keeps the first address";
    EXPECT_EQ(first.Pages(), (QList<int> {1, 2, 4}));
    // Two slips, each counted once although the first spans two pages.
    ASSERT_EQ(first.PrintCounts().size(), 2);
    EXPECT_EQ(first.PrintCounts()[0].Condition, QStringLiteral("TO001='5101' AND TO002='1'"));
    EXPECT_EQ(first.PrintCounts()[1].Page, 4);
}

TEST(SendList, PagesRepeatNeitherInFilesNorInCounts)
{
    TSendRecipient r {QStringLiteral("K"), QString(), QString(), {}};
    // A half page holds two slips of one recipient; a slip without a count column is not counted.
    r.Groups = {TSendGroup {3, QStringLiteral("T"), QStringLiteral("C"), QStringLiteral("k=1")},
        TSendGroup {3, QStringLiteral("T"), QStringLiteral("C"), QStringLiteral("k=2")},
        TSendGroup {3, QStringLiteral("T"), QString(), QStringLiteral("k=3")},
        TSendGroup {1, QStringLiteral("T"), QStringLiteral("C"), QStringLiteral("k=1")}};
    EXPECT_EQ(r.Pages(), (QList<int> {3, 1}));
    EXPECT_EQ(r.PrintCounts().size(), 2);
}

// A print of report pages counts the slips on them: each once, wherever in
// the range its pages lie, and none it did not print.
TEST(SendList, TheSlipPagesOfAPrintedRange)
{
    const auto slip = [](int page, const char* number) {
        return TSendGroup {page, QStringLiteral("$$MOCTO"), QStringLiteral("TO042"),
            QStringLiteral("TO001='A511' AND TO002='%1'").arg(QLatin1String(number))};
    };
    TSlipPages pages;
    pages.Add(slip(1, "1"));
    pages.Add(slip(2, "1")); // slip 1 runs over pages 1 to 3
    pages.Add(slip(3, "1"));
    pages.Add(slip(4, "2"));
    pages.Add({4, QStringLiteral("$$MOCTO"), QStringLiteral("TO042"), QString()}); // a slip of no dialect
    pages.Add(slip(5, "3"));
    const auto numbers = [](const QList<TSendGroup>& slips) {
        QStringList out;
        for (const TSendGroup& s : slips)
            out << s.Condition.right(2).left(1);
        return out;
    };
    EXPECT_EQ(numbers(pages.OnPages(1, 5)), QStringList({"1", "2", "3"}));
    EXPECT_EQ(numbers(pages.OnPages(3, 4)), QStringList({"1", "2"})) << "the last page of slip 1 counts it";
    EXPECT_EQ(numbers(pages.OnPages(5, 5)), QStringList({"3"}));
    EXPECT_TRUE(pages.OnPages(6, 9).isEmpty());
    EXPECT_EQ(pages.OnPages(2, 2).first().Page, 2);
    pages.Clear();
    EXPECT_TRUE(pages.IsEmpty());
}
