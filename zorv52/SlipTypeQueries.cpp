#include "zorv52/SlipTypeQueries.h"

#include "common/VariantElements.h"

namespace {

// Document kinds of work-order change slips.
const char* const KindChange = "51";
const char* const KindChangeOther = "52";

} // namespace

TPredefinedQuery SlipTypeCheckQuery(const QString& slipType)
{
    // The catalogue's query takes three kinds; the third stays empty.
    return {QStringLiteral("CMSMQ"), QStringLiteral("22"),
        Variant::ArrayOf({slipType, KindChange, KindChangeOther, QString()})};
}

TPredefinedQuery SlipTypeLookupQuery(const QString& start)
{
    return {QStringLiteral("CMSMQ"), QStringLiteral("19"),
        Variant::ArrayOf({KindChange, KindChangeOther, start})};
}

TPredefinedQuery SlipNumberLookupQuery(const QString& slipType)
{
    return {QStringLiteral("MOCTO"), QStringLiteral("60"), Variant::ArrayOf({slipType})};
}

QString SlipTypeKeyOfRow(const Variant& row)
{
    return ElementText(row, 1);
}
