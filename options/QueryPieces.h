#pragma once
// The SQL of a report, kept as six text pieces while a print program builds
// it: select list, FROM, joins, where, group by and order by. The program's
// query builder fills them; AdjustQuery adds the send-status and the
// server's rights condition to the where piece; the program then joins the
// pieces into one statement.
//
// Piece texts. Every setter trims its text and keeps it with one trailing
// space. Select, from, where, group-by and order-by pieces begin with their
// keyword: when the trimmed text, in upper case, does not begin with
// "SELECT ", "FROM ", "WHERE ", "GROUP BY " or "ORDER BY ", the prefix
// "Select ", " From ", " Where ", " Group By " or " Order by " is put in
// front. So an empty text gives the bare prefix (" Where " and the trailing
// space): format layouts hand these pieces to their SQL builder as they are,
// so callers that want no clause leave the piece alone instead of setting it
// empty. The join piece is kept as given, trimmed.
//
// Conditions. AddCondition appends "(" column value ")" with " and "; the
// value is SQL text made by the caller (an operator and a quoted literal,
// e.g. "='A001' "), never raw user input.
//
// Nothing here talks to the server or reads a form: the settings come in
// TQuerySettings, the pieces stay in this object until the next setter.

#include "runtime/system/Variant.h"

#include <QString>

// What the base part of AdjustQuery reads besides the pieces.
struct TQuerySettings {
    // The program's main table; the rights condition is merged only when
    // this is not blank.
    QString MainTable;
    // The server's rights data: [0] condition on MainTable, [4] "Y" when
    // data rights apply, [5] rights list [count, "TABLE condition", ...].
    Variant PowerData;
    // 0 print, 1 e-mail, 2 fax.
    int SendMode = 0;
    // The column that counts sends (TO053 for the change slips).
    QString SendCountColumn;
    // "<>0", "=0" or empty, from the send-status choice.
    QString SendStatusCondition;
    // The login database; the prefix of bound table names.
    QString DatabaseName;
};

class TQueryPieces {
public:
    const QString& SelectPart() const { return select_; }
    const QString& FromPart() const { return from_; }
    const QString& WherePart() const { return where_; }
    const QString& GroupByPart() const { return groupBy_; }
    const QString& OrderByPart() const { return orderBy_; }
    const QString& JoinPart() const { return join_; }

    void SetSelectPart(const QString& text);
    void SetFromPart(const QString& text);
    void SetWherePart(const QString& text);
    void SetGroupByPart(const QString& text);
    void SetOrderByPart(const QString& text);
    void SetJoinPart(const QString& text);

    // Base part of the program's AdjustQuery: when sending (SendMode not 0)
    // the send-status condition on SendCountColumn, then the rights
    // condition (MergeRightsCondition). Only the where piece changes.
    void AdjustQuery(const TQuerySettings& settings);
    // The where piece in parentheses, " and (", PowerData[0], ")" when both
    // are there; either one alone; a rights condition alone becomes
    // " Where " + it. Without MainTable the where piece is only trimmed
    // and stored again.
    void MergeRightsCondition(const TQuerySettings& settings);

    // where + " and (" column value ")" ("(" column value ")" for an empty
    // where). Nothing changes when column or value is empty.
    static void AddCondition(QString& where, const QString& column, const QString& value);

private:
    QString select_;
    QString from_;
    QString where_;
    QString groupBy_;
    QString orderBy_;
    QString join_;
};
