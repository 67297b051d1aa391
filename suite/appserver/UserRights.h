#pragma once
// A user's rights for one program, as Connect reads them.
//
// Where they live:
// - ADMMF: the user (MF002 name, MF004 group, MF005 "Y" for a super user, who
//   holds every right).
// - ADMMG: program rights, one row per user (or per group) and program:
//   MG003 the rights string (one character per right, "Y" grants it), MG004
//   the price right ("Y" may print unit prices and amounts). A user's own
//   row wins over the row of the user's group.
// - ADMMR: data rights, rows of user, program ("*" for every program),
//   table and condition. Conditions on the program's main table are merged
//   into its where clause; those on other tables travel as "TABLE condition"
//   entries that the client weaves into every FROM naming that table.
//
// PowerData, the array clients read after Connect:
//   [0] the main table's condition (several rows joined with AND), or empty
//   [1] the rights string for the program
//   [2] "Y" when the user holds the price right, else "N"
//   [3] the user's group
//   [4] "Y" when data rights apply to the user and program, else "N"
//   [5] the rights list: [count, "TABLE condition", ...]

#include "runtime/system/Variant.h"

#include <QStringList>

class TDbBackend;

struct TUserRights {
    bool Known = false; // the user exists
    QString UserName;
    QString Group;
    QString RightsString;
    bool PriceRight = false;
    QString MainCondition;
    QStringList RightsList;
    bool DataRights = false;

    Variant PowerData() const;
};

// Raises EDatabaseError when the tables cannot be read.
TUserRights LoadUserRights(
    TDbBackend& db, const QString& user, const QString& program, const QString& mainTable);
