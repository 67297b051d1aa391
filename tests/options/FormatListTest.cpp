#include "options/FormatList.h"
#include "options/OptionRights.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <QMap>

namespace {

// The window: a list at item 1, a check box checked.
TOptionValueOf window()
{
    return [](const QString& component) -> std::optional<QString> {
        static const QMap<QString, QString> values {{QStringLiteral("cboTO041"), QStringLiteral("1")},
            {QStringLiteral("ChkPricePower"), QStringLiteral("1")}};
        const auto it = values.find(component);
        return it == values.end() ? std::nullopt : std::optional<QString>(*it);
    };
}

Variant storedFormats()
{
    return Variant::ArrayOf({
        Variant::ArrayOf({"标准", ""}),
        Variant::ArrayOf({"未审核", "cboTO041:ItemIndex=1\r\nChkPricePower:Checked=1\r\n"}),
        Variant::ArrayOf({"已审核", "cboTO041:ItemIndex=0"}),
        Variant::ArrayOf({"别的窗口", "cboOther:ItemIndex=1"}),
        Variant("not a row"),
        Variant::ArrayOf({"", "cboTO041:ItemIndex=1"}),
    });
}

} // namespace

TEST(FormatList, FormatsFitWhenEveryOptionLineMatches)
{
    EXPECT_TRUE(FormatMatchesOptions(QString(), window()));
    EXPECT_TRUE(FormatMatchesOptions(QStringLiteral("  \r\n"), window()));
    EXPECT_TRUE(
        FormatMatchesOptions(QStringLiteral("cboTO041:ItemIndex=1\r\nChkPricePower:Checked=1"), window()));
    EXPECT_FALSE(
        FormatMatchesOptions(QStringLiteral("cboTO041:ItemIndex=1\nChkPricePower:Checked=0"), window()));
    EXPECT_FALSE(FormatMatchesOptions(QStringLiteral("cboMissing:ItemIndex=1"), window()));
    // The value is the text after the first "=".
    EXPECT_FALSE(FormatMatchesOptions(QStringLiteral("cboTO041:ItemIndex=1=1"), window()));
}

TEST(FormatList, ListShowsTheBuiltInLayoutOnlyWhenTheBoxIsEnabled)
{
    EXPECT_EQ(FormatListItems(storedFormats(), true, window()),
        (QStringList {QStringLiteral("<New>"), QStringLiteral("标准"), QStringLiteral("未审核")}));
    EXPECT_EQ(FormatListItems(storedFormats(), false, window()),
        (QStringList {QStringLiteral("标准"), QStringLiteral("未审核")}));
    EXPECT_EQ(FormatListAfterDelete(storedFormats(), window()),
        (QStringList {QStringLiteral("<NEW>"), QStringLiteral("标准"), QStringLiteral("未审核")}));
    EXPECT_EQ(FormatListItems(Variant(), true, window()), QStringList {QStringLiteral("<New>")});

    const QStringList items = FormatListItems(storedFormats(), true, window());
    EXPECT_EQ(FormatListSelection(items, QStringLiteral("未审核")), 2);
    EXPECT_EQ(FormatListSelection(items, QStringLiteral("已审核")), 0);
    EXPECT_EQ(FormatListSelection({}, QStringLiteral("<New>")), -1);
}

TEST(FormatList, TheRememberedNameIsFoundInAnyCase)
{
    const QStringList items {QStringLiteral("<New>"), QStringLiteral("Plain"), QStringLiteral("Wide A4")};
    EXPECT_EQ(FormatListSelection(items, QStringLiteral("wide a4")), 2);
    EXPECT_EQ(FormatListSelection(items, QStringLiteral("PLAIN")), 1);
    EXPECT_EQ(FormatListSelection(items, QStringLiteral("<NEW>")), 0);
    // Case only: a name that differs otherwise is still another format.
    EXPECT_EQ(FormatListSelection(items, QStringLiteral("Wide  A4")), 0);
    EXPECT_EQ(FormatListSelection(items, QStringLiteral("Plai")), 0);
}

TEST(FormatList, ReportTitleFallsBackToTheProgramCode)
{
    const QStringList company {QStringLiteral("HV01"), QStringLiteral("华文示范股份有限公司")};
    EXPECT_EQ(ReportTitle(company, QStringLiteral("工单变更单打印"), QStringLiteral("ZORV52")),
        QStringLiteral("华文示范股份有限公司 - 工单变更单打印"));
    EXPECT_EQ(ReportTitle({}, QString(), QStringLiteral("ZORV52")), QStringLiteral(" - ZORV52"));
}

TEST(OptionRights, CharactersTwoThreeAndSix)
{
    const TOptionRights all = OptionRightsOf(QStringLiteral("NYYNNY"));
    EXPECT_TRUE(all.Design && all.DeleteFormat && all.PrintAndPreview);
    const TOptionRights none = OptionRightsOf(QStringLiteral("YNNYYNYYYY"));
    EXPECT_FALSE(none.Design || none.DeleteFormat || none.PrintAndPreview);
    const TOptionRights shortString = OptionRightsOf(QStringLiteral("YY"));
    EXPECT_TRUE(shortString.Design);
    EXPECT_FALSE(shortString.DeleteFormat || shortString.PrintAndPreview);
    EXPECT_FALSE(OptionRightsOf(QStringLiteral("yyyyyy")).Design);
}
