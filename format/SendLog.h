#pragma once
// The send log: one row in table $$ADMTA per recipient outcome of a send
// run, written through the application server's RunFreeSQL.
//
// Row: COMPANY, CREATOR, USR_GROUP, CREATE_DATE (today, yyyymmdd), FLAG '1',
// TA001 program code, TA002 recipient key, TA003 'N' for a failed recipient
// else 'Y', TA004 the outcome text, TA005 the time hh:mm:ss, TA006 today.
// Every value is a quoted SQL literal (an inner quote doubled), so a key
// taken from the data cannot change the statement.
//
// Write() never raises: a log that cannot be written must not stop the run
// for the other recipients. It answers whether the server took the row.

#include "runtime/system/Variant.h"

#include <QDateTime>
#include <QString>

struct TSendContext {
    QString CompanyCode;
    QString UserCode;
    QString UserGroup;
    QString ProgramCode;
    QString ProgramName;
    QString ClientHome;
};

class TSendLog {
public:
    // server: the application server object (RunFreeSQL); may be empty, then nothing is written.
    TSendLog(Variant server, TSendContext context);

    bool Write(const QString& key, const QString& text, bool failed) noexcept;

    static QString InsertStatement(const TSendContext& context, const QString& key, const QString& text,
        bool failed, const QDateTime& when);

private:
    Variant server_;
    TSendContext context_;
};
