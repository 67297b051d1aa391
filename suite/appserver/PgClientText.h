#pragma once
// What the PostgreSQL back end lets a client's text do, checked before the
// text reaches the server. The engine itself enforces the rest: client reads
// run in READ ONLY transactions that are rolled back, every client statement
// under a statement_timeout (PgBackend.h).
//
// CheckPgClientText raises EDatabaseError, naming the reason, when the text
// - is not a statement of its access level: Read takes a query (SELECT,
//   WITH, VALUES, or one of them in parentheses); ReadInsert a query or an
//   INSERT without ON CONFLICT (which would update); Update an UPDATE;
// - holds what the server's tokenizer would read otherwise than PostgreSQL
//   does, so that a call could hide from this check and from the rewriting
//   passes: an escape string (E'..', U&'..'), a dollar-quoted string or any
//   other "$" in a word, a "[" quoted name (an array subscript there);
// - is recursive (WITH RECURSIVE): a runaway one would run to the
//   statement timeout on every call;
// - calls a function that reaches past the query's own rows: the server's
//   administration and file functions (names beginning "pg_" or "lo_"),
//   set_config, and the functions that run a text as a query (query_to_xml,
//   cursor_to_xml and their relatives, ts_stat, dblink).
// Server access is not checked. The text is one statement already (the
// translator refuses more).

#include "suite/appserver/DbBackend.h"

#include <QSet>

void CheckPgClientText(const QString& sql, SqlAccess access);

// A client reads its own company only: every company is a schema of one
// database, so CheckPgSchemaReach raises EDatabaseError when the text
// qualifies a name with a schema other than sessionSchema ("other.admmf",
// "OTHER"."ADMMF", other . admmf), where schemas lists the database's
// schemas in lower case (pg_catalog and information_schema among them). A
// qualifier that is no schema (an alias: "A.MB002") passes; an alias that
// shares a schema's name is refused with it.
void CheckPgSchemaReach(const QString& sql, const QString& sessionSchema, const QSet<QString>& schemas);
