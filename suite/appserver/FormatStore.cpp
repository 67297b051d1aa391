#include "suite/appserver/FormatStore.h"

#include "runtime/system/CodePages.h"
#include "suite/appserver/ArgReading.h"
#include "suite/appserver/DbBackend.h"

#include <QStringList>

using namespace appserver;

namespace {

QString joinLines(const Variant& lines)
{
    const Variant& v = lines.Deref();
    if (!v.IsArray())
        return v.ToString();
    QStringList out;
    for (const Variant& line : v.Elements())
        out << line.Deref().ToString();
    return out.join(QStringLiteral("\r\n"));
}

bool validName(const QString& name)
{
    return ByteLength(name, 936) <= FormatStore::NameLimit;
}

} // namespace

namespace FormatStore {

int NextCounter(int counter)
{
    return counter >= 999 || counter < 0 ? 1 : counter + 1;
}

int Read(TDbBackend& db, const Variant& key, Variant& out)
{
    auto c = db.Query(QStringLiteral("SELECT FLAG, NT003 FROM WARRANT WHERE NT001 = ? AND NT002 = ?"),
        {TextAt(key, 0), TextAt(key, 1)});
    if (!c->Next())
        return 0;
    out = Variant::ArrayOf({c->Text(0), c->Text(1)});
    return 1;
}

int Lock(TDbBackend& db, const Variant& args, const QString& session)
{
    const int counter = IntOf(Element(args, 0), -1);
    const QString asRead = TextAt(args, 1).trimmed();
    if (counter < 0 || asRead.isEmpty())
        return -1;
    const qint64 n
        = db.Execute(QStringLiteral("UPDATE WARRANT SET FLAG = ?, NT006 = ? WHERE NT001 = ? AND NT002 = ? "
                                    "AND CAST(FLAG AS TEXT) = ?"),
            {NextCounter(counter), session, TextAt(args, 2), TextAt(args, 3), asRead});
    return n == 1 ? 1 : -1;
}

int Write(TDbBackend& db, bool update, const Variant& lines, const Variant& params, int sizeKB,
    const QString& session)
{
    const QString text = joinLines(lines);
    const QString snapshot = TextAt(params, 6);
    if (!update) {
        const QString name = TextAt(params, 4);
        if (TextAt(params, 3).isEmpty() || !validName(name))
            return -1;
        db.Execute(QStringLiteral(
                       "INSERT INTO WARRANT (COMPANY, CREATOR, USR_GROUP, CREATE_DATE, FLAG, NT001, NT002, "
                       "NT003, NT004, NT005) VALUES (?, ?, ?, ?, 1, ?, ?, ?, ?, ?)"),
            {TextAt(params, 0), TextAt(params, 1), TextAt(params, 2), Today(), TextAt(params, 3), name, text,
                sizeKB, snapshot});
        return 1;
    }
    const int counter = IntOf(Element(params, 3), -1);
    if (counter < 1 || counter > 999)
        return -1;
    const qint64 n
        = db.Execute(QStringLiteral("UPDATE WARRANT SET COMPANY = ?, MODIFIER = ?, MODI_DATE = ?, NT003 = ?, "
                                    "NT004 = ?, NT005 = ?, NT006 = NULL "
                                    "WHERE NT001 = ? AND NT002 = ? AND FLAG = ? AND NT006 = ?"),
            {TextAt(params, 0), TextAt(params, 1), Today(), text, sizeKB, snapshot, TextAt(params, 4),
                TextAt(params, 5), counter, session});
    return n == 1 ? 1 : -1;
}

int Delete(TDbBackend& db, const Variant& key)
{
    return static_cast<int>(db.Execute(QStringLiteral("DELETE FROM WARRANT WHERE NT001 = ? AND NT002 = ?"),
        {TextAt(key, 0), TextAt(key, 1)}));
}

} // namespace FormatStore
