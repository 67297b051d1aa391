#pragma once
// The two writes a client may ask of the server in its own words, checked
// before anything runs. Both checks read the client's text (before it is
// translated) as tokens; neither runs anything.
//
// - The send log: RunFreeSQL takes exactly one write, a row of the send log,
//   in the shape the options form writes it:
//       INSERT INTO $$ADMTA (col, ...) VALUES (literal, ...)
//   with as many literals (quoted texts, numbers, NULL) as columns, every
//   column one of ADMTA's, and nothing else (no OR REPLACE, no SELECT, no
//   expressions, no second row).
// - The key condition of UpdatePrintCount: terms "operand = literal" joined
//   by AND, where the operand is a column of the counted table, or columns
//   and quoted texts joined by "+" or "||" (the slip key the format form
//   builds: TO001+'-'+TO002+'-'+TO003='A001-0001-0001'). No parentheses,
//   no OR, no functions, no sub-queries.
//
// Comments are refused in both. Both raise EDatabaseError saying what is wrong; a text that passes is safe
// to translate and run with the matching access level.

#include <QString>

class TDbBackend;

namespace clientsql {

// The table the send log lives in, without the "$$" prefix.
inline constexpr const char* SendLogTable = "ADMTA";

// True when the text starts, after blanks and comments, with INSERT (any
// case): RunFreeSQL's sign that the client means a write.
bool LooksLikeInsert(const QString& sql);

// Raises EDatabaseError unless sql is a send-log insert of the shape above.
void CheckSendLogInsert(const QString& sql, const TDbBackend& db);

// Raises EDatabaseError unless condition is a key condition of the shape
// above over columns of table (a table name without "$$").
void CheckKeyCondition(const QString& condition, const QString& table, const TDbBackend& db);

} // namespace clientsql
