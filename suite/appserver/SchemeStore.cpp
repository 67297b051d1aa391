#include "suite/appserver/SchemeStore.h"

#include "common/LibDates.h"
#include "runtime/system/ArgReader.h"
#include "runtime/system/CodePages.h"
#include "suite/appserver/DbBackend.h"

namespace {

QString checkName(const QString& name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("方案名不可空白!");
    if (ByteLength(name, 936) > SchemeStore::NameLimit)
        return QStringLiteral("方案名长度不可大于%1!").arg(SchemeStore::NameLimit);
    return QString();
}

bool exists(TDbBackend& db, const QString& name, const QString& user, const QString& program)
{
    auto c = db.Query(
        QStringLiteral("SELECT 1 FROM GENES WHERE NCONDITION = ? AND CREATOR = ? AND PROGRAMME = ?"),
        {name, user, program});
    return c->Next();
}

} // namespace

namespace SchemeStore {

QString Insert(TDbBackend& db, const Variant& args)
{
    const TArgReader arg(args);
    const QString name = arg.Text(0);
    const QString user = arg.Text(1);
    QString date = arg.Text(2).trimmed();
    const QString program = arg.Text(3);
    if (QString error = checkName(name); !error.isEmpty())
        return error;
    if (user.isEmpty() || program.isEmpty())
        return QStringLiteral("方案缺少用户或程序代号!");
    if (date.isEmpty())
        date = TodayText();
    TDbTransaction tx(db);
    if (exists(db, name, user, program)) {
        if (!arg.Flag(6))
            return QStringLiteral("此方案名称已经存在！");
        db.Execute(QStringLiteral("DELETE FROM GENES WHERE NCONDITION = ? AND CREATOR = ? AND PROGRAMME = ?"),
            {name, user, program});
    }
    db.Execute(QStringLiteral("INSERT INTO GENES (NCONDITION, CREATOR, PROGRAMME, SCONDITION, VCONDITION, "
                              "CREATE_DATE, FLAG) VALUES (?, ?, ?, ?, ?, ?, 1)"),
        {name, user, program, arg.Text(4), arg.Text(5), date});
    tx.Commit();
    return QString();
}

QString Delete(TDbBackend& db, const Variant& args)
{
    const TArgReader arg(args);
    const qint64 n = db.Execute(
        QStringLiteral("DELETE FROM GENES WHERE NCONDITION = ? AND CREATOR = ? AND PROGRAMME = ?"),
        {arg.Text(0), arg.Text(1), arg.Text(2)});
    return n > 0 ? QString() : QStringLiteral("方案不存在!");
}

QString Rename(TDbBackend& db, const Variant& oldKey, const Variant& newKey)
{
    const TArgReader was(oldKey), now(newKey);
    const QString newName = now.Text(0);
    if (QString error = checkName(newName); !error.isEmpty())
        return error;
    if (was.Text(1) != now.Text(1) || was.Text(2) != now.Text(2))
        return QStringLiteral("方案不可改变用户或程序!");
    if (was.Text(0) == newName)
        return QString();
    TDbTransaction tx(db);
    if (exists(db, newName, now.Text(1), now.Text(2)))
        return QStringLiteral("此方案名称已经存在！");
    const qint64 n
        = db.Execute(QStringLiteral("UPDATE GENES SET NCONDITION = ?, FLAG = COALESCE(FLAG, 0) + 1 "
                                    "WHERE NCONDITION = ? AND CREATOR = ? AND PROGRAMME = ?"),
            {newName, was.Text(0), was.Text(1), was.Text(2)});
    if (n <= 0)
        return QStringLiteral("方案不存在!");
    tx.Commit();
    return QString();
}

std::unique_ptr<TDbCursor> List(TDbBackend& db, const QString& user, const QString& program)
{
    return db.Query(
        QStringLiteral("SELECT NCONDITION, CREATOR, PROGRAMME, SCONDITION, VCONDITION, CREATE_DATE "
                       "FROM GENES WHERE CREATOR = ? AND PROGRAMME = ? ORDER BY NCONDITION"),
        {user, program});
}

} // namespace SchemeStore
