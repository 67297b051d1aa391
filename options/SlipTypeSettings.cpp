#include "options/SlipTypeSettings.h"

#include "common/VariantElements.h"

namespace {

bool isYes(const Variant& row, int element)
{
    return ElementText(row, element) == QLatin1String("Y");
}

bool isYesAnyCase(const Variant& row, int element)
{
    return ElementText(row, element).compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0;
}

// A block of a slip type: its own code wins; without one the program's
// code, when the program has a row; without that row the slip type's
// editable flag alone decides (anything but "N" allows editing).
TSignBlockPlan slipTypeBlock(
    const Variant& slipRow, int code, int editable, const std::optional<Variant>& programRow, int programCode)
{
    const QString own = ElementText(slipRow, code);
    if (!own.isEmpty())
        return {own, isYes(slipRow, editable)};
    if (!programRow)
        return {QString(), ElementText(slipRow, editable) != QLatin1String("N")};
    const QString program = ElementText(*programRow, programCode);
    if (program.isEmpty())
        return {QString(), true};
    return {program, isYes(*programRow, programCode + 1)};
}

// A block of the program alone: editable when its flag says so or it has no code.
TSignBlockPlan programBlock(const Variant& programRow, int code)
{
    const QString own = ElementText(programRow, code);
    return {own, own.isEmpty() || isYes(programRow, code + 1)};
}

} // namespace

TSlipTypePlan PlanSlipTypeSettings(
    const QString& slipType, const std::optional<Variant>& slipRow, const std::optional<Variant>& programRow)
{
    TSlipTypePlan plan;
    if (slipType.isEmpty()) {
        plan.Row = QString();
        plan.TotalEnabled = true;
        plan.TotalChecked = false;
        plan.Footer = TSignBlockPlan {};
        plan.SignOff = TSignBlockPlan {};
        if (programRow) {
            plan.Row = *programRow;
            plan.FooterEveryPage = false;
            plan.SignOffEveryPage = false;
            plan.Footer = programBlock(*programRow, 0);
            plan.SignOff = programBlock(*programRow, 6);
            plan.Format = ElementText(*programRow, 12);
        }
        return plan;
    }
    if (!slipRow) {
        plan.Known = false;
        return plan;
    }
    const Variant& row = *slipRow;
    plan.Row = row;
    plan.Format = ElementText(row, 9);
    plan.FormatBoxEnabled = isYesAnyCase(row, 10);
    plan.FooterEveryPage = isYesAnyCase(row, 7);
    plan.SignOffEveryPage = isYesAnyCase(row, 8);
    plan.SlipTypeExtra = ElementText(row, 11);
    if (programRow)
        plan.FallbackFormat = ElementText(*programRow, 12);
    // "N" turns totals on every page off for the slip type; the user cannot
    // turn them on again.
    const bool totals = ElementText(row, 12) != QLatin1String("N");
    plan.TotalEnabled = totals;
    plan.TotalChecked = totals;
    plan.Footer = slipTypeBlock(row, 1, 2, programRow, 0);
    plan.SignOff = slipTypeBlock(row, 3, 4, programRow, 6);
    return plan;
}

TPredefinedQuery SlipTypeSettingsQuery(const QString& slipType, bool keyMode, const QString& slipTypeKey)
{
    if (keyMode)
        return {QStringLiteral("CMSMQ"), QStringLiteral("08"), Variant::ArrayOf({slipType})};
    return {QStringLiteral("CMSMQ"), QStringLiteral("38"), Variant::ArrayOf({slipType, slipTypeKey})};
}

TPredefinedQuery ProgramSettingsQuery(const QString& programCode)
{
    return {QStringLiteral("CMSMT"), QStringLiteral("01"), Variant::ArrayOf({programCode})};
}

TPredefinedQuery SignBlockQuery(TSignBlockKind kind, const QString& code)
{
    return {QStringLiteral("CMSMS"), QStringLiteral("01"), Variant::ArrayOf({QString::number(kind), code})};
}

QString SignBlockNameResource(TSignBlockKind kind)
{
    return kind == SignBlockFooter ? QStringLiteral("R;100235") : QStringLiteral("R;100236");
}

bool IsWorkflowSignOff(const QString& signOffCode)
{
    return signOffCode == QLatin1String("TIDEWS");
}
