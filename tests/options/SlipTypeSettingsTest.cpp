#include "options/SlipTypeSettings.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

// A CMSMQ row in the catalogue's order (0 name, 1/2 footer, 3/4 sign-off,
// 5 type, 6 kind, 7/8 every page, 9 format, 10 changeable, 11 extra, 12 totals).
Variant slipRow(const QString& footer, const QString& footerEdit, const QString& signOff,
    const QString& signOffEdit, const QString& totals = QStringLiteral("Y"))
{
    return Variant::ArrayOf({"变更单", footer, footerEdit, signOff, signOffEdit, "A511", "51", "y", "N",
        "宽格式", "y", "附加", totals, ""});
}

// A CMSMT row: 0/1 footer, 6/7 sign-off, 12 default format.
Variant programRow(
    const QString& footer, const QString& footerEdit, const QString& signOff, const QString& signOffEdit)
{
    return Variant::ArrayOf(
        {footer, footerEdit, "", "", "", "ZORV52", signOff, signOffEdit, "", "", "", "", "默认"});
}

void expectBlock(const std::optional<TSignBlockPlan>& block, const QString& code, bool editable)
{
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(block->Code, code);
    EXPECT_EQ(block->Editable, editable);
}

} // namespace

TEST(SlipTypeSettings, TheSlipTypesOwnBlocksAndSwitches)
{
    const TSlipTypePlan plan = PlanSlipTypeSettings(QStringLiteral("A511"),
        slipRow(QStringLiteral("F01"), QStringLiteral("Y"), QStringLiteral("S01"), QStringLiteral("N")),
        programRow(QStringLiteral("F09"), QStringLiteral("N"), QStringLiteral("S09"), QStringLiteral("N")));
    EXPECT_TRUE(plan.Known);
    expectBlock(plan.Footer, QStringLiteral("F01"), true);
    expectBlock(plan.SignOff, QStringLiteral("S01"), false);
    EXPECT_EQ(plan.FooterEveryPage, true); // "y" in any case
    EXPECT_EQ(plan.SignOffEveryPage, false);
    EXPECT_EQ(plan.Format, QStringLiteral("宽格式"));
    EXPECT_EQ(plan.FallbackFormat, QStringLiteral("默认"));
    EXPECT_EQ(plan.FormatBoxEnabled, true);
    EXPECT_EQ(plan.SlipTypeExtra, QStringLiteral("附加"));
    EXPECT_TRUE(plan.TotalEnabled && plan.TotalChecked);
}

TEST(SlipTypeSettings, WithoutOwnCodesTheProgramsBlocksOrTheFlagDecide)
{
    // The program's codes with its flags.
    const TSlipTypePlan program = PlanSlipTypeSettings(QStringLiteral("A511"),
        slipRow(QString(), QStringLiteral("N"), QString(), QStringLiteral("N")),
        programRow(QStringLiteral("F09"), QStringLiteral("Y"), QString(), QStringLiteral("N")));
    expectBlock(program.Footer, QStringLiteral("F09"), true);
    expectBlock(program.SignOff, QString(), true); // no code anywhere: free to fill

    // No program row: editable unless the slip type says "N".
    const TSlipTypePlan alone = PlanSlipTypeSettings(
        QStringLiteral("A511"), slipRow(QString(), QString(), QString(), QStringLiteral("N")), std::nullopt);
    expectBlock(alone.Footer, QString(), true);
    expectBlock(alone.SignOff, QString(), false);
    EXPECT_FALSE(alone.FallbackFormat.has_value());
}

TEST(SlipTypeSettings, NoTotalsUnknownTypeAndNoType)
{
    const TSlipTypePlan noTotals = PlanSlipTypeSettings(QStringLiteral("A512"),
        slipRow(QString(), QString(), QString(), QString(), QStringLiteral("N")), std::nullopt);
    EXPECT_FALSE(noTotals.TotalEnabled || noTotals.TotalChecked);

    const TSlipTypePlan unknown = PlanSlipTypeSettings(QStringLiteral("Z999"), std::nullopt, std::nullopt);
    EXPECT_FALSE(unknown.Known);
    EXPECT_TRUE(unknown.Row.IsEmpty());
    EXPECT_FALSE(unknown.Footer || unknown.SignOff || unknown.Format || unknown.FooterEveryPage);

    const TSlipTypePlan none = PlanSlipTypeSettings(QString(), std::nullopt,
        programRow(QString(), QStringLiteral("N"), QStringLiteral("S01"), QStringLiteral("N")));
    EXPECT_EQ(none.Row.DimCount(), 1);
    expectBlock(none.Footer, QString(), true);
    expectBlock(none.SignOff, QStringLiteral("S01"), false);
    EXPECT_EQ(none.Format, QStringLiteral("默认"));
    EXPECT_EQ(none.FooterEveryPage, false);
    EXPECT_TRUE(none.TotalEnabled);
    EXPECT_FALSE(none.TotalChecked);

    const TSlipTypePlan nothing = PlanSlipTypeSettings(QString(), std::nullopt, std::nullopt);
    EXPECT_EQ(nothing.Row.ToString(), QString());
    EXPECT_TRUE(nothing.Row.IsString());
    expectBlock(nothing.Footer, QString(), true);
    EXPECT_FALSE(nothing.Format.has_value());
    EXPECT_FALSE(nothing.FooterEveryPage.has_value());
}

TEST(SlipTypeSettings, WorkflowSignOffOnlyForTheExactCode)
{
    EXPECT_TRUE(IsWorkflowSignOff(QStringLiteral("TIDEWS")));
    EXPECT_FALSE(IsWorkflowSignOff(QStringLiteral("tidews")));
    EXPECT_FALSE(IsWorkflowSignOff(QStringLiteral("TIDEWS ")));
}
