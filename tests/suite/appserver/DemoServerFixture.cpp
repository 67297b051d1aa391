#include "DemoServerFixture.h"

#include "suite/appserver/AppServer.h"
#include "zorv52/ChangeSlipQuery.h"

#include <QCryptographicHash>
#include <QFile>

void DemoServerTest::SetUp()
{
    TDemoOptions options;
    options.Slips = 240;
    summary_ = CreateDemoHome(home_.path(), options);
    registry_
        = std::make_unique<testsupport::ScopedEnv>("STEWARD_REGISTRY", home_.file("registry.reg").toUtf8());
    RegisterAppServer();
}

Variant DemoServerTest::NewServer(const QString& user)
{
    Variant server = CreateOleObject(QStringLiteral("ZORV52S.Class1"));
    if (!user.isEmpty()) {
        const Variant error = server.Call(QStringLiteral("Connect"),
            {Variant::ArrayOf({"ZORV52", user, "HV01", "DEMO", "MOCTO", DemoPassword(user)})});
        EXPECT_EQ(error.ToString(), QString()) << qPrintable(user);
    }
    return server;
}

QList<VariantList> DemoServerTest::Fetch(
    const Variant& server, const QString& provider, const QString& request, QStringList* fields)
{
    QList<VariantList> rows;
    Variant sent;
    Variant packet = server.Call(
        QStringLiteral("AS_GetRecords"), {provider, -1, Variant::Ref(sent), request, GetRecordsReset});
    DataPacketReader reader(packet.ToBytes());
    if (fields) {
        fields->clear();
        for (const FieldDescriptor& f : reader.Fields())
            *fields << f.Name;
    }
    while (reader.NextRow())
        rows << reader.Row();
    EXPECT_EQ(sent.ToInt(), rows.size());
    return rows;
}

qint64 DemoServerTest::Count(const QString& sql) const
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(summary_.DatabaseFile.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    qint64 n = -1;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK
        && sqlite3_step(stmt) == SQLITE_ROW)
        n = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return n;
}

QStringList DemoServerTest::Column(const QString& sql) const
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(summary_.DatabaseFile.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    QStringList out;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK)
        while (sqlite3_step(stmt) == SQLITE_ROW)
            out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

QString DemoServerTest::Execute(const QString& sql) const
{
    sqlite3* db = nullptr;
    if (sqlite3_open(summary_.DatabaseFile.toUtf8().constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("cannot open ") + summary_.DatabaseFile;
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    QString message = rc == SQLITE_OK ? QString() : QString::fromUtf8(error ? error : "failed");
    sqlite3_free(error);
    sqlite3_close(db);
    return message;
}

QMap<QString, QString> DemoServerTest::TableDigests() const
{
    QMap<QString, QString> digests;
    const QStringList tables = Column(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    sqlite3* db = nullptr;
    sqlite3_open_v2(summary_.DatabaseFile.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (const QString& table : tables) {
        // A table scan goes in rowid order, which no refused call could change
        // without changing a row.
        QCryptographicHash hash(QCryptographicHash::Sha256);
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = "SELECT * FROM \"" + table.toUtf8() + '"';
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, i));
                    const int size = sqlite3_column_bytes(stmt, i);
                    const int header[2] = {sqlite3_column_type(stmt, i), size};
                    hash.addData(QByteArrayView(reinterpret_cast<const char*>(header), sizeof header));
                    hash.addData(QByteArrayView(p, size));
                }
            }
        }
        sqlite3_finalize(stmt);
        digests.insert(table, QString::fromLatin1(hash.result().toHex()));
    }
    sqlite3_close(db);
    return digests;
}

void DemoServerTest::AddServerSettings(const QString& section, const QString& lines)
{
    // Into the section where it exists: a second section of the same name would not be read.
    QFile file(home_.file(QStringLiteral("StewardS.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    const QString header = u'[' + section + u']';
    const qsizetype at = text.indexOf(header);
    const qsizetype lineEnd = at < 0 ? -1 : text.indexOf(u'\n', at);
    if (lineEnd < 0)
        text += u'\n' + header + u'\n' + lines + u'\n';
    else
        text.insert(lineEnd + 1, lines + u'\n');
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

QString ChangeSlipSelect()
{
    return ChangeSlipPiecesOfAllSlips().SelectPart();
}

QString ChangeSlipFromAndJoins()
{
    const TQueryPieces pieces = ChangeSlipPiecesOfAllSlips();
    return pieces.FromPart() + pieces.JoinPart();
}
