#include "suite/appserver/DbCatalogue.h"

void TDbCatalogue::Clear()
{
    columns_.clear();
    textColumns_.clear();
    uniqueKeys_.clear();
}

void TDbCatalogue::AddTable(const QString& table)
{
    columns_[table.toUpper()];
}

void TDbCatalogue::AddColumn(const QString& table, const QString& column, bool text)
{
    const QString name = column.toUpper();
    columns_[table.toUpper()].insert(name);
    if (text)
        textColumns_.insert(name);
}

void TDbCatalogue::AddUniqueKey(const QString& table, const QSet<QString>& columns)
{
    if (columns.isEmpty())
        return;
    QSet<QString> key;
    for (const QString& c : columns)
        key.insert(c.toUpper());
    uniqueKeys_[table.toUpper()] << key;
}

bool TDbCatalogue::IsTextColumn(const QString& column) const
{
    return textColumns_.contains(column.toUpper());
}

bool TDbCatalogue::HasTable(const QString& table) const
{
    return columns_.contains(table.toUpper());
}

bool TDbCatalogue::HasColumn(const QString& table, const QString& column) const
{
    const auto it = columns_.constFind(table.toUpper());
    return it != columns_.constEnd() && it->contains(column.toUpper());
}

bool TDbCatalogue::CoversUniqueKey(const QString& table, const QStringList& columns) const
{
    QSet<QString> given;
    for (const QString& c : columns)
        given.insert(c.toUpper());
    for (const QSet<QString>& key : uniqueKeys_.value(table.toUpper()))
        if (given.contains(key))
            return true;
    return false;
}
