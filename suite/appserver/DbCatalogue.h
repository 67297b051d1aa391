#pragma once
// What a back end knows of its tables, loaded when it opens (and after a
// script that creates tables): the columns of each table, which column names
// hold text somewhere, and the column sets that identify one row. Names are
// compared without regard to case. The answers behind TDbBackend's
// IsTextColumn, HasTable, HasColumn and CoversUniqueKey.

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class TDbCatalogue {
public:
    void Clear();
    // Records a column of a table (a table without columns: AddTable).
    void AddColumn(const QString& table, const QString& column, bool text);
    void AddTable(const QString& table);
    // Records a primary key or a unique index on plain columns (an empty set is ignored).
    void AddUniqueKey(const QString& table, const QSet<QString>& columns);

    bool IsTextColumn(const QString& column) const;
    bool HasTable(const QString& table) const;
    bool HasColumn(const QString& table, const QString& column) const;
    bool CoversUniqueKey(const QString& table, const QStringList& columns) const;

private:
    QHash<QString, QSet<QString>> columns_; // upper-case table -> upper-case columns
    QSet<QString> textColumns_; // upper-case names
    QHash<QString, QList<QSet<QString>>> uniqueKeys_; // upper-case table -> column sets
};
