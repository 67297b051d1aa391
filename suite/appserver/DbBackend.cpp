#include "suite/appserver/DbBackend.h"

#include "suite/appserver/PgBackend.h"
#include "suite/appserver/SqliteBackend.h"

TDbCursor::~TDbCursor() = default;
TDbBackend::~TDbBackend() = default;

std::unique_ptr<TDbBackend> OpenBackend(const QString& type, const QString& location, bool create)
{
    if (type.compare(QLatin1String("SQLITE"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TSqliteBackend>(location, create);
    if (type.compare(QLatin1String("POSTGRESQL"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TPgBackend>(location, create);
    throw EDatabaseError(QStringLiteral("unsupported database type: %1").arg(type));
}

void TDbBackend::InsertRows(const QString& table, const QStringList& columns, const QList<VariantList>& rows)
{
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
                            .arg(table, columns.join(QStringLiteral(", ")),
                                QStringLiteral(", ?").repeated(columns.size() - 1));
    for (const VariantList& row : rows)
        Execute(sql, row);
}

TDbTransaction::~TDbTransaction()
{
    if (!done_) {
        try {
            db_.Rollback();
        } catch (const Exception&) {
            // nothing more can be done; the connection rolls back when it closes
        }
    }
}

void TDbTransaction::Commit()
{
    db_.Commit();
    done_ = true;
}
