// The server on PostgreSQL answers as it does on SQLite: the same demo data,
// and the same answers to the same calls, the SQLite server being the model.
#include "DemoServerFixture.h"
#include "PgTestSupport.h"

#include "suite/appserver/PasswordHash.h"
#include "suite/appserver/UserPasswords.h"

#include "runtime/data/DataPacket.h"
#include "suite/appserver/AppServer.h"
#include "suite/appserver/DbBackend.h"
#include "suite/appserver/PgBackend.h"

#include <algorithm>
#include <optional>

namespace {

class PgDemoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_POSTGRES();
        schema_.emplace();
        TDemoOptions options;
        options.Slips = 150;
        options.Seed = 1717;
        sqliteSummary_ = CreateDemoHome(sqliteHome_.path(), options);
        options.PostgresConnection = PgTestConnection();
        options.PostgresSchema = schema_->Name();
        pgSummary_ = CreateDemoHome(pgHome_.path(), options);
        sqlite_ = std::make_unique<TAppServer>(TServerConfig::FromHome(sqliteHome_.path()));
        pg_ = std::make_unique<TAppServer>(TServerConfig::FromHome(pgHome_.path()));
        ASSERT_EQ(sqlite_->Connect(connectArgs(QStringLiteral("DEMO"))), QString())
            << qPrintable(sqlite_->LastError());
        ASSERT_EQ(pg_->Connect(connectArgs(schema_->Name().toUpper())), QString())
            << qPrintable(pg_->LastError());
    }
    void TearDown() override
    {
        pg_.reset();
        sqlite_.reset();
    }

    static Variant connectArgs(const QString& database)
    {
        return Variant::ArrayOf(
            {"ZORV52", "DS", "HV01", database, "MOCTO", DemoPassword(QStringLiteral("DS"))});
    }

    // A value as text, floats with 15 digits and arrays element by element,
    // so that answers compare across engines.
    static QString text(const Variant& value)
    {
        const Variant& v = value.Deref();
        if (v.IsArray()) {
            QStringList items;
            for (const Variant& e : v.Elements())
                items << text(e);
            return u'[' + items.join(u',') + u']';
        }
        return v.IsNull()                ? QStringLiteral("<null>")
            : v.Type() == VarType::Float ? QString::number(v.ToDouble(), 'g', 15)
                                         : v.ToString();
    }
    static QStringList cells(const VariantList& row)
    {
        QStringList out;
        for (const Variant& v : row)
            out << text(v);
        return out;
    }

    // Rows of a provider, in packets of count rows (-1: one packet).
    static QList<QStringList> fetch(
        TAppServer& server, const QString& request, int count, QStringList* fields)
    {
        QList<QStringList> rows;
        int sent = 0;
        QString text = request;
        for (int options = GetRecordsReset;; options = 0, text.clear()) {
            DataPacketReader reader(
                server.GetRecords(QStringLiteral("Provider1"), count, sent, text, options));
            if (fields && options) {
                for (const FieldDescriptor& f : reader.Fields())
                    *fields << f.Name + u':' + QString::number(f.Type);
            }
            int n = 0;
            while (reader.NextRow()) {
                rows << cells(reader.Row());
                ++n;
            }
            EXPECT_EQ(n, sent);
            if (reader.EndOfData())
                return rows;
        }
    }

    testsupport::TempFolder sqliteHome_, pgHome_;
    std::optional<TPgTestSchema> schema_;
    TDemoSummary sqliteSummary_, pgSummary_;
    std::unique_ptr<TAppServer> sqlite_, pg_;
};

