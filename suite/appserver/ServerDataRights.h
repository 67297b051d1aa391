#pragma once
// The data rights the server holds a connected user's reads to: the
// "Provider1"/"Provider2"/"pvdTemp" requests, RunFreeSQL's reads and the
// catalogue's "SimpleSql". A client that leaves its own filters out (or
// writes them wrongly) gains nothing by it.
//
// What goes in: a client's SELECT text (the module's dialect, before
// translation), the user's rights as Connect read them, and the database
// name the client connected with.
//
// Guaranteed:
// - Without data rights (TUserRights::DataRights false) the text comes back
//   as it is.
// - Otherwise every FROM clause that reads a rights table, in the statement
//   or in any sub-select, gets that table's filter woven in by the same
//   weaving the options window uses (common/DataRights.h). The rights
//   tables are those of the rights list and, when it has a condition, the
//   program's main table: the server applies the main table's condition
//   wherever the table is read, not only in the main statement's WHERE.
// - Every way of naming a rights table counts: bare ("PURMA"), bound
//   ("$$PURMA"), or qualified by a schema or database ("main.PURMA",
//   "DEMO..PURMA"); each becomes "$$PURMA" first, so the weaving sees it.
// - A rights table named inside quotes ("PURMA", [PURMA]) cannot be told
//   from a value reliably: the text is refused (EDatabaseError). So is one
//   named by a string literal where a table stands (FROM 'PURMA', which
//   SQLite reads as a name) or read inside a parenthesised join
//   (FROM (PURMA p JOIN ...)); names quoted with ` and PostgreSQL's
//   "TABLE name" are refused whenever rights apply. A rights table in plain
//   parentheses, (PURMA) or ((PURMA)), is read as the bare name.
// - Comments are dropped before the weaving (each becomes one blank), so
//   no filter can land inside one.
// - Control characters other than TAB, CR and LF refuse the text, with or
//   without rights: SQLite stops reading at a NUL, after which a filter
//   would never be seen.
//
// Left alone: literals; tables without rights; a client filter that is
// already there (the server's comes in addition, so rows a client filtered
// out stay out).

#include "suite/appserver/UserRights.h"

#include <QString>

QString ApplyServerDataRights(
    const QString& sql, const TUserRights& rights, const QString& mainTable, const QString& databaseName);
