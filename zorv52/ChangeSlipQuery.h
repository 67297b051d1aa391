#pragma once
// The change-slip statement: slip headers (MOCTO) with their lines (MOCTP)
// and the names the slip prints (work centres, suppliers, customer orders,
// creator, approver ...), in the SQL dialect the server reports.
//
// SqlType 0 (LEFT JOIN dialect): the select list with the user-defined
// columns of header (UDFnnM) and line (UDFnnD) and the extra columns, FROM
// $$MOCTO AS MOCTO, the look-ups as LEFT JOINs, the where text starting
// "Where 1=1 ". SqlType 1 ("(+)" outer-join dialect): the first select text
// with "||" for "+", every table in FROM, the outer joins in the where text;
// no joins piece, no user-defined or extra columns. The texts are kept
// character for character: a format's SQL builder gets them as pieces, and
// its extended fields and the report's data fields name their columns and
// aliases (TO001T, CMSMB002A, PURMA010A, UDF01M ...).
//
// Conditions. Criteria (mode 0) come as the option values of the options
// window, an array indexed from 1:
//   1 slip type condition  "='A001' " (SlipTypeCondition), or empty
//   2 slip number, 3 version, 4 change date, 5 approval date: criteria values
//     of the selection panels (scalar, range, [#4, lo, hi] or [#5, list])
//   6 approval status      "='Y' ", "='N' ", "='V' " or empty
//   7 print status         "<> 0 ", "= 0 " or empty
// Keys (mode 1) come from the shell, an array from 0: slip type, slip
// number, version (empty ones add no condition), slip type key.
//
// Every value reaches the SQL as a quoted literal: panel values through
// AddFieldCondition, keys through QuoteSqlText. Elements 1, 6 and 7 are SQL
// text made by the options window; BuildQuery accepts them only in the
// shapes above and raises EConvertError for anything else, so a value that
// did not come through those builders cannot change the statement.

#include "options/QueryPieces.h"
#include "runtime/system/Variant.h"

#include <QString>

enum TQueryMode {
    QueryModeCriteria = 0,
    QueryModeKeys = 1,
};

class TChangeSlipQuery {
public:
    // sqlType: the server's SQLType; anything but 1 is the LEFT JOIN dialect.
    explicit TChangeSlipQuery(int sqlType = 0)
        : sqlType_(sqlType)
    {
    }
    int SqlType() const { return sqlType_; }

    // Fills select, from, joins (SqlType 0 only), where and order by.
    // Raises EConvertError for a malformed element (above); the pieces are
    // then left as they were.
    void BuildQuery(int mode, const Variant& values, TQueryPieces& pieces) const;
    // The base adjustment (send status, rights condition on MOCTO) on the
    // pieces, then the statement: select + from + joins + where + order by
    // (SqlType 1 without joins). The data-rights filters are not woven in.
    QString AdjustQuery(TQueryPieces& pieces, const TQuerySettings& settings) const;

private:
    void setDialectPieces(TQueryPieces& pieces) const;
    int sqlType_;
};

// The program's settings for the base adjustment and sending.
extern const QLatin1String ChangeSlipMainTable; // "MOCTO"
extern const QLatin1String ChangeSlipSendCountColumn; // "TO053"
extern const QLatin1String ChangeSlipSendWayTable;
// The option values' slot of the send status: after the program's seven.
constexpr int ChangeSlipSendStatusSlot = 8;
// The statement settings of the change slips for a user's rights data.
TQuerySettings ChangeSlipSettings(const Variant& powerData, const QString& databaseName);

// One run of the options window's print road, without the window.
struct TChangeSlipRun {
    int SqlType = 0;
    int Mode = QueryModeCriteria;
    Variant Values; // option values, or the shell's keys
    // MainTable, PowerData, DatabaseName and SendMode; the send status is
    // read from the values.
    TQuerySettings Settings;
    bool DataRights = false; // weave the data-rights filters in
};
// BuildQuery into pieces, the send status of the reserved slot, the
// adjustment, the statement, and the data-rights filters when asked.
// Raises what BuildQuery and SendStatusOfValues raise.
QString ChangeSlipStatement(const TChangeSlipRun& run, TQueryPieces& pieces);

// The pieces of every slip, no condition at all (keys left empty): what the
// measurements and the server's fixtures run, taken from the builder above
// so that they follow the program's statement.
TQueryPieces ChangeSlipPiecesOfAllSlips(int sqlType = 0);
