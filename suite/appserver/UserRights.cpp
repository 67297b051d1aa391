#include "suite/appserver/UserRights.h"

#include "suite/appserver/DbBackend.h"

namespace {
// Enough "Y" for every right a program asks for.
const QString allRights = QStringLiteral("YYYYYYYYYYYYYYYYYYYY");
} // namespace

Variant TUserRights::PowerData() const
{
    Variant list = Variant::CreateArray(0, static_cast<int>(RightsList.size()));
    list.At(0) = static_cast<int>(RightsList.size());
    for (int i = 0; i < RightsList.size(); ++i)
        list.At(i + 1) = RightsList[i];
    return Variant::ArrayOf({MainCondition, RightsString, QString(PriceRight ? "Y" : "N"), Group,
        QString(DataRights ? "Y" : "N"), list});
}

TUserRights LoadUserRights(
    TDbBackend& db, const QString& user, const QString& program, const QString& mainTable)
{
    TUserRights rights;
    bool super = false;
    {
        auto c = db.Query(QStringLiteral("SELECT MF002, MF004, MF005 FROM ADMMF WHERE MF001 = ?"), {user});
        if (!c->Next())
            return rights;
        rights.Known = true;
        rights.UserName = c->Text(0);
        rights.Group = c->Text(1);
        super = c->Text(2).trimmed().compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0;
    }
    if (super) {
        rights.RightsString = allRights;
        rights.PriceRight = true;
    } else {
        // The user's own row first, then the group's.
        auto c = db.Query(QStringLiteral("SELECT MG003, MG004 FROM ADMMG WHERE MG002 = ? AND MG001 IN (?, ?) "
                                         "ORDER BY CASE WHEN MG001 = ? THEN 0 ELSE 1 END"),
            {program, user, rights.Group, user});
        if (c->Next()) {
            rights.RightsString = c->Text(0).trimmed();
            rights.PriceRight = c->Text(1).trimmed().compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0;
        }
    }
    QStringList mainConditions;
    auto c = db.Query(
        QStringLiteral("SELECT MR003, MR004 FROM ADMMR WHERE MR001 = ? AND (MR002 = ? OR MR002 = '*') "
                       "ORDER BY MR003, MR005"),
        {user, program});
    while (c->Next()) {
        const QString table = c->Text(0).trimmed().toUpper();
        const QString condition = c->Text(1).trimmed();
        if (table.isEmpty() || condition.isEmpty())
            continue;
        rights.DataRights = true;
        if (table == mainTable.trimmed().toUpper())
            mainConditions << condition;
        else
            rights.RightsList << table + u' ' + condition;
    }
    if (mainConditions.size() == 1)
        rights.MainCondition = mainConditions.first();
    else if (!mainConditions.isEmpty())
        rights.MainCondition = u'(' + mainConditions.join(QStringLiteral(") AND (")) + u')';
    return rights;
}