QList<QStringList> tableRows(TDbBackend& db, const QString& table)
{
    QList<QStringList> rows;
    auto c = db.Query(QStringLiteral("SELECT * FROM ") + db.BindTableName(table), {}, SqlAccess::Server);
    while (c->Next()) {
        QStringList row;
        for (int i = 0; i < c->ColumnCount(); ++i)
            row << (c->IsNull(i)                              ? QStringLiteral("<null>")
                    : c->ColumnKind(i) == DbColumnKind::Float ? QString::number(c->Double(i), 'g', 15)
                                                              : c->Text(i));
        rows << row;
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

TEST_F(PgDemoTest, DemoDataIsTheSameOnBothEngines)
{
    EXPECT_EQ(pgSummary_.Slips, sqliteSummary_.Slips);
    EXPECT_EQ(pgSummary_.Lines, sqliteSummary_.Lines);
    EXPECT_EQ(pgSummary_.SignOffRecords, sqliteSummary_.SignOffRecords);
    auto lite = OpenBackend(QStringLiteral("SQLITE"), sqliteSummary_.DatabaseFile);
    auto pg = OpenBackend(QStringLiteral("POSTGRESQL"), pgSummary_.DatabaseFile);
    QStringList tables;
    {
        auto c
            = lite->Query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"),
                {}, SqlAccess::Server);
        while (c->Next())
            if (!c->Text(0).startsWith(QLatin1String("sqlite_")))
                tables << c->Text(0);
    }
    ASSERT_GE(tables.size(), 25);
    for (const QString& table : std::as_const(tables)) {
        if (table == QLatin1String(userpasswords::Table)) {
            // Fresh salts make every hash differ: the same users, each with the demo password.
            for (const QString& user : sqliteSummary_.Users) {
                EXPECT_TRUE(VerifyPassword(DemoPassword(user), userpasswords::StoredHash(*lite, user)))
                    << qPrintable(user);
                EXPECT_TRUE(VerifyPassword(DemoPassword(user), userpasswords::StoredHash(*pg, user)))
                    << qPrintable(user);
            }
            EXPECT_EQ(tableRows(*pg, table).size(), sqliteSummary_.Users.size());
            continue;
        }
        const QList<QStringList> expected = tableRows(*lite, table);
        const QList<QStringList> got = tableRows(*pg, table);
        ASSERT_EQ(got.size(), expected.size()) << qPrintable(table);
        for (int r = 0; r < got.size(); ++r)
            ASSERT_EQ(got[r].join(u'|').toStdString(), expected[r].join(u'|').toStdString())
                << qPrintable(table) << " row " << r;
    }
}

TEST_F(PgDemoTest, ChangeSlipQueryGivesTheSameRowsWholeOrInPackets)
{
    // The module orders by TP004 alone; lines that share it (an added and a
    // removed part) come in an order neither engine promises, so TP019 too.
    const QString query = ChangeSlipSelect() + ChangeSlipFromAndJoins()
        + QStringLiteral("Where 1=1 and (TO001='A511' or TO001 = 'A521') and (TO004 >= '20241001') "
                         "ORDER BY TO001, TO002, TO003, TP004, TP019");
    QStringList liteFields, pgFields;
    const QList<QStringList> expected = fetch(*sqlite_, query, -1, &liteFields);
    const QList<QStringList> whole = fetch(*pg_, query, -1, &pgFields);
    ASSERT_GT(expected.size(), 100);
    EXPECT_EQ(pgFields, liteFields);
    ASSERT_EQ(whole.size(), expected.size());
    for (int r = 0; r < whole.size(); ++r)
        for (int c = 0; c < expected[r].size(); ++c)
            ASSERT_EQ(whole[r].value(c).toStdString(), expected[r][c].toStdString())
                << "row " << r << " field " << qPrintable(liteFields.value(c));
    // In packets smaller than the back end's batches, and larger ones.
    EXPECT_EQ(fetch(*pg_, query, 97, nullptr), expected);
    EXPECT_EQ(fetch(*pg_, query, 4099, nullptr), expected);
}

TEST_F(PgDemoTest, CatalogueAndSimpleSqlAnswerAlike)
{
    const QString pgName = schema_->Name();
    struct Call {
        const char* kind;
        const char* table;
        const char* number;
        VariantList params;
    };
    const Call calls[] = {
        {"Query", "CMSMQ", "08", {"A511"}},
        {"Query", "CMSML", "01", {"HV01"}},
        {"Lookup", "CMSMS", "01", {"2"}},
        {"Counter", "SYSPARAM", "", {"HV01", "sys001"}},
        {"SimpleSql", "SimpleSql", "",
            {"SELECT MQ001, MQ002 + '/' + MQ003 AS NAME FROM $$CMSMQ WHERE MQ003 = '51' ORDER BY MQ001",
                "NAME"}},
        {"SimpleSql", "SimpleSql", "", {"SELECT TOP 3 TO002 FROM $$MOCTO ORDER BY TO002 DESC", ""}},
    };
    for (const Call& c : calls) {
        const Variant lite = sqlite_->CatalogueQuery(
            Variant::ArrayOf({c.kind, c.table, c.number, "DEMO", Variant::ArrayOf(c.params)}));
        const Variant pg = pg_->CatalogueQuery(
            Variant::ArrayOf({c.kind, c.table, c.number, pgName, Variant::ArrayOf(c.params)}));
        ASSERT_FALSE(lite.IsNull()) << c.table << ' ' << qPrintable(sqlite_->LastError());
        ASSERT_FALSE(pg.IsNull()) << c.table << ' ' << qPrintable(pg_->LastError());
        const VariantList liteRows = lite.Elements()[0].Elements();
        const VariantList pgRows = pg.Elements()[0].Elements();
        ASSERT_FALSE(liteRows.isEmpty()) << c.table;
        ASSERT_EQ(pgRows.size(), liteRows.size()) << c.table;
        for (int r = 0; r < pgRows.size(); ++r)
            EXPECT_EQ(text(pgRows[r]).toStdString(), text(liteRows[r]).toStdString())
                << c.table << " row " << r;
        EXPECT_EQ(text(pg.Elements()[1]).toStdString(), text(lite.Elements()[1]).toStdString()) << c.table;
    }
    // The format name limit the format store asks for: the same number on both.
    const auto nameLimit = [](TAppServer& server, const QString& database) {
        const Variant answer = server.CatalogueQuery(Variant::ArrayOf({"SimpleSql", "SimpleSql", "", database,
            Variant::ArrayOf(
                {"select col.length from syscolumns col inner join sysobjects obj on obj.id=col.id "
                 "where obj.name = 'WARRANT' AND col.name ='NT002'",
                    "length"})}));
        return answer.IsNull() ? -1 : answer.Elements()[0].Elements().value(0).Elements().value(0).ToInt();
    };
    EXPECT_EQ(nameLimit(*sqlite_, QStringLiteral("DEMO")), 40);
    EXPECT_EQ(nameLimit(*pg_, pgName), 40) << qPrintable(pg_->LastError());
    // A client's text that would write is refused on PostgreSQL too, and changes nothing.
    const Variant refused = pg_->CatalogueQuery(Variant::ArrayOf({"SimpleSql", "SimpleSql", "", pgName,
        Variant::ArrayOf({"WITH d AS (DELETE FROM $$ADMMF RETURNING MF001) SELECT MF001 FROM d", ""})}));
    EXPECT_TRUE(refused.IsNull());
    EXPECT_FALSE(pg_->LastError().isEmpty());
    const Variant users = pg_->CatalogueQuery(Variant::ArrayOf({"SimpleSql", "SimpleSql", "", pgName,
        Variant::ArrayOf({"SELECT COUNT(*) AS N FROM $$ADMMF", "N"})}));
    EXPECT_EQ(users.Elements()[0].Elements()[0].Elements()[0].ToInt(), 4);
}

TEST_F(PgDemoTest, StoresAndCountsAnswerAlike)
{
    // The same calls on both servers; every answer of PostgreSQL's must be SQLite's.
    struct Answers {
        QStringList list;
        void add(const Variant& v) { list << text(v); }
    };
    auto run = [this](TAppServer& s) {
        Answers a;
        a.add(s.InsertConTable(
            Variant::ArrayOf({"月报", "DS", "20240105", "ZORV52", "K1;K2", "A511;", false})));
        a.add(s.InsertConTable(Variant::ArrayOf({"月报", "DS", "20240105", "ZORV52", "K1", "again", false})));
        a.add(s.InsertConTable(
            Variant::ArrayOf({"月报", "DS", "20240106", "ZORV52", "K1", "it's \\ new", true})));
        a.add(s.ChangeConName(
            Variant::ArrayOf({"月报", "DS", "ZORV52"}), Variant::ArrayOf({"周报", "DS", "ZORV52"})));
        a.add(s.LoadTable(Variant::ArrayOf({"DS", "ZORV52"})));
        int sent = 0;
        DataPacketReader schemes(
            s.GetRecords(QStringLiteral("pvdConSave"), -1, sent, QString(), GetRecordsReset));
        while (schemes.NextRow())
            a.list << cells(schemes.Row());
        a.add(s.RunInsUpdSQL(false, Variant::ArrayOf({"object F: TF", "end"}),
            Variant::ArrayOf({"HV01", "DS", "G", "TfrmZorv52Fmt", "格式一", "", "snap"}), 2));
        Variant out;
        a.add(s.GetBlobField(Variant::ArrayOf({"TfrmZorv52Fmt", "格式一"}), out));
        a.add(out.Elements().value(0));
        a.add(s.RunUpdFlagSQL(Variant::ArrayOf({1, "1", "TfrmZorv52Fmt", "格式一"})));
        a.add(s.RunUpdFlagSQL(Variant::ArrayOf({1, "1", "TfrmZorv52Fmt", "格式一"})));
        a.add(s.RunDeleteSQL(Variant::ArrayOf({"TfrmZorv52Fmt", "格式一"})));
        a.add(s.UpdatePrintCount(
            Variant::ArrayOf({"$$MOCTO", "TO042", "TO001 = 'A511' AND TO004 >= '20241201'"})));
        a.add(s.RunFreeSQL(QStringLiteral("SELECT TO002 FROM $$MOCTO WHERE TO042 > 1")));
        a.add(s.RunFreeSQL(QStringLiteral(
            "INSERT INTO $$ADMTA (TA001, TA002, TA003, TA004) VALUES ('ZORV52', 'K'+'1', 'Y', 'mail')")));
        a.add(s.RunFreeSQL(QStringLiteral("SELECT * FROM $$ADMTA WHERE TA002 = 'K1'")));
        a.add(s.RunFreeSQL(QStringLiteral("DELETE FROM $$ADMTA")));
        a.add(s.RunFreeSQL(QStringLiteral("SELECT * FROM $$ADMTA")));
        a.add(s.GetTWData(QStringLiteral("<x/>")));
        return a.list;
    };
    const QStringList expected = run(*sqlite_);
    const QStringList got = run(*pg_);
    ASSERT_EQ(got.size(), expected.size());
    for (int i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i].toStdString(), expected[i].toStdString()) << "answer " << i;
    EXPECT_TRUE(expected.contains(QStringLiteral("it's \\ new"))) << "the scheme list did not come back";
}

