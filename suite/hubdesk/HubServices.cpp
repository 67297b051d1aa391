#include "suite/hubdesk/HubServices.h"

#include "runtime/system/ArgReader.h"
#include "suite/hubdesk/HubServerLink.h"

THubCounter::THubCounter(std::shared_ptr<THubServerLink> link)
    : TAutoObject(QStringLiteral("HubDesk.Counter"))
    , link_(std::move(link))
{
    AddMethod(QStringLiteral("GetSysInfo"),
        [this](VariantList& a) { return GetSysInfo(Arg(a, 0).ToString(), Arg(a, 1).ToString()); });
    AddMethod(QStringLiteral("GetCounter"),
        [this](VariantList& a) { return GetCounter(Arg(a, 0).ToString(), Arg(a, 1), Arg(a, 2)); });
}

Variant THubCounter::GetSysInfo(const QString& company, const QString& databaseName)
{
    const THubQueryAnswer answer = link_->Query(
        QStringLiteral("Query"), QStringLiteral("ADMSP"), QStringLiteral("01"), databaseName, company);
    return answer.Ok ? answer.Rows : Variant();
}

Variant THubCounter::GetCounter(const QString& name, const Variant& params, const Variant& context)
{
    const TArgReader where = TArgReader::Spread(context);
    const QString company = where.At(0).ToString();
    const QString database = where.At(1).ToString();
    VariantList values {company};
    const Variant& p = params.Deref();
    if (p.IsArray())
        values += p.Elements();
    else if (!p.IsEmptyOrNull())
        values << p;
    const THubQueryAnswer answer = link_->Query(
        QStringLiteral("Counter"), name.trimmed().toUpper(), QString(), database, Variant::ArrayOf(values));
    if (answer.RowCount() == 0 || answer.Rows[0].HighBound() < 0)
        return Variant();
    return answer.Rows[0][0];
}

THubValidator::THubValidator(std::shared_ptr<THubServerLink> link)
    : TAutoObject(QStringLiteral("HubDesk.Validator"))
    , link_(std::move(link))
{
    auto query = [this](VariantList& a) {
        Variant rows;
        const bool found
            = QueryData(Arg(a, 0).ToString(), Arg(a, 1).ToString(), Arg(a, 2).ToString(), Arg(a, 3), rows);
        if (found)
            SetOut(a, 4, rows);
        return Variant(found);
    };
    AddMethod(QStringLiteral("QueryData"), query);
    AddMethod(QStringLiteral("CheckValue"), query);
}

bool THubValidator::QueryData(const QString& table, const QString& number, const QString& databaseName,
    const Variant& params, Variant& rows)
{
    const THubQueryAnswer answer = link_->Query(QStringLiteral("Query"), table, number, databaseName, params);
    if (answer.RowCount() == 0)
        return false;
    rows = answer.Rows;
    return true;
}
