// The server's side of the work-centre manager: predefined queries by key and
// coded messages, read-only like the providers.
#include "suite/appserver/AppServer.h"

#include "runtime/system/ArgReader.h"
#include "suite/appserver/Catalogue.h"
#include "suite/appserver/DbBackend.h"
#include "suite/appserver/ProviderSet.h"

using namespace appserver;

namespace {

VariantList listOf(const Variant& value)
{
    const Variant& v = value.Deref();
    if (v.IsArray())
        return v.Elements();
    if (v.IsEmptyOrNull())
        return {};
    return {v};
}

Variant texts(const QStringList& list)
{
    VariantList items;
    for (const QString& s : list)
        items << s;
    return Variant::ArrayOf(items);
}

// A statement that a client sends whole ("SimpleSql": [statement, column]):
// the rows of the named column, or of every column when it has none of that name.
Variant runClientQuery(TDbBackend& db, const QString& sql, const QString& column, QStringList& captions)
{
    auto c = db.Query(sql, {}, SqlAccess::Read);
    int only = -1;
    for (int i = 0; i < c->ColumnCount(); ++i)
        if (c->ColumnName(i).compare(column.trimmed(), Qt::CaseInsensitive) == 0)
            only = i;
    for (int i = 0; i < c->ColumnCount(); ++i)
        if (only < 0 || i == only)
            captions << c->ColumnName(i);
    VariantList rows;
    while (c->Next()) {
        VariantList row;
        for (int i = 0; i < c->ColumnCount(); ++i)
            if (only < 0 || i == only)
                row << c->Value(i);
        rows << Variant::ArrayOf(row);
    }
    return Variant::ArrayOf(rows);
}

} // namespace

void TAppServer::useDatabase(const QString& databaseName)
{
    Database(); // reads the configuration
    const QString file = config_.CompanyDatabaseFile(databaseName);
    if (file.isEmpty())
        throw EDatabaseError(QStringLiteral("公司数据库 %1 不存在").arg(databaseName));
    if (file != dbFile_) {
        if (providers_)
            providers_->CloseAll();
        db_.reset();
        dbFile_ = file;
    }
}

QString TAppServer::catalogueDatabase(const QString& named)
{
    if (!connected_)
        return named;
    Database(); // reads the configuration
    if (!named.trimmed().isEmpty()
        && config_.CompanyDatabaseFile(named) != config_.CompanyDatabaseFile(databaseName_))
        throw EDatabaseError(
            QStringLiteral("the session is connected to %1, not to %2").arg(databaseName_, named));
    return databaseName_;
}

Variant TAppServer::CatalogueQuery(const Variant& args)
{
    const QString operation = QStringLiteral("CatalogueQuery");
    lastError_.clear();
    try {
        const TArgReader arg(args);
        const QString kind = arg.Text(0).trimmed();
        const QString table = arg.Text(1).trimmed();
        const QString number = arg.Text(2).trimmed();
        const VariantList params = listOf(arg.At(4));
        log_.Received(operation, kind + u' ' + table + u' ' + number);
        if (table.compare(QLatin1String("SimpleSql"), Qt::CaseInsensitive) == 0
            || kind.compare(QLatin1String("SimpleSql"), Qt::CaseInsensitive) == 0) {
            // A text the client wrote: only for a connected user, on the
            // database of that user's session, held to the user's rights.
            requireConnection();
            useDatabase(catalogueDatabase(arg.Text(3)));
            const QString text = TranslateClientRead(params.value(0).ToString());
            log_.Ran(operation, text);
            QStringList captions;
            Database().SetClientTimeBudget(config_.FreeSqlBudgetMs);
            const Variant rows = runClientQuery(Database(), text, params.value(1).ToString(), captions);
            return Variant::ArrayOf({rows, texts(captions), QString()});
        }
        useDatabase(catalogueDatabase(arg.Text(3)));
        const TCatalogueEntry* entry = TQueryCatalogue::Standard().Find(kind, table, number);
        if (!entry)
            throw EDatabaseError(QStringLiteral("no %1 %2 %3 in the catalogue").arg(kind, table, number));
        const QString text = Translate(entry->Sql);
        log_.Ran(operation, text);
        const Variant rows = RunCatalogueStatement(Database(), text, entry->ParamCount, params);
        return Variant::ArrayOf({rows, texts(entry->Columns), entry->Title});
    } catch (const Exception& e) {
        lastError_ = e.Message();
    } catch (const std::exception& e) {
        lastError_ = QString::fromUtf8(e.what());
    }
    log_.Failed(operation, lastError_);
    return Variant::Null();
}

QString TAppServer::CatalogueMessage(const Variant& args)
{
    lastError_.clear();
    try {
        const TArgReader arg(args);
        useDatabase(catalogueDatabase(arg.Text(3)));
        return ReadCatalogueMessage(Database(), arg.Text(0), arg.Text(1), arg.Text(2));
    } catch (const Exception& e) {
        lastError_ = e.Message();
    } catch (const std::exception& e) {
        lastError_ = QString::fromUtf8(e.what());
    }
    log_.Failed(QStringLiteral("CatalogueMessage"), lastError_);
    return QString();
}

void TAppServer::registerCatalogueMembers()
{
    AddMethod(QStringLiteral("CatalogueQuery"), [this](VariantList& a) { return CatalogueQuery(Arg(a, 0)); });
    AddMethod(QStringLiteral("CatalogueMessage"),
        [this](VariantList& a) { return Variant(CatalogueMessage(Arg(a, 0))); });
}