TEST_F(PgDemoTest, TheReportedRightsBypassesReadOnlyTheUsersRowsOnPostgres)
{
    TAppServer wang(TServerConfig::FromHome(pgHome_.path()));
    ASSERT_EQ(wang.Connect(Variant::ArrayOf({"ZORV52", "WANG", "HV01", schema_->Name().toUpper(), "MOCTO",
                  DemoPassword(QStringLiteral("WANG"))})),
        QString())
        << qPrintable(wang.LastError());
    const int own = pg_->RunFreeSQL(QStringLiteral("SELECT TO021 FROM $$MOCTO WHERE TO021 = 'F01'"));
    ASSERT_GT(own, 0);
    ASSERT_GT(pg_->RunFreeSQL(QStringLiteral("SELECT TO021 FROM $$MOCTO")), own);
    for (const QString& sql : {QStringLiteral("SELECT TO021 FROM MOCTO -- "),
             QStringLiteral("SELECT TO021 FROM (MOCTO)"), QStringLiteral("SELECT TO021 FROM ((mocto))")})
        EXPECT_EQ(wang.RunFreeSQL(sql), own) << qPrintable(sql) << ": " << qPrintable(wang.LastError());
    for (const QString& sql : {QStringLiteral("SELECT TO021 FROM MOCTO") + QChar(0),
             QStringLiteral("SELECT TO021 FROM (TABLE mocto) t"),
             QStringLiteral("SELECT TO021 FROM (TABLE $$MOCTO) t")})
        EXPECT_LT(wang.RunFreeSQL(sql), 0) << qPrintable(sql);
}
