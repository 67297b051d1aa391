#pragma once
// Turns the SQL Server style texts that clients send into texts of the back
// end's dialect, leaving string literals and comments untouched:
//
// - "$$" table names are bound: "$$MOCTO" becomes the back end's table name.
// - "+" between text operands becomes the back end's concatenation. SQL Server
//   writes "+" for sums and for concatenation alike; here "+" concatenates
//   when an operand next to it is a string literal, a column that holds text
//   in the database (qualified names count by their column part), a text
//   function (SUBSTRING, LEFT, RTRIM, UPPER, ...), a CAST/CONVERT to a
//   character type, or an ISNULL/COALESCE/MAX/MIN or parenthesised group whose
//   first argument is such an operand. Everything else stays a sum.
// - ISNULL( becomes COALESCE(, LEN( becomes LENGTH(, table hints
//   "WITH (NOLOCK)" and "(NOLOCK)" are dropped, and "SELECT TOP n ..." becomes
//   "SELECT ... LIMIT n" for a statement without UNION.
// - For an engine that keeps LEFT JOINs in the order written, LEFT JOINs that
//   can match several rows move behind the look-ups (JoinOrder.h).
// - One statement only: a ";" followed by anything but blanks and comments
//   raises EDatabaseError; a final ";" is dropped.
//
// The "(+)" outer-join dialect is not translated; the server tells clients to
// write LEFT JOINs (SQLType 0).

#include "suite/appserver/JoinOrder.h"

#include <QString>
#include <functional>

class TDbBackend;

struct TSqlDialect {
    std::function<QString(const QString& table)> BindTable;
    std::function<bool(const QString& column)> IsTextColumn;
    QString Concat = QStringLiteral("||");
    // Set for an engine that keeps LEFT JOINs in the order written: joins
    // that fan out then go last (JoinOrder.h).
    TJoinSchema Joins;
};

TSqlDialect DialectOf(const TDbBackend& db);

// Raises EDatabaseError for a text of more than one statement, an
// unterminated literal or comment, and a "$$" without a table name.
QString TranslateSql(const QString& sql, const TSqlDialect& dialect);
