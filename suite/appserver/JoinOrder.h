#pragma once
// Join order for engines that keep LEFT JOINs in the order written (SQLite).
//
// The module writes its slip queries as the header table, the line table,
// then a long chain of look-ups, most of them on header columns:
//
//   FROM MOCTO LEFT JOIN MOCTP ON TP001=TO001 ... LEFT JOIN CMSMB AS A ON A.MB001=TO021 ...
//
// Run as written, every look-up on a header column is repeated for each line
// of the slip. A LEFT JOIN that can match several rows ("fans out") is moved
// behind the joins that match at most one row, together with every join that
// refers to it, so the header look-ups run once per header. The rows are the
// same: in a chain of LEFT JOINs whose ON conditions name only tables joined
// before them, any order that keeps each join behind the tables it names gives
// the same rows; the pass only runs on statements with an ORDER BY, so the
// order of the rows is the same too.
//
// Anything outside that shape leaves the text as it is: other kinds of join,
// comma joins, sub-queries or parentheses in FROM, a bare "*" or "*" operator
// in the select list (the column order of "*" follows the join order), UNION,
// a table the schema does not know ("main.T", a temporary table), or a column
// it does not place; an ON condition with a quoted name or a name of the
// select list's ("AS X") is such a column too. So is a "?" in the joins: the
// parameters are bound in the order of the text.

#include <QString>
#include <QStringList>
#include <functional>

struct TJoinSchema {
    // True when the schema knows the table: the columns of any other table
    // cannot be placed, so a statement joining one stays as it is.
    std::function<bool(const QString& table)> HasTable;
    // True when the table has the column (names compared without case).
    std::function<bool(const QString& table, const QString& column)> HasColumn;
    // True when rows of the table that agree on these columns are one row at
    // most (the columns include a primary key or unique index).
    std::function<bool(const QString& table, const QStringList& columns)> CoversUniqueKey;
};

// The statement with fanning-out LEFT JOINs moved last, or sql unchanged.
QString DeferFanOutJoins(const QString& sql, const TJoinSchema& schema);
