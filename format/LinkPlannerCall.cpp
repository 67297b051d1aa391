#include "format/LinkPlannerCall.h"

#include "runtime/data/ClientDataSet.h"
#include "runtime/data/Field.h"
#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/system/Libraries.h"

TLinkPlannerData::TLinkPlannerData(ColumnReader columns, QStringList tables)
    : columns_(std::move(columns))
    , tables_(std::move(tables))
{
}

QStringList TLinkPlannerData::Columns(const QString& table) const
{
    if (!ReportQueryBuilder::IsPlainIdentifier(table) || !columns_)
        return {};
    try {
        return columns_(table);
    } catch (const Exception&) {
        return {};
    }
}

QStringList TLinkPlannerData::StandardRelationTables()
{
    return {QStringLiteral("INVMB"), QStringLiteral("PURMA"), QStringLiteral("COPMA"),
        QStringLiteral("CMSMQ"), QStringLiteral("CMSMC"), QStringLiteral("CMSMD"), QStringLiteral("CMSMW"),
        QStringLiteral("ADMMF"), QStringLiteral("CMSMB")};
}

TLinkPlannerData::ColumnReader ColumnsThroughProvider(TSocketConnection* connection)
{
    return [connection](const QString& table) {
        TClientDataSet data;
        data.SetRemoteServer(connection);
        data.SetProviderName(QStringLiteral("pvdTemp"));
        // The table name is a checked identifier (Columns), so it may stand in the text.
        data.SetCommandText(QStringLiteral("SELECT * FROM $$%1 WHERE 1 = 0").arg(table));
        data.Open();
        QStringList names;
        for (int i = 0; i < data.FieldCount(); ++i)
            names << data.Fields()[i]->FieldName();
        data.Close();
        return names;
    };
}

int RunLinkPlanner(
    const QString& clientHome, QObject* form, ReportQueryBuilder* builder, TLinkPlannerData* data, bool force)
{
    const auto error = [](const char* text) {
        Dialogs().MessageDlg(QString::fromLatin1(text), mtError, TMsgDlgButtons(mbOK), QString());
        return -1;
    };
    std::unique_ptr<TLibrary> library
        = TLibrary::Load(QStringLiteral("LinkPlanner.dll"), {clientHome + QStringLiteral("c_hvbin")});
    if (!library)
        return error("DLL Call Error");
    using Entry = int (*)(QObject*, QObject*, QObject*);
    auto entry = reinterpret_cast<Entry>(library->GetProcAddress(QStringLiteral("GetSQLFixed")));
    if (!entry)
        return error("Create LinkPlanner Internal Error");
    if (!force && (!builder || !builder->HasExtendedFields()))
        return 0;
    const int result = entry(form, builder, data);
    if (result < 0)
        return error("Create LinkPlanner Error");
    return result;
}
