#pragma once
// The run parameters a print program hands its server library.
//
// One zero-based Variant array. Report kind "B" programs send the first six
// items, every other kind all eleven:
//
//   0 program code (upper case)        6 option-text array (1..option count)
//   1 company code                     7 environment array (1..9)
//   2 user code                        8 server class name (code + "S.Class1")
//   3 database name                    9 caller's window handle (integer)
//   4 report kind (upper case)        10 moment of the run, "yyyyMMddhhmmss"
//   5 option-value array (1..option count)
//
// The arrays are the three report parameter arrays of the criteria form, as
// its report-parameter build leaves them (every slot set). This header and its
// .cpp are compiled into the program and into the server library alike.

#include "runtime/system/Variant.h"

#include <QDateTime>
#include <QString>

enum TServerRunItem : int {
    sriProgramCode,
    sriCompanyCode,
    sriUserCode,
    sriDatabase,
    sriReportKind,
    sriOptionValues,
    sriOptionTexts,
    sriEnvironment,
    sriServerClass,
    sriCallerHandle,
    sriMoment
};

constexpr int ServerRunItemsBatch = 6; // report kind "B"
constexpr int ServerRunItemsFull = 11;

struct TServerRunParams {
    QString ProgramCode;
    QString CompanyCode;
    QString UserCode;
    QString DatabaseName;
    QString ReportKind;
    Variant OptionValues;
    Variant OptionTexts;
    Variant Environment;
    QString ServerClassName;
    qint64 CallerHandle = 0;
    QDateTime Moment;
};

// The array of the layout above: program code and report kind upper-cased,
// 6 items for kind "B", 11 otherwise.
Variant BuildServerRunParams(const TServerRunParams& params);

// Checks an array against the layout for the given program: the item count
// that the report kind asks for, the texts not empty, the program code and
// (for 11 items) the environment's program code, report kind and server
// class agreeing with it, the arrays one-dimensional from 1 with every slot
// set, the handle a number and the moment a valid stamp. False with why set
// to the first fault found.
bool CheckServerRunParams(const Variant& params, const QString& programCode, QString& why);
