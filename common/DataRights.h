#pragma once
// Weaving the user's data-rights filters into a finished SELECT.
//
// The application server answers Connect with rights data (PowerData): when
// element 4 is "Y", element 5 lists conditions on tables ("PURMA
// PURMA.MA001 <> 'S0001'"). Wherever such a table appears in a FROM clause
// of the statement, under any alias, its rows must pass the condition (or
// the table must have no row there, as with an outer join). ApplyDataRights
// finds every FROM clause, asks BuildRightsFilter for the filter of the
// tables it names, and puts that filter first in the clause's WHERE:
//
//   ... FROM t WHERE c ORDER BY o   ->  ... FROM  t  WHERE f AND   c ORDER BY o
//   ... FROM t ORDER BY o           ->  ... FROM t  WHERE f ORDER BY o
//   ... FROM t                      ->  ... FROM  t WHERE f
//
// (the spacing is the one stored layouts and the server's query log have
// always shown; SQL does not care).
//
// What counts as structure:
// - Keywords (FROM, WHERE, GROUP, ORDER, HAVING, UNION, INTERSECT, EXCEPT,
//   LIMIT, OR) are whole words in any case, outside quoted literals
//   ('it''s'), quoted names ("x", [x]) and comments. A typed value such as
//   'x FROM $$PURMA WHERE' is data: nothing is woven into it.
// - Each parenthesised sub-select is a statement of its own: its FROM
//   clauses get their filter inside the parentheses, and its tables do not
//   count for the clause around it.
// - A FROM clause ends at its WHERE, at GROUP/ORDER/HAVING/UNION/INTERSECT/
//   EXCEPT/LIMIT, or at the end of its statement; a filter for a clause
//   without WHERE goes in front of that end.
// - When a filter is added to a WHERE whose own condition has an OR outside
//   parentheses, that condition is put in parentheses, so the filter holds
//   for every row (AND binds before OR).
//
// Guaranteed: without rights data (element 4 not "Y"), or when no FROM
// clause names a rights table, the text comes back unchanged apart from
// spacing around the FROM and WHERE keywords; literals, names and comments
// are never changed. Raises Exception for parentheses nested more deeply
// than 200 levels rather than pass a sub-select unfiltered.

#include "runtime/system/Variant.h"

#include <QString>

QString ApplyDataRights(const QString& sql, const Variant& powerData, const QString& databaseName);
