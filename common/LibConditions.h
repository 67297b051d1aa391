#pragma once
// SQL condition text from criteria values, and the data-rights filter that is
// woven into a finished statement.
//
// A criteria value (from a selection panel) is a scalar (one lower bound), an
// array [lower, upper], an array [#4, lower, upper], or a list [#5, v1, v2, ...]
// where an element that is itself an array stands for its element 0.
//
// Field types: 1 character column, bounds become quoted literals; 2 and 3
// numeric or other unquoted columns, bounds are trimmed and must be numbers
// (optional sign, digits with at most one decimal point, optional exponent),
// otherwise EConvertError names the column. List values are always quoted.
// Every literal is quoted the SQL way (single quotes, an inner quote doubled);
// a NUL character in a value raises EConvertError, since it would cut the
// statement short in the database client. The field name comes from the
// program's own code and is written as given.

#include "runtime/system/Variant.h"

#include <QString>

enum class ConditionShape {
    Range, // scalar, or [lower, upper]
    MarkedRange, // [#4, lower, upper]
    List, // [#5, values...]
};

// The shape of a criteria value, read from its element 0.
ConditionShape ConditionKind(const Variant& value);

// Adds the condition of one criteria value on field to where ("Where " + the
// condition when where is empty, else " and " + it); condition receives the
// added text, empty when the value gives none or fieldType is not 1, 2 or 3.
void AddFieldCondition(
    QString& where, const QString& field, const Variant& value, QString& condition, int fieldType);
// The range part of AddFieldCondition: Between, =, >=, or <= ... OR IS NULL.
// marked: the bounds are elements 1 and 2 (after the #4 marker), else 0 and 1.
void AddRangeCondition(QString& where, const QString& field, const Variant& value, QString& condition,
    int fieldType, bool marked);
// The list part of AddFieldCondition: "(" field " IN ('a', 'b'))", empty and
// null elements skipped.
void AddListCondition(QString& where, const QString& field, const Variant& value, QString& condition);

// The value as a quoted SQL character literal: 'it''s'. Raises EConvertError
// for a text with a NUL character.
QString QuoteSqlText(const QString& value);
// True for [+-]digits[.digits][E[+-]digits] (digits on at least one side of the point).
bool IsSqlNumber(QStringView text);

// The data-rights filter of a statement. rights: [count, "TABLE condition",
// ...]; for every place where a rights table appears in sql (with "$$" when
// sql holds unbound names, else databasePrefix + ".."), adds
// "(( condition ) or (alias.XX001 is null))" with the table name in the
// condition replaced by that place's alias, joined by " and ". Aliases listed
// in excludedAliases (";"-separated, upper case) are left out.
void BuildRightsFilter(const Variant& rights, const QString& databasePrefix, const QString& sql,
    QString& filter, const QString& excludedAliases = QString());
// The alias under which table is used, from the SQL text that follows its
// name: "AS X" gives X, a lone word before a join keyword, WHERE, ON, WITH or
// the end gives that word in upper case, anything else the table name itself.
void FindTableAlias(const QString& table, const QString& rest, QString& alias);
