#include "DemoServerFixture.h"

#include "suite/appserver/AppServer.h"

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
        const Variant error = server.Call(
            QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", user, "HV01", "DEMO", "MOCTO"})});
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
    return QStringLiteral(
               "SELECT MOCTO.*, MOCTP.*, TO001+'-'+TO002+'-'+TO003 AS TO001T, TO026+'-'+TO027 AS TO026T, "
               "TO028+'-'+TO029+'-'+TO030 AS TO028T, TO126+'-'+TO127 AS TO126T, TO128+'-'+TO129+'-'+TO130 AS "
               "TO128T, "
               "A.MB002 AS CMSMB002A, B.MB002 AS CMSMB002B, C.MC002 AS CMSMC002A, D.MC002 AS CMSMC002B, "
               "E.MD002 AS CMSMD002A, F.MD002 AS CMSMD002B, G.MA002 AS PURMA002A, H.MA002 AS PURMA002B, "
               "I.MC002 AS CMSMC002C, J.MC002 AS CMSMC002D, K.TD014 AS COPTD014A, L.TD014 AS COPTD014B, "
               "M.TC012 AS COPTC012A, M.TC004 AS COPTC004A, N.TC012 AS COPTC012B, N.TC004 AS COPTC004B, "
               "O.MA002 AS COPMA002A, P.MA002 AS COPMA002B,G.MA010 AS PURMA010A,G.MA011 AS PURMA011A ")
        + QStringLiteral(", TO055, TO155 ")
        + QStringLiteral(
            " ,MOCTO.UDF01 AS UDF01M, MOCTO.UDF02 AS UDF02M, MOCTO.UDF03 AS UDF03M, MOCTO.UDF04 AS UDF04M, "
            "MOCTO.UDF05 AS UDF05M, MOCTO.UDF06 AS UDF06M, ")
        + QStringLiteral(
            " MOCTO.UDF51 AS UDF51M, MOCTO.UDF52 AS UDF52M, MOCTO.UDF53 AS UDF53M, MOCTO.UDF54 AS "
            "UDF54M, MOCTO.UDF55 AS UDF55M, MOCTO.UDF56 AS UDF56M, ")
        + QStringLiteral(
            " MOCTP.UDF01 AS UDF01D, MOCTP.UDF02 AS UDF02D, MOCTP.UDF03 AS UDF03D, MOCTP.UDF04 AS "
            "UDF04D, MOCTP.UDF05 AS UDF05D, MOCTP.UDF06 AS UDF06D, ")
        + QStringLiteral(
            " MOCTP.UDF51 AS UDF51D, MOCTP.UDF52 AS UDF52D, MOCTP.UDF53 AS UDF53D, MOCTP.UDF54 AS "
            "UDF54D, MOCTP.UDF55 AS UDF55D, MOCTP.UDF56 AS UDF56D, ")
        + QStringLiteral(" Q.MW002 AS CMSMW002, R.MW002 AS CMSMW002T ")
        + QStringLiteral(
            ", S.MG005 AS COPMG005A,S.MG006 AS COPMG006A,T.MG005 AS COPMG005B,T.MG006 AS COPMG006B ")
        + QStringLiteral(",TO069,TO169,TO070,TO170,CMSNA.NA003 TO069C,CMSNA1.NA003 TO169C  ")
        + QStringLiteral(
            ",G.MA013 AS PURMA013A,G.MA014 AS PURMA014A,G.MA008 AS PURMA008A,H.MA013 AS PURMA013B,"
            "H.MA014 AS PURMA014B,H.MA008 AS PURMA008B,H.MA010 AS PURMA010B,G.MA046 AS PURMA046A,"
            "H.MA046 AS PURMA046B,G.MA015 AS PURMA015A,H.MA015 AS PURMA015B ")
        + QStringLiteral(",TO044,MOCTO.CREATOR AS CREATOR,X.MF002 AS MF002X,Y.MF002 AS MF002Y ");
}

QString ChangeSlipFromAndJoins()
{
    return QStringLiteral("FROM $$MOCTO AS MOCTO ")
        + QStringLiteral(
            "LEFT JOIN $$MOCTP AS MOCTP ON TP001=TO001 AND TP002=TO002 AND TP003=TO003  LEFT JOIN $$ADMMF AS "
            "X ON "
            "MOCTO.CREATOR=X.MF001  LEFT JOIN $$ADMMF AS Y ON TO044=Y.MF001 LEFT JOIN $$CMSMQ AS CMSMQ ON "
            "MQ001=TO001 LEFT JOIN $$CMSMB AS A ON A.MB001=TO021 LEFT JOIN $$CMSMB AS B ON B.MB001=TO121 "
            "LEFT "
            "JOIN $$CMSMC AS C ON C.MC001=TO022 LEFT JOIN $$CMSMC AS D ON D.MC001=TO122 LEFT JOIN $$CMSMD AS "
            "E ON "
            "E.MD001=TO023 LEFT JOIN $$CMSMD AS F ON F.MD001=TO123 LEFT JOIN $$PURMA AS G ON G.MA001=TO033 "
            "LEFT "
            "JOIN $$PURMA AS H ON H.MA001=TO133 LEFT JOIN $$CMSMC AS I ON I.MC001=TP010 LEFT JOIN $$CMSMC AS "
            "J ON "
            "J.MC001=TP110 LEFT JOIN $$COPTD AS K ON K.TD001=TO028 AND K.TD002=TO029 AND K.TD003=TO030 LEFT "
            "JOIN "
            "$$COPTD AS L ON L.TD001=TO128 AND L.TD002=TO129 AND L.TD003=TO130 LEFT JOIN $$COPTC AS M ON "
            "M.TC001=K.TD001 AND M.TC002=K.TD002 LEFT JOIN $$COPTC AS N ON N.TC001=L.TD001 AND "
            "N.TC002=L.TD002 "
            "LEFT JOIN $$COPMA AS O ON O.MA001=M.TC004 LEFT JOIN $$COPMA AS P ON P.MA001=N.TC004 ")
        + QStringLiteral(
            " LEFT JOIN $$CMSMW AS Q ON Q.MW001 = TP007  LEFT JOIN $$CMSMW AS R ON R.MW001 = TP107 ")
        + QStringLiteral(
            " LEFT JOIN $$COPMG AS S ON S.MG001=M.TC004 AND S.MG002=K.TD004 AND S.MG003=K.TD014  "
            "LEFT JOIN $$COPMG AS T ON T.MG001=N.TC004 AND T.MG002=L.TD004 AND T.MG003=L.TD014 ")
        + QStringLiteral(
            "LEFT JOIN $$CMSNA AS CMSNA  ON CMSNA.NA002=TO069 AND CMSNA.NA001='1' LEFT JOIN $$CMSNA "
            "AS CMSNA1 ON CMSNA1.NA002=TO169 AND CMSNA1.NA001='1' ");
}
