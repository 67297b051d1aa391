#pragma once
// The demo schema for PostgreSQL, made from the SQLite schema text so that
// both engines hold the same tables, columns, keys and indexes:
// - TEXT columns sort by code: TEXT COLLATE "C" (the suite's binary
//   collation; also what SQLite does);
// - REAL, SQLite's eight-byte float, is DOUBLE PRECISION (PostgreSQL's REAL
//   has four bytes);
// - an index on an expression gets the parentheses PostgreSQL asks for
//   (ON T ((A || B)));
// - the table option WITHOUT ROWID goes (a key index serves instead).
// Comments and literals are left as they are. Raises EDatabaseError for an
// unterminated literal or comment.

#include <QString>

QString PostgresSchema(const QString& sqliteScript);
