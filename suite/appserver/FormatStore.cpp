#include "suite/appserver/FormatStore.h"

#include "common/LibDates.h"
#include "runtime/system/ArgReader.h"
#include "runtime/system/CodePages.h"
#include "runtime/system/Exceptions.h"
#include "suite/appserver/DbBackend.h"

#include <QStringList>

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

void CheckFormText(const QString& text, const QString& name)
{
    if (text.size() > MaxFormChars)
        throw EDatabaseError(
            QStringLiteral("format %1 is %2 characters long, more than the %3 a stored format may have")
                .arg(name)
                .arg(text.size())
                .arg(MaxFormChars));
    // Every component begins a line with "object", "inherited" or "inline":
    // counted before any reader builds one, a format of 100,000 labels costs
    // nothing but this scan.
    int components = 0;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = text.indexOf(u'\n', at);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).mid(at, end - at).trimmed();
        for (const char* word : {"object ", "inherited ", "inline "})
            if (line.startsWith(QLatin1String(word), Qt::CaseInsensitive)) {
                ++components;
                break;
            }
        if (components > MaxFormComponents)
            throw EDatabaseError(
                QStringLiteral("format %1 has more than %2 components, the most a stored format may have")
                    .arg(name)
                    .arg(MaxFormComponents));
        at = end + 1;
    }
}

} // namespace FormatStore

namespace FormatStore {

int NextCounter(int counter)
{
    return counter >= 999 || counter < 0 ? 1 : counter + 1;
}

int Read(TDbBackend& db, const Variant& key, Variant& out)
{
    const TArgReader k(key);
    auto c = db.Query(QStringLiteral("SELECT FLAG, NT003 FROM WARRANT WHERE NT001 = ? AND NT002 = ?"),
        {k.Text(0), k.Text(1)});
    if (!c->Next())
        return 0;
    // A row written past the server (or before the limits) is not handed out.
    CheckFormText(c->Text(1), k.Text(1));
    out = Variant::ArrayOf({c->Text(0), c->Text(1)});
    return 1;
}

int Lock(TDbBackend& db, const Variant& args, const QString& session)
{
    const TArgReader arg(args);
    const int counter = arg.Int(0, -1);
    const QString asRead = arg.Text(1).trimmed();
    if (counter < 0 || asRead.isEmpty())
        return -1;
    const qint64 n
        = db.Execute(QStringLiteral("UPDATE WARRANT SET FLAG = ?, NT006 = ? WHERE NT001 = ? AND NT002 = ? "
                                    "AND CAST(FLAG AS TEXT) = ?"),
            {NextCounter(counter), session, arg.Text(2), arg.Text(3), asRead});
    return n == 1 ? 1 : -1;
}

int Write(TDbBackend& db, bool update, const Variant& lines, const Variant& params, int sizeKB,
    const QString& session)
{
    const TArgReader param(params);
    const QString text = joinLines(lines);
    CheckFormText(text, param.Text(update ? 5 : 4));
    const QString snapshot = param.Text(6);
    if (!update) {
        const QString name = param.Text(4);
        if (param.Text(3).isEmpty() || !validName(name))
            return -1;
        db.Execute(QStringLiteral(
                       "INSERT INTO WARRANT (COMPANY, CREATOR, USR_GROUP, CREATE_DATE, FLAG, NT001, NT002, "
                       "NT003, NT004, NT005) VALUES (?, ?, ?, ?, 1, ?, ?, ?, ?, ?)"),
            {param.Text(0), param.Text(1), param.Text(2), TodayText(), param.Text(3), name, text, sizeKB,
                snapshot});
        return 1;
    }
    const int counter = param.Int(3, -1);
    if (counter < 1 || counter > 999)
        return -1;
    const qint64 n
        = db.Execute(QStringLiteral("UPDATE WARRANT SET COMPANY = ?, MODIFIER = ?, MODI_DATE = ?, NT003 = ?, "
                                    "NT004 = ?, NT005 = ?, NT006 = NULL "
                                    "WHERE NT001 = ? AND NT002 = ? AND FLAG = ? AND NT006 = ?"),
            {param.Text(0), param.Text(1), TodayText(), text, sizeKB, snapshot, param.Text(4), param.Text(5),
                counter, session});
    return n == 1 ? 1 : -1;
}

int Delete(TDbBackend& db, const Variant& key)
{
    const TArgReader k(key);
    return static_cast<int>(db.Execute(
        QStringLiteral("DELETE FROM WARRANT WHERE NT001 = ? AND NT002 = ?"), {k.Text(0), k.Text(1)}));
}

} // namespace FormatStore
