#pragma once
// The manager's look-up object Com_F2Window: three small modal windows, all
// shown through the dialog service.
//
//   F2GetData(request)  -> the rows the user chose, as a zero-based array of
//       zero-based rows (every column of the query); Unassigned when the user
//       cancels, nothing matches, or the query is unknown. The request is one
//       array of 19 items:
//         0 look-up name (the table of the query, e.g. "CMSMQ")
//         1 query number ("19")
//         2 conditions: the query's parameter values (an array, or one value)
//         3 database name
//         4 caller's window handle (not used)
//         5 UserCode
//         6 multiple choice: True lets the user choose several rows
//         7 window caption (empty: the query's title)
//         8 search text the window starts with
//         9 company code
//         10 to 18 reserved (send Unassigned)
//   ShowInputDay([years from 1911, start date YYYYMMDD, database name])
//       -> the chosen date as YYYYMMDD, or empty when the user cancels. A
//       start date that is no valid date starts on today.
//   GetPhrase(UserCode, database name, window handle)
//       -> the chosen common phrase, or empty. The user's phrases are kept in
//       the client home, "Phrase\<UserCode>.txt", one a line; the window adds
//       and deletes them.

#include "runtime/system/AutoObject.h"

#include <memory>

class THubServerLink;

class THubF2Window : public TAutoObject {
public:
    explicit THubF2Window(std::shared_ptr<THubServerLink> link);

    Variant F2GetData(const Variant& request);
    QString ShowInputDay(const Variant& args);
    QString GetPhrase(const QString& userCode);

    // The file of a user's phrases (a native path).
    static QString PhraseFile(const QString& userCode);

private:
    std::shared_ptr<THubServerLink> link_;
};
