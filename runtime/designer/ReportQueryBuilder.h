#pragma once
// ReportQueryBuilder: the extended fields of a report layout. It keeps the
// relation tables a layout joins to the report's query (table, join
// condition), their fields (column, caption, kind: 0 text, 1 barcode) and
// which layout component each used field is bound to, and rewrites the
// report's SQL so that the used fields come along:
//   select  base select list + ", RT<i>.<column> AS RT<i>_<column>" per used field
//   join    base join + " LEFT JOIN $$<table> RT<i> ON <condition>" per table in use
//   group   base group-by + the used columns, when the report groups at all
//   order   base order-by (unchanged)
// The builder is a component: its tables, fields and running component
// number are published (string lists), so a stored layout carries them.
//
// It lives with the designer (not with the format forms) because the
// designer's tool window lists its fields and the relation wizard library
// drives it through its invokable methods.
//
// Guarantees: a stored layout is not trusted. A table or column that is not
// a plain identifier, or a join condition that is anything but identifiers,
// dots, comparisons, AND/OR and parentheses (no quotes, semicolons or
// comments), is refused when added and skipped when the SQL is built, so a
// tampered layout cannot put its own SQL into the report's query.

#include "runtime/forms/Component.h"

#include <QStringList>

class TStrings;

// One field of a relation table.
struct TQueryField {
    int Table = -1;
    QString Column;
    QString Caption;
    int Kind = 0; // 0 data text, 1 barcode
    QString Component; // the layout component bound to it, empty when unused
    bool Used() const { return !Component.isEmpty(); }
    // The name the report's data set knows the field by.
    QString Alias() const { return QStringLiteral("RT%1_%2").arg(Table).arg(Column); }
};

// The six pieces of the report's query as the options window builds them
// (named apart from the options window's own TQueryPieces class, which a
// format's translation unit may see beside this one).
struct TBuilderPieces {
    QString Select, From, OrderBy, GroupBy, Where, Join;
};

class ReportQueryBuilder : public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(TStrings* RelationTables READ RelationTables WRITE SetRelationTables)
    Q_PROPERTY(TStrings* RelationFields READ RelationFields WRITE SetRelationFields)
    Q_PROPERTY(int ComponentNumber READ ComponentNumber WRITE SetComponentNumber)
public:
    explicit ReportQueryBuilder(TComponent* owner = nullptr);

    bool Active() const { return active_; }
    void SetActive(bool on) { active_ = on; }
    // "table<TAB>condition" per relation table.
    TStrings* RelationTables() const { return tables_; }
    void SetRelationTables(TStrings* lines);
    // "table index<TAB>column<TAB>caption<TAB>kind<TAB>component" per field.
    TStrings* RelationFields() const { return fields_; }
    void SetRelationFields(TStrings* lines);
    // The running maximum of the numbers in created component names.
    int ComponentNumber() const { return componentNumber_; }
    void SetComponentNumber(int n) { componentNumber_ = std::max(0, n); }
    // Answers the current number and raises it by one.
    int TakeComponentNumber() { return componentNumber_++; }

    // The base pieces and the layout's own fields.
    void InitQueryBuilder(const QString& select, const QString& from, const QString& where,
        const QString& groupBy, const QString& orderBy, const QString& layoutFields);
    QString LayoutFields() const { return layoutFields_; }
    bool IsQueryEmpty() const;
    // Takes pieces only when extended fields need them and they name a
    // select list and a table.
    bool AcceptQueryParts(const TBuilderPieces& pieces) const;
    void SetQueryParts(const TBuilderPieces& pieces, bool designer);
    bool DesignerMode() const { return designer_; }
    const TBuilderPieces& Pieces() const { return pieces_; }

    // Relation tables and fields. Add* answer the new index, -1 when the
    // names or the condition are refused.
    Q_INVOKABLE int AddRelationTable(const QString& table, const QString& condition);
    Q_INVOKABLE int AddField(int table, const QString& column, const QString& caption, int kind);
    Q_INVOKABLE int TableCount() const;
    Q_INVOKABLE QString TableName(int table) const;
    // The first table of the base FROM, without its "$$" prefix.
    Q_INVOKABLE QString MainTable() const;
    // The qualified columns of the base select list ("A.TO001"), what a
    // relation table can be joined to.
    Q_INVOKABLE QStringList BaseColumns() const;
    // Table name and join condition are fit to go into SQL.
    bool IsTableSafe(int table) const;
    int FieldCount(int table) const;
    // Field f of table t (by position within the table); Table -1 when absent.
    TQueryField Field(int table, int field) const;
    QList<TQueryField> Fields() const;
    // Binds field (t, f) to a component; false when it is bound already.
    bool BindField(int table, int field, const QString& component);
    // The field bound to component is marked unused; false when none was.
    bool UnbindComponent(const QString& component);
    bool HasRelationData() const { return TableCount() > 0; }
    bool HasExtendedFields() const;

    QString ExtendedSelect() const;
    QString ExtendedJoin() const;
    QString ExtendedGroupBy() const;
    QString ExtendedOrderBy() const;
    // sql with the base pieces replaced by the extended ones (unchanged when
    // the builder is not active or no field is used).
    QString GetFinalQuery(const QString& sql) const;

    static bool IsPlainIdentifier(const QString& name);
    static bool IsSafeCondition(const QString& condition);

private:
    struct Table {
        QString Name, Condition;
    };
    QList<Table> tableList() const;
    int fieldLine(int table, int field) const;
    void setFieldLine(int line, const TQueryField& f);

    bool active_ = false;
    bool designer_ = false;
    TStrings* tables_;
    TStrings* fields_;
    int componentNumber_ = 1;
    TBuilderPieces pieces_;
    QString layoutFields_;
};
